// The meter reply from its bytes to the values the meter pages show: the
// record layout, the volt and frequency conversions of the AC and DC pages,
// the counter's readings, and replies that are no reply.
#include "testmain.h"

#include "meterreply.h"

#include <cmath>
#include <cstdint>

namespace {

using Bytes = QByteArray;

// The measured fields of one record, written as the instrument sends them.
struct Fields
{
    uint8_t gain = 0;
    int8_t max = 0;
    int8_t min = 0;
    int16_t rms = 0;
    int16_t average = 0;
    uint32_t period = 0;
    uint8_t timeBase = 0;
};

void putRecord(Bytes &bytes, int at, const Fields &f)
{
    auto put = [&](int offset, uint32_t value, int length) {
        for (int i = 0; i < length; ++i)
            bytes[at + offset + i] = char(uint8_t(value >> (8 * i)));
    };
    put(0, 0xA5, 1); // control and spare: not read by the meter
    put(1, f.gain, 1);
    put(2, 0x5A, 1);
    put(3, uint8_t(f.max), 1);
    put(4, uint8_t(f.min), 1);
    put(5, uint16_t(f.rms), 2);
    put(7, uint16_t(f.average), 2);
    put(9, f.period, 4);
    put(13, 0xBEEF, 2); // crossings: not read by the meter
    put(15, 0xCAFE, 2);
    put(17, f.timeBase, 1);
}

Bytes replyBytes(const Fields &ch1, const Fields &ch2 = {})
{
    Bytes bytes(MeterReply::size, '\0');
    putRecord(bytes, 0, ch1);
    putRecord(bytes, 18, ch2);
    return bytes;
}

MeterReply parsed(const Bytes &bytes)
{
    const std::optional<MeterReply> reply =
        MeterReply::parse(reinterpret_cast<const unsigned char *>(bytes.constData()), bytes.size());
    if (!reply)
        qFatal("reply of %d bytes not parsed", int(bytes.size()));
    return *reply;
}

// Equal within a relative 1e-9, or both not-a-number.
bool same(double actual, double expected)
{
    if (std::isnan(expected))
        return std::isnan(actual);
    return std::fabs(actual - expected) <= 1e-9 * std::max(1.0, std::fabs(expected));
}

#define COMPARE_VALUE(actual, expected)                                                          \
    QVERIFY2(same((actual), (expected)),                                                         \
             qPrintable(QStringLiteral("%1: %2, expected %3").arg(#actual).arg(actual, 0, 'g', 12) \
                            .arg(expected, 0, 'g', 12)))

const double noValue = std::numeric_limits<double>::quiet_NaN();

} // namespace

Q_DECLARE_METATYPE(Fields)

class TestMeterReply : public QObject
{
    Q_OBJECT

private slots:
    void onlyExactlyThirtySixBytesAreAReply_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("36 bytes") << 36 << true;
        QTest::newRow("35 bytes, one short") << 35 << false;
        QTest::newRow("37 bytes") << 37 << false;
        QTest::newRow("nothing") << 0 << false;
        QTest::newRow("link refused (-99)") << -99 << false;
        QTest::newRow("time-out (-7)") << -7 << false;
    }
    void onlyExactlyThirtySixBytesAreAReply()
    {
        QFETCH(int, count);
        // The buffer is as large as the count claims, so a wrong check would
        // read only bytes that exist.
        const Bytes bytes = replyBytes({6, 100, -100}).leftJustified(std::max(count, 36), '\x7f');
        const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
        QTEST(MeterReply::parse(data, count).has_value(), "accepted");
        QVERIFY(!MeterReply::parse(nullptr, 36).has_value());
    }

