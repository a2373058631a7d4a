// The channel controls' view: gain titles and the ADC range buttons,
// coupling, the labels under the plot from a frame's control bytes, the
// zero markers and cursor handles that follow the position sliders, and the
// gain calibration panel.
#include "testmain.h"
#include "scopeframefeeder.h"
#include "logcapture.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "channelcaptions.h"
#include "protocol.h"
#include "scopevalues.h"

namespace {

// A frame of one block per channel whose records carry the given control
// bytes and gains, as the instrument reports what it applied.
QByteArray frameWithControls(int ch1Control, int ch2Control, int gain)
{
    ScopeFrameFeeder::FrameRecipe recipe;
    recipe.ch2 = true;
    recipe.ch1Sample = recipe.ch2Sample = [](int) { return 0; };
    channela_t record = ScopeFrame::defaultRecord();
    record.gain = uint8_t(gain);
    record.control = uint8_t(ch1Control);
    recipe.ch1Record = record;
    record.control = uint8_t(ch2Control);
    recipe.ch2Record = record;
    return ScopeFrameFeeder::makeFrame(recipe);
}

void showFrame(VeskInterface &w, const QByteArray &bytes)
{
    w.mainMode = 0;
    w.ui->checkBoxCH1Trace->setChecked(true);
    w.ui->checkBoxCH2Trace->setChecked(true);
    w.ui->checkBoxCHDTrace->setChecked(false);
    const QSignalBlocker blocker(w.ui->comboBoxADCBuffer);
    w.ui->comboBoxADCBuffer->setCurrentIndex(0);
    ScopeFrameFeeder::deliver(w, bytes);
    ScopeFrameFeeder::tick(w);
}

const QString plusMinus(QChar(0x00B1));

// Pixel y of the line a sideways handle hangs out: its tip.
double lineY(QCPItemPixmap *handle)
{
    return handle->right->pixelPosition().y();
}

// Within a pixel: the handle's rectangle is whole pixels.
bool nearPixel(double actual, double expected)
{
    return qAbs(actual - expected) <= 1;
}

} // namespace

