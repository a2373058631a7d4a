#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "protocol.h"

void VeskInterface::on_intensitySlider_valueChanged(int value)
{
    displayIntensitySliderChanged(value);
}

void VeskInterface::on_checkBoxVectors_clicked()
{
    setupScatterStyles(ui->checkBoxVectors->isChecked());
    displayControlsSet();
}

void VeskInterface::on_checkBoxPersistence_clicked()
{
    displayControlsSet();
}

void VeskInterface::on_checkBoxmeterondev_clicked()
{
    sendMixedControls();
    requestReplot();
}

void VeskInterface::on_comboBoxDACBuffer_currentIndexChanged(int index)
{
    awgDACBufferChanged(index);
    // The instrument derives its output frequency from the buffer length:
    // the set frequency goes out again for the new length, and the display
    // shows what the instrument now gives.
    updateFrequency(frequencyDigitsToFrequency());
}

void VeskInterface::on_comboBoxADCBuffer_currentIndexChanged(int index)
{
    scopeADCBufferChanged(index);
}

// A DAC step takes effect at once; OK stores the result in the instrument,
// so it is offered only after a step.
void VeskInterface::on_toolButtonDACOffsetPlus_clicked()
{
    libUsbDevice.controlWriteTransfer(REQ_CALIBRATE, CAL_DAC_OFFSET, CAL_STEP_UP);
    ui->toolButtonDACOffsetOK->setEnabled(true);
}

void VeskInterface::on_toolButtonDACOffsetOK_clicked()
{
    libUsbDevice.controlWriteTransfer(REQ_CALIBRATE, CAL_DAC_OFFSET, CAL_STORE);
    ui->toolButtonDACOffsetOK->setEnabled(false);
}

void VeskInterface::on_toolButtonDACOffsetMinus_clicked()
{
    libUsbDevice.controlWriteTransfer(REQ_CALIBRATE, CAL_DAC_OFFSET, CAL_STEP_DOWN);
    ui->toolButtonDACOffsetOK->setEnabled(true);
}

void VeskInterface::on_toolButtonDACGainPlus_clicked()
{
    libUsbDevice.controlWriteTransfer(REQ_CALIBRATE, CAL_DAC_GAIN, CAL_STEP_UP);
    ui->toolButtonDACGainOK->setEnabled(true);
}

void VeskInterface::on_toolButtonDACGainOK_clicked()
{
    libUsbDevice.controlWriteTransfer(REQ_CALIBRATE, CAL_DAC_GAIN, CAL_STORE);
    ui->toolButtonDACGainOK->setEnabled(false);
}

void VeskInterface::on_toolButtonDACGainMinus_clicked()
{
    libUsbDevice.controlWriteTransfer(REQ_CALIBRATE, CAL_DAC_GAIN, CAL_STEP_DOWN);
    ui->toolButtonDACGainOK->setEnabled(true);
}

void VeskInterface::on_pushButtonCalibrateADCOffsetClear_clicked()
{
    libUsbDevice.controlWriteTransfer(REQ_CALIBRATE, CAL_ADC_OFFSET_CLEAR, 0);
}

void VeskInterface::on_pushButtonCalibrateADCOffset_clicked()
{
    libUsbDevice.controlWriteTransfer(REQ_CALIBRATE, CAL_ADC_OFFSET, 0);
}

void VeskInterface::on_toolButtonCH1GainPlus_clicked()
{
    ui->toolButtonCH1GainOK->setEnabled(true);
}

void VeskInterface::on_toolButtonCH1GainOK_clicked()
{
    // Nothing is sent: OK only ends the adjustment.
    ui->toolButtonCH1GainOK->setEnabled(false);
}

void VeskInterface::on_toolButtonCH1GainMinus_clicked()
{
    ui->toolButtonCH1GainOK->setEnabled(true);
}

void VeskInterface::on_toolButtonCH2GainPlus_clicked()
{
    ui->toolButtonCH2GainOK->setEnabled(true);
}

void VeskInterface::on_toolButtonCH2GainOK_clicked()
{
    ui->toolButtonCH2GainOK->setEnabled(false);
}

void VeskInterface::on_toolButtonCH2GainMinus_clicked()
{
    ui->toolButtonCH2GainOK->setEnabled(true);
}
