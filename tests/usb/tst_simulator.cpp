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
    libusb_device_handle *handle() const { return m_handle; }
    libusb_context *context() const { return m_context; }

    int read(uint8_t request, uint16_t index, QByteArray *reply, int length, uint16_t value = 0)
    {
        reply->resize(length);
        const int n = libusb_control_transfer(m_handle, REQUEST_TYPE_VENDOR_IN, request, value, index,
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

uint16_t u16(const QByteArray &bytes, int at)
{
    return uint16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
}

uint32_t u32(const QByteArray &bytes, int at)
{
    return uint32_t(u16(bytes, at)) | uint32_t(u16(bytes, at + 2)) << 16;
}

// A request the host sends before the check: bRequest, wIndex, wValue.
struct Step
{
    int request;
    int index;
    int value;
};
using Steps = QVector<Step>;

// A field of a reply: offset, width in bytes (1, 2 or 4, signed when
// negative), expected value.
struct Field
{
    int offset;
    int width;
    qint64 expected;
};
using Fields = QVector<Field>;

qint64 fieldValue(const QByteArray &bytes, const Field &field)
{
    switch (field.width) {
    case 1:
        return uint8_t(bytes[field.offset]);
    case -1:
        return int8_t(bytes[field.offset]);
    case 2:
        return u16(bytes, field.offset);
    case -2:
        return int16_t(u16(bytes, field.offset));
    default:
        return u32(bytes, field.offset);
    }
}

} // namespace

Q_DECLARE_METATYPE(Steps)
Q_DECLARE_METATYPE(Fields)

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

    void runSteps(const Steps &steps)
    {
        for (const Step &step : steps) {
            if (step.request == REQ_SET_CONFIG_CONFIRM) {
                QByteArray reply;
                QCOMPARE(host->read(REQ_SET_CONFIG_CONFIRM, uint16_t(step.index), &reply, 2, uint16_t(step.value)), 2);
                QCOMPARE(int(reply[0]), int(CONFIRM_ACCEPTED));
                continue;
            }
            QCOMPARE(host->write(uint8_t(step.request), uint16_t(step.index), uint16_t(step.value)), 0);
        }
    }

    void identificationAndReads_data();
    void identificationAndReads();
    void scopeFrames_data();
    void scopeFrames();
    void trigger_data();
    void trigger();
    void confirmedWrites_data();
    void confirmedWrites();
    void meterReply_data();
    void meterReply();
    void snifferFrames_data();
    void snifferFrames();
    void bulkRecords();
    void faults_data();
    void faults();
    void unplugAndReplug();
    void restartsPoweredOn();
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

void TestSimulator::scopeFrames_data()
{
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("blocks");

    for (int blocks : {1, 3, 15}) {
        QTest::addRow("CH1, %d blocks", blocks) << 1 << blocks;
        QTest::addRow("CH2 and logic, %d blocks", blocks) << 6 << blocks;
        QTest::addRow("all three, %d blocks", blocks) << 7 << blocks;
    }
    QTest::addRow("logic only, 2 blocks") << 4 << 2;
}

// Frames of exactly 48 + n x blocks bytes, numbered, with CH2 the 1 kHz,
// 1 V sine and the logic inputs counting.
void TestSimulator::scopeFrames()
{
    QFETCH(int, mask);
    QFETCH(int, blocks);

    SimulatedInstrument::Options options;
    options.paced = false;
    plugIn(options);
    runSteps({{REQ_SET_CONFIG, CFG_CH1_CONTROL, mask & 1}, {REQ_SET_CONFIG, CFG_CH2_CONTROL, (mask >> 1) & 1},
              {REQ_SET_CONFIG, CFG_CHD_CONTROL, (mask >> 2) & 1}, {REQ_SET_CONFIG, CFG_CH_BUFFER_BLOCKS, blocks},
              {REQ_SET_CONFIG, CFG_SAMPLING_RATE, 7}, {REQ_SET_CONFIG, CFG_CH2_GAIN, 4},
              {REQ_RUN_CONTROL, RUN_SCOPE_START, 0}});

    const int n = blocks * 256;
    const int expectedLength = 48 + n * int(std::bitset<3>(mask).count());
    int previousNumber = -1;
    for (int i = 0; i < 3; ++i) {
        const QByteArray frame = host->frame();
        QCOMPARE(frame.size(), expectedLength);
        const frameconfig_t header = ScopeFrame::readHeader(reinterpret_cast<const unsigned char *>(frame.data()));
        QCOMPARE(header.frameType, uint8_t('A'));
        QCOMPARE(int(header.channelMask), mask);
        QCOMPARE(int(header.analogMask), mask & 3);
        QCOMPARE(int(header.samplesPerChannel), n);
        QCOMPARE(int(header.timeBase), 7);
        QCOMPARE(int(header.startIndex), 0);
        if (previousNumber >= 0)
            QCOMPARE(int(header.frameNumber), (previousNumber + 1) & 0xFFFF);
        previousNumber = header.frameNumber;

        const auto *bytes = reinterpret_cast<const unsigned char *>(frame.data());
        if (mask & 4) {
            const size_t logic = ScopeFrame::logicBlockOffset(n, uint8_t(mask));
            for (int k = 1; k < n; ++k)
                QCOMPARE(uint8_t(bytes[logic + k] - bytes[logic + k - 1]), uint8_t(1));
        }
        // 1 ms/div is 16 samples a period; 1 V at 0.4 V/div is 102 raw units.
        const channela_t ch2 = ScopeFrame::readRecord(bytes + ScopeFrame::ch2RecordOffset(n, uint8_t(mask)));
        QCOMPARE(int(ch2.period), 1600);
        QCOMPARE(int(ch2.max), 102);
        QCOMPARE(int(ch2.min), -102);
        QVERIFY(std::abs(int(ch2.average)) < 128);
        QVERIFY(std::abs(int(ch2.rms) - 102 / std::sqrt(2.0) * 128) < 128);
        if (mask & 2) {
            const size_t block = ScopeFrame::ch2BlockOffset(n, uint8_t(mask));
            const int8_t first = int8_t(bytes[block]);
            QCOMPARE(int8_t(bytes[block + 16]), first);   // one period later
        }
    }
}

void TestSimulator::trigger_data()
{
    QTest::addColumn<int>("triggerControl");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("framesExpected");   // -1: a frame for every read

    QTest::newRow("free runs") << (TRIGGER_FREE | TRIGGER_RISING_EDGE) << 125 << -1;
    QTest::newRow("normal, level crossed") << (TRIGGER_NORMAL | TRIGGER_RISING_EDGE) << 0 << -1;
    QTest::newRow("normal, falling edge") << (TRIGGER_NORMAL | TRIGGER_FALLING_EDGE) << 40 << -1;
    QTest::newRow("normal, level never reached") << (TRIGGER_NORMAL | TRIGGER_RISING_EDGE) << 125 << 0;
    QTest::newRow("single shot") << (TRIGGER_SINGLE | TRIGGER_RISING_EDGE) << 0 << 1;
    QTest::newRow("auto without a trigger") << (TRIGGER_AUTO | TRIGGER_RISING_EDGE) << 125 << -1;
}

// Trigger on the CH2 sine (raw amplitude 102): triggered frames put the
// crossing at samples - post; Force always yields one frame.
void TestSimulator::trigger()
{
    QFETCH(int, triggerControl);
    QFETCH(int, level);
    QFETCH(int, framesExpected);

    SimulatedInstrument::Options options;
    options.paced = false;
    plugIn(options);
    const int post = 200;
    runSteps({{REQ_SET_CONFIG, CFG_CH2_CONTROL, 1}, {REQ_SET_CONFIG, CFG_CH2_GAIN, 4},
              {REQ_SET_CONFIG, CFG_SAMPLING_RATE, 7}, {REQ_SET_CONFIG, CFG_TRIGGER_SOURCE, SOURCE_CH2},
              {REQ_SET_CONFIG, CFG_TRIGGER_CONTROL, triggerControl}, {REQ_SET_CONFIG, CFG_TRIGGER_LEVEL, level},
              {REQ_SET_CONFIG, CFG_TRIGGER_POST, post}, {REQ_SET_CONFIG, CFG_AUTO_TRIGGER, 0},
              {REQ_RUN_CONTROL, RUN_SCOPE_START, 0}});

    const int n = 768;
    const bool triggered = !(triggerControl & (TRIGGER_FREE | TRIGGER_AUTO));
    const int reads = framesExpected < 0 ? 3 : framesExpected + 1;
    int frames = 0;
    for (int i = 0; i < reads; ++i) {
        int result = 0;
        const QByteArray frame = host->frame(&result, 300);
        if (frame.isEmpty()) {
            QCOMPARE(result, int(LIBUSB_ERROR_TIMEOUT));
            continue;
        }
        ++frames;
        QCOMPARE(frame.size(), 48 + 2 * n);
        if (!triggered)
            continue;
        const size_t block = ScopeFrame::ch2BlockOffset(n, 3);
        const int at = n - post;
        const int before = int8_t(frame[int(block) + at - 1]);
        const int after = int8_t(frame[int(block) + at]);
        if ((triggerControl & TRIGGER_MODE_MASK) == TRIGGER_FALLING_EDGE)
            QVERIFY2(before > level && after <= level, qPrintable(QString("%1 %2").arg(before).arg(after)));
        else
            QVERIFY2(before < level && after >= level, qPrintable(QString("%1 %2").arg(before).arg(after)));
    }
    QCOMPARE(frames, framesExpected < 0 ? reads : framesExpected);

    QCOMPARE(host->write(REQ_RUN_CONTROL, RUN_FORCE_TRIGGER), 0);
    QCOMPARE(host->frame().size(), 48 + 2 * n);
}

void TestSimulator::confirmedWrites_data()
{
    QTest::addColumn<int>("budget");
    QTest::addColumn<bool>("refuseAll");
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("firstReply");
    QTest::addColumn<QByteArray>("replyAfterShrinking");   // empty: no second attempt

    // Power-on: CH1 on with 3 blocks, generator off with 1 block.
    QTest::newRow("fits") << 47 << false << int(CFG_CH2_CONTROL) << QByteArray("\x00\x0f", 2) << QByteArray();
    QTest::newRow("generator fits exactly") << 4 << false << int(CFG_DAC_CONTROL) << QByteArray("\x00\x03", 2)
                                            << QByteArray();
    QTest::newRow("second channel refused, then fits")
        << 4 << false << int(CFG_CH2_CONTROL) << QByteArray("\x01\x02", 2) << QByteArray("\x00\x02", 2);
    QTest::newRow("logic refused, no room at all")
        << 2 << false << int(CFG_CHD_CONTROL) << QByteArray("\x01\x01", 2) << QByteArray("\x00\x01", 2);
    QTest::newRow("refusal on demand") << 47 << true << int(CFG_CH2_CONTROL) << QByteArray("\x01\x0f", 2)
                                       << QByteArray("\x01\x0f", 2);
}

// The buffer budget: [0, n] applies the item, [1, n] leaves it and offers n
// blocks per channel; the maxima agree with what is left.
void TestSimulator::confirmedWrites()
{
    QFETCH(int, budget);
    QFETCH(bool, refuseAll);
    QFETCH(int, index);
    QFETCH(QByteArray, firstReply);
    QFETCH(QByteArray, replyAfterShrinking);

    SimulatedInstrument::Options options;
    options.bufferBudgetBlocks = budget;
    plugIn(options);
    instrument->setConfirmRefused(refuseAll);

    QByteArray reply;
    QCOMPARE(host->read(REQ_SET_CONFIG_CONFIRM, uint16_t(index), &reply, 2, 1), 2);
    QCOMPARE(reply.toHex(), firstReply.toHex());
    QCOMPARE(instrument->configurationValue(index) & 1, int(reply[0]) == CONFIRM_ACCEPTED ? 1 : 0);
    if (replyAfterShrinking.isEmpty())
        return;

    QCOMPARE(host->write(REQ_SET_CONFIG, CFG_CH_BUFFER_BLOCKS, uint16_t(std::max(1, int(reply[1])))), 0);
    QCOMPARE(host->read(REQ_SET_CONFIG_CONFIRM, uint16_t(index), &reply, 2, 1), 2);
    QCOMPARE(reply.toHex(), replyAfterShrinking.toHex());
    if (int(reply[0]) != CONFIRM_ACCEPTED)
        return;
    QByteArray maximum;
    QCOMPARE(host->read(REQ_READ, READ_MAX_ADC_BLOCKS, &maximum, 1), 1);
    QCOMPARE(int(maximum[0]), int(reply[1]));
    QCOMPARE(host->read(REQ_READ, READ_MAX_DAC_BLOCKS, &maximum, 1), 1);
    QCOMPARE(int(maximum[0]), std::clamp(budget - 2 * int(reply[1]), 0, 2));
}

void TestSimulator::meterReply_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<Fields>("fields");

    const Step generatorOn{REQ_SET_CONFIG_CONFIRM, CFG_DAC_CONTROL, 1};
    // CH1 record at offset 0, CH2 at 18: gain 1, max 3, min 4, rms 5, average 7,
    // period 9, time base 17.
    QTest::newRow("DC, constant 1 V on CH1")
        << Steps{generatorOn, {REQ_SET_CONFIG, CFG_WAVE_TYPE, WAVE_CONSTANT},
                 {REQ_SET_CONFIG, CFG_WAVE_CONSTANT_LEVEL, 14848}, {REQ_SET_CONFIG, CFG_MAIN_MODE, MODE_METER_DC}}
        << Fields{{1, 1, 4}, {3, -1, 102}, {4, -1, 102}, {7, -2, 102 * 128}, {9, 4, 0}, {17, 1, 7}};
    QTest::newRow("AC, CH2 sine, 2 V/div")
        << Steps{{REQ_SET_CONFIG, CFG_CH2_GAIN, 2}, {REQ_SET_CONFIG, CFG_MAIN_MODE, MODE_METER_AC}}
        << Fields{{19, 1, 2}, {21, -1, 20}, {22, -1, -20}, {27, 4, 1600}, {35, 1, 7}};
    // Sampled every 1.25 ms the 1 kHz sine aliases to a period of 4 samples.
    QTest::newRow("AC, 20 ms/div, aliased")
        << Steps{{REQ_SET_CONFIG, CFG_SAMPLING_RATE, 11}, {REQ_SET_CONFIG, CFG_MAIN_MODE, MODE_METER_AC}}
        << Fields{{27, 4, 400}, {35, 1, 11}};
    QTest::newRow("counter, frequency")
        << Steps{generatorOn, {REQ_SET_AWG_FREQUENCY, 34464, 1}, {REQ_SET_CONFIG, CFG_TRIGGER_SOURCE, SOURCE_EXT},
                 {REQ_SET_CONFIG, CFG_MAIN_MODE, MODE_COUNTER_FREQUENCY}}
        << Fields{{9, 4, 1000}};
    QTest::newRow("counter, period and high time of a 25 % square")
        << Steps{generatorOn, {REQ_SET_CONFIG, CFG_WAVE_TYPE, WAVE_SQUARE}, {REQ_SET_CONFIG, CFG_WAVE_DUTY, 64},
                 {REQ_SET_CONFIG, CFG_MAIN_MODE, MODE_COUNTER_PERIOD}}
        << Fields{{9, 4, 32000}, {27, 4, 8000}};
    QTest::newRow("counter, logic bit 0 at 1 ms/div")
        << Steps{{REQ_SET_CONFIG, CFG_TRIGGER_SOURCE, SOURCE_LOGIC0},
                 {REQ_SET_CONFIG, CFG_MAIN_MODE, MODE_COUNTER_FREQUENCY}}
        << Fields{{9, 4, 8000}};
    QTest::newRow("counter, generator off")
        << Steps{{REQ_SET_CONFIG, CFG_MAIN_MODE, MODE_COUNTER_PERIOD}} << Fields{{9, 4, 0}, {27, 4, 0}};
}