class TestScopeChannels : public QObject
{
    Q_OBJECT

private slots:
    void channelLabel_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("own");
        QTest::addColumn<int>("other");
        QTest::addColumn<int>("gain");
        QTest::addColumn<QString>("label");
        const int inv = CHANNEL_INVERT, math = CHANNEL_MATH_ON, sub = CHANNEL_MATH_SUBTRACT,
                  mul = CHANNEL_MATH_MULTIPLY, on = CHANNEL_TRACE_ON | CHANNEL_AC;
        QTest::newRow("plain") << 1 << on << 0 << 0 << " CH1 = 8V/div";
        QTest::newRow("inverted") << 1 << inv << 0 << 3 << "-CH1 = 0.8V/div";
        QTest::newRow("minus an inverted CH2 adds it") << 1 << (inv | math | sub) << inv << 3
                                                       << "-CH1 + CH2 = 0.8V/div";
        QTest::newRow("subtract") << 1 << (math | sub) << 0 << 7 << " CH1 - CH2 = 50mV/div";
        QTest::newRow("multiply") << 1 << (math | mul) << 0 << 9 << " CH1 * CH2 = 12.5mV/div";
        QTest::newRow("multiply by an inverted CH2") << 1 << (math | mul) << inv << 1 << " CH1 * -CH2 = 4V/div";
        QTest::newRow("math kind without math on") << 1 << sub << inv << 2 << " CH1 = 2V/div";
        QTest::newRow("CH2 minus CH1") << 2 << (math | sub) << 0 << 6 << " CH2 - CH1 = 0.1V/div";
        QTest::newRow("CH2 times inverted CH1") << 2 << (inv | math | mul) << inv << 5
                                                << "-CH2 * -CH1 = 0.2V/div";
        QTest::newRow("no gain") << 2 << 0 << 0 << 10 << " CH2 = ----";
        QTest::newRow("gain past the table") << 2 << 0 << 0 << 99 << " CH2 = ----";
    }
    void channelLabel()
    {
        QFETCH(int, channel);
        QFETCH(int, own);
        QFETCH(int, other);
        QFETCH(int, gain);
        QTEST(ChannelCaptions::channelLabel(channel, own, other, gain), "label");
    }

    // The labels under the plot follow the control bytes the instrument
    // reports in each frame, with the gain the window asks for.
    void labelsUnderThePlotFollowTheFrame()
    {
        VeskInterface w;
        w.ui->ch1GainSlider->setValue(3);
        w.ui->ch2GainSlider->setValue(8);
        const QByteArray bytes = frameWithControls(CHANNEL_INVERT | CHANNEL_MATH_ON | CHANNEL_MATH_SUBTRACT,
                                                   CHANNEL_INVERT, 0);
        showFrame(w, bytes);
        QCOMPARE(w.ui->ch1Label->text(), QStringLiteral("-CH1 + CH2 = 0.8V/div"));
        QCOMPARE(w.ui->ch2Label->text(), QStringLiteral("-CH2 = 25mV/div"));
    }

    // Gain slider and the meter page's range buttons: the gain, which range
    // button is lit, and the titles, for each channel.
    void gainAndRangeButtons_data()
    {
        QTest::addColumn<int>("channel");
        QTest::addColumn<bool>("acBefore");
        QTest::addColumn<QString>("action"); // "slider N", "24V", "2.4V"
        QTest::addColumn<int>("gain");
        QTest::addColumn<bool>("lit24V");
        QTest::addColumn<bool>("lit2V4");
        QTest::addColumn<QString>("title");

        const QString dc = QStringLiteral(", AC/DC ");
        QTest::newRow("CH1 slider to 3") << 1 << false << "slider 3" << 3 << false << true
                                         << "Channel 1  Gain (" + plusMinus + "2.4V)" + dc;
        QTest::newRow("CH1 slider to 5") << 1 << false << "slider 5" << 5 << false << false
                                         << "Channel 1  Gain (" + plusMinus + "0.6V)" + dc;
        QTest::newRow("CH1 slider to 0 on AC") << 1 << true << "slider 0" << 0 << false << false
                                               << "Channel 1  Gain (" + plusMinus + "24V), AC ";
        QTest::newRow("CH1 24V button from AC") << 1 << true << "24V" << 0 << true << false
                                                << "Channel 1  Gain (" + plusMinus + "24V)" + dc;
        QTest::newRow("CH1 2.4V button") << 1 << false << "2.4V" << 3 << false << true
                                         << "Channel 1  Gain (" + plusMinus + "2.4V)" + dc;
        QTest::newRow("CH2 slider to 9") << 2 << false << "slider 9" << 9 << false << false
                                         << "Channel 2  Gain (" + plusMinus + "37mV)" + dc;
        QTest::newRow("CH2 2.4V button from AC") << 2 << true << "2.4V" << 3 << false << true
                                                 << "Channel 2  Gain (" + plusMinus + "2.4V)" + dc;
        QTest::newRow("CH2 24V button") << 2 << false << "24V" << 0 << true << false
                                        << "Channel 2  Gain (" + plusMinus + "24V)" + dc;
    }
    void gainAndRangeButtons()
    {
        QFETCH(int, channel);
        QFETCH(bool, acBefore);
        QFETCH(QString, action);
        VeskInterface w;
        Ui_VeskInterface *ui = w.ui;
        QSlider *slider = channel == 1 ? ui->ch1GainSlider : ui->ch2GainSlider;
        QCheckBox *ac = channel == 1 ? ui->checkBoxCH1ACDC : ui->checkBoxCH2ACDC;
        QToolButton *range24V = channel == 1 ? ui->toolButtonCh1ADC24V : ui->toolButtonCh2ADC24V;
        QToolButton *range2V4 = channel == 1 ? ui->toolButtonCh1ADC2V4 : ui->toolButtonCh2ADC2V4;
        // The meter page's range buttons work while its channel box is on.
        (channel == 1 ? ui->groupBoxCH1DC : ui->groupBoxCH2DC)->setChecked(true);
        // Start away from both ranges: neither button lit.
        slider->setValue(6);
        if (ac->isChecked() != acBefore)
            ac->click();

        if (action.startsWith(QLatin1String("slider")))
            slider->setValue(action.section(QLatin1Char(' '), 1).toInt());
        else
            (action == QLatin1String("24V") ? range24V : range2V4)->click();

        QTEST(slider->value(), "gain");
        QTEST(range24V->isChecked(), "lit24V");
        QTEST(range2V4->isChecked(), "lit2V4");
        QFETCH(QString, title);
        QCOMPARE((channel == 1 ? ui->groupBoxCH1AC : ui->groupBoxCH2AC)->title(), title);
        QCOMPARE((channel == 1 ? ui->groupBoxCH1DC : ui->groupBoxCH2DC)->title(), title);
        QFETCH(int, gain);
        QCOMPARE((channel == 1 ? ui->labelCH1Gain : ui->labelCH2Gain)->text(),
                 ScopeValues::gainBoxTitles().at(gain));
    }

    void couplingRetitlesAndUnlightsTheRange()
    {
        VeskInterface w;
        w.ui->ch1GainSlider->setValue(1);
        w.ui->ch1GainSlider->setValue(0);
        if (w.ui->checkBoxCH1ACDC->isChecked())
            w.ui->checkBoxCH1ACDC->click();
        QVERIFY(w.ui->toolButtonCh1ADC24V->isChecked());
        w.ui->checkBoxCH1ACDC->click();
        QVERIFY(w.ui->groupBoxCH1DC->title().endsWith(QLatin1String(", AC ")));
        QVERIFY(!w.ui->toolButtonCh1ADC24V->isChecked());
        QVERIFY(!w.ui->toolButtonCh1ADC2V4->isChecked());
        w.ui->checkBoxCH1ACDC->click();
        QVERIFY(w.ui->groupBoxCH1AC->title().endsWith(QLatin1String(", AC/DC ")));
        QVERIFY(w.ui->toolButtonCh1ADC24V->isChecked());
    }

    // Each zero marker sits at its trace's zero line; the horizontal cursor
    // handles move with the channel they measure and with no other.
    void positionsMoveZeroMarkersAndHandles()
    {
        VeskInterface w;
        w.resize(1200, 800);
        QCPAxis *y = w.ui->plotterWidget->yAxis;
        w.ui->plotterWidget->yAxis->setRange(0, 1280);
        w.ui->comboBoxScopeCursorsChannel->setCurrentIndex(0);

        w.ui->ch1PositionSlider->setValue(200);
        w.ui->ch2PositionSlider->setValue(-300);
        w.ui->chdPositionSlider->setValue(-500);
        QCOMPARE(w.ch1Position, 840);
        QCOMPARE(w.ch2Position, 340);
        QCOMPARE(w.chdPosition, 140);
        QCOMPARE(w.ch1ZeroHead->topLeft->pixelPosition().x(), 2.0);
        QVERIFY(nearPixel(lineY(w.ch1ZeroHead), y->coordToPixel(840)));
        QVERIFY(nearPixel(lineY(w.ch2ZeroHead), y->coordToPixel(340)));
        QVERIFY(nearPixel(lineY(w.chdZeroHead), y->coordToPixel(140)));
        QCOMPARE(w.triggerCoords[0].channelOffset, 200);
        QCOMPARE(w.triggerCoords[1].channelOffset, -300);
        QCOMPARE(w.triggerCoords[2].channelOffset, -500);
        QVERIFY(nearPixel(lineY(w.hCursorAHandle), y->coordToPixel(840 + w.hCursorCh1AValue)));
        QVERIFY(nearPixel(lineY(w.hCursorBHandle), y->coordToPixel(840 + w.hCursorCh1BValue)));

        // CH2's slider leaves the handles measuring CH1 where they are.
        const double before = lineY(w.hCursorAHandle);
        w.ui->ch2PositionSlider->setValue(100);
        QCOMPARE(lineY(w.hCursorAHandle), before);

        w.ui->comboBoxScopeCursorsChannel->setCurrentIndex(1);
        QVERIFY(nearPixel(lineY(w.hCursorAHandle), y->coordToPixel(740 + w.hCursorCh2AValue)));
        w.ui->ch2PositionSlider->setValue(0);
        QVERIFY(nearPixel(lineY(w.hCursorBHandle), y->coordToPixel(640 + w.hCursorCh2BValue)));
    }

    void logicSizeGoesToTheTriggerRecord()
    {
        VeskInterface w;
        w.ui->chdSizeSlider->setValue(30);
        QCOMPARE(w.triggerCoords[2].channelSize, 30);
    }

    // Without an instrument a trace switch changes only the window's own
    // box: the meter page keeps its state and nothing is reported.
    void traceSwitchWithoutInstrument()
    {
        VeskInterface w;
        const bool meterBox = w.ui->groupBoxCH2AC->isChecked();
        LogCapture log;
        w.ui->checkBoxCH2Trace->click();
        QCOMPARE(w.ui->groupBoxCH2AC->isChecked(), meterBox);
        QCOMPARE(log.count(QStringLiteral("CH2 trace switch not taken by the instrument")), 0);
    }

    void gainCalibrationPanel()
    {
        VeskInterface w;
        // The panel's buttons work while its box is ticked.
        w.ui->groupBoxCalibration->setChecked(true);
        for (const char *channel : {"CH1", "CH2"}) {
            auto *plus = w.findChild<QToolButton *>(QStringLiteral("toolButton%1GainPlus").arg(channel));
            auto *minus = w.findChild<QToolButton *>(QStringLiteral("toolButton%1GainMinus").arg(channel));
            auto *ok = w.findChild<QToolButton *>(QStringLiteral("toolButton%1GainOK").arg(channel));
            QVERIFY(plus && minus && ok);
            ok->setEnabled(false);
            plus->click();
            QVERIFY(ok->isEnabled());
            ok->click();
            QVERIFY(!ok->isEnabled());
            minus->click();
            QVERIFY(ok->isEnabled());
        }
    }
};

VESK_TEST_MAIN(TestScopeChannels)
#include "tst_scopechannels.moc"
