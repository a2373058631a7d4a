// The USB transport against the simulated instrument: open and claim, the
// three kinds of traffic with their log lines, the receive stream through
// the hand-off, the fatal path, and closing in every state.
#include "usbtestmain.h"

#include "libusbdevice.h"
#include "logcapture.h"
#include "protocol.h"
#include "scopeframe.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>

#include <memory>

namespace {

const QStringList closeSteps = {
    "Signal to disconnect", "Cancel USB to PC transfer", "Cancel PC to USB transfer",
    "Wait for Finished",    "Release interface",         "Close",
    "Exit"};

// The close steps in the order they were logged, with nothing but other
// lines between them.
bool closeStepsInOrder(const LogCapture &log)
{
    int at = 0;
    for (const QString &step : closeSteps) {
        at = log.indexOf(step, at);
        if (at < 0)
            return false;
    }
    return true;
}

// True when a frame is whole: its length is the one its header announces,
// the logic block counts up sample by sample, and the CH1 record's extremes
// are those of the CH1 block. A frame mixed from two reads fails one of these.
bool frameIsWhole(const unsigned char *bytes, int count)
{
    if (count < int(ScopeFrame::overhead) || bytes[0] != ScopeFrame::frameTag)
        return false;
    const frameconfig_t header = ScopeFrame::readHeader(bytes);
    const int n = header.samplesPerChannel;
    if (count != int(ScopeFrame::frameLength(size_t(n), header.channelMask)))
        return false;
    if (header.channelMask & ScopeFrame::maskLogic) {
        const unsigned char *logic = bytes + ScopeFrame::logicBlockOffset(size_t(n), header.channelMask);
        for (int i = 1; i < n; ++i) {
            if (uint8_t(logic[i - 1] + 1) != logic[i])
                return false;
        }
    }
    if (header.channelMask & ScopeFrame::maskCh1) {
        const auto *samples = reinterpret_cast<const int8_t *>(bytes + ScopeFrame::ch1BlockOffset());
        const auto [low, high] = std::minmax_element(samples, samples + n);
        const unsigned char *record = bytes + ScopeFrame::ch1RecordOffset(size_t(n), header.channelMask);
        if (int8_t(record[3]) != *high || int8_t(record[4]) != *low)
            return false;
    }
    return true;
}

// A display on the 4 ms data timer, as the oscilloscope reads the hand-off
// members: it takes a frame of the expected length, checks it and clears
// the flag; anything else it leaves for the next tick.
class FrameReader
{
public:
    FrameReader(LibUsbDevice &device, int expectedCount)
        : device(device)
        , expectedCount(expectedCount)
    {
        QObject::connect(&timer, &QTimer::timeout, [this] { tick(); });
        timer.start(4);
    }

    void tick()
    {
        if (!device.dataReady)
            return;
        if (device.receivedCount == 0)
            ++emptyReads;
        if (device.receivedCount != expectedCount || device.receiveBuffer[0] != ScopeFrame::frameTag)
            return;
        if (!frameIsWhole(device.receiveBuffer, device.receivedCount))
            ++torn;
        const uint16_t number = ScopeFrame::readHeader(device.receiveBuffer).frameNumber;
        if (frames > 0) {
            const uint16_t step = uint16_t(number - lastNumber);
            if (step == 0 || step > 0x8000)
                ++notIncreasing;
            else if (step > 1)
                ++merged;
        }
        lastNumber = number;
        ++frames;
        device.dataReady = false;
    }

    LibUsbDevice &device;
    const int expectedCount;
    QTimer timer;
    int frames = 0;
    int torn = 0;
    int notIncreasing = 0;
    int merged = 0; // frames skipped because a newer one arrived first
    int emptyReads = 0;
    uint16_t lastNumber = 0;
};

// CH1 and the logic channels at the power-on buffer of three blocks.
constexpr int streamFrameLength = int(ScopeFrame::overhead) + 2 * 3 * 256;

} // namespace

