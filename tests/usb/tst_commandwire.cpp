// The configuration writers on the wire, against the simulated instrument:
// the 16-bit cut, the frequency split, the collector, the confirm refusal
// rule and the bulk records with their commits.
#include "usbtestmain.h"

#include "instrumentcommands.h"
#include "libusbdevice.h"
#include "logcapture.h"

#include <memory>

class TestCommandWire : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<SimulatedInstrument> instrument;
    std::unique_ptr<LibUsbDevice> device;
    std::unique_ptr<InstrumentCommands> commands;

private slots:
    void init()
    {
        instrument.reset(new SimulatedInstrument);
        std::string error;
        QVERIFY2(instrument->start(&error), error.c_str());
        device.reset(new LibUsbDevice);
        device->initializeDevice();
        device->openDevice();
        QVERIFY(device->connected);
        commands.reset(new InstrumentCommands(*device));
        instrument->clearWireLog();
    }
    void cleanup()
    {
        commands.reset();
        if (device)
            device->closeDevice();
        device.reset();
        instrument.reset();
    }

    void singleWrites_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("wireValue");
        QTest::addColumn<QString>("line");

        QTest::newRow("trigger level -125") << int(CFG_TRIGGER_LEVEL) << -125 << 65411 << "Write to USB: index(17) value:-125";
        QTest::newRow("offset -1 as a byte") << int(CFG_WAVE_OFFSET) << 255 << 255 << "Write to USB: index(33) value:255";
        QTest::newRow("constant level -29696") << int(CFG_WAVE_CONSTANT_LEVEL) << -29696 << 35840
                                               << "Write to USB: index(35) value:-29696";
        QTest::newRow("trigger control free, rising") << int(CFG_TRIGGER_CONTROL) << 0x81 << 0x81
                                                      << "Write to USB: index(7) value:129";
    }
    void singleWrites()
    {
        QFETCH(int, index);
        QFETCH(int, value);
        QFETCH(QString, line);
        LogCapture log;
        commands->sendMainConfiguration(uchar(index), value);
        const auto sent = instrument->controlRequests(REQ_SET_CONFIG);
        QCOMPARE(sent.size(), size_t(1));
        QCOMPARE(int(sent[0].index), index);
        QTEST(int(sent[0].value), "wireValue");
        QCOMPARE(int(sent[0].length), 0);
        QCOMPARE(log.count(line), 1);
        QTEST(instrument->configurationValue(index) & 0xFFFF, "wireValue");
    }

    void frequencyIsSplitOverIndexAndValue()
    {
        LogCapture log;
        commands->sendMainConfigurationFrequency(CFG_WAVE_FREQUENCY, 12500000);
        const auto sent = instrument->controlRequests(REQ_SET_AWG_FREQUENCY);
        QCOMPARE(sent.size(), size_t(1));
        QCOMPARE(int(sent[0].index), 48160);
        QCOMPARE(int(sent[0].value), 190);
        QCOMPARE(log.count("Write to USB: Send Frequency value:12500000"), 1);
    }

    // While collecting, 'A' and 'F' stay off the wire; 'B' still goes out.
    void collectingKeepsWritesOffTheWire()
    {
        commands->setBulkCollectMode(true);
        LogCapture log;
        commands->sendMainConfiguration(CFG_TRIGGER_CONTROL, 0x81);
        commands->sendMainConfigurationFrequency(CFG_WAVE_FREQUENCY, 100000);
        QCOMPARE(log.count("Bulk write to USB: index(7) value:129"), 1);
        QVERIFY(instrument->wireLog().empty());
        QCOMPARE(commands->sendConfirmed(CFG_CH1_CONTROL, CHANNEL_TRACE_ON, {}), InstrumentCommands::ConfirmResult::Accepted);
        QCOMPARE(instrument->controlRequests(REQ_SET_CONFIG_CONFIRM).size(), size_t(1));
    }

    // 'B' refused for want of buffer memory: the oscilloscope buffer shrinks
    // to the offered size (at least one block) and the request goes once more.
    void confirmRefusal_data()
    {
        QTest::addColumn<int>("budget");
        QTest::addColumn<bool>("acceptRetry");
        QTest::addColumn<int>("shrunkTo");
        QTest::addColumn<bool>("goOn");
        QTest::addColumn<QString>("line");

        QTest::newRow("refused twice") << 12 << false << 6 << false << "No enough memory for CH buffer: 6";
        QTest::newRow("nothing offered, one block asked") << 0 << false << 1 << false << "No enough memory for CH buffer: 0";
        QTest::newRow("accepted on the retry") << 12 << true << 6 << true << "No enough memory for CH buffer: 6";
    }
    void confirmRefusal()
    {
        QFETCH(int, budget);
        QFETCH(bool, acceptRetry);
        instrument->setBufferBudget(budget);
        instrument->setConfirmRefused(true);
        LogCapture log;
        QVector<int> shrinks;
        const auto result = commands->sendConfirmed(CFG_CH2_CONTROL, CHANNEL_TRACE_ON, [&](int blocks) {
            shrinks.append(blocks);
            if (acceptRetry) {
                instrument->setBufferBudget(30);
                instrument->setConfirmRefused(false);
            }
        });
        QTEST(result == InstrumentCommands::ConfirmResult::Accepted, "goOn");
        QFETCH(int, shrunkTo);
        QCOMPARE(shrinks, QVector<int>{shrunkTo});
        QTEST(log.messages().filter("No enough memory").value(0), "line");
        const auto sent = instrument->controlRequests(REQ_SET_CONFIG_CONFIRM);
        QCOMPARE(sent.size(), size_t(2));
        for (const WireRecord &record : sent) {
            QCOMPARE(int(record.index), int(CFG_CH2_CONTROL));
            QCOMPARE(int(record.length), REPLY_CONFIRM_LENGTH);
        }
        QCOMPARE(log.count("Write to USB: index(4) value:1, return:1"), acceptRetry ? 1 : 2);
        QCOMPARE(log.count("Write to USB: index(4) value:1, return:0"), acceptRetry ? 1 : 0);
    }

    // Each bulk block is followed at once by its commit, and arrives as built.
    void bulkRecordsWithTheirCommits()
    {
        commands->setBulkCollectMode(true);
        commands->sendMainConfiguration(CFG_TRIGGER_LEVEL, -125);
        commands->sendMainConfiguration(CFG_SAMPLING_RATE, 9);
        commands->sendSettingsBlock();
        commands->setBulkCollectMode(false);
        device->controlWriteTransfer(REQ_COMMIT_BULK, BULK_SETTINGS, 0);
        for (int i = 0; i < CUSTOM_WAVE_SAMPLES; ++i)
            commands->customWave.sample[i] = int16_t(i * 64 - 16000);
        commands->sendCustomWave();

        const std::vector<WireRecord> wire = instrument->wireLog();
        QCOMPARE(wire.size(), size_t(6));
        const auto *block = reinterpret_cast<const uint8_t *>(&commands->settingsBlock());
        const auto *wave = reinterpret_cast<const uint8_t *>(&commands->customWave);
        const std::vector<std::vector<uint8_t>> bulk = {
            {block, block + BULK_BLOCK_SIZE},
            {wave, wave + BULK_BLOCK_SIZE},
            {wave + BULK_BLOCK_SIZE, wave + 2 * BULK_BLOCK_SIZE}};
        const int commits[] = {BULK_SETTINGS, BULK_WAVE_FIRST_HALF, BULK_WAVE_SECOND_HALF};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(wire[size_t(2 * i)].kind, WireRecord::BulkOut);
            QCOMPARE(wire[size_t(2 * i)].data, bulk[size_t(i)]);
            QCOMPARE(int(wire[size_t(2 * i + 1)].request), int(REQ_COMMIT_BULK));
            QCOMPARE(int(wire[size_t(2 * i + 1)].index), commits[i]);
        }
        QCOMPARE(instrument->configurationValue(CFG_TRIGGER_LEVEL), -125);
        QCOMPARE(instrument->configurationValue(CFG_SAMPLING_RATE), 9);
        const std::vector<int16_t> stored = instrument->customWave();
        QCOMPARE(stored.size(), size_t(CUSTOM_WAVE_SAMPLES));
        QCOMPARE(int(stored[511]), 511 * 64 - 16000);
    }
};

VESK_USB_TEST_MAIN(TestCommandWire)
#include "tst_commandwire.moc"
