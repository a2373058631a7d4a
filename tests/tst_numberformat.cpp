#include "testmain.h"
#include "numberformat.h"

#include <cmath>
#include <limits>

using namespace NumberFormat;

class TestNumberFormat : public QObject
{
    Q_OBJECT

private slots:
    void digits_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<double>("number");
        QTest::addColumn<QString>("expected");
        QTest::newRow("4: negative keeps no blank") << "4" << -5.0 << "-5.000";
        QTest::newRow("4: positive has sign blank") << "4" << 5.0 << " 5.000";
        QTest::newRow("4: zero") << "4" << 0.0 << " 0.000";
        QTest::newRow("4: 1000 inclusive") << "4" << 1000.0 << " 1000";
        QTest::newRow("4: -1000 inclusive") << "4" << -1000.0 << "-1000";
        QTest::newRow("4: 99.5") << "4" << 99.5 << " 99.50";
        QTest::newRow("4: decimals chosen before rounding") << "4" << 999.96 << " 1000.0";
        QTest::newRow("4: NaN takes three decimals") << "4" << std::nan("") << " nan";
        QTest::newRow("3: 100 inclusive") << "3" << 100.0 << " 100";
        QTest::newRow("3: 9.999 rounds up with 2 decimals") << "3" << 9.999 << " 10.00";
        QTest::newRow("3: -12.34") << "3" << -12.34 << "-12.3";
        QTest::newRow("p2: pi") << "p2" << 3.14159 << " 3.14";
        QTest::newRow("p0: -pi") << "p0" << -3.14159 << "-3";
    }
    void digits()
    {
        QFETCH(QString, function);
        QFETCH(double, number);
        QFETCH(QString, expected);
        QString actual;
        if (function == "4")
            actual = get4Digits(number);
        else if (function == "3")
            actual = get3Digits(number);
        else
            actual = getDigitsPrecision(number, function.mid(1).toInt());
        QCOMPARE(actual, expected);
    }

    void leadingZeros_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zeros before digits") << "0012" << "12";
        QTest::newRow("keeps zero before point") << "00.5" << "0.5";
        QTest::newRow("keeps zero before comma") << "00,5" << "0,5";
        QTest::newRow("already short") << "0.5" << "0.5";
        QTest::newRow("ten") << "10" << "10";
        QTest::newRow("single char") << "7" << "7";
        QTest::newRow("all zeros kept") << "000" << "000";
        QTest::newRow("empty") << "" << "";
    }
    void leadingZeros()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(removeTrailingZeros(text), expected);
    }

    void printableBytes()
    {
        const unsigned char reply[] = {' ', ' ', 'A', 'B', 0x00, 'C', ' ', ' '};
        QCOMPARE(getStringFromUnsignedChar(reply, 8), QString("ABC"));
        const unsigned char inner[] = {'A', ' ', 'B', '\r', '\n', 0xB5};
        QCOMPARE(getStringFromUnsignedChar(inner, 6), QString("A B") + QChar(0xB5));
        QCOMPARE(getStringFromUnsignedChar(reply, 0), QString());
        QCOMPARE(getStringFromUnsignedChar(reply, -3), QString());
    }

    void clampsAndRounding()
    {
        QCOMPARE(dataValueRangeTrunk(7, 10, 5), 5);   // upper limit tested first
        QCOMPARE(dataValueRangeTrunk(-4, 0, 10), 0);
        QCOMPARE(dataValueRangeTrunk(4, 0, 10), 4);
        QCOMPARE(dataValueRangeTrunk64(Q_INT64_C(1) << 40, 48, 12500000), 12500000);
        QCOMPARE(dataValueRangeTrunk64(-(Q_INT64_C(1) << 40), 48, 12500000), 48);
        QCOMPARE(mathRoundTo(17.5, 5), 20);
        QCOMPARE(mathRoundTo(-12.5, 5), -15);
        QCOMPARE(mathRoundTo(12.4, 5), 10);
    }

    // Huge and non-finite values are held to the int range, never converted out of it.
    void saturation()
    {
        const int maxInt = std::numeric_limits<int>::max();
        const int minInt = std::numeric_limits<int>::min();
        QCOMPARE(saturatedInt(3e9), maxInt);
        QCOMPARE(saturatedInt(-1e300), minInt);
        QCOMPARE(saturatedInt(std::numeric_limits<double>::infinity()), maxInt);
        QCOMPARE(saturatedInt(std::nan("")), 0);
        QCOMPARE(saturatedInt(-7.9), -7);
        QCOMPARE(mathRoundTo(1e300, 5), maxInt);
        QCOMPARE(mathRoundTo(-3e9, 10), minInt);
        QCOMPARE(mapRange(maxInt, 1, 0, 0, 10), maxInt);
        QCOMPARE(mapRange(minInt, maxInt, 0, 0, maxInt), minInt);
        QCOMPARE(mapRange(maxInt, maxInt, minInt, minInt, maxInt), maxInt);
    }

    void mapping()
    {
        QCOMPARE(mapRange(1, 3, 0, 0, 10), 3);
        QCOMPARE(mapRange(0, 3, 0, 0, 10), 0);
        QCOMPARE(mapRange(3, 3, 0, 0, 10), 10);
        QCOMPARE(mapRange(-1, 3, 0, 0, 10), -3);   // extrapolates, truncated toward zero
        QCOMPARE(mapRange(100000, 200000, 0, 0, 100000), 50000);   // no 32-bit overflow
        QCOMPARE(mapRangeF(1, 3, 0, 0, 10), 10.0 / 3);
    }
};

VESK_TEST_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