class TestLibUsbDevice : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<SimulatedInstrument> instrument;
    std::unique_ptr<LibUsbDevice> device;

    void plugIn(const SimulatedInstrument::Options &options = SimulatedInstrument::Options())
    {
        instrument.reset(new SimulatedInstrument(options));
        std::string error;
        QVERIFY2(instrument->start(&error), error.c_str());
        device.reset(new LibUsbDevice);
    }

    void connectDevice()
    {
        device->initializeDevice();
        QVERIFY(device->initialized);
        QCOMPARE(device->openDevice(), 0);
        QVERIFY(device->connected);
    }

    // Paced, at 2 ms/div: about ten frames a second, far below the reader's
    // 250 ticks, so that even a busy machine does not make it skip one.
    void startStream(bool paced)
    {
        instrument->setPaced(paced);
        QCOMPARE(device->controlWriteTransfer(REQ_SET_CONFIG, CFG_CHD_CONTROL, LOGIC_TRACE_ON), 0);
        if (paced)
            QCOMPARE(device->controlWriteTransfer(REQ_SET_CONFIG, CFG_SAMPLING_RATE, 8), 0);
        device->asyncBulkReadTransfer();
        QVERIFY(device->eventThreadFuture.isRunning());
        QCOMPARE(device->controlWriteTransfer(REQ_RUN_CONTROL, RUN_SCOPE_START, 0), 0);
    }

    // closeDevice must not wait for a transfer's 1000 ms time-out, let alone
    // for libusb's own event time-out.
    void closePromptly()
    {
        QElapsedTimer clock;
        clock.start();
        device->closeDevice();
        QVERIFY2(clock.elapsed() < 900, qPrintable(QStringLiteral("close took %1 ms").arg(clock.elapsed())));
        QVERIFY(!device->connected);
        QVERIFY(!device->eventThreadFuture.isRunning());
        QVERIFY(!device->bulkReadTransfer);
        QVERIFY(!instrument->interfaceClaimed());
    }