void TestSimulator::meterReply()
{
    QFETCH(Steps, steps);
    QFETCH(Fields, fields);

    plugIn();
    runSteps(steps);
    QByteArray reply;
    QCOMPARE(host->read(REQ_READ, READ_METER, &reply, REPLY_METER_LENGTH), REPLY_METER_LENGTH);
    for (const Field &field : fields)
        QVERIFY2(fieldValue(reply, field) == field.expected,
                 qPrintable(QString("byte %1: %2, expected %3")
                                .arg(field.offset).arg(fieldValue(reply, field)).arg(field.expected)));
}

void TestSimulator::snifferFrames_data()
{
    QTest::addColumn<int>("protocol");
    QTest::addColumn<int>("options");
    QTest::addColumn<QByteArray>("ring1");
    QTest::addColumn<int>("ring2Offset");
    QTest::addColumn<QByteArray>("ring2");
    QTest::addColumn<int>("flagsOffset");
    QTest::addColumn<QByteArray>("flags");
    QTest::addColumn<int>("writeIndex1");
    QTest::addColumn<int>("writeIndex2");

    const QByteArray pong("pong from VESKSIM\r\n");
    // In step, a slot holds a byte of one direction and the flags say which.
    QTest::newRow("UART synchronised") << int(PROTOCOL_UART) << int(SNIFF_UART_SYNC) << QByteArray(6, '\0') + pong
                                       << SNIFF_UART_TX_OFFSET << QByteArray("ping\r\n") + QByteArray(19, '\0')
                                       << SNIFF_UART_FLAGS_OFFSET
                                       << QByteArray(6, SNIFF_UART_FLAG_TX) + QByteArray(19, SNIFF_UART_FLAG_RX)
                                       << 25 << 25;
    // Apart, each direction fills its own ring from slot 0.
    QTest::newRow("UART unsynchronised")
        << int(PROTOCOL_UART) << 0 << pong + QByteArray(2, '\0') << SNIFF_UART_TX_OFFSET
        << QByteArray("ping\r\n") + QByteArray(2, '\0') << SNIFF_UART_FLAGS_OFFSET
        << QByteArray(6, SNIFF_UART_FLAG_RX | SNIFF_UART_FLAG_TX) + QByteArray(13, SNIFF_UART_FLAG_RX)
               + QByteArray(2, '\0')
        << 19 << 6;
    QTest::newRow("SPI") << int(PROTOCOL_SPI) << 0 << QByteArray("\x9f\x00\x00\x00", 4) << SNIFF_SPI_MISO_OFFSET
                         << QByteArray("\xff\x56\x53\x4d", 4) << 0 << QByteArray() << 4 << 4;
    QTest::newRow("I2C") << int(PROTOCOL_I2C) << 0 << QByteArray("\x00\xa0\x1f\x00\x00", 5) << 0 << QByteArray()
                         << SNIFF_I2C_FLAGS_OFFSET << QByteArray("\x84\x83\x81\x81\x90", 5) << 5 << 0;
    QTest::newRow("parallel") << int(PROTOCOL_PARALLEL) << 0 << QByteArray("VESKSIM parallel") << 0 << QByteArray()
                              << 0 << QByteArray() << 22 << 0;
}

