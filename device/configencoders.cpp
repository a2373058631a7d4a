// Members of VeskInterface, the configuration encoders: the window's
// controls turned into the instrument's configuration items, the run-control
// requests, the main-tab switch and the query of the instrument's buffer limits.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "configencoding.h"

#include <QSignalBlocker>

#include <algorithm>

using namespace ConfigEncoding;

namespace {

ChannelControls channelControlsOf(const QCheckBox *trace, const QCheckBox *ac, const QCheckBox *invert,
                                  const QCheckBox *average, const QCheckBox *math, const QRadioButton *subtract,
                                  const QRadioButton *multiply)
{
    ChannelControls controls;
    controls.trace = trace->isChecked();
    controls.acCoupling = ac->isChecked();
    controls.invert = invert->isChecked();
    controls.average = average->isChecked();
    controls.math = math->isChecked();
    controls.subtract = subtract->isChecked();
    controls.multiply = multiply->isChecked();
    return controls;
}

std::array<bool, 10> checkedStates(std::initializer_list<const QRadioButton *> buttons)
{
    std::array<bool, 10> checked{};
    int i = 0;
    for (const QRadioButton *button : buttons)
        checked[size_t(i++)] = button->isChecked();
    return checked;
}

} // namespace

// ---- composite encoders ----

int VeskInterface::scopeCH1ControlsValue()
{
    return channelControls(channelControlsOf(ui->checkBoxCH1Trace, ui->checkBoxCH1ACDC, ui->checkBoxCH1Invert,
                                             ui->checkBoxCH1Average, ui->checkBoxCH1Math, ui->radioButtonCH1Sub,
                                             ui->radioButtonCH1Multiply));
}

int VeskInterface::scopeCH2ControlsValue()
{
    return channelControls(channelControlsOf(ui->checkBoxCH2Trace, ui->checkBoxCH2ACDC, ui->checkBoxCH2Invert,
                                             ui->checkBoxCH2Average, ui->checkBoxCH2Math, ui->radioButtonCH2Sub,
                                             ui->radioButtonCH2Multiply));
}

int VeskInterface::scopeCHDControlsValue()
{
    return logicControls(ui->checkBoxCHDTrace->isChecked(), ui->checkBoxCHDInvert->isChecked());
}

void VeskInterface::sendCH1Controls()
{
    instrumentCommands.sendMainConfiguration(CFG_CH1_CONTROL, scopeCH1ControlsValue());
}

void VeskInterface::sendCH2Controls()
{
    instrumentCommands.sendMainConfiguration(CFG_CH2_CONTROL, scopeCH2ControlsValue());
}

void VeskInterface::sendCHDControls()
{
    instrumentCommands.sendMainConfiguration(CFG_CHD_CONTROL, scopeCHDControlsValue());
}

void VeskInterface::sendCHDBitControls()
{
    const QCheckBox *boxes[8] = {ui->checkBoxCHD0, ui->checkBoxCHD1, ui->checkBoxCHD2, ui->checkBoxCHD3,
                                 ui->checkBoxCHD4, ui->checkBoxCHD5, ui->checkBoxCHD6, ui->checkBoxCHD7};
    std::array<bool, 8> enabled{};
    for (int bit = 0; bit < 8; ++bit) {
        enabled[size_t(bit)] = boxes[bit]->isChecked();
        chdBitEnabled[bit] = enabled[size_t(bit)];
    }
    instrumentCommands.sendMainConfiguration(CFG_CHD_BITS, logicBits(enabled));
}

void VeskInterface::sendTriggerControls()
{
    TriggerButtons buttons;
    buttons.free = ui->radioButtonFree->isChecked();
    buttons.normal = ui->radioButtonNormal->isChecked();
    buttons.single = ui->radioButtonSingle->isChecked();
    buttons.automatic = ui->radioButtonAuto->isChecked();
    buttons.risingEdge = ui->radioButtonRisingEdge->isChecked();
    buttons.fallingEdge = ui->radioButtonFallingEdge->isChecked();
    buttons.positiveSlope = ui->radioButtonPositiveSlope->isChecked();
    buttons.negativeSlope = ui->radioButtonNegativeSlope->isChecked();
    buttons.window = ui->radioButtonWindow->isChecked();
    instrumentCommands.sendMainConfiguration(CFG_TRIGGER_CONTROL, triggerControls(buttons));
}

