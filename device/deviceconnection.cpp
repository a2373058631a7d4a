// Members of VeskInterface: finding, identifying, configuring and releasing
// the instrument, and the hardware profile check.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "configencoding.h"
#include "deviceinformation.h"
#include "hardwareprofile.h"
#include "numberformat.h"

#include <QPixmap>

namespace {

// The connection sequence's result when the link failed while the settings
// went out (the other codes are the identification's and the profile's).
constexpr int linkFailedDuringSetup = 6;

} // namespace

void VeskInterface::on_connectButton_clicked()
{
    setInfoText(QStringLiteral("Please wait..."), true);
    if (libUsbDevice.connected) {
        disconnectDevice(true);
        ui->connectButton->setText(tr("Connect"));
        ui->textBrowserDeviceInfo->clear();
        setInfoText();
        return;
    }
    // A start still pending belongs to an earlier connection, and so does
    // what the pane still tells of a rejected instrument.
    scopeStartTimer.stop();
    ui->textBrowserDeviceInfo->clear();
    deviceConnecting = true;
    libUsbDevice.initializeDevice();
    libUsbDevice.openDevice();
    int result = -1;
    if (libUsbDevice.connected)
        result = deviceInitialize();
    else
        libUsbDevice.reset(); // the transport told why on the info line; it keeps no context
    deviceConnecting = false;
    if (result == 0)
        ui->connectButton->setText(tr("Disconnect"));
}

int VeskInterface::deviceInitialize()
{
    unsigned char identification[REPLY_DEVICE_INFO_LENGTH] = {};
    if (libUsbDevice.controlReadTransfer(REQ_READ, identification, REPLY_DEVICE_INFO_LENGTH, READ_DEVICE_INFO, 0)
        != REPLY_DEVICE_INFO_LENGTH) {
        const QString reason = QStringLiteral("Device initializing: unknow device, disconnecting ...");
        logToFile(reason, 3);
        dropDevice(reason);
        return 1;
    }
    const QString info = NumberFormat::getStringFromUnsignedChar(identification, REPLY_DEVICE_INFO_LENGTH);
    const QString connectedLine = QStringLiteral("Device connected: ") + info;
    logToFile(connectedLine, 1);
    DeviceInformation::appendPlainText(ui->textBrowserDeviceInfo, connectedLine);

    const int profileResult = deviceProfileGet(info);
    if (profileResult != 0)
        return profileResult;

    deviceSettingsInitialize();
    // The link failed while the settings went out: the instrument holds
    // some of them at best, which is no connection to show.
    if (libUsbDevice.transferFailed) {
        ui->textBrowserDeviceInfo->clear();
        dropDevice(tr("Connection lost while sending the settings"));
        return linkFailedDuringSetup;
    }
    ui->connectLabel->setText(tr("USB Connected"));
    changeWindowTitle(QStringLiteral("Interface - USB Connected"));
    ui->connectIcon->setPixmap(QPixmap(QStringLiteral(":/icons/led-on.png")));
    setInfoText(QStringLiteral("USB Connected"), false);
    return 0;
}

int VeskInterface::deviceProfileGet(const QString &text)
{
    HardwareProfile profile;
    const int result = profile.check(text);
    if (!profile.descriptionFile().isEmpty())
        deviceInfoRead(profile.descriptionFile());
    // Released before the boxes wait for the user: while they are open the
    // timers run on, and nothing of theirs may reach an instrument we do not support.
    if (result != HardwareProfile::Supported)
        dropDevice(profile.notices().constLast().text);
    profile.showNotices(this);
    return result;
}

void VeskInterface::deviceInfoRead(const QString &path)
{
    unsigned char healthMask = 0;
    if (libUsbDevice.controlReadTransfer(REQ_READ, &healthMask, REPLY_HEALTH_LENGTH, READ_HEALTH, 0)
        != REPLY_HEALTH_LENGTH)
        return;
    for (const QString &line : DeviceInformation::describe(path, healthMask))
        DeviceInformation::appendPlainText(ui->textBrowserDeviceInfo, line);
}

int VeskInterface::deviceSettingsInitialize()
{
    // The block is committed while acquisition is stopped, the read is armed
    // before the requests that expect replies, and acquisition starts last.
    libUsbDevice.controlWriteTransfer(REQ_RUN_CONTROL, RUN_SCOPE_STOP, 0);
    instrumentCommands.setBulkCollectMode(true);
    deviceSettingsSendBulk();
    instrumentCommands.setBulkCollectMode(false);
    libUsbDevice.controlWriteTransfer(REQ_COMMIT_BULK, BULK_SETTINGS, 0);
    logToFile(QStringLiteral("Initialize bulk read transfer"), 0);
    libUsbDevice.asyncBulkReadTransfer();
    deviceSettingsSendInteractive();
    scopeStartTimer.start();
    return 0;
}

void VeskInterface::deviceSettingsSendBulk()
{
    deviceSettingsExec();
    instrumentCommands.sendSettingsBlock();
}

