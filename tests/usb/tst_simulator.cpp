// The simulated instrument, seen through plain libusb calls the way a host
// would talk to it.
#include "usbtestmain.h"

#include "protocol.h"
#include "scopeframe.h"
#include "sniffframe.h"

#include <libusb.h>

#include <QElapsedTimer>
#include <bitset>
#include <memory>

namespace {

constexpr uint16_t kVendorId = 0x1D50;
constexpr uint16_t kProductId = 0x60EB;
constexpr unsigned kTimeoutMs = 1000;

// A host's side of the link: context, handle, interface 0 claimed.
class HostLink
{
public:
    HostLink()
    {
        if (libusb_init(&m_context) != 0)
            return;
        m_handle = libusb_open_device_with_vid_pid(m_context, kVendorId, kProductId);
        if (!m_handle)
            return;
        if (libusb_kernel_driver_active(m_handle, 0) == 1)
            libusb_detach_kernel_driver(m_handle, 0);
        m_claimed = libusb_claim_interface(m_handle, 0) == 0;
    }
    ~HostLink()
    {
        if (m_claimed)
            libusb_release_interface(m_handle, 0);
        if (m_handle)
            libusb_close(m_handle);
        if (m_context)
            libusb_exit(m_context);
    }
    bool isOpen() const { return m_claimed; }
    libusb_context *context() const { return m_context; }

    int read(uint8_t request, uint16_t index, QByteArray *reply, int length)
    {
        reply->resize(length);
        const int n = libusb_control_transfer(m_handle, REQUEST_TYPE_VENDOR_IN, request, 0, index,
                                              reinterpret_cast<unsigned char *>(reply->data()), uint16_t(length),
                                              kTimeoutMs);
        reply->resize(std::max(n, 0));
        return n;
    }
    int write(uint8_t request, uint16_t index, uint16_t value = 0)
    {
        return libusb_control_transfer(m_handle, REQUEST_TYPE_VENDOR_IN, request, value, index, nullptr, 0,
                                       kTimeoutMs);
    }
    int bulkOut(const QByteArray &block)
    {
        int sent = 0;
        QByteArray copy = block;
        const int r = libusb_bulk_transfer(m_handle, BULK_OUT_ENDPOINT, reinterpret_cast<unsigned char *>(copy.data()),
                                           copy.size(), &sent, kTimeoutMs);
        return r == 0 ? sent : r;
    }
    // One bulk IN read of up to 16384 bytes; the frame, or empty on a
    // time-out. *result gets libusb's code.
    QByteArray frame(int *result = nullptr, unsigned timeoutMs = kTimeoutMs)
    {
        QByteArray buffer(int(ScopeFrame::bufferSize), 0);
        int received = 0;
        const int r = libusb_bulk_transfer(m_handle, BULK_IN_ENDPOINT, reinterpret_cast<unsigned char *>(buffer.data()),
                                           buffer.size(), &received, timeoutMs);
        if (result)
            *result = r;
        buffer.resize(r == 0 ? received : 0);
        return buffer;
    }

private:
    libusb_context *m_context = nullptr;
    libusb_device_handle *m_handle = nullptr;
    bool m_claimed = false;
};

} // namespace

class TestSimulator : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<SimulatedInstrument> instrument;
    std::unique_ptr<HostLink> host;

    void plugIn(const SimulatedInstrument::Options &options = SimulatedInstrument::Options())
    {
        instrument.reset(new SimulatedInstrument(options));
        std::string error;
        QVERIFY2(instrument->start(&error), error.c_str());
        host.reset(new HostLink);
        QVERIFY(host->isOpen());
    }

private slots:
    void cleanup()
    {
        host.reset();
        instrument.reset();
    }

    void identificationAndReads_data();
    void identificationAndReads();
};

void TestSimulator::identificationAndReads_data()
{
    QTest::addColumn<int>("identificationLength");
    QTest::addColumn<int>("request");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("expected");   // byte count, or a libusb error
    QTest::addColumn<QByteArray>("prefix");

    const QByteArray id = QByteArray::fromStdString(SimulatedInstrument::defaultIdentification());
    QTest::newRow("identification") << 64 << int(REQ_READ) << int(READ_DEVICE_INFO) << 64 << 64 << id;
    QTest::newRow("short identification") << 10 << int(REQ_READ) << int(READ_DEVICE_INFO) << 64 << 10 << id.left(10);
    QTest::newRow("health") << 64 << int(REQ_READ) << int(READ_HEALTH) << 1 << 1 << QByteArray("\xff", 1);
    QTest::newRow("max ADC blocks") << 64 << int(REQ_READ) << int(READ_MAX_ADC_BLOCKS) << 1 << 1
                                    << QByteArray("\x0f", 1);
    QTest::newRow("max DAC blocks") << 64 << int(REQ_READ) << int(READ_MAX_DAC_BLOCKS) << 1 << 1
                                    << QByteArray("\x02", 1);
    // Power-on generator: 1 kHz on one block is 32 MHz / (256 x 125) exactly.
    QTest::newRow("generator frequency") << 64 << int(REQ_READ) << int(READ_AWG_FREQUENCY) << 4 << 4
                                         << QByteArray("\xa0\x86\x01\x00", 4);
    QTest::newRow("unknown read stalls") << 64 << int(REQ_READ) << 9 << 4 << int(LIBUSB_ERROR_PIPE) << QByteArray();
    QTest::newRow("unknown request stalls") << 64 << 0x50 << 0 << 0 << int(LIBUSB_ERROR_PIPE) << QByteArray();
}

void TestSimulator::identificationAndReads()
{
    QFETCH(int, identificationLength);
    QFETCH(int, request);
    QFETCH(int, index);
    QFETCH(int, length);
    QFETCH(int, expected);
    QFETCH(QByteArray, prefix);

    SimulatedInstrument::Options options;
    options.identificationLength = identificationLength;
    plugIn(options);
    QByteArray reply;
    QCOMPARE(host->read(uint8_t(request), uint16_t(index), &reply, length), expected);
    QVERIFY2(reply.startsWith(prefix), reply.toHex().constData());
    if (request == REQ_READ && index == READ_DEVICE_INFO && expected == 64)
        QCOMPARE(reply.mid(prefix.size()), QByteArray(64 - prefix.size(), '\0'));

    const std::vector<WireRecord> log = instrument->wireLog();
    QCOMPARE(log.size(), size_t(1));
    QCOMPARE(log[0].requestType, REQUEST_TYPE_VENDOR_IN);
    QCOMPARE(int(log[0].request), request);
    QCOMPARE(int(log[0].index), index);
    QCOMPARE(int(log[0].length), length);
    QCOMPARE(log[0].outcome, expected < 0 ? WireRecord::Stalled : WireRecord::Answered);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(log[0].data.data()), int(log[0].data.size())), reply);
}

VESK_USB_TEST_MAIN(TestSimulator)
#include "tst_simulator.moc"
