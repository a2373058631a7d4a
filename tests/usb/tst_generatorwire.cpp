// The generator against the simulated instrument: a custom wave from a file
// to the instrument and the failed upload, the output enable the instrument
// turns down, the sweep set up by a script, every script setter's wire
// effect, and the DAC calibration steps.
#include "usbtestmain.h"

#include "usbwindowtest.h"

#include "logcapture.h"
#include "protocol.h"
#include "pythonengine.h"
#include "ui_veskinterface.h"
#include "veskinterface.h"

#include <memory>

class TestGeneratorWire : public UsbWindowTest
{
    Q_OBJECT

public:
    TestGeneratorWire() : UsbWindowTest(true) {}

private:
    // The wire log in short: a request's letter and wIndex, "O" for a bulk
    // OUT block.
    QString traffic() const
    {
        QStringList items;
        for (const WireRecord &record : instrument->wireLog()) {
            if (record.kind == WireRecord::BulkOut)
                items.append(QStringLiteral("O"));
            else
                items.append(QLatin1Char(char(record.request)) + QString::number(record.index));
        }
        return items.join(QLatin1Char(' '));
    }

    bool loadWave(const QString &file)
    {
        return window->customWaveLoadFile(VeskTest::sourcePath(QStringLiteral("tests/data/customwave/") + file));
    }

private slots:
    // Both halves reach the instrument byte for byte, flagged as an upload,
    // and only then does the instrument play the custom wave.
    void customWaveUpload()
    {
        window->clickRadioButtonSine();
        QVERIFY(loadWave(QStringLiteral("spreadsheet.csv")));
        QVERIFY(window->ui->saveAWGButton->isEnabled());
        instrument->clearWireLog();

        window->ui->saveAWGButton->click();

        QCOMPARE(traffic(), QStringLiteral("A10 O E0 O E1 A10 A31"));
        const auto mixed = instrument->controlRequests(REQ_SET_CONFIG);
        QVERIFY(mixed.at(0).value & MIXED_WAVE_UPLOAD);
        QVERIFY(!(mixed.at(1).value & MIXED_WAVE_UPLOAD));
        std::vector<int16_t> expected(CUSTOM_WAVE_SAMPLES, 0);
        const int16_t loaded[] = {100, -200, 300, 400, -1};
        std::copy(std::begin(loaded), std::end(loaded), expected.begin());
        QCOMPARE(instrument->customWave(), expected);
        QCOMPARE(instrument->configurationValue(CFG_WAVE_TYPE), int(WAVE_CUSTOM));
        QVERIFY(window->ui->radioButtonCustom->isChecked());
        QCOMPARE(window->ui->collapsiblePanelAWGWaveform->text(), QStringLiteral("Custom "));
        QCOMPARE(window->ui->progressBar->value(), 0);
    }

    // A wave that did not arrive is not reported as playing.
    void failedUploadKeepsTheWaveType()
    {
        window->clickRadioButtonSine();
        QVERIFY(loadWave(QStringLiteral("signed.txt")));
        instrument->setBulkOutFailing(true);
        instrument->clearWireLog();
        LogCapture log;

        window->ui->saveAWGButton->click();

        QVERIFY(!traffic().contains(QStringLiteral("A31")));
        QVERIFY(!traffic().contains(QStringLiteral("E0")));
        QVERIFY(window->ui->radioButtonSine->isChecked());
        QCOMPARE(window->ui->collapsiblePanelAWGWaveform->text(), QStringLiteral("Sine "));
        QCOMPARE(window->ui->infoLabel->text(), QStringLiteral("Custom wave upload failed"));
        QCOMPARE(log.count(QStringLiteral("Custom wave upload failed")), 1);
        QCOMPARE(window->ui->progressBar->value(), 0);
    }

