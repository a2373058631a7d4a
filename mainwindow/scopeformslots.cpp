#include "veskinterface.h"

void VeskInterface::on_horizontalScrollBar_valueChanged(int)
{
    // Filled in by the oscilloscope's plot scrolling.
}

void VeskInterface::on_verticalScrollBar_valueChanged(int)
{
    // Filled in by the oscilloscope's plot scrolling.
}

void VeskInterface::on_samplingSlider_valueChanged(int)
{
    // Filled in by the oscilloscope's time base.
}

void VeskInterface::on_xyMode_clicked()
{
    // Filled in by the oscilloscope's display modes.
}

void VeskInterface::on_rollMode_clicked()
{
    // Filled in by the oscilloscope's display modes.
}

void VeskInterface::on_elasticMode_clicked()
{
    // Filled in by the oscilloscope's display modes.
}

void VeskInterface::on_ch1PositionSlider_valueChanged(int)
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_ch1GainSlider_valueChanged(int)
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_checkBoxCH1Trace_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_checkBoxCH1ACDC_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_checkBoxCH1Average_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_checkBoxCH1Invert_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_checkBoxCH1Math_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_checkBoxCH1Invert_toggled(bool)
{
    // Filled in by the oscilloscope's trigger controls.
}

void VeskInterface::on_radioButtonCH1Sub_clicked()
{
    // Filled in by the oscilloscope's channel math.
}

void VeskInterface::on_radioButtonCH1Multiply_clicked()
{
    // Filled in by the oscilloscope's channel math.
}

void VeskInterface::on_ch2PositionSlider_valueChanged(int)
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_ch2GainSlider_valueChanged(int)
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_checkBoxCH2Trace_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_checkBoxCH2ACDC_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_checkBoxCH2Average_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_checkBoxCH2Invert_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_checkBoxCH2Math_clicked()
{
    // Filled in by the oscilloscope's channel controls.
}

void VeskInterface::on_checkBoxCH2Invert_toggled(bool)
{
    // Filled in by the oscilloscope's trigger controls.
}

void VeskInterface::on_radioButtonCH2Sub_clicked()
{
    // Filled in by the oscilloscope's channel math.
}

void VeskInterface::on_radioButtonCH2Multiply_clicked()
{
    // Filled in by the oscilloscope's channel math.
}

void VeskInterface::on_chdPositionSlider_valueChanged(int)
{
    // Filled in by the oscilloscope's logic channel controls.
}

void VeskInterface::on_chdSizeSlider_valueChanged(int)
{
    // Filled in by the oscilloscope's logic channel controls.
}

void VeskInterface::on_checkBoxCHDTrace_clicked()
{
    // Filled in by the oscilloscope's logic channel controls.
}

void VeskInterface::on_checkBoxCHDInvert_clicked()
{
    // Filled in by the oscilloscope's logic channel controls.
}

void VeskInterface::on_checkBoxCHD0_clicked()
{
    // Filled in by the oscilloscope's logic channel controls.
}

void VeskInterface::on_checkBoxCHD1_clicked()
{
    // Filled in by the oscilloscope's logic channel controls.
}

void VeskInterface::on_checkBoxCHD2_clicked()
{
    // Filled in by the oscilloscope's logic channel controls.
}

void VeskInterface::on_checkBoxCHD3_clicked()
{
    // Filled in by the oscilloscope's logic channel controls.
}

void VeskInterface::on_checkBoxCHD4_clicked()
{
    // Filled in by the oscilloscope's logic channel controls.
}

void VeskInterface::on_checkBoxCHD5_clicked()
{
    // Filled in by the oscilloscope's logic channel controls.
}

void VeskInterface::on_checkBoxCHD6_clicked()
{
    // Filled in by the oscilloscope's logic channel controls.
}

void VeskInterface::on_checkBoxCHD7_clicked()
{
    // Filled in by the oscilloscope's logic channel controls.
}

void VeskInterface::on_checkBoxFFTTrace_clicked()
{
    // Filled in by the oscilloscope's FFT view.
}

void VeskInterface::on_checkBoxIQFFT_clicked()
{
    // Filled in by the oscilloscope's FFT view.
}

void VeskInterface::on_checkBoxLogY_clicked()
{
    // Filled in by the oscilloscope's FFT view.
}

void VeskInterface::on_radioButtonRect_clicked()
{
    // Filled in by the oscilloscope's FFT view.
}

void VeskInterface::on_radioButtonHamming_clicked()
{
    // Filled in by the oscilloscope's FFT view.
}

void VeskInterface::on_radioButtonHann_clicked()
{
    // Filled in by the oscilloscope's FFT view.
}

void VeskInterface::on_radioButtonBlackman_clicked()
{
    // Filled in by the oscilloscope's FFT view.
}

void VeskInterface::on_captureButton_clicked()
{
    // Filled in by the oscilloscope's reference capture.
}

void VeskInterface::on_comboBoxTrigSource_currentIndexChanged(int)
{
    // Filled in by the oscilloscope's trigger controls.
}

void VeskInterface::on_radioButtonRisingEdge_clicked()
{
    // Filled in by the oscilloscope's trigger controls.
}

void VeskInterface::on_radioButtonFallingEdge_clicked()
{
    // Filled in by the oscilloscope's trigger controls.
}

void VeskInterface::on_radioButtonDual_clicked()
{
    // Filled in by the oscilloscope's trigger controls.
}

void VeskInterface::on_radioButtonPositiveSlope_clicked()
{
    // Filled in by the oscilloscope's trigger controls.
}

void VeskInterface::on_radioButtonNegativeSlope_clicked()
{
    // Filled in by the oscilloscope's trigger controls.
}

void VeskInterface::on_radioButtonWindow_clicked()
{
    // Filled in by the oscilloscope's trigger controls.
}

void VeskInterface::on_doubleSpinBoxTrigAuto_valueChanged(double)
{
    // Filled in by the oscilloscope's trigger controls.
}

void VeskInterface::on_doubleSpinBoxTrigHold_valueChanged(double)
{
    // Filled in by the oscilloscope's trigger controls.
}

void VeskInterface::on_radioButtonFree_clicked()
{
    // Filled in by the oscilloscope's trigger controls.
}

void VeskInterface::on_radioButtonNormal_clicked()
{
    // Filled in by the oscilloscope's trigger controls.
}

void VeskInterface::on_radioButtonAuto_clicked()
{
    // Filled in by the oscilloscope's trigger controls.
}

void VeskInterface::on_radioButtonSingle_clicked()
{
    // Filled in by the oscilloscope's trigger controls.
}

int VeskInterface::on_forceButton_clicked()
{
    // Filled in by the oscilloscope's trigger controls.
    return -1;
}

void VeskInterface::on_stopButton_clicked()
{
    // Filled in by the oscilloscope's run control.
}

void VeskInterface::on_checkBoxCursorVertical_clicked()
{
    // Filled in by the oscilloscope's cursors.
}

void VeskInterface::on_checkBoxScopeCursorsHorizontal_clicked()
{
    // Filled in by the oscilloscope's cursors.
}

void VeskInterface::on_comboBoxScopeCursorsChannel_currentIndexChanged(int)
{
    // Filled in by the oscilloscope's cursors.
}

void VeskInterface::on_comboBoxScopeCursorsHorizontalType_currentIndexChanged(int)
{
    // Filled in by the oscilloscope's cursors.
}
