// The oscilloscope's channel controls: gains with the ADC range buttons,
// coupling, trace switches, math and invert, logic bits, positions, the
// channel titles and the labels under the plot.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "channelcaptions.h"

#include <QSignalBlocker>

namespace {

// The widgets one analog channel's controls act on.
struct ChannelWidgets
{
    QSlider *gain;
    QCheckBox *ac;
    QGroupBox *acBox;
    QGroupBox *dcBox;
    QLabel *gainTitle;
    QToolButton *range24V;
    QToolButton *range2V4;
};

ChannelWidgets channelWidgets(Ui_VeskInterface *ui, int channel)
{
    if (channel == 1)
        return {ui->ch1GainSlider, ui->checkBoxCH1ACDC, ui->groupBoxCH1AC, ui->groupBoxCH1DC,
                ui->labelCH1Gain,  ui->toolButtonCh1ADC24V, ui->toolButtonCh1ADC2V4};
    return {ui->ch2GainSlider, ui->checkBoxCH2ACDC, ui->groupBoxCH2AC, ui->groupBoxCH2DC,
            ui->labelCH2Gain,  ui->toolButtonCh2ADC24V, ui->toolButtonCh2ADC2V4};
}

} // namespace

// ---- slots ----

void VeskInterface::on_ch1PositionSlider_valueChanged(int value)
{
    channelPositionSliderChanged(0, value, ch1Position, ui->comboBoxScopeCursorsChannel->currentIndex() == 0);
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
    channelPositionSliderChanged(1, value, ch2Position, ui->comboBoxScopeCursorsChannel->currentIndex() == 1);
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

void VeskInterface::on_stopButton_clicked()
{
    // The caption names the action the button takes next.
    if (ui->stopButton->text() == tr("START"))
        sendScopeStart();
    else
        sendScopeStop();
}

// ---- gain and coupling ----

void VeskInterface::channel1GainSliderChanged(int value, bool remark)
{
    channelGainChanged(1, value, remark);
    sendChannel1GainControls(value);
}

void VeskInterface::channel2GainSliderChanged(int value, bool remark)
{
    channelGainChanged(2, value, remark);
    sendChannel2GainControls(value);
}

void VeskInterface::channelGainChanged(int channel, int gain, bool remark)
{
    const ChannelWidgets widgets = channelWidgets(ui, channel);
    widgets.gainTitle->setText(gainBoxTitles.value(gain));
    const bool ac = widgets.ac->isChecked();
    channelSetBoxTitle(widgets.acBox, widgets.dcBox, channel, gain, ac);
    if (remark)
        channelRangeButtonCheck(channel, gain, ac);
}

void VeskInterface::channel1DCButtonCheck(int gain, bool acdc)
{
    channelRangeButtonCheck(1, gain, acdc);
}

void VeskInterface::channel2DCButtonCheck(int gain, bool acdc)
{
    channelRangeButtonCheck(2, gain, acdc);
}

void VeskInterface::channelRangeButtonCheck(int channel, int gain, bool acdc)
{
    const ChannelWidgets widgets = channelWidgets(ui, channel);
    const ChannelCaptions::RangeMarks marks = ChannelCaptions::rangeMarks(gain, acdc);
    widgets.range24V->setChecked(marks.range24V);
    widgets.range2V4->setChecked(marks.range2V4);
}

void VeskInterface::channel1ACDCChanged(bool remark)
{
    channelCouplingChanged(1, remark);
    sendCH1Controls();
}

void VeskInterface::channel2ACDCChanged(bool remark)
{
    channelCouplingChanged(2, remark);
    sendCH2Controls();
}

void VeskInterface::channelCouplingChanged(int channel, bool remark)
{
    const ChannelWidgets widgets = channelWidgets(ui, channel);
    const int gain = widgets.gain->value();
    const bool ac = widgets.ac->isChecked();
    channelSetBoxTitle(widgets.acBox, widgets.dcBox, channel, gain, ac);
    if (remark)
        channelRangeButtonCheck(channel, gain, ac);
}

void VeskInterface::channelSetBoxTitle(QGroupBox *acBox, QGroupBox *dcBox, int channel, int gain, bool acdc)
{
    const QString title = ChannelCaptions::boxTitle(channel, gain, acdc);
    acBox->setTitle(title);
    dcBox->setTitle(title);
}

// ---- trace switches ----

// A trace the instrument turns down even beside the smaller buffer gets the
// old buffer back. The shrink sent the analog channels' controls as plain
// writes, the refused trace among them: that write goes back first, so the
// old buffer never meets the refused trace.
void VeskInterface::channel1TraceChanged(bool on)
{
    const int scopeBlocksBefore = ui->comboBoxADCBuffer->currentIndex() + 1;
    const auto result = sendCH1ControlsConfirmed();
    if (result == InstrumentCommands::ConfirmResult::Accepted) {
        traceSwitchAccepted({ui->groupBoxCH1AC, ui->groupBoxCH1DC}, on);
    } else if (traceSwitchRefused(QStringLiteral("CH1"), result, ui->checkBoxCH1Trace,
                                  {ui->groupBoxCH1AC, ui->groupBoxCH1DC})) {
        sendCH1Controls();
        showScopeBuffer(scopeBlocksBefore);
    }
}

void VeskInterface::channel2TraceChanged(bool on)
{
    const int scopeBlocksBefore = ui->comboBoxADCBuffer->currentIndex() + 1;
    const auto result = sendCH2ControlsConfirmed();
    if (result == InstrumentCommands::ConfirmResult::Accepted) {
        traceSwitchAccepted({ui->groupBoxCH2AC, ui->groupBoxCH2DC}, on);
    } else if (traceSwitchRefused(QStringLiteral("CH2"), result, ui->checkBoxCH2Trace,
                                  {ui->groupBoxCH2AC, ui->groupBoxCH2DC})) {
        sendCH2Controls();
        showScopeBuffer(scopeBlocksBefore);
    }
}

void VeskInterface::channelLogicTraceChanged()
{
    const int scopeBlocksBefore = ui->comboBoxADCBuffer->currentIndex() + 1;
    const auto result = sendCHDControlsConfirmed();
    if (result == InstrumentCommands::ConfirmResult::Accepted)
        traceSwitchAccepted({}, ui->checkBoxCHDTrace->isChecked());
    else if (traceSwitchRefused(QStringLiteral("Logic"), result, ui->checkBoxCHDTrace, {}))
        showScopeBuffer(scopeBlocksBefore);
}

void VeskInterface::traceSwitchAccepted(const QList<QGroupBox *> &meterBoxes, bool on)
{
    // The meter page's boxes of the channel follow its trace.
    for (QGroupBox *box : meterBoxes)
        box->setChecked(on);
    bufferCheckMaxSize();
    requestReplot();
}

bool VeskInterface::traceSwitchRefused(const QString &channel, InstrumentCommands::ConfirmResult result,
                                       QCheckBox *traceBox, const QList<QGroupBox *> &meterBoxes)
{
    // Without an instrument the switch only changes what the window shows;
    // a failed transfer or an odd reply was logged as what it was.
    if (result != InstrumentCommands::ConfirmResult::Refused)
        return false;
    logToFile(channel + QStringLiteral(" trace switch not taken by the instrument"), 2);
    // The instrument holds the trace off: so does the switch, without being
    // sent again.
    if (traceBox->isChecked()) {
        const QSignalBlocker blocker(traceBox);
        traceBox->setChecked(false);
        for (QGroupBox *box : meterBoxes) {
            const QSignalBlocker boxBlocker(box);
            box->setChecked(false);
        }
    }
    return true;
}

// ---- positions ----

void VeskInterface::channelPositionSliderChanged(int channel, int value, int &position, bool moveHandles)
{
    position = value + plotYRange / 2;
    // The horizontal cursors keep their levels relative to the trace they measure.
    if (moveHandles)
        hCursorPlaceHandles(channel);
    zeroHeadRefresh();
    // The trigger level is measured on the trace: its markers move with it.
    triggerCoords[channel].channelOffset = value;
    triggerRefreshPos();
    requestReplot();
}

void VeskInterface::channelLogicPositionSliderChanged(int value)
{
    triggerCoords[2].channelOffset = ui->chdPositionSlider->value();
    triggerRefreshPos();
    chdPosition = value + plotYRange / 2;
    zeroHeadRefresh();
    requestReplot();
}

void VeskInterface::channelLogicSizeSliderChanged()
{
    triggerCoords[2].channelSize = ui->chdSizeSlider->value();
    triggerRefreshPos();
    requestReplot();
}

// ---- labels under the plot ----

void VeskInterface::updateCh1Label(int ch1Control, int ch2Control)
{
    ui->ch1Label->setText(ChannelCaptions::channelLabel(1, ch1Control, ch2Control, ui->ch1GainSlider->value()));
}

void VeskInterface::updateCh2Label(int ch2Control, int ch1Control)
{
    ui->ch2Label->setText(ChannelCaptions::channelLabel(2, ch2Control, ch1Control, ui->ch2GainSlider->value()));
}