void VeskInterface::deviceSettingsExec()
{
    channel1GainSliderChanged(ui->ch1GainSlider->value(), false);
    channelPositionSliderChanged(0, ui->ch1PositionSlider->value(), ch1Position);
    channel1ACDCChanged(false);
    sendCH1Controls();
    channel2GainSliderChanged(ui->ch2GainSlider->value(), false);
    channelPositionSliderChanged(1, ui->ch2PositionSlider->value(), ch2Position);
    channel2ACDCChanged(false);
    sendCH2Controls();
    channelLogicSizeSliderChanged();
    channelLogicPositionSliderChanged(ui->chdPositionSlider->value());
    sendCHDBitControls();

    fftControlsPlotSet();
    fftWindowFunctionSet();
    fftControlsPlotSet();
    displayIntensitySliderChanged(ui->intensitySlider->value());
    setupScatterStyles(ui->checkBoxVectors->isChecked());
    displayControlsSet();
    displayControlsSet();
    applyScopeConfiguration();
    cursorsVerticalChanged(ui->checkBoxCursorVertical->isChecked());
    cursorsHorizontalChanged(ui->checkBoxScopeCursorsHorizontal->isChecked());
    cursorsHorizontalTypeSet(ui->comboBoxScopeCursorsHorizontalType->currentIndex());
    cursorsSetChannelActive(ui->comboBoxScopeCursorsChannel->currentIndex());

    scopeTriggerSourceChanged(ui->comboBoxTrigSource->currentIndex());
    sendAutoTrigger(ConfigEncoding::autoTrigger(ui->doubleSpinBoxTrigAuto->value()));
    sendTriggerHold(int(ui->doubleSpinBoxTrigHold->value()));
    const TriggerCoord &trigger = triggerCoords[triggerChannel];
    sendTriggerLevel(trigger.level);
    sendTriggerWin1Level(trigger.win1Level);
    sendTriggerWin2Level(trigger.win2Level);
    sendTriggerPost(trigger.post);
    scopeSetTriggerType();
    scopeSetTriggerMode();
    scopeRollModeChanged();
    sendMixedControls();
    requestReplot();
    scopeSamplingSliderChanged(ui->samplingSlider->value());

    sendTriggerSource();
    sendGateSource();
    meterFrequencyModeChanged();
    meterTabChanged(ui->mmTabWidget->currentIndex());

    sendWaveType();
    awgAmplitudeSliderChanged(ui->amplitudeSlider->value());
    awgDutyCycleSliderChanged(ui->dutyCycleSlider->value());
    awgOffsetSliderChanged(ui->offsetSlider->value());
    frequencyDigitsValueChanged();
    sweepSpeedSliderChanged(ui->sweepSpeedSlider->value());
    sendSweepTypeControls();
    sweepStartFreqChanged(ui->sweepStartFreqSlider, ui->sweepEndFreqSlider);
    sweepEndFreqChanged(ui->sweepStartFreqSlider, ui->sweepEndFreqSlider);
    sweepCursorsUpdate();
    sendSweepTypeControls();
    sendMixedControls();

    sniffProtocolTabChanged(ui->protocolTabWidget->currentIndex());
    sendSnifferOptionControl();
    sendSnifferOptionControl();
    sendSnifferUSARTControl();
    sendSnifferOptionControl();
    instrumentCommands.sendMainConfiguration(CFG_SNIFFER_STROBE, ui->comboBoxSniffParallelStrobe->currentIndex());

    // Last, so the main tab decides the final mode.
    mainTabChanged(ui->mainTabWidget->currentIndex());
}

void VeskInterface::deviceSettingsSendInteractive()
{
    awgDACBufferChanged(ui->comboBoxDACBuffer->currentIndex());
    scopeADCBufferChanged(ui->comboBoxADCBuffer->currentIndex());
    frequencyDigitsValueChanged();
    channel1TraceChanged(ui->checkBoxCH1Trace->isChecked());
    channel2TraceChanged(ui->checkBoxCH2Trace->isChecked());
    channelLogicTraceChanged();
    awgEnableChanged();
}

void VeskInterface::disconnectDevice(bool closing)
{
    scopeStartTimer.stop();
    libUsbDevice.controlWriteTransfer(REQ_DISCONNECT, 0, 0);
    changeWindowTitle(libUsbDevice.transferFailed ? QStringLiteral("Interface - Connection lost... wait")
                                                  : QStringLiteral("Interface - Disconnecting... wait"));
    if (closing)
        libUsbDevice.closeDevice();
    // Also releases what an unclosed device still holds, so the next attempt can claim it.
    libUsbDevice.reset();
    ui->connectLabel->setText(tr("Not Connected"));
    changeWindowTitle(QStringLiteral("Interface - Not Connected"));
    ui->connectIcon->setPixmap(QPixmap(QStringLiteral(":/icons/led-off.png")));
    // Acquisition ended with the link: the button names what it does next.
    ui->stopButton->setText(tr("START"));
    ui->stopButton->setChecked(false);
    // So did a sniffer run: its panel goes idle, and the next link starts
    // in oscilloscope mode.
    sniffControlsStartSet(tr("STOP"));
    if (mainMode == MODE_SNIFFER)
        mainMode = MODE_SCOPE;
}

// The device-information pane keeps what it shows: a rejected instrument's
// description stays for the user to read until the next attempt.
void VeskInterface::dropDevice(const QString &reason)
{
    disconnectDevice(true);
    ui->connectButton->setText(tr("Connect"));
    setInfoText(reason);
}

void VeskInterface::deviceConnectionLost()
{
    // Running code holds on to the window's state: the link is dropped once
    // it has returned.
    if (deviceWorkHeld) {
        connectionLostHeld = true;
        return;
    }
    // The connection sequence deals with its own failures; a link already
    // dropped has nothing left to release.
    if (deviceConnecting || !libUsbDevice.connected)
        return;
    ui->textBrowserDeviceInfo->clear();
    dropDevice(tr("Connection lost"));
}
