#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "configencoding.h"
#include "protocol.h"
#include "scopevalues.h"

#include <algorithm>

void VeskInterface::on_horizontalScrollBar_valueChanged(int value)
{
    horizontalScrollBarChanged(value);
}

void VeskInterface::on_verticalScrollBar_valueChanged(int value)
{
    verticalScrollBarChanged(value);
}

void VeskInterface::on_samplingSlider_valueChanged(int value)
{
    scopeSamplingSliderChanged(value);
}

void VeskInterface::on_xyMode_clicked()
{
    // Filled in by the oscilloscope's display modes.
}

void VeskInterface::on_rollMode_clicked()
{
    scopeRollModeChanged();
}

void VeskInterface::on_elasticMode_clicked()
{
    on_checkBoxmeterondev_clicked();
}

void VeskInterface::on_ch1PositionSlider_valueChanged(int value)
{
    channelPositionSliderChanged(0, value, ch1Position);
}

void VeskInterface::on_ch1GainSlider_valueChanged(int value)
{
    channel1GainSliderChanged(value, true);
}

void VeskInterface::on_checkBoxCH1Trace_clicked()
{
    channel1TraceChanged(ui->checkBoxCH1Trace->isChecked());
}

void VeskInterface::on_checkBoxCH1ACDC_clicked()
{
    channel1ACDCChanged(true);
}

void VeskInterface::on_checkBoxCH1Average_clicked()
{
    sendCH1Controls();
}

void VeskInterface::on_checkBoxCH1Invert_clicked()
{
    sendCH1Controls();
}

void VeskInterface::on_checkBoxCH1Math_clicked()
{
    sendCH1Controls();
}

void VeskInterface::on_radioButtonCH1Sub_clicked()
{
    sendCH1Controls();
}

void VeskInterface::on_radioButtonCH1Multiply_clicked()
{
    sendCH1Controls();
}

void VeskInterface::on_ch2PositionSlider_valueChanged(int value)
{
    channelPositionSliderChanged(1, value, ch2Position);
}

void VeskInterface::on_ch2GainSlider_valueChanged(int value)
{
    channel2GainSliderChanged(value, true);
}

void VeskInterface::on_checkBoxCH2Trace_clicked()
{
    channel2TraceChanged(ui->checkBoxCH2Trace->isChecked());
}

void VeskInterface::on_checkBoxCH2ACDC_clicked()
{
    channel2ACDCChanged(true);
}

void VeskInterface::on_checkBoxCH2Average_clicked()
{
    sendCH2Controls();
}

void VeskInterface::on_checkBoxCH2Invert_clicked()
{
    sendCH2Controls();
}

void VeskInterface::on_checkBoxCH2Math_clicked()
{
    sendCH2Controls();
}

void VeskInterface::on_radioButtonCH2Sub_clicked()
{
    sendCH2Controls();
}

void VeskInterface::on_radioButtonCH2Multiply_clicked()
{
    sendCH2Controls();
}

void VeskInterface::on_chdPositionSlider_valueChanged(int value)
{
    channelLogicPositionSliderChanged(value);
}

void VeskInterface::on_chdSizeSlider_valueChanged(int)
{
    channelLogicSizeSliderChanged();
}

void VeskInterface::on_checkBoxCHDTrace_clicked()
{
    channelLogicTraceChanged();
}

void VeskInterface::on_checkBoxCHDInvert_clicked()
{
    sendCHDControls();
}

void VeskInterface::on_checkBoxCHD0_clicked()
{
    sendCHDBitControls();
}

void VeskInterface::on_checkBoxCHD1_clicked()
{
    sendCHDBitControls();
}

void VeskInterface::on_checkBoxCHD2_clicked()
{
    sendCHDBitControls();
}

void VeskInterface::on_checkBoxCHD3_clicked()
{
    sendCHDBitControls();
}

void VeskInterface::on_checkBoxCHD4_clicked()
{
    sendCHDBitControls();
}

void VeskInterface::on_checkBoxCHD5_clicked()
{
    sendCHDBitControls();
}

void VeskInterface::on_checkBoxCHD6_clicked()
{
    sendCHDBitControls();
}

void VeskInterface::on_checkBoxCHD7_clicked()
{
    sendCHDBitControls();
}

void VeskInterface::on_checkBoxFFTTrace_clicked()
{
    fftControlsPlotSet();
}

void VeskInterface::on_checkBoxIQFFT_clicked()
{
    fftControlsPlotSet();
}