// Sniffer frames are always 4618 bytes; the write indexes and the frame
// number move only when traffic arrives.
void TestSimulator::snifferFrames()
{
    QFETCH(int, protocol);
    QFETCH(int, options);
    QFETCH(QByteArray, ring1);
    QFETCH(int, ring2Offset);
    QFETCH(QByteArray, ring2);
    QFETCH(int, flagsOffset);
    QFETCH(QByteArray, flags);
    QFETCH(int, writeIndex1);
    QFETCH(int, writeIndex2);

    plugIn();
    runSteps({{REQ_SET_CONFIG, CFG_DECODE_PROTOCOL, protocol}, {REQ_SET_CONFIG, CFG_SNIFFER_OPTIONS, options},
              {REQ_SET_CONFIG, CFG_MAIN_MODE, MODE_SNIFFER}, {REQ_RUN_CONTROL, RUN_SNIFFER_START, 0}});

    QByteArray frame = host->frame();
    QCOMPARE(frame.size(), SNIFF_FRAME_MIN_LENGTH);
    QCOMPARE(frame[0], char(SNIFF_FRAME_TYPE));
    QCOMPARE(int(frame[3]), protocol);
    const int firstNumber = u16(frame, 1);
    QCOMPARE(u16(frame, 4), writeIndex1);
    QCOMPARE(u16(frame, 6), writeIndex2);
    QCOMPARE(frame.mid(SNIFF_HEADER_SIZE, ring1.size()).toHex(), ring1.toHex());
    if (!ring2.isEmpty())
        QCOMPARE(frame.mid(ring2Offset, ring2.size()).toHex(), ring2.toHex());
    if (!flags.isEmpty())
        QCOMPARE(frame.mid(flagsOffset, flags.size()).toHex(), flags.toHex());

    // A new message every 100 ms; frames between carry the same number. Any
    // two frames in a row may show the repeat: on a loaded machine the first
    // message's 100 ms can pass before the next frame is read.
    QElapsedTimer clock;
    clock.start();
    bool repeated = false;
    bool advanced = false;
    int lastNumber = firstNumber;
    int lastWriteIndex = writeIndex1;
    while (clock.elapsed() < 10000 && !(repeated && advanced)) {
        frame = host->frame();
        QCOMPARE(frame.size(), SNIFF_FRAME_MIN_LENGTH);
        repeated |= u16(frame, 1) == lastNumber && u16(frame, 4) == lastWriteIndex;
        advanced |= u16(frame, 1) != firstNumber && u16(frame, 4) == 2 * writeIndex1
                    && u16(frame, 6) == 2 * writeIndex2;
        lastNumber = u16(frame, 1);
        lastWriteIndex = u16(frame, 4);
    }
    QVERIFY(repeated);
    QVERIFY(advanced);

    QCOMPARE(host->write(REQ_RUN_CONTROL, RUN_SNIFFER_CLEAR), 0);
    frame = host->frame();
    QVERIFY(u16(frame, 4) <= writeIndex1);
}

