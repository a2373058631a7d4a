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
    // Cursors, dots and the trigger marker depend on XY mode.
    cursorsVerticalChanged(ui->checkBoxCursorVertical->isChecked());
    cursorsHorizontalChanged(ui->checkBoxScopeCursorsHorizontal->isChecked());
    setupScatterStyles(ui->checkBoxVectors->isChecked());
    displayControlsSet();
    scopeSetTriggerType();
}

void VeskInterface::on_rollMode_clicked()
{
    scopeRollModeChanged();
}

void VeskInterface::on_elasticMode_clicked()
{
    on_checkBoxmeterondev_clicked();
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
    hCursorRefreshVisible();
    sendCH1Controls();
    sendCH2Controls();
    vCursorRefreshLabel();
    vCursorRefresh();
    requestReplot();
}

void VeskInterface::scopeRefreshSamplingRateLabel()
{
    ui->labelSamplingRate->setText(
        ScopeValues::samplingRateText(ui->samplingSlider->value(), ui->comboBoxADCBuffer->currentIndex()));
}

void VeskInterface::scopeRollModeChanged()
{
    sendMixedControls();
    ui->elasticMode->setEnabled(!ui->rollMode->isChecked());
    requestReplot();
}
