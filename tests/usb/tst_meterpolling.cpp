// The meter tab against the simulated instrument: while a meter page is
// shown the window polls the instrument's meter reply and its displays read
// CH2's 1 kHz, 1 V sine, CH1's constant generator level and the counter's
// view of the generator; leaving the tab ends the polling, and an unplug
// while polling takes the lost-link path.
#include "usbtestmain.h"

#include "logcapture.h"
#include "usbwindowtest.h"
#include "protocol.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "multimeterdisplay.h"

#include <QClipboard>
#include <cmath>
#include <memory>

namespace {

constexpr int connectTimeoutMs = 15000;
// Several polls, also on a loaded machine.
constexpr int readingTimeoutMs = 10000;
constexpr int meterTab = 1;
constexpr int acPage = 0;
constexpr int dcPage = 1;
constexpr int counterPage = 2;
constexpr int gain400mV = 4;     // 0.4 V/div
constexpr int timeBase256us = 5; // four periods of 1 kHz in 256 samples
// One raw unit at 0.4 V/div, and the display's rounding to 0.01 V.
constexpr double acTolerance = 0.4 / 40.96 + 0.005;
// One raw unit at the 2.4 V range (0.8 V/div) and the rounding to 0.001 V.
constexpr double dcTolerance = 0.8 / 40.96 + 0.0005;
constexpr int generatorHz = 1000;

// The reading as the display holds it; not-a-number when it shows no number.
double shown(MultimeterDisplay *display)
{
    QMetaObject::invokeMethod(display, "copyAsDouble", Qt::DirectConnection);
    bool number = false;
    const double value = QApplication::clipboard()->text().trimmed().toDouble(&number);
    return number ? value : qQNaN();
}

bool near(MultimeterDisplay *display, double expected, double tolerance)
{
    return std::fabs(shown(display) - expected) <= tolerance;
}

} // namespace

class TestMeterPolling : public UsbWindowTest
{
    Q_OBJECT

private:
    Ui_VeskInterface *ui() const { return window->ui; }

    void showMeterPage(int page)
    {
        ui()->mmTabWidget->setCurrentIndex(page);
        ui()->mainTabWidget->setCurrentIndex(meterTab);
    }

    size_t meterReads() const
    {
        size_t reads = 0;
        for (const WireRecord &record : instrument->controlRequests(REQ_READ))
            reads += record.index == READ_METER;
        return reads;
    }

    // The window has read the meter `polls` more times; the event loop runs
    // meanwhile, and a poll is done with its reply when it is counted.
    bool morePolls(size_t polls)
    {
        const size_t target = meterReads() + polls;
        return QTest::qWaitFor([&] { return meterReads() >= target; }, readingTimeoutMs);
    }

    void setGeneratorFrequency(int hertz)
    {
        const long long centiHz = 100LL * hertz;
        window->libUsbDevice.controlWriteTransfer(REQ_SET_AWG_FREQUENCY, centiHz & 0xFFFF, centiHz >> 16);
    }

private slots:
    void init()
    {
        QVERIFY(plugFreshInstrument());
        window.reset(new VeskInterface);
        QTRY_VERIFY_WITH_TIMEOUT(window->libUsbDevice.connected, connectTimeoutMs);
        // A fresh store starts on the oscilloscope tab: nothing is polled.
        QCOMPARE(ui()->mainTabWidget->currentIndex(), 0);
        QVERIFY(!window->meterTimer.isActive());
    }

