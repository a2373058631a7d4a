// The last instrument setup: what a fresh store restores, a setup that
// survives a close and a restart, and damaged stored values that must
// neither stop the start nor reach a handler out of range.
#include "testmain.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"
#include "multimeterdisplayoptions.h"
#include "pythonconsoleoptions.h"

#include <QSettings>
#include <qcustomplot.h>

#include <memory>

namespace {

// "objectName.property" of a form widget, or "trigger<i>.<field>" of a
// trigger record.
QVariant stateOf(VeskInterface &window, const QString &what)
{
    const QString object = what.section(QLatin1Char('.'), 0, 0);
    const QString property = what.section(QLatin1Char('.'), 1);
    if (object.startsWith(QLatin1String("trigger"))) {
        const TriggerCoord &coord = window.triggerCoords[object.rightRef(1).toInt()];
        const QMap<QString, int> fields = {{QStringLiteral("level"), coord.level},
                                           {QStringLiteral("win1Level"), coord.win1Level},
                                           {QStringLiteral("win2Level"), coord.win2Level},
                                           {QStringLiteral("post"), coord.post}};
        return fields.value(property);
    }
    QObject *widget = window.findChild<QObject *>(object);
    return widget ? widget->property(property.toLatin1().constData()) : QVariant(QStringLiteral("no such widget"));
}

// Compares as the widget's own type would; doubles to the spin boxes' decimals.
bool sameState(const QVariant &actual, const QVariant &expected)
{
    if (expected.type() == QVariant::Double)
        return qAbs(actual.toDouble() - expected.toDouble()) < 0.005;
    return actual.toString() == expected.toString();
}

void clearStore()
{
    QSettings settings;
    settings.clear();
    settings.sync();
}

} // namespace

class TestLastSetup : public QObject
{
    Q_OBJECT

private slots:
    void freshStoreGivesDefaults_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QVariant>("expected");