void VeskInterface::sendTriggerSource()
{
    const auto checked = checkedStates({ui->fcR0, ui->fcR1, ui->fcR2, ui->fcR3, ui->fcR4, ui->fcR5, ui->fcR6,
                                        ui->fcR7, ui->fcR10, ui->fcR11});
    instrumentCommands.sendMainConfiguration(CFG_TRIGGER_SOURCE, sourceCode(checked, counterInputWhenNone));
}

void VeskInterface::sendGateSource()
{
    const auto checked = checkedStates({ui->fcR0_2, ui->fcR1_2, ui->fcR2_2, ui->fcR3_2, ui->fcR4_2, ui->fcR5_2,
                                        ui->fcR6_2, ui->fcR7_2, ui->fcR10_2, ui->fcR11_2});
    instrumentCommands.sendMainConfiguration(CFG_GATE_SOURCE, sourceCode(checked, gateSourceWhenNone));
}

void VeskInterface::sendMixedControls()
{
    instrumentCommands.sendMainConfiguration(
        CFG_MIXED_CONTROL, mixedControls(ui->rollMode->isChecked(), ui->elasticMode->isChecked(),
                                         ui->radioButtonSniffSingle->isChecked(), ui->checkBoxmeterondev->isChecked(),
                                         customWaveUploading));
}

void VeskInterface::sendMeterFrequencyControl()
{
    instrumentCommands.sendMainConfiguration(
        CFG_METER_FREQUENCY_CONTROL,
        meterFrequencyControl(ui->checkBoxFreqFastMode->isChecked(), ui->radioFrequencyGatePeriod->isChecked()));
}

void VeskInterface::sendSnifferOptionControl()
{
    SnifferOptions options;
    options.parityIndex = ui->comboBoxParity->currentIndex();
    options.stopBitsIndex = ui->comboBoxStopBits->currentIndex();
    options.synchro = ui->checkBoxSynchro->isChecked();
    options.parallelInvert = ui->checkBoxSniffParallelInputInvert->isChecked();
    options.ssInvertIndex = ui->comboBoxSniffSSINV->currentIndex();
    options.cpolIndex = ui->comboBoxCPOL->currentIndex();
    options.cphaIndex = ui->comboBoxCPHA->currentIndex();
    instrumentCommands.sendMainConfiguration(CFG_SNIFFER_OPTIONS, snifferOptions(options));
}

void VeskInterface::sendSnifferUSARTControl()
{
    instrumentCommands.sendMainConfiguration(
        CFG_SNIFFER_USART, snifferUsart(ui->comboBoxBaud->currentIndex(), ui->comboBoxUARTData->currentIndex()));
}

void VeskInterface::sendSweepTypeControls()
{
    SweepButtons buttons;
    buttons.falling = ui->radioButtonSweepFalling->isChecked();
    buttons.pingPong = ui->radioButtonSweepPingPong->isChecked();
    buttons.enabled = ui->collapsiblePanelAWGSweep->isChecked();
    buttons.frequency = ui->radioButtonSweepFrequency->isChecked();
    buttons.amplitude = ui->radioButtonSweepAmplitude->isChecked();
    buttons.offset = ui->radioButtonSweepOffset->isChecked();
    buttons.dutyCycle = ui->radioButtonSweepDutyCycle->isChecked();
    instrumentCommands.sendMainConfiguration(CFG_SWEEP_CONTROL, sweepControls(buttons));
}

void VeskInterface::sendWaveType()
{
    const std::array<bool, 8> checked = {
        ui->radioButtonConstant->isChecked(), ui->radioButtonCustom->isChecked(),
        ui->radioButtonExpo->isChecked(),     ui->radioButtonTriangle->isChecked(),
        ui->radioButtonSquare->isChecked(),   ui->radioButtonSine->isChecked(),
        ui->radioButtonPinkNoise->isChecked(), ui->radioButtonWhiteNoise->isChecked()};
    const WaveChoice wave = waveType(checked);
    // The folded panel shows the wave's name in place of the buttons.
    ui->collapsiblePanelAWGWaveform->setText(wave.name + QLatin1Char(' '));
    instrumentCommands.sendMainConfiguration(CFG_WAVE_TYPE, wave.code);
    if (wave.code == WAVE_CONSTANT)
        sendWaveConstantLevel(ui->spinBoxConstant->value());
}

