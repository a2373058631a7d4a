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

void VeskInterface::on_checkBoxASCII_clicked()
{
    // Filled in by the protocol sniffer's run controls.
}

void VeskInterface::on_checkBoxCircular_clicked()
{
    sendMixedControls();
}

void VeskInterface::on_startSnifferButton_clicked()
{
    sendSnifferOptionControl();
    sendSnifferUSARTControl();
    instrumentCommands.sendMainConfiguration(CFG_SNIFFER_STROBE, ui->comboBoxSniffParallelStrobe->currentIndex());
    sniffProgress = 0;
    sniffWriteIndex1 = 0;
    sniffWriteIndex2 = 0;
    sniffRing1Flag = true;
    sniffRing2Flag = true;
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
    ui->startSnifferButton->setText(starting ? tr("STOP") : tr("START"));
    ui->pauseSnifferButton->setEnabled(starting);
    ui->pauseSnifferButton->setChecked(false);
    sniffPauseButtonChanged();
}

void VeskInterface::sniffPauseButtonChanged()
{
    ui->pauseSnifferButton->setText(ui->pauseSnifferButton->isChecked() ? tr("Continue") : tr("Pause"));
}
