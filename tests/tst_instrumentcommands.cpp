#include "testmain.h"
#include "instrumentcommands.h"
#include "libusbdevice.h"
#include "logcapture.h"

#include <cstring>

// What the writers do without an instrument: the collector, the settings
// block, and silence on the wire. The wire side runs against the simulated
// instrument in the USB tests.
class TestInstrumentCommands : public QObject
{
    Q_OBJECT

private slots:
    void collectedWritesFillTheBlock_data()
    {
        QTest::addColumn<int>("kind"); // 0 'A', 1 'F'
        QTest::addColumn<int>("index");
        QTest::addColumn<qlonglong>("value");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("line");

        QTest::newRow("trigger level keeps its sign")
            << 0 << int(CFG_TRIGGER_LEVEL) << qlonglong(-125) << int(CFG_TRIGGER_LEVEL) << -125
            << "Bulk write to USB: index(17) value:-125";
        QTest::newRow("offset -1 as its low byte")
            << 0 << int(CFG_WAVE_OFFSET) << qlonglong(255) << int(CFG_WAVE_OFFSET) << 255
            << "Bulk write to USB: index(33) value:255";
        QTest::newRow("constant level all 32 bits")
            << 0 << int(CFG_WAVE_CONSTANT_LEVEL) << qlonglong(-29696) << int(CFG_WAVE_CONSTANT_LEVEL) << -29696
            << "Bulk write to USB: index(35) value:-29696";
        QTest::newRow("frequency lands in slot 34")
            << 1 << int(CFG_WAVE_FREQUENCY) << qlonglong(12500000) << int(CFG_WAVE_FREQUENCY) << 12500000
            << "Bulk write to USB: index(34) value:12500000";
        QTest::newRow("frequency keeps its low 32 bits")
            << 1 << int(CFG_WAVE_FREQUENCY) << qlonglong(0x1'0000'0030LL) << int(CFG_WAVE_FREQUENCY) << 0x30
            << "Bulk write to USB: index(34) value:4294967344";
    }
    void collectedWritesFillTheBlock()
    {
        QFETCH(int, kind);
        QFETCH(int, index);
        QFETCH(qlonglong, value);
        QFETCH(int, slot);
        QFETCH(int, stored);
        QFETCH(QString, line);

        LibUsbDevice transport;
        InstrumentCommands commands(transport);
        LogCapture log;
        commands.setBulkCollectMode(true);
        if (kind == 0)
            commands.sendMainConfiguration(uchar(index), int(value));
        else
            commands.sendMainConfigurationFrequency(uchar(index), value);

        QCOMPARE(commands.settingsSlot(slot), stored);
        const auto *bytes = reinterpret_cast<const unsigned char *>(&commands.settingsBlock()) + 4 * slot;
        QCOMPARE(int(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint(bytes[3]) << 24), stored); // little-endian
        QCOMPARE(log.messages(), QStringList{line});
    }

    // The block starts zeroed, keeps what an earlier collection left in slots
    // no writer touches, holds the last value written to each slot, and never
    // touches the custom wave.
    void blockKeepsItsContentsBetweenCollections()
    {
        LibUsbDevice transport;
        InstrumentCommands commands(transport);
        for (int i = 0; i < SETTINGS_SLOT_COUNT; ++i)
            QCOMPARE(commands.settingsSlot(i), 0);
        for (int i = 0; i < CUSTOM_WAVE_SAMPLES; ++i)
            commands.customWave.sample[i] = int16_t(1000 + i);

        commands.setBulkCollectMode(true);
        commands.sendMainConfiguration(CFG_CH_BUFFER_BLOCKS, 3);
        commands.sendMainConfiguration(CFG_MAIN_MODE, 4);
        commands.setBulkCollectMode(false);

        commands.setBulkCollectMode(true);
        commands.sendMainConfiguration(CFG_MAIN_MODE, 2);
        commands.sendMainConfiguration(CFG_MAIN_MODE, 0);
        commands.sendMainConfiguration(CFG_TRIGGER_CONTROL, 0x81);
        commands.setBulkCollectMode(false);

        QCOMPARE(commands.settingsSlot(CFG_MAIN_MODE), 0);
        QCOMPARE(commands.settingsSlot(CFG_TRIGGER_CONTROL), 0x81);
        QCOMPARE(commands.settingsSlot(CFG_CH_BUFFER_BLOCKS), 3);
        QCOMPARE(commands.settingsSlot(CFG_DAC_CONTROL), 0);
        for (int i = 0; i < CUSTOM_WAVE_SAMPLES; ++i)
            QCOMPARE(int(commands.customWave.sample[i]), 1000 + i);
    }

