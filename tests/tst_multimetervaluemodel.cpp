#include "testmain.h"
#include "multimetervaluemodel.h"

#include <limits>

class TestMultimeterValueModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Numbers follow the locale; pin one with a point as separator.
        QLocale::setDefault(QLocale::c());
    }

    void valueToString_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("power");
        QTest::addColumn<int>("precision");
        QTest::addColumn<QString>("text");

        QTest::newRow("volts to millivolt resolution") << 0.25 << 0 << -3 << "0.250";
        QTest::newRow("millivolts") << 0.25 << -3 << -3 << "250";
        QTest::newRow("kilo counts") << 512.0 << 3 << 0 << "0.512";
        QTest::newRow("rounds to the resolution") << 0.01234 << -3 << -3 << "12";
        QTest::newRow("extra digits") << 0.01234 << -3 << -5 << "12.34";
        QTest::newRow("microseconds") << 1e-3 << -6 << -8 << "1000.00";
        QTest::newRow("no group separator") << 1234567.891 << 0 << -2 << "1234567.89";
        QTest::newRow("negative") << -0.5 << 0 << -1 << "-0.5";
        QTest::newRow("coarser than the prefix") << 1234.0 << 0 << 2 << "1234";
        QTest::newRow("kilo with one decimal") << 1500.0 << 3 << 2 << "1.5";
    }

    void valueToString()
    {
        QFETCH(double, value);
        QFETCH(int, power);
        QFETCH(int, precision);
        QFETCH(QString, text);
        QCOMPARE(MultimeterValueModel::valueToString(value, power, precision), text);
    }

    void unitPowerTakesTheNextPrefix_data()
    {
        QTest::addColumn<int>("requested");
        QTest::addColumn<int>("power");
        QTest::addColumn<QString>("unit");

        QTest::newRow("kilo") << 3 << 3 << "kHz";
        QTest::newRow("4 rounds up to mega") << 4 << 6 << "MHz";
        QTest::newRow("-4 rounds up to milli") << -4 << -3 << "mHz";
        QTest::newRow("-7 rounds up to micro") << -7 << -6 << QStringLiteral("\u00b5Hz");
        QTest::newRow("deca") << 1 << 1 << "daHz";
        QTest::newRow("hecto") << 2 << 2 << "hHz";
        QTest::newRow("none") << 0 << 0 << "Hz";
        QTest::newRow("above the table") << 30 << 24 << "YHz";
        QTest::newRow("below the table") << -30 << -24 << "yHz";
    }

    void unitPowerTakesTheNextPrefix()
    {
        QFETCH(int, requested);
        QFETCH(int, power);
        QFETCH(QString, unit);
        MultimeterValueModel model;
        model.setUnit(QStringLiteral("Hz"));
        model.setUnitPower(requested);
        QCOMPARE(model.unitPower(), power);
        QCOMPARE(model.getCurrentUnit(), unit);
    }

    void precisionIsBounded()
    {
        MultimeterValueModel model;
        model.setPrecision(30);
        QCOMPARE(model.precision(), 24);
        model.setPrecision(-30);
        QCOMPARE(model.precision(), -24);
        QCOMPARE(MultimeterValueModel::checkPrecision(-3), 0);
        QCOMPARE(MultimeterValueModel::checkPrecision(4), 4);
    }

    void rangeCheckHoldsTheLimit()
    {
        MultimeterValueModel model;
        model.setPrecision(-3);
        model.setRange(24, -24);
        model.enableCheckRange(true);

        struct Step
        {
            double input;
            QString text;
            int state;
            bool changed;
        };
        const Step steps[] = {
            {30, "24.000", 1, true},
            {30, "24.000", 1, false}, // no repeated change
            {0, "0.000", 0, true},
            {-24, "-24.000", -1, true}, // a value at the limit counts as outside
            {-23.999, "-23.999", 0, true},
            {24, "24.000", 1, true},
        };
        for (const Step &step : steps) {
            const MultimeterValueModel::ValueChange change = model.setValue(step.input);
            QVERIFY(change.accepted);
            QCOMPARE(model.valueText(), step.text);
            QCOMPARE(model.rangeState(), step.state);
            QCOMPARE(change.rangeStateChanged, step.changed);
        }

        model.enableCheckRange(false);
        const MultimeterValueModel::ValueChange change = model.setValue(30);
        QCOMPARE(model.valueText(), QStringLiteral("30.000"));
        QVERIFY(!change.rangeStateChanged);
    }

    void marksAndHold()
    {
        MultimeterValueModel model;
        model.setPrecision(-2);
        model.setValue(1.5);

        model.setValue(qInf());
        QCOMPARE(model.valueText(), QStringLiteral("\u00b1\u221e  "));
        model.setValue(qQNaN()); // infinity keeps precedence
        QCOMPARE(model.valueText(), QStringLiteral("\u00b1\u221e  "));
        QCOMPARE(model.value(), 1.5); // never reaches the value
        QCOMPARE(model.numberText(), QStringLiteral("\u00b1\u221e"));

        model.setValue(2.0); // a finite value clears both marks
        QVERIFY(!model.showsMark());
        QCOMPARE(model.valueText(), QStringLiteral("2.00"));

        model.setHold(true);
        QVERIFY(!model.setValue(3.0).accepted);
        QCOMPARE(model.valueText(), QStringLiteral("2.00"));
        model.setNaN(); // not held
        QCOMPARE(model.valueText(), QStringLiteral("NaN  "));
        QCOMPARE(model.numberText(), QStringLiteral("NaN"));
        model.setHold(false);
        model.setValue(3.0);
        QCOMPARE(model.valueText(), QStringLiteral("3.00"));
    }

    void extendedDigits()
    {
        MultimeterValueModel model;
        model.setUnit(QStringLiteral("V"));
        model.setUnitPower(-3);
        model.setPrecision(-3);
        model.setValue(0.01234);
        QCOMPARE(model.valueText(), QStringLiteral("12"));
        QCOMPARE(model.getCurrentUnit(), QStringLiteral("mV"));

        model.setExtendedEnabled(true); // two extra digits by default
        QCOMPARE(model.valueText(), QStringLiteral("12.34"));
        QCOMPARE(model.numberText(), QStringLiteral("0.01234"));
        // The side texts keep the plain resolution.
        model.setAccuracyVisible(true);
        QCOMPARE(model.accuracyText(), QStringLiteral("\u00b10 mV"));
    }

    void extremesAndOffset()
    {
        MultimeterValueModel model;
        model.setUnit(QStringLiteral("V"));
        model.setPrecision(-3);
        model.setValue(2);
        model.enableExtreme(true); // seeded with the current value
        for (double v : {3.0, 1.0, 4.0})
            model.setValue(v);
        QCOMPARE(model.extremeMinText(), QStringLiteral("min: 1.000 V"));
        QCOMPARE(model.extremeMaxText(), QStringLiteral("max: 4.000 V"));

        // Offset against the current reading: the display reads zero and
        // the extremes become relative too.
        model.enableOffset(true);
        model.setOffsetBase(model.value());
        QCOMPARE(model.valueText(), QStringLiteral("0.000"));
        QCOMPARE(model.extremeMinText(), QStringLiteral("min: -3.000 V"));
        QCOMPARE(model.extremeMaxText(), QStringLiteral("max: 0.000 V"));
        QCOMPARE(model.offsetBaseText(), QStringLiteral("base: 4.000 V"));
        QCOMPARE(model.numberText(), QStringLiteral("4.000")); // the raw reading

        model.setExtreme(-10, 10); // fixed: tracking pauses
        model.setValue(20);
        QCOMPARE(model.extremeMaxText(), QStringLiteral("max: 6.000 V"));
        model.clearExtreme();
        QCOMPARE(model.extremeMinText(), QString());
        model.setValue(30);
        QCOMPARE(model.extremeMinText(), QStringLiteral("min: 26.000 V"));
        QCOMPARE(model.extremeMaxText(), QStringLiteral("max: 26.000 V"));
    }

    // Extremes enabled before any reading (as at set-up) show nothing
    // rather than a 0 no reading went near; the first value seeds both.
    void extremesWaitForTheFirstValue()
    {
        MultimeterValueModel model;
        model.setUnit(QStringLiteral("V"));
        model.setPrecision(-2);
        model.enableExtreme(true);
        QCOMPARE(model.extremeMinText(), QString());
        QCOMPARE(model.extremeMaxText(), QString());
        model.setNaN();
        model.setValue(std::numeric_limits<double>::infinity());
        QCOMPARE(model.extremeMinText(), QString());
        for (double v : {1.95, 2.05})
            model.setValue(v);
        QCOMPARE(model.extremeMinText(), QStringLiteral("min: 1.95 V"));
        QCOMPARE(model.extremeMaxText(), QStringLiteral("max: 2.05 V"));
    }

    void accuracyText()
    {
        MultimeterValueModel model;
        model.setUnit(QStringLiteral("Hz"));
        model.setUnitPower(3);
        model.setPrecision(-2);
        model.setAccuracy(1, QStringLiteral("50ppm"));
        model.setAccuracyVisible(true);
        model.setValue(1000);
        // 1 Hz plus 50 ppm of 1000 Hz, in kHz to the hundredth of a hertz.
        QCOMPARE(model.accuracyText(), QStringLiteral("\u00b10.00105 kHz"));

        model.setValue(-1000); // the relative part is a magnitude
        QCOMPARE(model.accuracyText(), QStringLiteral("\u00b10.00105 kHz"));
        model.setAccuracy(-2, 0.0);
        QCOMPARE(model.accuracyText(), QStringLiteral("\u00b10.00200 kHz"));
    }

    void relativeAccuracyText_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<QString>("accuracy");

        // Reading 1e6 V, previous relative accuracy 1 %.
        QTest::newRow("ppm") << "50ppm" << "\u00b150.0000 V";
        QTest::newRow("ppb") << "10ppb" << "\u00b10.0100 V";
        QTest::newRow("percent") << "2%" << "\u00b120000.0000 V";
        QTest::newRow("negative") << "-2%" << "\u00b120000.0000 V";
        QTest::newRow("spaces") << " 5 ppm" << "\u00b15.0000 V";
        QTest::newRow("not a number") << "abc%" << "\u00b10.0000 V";
        QTest::newRow("unit without a number") << "ppm" << "\u00b110000.0000 V";
        QTest::newRow("no unit") << "12" << "\u00b110000.0000 V";
        QTest::newRow("empty") << "" << "\u00b110000.0000 V";
    }

    void relativeAccuracyText()
    {
        QFETCH(QString, relative);
        QFETCH(QString, accuracy);
        MultimeterValueModel model;
        model.setUnit(QStringLiteral("V"));
        model.setPrecision(-4);
        model.setAccuracy(0, 1.0);
        model.setAccuracyVisible(true);
        model.setValue(1e6);
        model.setAccuracy(0, relative);
        QCOMPARE(model.accuracyText(), accuracy);
    }

    void offsetBaseEditorText_data()
    {
        QTest::addColumn<int>("unitPower");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("base");

        QTest::newRow("base units") << 0 << "1.5" << 1.5;
        QTest::newRow("in the prefix") << -3 << "250" << 0.25;
        QTest::newRow("comma separator") << -3 << "2,5" << 0.0025;
        QTest::newRow("not a number") << 3 << "x" << 0.0;
        QTest::newRow("beyond the range") << 0 << "100" << 24.0;
        QTest::newRow("below the range") << 0 << "-1e9" << -24.0;
    }

    void offsetBaseEditorText()
    {
        QFETCH(int, unitPower);
        QFETCH(QString, text);
        QFETCH(double, base);
        MultimeterValueModel model;
        model.setUnitPower(unitPower);
        model.setRange(-24, 24);
        QCOMPARE(model.parseOffsetBase(text), base);
    }

    void automaticAlarmLevel_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("level");

        QTest::newRow("inside") << 0.0 << 0;
        QTest::newRow("at the warning limit") << 5.0 << 0;
        QTest::newRow("warning high") << 6.0 << 1;
        QTest::newRow("warning low") << -6.0 << 1;
        QTest::newRow("critical high") << 11.0 << 2;
        QTest::newRow("critical low") << -11.0 << 2;
    }

    void automaticAlarmLevel()
    {
        QFETCH(double, value);
        QFETCH(int, level);
        MultimeterValueModel model;
        model.setAlarm(-10, -5, 5, 10);
        model.setValue(value);
        QCOMPARE(model.alarmLevel(), 0); // off until enabled
        model.enableAlarm(true);
        model.setValue(value);
        QCOMPARE(model.alarmLevel(), level);
    }

    void manualAlarmLevel()
    {
        MultimeterValueModel model;
        model.setAlarm(-10, -5, 5, 10);
        model.enableAlarm(true);
        QVERIFY(model.setAlarmLevel(7)); // unknown levels become 3
        QCOMPARE(model.alarmLevel(), 3);
        QVERIFY(!model.setAlarmLevel(9));
        model.setValue(20); // manual level pauses the evaluation
        QCOMPARE(model.alarmLevel(), 3);
        QVERIFY(model.setAlarmLevel(-1));
        QVERIFY(!model.alarmEnabled());
        model.enableAlarm(true); // back to automatic
        model.setValue(20);
        QCOMPARE(model.alarmLevel(), 2);
        model.enableAlarm(false);
        QCOMPARE(model.alarmLevel(), -1);
    }
};

VESK_TEST_MAIN(TestMultimeterValueModel)
#include "tst_multimetervaluemodel.moc"
