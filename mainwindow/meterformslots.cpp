#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "protocol.h"

#include <QSignalBlocker>

void VeskInterface::on_mmTabWidget_currentChanged(int index)
{
    meterTabChanged(index);
}

void VeskInterface::on_groupBoxCH1AC_clicked()
{
    const bool on = ui->groupBoxCH1AC->isChecked();
    ui->checkBoxCH1Trace->setChecked(on);
    ui->groupBoxCH1DC->setChecked(on);
    channel1TraceChanged(on);
}

void VeskInterface::on_groupBoxCH2AC_clicked()
{
    const bool on = ui->groupBoxCH2AC->isChecked();
    ui->checkBoxCH2Trace->setChecked(on);
    ui->groupBoxCH2DC->setChecked(on);
    channel2TraceChanged(on);
}

void VeskInterface::on_groupBoxCH1DC_clicked()
{
    const bool on = ui->groupBoxCH1DC->isChecked();
    ui->checkBoxCH1Trace->setChecked(on);
    ui->groupBoxCH1AC->setChecked(on);
    channel1TraceChanged(on);
}

void VeskInterface::on_groupBoxCH2DC_clicked()
{
    const bool on = ui->groupBoxCH2DC->isChecked();
    ui->checkBoxCH2Trace->setChecked(on);
    ui->groupBoxCH2AC->setChecked(on);
    channel2TraceChanged(on);
}

void VeskInterface::on_toolButtonCh1ADC24V_clicked()
{
    meterRangeSelected(1, ui->toolButtonCh1ADC2V4, 0);
}

void VeskInterface::on_toolButtonCh1ADC2V4_clicked()
{
    meterRangeSelected(1, ui->toolButtonCh1ADC24V, 3);
}

void VeskInterface::on_toolButtonCh2ADC24V_clicked()
{
    meterRangeSelected(2, ui->toolButtonCh2ADC2V4, 0);
}

void VeskInterface::on_toolButtonCh2ADC2V4_clicked()
{
    meterRangeSelected(2, ui->toolButtonCh2ADC24V, 3);
}

void VeskInterface::on_fcR0_clicked()
{
    sendTriggerSource();
}

void VeskInterface::on_fcR1_clicked()
{
    sendTriggerSource();
}

void VeskInterface::on_fcR2_clicked()
{
    sendTriggerSource();
}

void VeskInterface::on_fcR3_clicked()
{
    sendTriggerSource();
}

void VeskInterface::on_fcR4_clicked()
{
    sendTriggerSource();
}

void VeskInterface::on_fcR5_clicked()
{
    sendTriggerSource();
}

void VeskInterface::on_fcR6_clicked()
{
    sendTriggerSource();
}

void VeskInterface::on_fcR7_clicked()
{
    sendTriggerSource();
}

void VeskInterface::on_fcR10_clicked()
{
    sendTriggerSource();
}

void VeskInterface::on_fcR11_clicked()
{
    sendTriggerSource();
}

void VeskInterface::on_fcR0_2_clicked()
{
    sendGateSource();
}

void VeskInterface::on_fcR1_2_clicked()
{
    sendGateSource();
}

void VeskInterface::on_fcR2_2_clicked()
{
    sendGateSource();
}

void VeskInterface::on_fcR3_2_clicked()
{
    sendGateSource();
}

void VeskInterface::on_fcR4_2_clicked()
{
    sendGateSource();
}

void VeskInterface::on_fcR5_2_clicked()
{
    sendGateSource();
}

void VeskInterface::on_fcR6_2_clicked()
{
    sendGateSource();
}

void VeskInterface::on_fcR7_2_clicked()
{
    sendGateSource();
}

void VeskInterface::on_fcR10_2_clicked()
{
    sendGateSource();
}

void VeskInterface::on_fcR11_2_clicked()
{
    sendGateSource();
}

void VeskInterface::on_radioPeriod_clicked()
{
    ui->radioPeriod->setChecked(true);
    meterFrequencyModeChanged();
}

void VeskInterface::on_radioFreq_clicked()
{
    ui->radioFreq->setChecked(true);
    meterFrequencyModeChanged();
}