// The settings block configures every item but those that follow it singly;
// the custom wave arrives in two halves; both are in the wire log byte for byte.
void TestSimulator::bulkRecords()
{
    plugIn();
    settingsblock_t block{};
    for (int i = 0; i < SETTINGS_SLOT_COUNT; ++i)
        block.slot[i] = i < CFG_COUNT ? 1000 * i - 7 : -1;
    const QByteArray settings(reinterpret_cast<const char *>(&block), sizeof block);
    const std::array<int32_t, 36> before = instrument->configuration();
    QCOMPARE(host->bulkOut(settings), BULK_BLOCK_SIZE);
    QCOMPARE(host->write(REQ_COMMIT_BULK, BULK_SETTINGS), 0);
    const std::array<int32_t, 36> after = instrument->configuration();
    for (int i = 0; i < CFG_COUNT; ++i) {
        const bool single = i == CFG_DAC_CONTROL || i == CFG_CHD_CONTROL || i == CFG_DAC_BUFFER_BLOCKS
                            || i == CFG_CH_BUFFER_BLOCKS;
        QCOMPARE(after[i], single ? before[i] : 1000 * i - 7);
    }

    customwave_t wave{};
    for (int i = 0; i < CUSTOM_WAVE_SAMPLES; ++i)
        wave.sample[i] = int16_t(i * 64 - 16384);
    const QByteArray waveBytes(reinterpret_cast<const char *>(&wave), sizeof wave);
    QCOMPARE(host->bulkOut(waveBytes.left(BULK_BLOCK_SIZE)), BULK_BLOCK_SIZE);
    QCOMPARE(host->write(REQ_COMMIT_BULK, BULK_WAVE_FIRST_HALF), 0);
    QCOMPARE(host->bulkOut(waveBytes.mid(BULK_BLOCK_SIZE)), BULK_BLOCK_SIZE);
    QCOMPARE(host->write(REQ_COMMIT_BULK, BULK_WAVE_SECOND_HALF), 0);
    QCOMPARE(instrument->customWave(), std::vector<int16_t>(wave.sample, wave.sample + CUSTOM_WAVE_SAMPLES));

    // A commit with no block before it changes nothing.
    QCOMPARE(host->write(REQ_COMMIT_BULK, BULK_SETTINGS), 0);
    QCOMPARE(instrument->configuration(), after);

    QByteArray logged;
    for (const WireRecord &record : instrument->wireLog())
        if (record.kind == WireRecord::BulkOut)
            logged += QByteArray(reinterpret_cast<const char *>(record.data.data()), int(record.data.size()));
    QCOMPARE(logged, settings + waveBytes);
}

