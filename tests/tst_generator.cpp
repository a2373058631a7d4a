// The generator dock without an instrument: level sliders and their spin
// boxes, the sweep read-outs and panel, the frequency editor driven by a
// script, the script setters' limits, and custom waves loaded from files.
// What would go to the instrument is read from the settings-block collector.
#include "testmain.h"

#include "collapsiblepanel.h"
#include "logcapture.h"
#include "modalanswerer.h"
#include "protocol.h"
#include "ui_veskinterface.h"
#include "veskinterface.h"

#include <QSignalBlocker>

#include <functional>
#include <limits>
#include <memory>

using WindowAction = std::function<void(VeskInterface &)>;
Q_DECLARE_METATYPE(WindowAction)

namespace {
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
}

class TestGenerator : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<VeskInterface> window;
    static constexpr int untouched = -12345;

    void markSlots(std::initializer_list<int> indexes)
    {
        for (int index : indexes)
            window->instrumentCommands.sendMainConfiguration(uchar(index), untouched);
    }
    int slot(int index) const { return window->instrumentCommands.settingsSlot(index); }
    static QString shown(const QDoubleSpinBox *box) { return QString::number(box->value(), 'f', box->decimals()); }

    QString frequencyDigits() const
    {
        const QLabel *labels[] = {window->ui->labelFrequencyDigit100000, window->ui->labelFrequencyDigit10000,
                                  window->ui->labelFrequencyDigit1000,   window->ui->labelFrequencyDigit100,
                                  window->ui->labelFrequencyDigit10,     window->ui->labelFrequencyDigit1,
                                  window->ui->labelFrequencyDigit01,     window->ui->labelFrequencyDigit001};
        QString digits;
        for (const QLabel *label : labels)
            digits += label->text();
        return digits;
    }

    // Moves a slider without its handler running, so the next move is a change.
    static void placeSlider(QSlider *slider, int position)
    {
        const QSignalBlocker blocker(slider);
        slider->setValue(position);
    }