private slots:
    void cleanup()
    {
        if (device) {
            device->closeDevice();
            device->reset();
        }
        device.reset();
        instrument.reset();
    }

    void opensClaimsAndCloses()
    {
        plugIn();
        LogCapture log;
        connectDevice();
        QVERIFY(instrument->interfaceClaimed());
        QCOMPARE(log.count("Kernel Driver Active"), 1);
        QCOMPARE(log.count("Kernel Driver Detached!"), 1);
        QCOMPARE(log.messages().filter(QRegularExpression("^0x[0-9a-f]+ +Device Opened$")).size(), 1);
        QVERIFY(device->deviceHandle);

        log.clear();
        closePromptly();
        QVERIFY(closeStepsInOrder(log));
        QVERIFY(device->transferFailed);
        device->reset();
        QVERIFY(!device->transferFailed && !device->initialized && !device->context && !device->deviceHandle);
        QVERIFY(device->eventLoopRunning);
    }

    void controlTransfers_data()
    {
        QTest::addColumn<int>("identificationLength");
        QTest::addColumn<int>("request");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("identification read")
            << 64 << int(REQ_READ) << int(READ_DEVICE_INFO) << 0 << 64 << 64
            << QStringList{"USB Transfer: cmd= \"71\"  index= \"0\"  value= \"0\"", "Return  \"64\"  bytes"};
        QTest::newRow("short reply is returned and logged as such")
            << 10 << int(REQ_READ) << int(READ_DEVICE_INFO) << 0 << 64 << 10
            << QStringList{"USB Transfer: cmd= \"71\"  index= \"0\"  value= \"0\"", "Return  \"10\"  bytes"};
        QTest::newRow("write has no Return line")
            << 64 << int(REQ_SET_CONFIG) << int(CFG_TRIGGER_LEVEL) << 65411 << 0 << 0
            << QStringList{"USB Transfer: cmd= \"65\"  index= \"17\"  value= \"65411\""};
    }
    void controlTransfers()
    {
        QFETCH(int, identificationLength);
        QFETCH(int, request);
        QFETCH(int, index);
        QFETCH(int, value);
        QFETCH(int, length);

        SimulatedInstrument::Options options;
        options.identificationLength = identificationLength;
        plugIn(options);
        connectDevice();
        instrument->clearWireLog();
        LogCapture log;
        unsigned char reply[64] = {};
        const int result = length > 0 ? device->controlReadTransfer(uchar(request), reply, length, ushort(index), ushort(value))
                                      : device->controlWriteTransfer(uchar(request), ushort(index), ushort(value));
        QTEST(result, "result");
        QTEST(log.messages(), "lines");

        const std::vector<WireRecord> wire = instrument->wireLog();
        QCOMPARE(wire.size(), size_t(1));
        QCOMPARE(int(wire[0].requestType), 0xC0);
        QCOMPARE(int(wire[0].request), request);
        QCOMPARE(int(wire[0].index), index);
        QCOMPARE(int(wire[0].value), value);
        QCOMPARE(int(wire[0].length), length);
        if (length > 0)
            QCOMPARE(QByteArray(reinterpret_cast<char *>(reply), result),
                     QByteArray(reinterpret_cast<const char *>(wire[0].data.data()), int(wire[0].data.size())));
    }

    void bulkWriteArrivesByteForByte()
    {
        plugIn();
        connectDevice();
        instrument->clearWireLog();
        unsigned char block[BULK_BLOCK_SIZE];
        for (int i = 0; i < BULK_BLOCK_SIZE; ++i)
            block[i] = uchar(i * 13 + 7);
        QCOMPARE(device->bulkWriteTransfer(block, BULK_BLOCK_SIZE), BULK_BLOCK_SIZE);
        const std::vector<WireRecord> wire = instrument->wireLog();
        QCOMPARE(wire.size(), size_t(1));
        QCOMPARE(wire[0].kind, WireRecord::BulkOut);
        QCOMPARE(std::vector<uint8_t>(block, block + BULK_BLOCK_SIZE), wire[0].data);
    }

    // Paced below the reader's rate every frame is seen; unpaced the reader
    // sees only the latest of those that came in between. Either way no
    // frame is torn and the numbers only rise.
    void streamReachesTheReader_data()
    {
        QTest::addColumn<bool>("paced");
        QTest::newRow("slower than the reader") << true;
        QTest::newRow("faster than the reader") << false;
    }
    void streamReachesTheReader()
    {
        QFETCH(bool, paced);
        plugIn();
        connectDevice();
        FrameReader reader(*device, streamFrameLength);
        startStream(paced);
        QTRY_VERIFY_WITH_TIMEOUT(reader.frames >= 15, 10000);
        reader.timer.stop();

        QCOMPARE(reader.torn, 0);
        QCOMPARE(reader.notIncreasing, 0);
        if (paced)
            QCOMPARE(reader.merged, 0);
        else
            QVERIFY(reader.merged > 0);
        QVERIFY(instrument->framesSent() >= uint64_t(reader.frames));
        QVERIFY(!device->transferFailed);

        // The clear request empties what the reader sees.
        emit device->serialPort.clear();
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(device->receiveBuffer), 64), QByteArray(64, '\0'));

        LogCapture log;
        closePromptly();
        QVERIFY(closeStepsInOrder(log));
    }

    // An idle instrument makes the read time out once a second: the flag
    // rises with a count of 0, and the link stays up.
    void idleTimeOutsAreHandedOver()
    {
        plugIn();
        connectDevice();
        FrameReader reader(*device, streamFrameLength);
        device->asyncBulkReadTransfer();
        device->asyncBulkReadTransfer(); // a second call changes nothing
        QTRY_VERIFY_WITH_TIMEOUT(reader.emptyReads >= 1, 3000);
        QCOMPARE(reader.frames, 0);
        QVERIFY(!device->transferFailed);
        QCOMPARE(instrument->waitForRequest(REQ_READ, READ_HEALTH, 0), -1);
        closePromptly();
    }

    // A failed synchronous transfer takes the fatal path once; from then on
    // every transfer is refused without reaching the bus.
    void failedTransferFailsTheLink_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("control request times out")
            << "hold" << int(LIBUSB_ERROR_TIMEOUT)
            << QStringList{"Emit ConnectionLost", "Transfer error: LIBUSB_ERROR_TIMEOUT"};
        QTest::newRow("control request stalls")
            << "stall" << int(LIBUSB_ERROR_PIPE) << QStringList{"Emit ConnectionLost", "Transfer error: LIBUSB_ERROR_PIPE"};
        QTest::newRow("bulk write fails")
            << "bulk" << int(LIBUSB_ERROR_PIPE)
            << QStringList{"Bulk write transfer failed!  -9", "Emit ConnectionLost", "Transfer error: LIBUSB_ERROR_PIPE"};
    }
    void failedTransferFailsTheLink()
    {
        QFETCH(QString, fault);
        QFETCH(QStringList, lines);
        plugIn();
        connectDevice();
        QSignalSpy lost(device.get(), &LibUsbDevice::connectionLost);
        LogCapture log;
        int result;
        unsigned char block[BULK_BLOCK_SIZE] = {};
        if (fault == QLatin1String("bulk")) {
            instrument->setBulkOutFailing(true);
            result = device->bulkWriteTransfer(block, BULK_BLOCK_SIZE);
        } else {
            if (fault == QLatin1String("hold"))
                instrument->holdNextRequest(REQ_READ, READ_HEALTH);
            else
                instrument->stallNextRequest(REQ_READ, READ_HEALTH);
            unsigned char health = 0;
            result = device->controlReadTransfer(REQ_READ, &health, 1, READ_HEALTH, 0);
        }
        QTEST(result, "result");
        QVERIFY(device->transferFailed);
        QVERIFY(device->connected);
        QCOMPARE(lost.size(), 1);
        for (const QString &line : lines)
            QCOMPARE(log.count(line), 1);

        instrument->clearWireLog();
        log.clear();
        unsigned char reply[64];
        QCOMPARE(device->controlReadTransfer(REQ_READ, reply, 64, READ_DEVICE_INFO, 0), LibUsbDevice::NotConnected);
        QCOMPARE(device->controlWriteTransfer(REQ_RUN_CONTROL, RUN_SCOPE_START, 0), LibUsbDevice::NotConnected);
        QCOMPARE(device->bulkWriteTransfer(block, BULK_BLOCK_SIZE), LibUsbDevice::NotConnected);
        device->asyncBulkReadTransfer();
        QCOMPARE(log.messages(), (QStringList() << "Device not connected" << "Device not connected" << "Device not connected" << "Device not connected"));
        QVERIFY(instrument->wireLog().empty());
        QCOMPARE(lost.size(), 1);
        closePromptly();
    }

    // Unplugged while streaming: the read comes back with "no device", the
    // fatal path runs once on the GUI thread, and closing does not hang.
    void unplugMidStream()
    {
        plugIn();
        connectDevice();
        FrameReader reader(*device, streamFrameLength);
        startStream(false);
        QTRY_VERIFY_WITH_TIMEOUT(reader.frames >= 5, 5000);
        QSignalSpy lost(device.get(), &LibUsbDevice::connectionLost);
        LogCapture log;
        instrument->unplug();
        QTRY_VERIFY_WITH_TIMEOUT(device->transferFailed, 3000);
        QTest::qWait(200);
        QCOMPARE(lost.size(), 1);
        QCOMPARE(log.count("Emit ConnectionLost"), 1);
        QCOMPARE(log.count("Transfer error: LIBUSB_ERROR_NO_DEVICE"), 1);
        QCOMPARE(reader.torn, 0);
        closePromptly();
        QVERIFY(closeStepsInOrder(log));
    }

    // One object serves connection after connection.
    void reconnectsTwentyTimes()
    {
        plugIn();
        for (int cycle = 0; cycle < 20; ++cycle) {
            connectDevice();
            FrameReader reader(*device, streamFrameLength);
            startStream(false);
            QTRY_VERIFY_WITH_TIMEOUT(reader.frames >= 2, 5000);
            QCOMPARE(reader.torn, 0);
            QCOMPARE(device->controlWriteTransfer(REQ_DISCONNECT, 0, 0), 0);
            closePromptly();
            device->reset();
            QVERIFY(!device->dataReady);
        }
    }

    // The unidentified-device path drops the device with reset() alone; the
    // interface and context are released all the same, so the next attempt
    // can claim it.
    void resetAloneReleasesTheDevice()
    {
        plugIn();
        connectDevice();
        device->reset();
        QVERIFY(!device->connected);
        QVERIFY(!instrument->interfaceClaimed());
        connectDevice();
        QVERIFY(instrument->interfaceClaimed());
    }

    // No instrument: the status line says so and nothing reaches libusb's
    // transfer functions. A later attempt reuses the context and finds the
    // instrument once it is back.
    void missingInstrumentAndRetry()
    {
        plugIn();
        instrument->unplug();
        QTRY_VERIFY(!instrument->isPlugged());
        QSignalSpy status(&device->serialPort, &SerialPortConnection::connectionStatus);
        LogCapture log;
        device->initializeDevice();
        libusb_context *first = device->context;
        device->openDevice();
        QVERIFY(!device->connected);
        QCOMPARE(status.size(), 1);
        QCOMPARE(status.at(0).at(0).toString(), QStringLiteral("Cannot open device"));
        QCOMPARE(log.count("Cannot open device"), 1);
        unsigned char reply[64];
        QCOMPARE(device->controlReadTransfer(REQ_READ, reply, 64, READ_DEVICE_INFO, 0), LibUsbDevice::NotConnected);

        std::string error;
        QVERIFY2(instrument->replug(&error), error.c_str());
        device->initializeDevice();
        QCOMPARE(device->context, first);
        QTRY_COMPARE(device->openDevice(), 0);
        QVERIFY(device->connected);
    }

    // Without a context (libusb could not start) opening fails cleanly.
    void openWithoutContext()
    {
        plugIn();
        QSignalSpy status(&device->serialPort, &SerialPortConnection::connectionStatus);
        QVERIFY(device->openDevice() != 0);
        QVERIFY(!device->connected);
        QCOMPARE(status.size(), 1);
        device->closeDevice(); // nothing to close
        QVERIFY(!device->context);
    }
};

VESK_USB_TEST_MAIN(TestLibUsbDevice)
#include "tst_libusbdevice.moc"
