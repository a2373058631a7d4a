// The window's connection to the simulated instrument: the automatic connect
// at start-up with its wire sequence and settings block, disconnect and
// reconnect, a rejected or unidentified instrument, a link lost while
// streaming, while the settings go out or under running console code, and
// the delayed oscilloscope start.
#include "usbtestmain.h"
#include "modalanswerer.h"

#include "profilefolder.h"

#include "configencoding.h"
#include "filepermissionsenforced.h"
#include "logcapture.h"
#include "protocol.h"
#include "pythonengine.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include <QSettings>
#include <QSignalSpy>

#include <cstring>
#include <memory>

using namespace ConfigEncoding;

namespace {

const QString titleConnected = QStringLiteral("Vesk v.1.2   Interface - USB Connected");
const QString titleNotConnected = QStringLiteral("Vesk v.1.2   Interface - Not Connected");
const QString titleDisconnecting = QStringLiteral("Vesk v.1.2   Interface - Disconnecting... wait");
const QString titleLost = QStringLiteral("Vesk v.1.2   Interface - Connection lost... wait");
constexpr int connectTimeoutMs = 15000;

bool isRequest(const WireRecord &record, uint8_t request, int index = -1)
{
    return record.kind == WireRecord::Control && record.request == request && (index < 0 || record.index == index);
}

// Position of the first record at or after `from` that matches, or -1.
int find(const std::vector<WireRecord> &wire, uint8_t request, int index = -1, size_t from = 0)
{
    for (size_t i = from; i < wire.size(); ++i) {
        if (isRequest(wire[i], request, index))
            return int(i);
    }
    return -1;
}

int count(const std::vector<WireRecord> &wire, uint8_t request, int index = -1)
{
    int n = 0;
    for (const WireRecord &record : wire)
        n += isRequest(record, request, index) ? 1 : 0;
    return n;
}

int findBulk(const std::vector<WireRecord> &wire)
{
    for (size_t i = 0; i < wire.size(); ++i) {
        if (wire[i].kind == WireRecord::BulkOut)
            return int(i);
    }
    return -1;
}

QString describe(const WireRecord &record)
{
    return QString::fromStdString(record.toText());
}

// The settings block the window should send, computed from its controls
// through the encodings: item index → value. Items the collection never
// writes are left out.
QMap<int, int> expectedBlock(VeskInterface &w)
{
    Ui_VeskInterface *ui = w.ui;
    QMap<int, int> block;
    const auto channel = [](QCheckBox *trace, QCheckBox *ac, QCheckBox *invert, QCheckBox *average, QCheckBox *math,
                            QRadioButton *sub, QRadioButton *multiply) {
        ChannelControls controls;
        controls.trace = trace->isChecked();
        controls.acCoupling = ac->isChecked();
        controls.invert = invert->isChecked();
        controls.average = average->isChecked();
        controls.math = math->isChecked();
        controls.subtract = sub->isChecked();
        controls.multiply = multiply->isChecked();
        return int(channelControls(controls));
    };
    block[CFG_CH1_CONTROL] = channel(ui->checkBoxCH1Trace, ui->checkBoxCH1ACDC, ui->checkBoxCH1Invert,
                                     ui->checkBoxCH1Average, ui->checkBoxCH1Math, ui->radioButtonCH1Sub,
                                     ui->radioButtonCH1Multiply);
    block[CFG_CH2_CONTROL] = channel(ui->checkBoxCH2Trace, ui->checkBoxCH2ACDC, ui->checkBoxCH2Invert,
                                     ui->checkBoxCH2Average, ui->checkBoxCH2Math, ui->radioButtonCH2Sub,
                                     ui->radioButtonCH2Multiply);
    block[CFG_CH1_GAIN] = lowByte(ui->ch1GainSlider->value());
    block[CFG_CH2_GAIN] = lowByte(ui->ch2GainSlider->value());
    std::array<bool, 8> bits{};
    QCheckBox *const bitBoxes[8] = {ui->checkBoxCHD0, ui->checkBoxCHD1, ui->checkBoxCHD2, ui->checkBoxCHD3,
                                    ui->checkBoxCHD4, ui->checkBoxCHD5, ui->checkBoxCHD6, ui->checkBoxCHD7};
    for (size_t bit = 0; bit < 8; ++bit)
        bits[bit] = bitBoxes[bit]->isChecked();
    block[CFG_CHD_BITS] = logicBits(bits);

    TriggerButtons trigger;
    trigger.free = ui->radioButtonFree->isChecked();
    trigger.normal = ui->radioButtonNormal->isChecked();
    trigger.single = ui->radioButtonSingle->isChecked();
    trigger.automatic = ui->radioButtonAuto->isChecked();
    trigger.risingEdge = ui->radioButtonRisingEdge->isChecked();
    trigger.fallingEdge = ui->radioButtonFallingEdge->isChecked();
    trigger.positiveSlope = ui->radioButtonPositiveSlope->isChecked();
    trigger.negativeSlope = ui->radioButtonNegativeSlope->isChecked();
    trigger.window = ui->radioButtonWindow->isChecked();
    block[CFG_TRIGGER_CONTROL] = triggerControls(trigger);
    block[CFG_AUTO_TRIGGER] = autoTrigger(ui->doubleSpinBoxTrigAuto->value());
    block[CFG_TRIGGER_HOLD] = lowByte(int(ui->doubleSpinBoxTrigHold->value()));
    const TriggerCoord &record = w.triggerCoords[w.triggerChannel];
    block[CFG_TRIGGER_LEVEL] = record.level;
    block[CFG_TRIGGER_WIN1_LEVEL] = record.win1Level;
    block[CFG_TRIGGER_WIN2_LEVEL] = record.win2Level;
    block[CFG_TRIGGER_POST] = triggerPost(w.scopeSizeX, record.post);
    block[CFG_MIXED_CONTROL] = mixedControls(ui->rollMode->isChecked(), ui->elasticMode->isChecked(),
                                             ui->radioButtonSniffSingle->isChecked(),
                                             ui->checkBoxmeterondev->isChecked(), false);
    block[CFG_SAMPLING_RATE] = lowByte(ui->samplingSlider->value());

    const std::array<bool, 10> gate = {ui->fcR0_2->isChecked(), ui->fcR1_2->isChecked(), ui->fcR2_2->isChecked(),
                                       ui->fcR3_2->isChecked(), ui->fcR4_2->isChecked(), ui->fcR5_2->isChecked(),
                                       ui->fcR6_2->isChecked(), ui->fcR7_2->isChecked(), ui->fcR10_2->isChecked(),
                                       ui->fcR11_2->isChecked()};
    block[CFG_GATE_SOURCE] = sourceCode(gate, gateSourceWhenNone);
    block[CFG_METER_FREQUENCY_CONTROL] =
        meterFrequencyControl(ui->checkBoxFreqFastMode->isChecked(), ui->radioFrequencyGatePeriod->isChecked());

    const std::array<bool, 8> waves = {ui->radioButtonConstant->isChecked(), ui->radioButtonCustom->isChecked(),
                                       ui->radioButtonExpo->isChecked(),     ui->radioButtonTriangle->isChecked(),
                                       ui->radioButtonSquare->isChecked(),   ui->radioButtonSine->isChecked(),
                                       ui->radioButtonPinkNoise->isChecked(), ui->radioButtonWhiteNoise->isChecked()};
    block[CFG_WAVE_TYPE] = waveType(waves).code;
    block[CFG_WAVE_AMPLITUDE] = waveAmplitude(ui->amplitudeSlider->value());
    block[CFG_WAVE_DUTY] = waveDuty(ui->dutyCycleSlider->value());
    block[CFG_WAVE_OFFSET] = waveOffset(ui->offsetSlider->value());
    long long frequency = 0;
    for (QLabel *digit : {ui->labelFrequencyDigit100000, ui->labelFrequencyDigit10000, ui->labelFrequencyDigit1000,
                          ui->labelFrequencyDigit100, ui->labelFrequencyDigit10, ui->labelFrequencyDigit1,
                          ui->labelFrequencyDigit01, ui->labelFrequencyDigit001})
        frequency = frequency * 10 + digit->text().toInt();
    block[CFG_WAVE_FREQUENCY] = int(waveFrequency(frequency));
    block[CFG_SWEEP_SPEED] = sweepSpeed(ui->sweepSpeedSlider->value());
    SweepButtons sweep;
    sweep.falling = ui->radioButtonSweepFalling->isChecked();
    sweep.pingPong = ui->radioButtonSweepPingPong->isChecked();
    sweep.enabled = ui->collapsiblePanelAWGSweep->isChecked();
    sweep.frequency = ui->radioButtonSweepFrequency->isChecked();
    sweep.amplitude = ui->radioButtonSweepAmplitude->isChecked();
    sweep.offset = ui->radioButtonSweepOffset->isChecked();
    sweep.dutyCycle = ui->radioButtonSweepDutyCycle->isChecked();
    block[CFG_SWEEP_CONTROL] = sweepControls(sweep);
    block[CFG_SWEEP_START] = lowByte(ui->sweepStartFreqSlider->value());
    block[CFG_SWEEP_END] = lowByte(ui->sweepEndFreqSlider->value());

    SnifferOptions sniffer;
    sniffer.parityIndex = ui->comboBoxParity->currentIndex();
    sniffer.stopBitsIndex = ui->comboBoxStopBits->currentIndex();
    sniffer.synchro = ui->checkBoxSynchro->isChecked();
    sniffer.parallelInvert = ui->checkBoxSniffParallelInputInvert->isChecked();
    sniffer.ssInvertIndex = ui->comboBoxSniffSSINV->currentIndex();
    sniffer.cpolIndex = ui->comboBoxCPOL->currentIndex();
    sniffer.cphaIndex = ui->comboBoxCPHA->currentIndex();
    block[CFG_SNIFFER_OPTIONS] = snifferOptions(sniffer);
    block[CFG_SNIFFER_USART] = snifferUsart(ui->comboBoxBaud->currentIndex(), ui->comboBoxUARTData->currentIndex());
    block[CFG_SNIFFER_STROBE] = ui->comboBoxSniffParallelStrobe->currentIndex();
    block[CFG_DECODE_PROTOCOL] = lowByte(ui->protocolTabWidget->currentIndex());

    // The oscilloscope tab decides the mode and gives the trigger source back.
    block[CFG_MAIN_MODE] = MODE_SCOPE;
    block[CFG_TRIGGER_SOURCE] = ui->comboBoxTrigSource->currentIndex();
    return block;
}

// Control requests as bRequest and wIndex, in wire order.
using Requests = QVector<QPair<int, int>>;

int32_t blockSlot(const std::vector<uint8_t> &bytes, int slot)
{
    int32_t value = 0;
    std::memcpy(&value, bytes.data() + 4 * slot, sizeof value);
    return value;
}

} // namespace