private slots:
    void init()
    {
        window.reset(new VeskInterface);
        window->instrumentCommands.setBulkCollectMode(true);
    }
    void cleanup() { window.reset(); }

    // The slider holds what the instrument gets, the spin box shows it in
    // volts or percent; either one moves the other, and they end agreeing.
    void levels_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<WindowAction>("action");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("sent");

        const auto amplitudeSlider = [](int position) {
            return WindowAction([position](VeskInterface &w) {
                placeSlider(w.ui->amplitudeSlider, 116);
                w.ui->amplitudeSlider->setValue(position);
            });
        };
        QTest::newRow("amplitude slider at the top") << "amplitude" << amplitudeSlider(232) << 232 << "2.00" << 232;
        // 4 shows as 0.03 V, which read back would be position 3.
        QTest::newRow("amplitude position the spin box cannot hold")
            << "amplitude" << amplitudeSlider(4) << 4 << "0.03" << 4;
        QTest::newRow("amplitude from a script, beyond the range")
            << "amplitude" << WindowAction([](VeskInterface &w) { w.setAwgLevelsAmplitude(5.0); }) << 232 << "2.00"
            << 232;
        QTest::newRow("amplitude typed as 0.03 V") << "amplitude" << WindowAction([](VeskInterface &w) {
            w.ui->doubleSpinBoxAmp->setValue(0.03);
        }) << 3 << "0.03" << 3;
        QTest::newRow("duty typed as 99.9 %") << "duty" << WindowAction([](VeskInterface &w) {
            w.ui->doubleSpinBoxDuty->setValue(99.9);
        }) << 255 << "99.6" << 255;
        QTest::newRow("duty typed as 0 %: never 0 on the wire") << "duty" << WindowAction([](VeskInterface &w) {
            w.ui->doubleSpinBoxDuty->setValue(0.0);
        }) << 1 << "0.4" << 1;
        QTest::newRow("duty 50 % from a script") << "duty" << WindowAction([](VeskInterface &w) {
            w.setAwgLevelsDutyCycle(50);
        }) << 128 << "50.0" << 128;
        QTest::newRow("offset -2 V: its low byte") << "offset" << WindowAction([](VeskInterface &w) {
            w.setAwgLevelsOffset(-2.0);
        }) << -127 << "-1.99" << 129;
        QTest::newRow("offset slider one step up") << "offset" << WindowAction([](VeskInterface &w) {
            placeSlider(w.ui->offsetSlider, 0);
            w.ui->offsetSlider->setValue(1);
        }) << 1 << "0.02" << 1;
    }
    void levels()
    {
        QFETCH(QString, level);
        QFETCH(WindowAction, action);
        struct Level
        {
            QSlider *slider;
            QDoubleSpinBox *box;
            int index;
        };
        const QMap<QString, Level> levels{
            {"amplitude", {window->ui->amplitudeSlider, window->ui->doubleSpinBoxAmp, CFG_WAVE_AMPLITUDE}},
            {"duty", {window->ui->dutyCycleSlider, window->ui->doubleSpinBoxDuty, CFG_WAVE_DUTY}},
            {"offset", {window->ui->offsetSlider, window->ui->doubleSpinBoxOffset, CFG_WAVE_OFFSET}}};
        // Every row starts from the same levels, whatever the restored setup held.
        const std::pair<int, double> neutral[] = {{116, 1.0}, {64, 25.0}, {0, 0.0}};
        int i = 0;
        for (const Level &each : levels) {
            placeSlider(each.slider, neutral[i].first);
            const QSignalBlocker blocker(each.box);
            each.box->setValue(neutral[i++].second);
        }
        const Level chosen = levels.value(level);
        markSlots({chosen.index});
        action(*window);
        QTEST(chosen.slider->value(), "position");
        QTEST(shown(chosen.box), "shown");
        QTEST(slot(chosen.index), "sent");
    }

    // Script values that are no numbers change nothing and send nothing.
    void scriptValuesThatAreNoNumbers()
    {
        window->setAwgLevelsAmplitude(1.0);
        window->setAwgSweepStart(10);
        window->setAwgSweepEnd(200);
        window->setAwgFrequency(1000);
        const QString digits = frequencyDigits();
        markSlots({CFG_WAVE_AMPLITUDE, CFG_WAVE_DUTY, CFG_WAVE_OFFSET, CFG_WAVE_FREQUENCY, CFG_SWEEP_START,
                   CFG_SWEEP_END});
        LogCapture log;
        window->setAwgLevelsAmplitude(notANumber);
        window->setAwgLevelsDutyCycle(std::numeric_limits<double>::infinity());
        window->setAwgLevelsOffset(notANumber);
        window->setAwgFrequency(notANumber);
        window->setAwgSweepStart(notANumber);
        window->setAwgSweepEnd(-std::numeric_limits<double>::infinity());
        QCOMPARE(shown(window->ui->doubleSpinBoxAmp), QStringLiteral("1.00"));
        QCOMPARE(frequencyDigits(), digits);
        QCOMPARE(window->ui->sweepStartFreqSlider->value(), 10);
        QCOMPARE(window->ui->sweepEndFreqSlider->value(), 200);
        for (int index : {CFG_WAVE_AMPLITUDE, CFG_WAVE_DUTY, CFG_WAVE_OFFSET, CFG_WAVE_FREQUENCY, CFG_SWEEP_START,
                          CFG_SWEEP_END})
            QCOMPARE(slot(index), int(untouched));
        QCOMPARE(log.count(QStringLiteral("setAwgFrequency: ignored, nan is no number")), 1);
    }

    // A value a widget already holds sends nothing; clicks always send.
    void scriptRepeats()
    {
        window->setAwgLevelsDutyCycle(30);
        markSlots({CFG_WAVE_DUTY});
        window->setAwgLevelsDutyCycle(30);
        QCOMPARE(slot(CFG_WAVE_DUTY), int(untouched));

        window->ui->spinBoxConstant->setValue(-29696);
        LogCapture log;
        window->clickRadioButtonConstant();
        window->clickRadioButtonConstant();
        QCOMPARE(log.count(QStringLiteral("Bulk write to USB: index(31) value:5")), 2);
        QCOMPARE(log.count(QStringLiteral("Bulk write to USB: index(35) value:-29696")), 2);
        QCOMPARE(window->ui->collapsiblePanelAWGWaveform->text(), QStringLiteral("Constant "));
    }

    void scriptFrequency_data()
    {
        QTest::addColumn<double>("hertz");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<int>("sent");
        QTest::addColumn<int>("slider");
        QTest::addColumn<QString>("header");
        QTest::newRow("rounded to 0.01 Hz") << 1234.567 << "00123457" << 123457 << 509 << "1234.57Hz ";
        // Cutting to eight digits would have turned 1 MHz into 0 Hz.
        QTest::newRow("above the editor: its largest value")
            << 1000000.0 << "19999999" << 12500000 << 700 << "199999.99Hz ";
        QTest::newRow("negative: zero, sent as the least")
            << -5.0 << "00000000" << int(WAVE_FREQUENCY_MIN) << 172 << "0.00Hz ";
    }
    void scriptFrequency()
    {
        QFETCH(double, hertz);
        placeSlider(window->ui->frequencySlider, 400);
        markSlots({CFG_WAVE_FREQUENCY});
        window->setAwgFrequency(hertz);
        QTEST(frequencyDigits(), "digits");
        QTEST(slot(CFG_WAVE_FREQUENCY), "sent");
        QTEST(window->ui->frequencySlider->value(), "slider");
        QTEST(window->ui->collapsiblePanelAWGFrequency->text(), "header");
    }

    // The read-outs follow the quantity and both sliders, in its units.
    void sweepReadouts_data()
    {
        QTest::addColumn<WindowAction>("quantity");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("readouts");
        QTest::newRow("frequency") << WindowAction([](VeskInterface &w) { w.clickRadioButtonSweepFrequency(); }) << 0
                                   << 153 << "1 Hz, 1.0 kHz";
        QTest::newRow("amplitude") << WindowAction([](VeskInterface &w) { w.clickRadioButtonSweepAmplitude(); }) << 0
                                   << 255 << "0.00 V, 2.28 V";
        QTest::newRow("offset") << WindowAction([](VeskInterface &w) { w.clickRadioButtonSweepOffset(); }) << 0 << 255
                                << "-2.28 V, 2.28 V";
        QTest::newRow("duty cycle") << WindowAction([](VeskInterface &w) { w.clickRadioButtonSweepDutyCycle(); }) << 0
                                    << 255 << "1.0 %, 100.0 %";
    }
    void sweepReadouts()
    {
        QFETCH(WindowAction, quantity);
        QFETCH(int, start);
        QFETCH(int, end);
        window->setAwgSweepEnabled(true);
        window->setAwgSweepStart(start);
        window->setAwgSweepEnd(end);
        window->setAwgSweepStart(start);
        quantity(*window);
        const QString readouts = shown(window->ui->startFreqText) + ' ' + window->ui->labelUnitStart->text() + ", "
                                 + shown(window->ui->endFreqText) + ' ' + window->ui->labelUnitEnd->text();
        QTEST(readouts, "readouts");

        // Moving a slider updates its read-out at once.
        window->setAwgSweepEnd(start);
        QCOMPARE(shown(window->ui->endFreqText), shown(window->ui->startFreqText));
    }

    void sweepReadoutsWithoutAQuantityStayAsTheyAre()
    {
        window->setAwgSweepEnabled(true);
        window->clickRadioButtonSweepAmplitude();
        window->setAwgSweepEnd(255);
        const QString before = shown(window->ui->endFreqText);
        QRadioButton *quantities[] = {window->ui->radioButtonSweepFrequency, window->ui->radioButtonSweepAmplitude,
                                      window->ui->radioButtonSweepDutyCycle, window->ui->radioButtonSweepOffset};
        for (QRadioButton *button : quantities) {
            button->setAutoExclusive(false);
            button->setChecked(false);
        }
        window->setAwgSweepEnd(0);
        QCOMPARE(shown(window->ui->endFreqText), before);
    }

    // The panel's check box switches the sweep: the frame follows it, and
    // without it the instrument gets the direction bits only.
    void sweepPanel_data()
    {
        QTest::addColumn<WindowAction>("action");
        QTest::addColumn<bool>("frameEnabled");
        QTest::addColumn<int>("control");
        // The quantity and direction buttons take clicks only while the panel is on.
        const auto setUp = [](VeskInterface &w) {
            w.setAwgSweepEnabled(true);
            w.clickRadioButtonSweepDutyCycle();
            w.clickRadioButtonSweepDirectionFaling();
        };
        QTest::newRow("on: duty cycle, falling") << WindowAction(setUp) << true << 0x21;
        QTest::newRow("off: direction only") << WindowAction([setUp](VeskInterface &w) {
            setUp(w);
            w.setAwgSweepEnabled(false);
        }) << false << 0x01;
        QTest::newRow("off again still sends") << WindowAction([this](VeskInterface &w) {
            w.setAwgSweepEnabled(true);
            w.clickRadioButtonSweepDirectionRising();
            w.setAwgSweepEnabled(false);
            markSlots({CFG_SWEEP_CONTROL});
            w.setAwgSweepEnabled(false);
        }) << false << 0;
        QTest::newRow("ping-pong, frequency") << WindowAction([](VeskInterface &w) {
            w.setAwgSweepEnabled(true);
            w.clickRadioButtonSweepFrequency();
            w.clickRadioButtonSweepDirectionPingPong();
        }) << true << 0x06;
    }
    void sweepPanel()
    {
        QFETCH(WindowAction, action);
        markSlots({CFG_SWEEP_CONTROL});
        action(*window);
        QTEST(window->ui->frameAWGSweep->isEnabled(), "frameEnabled");
        QTEST(slot(CFG_SWEEP_CONTROL), "control");
    }

    void sweepLimitsFromScripts_data()
    {
        QTest::addColumn<WindowAction>("action");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("sent");
        QTest::addColumn<QString>("sliders");
        QTest::newRow("start above the end stops at the end") << WindowAction([](VeskInterface &w) {
            w.setAwgSweepStart(0);
            w.setAwgSweepEnd(100);
            w.setAwgSweepStart(180.9);
        }) << int(CFG_SWEEP_START) << 100 << "100 100";
        QTest::newRow("end below the start stops at the start") << WindowAction([](VeskInterface &w) {
            w.setAwgSweepEnd(255);
            w.setAwgSweepStart(50);
            w.setAwgSweepEnd(-3);
        }) << int(CFG_SWEEP_END) << 50 << "50 50";
        QTest::newRow("end far beyond the slider") << WindowAction([](VeskInterface &w) {
            w.setAwgSweepStart(0);
            w.setAwgSweepEnd(0);
            w.setAwgSweepEnd(1e300);
        }) << int(CFG_SWEEP_END) << 255 << "0 255";
        QTest::newRow("speed held at 127") << WindowAction([](VeskInterface &w) {
            w.setAwgSweepSpeed(1);
            w.setAwgSweepSpeed(200);
        }) << int(CFG_SWEEP_SPEED) << 127 << "";
    }
    void sweepLimitsFromScripts()
    {
        QFETCH(WindowAction, action);
        QFETCH(int, index);
        QFETCH(QString, sliders);
        markSlots({index});
        action(*window);
        QTEST(slot(index), "sent");
        if (sliders.isEmpty()) {
            QCOMPARE(window->ui->sweepSpeedText->text(), QString::number(slot(index)));
        } else {
            QCOMPARE(QStringLiteral("%1 %2")
                         .arg(window->ui->sweepStartFreqSlider->value())
                         .arg(window->ui->sweepEndFreqSlider->value()),
                     sliders);
        }
    }

    // The widest texts the sweep puts in its unit labels fit them in the
    // window as the user first sees it.
    void sweepUnitsFitTheirLabels()
    {
        window->resize(1371, 966);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->ui->collapsiblePanelAWGSweep->setCollapsed(false);
        window->setAwgSweepEnabled(true);
        window->clickRadioButtonSweepFrequency();
        window->setAwgSweepStart(0);
        window->setAwgSweepEnd(255);
        QCoreApplication::processEvents();
        for (QDoubleSpinBox *readout : {window->ui->startFreqText, window->ui->endFreqText})
            QVERIFY2(readout->fontMetrics().horizontalAdvance(readout->text()) <= readout->contentsRect().width(),
                     qPrintable(readout->objectName() + ": " + readout->text()));
        const auto fits = [](const QLabel *label) {
            return label->isVisible()
                   && label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width();
        };
        QCOMPARE(window->ui->labelUnitStart->text(), QStringLiteral("Hz"));
        QVERIFY(fits(window->ui->labelUnitStart));
        QCOMPARE(window->ui->labelUnitEnd->text(), QStringLiteral("kHz"));
        QVERIFY(fits(window->ui->labelUnitEnd));
    }

    // A good file fills the whole upload buffer (a short wave leaves no old
    // tail) and offers the upload; a bad one changes nothing and says why.
    void customWaveFromAFile()
    {
        customwave_t &buffer = window->instrumentCommands.customWave;
        std::fill(std::begin(buffer.sample), std::end(buffer.sample), int16_t(777));
        QVERIFY(!window->ui->saveAWGButton->isEnabled());
        const QString path = VeskTest::sourcePath(QStringLiteral("tests/data/customwave/spreadsheet.csv"));
        QVERIFY(window->customWaveLoadFile(path));
        const int16_t expected[] = {100, -200, 300, 400, -1};
        for (int i = 0; i < CUSTOM_WAVE_SAMPLES; ++i)
            QCOMPARE(int(buffer.sample[i]), i < 5 ? int(expected[i]) : 0);
        QVERIFY(window->ui->saveAWGButton->isEnabled());
        QCOMPARE(window->ui->infoLabel->text(), QStringLiteral("Custom wave loaded: 5 samples"));
        // Loading sends nothing and keeps the wave type.
        QCOMPARE(window->ui->radioButtonCustom->isChecked(), false);
    }

    void badCustomWaveFileKeepsTheWave()
    {
        QVERIFY(window->customWaveLoadFile(VeskTest::sourcePath(QStringLiteral("tests/data/customwave/signed.txt"))));
        const customwave_t before = window->instrumentCommands.customWave;
        LogCapture log;
        ModalAnswerer answerer;
        QVERIFY(!window->customWaveLoadFile(VeskTest::sourcePath(QStringLiteral("tests/data/customwave/fraction.csv"))));
        const QString reason = QStringLiteral("Custom wave: fraction.csv: number 3 is not a whole number: \"0.5\"");
        QCOMPARE(answerer.messages, QStringList{QStringLiteral("Custom wave / ") + reason});
        QCOMPARE(window->ui->infoLabel->text(), reason);
        QCOMPARE(log.count(reason), 1);
        QVERIFY(std::equal(std::begin(before.sample), std::end(before.sample),
                           std::begin(window->instrumentCommands.customWave.sample)));
    }
};

VESK_TEST_MAIN(TestGenerator)
#include "tst_generator.moc"
