#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "protocol.h"

void VeskInterface::on_radioButtonSniffNormal_clicked()
{
    sendMixedControls();
}

void VeskInterface::on_radioButtonSniffSingle_clicked()
{
    sendMixedControls();
}

// The panes follow their switches at once, also after a stop, by printing
// the last frame again.
void VeskInterface::on_checkBoxASCII_clicked()
{
    sniffFramePrint();
}

void VeskInterface::on_checkBoxCircular_clicked()
{
    sendMixedControls();
    sniffFramePrint();
}

void VeskInterface::on_startSnifferButton_clicked()
{
    sendSnifferOptionControl();
    sendSnifferUSARTControl();
    instrumentCommands.sendMainConfiguration(CFG_SNIFFER_STROBE, ui->comboBoxSniffParallelStrobe->currentIndex());
    sniffRings.reset();
    sniffControlsStartSet(ui->startSnifferButton->text());
    mainMode = ui->startSnifferButton->text() == tr("STOP") ? MODE_SNIFFER : MODE_SCOPE;
    sendMainModeControls(mainMode);
    // The instrument takes the start request as a toggle: it also ends a run.
    sendSnifferStart();
}

void VeskInterface::on_pauseSnifferButton_clicked()
{
    sniffPauseButtonChanged();
}

void VeskInterface::on_pushButtonSnifferClear_clicked()
{
    libUsbDevice.controlWriteTransfer(REQ_RUN_CONTROL, RUN_SNIFFER_CLEAR, 0);
}

void VeskInterface::on_protocolTabWidget_currentChanged(int index)
{
    sniffProtocolTabChanged(index);
}

void VeskInterface::on_comboBoxSniffSSINV_currentIndexChanged(int)
{
    sendSnifferOptionControl();
}

void VeskInterface::on_comboBoxCPOL_currentIndexChanged(int)
{
    sendSnifferOptionControl();
}

void VeskInterface::on_comboBoxCPHA_currentIndexChanged(int)
{
    sendSnifferOptionControl();
}

void VeskInterface::on_comboBoxBaud_currentIndexChanged(int)
{
    sendSnifferUSARTControl();
}

void VeskInterface::on_comboBoxUARTData_currentIndexChanged(int)
{
    sendSnifferUSARTControl();
}

void VeskInterface::on_comboBoxParity_currentIndexChanged(int)
{
    sendSnifferOptionControl();
}

void VeskInterface::on_comboBoxStopBits_currentIndexChanged(int)
{
    sendSnifferOptionControl();
}

void VeskInterface::on_checkBoxSynchro_clicked()
{
    sendSnifferOptionControl();
}

void VeskInterface::on_checkBoxSniffParallelInputInvert_clicked()
{
    sendSnifferOptionControl();
}

void VeskInterface::on_comboBoxSniffParallelStrobe_currentIndexChanged(int index)
{
    instrumentCommands.sendMainConfiguration(CFG_SNIFFER_STROBE, index);
}

// ---- setting handlers ----

void VeskInterface::sniffStop()
{
    sendSnifferStop();
    sniffControlsStartSet(tr("STOP"));
}

void VeskInterface::sniffProtocolTabChanged(int index)
{
    sniffStop();
    mainMode = MODE_SCOPE;
    sendMainModeControls(mainMode);
    sendDecodeProtocol(index);
}

void VeskInterface::sniffControlsStartSet(const QString &state)
{
    // `state` is the caption the start button had: "START" begins a run.
    const bool starting = state == QLatin1String("START");
    if (starting)
        sniffProtocolWidgetClear();
    sniffControlsEnable(!starting);
    ui->startSnifferButton->setText(starting ? tr("STOP") : tr("START"));
    ui->pauseSnifferButton->setEnabled(starting);
    ui->pauseSnifferButton->setChecked(false);
    sniffPauseButtonChanged();
}

void VeskInterface::sniffPauseButtonChanged()
{
    ui->pauseSnifferButton->setText(ui->pauseSnifferButton->isChecked() ? tr("Continue") : tr("Pause"));
}

void VeskInterface::sniffProtocolWidgetClear()
{
    for (QPlainTextEdit *pane : {ui->rxTextEdit, ui->txTextEdit, ui->misoTextEdit, ui->mosiTextEdit,
                                 ui->i2cPlainTextEdit, ui->plainTextEditParallel})
        pane->clear();
    sniffShownFrame.clear();
    ui->progressBarSnifferBufferFill->setValue(0);
}

void VeskInterface::sniffControlsEnable(bool enabled)
{
    // The display options (ASCII, circular), the protocol tabs and Clear stay usable.
    for (QWidget *control : std::initializer_list<QWidget *>{
             ui->comboBoxBaud, ui->comboBoxStopBits, ui->comboBoxParity, ui->comboBoxCPHA, ui->comboBoxCPOL,
             ui->modeGroupBox, ui->comboBoxUARTData, ui->checkBoxSynchro, ui->comboBoxSniffSSINV,
             ui->checkBoxSniffParallelInputInvert, ui->comboBoxSniffParallelStrobe})
        control->setEnabled(enabled);
}