void TestSimulator::faults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("expected");   // libusb result of the faulted transfer

    QTest::newRow("held request") << "hold" << int(LIBUSB_ERROR_TIMEOUT);
    QTest::newRow("stall") << "stall" << int(LIBUSB_ERROR_PIPE);
    QTest::newRow("bulk OUT failing") << "bulk" << int(LIBUSB_ERROR_PIPE);
    QTest::newRow("wrong frame type") << "type" << 0;
    QTest::newRow("lying header") << "header" << 0;
    QTest::newRow("short frame") << "short" << 0;
}

// Each fault hits one transfer; the next one is served normally.
void TestSimulator::faults()
{
    QFETCH(QString, fault);
    QFETCH(int, expected);

    SimulatedInstrument::Options options;
    options.paced = false;
    plugIn(options);
    QByteArray reply;
    if (fault == "hold" || fault == "stall") {
        if (fault == "hold")
            instrument->holdNextRequest(REQ_READ, READ_HEALTH);
        else
            instrument->stallNextRequest(REQ_READ, READ_HEALTH);
        QCOMPARE(host->read(REQ_READ, READ_DEVICE_INFO, &reply, 64), 64);   // other requests pass
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(host->read(REQ_READ, READ_HEALTH, &reply, 1), expected);
        if (fault == "hold")
            QVERIFY(clock.elapsed() >= 900);
        QCOMPARE(instrument->wireLog().back().outcome, fault == "hold" ? WireRecord::Held : WireRecord::Stalled);
        QCOMPARE(host->read(REQ_READ, READ_HEALTH, &reply, 1), 1);
        return;
    }
    if (fault == "bulk") {
        instrument->setBulkOutFailing(true);
        QCOMPARE(host->bulkOut(QByteArray(BULK_BLOCK_SIZE, 'x')), expected);
        QCOMPARE(instrument->wireLog().back().outcome, WireRecord::Stalled);
        instrument->setBulkOutFailing(false);
        QCOMPARE(host->bulkOut(QByteArray(BULK_BLOCK_SIZE, 'x')), BULK_BLOCK_SIZE);
        return;
    }

    const int goodLength = 48 + 768;
    QCOMPARE(host->write(REQ_RUN_CONTROL, RUN_SCOPE_START), 0);
    QCOMPARE(host->frame().size(), goodLength);
    instrument->injectFrameFault(fault == "type"     ? SimulatedInstrument::FrameFault::WrongFrameType
                                 : fault == "header" ? SimulatedInstrument::FrameFault::LyingHeader
                                                     : SimulatedInstrument::FrameFault::ShortFrame);
    const QByteArray bad = host->frame();
    if (fault == "type") {
        QCOMPARE(bad.size(), goodLength);
        QVERIFY(bad[0] != 'A');
    } else if (fault == "header") {
        QCOMPARE(bad.size(), goodLength);
        QCOMPARE(int(u16(bad, 5)), 768 + 256);
    } else {
        QCOMPARE(bad.size(), goodLength / 2);
    }
    const QByteArray good = host->frame();
    QCOMPARE(good.size(), goodLength);
    QCOMPARE(good[0], 'A');
    QCOMPARE(int(u16(good, 5)), 768);
}

