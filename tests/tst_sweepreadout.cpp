// Sweep start and end positions in the units the sweep panel shows them in.
#include "testmain.h"

#include "sweepreadout.h"

Q_DECLARE_METATYPE(SweepReadout::Quantity)

class TestSweepReadout : public QObject
{
    Q_OBJECT

private slots:
    void readout_data()
    {
        using Q = SweepReadout::Quantity;
        QTest::addColumn<SweepReadout::Quantity>("quantity");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("unit");
        QTest::newRow("frequency 0: 1 Hz") << Q::Frequency << 0 << "1" << "Hz";
        QTest::newRow("frequency 152: below a kilohertz") << Q::Frequency << 152 << "956" << "Hz";
        QTest::newRow("frequency 153: 10^3") << Q::Frequency << 153 << "1.0" << "kHz";
        QTest::newRow("frequency 178: whole kilohertz") << Q::Frequency << 178 << "3.0" << "kHz";
        QTest::newRow("frequency 255: 100 kHz") << Q::Frequency << 255 << "100.0" << "kHz";
        QTest::newRow("amplitude 0") << Q::Amplitude << 0 << "0.00" << "V";
        QTest::newRow("amplitude 255") << Q::Amplitude << 255 << "2.28" << "V";
        QTest::newRow("offset 0") << Q::Offset << 0 << "-2.28" << "V";
        QTest::newRow("offset 128: just above zero") << Q::Offset << 128 << "0.01" << "V";
        QTest::newRow("offset 255") << Q::Offset << 255 << "2.28" << "V";
        QTest::newRow("duty 0: raised to 1 %") << Q::DutyCycle << 0 << "1.0" << "%";
        QTest::newRow("duty 128") << Q::DutyCycle << 128 << "50.2" << "%";
        QTest::newRow("duty 255") << Q::DutyCycle << 255 << "100.0" << "%";
    }
    void readout()
    {
        QFETCH(SweepReadout::Quantity, quantity);
        QFETCH(int, position);
        const SweepReadout readout = SweepReadout::of(quantity, position);
        QTEST(QString::number(readout.value, 'f', readout.decimals), "shown");
        QTEST(readout.unit, "unit");
    }
};

VESK_TEST_MAIN(TestSweepReadout)
#include "tst_sweepreadout.moc"