// ---- confirmed encoders ----

InstrumentCommands::ConfirmResult VeskInterface::sendConfirmedControl(unsigned char index, int value)
{
    return instrumentCommands.sendConfirmed(index, value, [this](int blocks) { showScopeBuffer(blocks); });
}

void VeskInterface::showScopeBuffer(int blocks)
{
    // The buffer combo shows what the instrument now uses, before and after
    // its list is rebuilt, so the sampling label reads the new size.
    const QSignalBlocker blocker(ui->comboBoxADCBuffer);
    ui->comboBoxADCBuffer->setCurrentIndex(std::min(blocks, ui->comboBoxADCBuffer->count()) - 1);
    scopeADCBufferChanged(blocks - 1);
    ui->comboBoxADCBuffer->setCurrentIndex(std::min(blocks, ui->comboBoxADCBuffer->count()) - 1);
}

InstrumentCommands::ConfirmResult VeskInterface::sendDACControlsConfirmed()
{
    return sendConfirmedControl(CFG_DAC_CONTROL, ui->checkBoxAWBEnable->isChecked() ? 1 : 0);
}

InstrumentCommands::ConfirmResult VeskInterface::sendCH1ControlsConfirmed()
{
    return sendConfirmedControl(CFG_CH1_CONTROL, scopeCH1ControlsValue());
}

InstrumentCommands::ConfirmResult VeskInterface::sendCH2ControlsConfirmed()
{
    return sendConfirmedControl(CFG_CH2_CONTROL, scopeCH2ControlsValue());
}

InstrumentCommands::ConfirmResult VeskInterface::sendCHDControlsConfirmed()
{
    return sendConfirmedControl(CFG_CHD_CONTROL, scopeCHDControlsValue());
}

// ---- per-item setters ----

void VeskInterface::sendMainModeControls(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_MAIN_MODE, lowByte(value));
}

void VeskInterface::sendSamplingRate(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_SAMPLING_RATE, lowByte(value));
}

void VeskInterface::sendTriggerSource(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_TRIGGER_SOURCE, value);
}

void VeskInterface::sendChannel1GainControls(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_CH1_GAIN, lowByte(value));
}

void VeskInterface::sendChannel2GainControls(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_CH2_GAIN, lowByte(value));
}

void VeskInterface::sendTriggerHold(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_TRIGGER_HOLD, lowByte(value));
}

void VeskInterface::sendTriggerPost(int position)
{
    instrumentCommands.sendMainConfiguration(CFG_TRIGGER_POST, triggerPost(scopeSizeX, position));
}

void VeskInterface::sendTriggerLevel(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_TRIGGER_LEVEL, value);
}

void VeskInterface::sendTriggerWin1Level(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_TRIGGER_WIN1_LEVEL, value);
}

void VeskInterface::sendTriggerWin2Level(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_TRIGGER_WIN2_LEVEL, value);
}

void VeskInterface::sendAutoTrigger(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_AUTO_TRIGGER, value);
}

void VeskInterface::sendDecodeProtocol(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_DECODE_PROTOCOL, lowByte(value));
}

void VeskInterface::sendDACBufferBlocks(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_DAC_BUFFER_BLOCKS, lowByte(value));
}

void VeskInterface::sendCHBufferBlocks(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_CH_BUFFER_BLOCKS, lowByte(value));
}

void VeskInterface::sendSweepStart(int value)
{
    sweepCursorsUpdate();
    instrumentCommands.sendMainConfiguration(CFG_SWEEP_START, lowByte(value));
}

void VeskInterface::sendSweepEnd(int value)
{
    sweepCursorsUpdate();
    instrumentCommands.sendMainConfiguration(CFG_SWEEP_END, lowByte(value));
}

void VeskInterface::sendSweepSpeed(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_SWEEP_SPEED, sweepSpeed(value));
}

void VeskInterface::sendWaveAmplitude(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_WAVE_AMPLITUDE, waveAmplitude(value));
}

void VeskInterface::sendWaveDuty(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_WAVE_DUTY, waveDuty(value));
}

