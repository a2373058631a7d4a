#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "configencoding.h"
#include "protocol.h"

#include <QSignalBlocker>

void VeskInterface::on_checkBoxAWBEnable_clicked()
{
    awgEnableChanged();
}

void VeskInterface::on_radioButtonSine_clicked()
{
    sendWaveType();
}

void VeskInterface::on_radioButtonTriangle_clicked()
{
    sendWaveType();
}

void VeskInterface::on_radioButtonExpo_clicked()
{
    sendWaveType();
}

void VeskInterface::on_radioButtonSquare_clicked()
{
    sendWaveType();
}

void VeskInterface::on_radioButtonCustom_clicked()
{
    sendWaveType();
}

void VeskInterface::on_radioButtonConstant_clicked()
{
    sendWaveType();
}

void VeskInterface::on_radioButtonWhiteNoise_clicked()
{
    sendWaveType();
}

void VeskInterface::on_radioButtonPinkNoise_clicked()
{
    sendWaveType();
}

// Like the level boxes, the Constant box signals when editing finishes: a
// level being typed does not go out digit by digit.
void VeskInterface::on_spinBoxConstant_valueChanged(int value)
{
    ui->horizontalSliderConstant->setValue(value);
}

void VeskInterface::on_horizontalSliderConstant_valueChanged(int value)
{
    ui->spinBoxConstant->setValue(value);
    sendWaveConstantLevel(value);
}

void VeskInterface::on_amplitudeSlider_valueChanged(int value)
{
    awgAmplitudeSliderChanged(value);
}

void VeskInterface::on_dutyCycleSlider_valueChanged(int value)
{
    awgDutyCycleSliderChanged(value);
}

void VeskInterface::on_offsetSlider_valueChanged(int value)
{
    awgOffsetSliderChanged(value);
}

// The level boxes signal when editing finishes (Enter, focus out, arrows,
// wheel), not at every keystroke, so a value being typed is not rewritten
// under the user's hands.
void VeskInterface::on_doubleSpinBoxAmp_valueChanged(double value)
{
    levelBoxEdited(ui->doubleSpinBoxAmp, ui->amplitudeSlider, value, WAVE_AMPLITUDE_PER_VOLT);
}

void VeskInterface::on_doubleSpinBoxDuty_valueChanged(double value)
{
    levelBoxEdited(ui->doubleSpinBoxDuty, ui->dutyCycleSlider, value, WAVE_DUTY_PER_PERCENT);
}

void VeskInterface::on_doubleSpinBoxOffset_valueChanged(double value)
{
    levelBoxEdited(ui->doubleSpinBoxOffset, ui->offsetSlider, value, WAVE_OFFSET_PER_VOLT);
}

// The slider takes the nearest position and its handler sends it; the box
// then shows what that position really gives, also when the position did
// not change (99.9 % stays at position 255 and shows 99.6 %).
void VeskInterface::levelBoxEdited(QDoubleSpinBox *box, QSlider *slider, double value, double perUnit)
{
    slider->setValue(qRound(value * perUnit));
    const QSignalBlocker blocker(box);
    box->setValue(slider->value() / perUnit);
}

void VeskInterface::awgEnableChanged()
{
    const bool enabling = ui->checkBoxAWBEnable->isChecked();
    const int scopeBlocksBefore = ui->comboBoxADCBuffer->currentIndex() + 1;
    const auto result = sendDACControlsConfirmed();
    // The generator did not start, so neither does the smaller buffer made
    // room for it.
    if (result == InstrumentCommands::ConfirmResult::Refused)
        showScopeBuffer(scopeBlocksBefore);
    if (result != InstrumentCommands::ConfirmResult::Accepted) {
        // The instrument turned the generator down even after the smaller
        // oscilloscope buffer: the box must not claim a running generator.
        if (enabling && result == InstrumentCommands::ConfirmResult::Refused) {
            const QSignalBlocker blocker(ui->checkBoxAWBEnable);
            ui->checkBoxAWBEnable->setChecked(false);
            logToFile(QStringLiteral("Generator enable refused by the instrument"), 2);
        }
        return;
    }
    ui->comboBoxDACBuffer->setEnabled(ui->checkBoxAWBEnable->isChecked());
    bufferCheckMaxSize();
}

void VeskInterface::awgDACBufferChanged(int index)
{
    sendDACBufferBlocks(ConfigEncoding::bufferBlocks(index, DAC_BLOCKS_MAX));
    bufferCheckMaxSize();
}

// The slider holds what the instrument gets; its spin box only shows it. A
// spin box that signalled here would move the slider to the position its
// rounded text gives back (amplitude 4 shows 0.03 V, which is 3), leaving
// slider and instrument apart.
void VeskInterface::awgAmplitudeSliderChanged(int value)
{
    {
        const QSignalBlocker blocker(ui->doubleSpinBoxAmp);
        ui->doubleSpinBoxAmp->setValue(value / WAVE_AMPLITUDE_PER_VOLT);
    }
    sendWaveAmplitude(value);
}

void VeskInterface::awgDutyCycleSliderChanged(int value)
{
    {
        const QSignalBlocker blocker(ui->doubleSpinBoxDuty);
        ui->doubleSpinBoxDuty->setValue(value / WAVE_DUTY_PER_PERCENT);
    }
    sendWaveDuty(value);
}

void VeskInterface::awgOffsetSliderChanged(int value)
{
    {
        const QSignalBlocker blocker(ui->doubleSpinBoxOffset);
        ui->doubleSpinBoxOffset->setValue(value / WAVE_OFFSET_PER_VOLT);
    }
    sendWaveOffset(value);
}
