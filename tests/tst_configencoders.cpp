// The window's encoders and setting handlers without an instrument: widget
// states to configuration items as the settings-block collector stores them,
// the limits the handlers apply, and what they change in the window.
#include "testmain.h"

#include "collapsiblepanel.h"
#include "configencoding.h"
#include "logcapture.h"
#include "protocol.h"
#include "scopeframefeeder.h"
#include "ui_veskinterface.h"
#include "veskinterface.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>

#include <functional>
#include <memory>

using WindowAction = std::function<void(VeskInterface &)>;
Q_DECLARE_METATYPE(WindowAction)

class TestConfigEncoders : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<VeskInterface> window;
    static constexpr int untouched = -12345;

    // "name=value ...": check state of a button or panel, index of a combo
    // box or tab widget, value of a spin box.
    void setWidgets(const QString &states)
    {
        for (const QString &pair : states.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString name = pair.section(QLatin1Char('='), 0, 0);
            const double value = pair.section(QLatin1Char('='), 1).toDouble();
            QObject *object = window->findChild<QObject *>(name);
            QVERIFY2(object, qPrintable(name));
            if (auto *button = qobject_cast<QAbstractButton *>(object)) {
                // A radio button can be cleared only outside its exclusive set;
                // checking one inside it clears the others.
                const bool exclusive = button->autoExclusive();
                button->setAutoExclusive(exclusive && value != 0);
                button->setChecked(value != 0);
                button->setAutoExclusive(exclusive);
            } else if (auto *panel = qobject_cast<CollapsiblePanel *>(object)) {
                panel->setChecked(value != 0);
            } else if (auto *tabs = qobject_cast<QTabWidget *>(object)) {
                tabs->setCurrentIndex(int(value));
            } else if (auto *combo = qobject_cast<QComboBox *>(object)) {
                combo->setCurrentIndex(int(value));
            } else if (auto *spin = qobject_cast<QSpinBox *>(object)) {
                spin->setValue(int(value));
            } else if (auto *doubleSpin = qobject_cast<QDoubleSpinBox *>(object)) {
                doubleSpin->setValue(value);
            } else {
                QFAIL(qPrintable(QStringLiteral("no way to set %1").arg(name)));
            }
        }
    }

    // Marks slots so a test sees which ones its action wrote.
    void markSlots(std::initializer_list<int> indexes)
    {
        for (int index : indexes)
            window->instrumentCommands.sendMainConfiguration(uchar(index), untouched);
    }
    int slot(int index) const { return window->instrumentCommands.settingsSlot(index); }