namespace {
bool deviceListed(libusb_context *context)
{
    libusb_device **list = nullptr;
    const ssize_t count = libusb_get_device_list(context, &list);
    bool found = false;
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(list[i], &descriptor) == 0 && descriptor.idVendor == kVendorId
            && descriptor.idProduct == kProductId)
            found = true;
    }
    libusb_free_device_list(list, 1);
    return found;
}

void LIBUSB_CALL recordStatus(libusb_transfer *transfer)
{
    *static_cast<int *>(transfer->user_data) = transfer->status;
}
}

// A read in flight ends with "no device", later transfers fail, the device
// leaves the bus; plugged in again it is found and starts from power-on.
void TestSimulator::unplugAndReplug()
{
    plugIn();
    QCOMPARE(host->write(REQ_SET_CONFIG, CFG_CH_BUFFER_BLOCKS, 9), 0);
    QCOMPARE(host->write(REQ_RUN_CONTROL, RUN_SCOPE_STOP), 0);

    std::vector<unsigned char> buffer(ScopeFrame::bufferSize);
    int status = -1;
    libusb_transfer *transfer = libusb_alloc_transfer(0);
    libusb_fill_bulk_transfer(transfer, host->handle(), BULK_IN_ENDPOINT, buffer.data(), int(buffer.size()), recordStatus,
                              &status, 5000);
    QCOMPARE(libusb_submit_transfer(transfer), 0);
    instrument->unplug();
    QVERIFY(!instrument->isPlugged());
    QElapsedTimer clock;
    clock.start();
    while (status < 0 && clock.elapsed() < 3000) {
        timeval tv{0, 100000};
        libusb_handle_events_timeout(host->context(), &tv);
    }
    QCOMPARE(status, int(LIBUSB_TRANSFER_NO_DEVICE));
    libusb_free_transfer(transfer);
    QByteArray reply;
    QCOMPARE(host->read(REQ_READ, READ_DEVICE_INFO, &reply, 64), int(LIBUSB_ERROR_NO_DEVICE));
    QTRY_VERIFY_WITH_TIMEOUT(!deviceListed(host->context()), 3000);

    std::string error;
    QVERIFY2(instrument->replug(&error), error.c_str());
    QTRY_VERIFY_WITH_TIMEOUT(deviceListed(host->context()), 3000);
    host.reset(new HostLink);
    QVERIFY(host->isOpen());
    QCOMPARE(host->read(REQ_READ, READ_DEVICE_INFO, &reply, 64), 64);
    QCOMPARE(instrument->configurationValue(CFG_CH_BUFFER_BLOCKS), 3);
}

// Stopped and started again, the instrument is back on a new testbed in its
// power-on state, and streams again.
void TestSimulator::restartsPoweredOn()
{
    SimulatedInstrument::Options options;
    options.paced = false;
    plugIn(options);
    QCOMPARE(host->write(REQ_SET_CONFIG, CFG_CH_BUFFER_BLOCKS, 9), 0);
    const std::string firstDir = instrument->testbedDir();
    host.reset();
    instrument->stop();
    QVERIFY(!instrument->isRunning());
    QVERIFY(!QFileInfo::exists(QString::fromStdString(firstDir)));

    std::string error;
    QVERIFY2(instrument->start(&error), error.c_str());
    host.reset(new HostLink);
    QVERIFY(host->isOpen());
    QCOMPARE(instrument->configurationValue(CFG_CH_BUFFER_BLOCKS), 3);
    QCOMPARE(host->write(REQ_RUN_CONTROL, RUN_SCOPE_START), 0);
    QCOMPARE(host->frame().size(), 48 + 768);
}

VESK_USB_TEST_MAIN(TestSimulator)
#include "tst_simulator.moc"
