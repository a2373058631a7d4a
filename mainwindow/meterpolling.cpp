// Polling the instrument's measurement reply while a meter page is shown,
// and the meter pages' displays it fills.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "meterreply.h"
#include "multimeterdisplay.h"
#include "protocol.h"

#include <cmath>

namespace {

// The six AC displays of a channel in the order they are filled.
struct AcDisplays
{
    MultimeterDisplay *vpp, *max, *min, *rms, *average, *frequency;
};

AcDisplays acDisplays(Ui_VeskInterface *ui, int channel)
{
    if (channel == 0)
        return {ui->multimeterdisplayCh1Vpp, ui->multimeterdisplayCh1Max, ui->multimeterdisplayCh1Min,
                ui->multimeterdisplayCh1RMS, ui->multimeterdisplayCh1Average, ui->multimeterdisplayCh1Frequency};
    return {ui->multimeterdisplayCh2Vpp, ui->multimeterdisplayCh2Max, ui->multimeterdisplayCh2Min,
            ui->multimeterdisplayCh2RMS, ui->multimeterdisplayCh2Average, ui->multimeterdisplayCh2Frequency};
}

void clearAcDisplays(const AcDisplays &displays)
{
    for (MultimeterDisplay *display :
         {displays.vpp, displays.min, displays.max, displays.rms, displays.average, displays.frequency})
        display->setValue(0);
}

// A value that had nothing to divide by shows as not-a-number.
void showValue(MultimeterDisplay *display, double value)
{
    if (std::isnan(value))
        display->setNaN();
    else
        display->setValue(value);
}

} // namespace

void VeskInterface::meterRequestData()
{
    if (!libUsbDevice.connected)
        return;
    unsigned char bytes[MeterReply::size];
    clearBuffer(bytes, MeterReply::size);
    const int received = libUsbDevice.controlReadTransfer(REQ_READ, bytes, MeterReply::size, READ_METER, 0);
    const std::optional<MeterReply> reply = MeterReply::parse(bytes, received);
    if (!reply) {
        // The displays keep their last readings. One warning per run of
        // failed reads: an instrument that keeps failing must not fill the
        // log at the polling rate.
        if (meterFailedReads++ == 0)
            logToFile(QStringLiteral("Meter, data too short"), 2);
        return;
    }
    if (meterFailedReads > 1)
        logToFile(QStringLiteral("Meter, replies again after %1 failed reads").arg(meterFailedReads), 1);
    meterFailedReads = 0;

    switch (ui->mmTabWidget->currentIndex()) {
    case 0:
        meterShowAC(*reply);
        break;
    case 1:
        meterShowDC(*reply);
        break;
    case 2:
        meterShowCounter(*reply);
        break;
    default:
        break;
    }
}

void VeskInterface::meterShowAC(const MeterReply &reply)
{
    const QGroupBox *groups[] = {ui->groupBoxCH1AC, ui->groupBoxCH2AC};
    for (int channel = 0; channel < 2; ++channel) {
        const AcDisplays displays = acDisplays(ui, channel);
        if (!groups[channel]->isChecked()) {
            clearAcDisplays(displays);
            continue;
        }
        const FrameMeasurement::Readings values = reply.acReadings(channel);
        displays.vpp->setValue(values.vpp);
        displays.max->setValue(values.max);
        displays.min->setValue(values.min);
        displays.rms->setValue(values.rms);
        displays.average->setValue(values.average);
        showValue(displays.frequency, values.frequency);
    }
}

void VeskInterface::meterShowDC(const MeterReply &reply)
{
    ui->multimeterdisplayCh1DC->setValue(ui->groupBoxCH1DC->isChecked() ? reply.dcVolts(0) : 0);
    ui->multimeterdisplayCh2DC->setValue(ui->groupBoxCH2DC->isChecked() ? reply.dcVolts(1) : 0);
}

void VeskInterface::meterShowCounter(const MeterReply &reply)
{
    if (ui->radioPulse->isChecked()) {
        ui->multimeterdisplayCounter->setValue(reply.counterValue());
    } else if (ui->radioPeriod->isChecked()) {
        const MeterReply::PeriodReadings values = reply.periodReadings();
        ui->multimeterdisplayPeriodValue->setValue(values.period);
        showValue(ui->multimeterdisplayDutyValue, values.dutyPercent);
        showValue(ui->multimeterdisplayDutyValue_s, values.dutySeconds);
        showValue(ui->multimeterdisplayFrequencyValue, values.frequency);
    } else if (ui->radioFreq->isChecked()) {
        const MeterReply::FrequencyReadings values = reply.frequencyReadings();
        ui->multimeterdisplayFrequencyValue->setValue(values.frequency);
        showValue(ui->multimeterdisplayPeriodValue, values.period);
    } else if (ui->radioExtGate->isChecked()) {
        ui->multimeterdisplayCounter->setValue(reply.counterValue());
    }
}

void VeskInterface::counterButtonEnable(bool enable)
{
    ui->pushButtonCounterStart->setEnabled(enable);
    ui->pushButtonCounteStop->setEnabled(false);
}

void VeskInterface::clearMMLabelsFreq()
{
    for (MultimeterDisplay *display :
         {ui->multimeterdisplayFrequencyValue, ui->multimeterdisplayDutyValue, ui->multimeterdisplayDutyValue_s,
          ui->multimeterdisplayPeriodValue, ui->multimeterdisplayCounter})
        display->setValue(0);
}

void VeskInterface::clearMMLabelsCH1AC()
{
    clearAcDisplays(acDisplays(ui, 0));
}

void VeskInterface::clearMMLabelsCH2AC()
{
    clearAcDisplays(acDisplays(ui, 1));
}
