#include "veskinterface.h"

void VeskInterface::on_intensitySlider_valueChanged(int)
{
    // Filled in by the oscilloscope's display options.
}

void VeskInterface::on_checkBoxVectors_clicked()
{
    // Filled in by the oscilloscope's display options.
}

void VeskInterface::on_checkBoxPersistence_clicked()
{
    // Filled in by the oscilloscope's display options.
}

void VeskInterface::on_loadWave_clicked()
{
    // Filled in by the oscilloscope's wave files.
}

void VeskInterface::on_saveWave_clicked()
{
    // Filled in by the oscilloscope's wave files.
}

void VeskInterface::on_clearWaveButton_clicked()
{
    // Filled in by the oscilloscope's wave files.
}

void VeskInterface::on_screenShotButton_clicked()
{
    // Filled in by the oscilloscope's screenshots.
}

void VeskInterface::on_recordButton_clicked()
{
    // Filled in by the oscilloscope's recording.
}

void VeskInterface::on_playButton_clicked()
{
    // Filled in by the oscilloscope's recording.
}

void VeskInterface::on_checkBoxmeterondev_clicked()
{
    // Filled in by the meter's on-device measurement switch.
}

void VeskInterface::on_comboBoxDACBuffer_currentIndexChanged(int)
{
    // Filled in by the generator's buffer size.
}

void VeskInterface::on_comboBoxADCBuffer_currentIndexChanged(int)
{
    // Filled in by the oscilloscope's channel buffer size.
}

void VeskInterface::on_toolButtonDACOffsetPlus_clicked()
{
    // Filled in by the generator's DAC calibration.
}

void VeskInterface::on_toolButtonDACOffsetOK_clicked()
{
    // Filled in by the generator's DAC calibration.
}

void VeskInterface::on_toolButtonDACOffsetMinus_clicked()
{
    // Filled in by the generator's DAC calibration.
}

void VeskInterface::on_toolButtonDACGainPlus_clicked()
{
    // Filled in by the generator's DAC calibration.
}

void VeskInterface::on_toolButtonDACGainOK_clicked()
{
    // Filled in by the generator's DAC calibration.
}

void VeskInterface::on_toolButtonDACGainMinus_clicked()
{
    // Filled in by the generator's DAC calibration.
}

void VeskInterface::on_pushButtonCalibrateADCOffsetClear_clicked()
{
    // Filled in by the oscilloscope's ADC calibration.
}

void VeskInterface::on_pushButtonCalibrateADCOffset_clicked()
{
    // Filled in by the oscilloscope's ADC calibration.
}

void VeskInterface::on_toolButtonCH1GainPlus_clicked()
{
    // Filled in by the oscilloscope's ADC calibration.
}

void VeskInterface::on_toolButtonCH1GainOK_clicked()
{
    // Filled in by the oscilloscope's ADC calibration.
}

void VeskInterface::on_toolButtonCH1GainMinus_clicked()
{
    // Filled in by the oscilloscope's ADC calibration.
}

void VeskInterface::on_toolButtonCH2GainPlus_clicked()
{
    // Filled in by the oscilloscope's ADC calibration.
}

void VeskInterface::on_toolButtonCH2GainOK_clicked()
{
    // Filled in by the oscilloscope's ADC calibration.
}

void VeskInterface::on_toolButtonCH2GainMinus_clicked()
{
    // Filled in by the oscilloscope's ADC calibration.
}
