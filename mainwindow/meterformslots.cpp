#include "veskinterface.h"

void VeskInterface::on_mmTabWidget_currentChanged(int)
{
    // Filled in by the meter's page switch.
}

void VeskInterface::on_groupBoxCH1AC_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_groupBoxCH2AC_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_groupBoxCH1DC_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_groupBoxCH2DC_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_toolButtonCh1ADC24V_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_toolButtonCh1ADC2V4_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_toolButtonCh2ADC24V_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_toolButtonCh2ADC2V4_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_fcR0_clicked()
{
    // Filled in by the counter's input source.
}

void VeskInterface::on_fcR1_clicked()
{
    // Filled in by the counter's input source.
}

void VeskInterface::on_fcR2_clicked()
{
    // Filled in by the counter's input source.
}

void VeskInterface::on_fcR3_clicked()
{
    // Filled in by the counter's input source.
}

void VeskInterface::on_fcR4_clicked()
{
    // Filled in by the counter's input source.
}

void VeskInterface::on_fcR5_clicked()
{
    // Filled in by the counter's input source.
}

void VeskInterface::on_fcR6_clicked()
{
    // Filled in by the counter's input source.
}

void VeskInterface::on_fcR7_clicked()
{
    // Filled in by the counter's input source.
}

void VeskInterface::on_fcR10_clicked()
{
    // Filled in by the counter's input source.
}

void VeskInterface::on_fcR11_clicked()
{
    // Filled in by the counter's input source.
}

void VeskInterface::on_fcR0_2_clicked()
{
    // Filled in by the counter's gate source.
}

void VeskInterface::on_fcR1_2_clicked()
{
    // Filled in by the counter's gate source.
}

void VeskInterface::on_fcR2_2_clicked()
{
    // Filled in by the counter's gate source.
}

void VeskInterface::on_fcR3_2_clicked()
{
    // Filled in by the counter's gate source.
}

void VeskInterface::on_fcR4_2_clicked()
{
    // Filled in by the counter's gate source.
}

void VeskInterface::on_fcR5_2_clicked()
{
    // Filled in by the counter's gate source.
}

void VeskInterface::on_fcR6_2_clicked()
{
    // Filled in by the counter's gate source.
}

void VeskInterface::on_fcR7_2_clicked()
{
    // Filled in by the counter's gate source.
}

void VeskInterface::on_fcR10_2_clicked()
{
    // Filled in by the counter's gate source.
}

void VeskInterface::on_fcR11_2_clicked()
{
    // Filled in by the counter's gate source.
}

void VeskInterface::on_radioPeriod_clicked()
{
    // Filled in by the counter's mode controls.
}

void VeskInterface::on_radioFreq_clicked()
{
    // Filled in by the counter's mode controls.
}

void VeskInterface::on_radioPulse_clicked()
{
    // Filled in by the counter's mode controls.
}

void VeskInterface::on_radioExtGate_clicked()
{
    // Filled in by the counter's mode controls.
}

void VeskInterface::on_checkBoxFreqFastMode_clicked()
{
    // Filled in by the counter's mode controls.
}

void VeskInterface::on_radioFrequencyGatePeriod_clicked()
{
    // Filled in by the counter's mode controls.
}

void VeskInterface::on_radioFrequencyGatePulse_clicked()
{
    // Filled in by the counter's mode controls.
}

void VeskInterface::on_pushButtonCounterStart_clicked()
{
    // Filled in by the counter's mode controls.
}

void VeskInterface::on_pushButtonCounteStop_clicked()
{
    // Filled in by the counter's mode controls.
}