    // Each channel's fields at their places, little-endian, signed where the
    // record is signed.
    void recordsOfBothChannels()
    {
        const MeterReply reply = parsed(replyBytes({3, -5, -128, -300, -32768, 0x01020304, 21},
                                                   {9, 127, 0, 32767, 1234, 0xFFFFFFFF, 0}));
        const channela_t &ch1 = reply.record(0);
        QCOMPARE(int(ch1.gain), 3);
        QCOMPARE(int(ch1.max), -5);
        QCOMPARE(int(ch1.min), -128);
        QCOMPARE(int(ch1.rms), -300);
        QCOMPARE(int(ch1.average), -32768);
        QCOMPARE(ch1.period, 0x01020304);
        QCOMPARE(int(ch1.timeBase), 21);
        const channela_t &ch2 = reply.record(1);
        QCOMPARE(int(ch2.gain), 9);
        QCOMPARE(int(ch2.max), 127);
        QCOMPARE(int(ch2.min), 0);
        QCOMPARE(int(ch2.rms), 32767);
        QCOMPARE(int(ch2.average), 1234);
        QCOMPARE(uint32_t(ch2.period), 0xFFFFFFFFu);
        QCOMPARE(int(ch2.timeBase), 0);
    }

    void acReadings_data()
    {
        QTest::addColumn<Fields>("fields");
        QTest::addColumn<double>("vpp");
        QTest::addColumn<double>("max");
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("rms");
        QTest::addColumn<double>("average");
        QTest::addColumn<double>("frequency");
        // 0.1 V/div; 40.96 raw units a division, RMS and mean in raw x 128.
        QTest::newRow("0.1 V/div, 800 Hz at 1 ms/div")
            << Fields{6, 100, -100, 9050, 0, 2000, 7} << 200 * 0.1 / 40.96 << 100 * 0.1 / 40.96
            << -100 * 0.1 / 40.96 << 9050 * 0.1 / 5242.88 << 0.0 << 800.0;
        QTest::newRow("8 V/div, offset, 1 kHz at 256 us/div")
            << Fields{0, 60, 20, 5120, 5120, 6250, 5} << 40 * 8 / 40.96 << 60 * 8 / 40.96 << 20 * 8 / 40.96
            << 5120 * 8 / 5242.88 << 5120 * 8 / 5242.88 << 1000.0;
        QTest::newRow("no gain: no volts") << Fields{10, 100, -100, 9050, 100, 2000, 7} << 0.0 << 0.0 << 0.0
                                           << 0.0 << 0.0 << 800.0;
        // A period too short to measure, or none at all, has no frequency
        // rather than an infinite one.
        QTest::newRow("period 0") << Fields{6, 0, 0, 0, 0, 0, 7} << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << noValue;
        QTest::newRow("period 1") << Fields{6, 0, 0, 0, 0, 1, 7} << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << noValue;
        QTest::newRow("period with its top bit set")
            << Fields{6, 0, 0, 0, 0, 0x80000000u, 7} << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << noValue;
        QTest::newRow("period all ones") << Fields{6, 0, 0, 0, 0, 0xFFFFFFFFu, 7} << 0.0 << 0.0 << 0.0 << 0.0
                                         << 0.0 << noValue;
    }
    void acReadings()
    {
        QFETCH(Fields, fields);
        QFETCH(double, vpp);
        QFETCH(double, max);
        QFETCH(double, min);
        QFETCH(double, rms);
        QFETCH(double, average);
        QFETCH(double, frequency);
        // The same fields on either channel give the same readings; the other
        // channel's record does not leak in.
        const Fields other{1, -7, -9, 111, -222, 333, 3};
        const MeterReply reply1 = parsed(replyBytes(fields, other));
        const MeterReply reply2 = parsed(replyBytes(other, fields));
        for (const FrameMeasurement::Readings &values : {reply1.acReadings(0), reply2.acReadings(1)}) {
            COMPARE_VALUE(values.vpp, vpp);
            COMPARE_VALUE(values.max, max);
            COMPARE_VALUE(values.min, min);
            COMPARE_VALUE(values.rms, rms);
            COMPARE_VALUE(values.average, average);
            COMPARE_VALUE(values.frequency, frequency);
        }
    }

