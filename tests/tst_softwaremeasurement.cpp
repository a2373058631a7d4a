#include "testmain.h"
#include "softwaremeasurement.h"

#include <cmath>

using namespace SoftwareMeasurement;

namespace {

using Samples = QVector<signed char>;

Samples square(int count, int period, int high, int low, int phase = 0)
{
    Samples samples(count);
    for (int i = 0; i < count; ++i)
        samples[i] = static_cast<signed char>(((i + phase) % period) < period / 2 ? high : low);
    return samples;
}

Samples sine(int count, double period, double amplitude)
{
    Samples samples(count);
    for (int i = 0; i < count; ++i)
        samples[i] = static_cast<signed char>(std::lround(amplitude * std::sin(2 * M_PI * i / period)));
    return samples;
}

short minimum(const Samples &s)
{
    return *std::min_element(s.begin(), s.end());
}

short maximum(const Samples &s)
{
    return *std::max_element(s.begin(), s.end());
}

} // namespace

class TestSoftwareMeasurement : public QObject
{
    Q_OBJECT
private slots:
    void period_data()
    {
        QTest::addColumn<Samples>("samples");
        QTest::addColumn<int>("period");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("last");

        // The first sample outside the band picks the direction; a crossing is
        // the first sample beyond the middle level (equal is not beyond).
        QTest::newRow("square, period 40") << square(768, 40, 100, -100) << 4000 << 20 << 60 << 740;
        QTest::newRow("square, starting low")
            << square(768, 40, 100, -100, 20) << 4000 << 20 << 60 << 740;
        QTest::newRow("sine, period 64") << sine(768, 64, 100) << 6400 << 33 << 97 << 737;
        QTest::newRow("offset sine, period 100")
            << [] { Samples s = sine(1024, 100, 50); for (auto &v : s) v = static_cast<signed char>(v + 60); return s; }()
            << 10000 << 51 << 151 << 951;
        QTest::newRow("two crossings") << square(70, 40, 100, -100) << 4000 << 20 << 60 << 60;
        // Non-integer period: the mean over many periods keeps hundredths.
        QTest::newRow("sine, period 37.5") << sine(3840, 37.5, 120) << 3750 << -1 << -1 << -1;

        QTest::newRow("span 31 is too small") << square(768, 40, 15, -16) << 0 << 0 << 0 << 768;
        QTest::newRow("span 32 is measured") << square(768, 40, 16, -16) << 4000 << 20 << 60 << 740;
        QTest::newRow("one crossing") << [] { Samples s(768, -100); for (int i = 400; i < 768; ++i) s[i] = 100; return s; }()
                                      << 0 << 0 << 0 << 768;
        QTest::newRow("crossing among the first five samples only")
            << [] { Samples s(768, 100); s[0] = s[1] = -100; for (int i = 764; i < 768; ++i) s[i] = -100; return s; }()
            << 0 << 0 << 0 << 768;
        // 768 / 4 = 192 crossings allowed; period 2 has 379 in the window.
        QTest::newRow("too many crossings") << square(768, 2, 100, -100) << 0 << 0 << 0 << 768;
        QTest::newRow("too few samples") << square(10, 2, 100, -100) << 0 << 0 << 0 << 10;
        QTest::newRow("no samples") << Samples() << 0 << 0 << 0 << 0;
    }
    void period()
    {
        QFETCH(Samples, samples);
        QFETCH(int, period);
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(int, last);
        mmzeros_t zeros{1, 2, 3};
        const short low = samples.isEmpty() ? -100 : minimum(samples);
        const short high = samples.isEmpty() ? 100 : maximum(samples);
        const int result = scopeGetMeasureFrequency(samples.constData(), ushort(samples.size()), low,
                                                    high, &zeros);
        if (first < 0) {
            QVERIFY2(std::abs(result - period) <= 2, qPrintable(QString::number(result)));
            QVERIFY(zeros.first < zeros.second && zeros.second < zeros.last);
            return;
        }
        QCOMPARE(result, period);
        QCOMPARE(int(zeros.first), first);
        QCOMPARE(int(zeros.second), second);
        QCOMPARE(int(zeros.last), last);
    }

