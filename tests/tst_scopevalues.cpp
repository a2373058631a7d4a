#include "testmain.h"
#include "scopevalues.h"

#include <cmath>

using namespace ScopeValues;

class TestScopeValues : public QObject
{
    Q_OBJECT
private slots:
    void tables()
    {
        const QChar micro(0x00B5);
        QCOMPARE(timeBaseTexts().size(), 22);
        QCOMPARE(timeBaseTexts().at(0), QString("8") + micro + "s/div");
        QCOMPARE(timeBaseTexts().at(6), QString("500") + micro + "s/div");
        QCOMPARE(timeBaseTexts().at(7), QString("1ms/div"));
        QCOMPARE(timeBaseTexts().at(13), QString("0.1s/div"));
        QCOMPARE(timeBaseTexts().at(21), QString("50s/div"));
        QCOMPARE(timeBaseText(40), QString("50s/div"));
        QCOMPARE(timeBaseText(-3), timeBaseTexts().at(0));
        QCOMPARE(gainTexts().size(), 11);
        QCOMPARE(gainTexts().at(9), QString("12.5mV/div"));
        QCOMPARE(gainTexts().at(10), QString("----"));
        QCOMPARE(gainBoxTitles().size(), 10);
        QCOMPARE(gainBoxTitles().at(0), QString("Gain (") + QChar(0x00B1) + "24V)");
        QCOMPARE(gainBoxTitles().at(9), QString("Gain (") + QChar(0x00B1) + "37mV)");
        QCOMPARE(triggerIconsGreen().size(), 7);
        QCOMPARE(triggerIconsGreen().at(0), QString(":/icons/risingg.png"));
        QCOMPARE(triggerIconsRed().at(6), QString(":/icons/window2r.png"));
    }

    // Every gain caption against its volts per division: 64 plot units are
    // one division.
    void voltsPerDivision_data()
    {
        QTest::addColumn<int>("gain");
        QTest::addColumn<double>("volts");
        const double perDivision[] = {8, 4, 2, 0.8, 0.4, 0.2, 0.1, 0.05, 0.025, 0.0125};
        for (int gain = 0; gain < 10; ++gain)
            QTest::addRow("%s", qPrintable(gainTexts().at(gain))) << gain << perDivision[gain];
        QTest::newRow("no gain") << 10 << 0.0;
        QTest::newRow("beyond the table") << 11 << 0.0;
    }
    void voltsPerDivision()
    {
        QFETCH(int, gain);
        QFETCH(double, volts);
        const QString caption = gain < gainTexts().size() ? gainTexts().at(gain) : QString("?");
        QCOMPARE(rawValueToVolt(64, caption), volts);
        // s = 64 raw units is 100 plot units: 100 / 64 divisions.
        QCOMPARE(int8ToVolt_f(uchar(gain), 64), volts * 100 / 64);
    }

    void conversions_data()
    {
        QTest::addColumn<double>("actual");
        QTest::addColumn<double>("expected");
        QTest::newRow("gain 0, s = 64") << int8ToVolt_f(0, 64) << 12.5;
        QTest::newRow("gain 9, 100 - (-100)") << int8ToVolt_f(9, 100, -100) << 0.0125 * 400 * 0.78125 / 64;
        QTest::newRow("gain 7, 50 mV") << int8ToVolt_f(7, 64) << 0.078125;
        QTest::newRow("gain 6, average 100") << int16ToVolt_f(6, 12800) << 0.1 * 200 * 0.78125 / 64;
        QTest::newRow("gain 10 is none") << int8ToVolt_f(10, 64) << 0.0;
        QTest::newRow("gain 255 is none") << int16ToVolt_f(255, 12800) << 0.0;
        QTest::newRow("period 2000 at 1ms/div") << samplex100ToFrequency_f(2000, 7) << 800.0;
        QTest::newRow("period 4000 at 8us/div") << samplex100ToFrequency_f(4000, 0) << 1e6 / 20;
        QTest::newRow("period 2000 at 1s/div") << samplex100ToFrequency_f(2000, 16) << 0.8;
        // The period's time is taken as the four-digit read-out shows it: 1.251 ms.
        QTest::newRow("time rounded as shown") << samplex100ToFrequency_f(2002, 7) << 1000 / 1.251;
        QTest::newRow("time base beyond the table") << samplex100ToFrequency_f(2000, 40) << 1 / 62.5;
    }
    void conversions()
    {
        QFETCH(double, actual);
        QFETCH(double, expected);
        QVERIFY2(std::fabs(actual - expected) <= 1e-9 * qMax(1.0, std::fabs(expected)),
                 qPrintable(QString("%1 != %2").arg(actual, 0, 'g', 12).arg(expected, 0, 'g', 12)));
    }

