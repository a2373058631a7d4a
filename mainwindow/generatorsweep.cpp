#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "sweepreadout.h"

#include <QSignalBlocker>

#include <optional>

void VeskInterface::on_collapsiblePanelAWGSweep_checkedChanged(bool checked)
{
    ui->frameAWGSweep->setEnabled(checked);
    sweepCursorsUpdate();
    sendSweepTypeControls();
}

void VeskInterface::on_radioButtonSweepFrequency_clicked()
{
    ui->radioButtonSweepFrequency->setChecked(true);
    sweepCursorsUpdate();
    sendSweepTypeControls();
}

void VeskInterface::on_radioButtonSweepAmplitude_clicked()
{
    ui->radioButtonSweepAmplitude->setChecked(true);
    sweepCursorsUpdate();
    sendSweepTypeControls();
}

void VeskInterface::on_radioButtonSweepDutyCycle_clicked()
{
    ui->radioButtonSweepDutyCycle->setChecked(true);
    sweepCursorsUpdate();
    sendSweepTypeControls();
}

void VeskInterface::on_radioButtonSweepOffset_clicked()
{
    ui->radioButtonSweepOffset->setChecked(true);
    sweepCursorsUpdate();
    sendSweepTypeControls();
}

void VeskInterface::on_radioButtonSweepRising_clicked()
{
    ui->radioButtonSweepRising->setChecked(true);
    sendSweepTypeControls();
}

void VeskInterface::on_radioButtonSweepPingPong_clicked()
{
    ui->radioButtonSweepPingPong->setChecked(true);
    sendSweepTypeControls();
}

void VeskInterface::on_radioButtonSweepFalling_clicked()
{
    ui->radioButtonSweepFalling->setChecked(true);
    sendSweepTypeControls();
}

void VeskInterface::on_sweepSpeedSlider_valueChanged(int value)
{
    sweepSpeedSliderChanged(value);
}

void VeskInterface::on_sweepStartFreqSlider_valueChanged(int)
{
    sweepStartFreqChanged(ui->sweepStartFreqSlider, ui->sweepEndFreqSlider);
}

void VeskInterface::on_sweepEndFreqSlider_valueChanged(int)
{
    sweepEndFreqChanged(ui->sweepStartFreqSlider, ui->sweepEndFreqSlider);
}

void VeskInterface::sweepSpeedSliderChanged(int value)
{
    ui->sweepSpeedText->setText(QString::number(value));
    sendSweepSpeed(value);
}

// The moved slider stops at the other one, so start <= end always holds.
void VeskInterface::sweepStartFreqChanged(QSlider *start, QSlider *end)
{
    if (start->value() > end->value()) {
        const QSignalBlocker blocker(start);
        start->setValue(end->value());
    }
    sendSweepStart(start->value());
}

void VeskInterface::sweepEndFreqChanged(QSlider *start, QSlider *end)
{
    if (end->value() < start->value()) {
        const QSignalBlocker blocker(end);
        end->setValue(start->value());
    }
    sendSweepEnd(end->value());
}

void VeskInterface::sweepCursorsUpdate()
{
    std::optional<SweepReadout::Quantity> quantity;
    if (ui->radioButtonSweepFrequency->isChecked())
        quantity = SweepReadout::Quantity::Frequency;
    else if (ui->radioButtonSweepAmplitude->isChecked())
        quantity = SweepReadout::Quantity::Amplitude;
    else if (ui->radioButtonSweepOffset->isChecked())
        quantity = SweepReadout::Quantity::Offset;
    else if (ui->radioButtonSweepDutyCycle->isChecked())
        quantity = SweepReadout::Quantity::DutyCycle;
    if (!quantity)
        return;

    const struct {
        QSlider *slider;
        QDoubleSpinBox *display;
        QLabel *unit;
    } ends[] = {{ui->sweepStartFreqSlider, ui->startFreqText, ui->labelUnitStart},
                {ui->sweepEndFreqSlider, ui->endFreqText, ui->labelUnitEnd}};
    for (const auto &end : ends) {
        const SweepReadout readout = SweepReadout::of(*quantity, end.slider->value());
        end.display->setDecimals(readout.decimals);
        end.display->setValue(readout.value);
        end.unit->setText(readout.unit);
    }
}