void VeskInterface::sendWaveOffset(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_WAVE_OFFSET, waveOffset(value));
}

void VeskInterface::sendWaveConstantLevel(int value)
{
    instrumentCommands.sendMainConfiguration(CFG_WAVE_CONSTANT_LEVEL, waveConstantLevel(value));
}

void VeskInterface::sendWaveFrequency(long long value)
{
    instrumentCommands.sendMainConfigurationFrequency(CFG_WAVE_FREQUENCY, waveFrequency(value));
}

// ---- run control ----

void VeskInterface::sendScopeStart()
{
    if (!libUsbDevice.connected)
        return;
    libUsbDevice.controlWriteTransfer(REQ_RUN_CONTROL, RUN_SCOPE_START, 0);
    ui->stopButton->setText(tr("STOP"));
}

void VeskInterface::sendScopeStop()
{
    if (!libUsbDevice.connected)
        return;
    libUsbDevice.controlWriteTransfer(REQ_RUN_CONTROL, RUN_SCOPE_STOP, 0);
    ui->stopButton->setText(tr("START"));
}

void VeskInterface::scopeStartForce()
{
    sendScopeStart();
}

int VeskInterface::sendScopeForce()
{
    return on_forceButton_clicked();
}

int VeskInterface::sendSnifferStart()
{
    return libUsbDevice.controlWriteTransfer(REQ_RUN_CONTROL, RUN_SNIFFER_START, 0);
}

int VeskInterface::sendSnifferStop()
{
    return libUsbDevice.controlWriteTransfer(REQ_RUN_CONTROL, RUN_SNIFFER_STOP, 0);
}

int VeskInterface::sendCouterStart()
{
    return libUsbDevice.controlWriteTransfer(REQ_RUN_CONTROL, RUN_COUNTER_START, 0);
}

int VeskInterface::sendCouterStop()
{
    return libUsbDevice.controlWriteTransfer(REQ_RUN_CONTROL, RUN_COUNTER_STOP, 0);
}

// ---- main tab and buffer limits ----

void VeskInterface::mainTabChanged(int index)
{
    if (index == 1) {
        meterTabChanged(ui->mmTabWidget->currentIndex());
        return;
    }
    // Every other tab puts the instrument in oscilloscope mode, with the
    // trigger source the counter may have borrowed given back.
    meterTimer.stop();
    sniffStop();
    sendTriggerSource(ui->comboBoxTrigSource->currentIndex());
    sendCH1Controls();
    sendCH2Controls();
    mainMode = MODE_SCOPE;
    sendMainModeControls(mainMode);
    requestReplot();
}

int VeskInterface::bufferCheckMaxSize()
{
    unsigned char blocks = 0;
    if (libUsbDevice.controlReadTransfer(REQ_READ, &blocks, REPLY_MAX_DAC_BLOCKS_LENGTH, READ_MAX_DAC_BLOCKS, 0)
        == REPLY_MAX_DAC_BLOCKS_LENGTH)
        bufferComboBoxItemChange(ui->comboBoxDACBuffer, blocks);
    blocks = 0;
    const int received =
        libUsbDevice.controlReadTransfer(REQ_READ, &blocks, REPLY_MAX_ADC_BLOCKS_LENGTH, READ_MAX_ADC_BLOCKS, 0);
    if (received != REPLY_MAX_ADC_BLOCKS_LENGTH)
        return received;
    bufferComboBoxItemChange(ui->comboBoxADCBuffer, blocks);
    return 0;
}

void VeskInterface::bufferComboBoxItemChange(QComboBox *box, int blocks)
{
    // A list longer than its sender sends would offer sizes that never go out.
    const int most = box == ui->comboBoxDACBuffer ? DAC_BLOCKS_MAX : CH_BLOCKS_MAX;
    const QStringList texts = bufferSizeTexts(std::min(blocks, most));
    if (box->count() == texts.size())
        return;
    // Blocked: a lowered index is the instrument's own limit, not a choice to send back.
    const QSignalBlocker blocker(box);
    const int index = box->currentIndex();
    box->clear();
    box->addItems(texts);
    box->setCurrentIndex(std::clamp(index, 0, int(texts.size()) - 1));
}