    void noPeriodHasNoFrequency_data()
    {
        QTest::addColumn<int>("period");
        QTest::newRow("no period") << 0;
        QTest::newRow("below one sample") << 1;
    }
    void noPeriodHasNoFrequency()
    {
        QFETCH(int, period);
        QVERIFY(std::isnan(samplex100ToFrequency_f(period, 7)));
        QCOMPARE(samplex100ToFrequency(period, 7), QString("--"));
        QVERIFY(std::isnan(deltaToFrequency(0, 3)));
        QString unit;
        QVERIFY(std::isnan(vCursorFrequency(0, &unit, 3)));
    }

    void texts_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        QTest::newRow("volts, three digits") << int8ToVolt(0, 64) << " 12.5 V";
        QTest::newRow("millivolts") << int8ToVolt(7, 64) << " 78.1 mV";
        QTest::newRow("peak to peak") << int8ToVolt(6, 32, -32) << " 0.16 V";
        QTest::newRow("four digits") << int16ToVolt(6, 12800, 4) << " 0.244 V";
        QTest::newRow("no gain") << int8ToVolt(10, 64) << "--";
        QTest::newRow("no gain, x 128") << int16ToVolt(12, 5, 4) << "--";
        QTest::newRow("frequency in Hz") << samplex100ToFrequency(2000, 7) << " 800.0 Hz";
        QTest::newRow("frequency in kHz") << samplex100ToFrequency(4000, 0) << " 50.00 kHz";
        QTest::newRow("frequency in mHz") << samplex100ToFrequency(2000, 16) << " 800.0 mHz";
        QTest::newRow("one block at 1ms/div")
            << samplingRateText(7, 0) << "Time = 1ms/div, time range =  16.00ms";
        QTest::newRow("fifteen blocks at 50s/div")
            << samplingRateText(21, 14) << "Time = 50s/div, time range =  12000s";
        QTest::newRow("three blocks at 500us/div")
            << samplingRateText(6, 2)
            << QString("Time = 500") + QChar(0x00B5) + "s/div, time range =  24000" + QChar(0x00B5) + "s";
    }
    void texts()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void deltaTime_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("timeBase");
        QTest::addColumn<double>("time");
        QTest::addColumn<QString>("unit");
        const QString micro = QString(QChar(0x00B5)) + "s";
        // 32 plot units = 16 samples = one division.
        QTest::newRow("one division at 8us") << 0 << 32 << 0 << 8.0 << micro;
        QTest::newRow("reversed cursors") << 32 << 0 << 7 << 1.0 << "ms";
        QTest::newRow("odd positions truncate to samples") << 1 << 33 << 13 << 0.1 << "s";
        QTest::newRow("within one sample") << 10 << 11 << 7 << 0.0 << "ms";
    }
    void deltaTime()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, timeBase);
        QFETCH(double, time);
        QFETCH(QString, unit);
        QString actualUnit;
        QCOMPARE(vCursorDeltaTime(a, b, &actualUnit, 1, timeBase), time);
        QCOMPARE(actualUnit, unit);
    }

    // How long a frame lasts: sixteen samples per division.
    void frameSeconds_data()
    {
        QTest::addColumn<int>("samples");
        QTest::addColumn<int>("timeBase");
        QTest::addColumn<double>("seconds");
        QTest::newRow("one block at 8us/div") << 256 << 0 << 128e-6;
        QTest::newRow("three blocks at 1ms/div") << 768 << 7 << 0.048;
        QTest::newRow("one division at 0.1s/div") << 16 << 13 << 0.1;
        QTest::newRow("fifteen blocks at 50s/div") << 3840 << 21 << 12000.0;
        QTest::newRow("no samples") << 0 << 9 << 0.0;
    }
    void frameSeconds()
    {
        QFETCH(int, samples);
        QFETCH(int, timeBase);
        QFETCH(double, seconds);
        QVERIFY(qAbs(samplesSeconds(samples, timeBase) - seconds) <= seconds * 1e-12);
    }
};

VESK_TEST_MAIN(TestScopeValues)
#include "tst_scopevalues.moc"