class TestDeviceConnection : public QObject
{
    Q_OBJECT

private:
    ProfileFolder profileFolder;
    std::unique_ptr<SimulatedInstrument> instrument;
    std::unique_ptr<VeskInterface> window;

    void startInstrument()
    {
        instrument.reset(new SimulatedInstrument);
        std::string error;
        QVERIFY2(instrument->start(&error), error.c_str());
    }

    // A window whose automatic connect has finished, with the title it ended at.
    void startWindow(const QString &expectedTitle)
    {
        window.reset(new VeskInterface);
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), expectedTitle, connectTimeoutMs);
    }

    Ui_VeskInterface *ui() const { return window->ui; }

    // The connected look, with acquisition started by the delayed start.
    void verifyConnected()
    {
        QCOMPARE(window->windowTitle(), titleConnected);
        QCOMPARE(ui()->connectLabel->text(), QString("USB Connected"));
        QCOMPARE(ui()->connectButton->text(), QString("Disconnect"));
        QCOMPARE(ui()->infoLabel->text(), QString("USB Connected"));
        QVERIFY(ui()->centralWidget->isEnabled());
        QVERIFY(window->libUsbDevice.connected);
    }

    void verifyNotConnected()
    {
        QCOMPARE(window->windowTitle(), titleNotConnected);
        QCOMPARE(ui()->connectLabel->text(), QString("Not Connected"));
        QCOMPARE(ui()->connectButton->text(), QString("Connect"));
        QVERIFY(!window->libUsbDevice.connected);
        QVERIFY(!instrument->interfaceClaimed());
    }