private slots:
    void init()
    {
        // The trigger post is counted from the end of a three-block frame.
        ScopeFrameFeeder::storeBlocks(3);
        window.reset(new VeskInterface);
        window->instrumentCommands.setBulkCollectMode(true);
    }
    void cleanup() { window.reset(); }

    void compositeEncoders_data()
    {
        QTest::addColumn<QString>("widgets");
        QTest::addColumn<WindowAction>("encoder");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("expected");

        const WindowAction ch1 = [](VeskInterface &w) { w.sendCH1Controls(); };
        const WindowAction ch2 = [](VeskInterface &w) { w.sendCH2Controls(); };
        const WindowAction trigger = [](VeskInterface &w) { w.sendTriggerControls(); };
        const WindowAction input = [](VeskInterface &w) { w.sendTriggerSource(); };
        const WindowAction gate = [](VeskInterface &w) { w.sendGateSource(); };
        const WindowAction sweep = [](VeskInterface &w) { w.sendSweepTypeControls(); };
        const QString ch1Off = "checkBoxCH1Trace=0 checkBoxCH1ACDC=0 checkBoxCH1Invert=0 checkBoxCH1Average=0 "
                               "checkBoxCH1Math=0 radioButtonCH1Sub=0 radioButtonCH1Multiply=0 ";
        const QString counterOff = "fcR0=0 fcR1=0 fcR2=0 fcR3=0 fcR4=0 fcR5=0 fcR6=0 fcR7=0 fcR10=0 fcR11=0 ";
        const QString gateOff = "fcR0_2=0 fcR1_2=0 fcR2_2=0 fcR3_2=0 fcR4_2=0 fcR5_2=0 fcR6_2=0 fcR7_2=0 "
                                "fcR10_2=0 fcR11_2=0 ";

        QTest::newRow("CH1 math multiply") << ch1Off + "checkBoxCH1Math=1 radioButtonCH1Multiply=1" << ch1
                                           << int(CFG_CH1_CONTROL) << 0x50;
        QTest::newRow("CH1 trace, AC, invert, average") << ch1Off + "checkBoxCH1Trace=1 checkBoxCH1ACDC=1 "
                                                                    "checkBoxCH1Invert=1 checkBoxCH1Average=1"
                                                        << ch1 << int(CFG_CH1_CONTROL) << 0x0F;
        QTest::newRow("CH2 read from its own boxes")
            << ch1Off + "checkBoxCH1Trace=1 checkBoxCH2Trace=0 checkBoxCH2ACDC=0 checkBoxCH2Invert=1 "
                        "checkBoxCH2Average=0 checkBoxCH2Math=1 radioButtonCH2Sub=1 radioButtonCH2Multiply=0"
            << ch2 << int(CFG_CH2_CONTROL) << 0x34;
        QTest::newRow("logic trace and invert") << "checkBoxCHDTrace=1 checkBoxCHDInvert=1"
                                                << WindowAction([](VeskInterface &w) { w.sendCHDControls(); })
                                                << int(CFG_CHD_CONTROL) << 0x05;
        QTest::newRow("rising edge, auto") << "radioButtonAuto=1 radioButtonRisingEdge=1" << trigger
                                           << int(CFG_TRIGGER_CONTROL) << 0x88;
        QTest::newRow("negative slope, single") << "radioButtonSingle=1 radioButtonNegativeSlope=1" << trigger
                                                << int(CFG_TRIGGER_CONTROL) << 0x34;
        QTest::newRow("window, normal") << "radioButtonNormal=1 radioButtonWindow=1" << trigger
                                        << int(CFG_TRIGGER_CONTROL) << 0x42;
        QTest::newRow("dual edge, free") << "radioButtonFree=1 radioButtonDual=1" << trigger
                                         << int(CFG_TRIGGER_CONTROL) << 0x01;
        QTest::newRow("no counter input") << counterOff << input << int(CFG_TRIGGER_SOURCE) << 10;
        QTest::newRow("counter input logic bit 3") << counterOff + "fcR3=1" << input << int(CFG_TRIGGER_SOURCE) << 5;
        QTest::newRow("counter input Schmitt") << counterOff + "fcR11=1" << input << int(CFG_TRIGGER_SOURCE) << 11;
        QTest::newRow("no gate source") << gateOff << gate << int(CFG_GATE_SOURCE) << 0;
        QTest::newRow("gate EXT") << gateOff + "fcR10_2=1" << gate << int(CFG_GATE_SOURCE) << 10;
        QTest::newRow("roll, meter on device, sniffer single")
            << "rollMode=1 elasticMode=0 radioButtonSniffSingle=1 checkBoxmeterondev=1"
            << WindowAction([](VeskInterface &w) { w.sendMixedControls(); }) << int(CFG_MIXED_CONTROL) << 0x0D;
        QTest::newRow("counter fast mode, gate period")
            << "checkBoxFreqFastMode=1 radioFrequencyGatePeriod=1"
            << WindowAction([](VeskInterface &w) { w.sendMeterFrequencyControl(); })
            << int(CFG_METER_FREQUENCY_CONTROL) << 0x09;
        QTest::newRow("odd parity, two stop bits, CPOL 1")
            << "comboBoxParity=2 comboBoxStopBits=1 checkBoxSynchro=0 checkBoxSniffParallelInputInvert=0 "
               "comboBoxSniffSSINV=0 comboBoxCPOL=1 comboBoxCPHA=0"
            << WindowAction([](VeskInterface &w) { w.sendSnifferOptionControl(); }) << int(CFG_SNIFFER_OPTIONS)
            << 0x47;
        QTest::newRow("115200 baud, 9 bits") << "comboBoxBaud=7 comboBoxUARTData=4"
                                             << WindowAction([](VeskInterface &w) { w.sendSnifferUSARTControl(); })
                                             << int(CFG_SNIFFER_USART) << 39;
        QTest::newRow("sweep off keeps only the direction")
            << "collapsiblePanelAWGSweep=0 radioButtonSweepFrequency=1 radioButtonSweepPingPong=1" << sweep
            << int(CFG_SWEEP_CONTROL) << 0x02;
        QTest::newRow("sweep on: amplitude, falling")
            << "collapsiblePanelAWGSweep=1 radioButtonSweepAmplitude=1 radioButtonSweepFalling=1" << sweep
            << int(CFG_SWEEP_CONTROL) << 0x09;
    }
    void compositeEncoders()
    {
        QFETCH(QString, widgets);
        QFETCH(WindowAction, encoder);
        QFETCH(int, index);
        setWidgets(widgets);
        markSlots({index});
        encoder(*window);
        QTEST(slot(index), "expected");
    }

    void logicBitsAreKeptForTheDisplay()
    {
        setWidgets("checkBoxCHD0=1 checkBoxCHD1=0 checkBoxCHD2=0 checkBoxCHD3=0 checkBoxCHD4=0 checkBoxCHD5=0 "
                   "checkBoxCHD6=1 checkBoxCHD7=1");
        window->sendCHDBitControls();
        QCOMPARE(slot(CFG_CHD_BITS), 0xC1);
        const bool expected[8] = {true, false, false, false, false, false, true, true};
        for (int bit = 0; bit < 8; ++bit)
            QCOMPARE(window->chdBitEnabled[bit], expected[bit]);
    }

    void waveType_data()
    {
        QTest::addColumn<QString>("widgets");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("summary");
        const QString none = "radioButtonConstant=0 radioButtonCustom=0 radioButtonExpo=0 radioButtonTriangle=0 "
                             "radioButtonSquare=0 radioButtonSine=0 radioButtonPinkNoise=0 radioButtonWhiteNoise=0 ";
        QTest::newRow("constant writes its level") << none + "radioButtonConstant=1 spinBoxConstant=-29696" << 5
                                                   << -29696 << "Constant ";
        QTest::newRow("other waves leave the level alone") << none + "radioButtonPinkNoise=1 spinBoxConstant=100"
                                                           << 7 << int(untouched) << "Pink Noise ";
        QTest::newRow("nothing checked") << none << 0 << int(untouched) << " ";
    }
    void waveType()
    {
        QFETCH(QString, widgets);
        setWidgets(widgets);
        markSlots({CFG_WAVE_TYPE, CFG_WAVE_CONSTANT_LEVEL});
        window->sendWaveType();
        QTEST(slot(CFG_WAVE_TYPE), "code");
        QTEST(slot(CFG_WAVE_CONSTANT_LEVEL), "level");
        QTEST(window->ui->collapsiblePanelAWGWaveform->text(), "summary");
    }

    // The limits the setters and the handlers put on what reaches the instrument.
    void limits_data()
    {
        QTest::addColumn<WindowAction>("action");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("expected");
        QTest::newRow("offset -200") << WindowAction([](VeskInterface &w) { w.awgOffsetSliderChanged(-200); })
                                     << int(CFG_WAVE_OFFSET) << 129;
        QTest::newRow("amplitude 500") << WindowAction([](VeskInterface &w) { w.awgAmplitudeSliderChanged(500); })
                                       << int(CFG_WAVE_AMPLITUDE) << 232;
        QTest::newRow("duty 0") << WindowAction([](VeskInterface &w) { w.awgDutyCycleSliderChanged(0); })
                                << int(CFG_WAVE_DUTY) << 1;
        QTest::newRow("sweep speed 0") << WindowAction([](VeskInterface &w) { w.sweepSpeedSliderChanged(0); })
                                       << int(CFG_SWEEP_SPEED) << 1;
        QTest::newRow("sweep speed 128") << WindowAction([](VeskInterface &w) { w.sweepSpeedSliderChanged(128); })
                                         << int(CFG_SWEEP_SPEED) << 127;
        QTest::newRow("frequency 10") << WindowAction([](VeskInterface &w) { w.updateFrequency(10); })
                                      << int(CFG_WAVE_FREQUENCY) << 48;
        QTest::newRow("frequency truncated") << WindowAction([](VeskInterface &w) { w.updateFrequency(1234.99); })
                                             << int(CFG_WAVE_FREQUENCY) << 1234;
        QTest::newRow("constant level cut to 16 bits")
            << WindowAction([](VeskInterface &w) { w.sendWaveConstantLevel(70000); }) << int(CFG_WAVE_CONSTANT_LEVEL)
            << 4464;
        QTest::newRow("ADC buffer index 20") << WindowAction([](VeskInterface &w) { w.scopeADCBufferChanged(20); })
                                             << int(CFG_CH_BUFFER_BLOCKS) << 15;
        QTest::newRow("ADC buffer index -1") << WindowAction([](VeskInterface &w) { w.scopeADCBufferChanged(-1); })
                                             << int(CFG_CH_BUFFER_BLOCKS) << 1;
        QTest::newRow("DAC buffer index 5") << WindowAction([](VeskInterface &w) { w.awgDACBufferChanged(5); })
                                            << int(CFG_DAC_BUFFER_BLOCKS) << 2;
        QTest::newRow("trigger post from the buffer length")
            << WindowAction([](VeskInterface &w) { w.sendTriggerPost(100); }) << int(CFG_TRIGGER_POST) << 768 - 100;
        QTest::newRow("auto-trigger spin box, step just below a whole count")
            << WindowAction([](VeskInterface &w) { w.ui->doubleSpinBoxTrigAuto->setValue(0.28672); })
            << int(CFG_AUTO_TRIGGER) << 6;
        QTest::newRow("hold-off truncated")
            << WindowAction([](VeskInterface &w) { w.ui->doubleSpinBoxTrigHold->setValue(99.0); })
            << int(CFG_TRIGGER_HOLD) << 99;
        QTest::newRow("sweep start kept at the end")
            << WindowAction([](VeskInterface &w) {
                   w.ui->sweepStartFreqSlider->setValue(10);
                   w.ui->sweepEndFreqSlider->setValue(40);
                   w.ui->sweepStartFreqSlider->setValue(90);
               })
            << int(CFG_SWEEP_START) << 40;
    }
    void limits()
    {
        QFETCH(WindowAction, action);
        QFETCH(int, index);
        markSlots({index});
        action(*window);
        QTEST(slot(index), "expected");
    }

    // The logarithmic slider keeps three significant digits and shows them
    // in the digit labels; the digit buttons wrap without carrying.
    void frequencyEntry_data()
    {
        QTest::addColumn<WindowAction>("action");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<int>("sent");
        const auto slider = [](int position) {
            return WindowAction([position](VeskInterface &w) {
                QSlider *slider = w.ui->frequencySlider;
                {
                    // Away first, so the move to the position is a change.
                    const QSignalBlocker blocker(slider);
                    slider->setValue(position > slider->minimum() ? slider->minimum() : slider->maximum());
                }
                slider->setValue(position);
            });
        };
        QTest::newRow("slider 3.00: 10 Hz") << slider(300) << "00001000" << 1000;
        QTest::newRow("slider 5.55: 3.55 kHz") << slider(555) << "00355000" << 355000;
        QTest::newRow("slider at its bottom: truncated, not rounded") << slider(172) << "00000052" << 52;
        QTest::newRow("slider at its top") << slider(700) << "10000000" << 10000000;
        QTest::newRow("100 kHz digit wraps at 1") << WindowAction([](VeskInterface &w) {
            w.frequencyDigitsShowValue(10000099);
            w.ui->toolButtonFrequencyDigit100000Up->click();
        }) << "00000099" << 99;
        QTest::newRow("0.01 Hz digit wraps without a borrow") << WindowAction([](VeskInterface &w) {
            w.frequencyDigitsShowValue(12340);
            w.ui->toolButtonFrequencyDigit001Down->click();
        }) << "00012349" << 12349;
    }
    void frequencyEntry()
    {
        QFETCH(WindowAction, action);
        markSlots({CFG_WAVE_FREQUENCY});
        action(*window);
        const QLabel *labels[] = {window->ui->labelFrequencyDigit100000, window->ui->labelFrequencyDigit10000,
                                  window->ui->labelFrequencyDigit1000,   window->ui->labelFrequencyDigit100,
                                  window->ui->labelFrequencyDigit10,     window->ui->labelFrequencyDigit1,
                                  window->ui->labelFrequencyDigit01,     window->ui->labelFrequencyDigit001};
        QString digits;
        for (const QLabel *label : labels)
            digits += label->text();
        QTEST(digits, "digits");
        QTEST(slot(CFG_WAVE_FREQUENCY), "sent");
    }

    // The meter page's range buttons set the gain and DC coupling together.
    void rangeButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("other");
        QTest::addColumn<int>("gainIndex");
        QTest::addColumn<int>("controlIndex");
        QTest::addColumn<int>("gain");
        QTest::newRow("CH1 24 V") << "toolButtonCh1ADC24V" << "toolButtonCh1ADC2V4" << int(CFG_CH1_GAIN)
                                  << int(CFG_CH1_CONTROL) << 0;
        QTest::newRow("CH2 2.4 V") << "toolButtonCh2ADC2V4" << "toolButtonCh2ADC24V" << int(CFG_CH2_GAIN)
                                   << int(CFG_CH2_CONTROL) << 3;
    }
    void rangeButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, other);
        QFETCH(int, gainIndex);
        QFETCH(int, controlIndex);
        setWidgets(other + "=1 checkBoxCH1ACDC=1 checkBoxCH2ACDC=1 checkBoxCH1Trace=1 checkBoxCH2Trace=1");
        window->ui->ch1GainSlider->setValue(6);
        window->ui->ch2GainSlider->setValue(6);
        markSlots({gainIndex, controlIndex});
        QMetaObject::invokeMethod(window.get(), qPrintable("on_" + button + "_clicked"));
        QTEST(slot(gainIndex), "gain");
        QCOMPARE(slot(controlIndex) & (CHANNEL_TRACE_ON | CHANNEL_AC), int(CHANNEL_TRACE_ON));
        QVERIFY(!window->findChild<QAbstractButton *>(other)->isChecked());
    }

    // Every value the auto-trigger spin box offers reaches its own step count.
    void autoTriggerSpinBoxSteps()
    {
        QDoubleSpinBox *box = window->ui->doubleSpinBoxTrigAuto;
        box->setValue(box->maximum());
        box->setValue(box->minimum());
        QCOMPARE(slot(CFG_AUTO_TRIGGER), 3);
        for (int expected = 4; box->value() < box->maximum(); ++expected) {
            box->stepUp();
            QCOMPARE(slot(CFG_AUTO_TRIGGER), std::min(expected, 255));
        }
        QCOMPARE(slot(CFG_AUTO_TRIGGER), 255);
    }

    void mainTab_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("widgets");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("source");
        QTest::addColumn<bool>("polling");
        QTest::newRow("oscilloscope tab") << 0 << "comboBoxTrigSource=1" << 0 << 1 << false;
        QTest::newRow("sniffer tab") << 2 << "comboBoxTrigSource=4" << 0 << 4 << false;
        QTest::newRow("meter AC page") << 1 << "mmTabWidget=0" << 2 << int(untouched) << true;
        QTest::newRow("meter DC page") << 1 << "mmTabWidget=1" << 3 << int(untouched) << true;
        QTest::newRow("counter, period, input bit 0")
            << 1 << "fcR0=1 radioPeriod=1 mmTabWidget=2" << 6 << 2 << true;
        QTest::newRow("counter, pulses, no polling") << 1 << "fcR7=1 radioPulse=1 mmTabWidget=2" << 5 << 9 << false;
    }
    void mainTab()
    {
        QFETCH(int, tab);
        QFETCH(QString, widgets);
        setWidgets(widgets);
        window->ui->mainTabWidget->setCurrentIndex(tab);
        window->meterTimer.start(400);
        window->replotRequest = false;
        markSlots({CFG_MAIN_MODE, CFG_TRIGGER_SOURCE});
        window->mainTabChanged(tab);
        QTEST(slot(CFG_MAIN_MODE), "mode");
        QTEST(window->mainMode, "mode");
        QTEST(slot(CFG_TRIGGER_SOURCE), "source");
        QTEST(window->meterTimer.isActive(), "polling");
        QCOMPARE(window->replotRequest, tab != 1);
    }

    void snifferRunAndStop()
    {
        QPushButton *start = window->ui->startSnifferButton;
        window->sniffControlsStartSet(QStringLiteral("STOP"));
        markSlots({CFG_MAIN_MODE});
        window->ui->comboBoxSniffParallelStrobe->setCurrentIndex(2);
        start->click();
        QCOMPARE(start->text(), QStringLiteral("STOP"));
        QVERIFY(window->ui->pauseSnifferButton->isEnabled());
        QCOMPARE(slot(CFG_MAIN_MODE), int(MODE_SNIFFER));
        QCOMPARE(window->mainMode, int(MODE_SNIFFER));
        QCOMPARE(slot(CFG_SNIFFER_STROBE), 2);
        QPushButton *pause = window->ui->pauseSnifferButton;
        pause->click();
        QCOMPARE(pause->text(), QStringLiteral("Continue"));

        // A protocol page ends the run and names the new protocol.
        window->sniffProtocolTabChanged(PROTOCOL_PARALLEL);
        QCOMPARE(start->text(), QStringLiteral("START"));
        QVERIFY(!pause->isEnabled());
        QVERIFY(!pause->isChecked());
        QCOMPARE(pause->text(), QStringLiteral("Pause"));
        QCOMPARE(slot(CFG_MAIN_MODE), int(MODE_SCOPE));
        QCOMPARE(window->mainMode, int(MODE_SCOPE));
        QCOMPARE(slot(CFG_DECODE_PROTOCOL), int(PROTOCOL_PARALLEL));
    }

    void samplingSliderEnablesRollMode_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("rollChecked");
        QTest::addColumn<bool>("rollEnabled");
        QTest::addColumn<bool>("elasticEnabled");
        QTest::newRow("fast time base") << 10 << true << false << true;
        QTest::newRow("slow time base, roll off") << 11 << false << true << true;
        QTest::newRow("slow time base, rolling") << 11 << true << true << false;
    }
    void samplingSliderEnablesRollMode()
    {
        QFETCH(int, value);
        QFETCH(bool, rollChecked);
        window->ui->rollMode->setChecked(rollChecked);
        markSlots({CFG_SAMPLING_RATE});
        window->scopeSamplingSliderChanged(value);
        QTEST(window->ui->rollMode->isEnabled(), "rollEnabled");
        QTEST(window->ui->elasticMode->isEnabled(), "elasticEnabled");
        QCOMPARE(window->slowSamplingRate, value > 10);
        // Without an instrument the time base is not written.
        QCOMPARE(slot(CFG_SAMPLING_RATE), int(untouched));
    }

    void bufferCombos_data()
    {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<int>("blocks");
        QTest::addColumn<int>("currentBefore");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("currentAfter");
        QTest::newRow("two blocks, index lowered") << "comboBoxADCBuffer" << 2 << 5 << QStringList{"256", "512"} << 1;
        QTest::newRow("nothing offered still gives one") << "comboBoxADCBuffer" << 0 << 0 << QStringList{"256"} << 0;
        QTest::newRow("fifteen blocks") << "comboBoxADCBuffer" << 15 << 3 << ConfigEncoding::bufferSizeTexts(15) << 3;
        QTest::newRow("channels: more than is sent") << "comboBoxADCBuffer" << 255 << 3
                                                     << ConfigEncoding::bufferSizeTexts(15) << 3;
        QTest::newRow("generator: more than is sent") << "comboBoxDACBuffer" << 255 << 1
                                                      << QStringList{"256", "512"} << 1;
    }
    void bufferCombos()
    {
        QFETCH(int, blocks);
        QFETCH(int, currentBefore);
        QFETCH(QString, boxName);
        auto *box = window->findChild<QComboBox *>(boxName);
        window->bufferComboBoxItemChange(box, 8);
        box->setCurrentIndex(currentBefore);
        QSignalSpy changes(box, SIGNAL(currentIndexChanged(int)));
        window->bufferComboBoxItemChange(box, blocks);
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items.append(box->itemText(i));
        QTEST(items, "items");
        QTEST(box->currentIndex(), "currentAfter");
        QCOMPARE(changes.count(), 0);
    }

    // Without an instrument and outside a collection nothing is written,
    // logged or relabelled.
    void silentWithoutInstrument()
    {
        window->instrumentCommands.setBulkCollectMode(false);
        window->ui->stopButton->setText(QStringLiteral("START"));
        LogCapture log;
        window->sendScopeStart();
        window->sendCH1Controls();
        window->sendWaveFrequency(100000);
        QCOMPARE(window->ui->stopButton->text(), QStringLiteral("START"));
        QVERIFY2(log.messages().isEmpty(), qPrintable(log.messages().join('\n')));
        QCOMPARE(window->sendCH1ControlsConfirmed(), InstrumentCommands::ConfirmResult::NoReply);
        QCOMPARE(window->frequencyRealValueCheck(), 0.0f);
    }
};

VESK_TEST_MAIN(TestConfigEncoders)
#include "tst_configencoders.moc"