    void dcVolts_data()
    {
        QTest::addColumn<int>("gain");
        QTest::addColumn<int>("average");
        QTest::addColumn<double>("volts");
        QTest::newRow("8 V/div, positive") << 0 << 12800 << 19.53125;
        QTest::newRow("0.8 V/div, negative") << 3 << -6553 << -6553 * 0.8 / 5242.88;
        QTest::newRow("most negative mean") << 9 << -32768 << -32768 * 0.0125 / 5242.88;
        QTest::newRow("no gain") << 10 << 12800 << 0.0;
    }
    void dcVolts()
    {
        QFETCH(int, gain);
        QFETCH(int, average);
        QFETCH(double, volts);
        const Fields fields{uint8_t(gain), 0, 0, 0, int16_t(average), 0, 0};
        COMPARE_VALUE(parsed(replyBytes(fields, {})).dcVolts(0), volts);
        COMPARE_VALUE(parsed(replyBytes({}, fields)).dcVolts(1), volts);
    }

    // Period mode: CH1 carries the period and CH2 the high time, both in
    // ticks of the 32 MHz clock, read unsigned.
    void periodReadings_data()
    {
        QTest::addColumn<uint32_t>("ticks");
        QTest::addColumn<uint32_t>("highTicks");
        QTest::addColumn<double>("period");
        QTest::addColumn<double>("dutyPercent");
        QTest::addColumn<double>("dutySeconds");
        QTest::addColumn<double>("frequency");
        QTest::newRow("1 kHz, 25 %") << 32000u << 8000u << 0.001 << 25.0 << 0.00025 << 1000.0;
        QTest::newRow("no period: nothing to divide by") << 0u << 8000u << 0.0 << noValue << noValue << noValue;
        QTest::newRow("every bit set is the longest period, not -1")
            << 0xFFFFFFFFu << 0x80000000u << 4294967295.0 / 32e6 << 2147483648.0 * 100 / 4294967295.0
            << 2147483648.0 / 32e6 << 32e6 / 4294967295.0;
        QTest::newRow("one tick") << 1u << 1u << 1 / 32e6 << 100.0 << 1 / 32e6 << 32e6;
    }
    void periodReadings()
    {
        QFETCH(uint32_t, ticks);
        QFETCH(uint32_t, highTicks);
        QFETCH(double, period);
        QFETCH(double, dutyPercent);
        QFETCH(double, dutySeconds);
        QFETCH(double, frequency);
        const MeterReply::PeriodReadings values =
            parsed(replyBytes({0, 0, 0, 0, 0, ticks, 0}, {0, 0, 0, 0, 0, highTicks, 0})).periodReadings();
        COMPARE_VALUE(values.period, period);
        COMPARE_VALUE(values.dutyPercent, dutyPercent);
        COMPARE_VALUE(values.dutySeconds, dutySeconds);
        COMPARE_VALUE(values.frequency, frequency);
    }

    // Frequency mode: CH1 carries the frequency in Hz; pulse counting and the
    // external gate show CH1's field as the count.
    void frequencyAndCount_data()
    {
        QTest::addColumn<uint32_t>("field");
        QTest::addColumn<double>("frequency");
        QTest::addColumn<double>("period");
        QTest::newRow("1 kHz") << 1000u << 1000.0 << 0.001;
        QTest::newRow("nothing counted") << 0u << 0.0 << noValue;
        QTest::newRow("every bit set") << 0xFFFFFFFFu << 4294967295.0 << 1 / 4294967295.0;
    }
    void frequencyAndCount()
    {
        QFETCH(uint32_t, field);
        QFETCH(double, frequency);
        QFETCH(double, period);
        // CH2's field plays no part.
        const MeterReply reply = parsed(replyBytes({0, 0, 0, 0, 0, field, 0}, {0, 0, 0, 0, 0, 77, 0}));
        const MeterReply::FrequencyReadings values = reply.frequencyReadings();
        COMPARE_VALUE(values.frequency, frequency);
        COMPARE_VALUE(values.period, period);
        COMPARE_VALUE(reply.counterValue(), double(field));
    }
};

VESK_TEST_MAIN(TestMeterReply)
#include "tst_meterreply.moc"