private slots:
    void initTestCase()
    {
        // The connection attempt reads the hardware profile from the working folder.
        QVERIFY(profileFolder.enter());
    }

    void init()
    {
        QSettings settings;
        settings.clear();
        settings.sync();
        startInstrument();
    }
    void cleanup()
    {
        // Every libusb handle closed before the instrument goes.
        window.reset();
        instrument.reset();
    }

    // With no user action: identification, health, stop, what the handlers
    // send themselves while the block is collected, the block and its
    // commit, the requests that need replies, and the start two seconds on.
    void connectsAtStartUp()
    {
        window.reset(new VeskInterface);
        // The controls as the connection will find them: it runs once the
        // event loop does.
        const QMap<int, int> expected = expectedBlock(*window);
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), titleConnected, connectTimeoutMs);
        verifyConnected();
        QCOMPARE(ui()->textBrowserDeviceInfo->toPlainText().section('\n', 0, 0),
                 QString("Device connected: ") + QString::fromStdString(SimulatedInstrument::defaultIdentification()));
        QVERIFY(ui()->textBrowserDeviceInfo->toPlainText().contains("Health status"));
        // The event loop runs the delayed start.
        QTRY_VERIFY_WITH_TIMEOUT(find(instrument->wireLog(), REQ_RUN_CONTROL, RUN_SCOPE_START,
                                      size_t(findBulk(instrument->wireLog()) + 1))
                                     > 0,
                                 4000);
        QVERIFY(instrument->waitForFrames(3, 4000));

        const std::vector<WireRecord> wire = instrument->wireLog();
        QVERIFY(wire.size() > 6);
        QVERIFY2(isRequest(wire[0], REQ_READ, READ_DEVICE_INFO) && wire[0].length == REPLY_DEVICE_INFO_LENGTH,
                 qPrintable(describe(wire[0])));
        QVERIFY2(isRequest(wire[1], REQ_READ, READ_HEALTH), qPrintable(describe(wire[1])));
        QVERIFY2(isRequest(wire[2], REQ_RUN_CONTROL, RUN_SCOPE_STOP), qPrintable(describe(wire[2])));

        // While collecting, only the requests the handlers make themselves.
        const int bulk = findBulk(wire);
        QVERIFY(bulk > 2);
        for (int i = 3; i < bulk; ++i) {
            const WireRecord &record = wire[size_t(i)];
            const bool own = isRequest(record, REQ_RUN_CONTROL, RUN_SCOPE_START)
                             || isRequest(record, REQ_RUN_CONTROL, RUN_SNIFFER_STOP)
                             || isRequest(record, REQ_READ, READ_AWG_FREQUENCY);
            QVERIFY2(own, qPrintable(describe(record)));
        }
        const std::vector<WireRecord> collecting(wire.begin() + 3, wire.begin() + bulk);
        QVERIFY(count(collecting, REQ_RUN_CONTROL, RUN_SNIFFER_STOP) >= 1);
        QVERIFY(count(collecting, REQ_READ, READ_AWG_FREQUENCY) >= 1);
        QCOMPARE(count(collecting, REQ_RUN_CONTROL, RUN_SCOPE_START) > 0, !ui()->radioButtonSingle->isChecked());

        // The block as the controls say, every slot the collection does not
        // write still zero (as the window made it).
        const WireRecord &block = wire[size_t(bulk)];
        QCOMPARE(int(block.data.size()), BULK_BLOCK_SIZE);
        for (int slot = 0; slot < SETTINGS_SLOT_COUNT; ++slot) {
            const int want = expected.value(slot, 0);
            QVERIFY2(blockSlot(block.data, slot) == want,
                     qPrintable(QString("slot %1 is %2, not %3").arg(slot).arg(blockSlot(block.data, slot)).arg(want)));
        }
        QVERIFY2(isRequest(wire[size_t(bulk + 1)], REQ_COMMIT_BULK, BULK_SETTINGS),
                 qPrintable(describe(wire[size_t(bulk + 1)])));

        // The requests that need the instrument's answer, in their order.
        const size_t after = size_t(bulk + 2);
        const int dacBlocks = find(wire, REQ_SET_CONFIG, CFG_DAC_BUFFER_BLOCKS, after);
        const int adcBlocks = find(wire, REQ_SET_CONFIG, CFG_CH_BUFFER_BLOCKS, after);
        const int frequency = find(wire, REQ_SET_AWG_FREQUENCY, -1, after);
        const int ch1 = find(wire, REQ_SET_CONFIG_CONFIRM, CFG_CH1_CONTROL, after);
        const int ch2 = find(wire, REQ_SET_CONFIG_CONFIRM, CFG_CH2_CONTROL, after);
        const int logic = find(wire, REQ_SET_CONFIG_CONFIRM, CFG_CHD_CONTROL, after);
        const int dac = find(wire, REQ_SET_CONFIG_CONFIRM, CFG_DAC_CONTROL, after);
        const int start = find(wire, REQ_RUN_CONTROL, RUN_SCOPE_START, after);
        QVERIFY(dacBlocks == int(after));
        QVERIFY(dacBlocks < adcBlocks && adcBlocks < frequency && frequency < ch1 && ch1 < ch2 && ch2 < logic
                && logic < dac && dac < start);
        QVERIFY(find(wire, REQ_READ, READ_AWG_FREQUENCY, size_t(frequency)) < ch1);
        // Started once, two seconds after the settings went out.
        QCOMPARE(count(std::vector<WireRecord>(wire.begin() + long(after), wire.end()), REQ_RUN_CONTROL,
                       RUN_SCOPE_START),
                 1);
        const int64_t delayUs = wire[size_t(start)].timestampUs - wire[size_t(start - 1)].timestampUs;
        // A busy (or sanitized) event loop runs the timer late, never early.
        QVERIFY2(delayUs >= 1990000 && delayUs < 5000000, qPrintable(QString::number(delayUs)));
        QVERIFY(instrument->scopeRunning());
    }

    void noInstrument()
    {
        instrument->unplug();
        startWindow(titleNotConnected);
        QTRY_COMPARE(ui()->infoLabel->text(), QString("Cannot open device"));
        QVERIFY(ui()->centralWidget->isEnabled());
        QCOMPARE(ui()->connectButton->text(), QString("Connect"));
        QVERIFY(!window->libUsbDevice.connected);
    }

    void disconnectAndReconnect()
    {
        startWindow(titleConnected);
        // The stop button names the next action: stopping, once acquisition runs.
        QTRY_COMPARE_WITH_TIMEOUT(ui()->stopButton->text(), QString("STOP"), 4000);
        instrument->clearWireLog();
        QSignalSpy titles(window.get(), &QWidget::windowTitleChanged);
        ui()->connectButton->click();
        verifyNotConnected();
        QCOMPARE(titles.value(0).value(0).toString(), titleDisconnecting);
        QVERIFY(isRequest(instrument->wireLog().at(0), REQ_DISCONNECT));
        QCOMPARE(ui()->connectIcon->pixmap(Qt::ReturnByValue).toImage(),
                 QPixmap(":/icons/led-off.png").toImage());
        QVERIFY(ui()->textBrowserDeviceInfo->toPlainText().isEmpty());
        QVERIFY(ui()->infoLabel->text().isEmpty());
        QVERIFY(ui()->centralWidget->isEnabled());
        QCOMPARE(ui()->stopButton->text(), QString("START"));

        ui()->connectButton->click();
        verifyConnected();
        QCOMPARE(ui()->connectIcon->pixmap(Qt::ReturnByValue).toImage(),
                 QPixmap(":/icons/led-on.png").toImage());
    }

    // Every failure after the device was opened ends where the controls tell
    // the truth: the instrument released and closed, nothing sent beyond the
    // failure path's requests, the reason on an enabled info line, and a
    // Connect button that connects.
    void failedConnectionReleasesTheInstrument_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QStringList>("boxes");
        // The requests the failure path sends: bRequest, wIndex.
        QTest::addColumn<Requests>("wire");
        // What the device-information pane keeps after the boxes, until the
        // next attempt: the identification line first, then what it contains.
        QTest::addColumn<QStringList>("pane");
        const QPair<int, int> identification{REQ_READ, READ_DEVICE_INFO};
        const QPair<int, int> health{REQ_READ, READ_HEALTH};
        const QPair<int, int> disconnect{REQ_DISCONNECT, 0};
        QTest::newRow("hardware version rejected")
            << "VESKSIM.2.1 newer hardware" << "Hardware version (VESKSIM.2.1) not supported"
            << QStringList{"Hardware / Hardware version (VESKSIM.2.1) not supported"}
            << Requests{identification, health, disconnect}
            << QStringList{"Device connected: VESKSIM.2.1 newer hardware", "Health status"};
        QTest::newRow("both versions rejected")
            << "VESKSIM.2.9" << "Software version (VESKSIM.2.9) not supported"
            << QStringList{"Hardware / Hardware version (VESKSIM.2.9) not supported",
                           "Software / Software version (VESKSIM.2.9) not supported"}
            << Requests{identification, health, disconnect}
            << QStringList{"Device connected: VESKSIM.2.9", "Health status"};
        QTest::newRow("unknown model") << "OTHER.1.1" << "hardware (OTHER.1.1) not suported"
                                       << QStringList{"Hardware / hardware (OTHER.1.1) not suported"}
                                       << Requests{identification, disconnect}
                                       << QStringList{"Device connected: OTHER.1.1"};
        QTest::newRow("short identification")
            << "short" << "Device initializing: unknow device, disconnecting ..." << QStringList()
            << Requests{identification, disconnect} << QStringList();
        QTest::newRow("claim refused") << "claim" << "Cannot Claim Interface" << QStringList()
                                       << Requests() << QStringList();
    }
    void failedConnectionReleasesTheInstrument()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        QFETCH(QStringList, boxes);
        QFETCH(Requests, wire);
        QFETCH(QStringList, pane);
        if (fault == "short")
            instrument->setIdentificationLength(40);
        else if (fault == "claim")
            instrument->setClaimRefused(true);
        else
            instrument->setIdentification(fault.toStdString());
        ModalAnswerer closer;
        LogCapture log;
        window.reset(new VeskInterface);
        QSignalSpy titles(window.get(), &QWidget::windowTitleChanged);
        QTRY_COMPARE_WITH_TIMEOUT(ui()->infoLabel->text(), reason, connectTimeoutMs);
        QCOMPARE(closer.messages, boxes);
        verifyNotConnected();
        QVERIFY(ui()->centralWidget->isEnabled());
        const QString kept = ui()->textBrowserDeviceInfo->toPlainText();
        QCOMPARE(kept.section('\n', 0, 0), pane.value(0));
        for (const QString &part : pane)
            QVERIFY2(kept.contains(part), qPrintable(kept));
        QTRY_VERIFY(!instrument->deviceOpen());
        if (!wire.isEmpty())
            QCOMPARE(titles.value(0).value(0).toString(), titleDisconnecting);
        if (fault == "claim")
            QVERIFY(log.count("libusb_claim_interface failed: LIBUSB_ERROR_BUSY") == 1);
        // Also what the timers would send while the boxes wait stays away.
        QTest::qWait(300);
        const std::vector<WireRecord> sent = instrument->wireLog();
        Requests requests;
        for (const WireRecord &record : sent)
            requests.append({record.kind == WireRecord::Control ? record.request : -1, record.index});
        QCOMPARE(requests, wire);

        instrument->setIdentificationLength(REPLY_DEVICE_INFO_LENGTH);
        instrument->setIdentification(SimulatedInstrument::defaultIdentification());
        instrument->setClaimRefused(false);
        ui()->connectButton->click();
        verifyConnected();
        QCOMPARE(closer.messages, boxes);
        // The next attempt starts the pane afresh.
        const QString shown = ui()->textBrowserDeviceInfo->toPlainText();
        QCOMPARE(shown.section('\n', 0, 0),
                 QString("Device connected: ") + QString::fromStdString(SimulatedInstrument::defaultIdentification()));
        QCOMPARE(shown.count("Device connected: "), 1);
    }

    // An identification of the wrong length drops the instrument, releasing
    // it so that the next press can take it.
    void unidentifiedInstrument()
    {
        instrument->setIdentificationLength(40);
        LogCapture log;
        window.reset(new VeskInterface);
        QSignalSpy titles(window.get(), &QWidget::windowTitleChanged);
        QTRY_COMPARE_WITH_TIMEOUT(log.count("Device initializing: unknow device, disconnecting ..."), 1,
                                  connectTimeoutMs);
        verifyNotConnected();
        QCOMPARE(titles.value(0).value(0).toString(), titleDisconnecting);
        QCOMPARE(count(instrument->wireLog(), REQ_DISCONNECT), 1);
        QCOMPARE(findBulk(instrument->wireLog()), -1);

        instrument->setIdentificationLength(REPLY_DEVICE_INFO_LENGTH);
        instrument->setIdentification(std::string("VESKSIM.1.1\0\0\r\n", 15));
        ui()->connectButton->click();
        verifyConnected();
        QCOMPARE(ui()->textBrowserDeviceInfo->toPlainText().section('\n', 0, 0),
                 QString("Device connected: VESKSIM.1.1"));
    }

    // Without permission for the device node: the reason says so, and the
    // log names libusb's error.
    void noPermission()
    {
        instrument->setAccessDenied(true);
        LogCapture log;
        {
            FilePermissionsEnforced enforced;
            startWindow(titleNotConnected);
            QTRY_COMPARE(ui()->infoLabel->text(),
                         QString("Cannot open device: no permission for the instrument's USB device"));
        }
        QVERIFY(ui()->centralWidget->isEnabled());
        QCOMPARE(ui()->connectButton->text(), QString("Connect"));
        QCOMPARE(log.count("libusb_open failed: LIBUSB_ERROR_ACCESS"), 1);
        QCOMPARE(log.count("Cannot open device"), 1);
        QVERIFY(instrument->wireLog().empty());

        instrument->setAccessDenied(false);
        ui()->connectButton->click();
        verifyConnected();
    }

    void unplugWhileStreaming()
    {
        startWindow(titleConnected);
        // The event loop runs the delayed start.
        QTRY_VERIFY_WITH_TIMEOUT(find(instrument->wireLog(), REQ_RUN_CONTROL, RUN_SCOPE_START,
                                      size_t(findBulk(instrument->wireLog()) + 1))
                                     > 0,
                                 4000);
        QVERIFY(instrument->waitForFrames(instrument->framesSent() + 3, 4000));
        QCOMPARE(ui()->stopButton->text(), QString("STOP"));
        QSignalSpy titles(window.get(), &QWidget::windowTitleChanged);
        instrument->unplug();
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), titleNotConnected, 5000);
        QCOMPARE(titles.count(), 2);
        QCOMPARE(titles.at(0).value(0).toString(), titleLost);
        QCOMPARE(ui()->connectButton->text(), QString("Connect"));
        QCOMPARE(ui()->connectLabel->text(), QString("Not Connected"));
        QCOMPARE(ui()->infoLabel->text(), QString("Connection lost"));
        QCOMPARE(ui()->stopButton->text(), QString("START"));
        QVERIFY(ui()->centralWidget->isEnabled());
        QVERIFY(!window->libUsbDevice.connected);

        std::string error;
        QVERIFY2(instrument->replug(&error), error.c_str());
        ui()->connectButton->click();
        verifyConnected();
    }

    // Console code that serves input alone keeps the window as it found it:
    // a link lost under it is dropped once it has returned.
    void unplugWhileAScriptRuns()
    {
        startWindow(titleConnected);
        window->ui->actionConsole->trigger();
        // Served at the code's first serving of input.
        QMetaObject::invokeMethod(window.get(), [this] { instrument->unplug(); }, Qt::QueuedConnection);
        QSignalSpy output(PythonEngine::instance(), &PythonEngine::output);
        const bool ok = PythonEngine::instance()->runCode(
            QStringLiteral("label = vesk.findChild(None, 'connectLabel')\n"
                           "vesk.msleep(1)\n"
                           "veskAWG.setFrequency(1234)\n" // meets the unplugged instrument
                           "vesk.msleep(1)\n"
                           "assert label.text == 'USB Connected', label.text\n"),
            QStringLiteral("<test>"));
        QString said;
        for (const QList<QVariant> &piece : output)
            said += piece.value(0).toString();
        QVERIFY2(ok, qPrintable(said));
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), titleNotConnected, 5000);
        QCOMPARE(ui()->infoLabel->text(), QString("Connection lost"));
        QVERIFY(!window->libUsbDevice.connected);
    }

    // The settings never reached the instrument: no connection is shown.
    void failedUploadIsNoConnection()
    {
        instrument->setBulkOutFailing(true);
        window.reset(new VeskInterface);
        QSignalSpy titles(window.get(), &QWidget::windowTitleChanged);
        QTRY_COMPARE_WITH_TIMEOUT(ui()->infoLabel->text(), QString("Connection lost while sending the settings"),
                                  connectTimeoutMs);
        verifyNotConnected();
        QVERIFY(titles.contains(QVariantList{titleLost}));
        QVERIFY(!titles.contains(QVariantList{titleConnected}));
        // The lost link the transport reported meanwhile changes nothing more.
        QTest::qWait(100);
        QCOMPARE(titles.count(), 2);

        instrument->setBulkOutFailing(false);
        ui()->connectButton->click();
        verifyConnected();
    }

    // The delayed start belongs to its connection: a disconnect inside the
    // two seconds cancels it, also when the next attempt meets a rejected
    // instrument, and a new connection gets its own start, once.
    void disconnectBeforeTheDelayedStart()
    {
        {
            // Single: the handlers start nothing themselves while collecting.
            QSettings settings;
            settings.setValue("Trigger/Type", "Single");
        }
        startWindow(titleConnected);
        QVERIFY(ui()->radioButtonSingle->isChecked());
        ui()->connectButton->click();
        verifyNotConnected();
        instrument->setIdentification("VESKSIM.2.1 newer hardware");
        ModalAnswerer closer;
        ui()->connectButton->click();
        QCOMPARE(closer.messages.size(), 1);
        QVERIFY(!window->libUsbDevice.connected);
        QTest::qWait(2500);
        QCOMPARE(count(instrument->wireLog(), REQ_RUN_CONTROL, RUN_SCOPE_START), 0);

        instrument->setIdentification(SimulatedInstrument::defaultIdentification());
        ui()->connectButton->click();
        verifyConnected();
        QTest::qWait(2500);
        QCOMPARE(count(instrument->wireLog(), REQ_RUN_CONTROL, RUN_SCOPE_START), 1);
    }
};

VESK_USB_TEST_MAIN(TestDeviceConnection)
#include "tst_deviceconnection.moc"