        const QList<QPair<const char *, QVariant>> rows = {
            {"ch1PositionSlider.value", 128},
            {"ch2PositionSlider.value", 32},
            {"checkBoxCH1Trace.checked", true},
            {"checkBoxCH2Trace.checked", true},
            {"radioButtonCH1Multiply.checked", true},
            {"radioButtonCH2Multiply.checked", true},
            {"chdPositionSlider.value", -96},
            {"checkBoxCHDTrace.checked", false},
            {"checkBoxCHD0.checked", true},
            {"checkBoxCHD7.checked", true},
            {"checkBoxFFTCH1.checked", true},
            {"checkBoxFFTCH2.checked", false},
            {"radioButtonRect.checked", true},
            {"checkBoxVectors.checked", true},
            {"checkBoxPersistence.checked", false},
            {"checkBoxmeterondev.checked", true},
            {"checkBoxCursorVertical.checked", true},
            {"checkBoxScopeCursorsHorizontal.checked", true},
            {"comboBoxScopeCursorsHorizontalType.currentIndex", 1},
            {"comboBoxScopeCursorsChannel.currentIndex", 0},
            {"comboBoxTrigSource.currentIndex", 0},
            {"doubleSpinBoxTrigAuto.value", 0.16384},
            {"doubleSpinBoxTrigHold.value", 10.0},
            {"radioButtonFree.checked", true},
            {"radioButtonRisingEdge.checked", true},
            {"trigger0.level", -4},
            {"trigger1.win1Level", 96},
            {"trigger2.win2Level", -96},
            {"trigger2.post", 64},
            {"samplingSlider.value", 6},
            {"mmTabWidget.currentIndex", 0},
            {"fcR10.checked", true},
            {"fcR10_2.checked", true},
            {"radioFreq.checked", true},
            {"radioFrequencyGatePulse.checked", true},
            {"checkBoxAWBEnable.checked", true},
            {"radioButtonSine.checked", true},
            {"spinBoxConstant.value", 0},
            {"labelFrequencyDigit100000.text", "0"},
            {"labelFrequencyDigit1000.text", "1"},
            {"labelFrequencyDigit001.text", "0"},
            // The instrument's amplitude 96 and duty 128, in volts and percent.
            {"doubleSpinBoxAmp.value", 0.83},
            {"doubleSpinBoxDuty.value", 50.0},
            {"doubleSpinBoxOffset.value", 0.0},
            {"sweepSpeedSlider.value", 64},
            {"sweepStartFreqSlider.value", 64},
            {"sweepEndFreqSlider.value", 192},
            {"radioButtonSweepDutyCycle.checked", true},
            {"radioButtonSweepPingPong.checked", true},
            {"collapsiblePanelAWGSweep.checked", false},
            {"radioButtonSniffSingle.checked", true},
            {"protocolTabWidget.currentIndex", 0},
            {"comboBoxBaud.currentIndex", 3},
            {"comboBoxUARTData.currentIndex", 3},
            {"comboBoxParity.currentIndex", 0},
            {"comboBoxADCBuffer.currentIndex", 0},
            {"tabWidget1.currentIndex", 0},
        };
        for (const auto &row : rows)
            QTest::newRow(row.first) << QString::fromLatin1(row.first) << row.second;
    }
    void freshStoreGivesDefaults()
    {
        if (!freshWindow) {
            clearStore();
            freshWindow.reset(new VeskInterface);
        }
        QFETCH(QString, what);
        QFETCH(QVariant, expected);
        const QVariant actual = stateOf(*freshWindow, what);
        QVERIFY2(sameState(actual, expected), qPrintable(actual.toString()));
    }

    // Every kind of key once: a setup far from the defaults comes back
    // after the window closed and a new one started.
    void savedSetupComesBack()
    {
        clearStore();
        const QList<QPair<QString, QVariant>> setup = {
            {"ch1GainSlider.value", 3},
            {"ch1PositionSlider.value", -200},
            {"checkBoxCH1Invert.checked", true},
            {"radioButtonCH1Sub.checked", true},
            {"ch2PositionSlider.value", 100},
            {"checkBoxCH2Trace.checked", false},
            {"chdPositionSlider.value", -300},
            {"checkBoxCHD3.checked", false},
            {"radioButtonHann.checked", true},
            {"checkBoxVectors.checked", false},
            {"comboBoxScopeCursorsHorizontalType.currentIndex", 2},
            {"comboBoxScopeCursorsChannel.currentIndex", 1},
            {"doubleSpinBoxTrigHold.value", 25.0},
            {"radioButtonNormal.checked", true},
            {"radioButtonFallingEdge.checked", true},
            {"samplingSlider.value", 12},
            {"fcR3.checked", true},
            {"fcR5_2.checked", true},
            {"radioPeriod.checked", true},
            {"radioFrequencyGatePeriod.checked", true},
            {"radioButtonSquare.checked", true},
            {"spinBoxConstant.value", 1234},
            {"labelFrequencyDigit100.text", "7"},
            {"collapsiblePanelAWGSweep.checked", true},
            {"radioButtonSweepFrequency.checked", true},
            {"radioButtonSweepFalling.checked", true},
            {"sweepStartFreqSlider.value", 50},
            {"sweepEndFreqSlider.value", 150},
            {"radioButtonSniffNormal.checked", true},
            {"protocolTabWidget.currentIndex", 2},
            {"comboBoxCPOL.currentIndex", 1},
            {"comboBoxBaud.currentIndex", 5},
            {"comboBoxSniffParallelStrobe.currentIndex", 1},
            {"tabWidget1.currentIndex", 3},
            // A frame of 768 samples, long enough for the trigger post below.
            {"comboBoxADCBuffer.currentIndex", 2},
        };
        {
            VeskInterface before;
            for (const auto &entry : setup) {
                QObject *widget = before.findChild<QObject *>(entry.first.section('.', 0, 0));
                QVERIFY2(widget, qPrintable(entry.first));
                widget->setProperty(entry.first.section('.', 1).toLatin1().constData(), entry.second);
            }
            before.triggerCoords[1] = TriggerCoord{300, 40, 70, -20, 0, 0, 0};
            before.closeApplication();
        }
        VeskInterface after;
        for (const auto &entry : setup) {
            const QVariant actual = stateOf(after, entry.first);
            QVERIFY2(sameState(actual, entry.second), qPrintable(entry.first + " is " + actual.toString()));
        }
        QCOMPARE(after.triggerCoords[1].post, 300);
        QCOMPARE(after.triggerCoords[1].level, 40);
        QCOMPARE(after.triggerCoords[1].win1Level, 70);
        QCOMPARE(after.triggerCoords[1].win2Level, -20);
        // The keys' places, which other versions of the program read too.
        QSettings settings;
        QCOMPARE(settings.value("CurrentScopeTab").toInt(), 3);
        QCOMPARE(settings.value("Trigger/CH1Coord/TPost").toInt(), 300);
        QCOMPARE(settings.value("Trigger/Type").toString(), QString("Triger"));
        QCOMPARE(settings.value("MeterFC/Type").toString(), QString("Reriod"));
    }

    // The console's and the displays' options go with the setup: written at
    // close, read back while the next window is built.
    void optionGroupsComeBack()
    {
        clearStore();
        {
            VeskInterface before;
            before.pythonConsoleOptions->sizeWidth = 88;
            before.pythonConsoleOptions->restoreSize = true;
            before.pythonConsoleOptions->colorName = QStringLiteral("#102030");
            before.multimeterDisplayOptions->foregroundColorName = QStringLiteral("#203040");
            before.multimeterDisplayOptions->extendPrecision = 4;
            before.closeApplication();
        }
        QCOMPARE(QSettings().value("PythonConsole/sizeWidth").toInt(), 88);
        QCOMPARE(QSettings().value("MultimeterDisplay/extendPrecision").toInt(), 4);
        VeskInterface after;
        QCOMPARE(after.pythonConsoleOptions->sizeWidth, 88);
        QCOMPARE(after.pythonConsoleOptions->restoreSize, true);
        QCOMPARE(after.pythonConsoleOptions->colorName, QStringLiteral("#102030"));
        QCOMPARE(after.pythonConsoleOptions->sizeHeightDefault, 20);
        QCOMPARE(after.multimeterDisplayOptions->foregroundColorName, QStringLiteral("#203040"));
        QCOMPARE(after.multimeterDisplayOptions->extendPrecision, 4);
    }

    // The start replays the restored cursor choices onto the plot: the
    // handles show, the measured channel is taken, tracking turns the time
    // cursors on and shows that channel's tracers.
    void cursorsReplayedAtStart_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("channel");
        QTest::addColumn<bool>("tracking");
        QTest::newRow("manual on CH2") << true << "Manual" << "CH2" << false;
        QTest::newRow("tracking CH2 with the time cursors off") << false << "Track" << "CH2" << true;
        QTest::newRow("automatic on CH1") << true << "Automatic" << "CH1" << false;
    }
    void cursorsReplayedAtStart()
    {
        QFETCH(bool, vertical);
        QFETCH(QString, type);
        QFETCH(QString, channel);
        QFETCH(bool, tracking);
        clearStore();
        {
            QSettings settings;
            settings.setValue("Cursors/Vertical", vertical);
            settings.setValue("Cursors/Horizontal", true);
            settings.setValue("Cursors/HType", type);
            settings.setValue("Cursors/HChannel", channel);
        }
        VeskInterface w;
        QVERIFY(w.vCursorVisible);
        QVERIFY(w.ui->checkBoxCursorVertical->isChecked());
        QVERIFY(w.vCursorAHandle->visible() && w.vCursorFrequencyLabel->visible());
        QVERIFY(w.hCursorVisible);
        const int measured = channel == QLatin1String("CH2") ? 1 : 0;
        QCOMPARE(w.hCursorChannel, measured);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(w.cursorTracers[i]->visible(), tracking && i / 2 == measured);
        clearStore();
    }

    // A damaged store: the start goes on, and each value reaches its control
    // only within the control's range (or is not taken at all).
    void damagedValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QVariant>("expected");

        QTest::newRow("text for a slider") << "CH1/Gain" << QVariant("abc") << "ch1GainSlider.value" << QVariant(0);
        QTest::newRow("slider above its range") << "CH1/Position" << QVariant(99999) << "ch1PositionSlider.value" << QVariant(512);
        QTest::newRow("combo index past its items") << "SnifferUART/Baud" << QVariant(57) << "comboBoxBaud.currentIndex"
                                                    << QVariant(ui().comboBoxBaud->count() - 1);
        QTest::newRow("negative buffer index") << "Buffers/ADC" << QVariant(-5) << "comboBoxADCBuffer.currentIndex" << QVariant(0);
        QTest::newRow("tab past its pages") << "CurrentScopeTab" << QVariant(42) << "tabWidget1.currentIndex"
                                            << QVariant(ui().tabWidget1->count() - 1);
        QTest::newRow("not a number for a time") << "Trigger/TAuto" << QVariant("nan") << "doubleSpinBoxTrigAuto.value"
                                                 << QVariant(0.16384);
        QTest::newRow("not a digit") << "AWG/FDigit1000" << QVariant("x") << "labelFrequencyDigit1000.text" << QVariant("1");
        QTest::newRow("not a number for the amplitude") << "AWG/Amplitude" << QVariant("nan") << "amplitudeSlider.value"
                                                        << QVariant(116);
        QTest::newRow("two digits") << "AWG/FDigit10" << QVariant("99") << "labelFrequencyDigit10.text" << QVariant("0");
        QTest::newRow("constant cut toward zero") << "AWG/ConstantValue" << QVariant("-12.7") << "spinBoxConstant.value"
                                                  << QVariant(-12);
        QTest::newRow("trigger level beyond the scale") << "Trigger/CH0Coord/TLevel" << QVariant(5000) << "trigger0.level"
                                                        << QVariant(125);
        QTest::newRow("window level below the scale") << "Trigger/CH1Coord/TWin2Level" << QVariant(-400)
                                                      << "trigger1.win2Level" << QVariant(-125);
        QTest::newRow("trigger post before the frame") << "Trigger/CH2Coord/TPost" << QVariant(-7) << "trigger2.post" << QVariant(4);
        QTest::newRow("stored misspelling restores Normal") << "Trigger/Type" << QVariant("Triger")
                                                            << "radioButtonNormal.checked" << QVariant(true);
        QTest::newRow("the plain word matches nothing") << "Trigger/Type" << QVariant("Normal")
                                                        << "radioButtonNormal.checked" << QVariant(false);
        QTest::newRow("stored misspelling restores Period") << "MeterFC/Type" << QVariant("Reriod") << "radioPeriod.checked"
                                                            << QVariant(true);
        QTest::newRow("any other text is true") << "Display/Persistence" << QVariant("no") << "checkBoxPersistence.checked"
                                                << QVariant(true);
    }
    void damagedValues()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QString, what);
        QFETCH(QVariant, expected);
        clearStore();
        {
            QSettings settings;
            settings.setValue(key, stored);
        }
        VeskInterface window;
        const QVariant actual = stateOf(window, what);
        QVERIFY2(sameState(actual, expected), qPrintable(actual.toString()));
    }

    // The amplitude slider's every position survives a save and a load,
    // and amplitudes stored to two decimals land on the nearest position.
    void everyAmplitudePositionComesBack()
    {
        clearStore();
        VeskInterface window;
        QSlider *slider = window.ui->amplitudeSlider;
        for (int position = slider->minimum(); position <= slider->maximum(); ++position) {
            slider->setValue(position);
            window.deviceSettingsSave();
            slider->setValue(position == 0 ? 1 : 0);
            window.deviceSettingsLoad();
            QCOMPARE(slider->value(), position);
        }
        const std::pair<const char *, int> rounded[] = {{"0.83", 96}, {"0.03", 3}, {"2.00", 232}, {"9", 232}};
        for (const auto &stored : rounded) {
            QSettings().setValue(QStringLiteral("AWG/Amplitude"), QString::fromLatin1(stored.first));
            window.deviceSettingsLoad();
            QCOMPARE(slider->value(), stored.second);
        }
    }

    void cleanupTestCase()
    {
        freshWindow.reset();
    }

private:
    // A window made once to read the form's item counts from.
    Ui_VeskInterface &ui()
    {
        if (!freshWindow) {
            clearStore();
            freshWindow.reset(new VeskInterface);
        }
        return *freshWindow->ui;
    }

    std::unique_ptr<VeskInterface> freshWindow;
};

VESK_TEST_MAIN(TestLastSetup)
#include "tst_lastsetup.moc"