void VeskInterface::on_radioPulse_clicked()
{
    ui->radioPulse->setChecked(true);
    meterFrequencyModeChanged();
}

void VeskInterface::on_radioExtGate_clicked()
{
    ui->radioExtGate->setChecked(true);
    meterFrequencyModeChanged();
}

void VeskInterface::on_checkBoxFreqFastMode_clicked()
{
    sendMeterFrequencyControl();
}

void VeskInterface::on_radioFrequencyGatePeriod_clicked()
{
    sendMeterFrequencyControl();
}

void VeskInterface::on_radioFrequencyGatePulse_clicked()
{
    sendMeterFrequencyControl();
}

void VeskInterface::on_pushButtonCounterStart_clicked()
{
    // A stop first, so every start counts from zero.
    sendCouterStop();
    clearMMLabelsFreq();
    sendCouterStart();
    ui->pushButtonCounteStop->setEnabled(true);
    meterTimer.start(200);
}

void VeskInterface::on_pushButtonCounteStop_clicked()
{
    sendCouterStop();
    ui->pushButtonCounteStop->setEnabled(false);
    meterTimer.start(100);
}

// ---- setting handlers ----

void VeskInterface::meterRangeSelected(int channel, QToolButton *otherRange, int gain)
{
    // A range button sets the channel's gain and DC coupling in one go.
    otherRange->setChecked(false);
    QSlider *gainSlider = channel == 1 ? ui->ch1GainSlider : ui->ch2GainSlider;
    {
        const QSignalBlocker blocker(gainSlider);
        gainSlider->setValue(gain);
    }
    if (channel == 1)
        channel1GainSliderChanged(gainSlider->value(), false);
    else
        channel2GainSliderChanged(gainSlider->value(), false);
    (channel == 1 ? ui->checkBoxCH1ACDC : ui->checkBoxCH2ACDC)->setChecked(false);
    if (channel == 1)
        channel1ACDCChanged(false);
    else
        channel2ACDCChanged(false);
}

void VeskInterface::meterTabChanged(int page)
{
    meterTimer.stop();
    if (ui->mainTabWidget->currentIndex() != 1)
        return;
    switch (page) {
    case 0:
    case 1:
        mainMode = page == 0 ? MODE_METER_AC : MODE_METER_DC;
        sendMainModeControls(mainMode);
        meterTimer.start(400);
        break;
    case 2:
        sendTriggerSource();
        sendGateSource();
        meterFrequencyModeChanged();
        break;
    default:
        break;
    }
}

void VeskInterface::meterFrequencyModeChanged()
{
    clearMMLabelsFreq();
    struct CounterMode
    {
        QRadioButton *radio;
        bool gateSource;
        bool duty, period, counter, frequency; // displays shown
        bool startButton;
        int mode;
        bool polled; // pulses are read only after the counter's Start
    };
    const CounterMode modes[] = {
        {ui->radioFreq, false, false, true, false, true, false, MODE_COUNTER_FREQUENCY, true},
        {ui->radioPulse, false, false, false, true, false, true, MODE_COUNTER_PULSES, false},
        {ui->radioPeriod, false, true, true, false, true, false, MODE_COUNTER_PERIOD, true},
        {ui->radioExtGate, true, false, false, true, false, false, MODE_COUNTER_EXT_GATE, true},
    };
    for (const CounterMode &row : modes) {
        if (!row.radio->isChecked())
            continue;
        ui->groupBoxSourceGate->setEnabled(row.gateSource);
        ui->multimeterdisplayDutyValue->setVisible(row.duty);
        ui->multimeterdisplayDutyValue_s->setVisible(row.duty);
        ui->multimeterdisplayPeriodValue->setVisible(row.period);
        ui->multimeterdisplayCounter->setVisible(row.counter);
        ui->multimeterdisplayFrequencyValue->setVisible(row.frequency);
        counterButtonEnable(row.startButton);
        mainMode = row.mode;
        if (row.polled)
            meterTimer.start(400);
        else
            meterTimer.stop();
        break;
    }
    // With no mode chosen the instrument keeps the mode it has.
    sendMeterFrequencyControl();
    sendMainModeControls(mainMode);
}