    // An index beyond the block is refused with a warning instead of being
    // written past it.
    void indexOutsideTheBlockIsRefused()
    {
        LibUsbDevice transport;
        InstrumentCommands commands(transport);
        settingsblock_t before;
        std::memcpy(&before, &commands.settingsBlock(), sizeof(before));
        LogCapture log;
        commands.setBulkCollectMode(true);
        commands.sendMainConfiguration(200, 7);
        QCOMPARE(std::memcmp(&before, &commands.settingsBlock(), sizeof(before)), 0);
        QCOMPARE(log.messages().size(), 1);
        QVERIFY(log.messages().at(0).contains(QStringLiteral("outside the settings block")));
    }

    // Without an instrument the writers say nothing and send nothing; 'B'
    // reports no reply and its caller stops without shrinking the buffer.
    void withoutInstrumentWritesAreSilent()
    {
        LibUsbDevice transport;
        InstrumentCommands commands(transport);
        LogCapture log;
        commands.sendMainConfiguration(CFG_TRIGGER_CONTROL, 0x81);
        commands.sendMainConfigurationFrequency(CFG_WAVE_FREQUENCY, 100000);
        unsigned char reply[2] = {9, 9};
        QCOMPARE(commands.sendMainConfigurationConfirm(reply, 2, CFG_CH1_CONTROL, 1), -1);
        int shrinks = 0;
        QCOMPARE(commands.sendConfirmed(CFG_CH1_CONTROL, 1, [&shrinks](int) { ++shrinks; }),
                 InstrumentCommands::ConfirmResult::NoReply);
        QCOMPARE(shrinks, 0);
        QCOMPARE(log.messages(), QStringList());
        QCOMPARE(commands.settingsSlot(CFG_TRIGGER_CONTROL), 0);
    }

    // The block is announced item by item with its low bytes before it goes
    // out; without a link the transport refuses the bulk write.
    void settingsBlockIsLoggedBeforeSending()
    {
        LibUsbDevice transport;
        InstrumentCommands commands(transport);
        commands.setBulkCollectMode(true);
        commands.sendMainConfiguration(CFG_TRIGGER_LEVEL, -125);
        commands.sendMainConfiguration(CFG_WAVE_CONSTANT_LEVEL, 300);
        commands.setBulkCollectMode(false);
        LogCapture log;
        commands.sendSettingsBlock();
        const QStringList lines = log.messages();
        QCOMPARE(lines.size(), 1 + CFG_COUNT + 1);
        QCOMPARE(lines.first(), QStringLiteral("Finish prepare configuration, now send buffer as AWG"));
        QCOMPARE(lines.at(1), QStringLiteral(">> buffer: index[0] value:0"));
        QCOMPARE(lines.at(1 + CFG_TRIGGER_LEVEL), QStringLiteral(">> buffer: index[17] value:131"));
        QCOMPARE(lines.at(1 + CFG_WAVE_CONSTANT_LEVEL), QStringLiteral(">> buffer: index[35] value:44"));
        QCOMPARE(lines.last(), QStringLiteral("Device not connected"));
    }
};

VESK_TEST_MAIN(TestInstrumentCommands)
#include "tst_instrumentcommands.moc"