    // A level typed into its box goes out once, when the typing ends, as the
    // nearest slider position, and the box then shows what that gives.
    void typedLevels_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("sent");
        QTest::newRow("amplitude") << "doubleSpinBoxAmp" << 116 << "1.25" << 145 << "1.25" << 145;
        QTest::newRow("amplitude at the top") << "doubleSpinBoxAmp" << 116 << "2" << 232 << "2.00" << 232;
        QTest::newRow("duty") << "doubleSpinBoxDuty" << 133 << "25.5" << 65 << "25.4" << 65;
        QTest::newRow("duty beyond the slider, already there") << "doubleSpinBoxDuty" << 255 << "99.9" << 255 << "99.6" << 255;
        QTest::newRow("offset") << "doubleSpinBoxOffset" << 0 << "0.75" << 48 << "0.75" << 48;
        QTest::newRow("offset negative") << "doubleSpinBoxOffset" << 0 << "-1.3" << -83 << "-1.30" << 173;
        QTest::newRow("constant") << "spinBoxConstant" << 0 << "20000" << 20000 << "20000" << 20000;
        QTest::newRow("constant negative") << "spinBoxConstant" << 100 << "-29696" << -29696 << "-29696" << -29696;
    }
    void typedLevels()
    {
        QFETCH(QString, box);
        QFETCH(int, before);
        QFETCH(QString, typed);
        QFETCH(int, position);
        const QMap<QString, std::pair<QSlider *, int>> levels{
            {"doubleSpinBoxAmp", {window->ui->amplitudeSlider, CFG_WAVE_AMPLITUDE}},
            {"doubleSpinBoxDuty", {window->ui->dutyCycleSlider, CFG_WAVE_DUTY}},
            {"doubleSpinBoxOffset", {window->ui->offsetSlider, CFG_WAVE_OFFSET}},
            {"spinBoxConstant", {window->ui->horizontalSliderConstant, CFG_WAVE_CONSTANT_LEVEL}}};
        auto *spinBox = window->findChild<QAbstractSpinBox *>(box);
        QSlider *slider = levels.value(box).first;
        const int index = levels.value(box).second;
        slider->setValue(before);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        spinBox->setFocus();
        instrument->clearWireLog();

        QTest::keyClick(spinBox, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(spinBox, typed);
        QCOMPARE(traffic(), QString());
        QTest::keyClick(spinBox, Qt::Key_Return);

        QCOMPARE(slider->value(), position);
        QTEST(int(instrument->configurationValue(index)), "sent");
        QTEST(spinBox->text(), "shown");
        QCOMPARE(traffic().split(QLatin1Char(' ')).count(QStringLiteral("A%1").arg(index)), position != before ? 1 : 0);
    }

    // After the one retry with a smaller oscilloscope buffer, a generator the
    // instrument still turns down is shown as off and the oscilloscope gets
    // its buffer back; an odd reply is no refusal and is logged as what it is.
    void outputEnable_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("replyLength");
        QTest::addColumn<QString>("wire");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("logged");
        QTest::newRow("accepted") << false << 2 << "B2 G3 G4" << true << "";
        QTest::newRow("refused twice") << true << 2 << "B2 A25 G3 G4 A3 A4 B2 A25 G3 G4 A3 A4" << false
                                       << "Generator enable refused by the instrument";
        QTest::newRow("one-byte reply") << false << 1 << "B2" << true
                                        << "Confirmed write of index 2: reply of 1 bytes, 2 expected";
    }
    void outputEnable()
    {
        QFETCH(bool, refused);
        QFETCH(int, replyLength);
        QFETCH(QString, logged);
        window->ui->checkBoxAWBEnable->setChecked(false);
        window->ui->comboBoxADCBuffer->setCurrentIndex(9);
        const int channelBlocks = instrument->configurationValue(CFG_CH_BUFFER_BLOCKS);
        instrument->setConfirmRefused(refused);
        instrument->setConfirmReplyLength(replyLength);
        instrument->clearWireLog();
        LogCapture log;

        window->ui->checkBoxAWBEnable->click();

        QTEST(traffic(), "wire");
        QTEST(window->ui->checkBoxAWBEnable->isChecked(), "checked");
        QCOMPARE(instrument->configurationValue(CFG_CH_BUFFER_BLOCKS), channelBlocks);
        QCOMPARE(window->ui->comboBoxADCBuffer->currentIndex(), 9);
        const QStringList oddLines = log.messages().filter(QStringLiteral("refused")) + log.messages().filter(QStringLiteral("expected"));
        QCOMPARE(oddLines, logged.isEmpty() ? QStringList() : QStringList{logged});
    }

    // The instrument derives its output frequency from the DAC buffer's
    // length: a new length is followed by the set frequency and its read-back,
    // and the display shows what the instrument now puts out.
    void dacBufferKeepsTheSetFrequency()
    {
        QComboBox *buffer = window->ui->comboBoxDACBuffer;
        QCOMPARE(buffer->itemText(1), QStringLiteral("512"));
        buffer->setCurrentIndex(1);
        window->setAwgFrequency(11000);
        auto *shown = window->ui->multimeterdisplayAWGFrequency->findChild<QLabel *>(QStringLiteral("labelValue"));
        QCOMPARE(shown->text(), QStringLiteral("10416.67"));
        instrument->clearWireLog();

        buffer->setCurrentIndex(0);

        QCOMPARE(traffic(), QStringLiteral("A24 G3 G4 F%1 G5").arg(1100000 & 0xFFFF));
        QCOMPARE(instrument->configurationValue(CFG_DAC_BUFFER_BLOCKS), 1);
        QCOMPARE(shown->text(), QStringLiteral("11363.64"));
    }

    void sweepFromAScript()
    {
        window->setAwgSweepEnabled(true);
        window->clickRadioButtonSweepDutyCycle();
        window->clickRadioButtonSweepDirectionFaling();
        window->setAwgSweepSpeed(200);
        window->setAwgSweepEnd(100);
        window->setAwgSweepStart(250);
        QCOMPARE(instrument->configurationValue(CFG_SWEEP_CONTROL), int(SWEEP_FALLING | SWEEP_DUTY));
        QCOMPARE(instrument->configurationValue(CFG_SWEEP_SPEED), 127);
        QCOMPARE(instrument->configurationValue(CFG_SWEEP_START), 100);
        QCOMPARE(instrument->configurationValue(CFG_SWEEP_END), 100);

        window->setAwgSweepEnabled(false);
        QCOMPARE(instrument->configurationValue(CFG_SWEEP_CONTROL), int(SWEEP_FALLING));
    }

    // Every script setter reaches the instrument as its own control would;
    // each row starts where its value is not yet on the wire.
    void scriptSetters_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("expected");
        const QString sweepOn = QStringLiteral("veskAWG.setSweepEnabled(True)\n");
        QTest::newRow("square") << "" << "setWaveformSquare()" << int(CFG_WAVE_TYPE) << int(WAVE_SQUARE);
        QTest::newRow("sine") << "veskAWG.setWaveformSquare()" << "setWaveformSine()" << int(CFG_WAVE_TYPE)
                              << int(WAVE_SINE);
        QTest::newRow("triangle") << "" << "setWaveformTriangle()" << int(CFG_WAVE_TYPE) << int(WAVE_TRIANGLE);
        QTest::newRow("expo") << "" << "setWaveformExpo()" << int(CFG_WAVE_TYPE) << int(WAVE_EXPONENTIAL);
        QTest::newRow("constant") << "" << "setWaveformConstant()" << int(CFG_WAVE_TYPE) << int(WAVE_CONSTANT);
        QTest::newRow("custom") << "" << "setWaveformCustom()" << int(CFG_WAVE_TYPE) << int(WAVE_CUSTOM);
        QTest::newRow("white noise") << "" << "setWaveformWhiteNoise()" << int(CFG_WAVE_TYPE)
                                     << int(WAVE_WHITE_NOISE);
        QTest::newRow("pink noise") << "" << "setWaveformPinkNoise()" << int(CFG_WAVE_TYPE) << int(WAVE_PINK_NOISE);
        QTest::newRow("frequency") << "" << "setFrequency(1234.56)" << int(CFG_WAVE_FREQUENCY) << 123456;
        QTest::newRow("amplitude") << "" << "setLevelsAmplitude(1.5)" << int(CFG_WAVE_AMPLITUDE) << 174;
        QTest::newRow("duty cycle") << "" << "setLevelsDutyCycle(25)" << int(CFG_WAVE_DUTY) << 64;
        QTest::newRow("offset") << "" << "setLevelsOffset(-1)" << int(CFG_WAVE_OFFSET) << 0xC0; // -64 as a byte
        // The sweep starts out over the duty cycle, ping-pong.
        const int pingPong = SWEEP_PING_PONG;
        QTest::newRow("sweep on") << "" << "setSweepEnabled(True)" << int(CFG_SWEEP_CONTROL)
                                  << int(SWEEP_DUTY | pingPong);
        QTest::newRow("sweep off") << sweepOn << "setSweepEnabled(False)" << int(CFG_SWEEP_CONTROL) << pingPong;
        QTest::newRow("sweeps amplitude") << sweepOn << "setSweepTypeAmplitude()" << int(CFG_SWEEP_CONTROL)
                                          << int(SWEEP_AMPLITUDE | pingPong);
        QTest::newRow("sweeps duty cycle") << sweepOn + "veskAWG.setSweepTypeOffset()" << "setSweepTypeDutyCycle()"
                                           << int(CFG_SWEEP_CONTROL) << int(SWEEP_DUTY | pingPong);
        QTest::newRow("sweeps offset") << sweepOn << "setSweepTypeOffset()" << int(CFG_SWEEP_CONTROL)
                                       << int(SWEEP_OFFSET | pingPong);
        QTest::newRow("sweeps frequency") << sweepOn << "setSweepTypeFrequency()" << int(CFG_SWEEP_CONTROL)
                                          << int(SWEEP_FREQUENCY | pingPong);
        QTest::newRow("falling") << sweepOn << "setSweepDirectionFaling()" << int(CFG_SWEEP_CONTROL)
                                 << int(SWEEP_DUTY | SWEEP_FALLING);
        QTest::newRow("ping-pong") << sweepOn + "veskAWG.setSweepDirectionFaling()" << "setSweepDirectionPingPong()"
                                   << int(CFG_SWEEP_CONTROL) << int(SWEEP_DUTY | pingPong);
        QTest::newRow("rising") << sweepOn + "veskAWG.setSweepDirectionFaling()" << "setSweepDirectionRising()"
                                << int(CFG_SWEEP_CONTROL) << int(SWEEP_DUTY);
        QTest::newRow("sweep speed") << "" << "setSweepSpeed(100)" << int(CFG_SWEEP_SPEED) << 100;
        QTest::newRow("sweep start") << "" << "setSweepStart(50)" << int(CFG_SWEEP_START) << 50;
        QTest::newRow("sweep end") << "" << "setSweepEnd(200)" << int(CFG_SWEEP_END) << 200;
    }
    void scriptSetters()
    {
        QFETCH(QString, setup);
        QFETCH(QString, call);
        QFETCH(int, item);
        QFETCH(int, expected);
        window->ui->actionConsole->trigger();
        PythonEngine *engine = PythonEngine::instance();
        QVERIFY(engine->runCode(setup, QStringLiteral("<setup>")));
        QVERIFY(instrument->configurationValue(item) != expected);
        QVERIFY(engine->runCode(QStringLiteral("veskAWG.") + call, QStringLiteral("<call>")));
        QCOMPARE(instrument->configurationValue(item), expected);
    }

    // A step is applied at once and offers OK; OK stores it and is put away.
    void dacCalibration()
    {
        // The calibration group is locked until the user unlocks it, so the
        // buttons' own enabled state is what is read.
        const auto offered = [](const QToolButton *button) { return !button->testAttribute(Qt::WA_ForceDisabled); };
        QToolButton *offsetOk = window->ui->toolButtonDACOffsetOK;
        QToolButton *gainOk = window->ui->toolButtonDACGainOK;
        QVERIFY(!offered(offsetOk));
        QMetaObject::invokeMethod(window.get(), "on_toolButtonDACOffsetPlus_clicked");
        QVERIFY(offered(offsetOk));
        QVERIFY(!offered(gainOk));
        QMetaObject::invokeMethod(window.get(), "on_toolButtonDACGainMinus_clicked");
        QMetaObject::invokeMethod(window.get(), "on_toolButtonDACOffsetOK_clicked");
        QVERIFY(!offered(offsetOk));
        QVERIFY(offered(gainOk));

        QStringList sent;
        for (const WireRecord &record : instrument->controlRequests(REQ_CALIBRATE))
            sent.append(QStringLiteral("%1/%2").arg(record.index).arg(record.value));
        QCOMPARE(sent.join(QLatin1Char(' ')), QStringLiteral("0/1 1/65535 0/0"));
    }
};

VESK_USB_TEST_MAIN(TestGeneratorWire)
#include "tst_generatorwire.moc"