void VeskInterface::on_checkBoxLogY_clicked()
{
    fftControlsPlotSet();
}

void VeskInterface::on_radioButtonRect_clicked()
{
    fftWindowFunctionSet();
    fftControlsPlotSet();
}

void VeskInterface::on_radioButtonHamming_clicked()
{
    fftWindowFunctionSet();
    fftControlsPlotSet();
}

void VeskInterface::on_radioButtonHann_clicked()
{
    fftWindowFunctionSet();
    fftControlsPlotSet();
}

void VeskInterface::on_radioButtonBlackman_clicked()
{
    fftWindowFunctionSet();
    fftControlsPlotSet();
}

void VeskInterface::on_captureButton_clicked()
{
    captureRequest = true;
}

void VeskInterface::on_stopButton_clicked()
{
    // The caption names the action the button takes next.
    if (ui->stopButton->text() == tr("START"))
        sendScopeStart();
    else
        sendScopeStop();
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

// ---- setting handlers ----

void VeskInterface::scopeSamplingSliderChanged(int value)
{
    // Slow time bases draw as a rolling trace; elastic traces need a full frame.
    const bool slow = value > 10;
    ui->rollMode->setEnabled(slow);
    slowSamplingRate = slow;
    ui->elasticMode->setEnabled(!slow || !ui->rollMode->isChecked());
    if (!libUsbDevice.connected)
        return;
    triggerRefreshPos();
    scopeRefreshSamplingRateLabel();
    sendSamplingRate(value);
}

void VeskInterface::scopeADCBufferChanged(int index)
{
    sendCHBufferBlocks(ConfigEncoding::bufferBlocks(index, CH_BLOCKS_MAX));
    bufferCheckMaxSize();
    scopeRefreshSamplingRateLabel();
    sendCH1Controls();
    sendCH2Controls();
    replotRequest = true;
}

void VeskInterface::scopeRefreshSamplingRateLabel()
{
    ui->labelSamplingRate->setText(
        ScopeValues::samplingRateText(ui->samplingSlider->value(), ui->comboBoxADCBuffer->currentIndex()));
}

void VeskInterface::channel1GainSliderChanged(int value, bool remark)
{
    Q_UNUSED(remark) // the range buttons' marks come with the channel controls
    sendChannel1GainControls(value);
}

void VeskInterface::channel2GainSliderChanged(int value, bool remark)
{
    Q_UNUSED(remark)
    sendChannel2GainControls(value);
}

void VeskInterface::channel1ACDCChanged(bool remark)
{
    Q_UNUSED(remark)
    sendCH1Controls();
}

void VeskInterface::channel2ACDCChanged(bool remark)
{
    Q_UNUSED(remark)
    sendCH2Controls();
}

void VeskInterface::channel1TraceChanged(bool on)
{
    if (sendCH1ControlsConfirmed())
        traceSwitchAccepted({ui->groupBoxCH1AC, ui->groupBoxCH1DC}, on);
}

void VeskInterface::channel2TraceChanged(bool on)
{
    if (sendCH2ControlsConfirmed())
        traceSwitchAccepted({ui->groupBoxCH2AC, ui->groupBoxCH2DC}, on);
}

void VeskInterface::channelLogicTraceChanged()
{
    if (sendCHDControlsConfirmed())
        traceSwitchAccepted({}, ui->checkBoxCHDTrace->isChecked());
}

void VeskInterface::traceSwitchAccepted(const QList<QGroupBox *> &meterBoxes, bool on)
{
    // The meter page's boxes of the channel follow its trace.
    for (QGroupBox *box : meterBoxes)
        box->setChecked(on);
    bufferCheckMaxSize();
    replotRequest = true;
}

// Trace offsets in plot units. The cursor handles, zero heads and trigger
// markers that follow them come with the channel controls.
void VeskInterface::channelPositionSliderChanged(int channel, int value, int &position)
{
    position = value + plotYRange / 2;
    triggerCoords[channel].channelOffset = value;
    replotRequest = true;
}

void VeskInterface::channelLogicPositionSliderChanged(int value)
{
    triggerCoords[2].channelOffset = value;
    chdPosition = value + plotYRange / 2;
    replotRequest = true;
}

void VeskInterface::channelLogicSizeSliderChanged()
{
    triggerCoords[2].channelSize = ui->chdSizeSlider->value();
    replotRequest = true;
}

void VeskInterface::scopeRollModeChanged()
{
    sendMixedControls();
    ui->elasticMode->setEnabled(!ui->rollMode->isChecked());
    replotRequest = true;
}