    // Thresholds of a +-100 signal: low -25, middle 0, high 53.
    void bandEdges_data()
    {
        QTest::addColumn<Samples>("samples");
        QTest::addColumn<int>("period");
        Samples rising(256, -100);
        for (int i = 0; i < 256; ++i)
            rising[i] = static_cast<signed char>((i % 50) < 25 ? -100 : 100);
        QTest::newRow("clean") << rising << 5000;
        // Every other low half sits exactly at the low level: that does not
        // re-arm a rising measurement, so only every other rise counts.
        Samples dip(256);
        for (int i = 0; i < 256; ++i)
            dip[i] = static_cast<signed char>((i / 25) % 2 ? 100 : (i / 50) % 2 ? -25 : -100);
        QTest::newRow("low level does not re-arm") << dip << 10000;
        // One unit above the middle is a crossing.
        Samples edge(256, 0);
        for (int i = 0; i < 256; ++i)
            edge[i] = static_cast<signed char>((i % 50) < 25 ? -100 : 1);
        edge[0] = 100;
        QTest::newRow("rising crossing just above the middle") << edge << 5000;
    }
    void bandEdges()
    {
        QFETCH(Samples, samples);
        QFETCH(int, period);
        mmzeros_t zeros;
        QCOMPARE(scopeGetMeasureFrequency(samples.constData(), ushort(samples.size()), -100, 100, &zeros),
                 period);
    }

    void averageAndRms_data()
    {
        QTest::addColumn<Samples>("samples");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("average");
        QTest::addColumn<int>("rms");
        QTest::newRow("all -1") << Samples(768, -1) << 0 << 768 << -128 << 128;
        QTest::newRow("1 and 2: mean square truncated")
            << Samples{1, 2} << 0 << 2 << 192 << 181;
        QTest::newRow("whole periods of a square")
            << square(768, 40, 100, -100) << 20 << 740 << 0 << 12800;
        QTest::newRow("part of the block") << Samples{50, 50, -10, -10, 99} << 2 << 4 << -1280 << 1280;
        QTest::newRow("extremes") << Samples(3840, -128) << 0 << 3840 << -16384 << 16384;
    }
    void averageAndRms()
    {
        QFETCH(Samples, samples);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, average);
        QFETCH(int, rms);
        const mmzeros_t zeros{ushort(first), ushort(first), ushort(last)};
        short actualAverage = 1, actualRms = 1;
        QVERIFY(scopeGetAverRMS(samples.constData(), &zeros, &actualAverage, &actualRms));
        QCOMPARE(int(actualAverage), average);
        QCOMPARE(int(actualRms), rms);
    }

    void emptyRangeHasNoValue()
    {
        const Samples samples(16, 5);
        // A block of no samples, and a record out of order.
        for (const mmzeros_t zeros : {mmzeros_t{0, 0, 0}, mmzeros_t{9, 9, 4}}) {
            short average = 7, rms = 7;
            QVERIFY(!scopeGetAverRMS(samples.constData(), &zeros, &average, &rms));
            QCOMPARE(average, short(0));
            QCOMPARE(rms, short(0));
        }
    }

    void failedMeasurementAveragesTheWholeBlock()
    {
        const Samples flat(768, 20);
        mmzeros_t zeros;
        QCOMPARE(scopeGetMeasureFrequency(flat.constData(), 768, 20, 20, &zeros), 0);
        short average = 0, rms = 0;
        QVERIFY(scopeGetAverRMS(flat.constData(), &zeros, &average, &rms));
        QCOMPARE(average, short(20 * 128));
        QCOMPARE(rms, short(20 * 128));
    }
};

VESK_TEST_MAIN(TestSoftwareMeasurement)
#include "tst_softwaremeasurement.moc"