    // CH2's sine on the AC page; CH1's group is off, so its displays are set
    // to 0 on every poll instead of keeping what they showed.
    void acPageReadsTheSine()
    {
        ui()->ch2GainSlider->setValue(gain400mV);
        ui()->samplingSlider->setValue(timeBase256us);
        ui()->groupBoxCH1AC->setChecked(false);
        ui()->groupBoxCH2AC->setChecked(true);
        MultimeterDisplay *ch1[] = {ui()->multimeterdisplayCh1Vpp, ui()->multimeterdisplayCh1Max,
                                    ui()->multimeterdisplayCh1Min, ui()->multimeterdisplayCh1RMS,
                                    ui()->multimeterdisplayCh1Average, ui()->multimeterdisplayCh1Frequency};
        for (MultimeterDisplay *display : ch1)
            display->setValue(1.5);

        showMeterPage(acPage);
        QCOMPARE(window->meterTimer.interval(), 400);
        QCOMPARE(instrument->configurationValue(CFG_MAIN_MODE), int(MODE_METER_AC));

        QTRY_VERIFY_WITH_TIMEOUT(near(ui()->multimeterdisplayCh2Frequency, 1000, 10), readingTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(near(ui()->multimeterdisplayCh2Vpp, 2.0, 2 * acTolerance), readingTimeoutMs);
        QVERIFY(near(ui()->multimeterdisplayCh2Max, 1.0, acTolerance));
        QVERIFY(near(ui()->multimeterdisplayCh2Min, -1.0, acTolerance));
        QVERIFY(near(ui()->multimeterdisplayCh2RMS, M_SQRT1_2, 2 * acTolerance));
        QVERIFY(near(ui()->multimeterdisplayCh2Average, 0, acTolerance));
        for (MultimeterDisplay *display : ch1)
            QCOMPARE(shown(display), 0.0);
    }

    // CH1 on the 2.4 V range carries the generator's constant level; CH2's
    // sine averages out. A group switched off shows 0.
    void dcPageReadsTheMeans()
    {
        ui()->toolButtonCh1ADC2V4->click();
        QCOMPARE(instrument->configurationValue(CFG_CH1_GAIN), 3);
        QCOMPARE(instrument->configurationValue(CFG_CH1_CONTROL) & CHANNEL_AC, 0);
        QVERIFY(instrument->configurationValue(CFG_DAC_CONTROL));
        // 1 V of the generator's ±2 V full scale.
        window->instrumentCommands.sendMainConfiguration(CFG_WAVE_TYPE, WAVE_CONSTANT);
        window->instrumentCommands.sendMainConfiguration(CFG_WAVE_CONSTANT_LEVEL, WAVE_CONSTANT_LIMIT / 2);
        ui()->groupBoxCH1DC->setChecked(true);
        ui()->groupBoxCH2DC->setChecked(true);

        showMeterPage(dcPage);
        QCOMPARE(window->meterTimer.interval(), 400);
        QCOMPARE(instrument->configurationValue(CFG_MAIN_MODE), int(MODE_METER_DC));
        QTRY_VERIFY_WITH_TIMEOUT(near(ui()->multimeterdisplayCh1DC, 1.0, dcTolerance), readingTimeoutMs);
        QVERIFY(std::fabs(shown(ui()->multimeterdisplayCh2DC)) <= acTolerance);

        ui()->groupBoxCH1DC->setChecked(false);
        QTRY_COMPARE_WITH_TIMEOUT(shown(ui()->multimeterdisplayCh1DC), 0.0, readingTimeoutMs);
    }

    // The counter reads the generator through the EXT input: its frequency
    // in Hz, or its period and high time in ticks of the 32 MHz clock.
    void counterReadsTheGenerator_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("instrumentMode");
        QTest::addColumn<bool>("periodMode");
        QTest::newRow("frequency") << "radioFreq" << int(MODE_COUNTER_FREQUENCY) << false;
        QTest::newRow("period") << "radioPeriod" << int(MODE_COUNTER_PERIOD) << true;
    }
    void counterReadsTheGenerator()
    {
        QFETCH(QString, mode);
        QFETCH(int, instrumentMode);
        QFETCH(bool, periodMode);
        setGeneratorFrequency(generatorHz);
        showMeterPage(counterPage);
        ui()->fcR10->click();
        QCOMPARE(instrument->configurationValue(CFG_TRIGGER_SOURCE), 10);
        window->findChild<QRadioButton *>(mode)->click();
        QCOMPARE(instrument->configurationValue(CFG_MAIN_MODE), instrumentMode);
        QVERIFY(window->meterTimer.isActive());
        QCOMPARE(window->meterTimer.interval(), 400);
        QVERIFY(!ui()->groupBoxSourceGate->isEnabled());
        QVERIFY(!ui()->pushButtonCounterStart->isEnabled());
        QVERIFY(ui()->multimeterdisplayCounter->isHidden());
        QVERIFY(!ui()->multimeterdisplayFrequencyValue->isHidden());
        QVERIFY(!ui()->multimeterdisplayPeriodValue->isHidden());
        QCOMPARE(ui()->multimeterdisplayDutyValue->isHidden(), !periodMode);
        QCOMPARE(ui()->multimeterdisplayDutyValue_s->isHidden(), !periodMode);

        // The generator's frequency is what a 32 MHz clock divides down to.
        QTRY_VERIFY_WITH_TIMEOUT(near(ui()->multimeterdisplayFrequencyValue, generatorHz, 0.01 * generatorHz),
                                 readingTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(near(ui()->multimeterdisplayPeriodValue, 1e-3, 1e-5), readingTimeoutMs);
        if (periodMode) {
            QVERIFY(near(ui()->multimeterdisplayDutyValue, 50, 1));
            QVERIFY(near(ui()->multimeterdisplayDutyValue_s, 0.5e-3, 1e-5));
        }
    }

    // Counting pulses polls only between Start and Stop; the count since
    // Start grows and is held at Stop, and polling goes on to show it.
    void pulseCountingPollsFromStart()
    {
        setGeneratorFrequency(generatorHz);
        showMeterPage(counterPage);
        ui()->fcR10->click();
        ui()->multimeterdisplayCounter->setValue(7);
        ui()->radioPulse->click();
        QCOMPARE(instrument->configurationValue(CFG_MAIN_MODE), int(MODE_COUNTER_PULSES));
        QVERIFY(!window->meterTimer.isActive());
        QVERIFY(!ui()->multimeterdisplayCounter->isHidden());
        QVERIFY(ui()->multimeterdisplayFrequencyValue->isHidden());
        QVERIFY(ui()->pushButtonCounterStart->isEnabled());
        QVERIFY(!ui()->pushButtonCounteStop->isEnabled());
        QCOMPARE(shown(ui()->multimeterdisplayCounter), 0.0);
        const size_t readsBefore = meterReads();
        QTest::qWait(1000);
        QCOMPARE(meterReads(), readsBefore);

        ui()->pushButtonCounterStart->click();
        QVERIFY(instrument->counterRunning());
        QCOMPARE(window->meterTimer.interval(), 200);
        QVERIFY(ui()->pushButtonCounteStop->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(shown(ui()->multimeterdisplayCounter) >= 100, readingTimeoutMs);

        ui()->pushButtonCounteStop->click();
        QVERIFY(!instrument->counterRunning());
        QVERIFY(window->meterTimer.isActive());
        QCOMPARE(window->meterTimer.interval(), 100);
        QVERIFY(!ui()->pushButtonCounteStop->isEnabled());
        // The held count, polled again after the stop.
        QVERIFY(morePolls(2));
        const double held = shown(ui()->multimeterdisplayCounter);
        QVERIFY(morePolls(2));
        QCOMPARE(shown(ui()->multimeterdisplayCounter), held);
    }

    // Replies a byte short are no reply: the displays keep what they show,
    // the link stays up, and a run of them is warned about once rather than
    // at the polling rate.
    void shortRepliesAreRejected()
    {
        ui()->ch2GainSlider->setValue(gain400mV);
        ui()->samplingSlider->setValue(timeBase256us);
        ui()->groupBoxCH2AC->setChecked(true);
        showMeterPage(acPage);
        QTRY_VERIFY_WITH_TIMEOUT(near(ui()->multimeterdisplayCh2Vpp, 2.0, 2 * acTolerance), readingTimeoutMs);

        LogCapture log;
        instrument->setMeterReplyLength(REPLY_METER_LENGTH - 1);
        QVERIFY(morePolls(1));
        ui()->multimeterdisplayCh2Vpp->setValue(3.0);
        QVERIFY(morePolls(3));
        QCOMPARE(shown(ui()->multimeterdisplayCh2Vpp), 3.0);
        QVERIFY(window->libUsbDevice.connected);
        QCOMPARE(log.count(QStringLiteral("Meter, data too short")), 1);

        instrument->setMeterReplyLength(REPLY_METER_LENGTH);
        QTRY_VERIFY_WITH_TIMEOUT(near(ui()->multimeterdisplayCh2Vpp, 2.0, 2 * acTolerance), readingTimeoutMs);
        QCOMPARE(log.messages().filter(QStringLiteral("Meter, replies again after")).size(), 1);
        QCOMPARE(log.count(QStringLiteral("Meter, data too short")), 1);
    }

    void leavingTheMeterTabEndsPolling()
    {
        showMeterPage(dcPage);
        QVERIFY(morePolls(1));
        ui()->mainTabWidget->setCurrentIndex(0);
        QVERIFY(!window->meterTimer.isActive());
        QCOMPARE(instrument->configurationValue(CFG_MAIN_MODE), int(MODE_SCOPE));
        const size_t readsAfter = meterReads();
        QTest::qWait(1500);
        QCOMPARE(meterReads(), readsAfter);
    }

    // The instrument goes away between polls: the window drops the link
    // without a crash, warns about the failed read at most once, and keeps
    // the last readings rather than showing the empty reply.
    void unplugWhilePolling()
    {
        ui()->ch2GainSlider->setValue(gain400mV);
        ui()->samplingSlider->setValue(timeBase256us);
        ui()->groupBoxCH2AC->setChecked(true);
        showMeterPage(acPage);
        QTRY_VERIFY_WITH_TIMEOUT(near(ui()->multimeterdisplayCh2Vpp, 2.0, 2 * acTolerance), readingTimeoutMs);
        const double vpp = shown(ui()->multimeterdisplayCh2Vpp);

        LogCapture log;
        instrument->unplug();
        QTRY_VERIFY_WITH_TIMEOUT(!window->libUsbDevice.connected, readingTimeoutMs);
        QCOMPARE(ui()->connectButton->text(), QStringLiteral("Connect"));
        QTest::qWait(1200);
        QVERIFY(log.count(QStringLiteral("Meter, data too short")) <= 1);
        QCOMPARE(shown(ui()->multimeterdisplayCh2Vpp), vpp);
    }
};

VESK_USB_TEST_MAIN(TestMeterPolling)
#include "tst_meterpolling.moc"
