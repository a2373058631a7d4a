#include "veskinterface.h"

void VeskInterface::on_checkBoxAWBEnable_clicked()
{
    // Filled in by the generator's enable switch.
}

void VeskInterface::on_collapsiblePanelAWGSweep_checkedChanged(bool)
{
    // Filled in by the generator's sweep.
}

void VeskInterface::on_radioButtonSine_clicked()
{
    // Filled in by the generator's wave type.
}

void VeskInterface::on_radioButtonTriangle_clicked()
{
    // Filled in by the generator's wave type.
}

void VeskInterface::on_radioButtonExpo_clicked()
{
    // Filled in by the generator's wave type.
}

void VeskInterface::on_radioButtonSquare_clicked()
{
    // Filled in by the generator's wave type.
}

void VeskInterface::on_radioButtonCustom_clicked()
{
    // Filled in by the generator's wave type.
}

void VeskInterface::on_radioButtonConstant_clicked()
{
    // Filled in by the generator's wave type.
}

void VeskInterface::on_radioButtonWhiteNoise_clicked()
{
    // Filled in by the generator's wave type.
}

void VeskInterface::on_radioButtonPinkNoise_clicked()
{
    // Filled in by the generator's wave type.
}

void VeskInterface::on_openCSVButton_clicked()
{
    // Filled in by the generator's custom waves.
}

void VeskInterface::on_saveAWGButton_clicked()
{
    // Filled in by the generator's custom waves.
}

void VeskInterface::on_spinBoxConstant_valueChanged(int)
{
    // Filled in by the generator's constant level.
}

void VeskInterface::on_horizontalSliderConstant_valueChanged(int)
{
    // Filled in by the generator's constant level.
}

void VeskInterface::on_frequencySlider_valueChanged(int)
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit100000Up_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit100000Down_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit10000Up_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit10000Down_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit1000Up_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit1000Down_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit100Up_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit100Down_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit10Up_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit10Down_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit1Up_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit1Down_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit01Up_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit01Down_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit001Up_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_toolButtonFrequencyDigit001Down_clicked()
{
    // Filled in by the generator's frequency entry.
}

void VeskInterface::on_amplitudeSlider_valueChanged(int)
{
    // Filled in by the generator's level controls.
}

void VeskInterface::on_dutyCycleSlider_valueChanged(int)
{
    // Filled in by the generator's level controls.
}

void VeskInterface::on_offsetSlider_valueChanged(int)
{
    // Filled in by the generator's level controls.
}

void VeskInterface::on_doubleSpinBoxAmp_valueChanged(double)
{
    // Filled in by the generator's level controls.
}

void VeskInterface::on_doubleSpinBoxDuty_valueChanged(double)
{
    // Filled in by the generator's level controls.
}

void VeskInterface::on_doubleSpinBoxOffset_valueChanged(double)
{
    // Filled in by the generator's level controls.
}

void VeskInterface::on_radioButtonSweepFrequency_clicked()
{
    // Filled in by the generator's sweep.
}

void VeskInterface::on_radioButtonSweepAmplitude_clicked()
{
    // Filled in by the generator's sweep.
}

void VeskInterface::on_radioButtonSweepDutyCycle_clicked()
{
    // Filled in by the generator's sweep.
}

void VeskInterface::on_radioButtonSweepOffset_clicked()
{
    // Filled in by the generator's sweep.
}

void VeskInterface::on_radioButtonSweepRising_clicked()
{
    // Filled in by the generator's sweep.
}

void VeskInterface::on_radioButtonSweepPingPong_clicked()
{
    // Filled in by the generator's sweep.
}

void VeskInterface::on_radioButtonSweepFalling_clicked()
{
    // Filled in by the generator's sweep.
}

void VeskInterface::on_sweepSpeedSlider_valueChanged(int)
{
    // Filled in by the generator's sweep.
}

void VeskInterface::on_sweepStartFreqSlider_valueChanged(int)
{
    // Filled in by the generator's sweep.
}

void VeskInterface::on_sweepEndFreqSlider_valueChanged(int)
{
    // Filled in by the generator's sweep.
}
