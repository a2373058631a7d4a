// The frequency editor's arithmetic: digits of a value, the logarithmic
// slider's frequencies and positions, the panel header.
#include "testmain.h"

#include "frequencyentry.h"

#include <limits>

class TestFrequencyEntry : public QObject
{
    Q_OBJECT

private slots:
    void digitsText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("digits");
        QTest::newRow("rounded half away from zero") << 123456.5 << "00123457";
        QTest::newRow("script 1234.567 Hz") << 123456.7 << "00123457";
        QTest::newRow("largest the editor holds") << 19999999.0 << "19999999";
        // A ninth digit would be cut off and 1 MHz would read as 0 Hz.
        QTest::newRow("above the editor: held, not cut") << 100000000.0 << "19999999";
        QTest::newRow("negative: held at zero") << -500.0 << "00000000";
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "00000000";
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << "19999999";
    }
    void digitsText()
    {
        QFETCH(double, value);
        QTEST(FrequencyEntry::digitsText(value), "digits");
    }

    void sliderFrequency_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<double>("frequency");
        QTest::newRow("304: 1096.5 to three digits") << 304 << 1100.0;
        QTest::newRow("bottom 172: cut, not rounded") << 172 << 52.0;
        QTest::newRow("top 700: 100 kHz") << 700 << 10000000.0;
        QTest::newRow("555: 3.55 kHz") << 555 << 355000.0;
        QTest::newRow("just below 1000 counts") << 299 << 977.0;
        QTest::newRow("below the instrument's least") << 100 << 48.0;
        QTest::newRow("above the instrument's most") << 720 << 12500000.0;
    }
    void sliderFrequency()
    {
        QFETCH(int, position);
        QTEST(FrequencyEntry::sliderFrequency(position), "frequency");
    }

    void sliderPosition_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("position");
        QTest::newRow("1000 counts") << 1000.0 << 300;
        QTest::newRow("cut toward zero") << 1099.0 << 304;
        QTest::newRow("199999.99 Hz") << 19999999.0 << 730;
        QTest::newRow("zero has no logarithm") << 0.0 << 172;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 172;
        QTest::newRow("below the minimum") << 1.0 << 172;
    }
    void sliderPosition()
    {
        QFETCH(double, value);
        QTEST(FrequencyEntry::sliderPosition(value, 172), "position");
    }

    void headerShowsTheDigitsInHertz()
    {
        QCOMPARE(FrequencyEntry::headerText(100000), QStringLiteral("1000.00Hz "));
        QCOMPARE(FrequencyEntry::headerText(19999999), QStringLiteral("199999.99Hz "));
        QCOMPARE(FrequencyEntry::headerText(0), QStringLiteral("0.00Hz "));
    }
};

VESK_TEST_MAIN(TestFrequencyEntry)
#include "tst_frequencyentry.moc"
