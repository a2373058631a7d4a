#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "configencoding.h"
#include "protocol.h"

#include <QSignalBlocker>
#include <QtEndian>

#include <algorithm>
#include <cmath>

void VeskInterface::on_checkBoxAWBEnable_clicked()
{
    awgEnableChanged();
}

void VeskInterface::on_collapsiblePanelAWGSweep_checkedChanged(bool checked)
{
    ui->frameAWGSweep->setEnabled(checked);
    sweepCursorsUpdate();
    sendSweepTypeControls();
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

void VeskInterface::on_openCSVButton_clicked()
{
    // Filled in by the generator's custom waves.
}

void VeskInterface::on_saveAWGButton_clicked()
{
    if (!libUsbDevice.connected)
        return;
    // The instrument is told a wave is on its way while the two halves travel.
    ui->progressBar->setValue(0);
    customWaveUploading = true;
    sendMixedControls();
    ui->progressBar->setValue(4);
    instrumentCommands.sendCustomWave();
    customWaveUploading = false;
    sendMixedControls();
    ui->progressBar->setValue(100);
    ui->radioButtonCustom->setChecked(true);
    sendWaveType();
    ui->progressBar->setValue(0);
}

void VeskInterface::on_spinBoxConstant_valueChanged(int value)
{
    ui->horizontalSliderConstant->setValue(value);
}

void VeskInterface::on_horizontalSliderConstant_valueChanged(int value)
{
    ui->spinBoxConstant->setValue(value);
    sendWaveConstantLevel(value);
}

void VeskInterface::on_frequencySlider_valueChanged(int value)
{
    const double frequency = frequencySliderValueToInt(value);
    frequencyDigitsShowValue(frequency);
    updateFrequency(frequency);
}

void VeskInterface::on_toolButtonFrequencyDigit100000Up_clicked()
{
    frequencyDigitIncrease(ui->labelFrequencyDigit100000, 1);
    frequencyDigitsValueChanged();
}

void VeskInterface::on_toolButtonFrequencyDigit100000Down_clicked()
{
    frequencyDigitDecrease(ui->labelFrequencyDigit100000, 1);
    frequencyDigitsValueChanged();
}

void VeskInterface::on_toolButtonFrequencyDigit10000Up_clicked()
{
    frequencyDigitIncrease(ui->labelFrequencyDigit10000, 9);
    frequencyDigitsValueChanged();
}

void VeskInterface::on_toolButtonFrequencyDigit10000Down_clicked()
{
    frequencyDigitDecrease(ui->labelFrequencyDigit10000, 9);
    frequencyDigitsValueChanged();
}

void VeskInterface::on_toolButtonFrequencyDigit1000Up_clicked()
{
    frequencyDigitIncrease(ui->labelFrequencyDigit1000, 9);
    frequencyDigitsValueChanged();
}

void VeskInterface::on_toolButtonFrequencyDigit1000Down_clicked()
{
    frequencyDigitDecrease(ui->labelFrequencyDigit1000, 9);
    frequencyDigitsValueChanged();
}

void VeskInterface::on_toolButtonFrequencyDigit100Up_clicked()
{
    frequencyDigitIncrease(ui->labelFrequencyDigit100, 9);
    frequencyDigitsValueChanged();
}

void VeskInterface::on_toolButtonFrequencyDigit100Down_clicked()
{
    frequencyDigitDecrease(ui->labelFrequencyDigit100, 9);
    frequencyDigitsValueChanged();
}

void VeskInterface::on_toolButtonFrequencyDigit10Up_clicked()
{
    frequencyDigitIncrease(ui->labelFrequencyDigit10, 9);
    frequencyDigitsValueChanged();
}

void VeskInterface::on_toolButtonFrequencyDigit10Down_clicked()
{
    frequencyDigitDecrease(ui->labelFrequencyDigit10, 9);
    frequencyDigitsValueChanged();
}

void VeskInterface::on_toolButtonFrequencyDigit1Up_clicked()
{
    frequencyDigitIncrease(ui->labelFrequencyDigit1, 9);
    frequencyDigitsValueChanged();
}

void VeskInterface::on_toolButtonFrequencyDigit1Down_clicked()
{
    frequencyDigitDecrease(ui->labelFrequencyDigit1, 9);
    frequencyDigitsValueChanged();
}

void VeskInterface::on_toolButtonFrequencyDigit01Up_clicked()
{
    frequencyDigitIncrease(ui->labelFrequencyDigit01, 9);
    frequencyDigitsValueChanged();
}

void VeskInterface::on_toolButtonFrequencyDigit01Down_clicked()
{
    frequencyDigitDecrease(ui->labelFrequencyDigit01, 9);
    frequencyDigitsValueChanged();
}

void VeskInterface::on_toolButtonFrequencyDigit001Up_clicked()
{
    frequencyDigitIncrease(ui->labelFrequencyDigit001, 9);
    frequencyDigitsValueChanged();
}

void VeskInterface::on_toolButtonFrequencyDigit001Down_clicked()
{
    frequencyDigitDecrease(ui->labelFrequencyDigit001, 9);
    frequencyDigitsValueChanged();
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

void VeskInterface::on_doubleSpinBoxAmp_valueChanged(double value)
{
    ui->amplitudeSlider->setValue(qRound(value * WAVE_AMPLITUDE_PER_VOLT));
}

void VeskInterface::on_doubleSpinBoxDuty_valueChanged(double value)
{
    ui->dutyCycleSlider->setValue(qRound(value * WAVE_DUTY_PER_PERCENT));
}

void VeskInterface::on_doubleSpinBoxOffset_valueChanged(double value)
{
    ui->offsetSlider->setValue(qRound(value * WAVE_OFFSET_PER_VOLT));
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

// ---- setting handlers ----

void VeskInterface::awgEnableChanged()
{
    if (!sendDACControlsConfirmed())
        return;
    ui->comboBoxDACBuffer->setEnabled(ui->checkBoxAWBEnable->isChecked());
    bufferCheckMaxSize();
}

void VeskInterface::awgDACBufferChanged(int index)
{
    sendDACBufferBlocks(ConfigEncoding::bufferBlocks(index, DAC_BLOCKS_MAX));
    bufferCheckMaxSize();
}

void VeskInterface::awgAmplitudeSliderChanged(int value)
{
    sendWaveAmplitude(value);
}

void VeskInterface::awgDutyCycleSliderChanged(int value)
{
    sendWaveDuty(value);
}

void VeskInterface::awgOffsetSliderChanged(int value)
{
    sendWaveOffset(value);
}

double VeskInterface::frequencyDigitsToFrequency() const
{
    const QLabel *digits[] = {ui->labelFrequencyDigit100000, ui->labelFrequencyDigit10000,
                              ui->labelFrequencyDigit1000,   ui->labelFrequencyDigit100,
                              ui->labelFrequencyDigit10,     ui->labelFrequencyDigit1,
                              ui->labelFrequencyDigit01,     ui->labelFrequencyDigit001};
    double value = 0;
    for (const QLabel *digit : digits)
        value = value * 10 + digit->text().toInt();
    return value;
}

void VeskInterface::frequencyDigitsShowValue(double value)
{
    // Eight digits, 100 kHz down to 0.01 Hz; a longer value loses its head.
    const QString text = QString::number(qRound64(value)).rightJustified(8, QLatin1Char('0')).right(8);
    QLabel *digits[] = {ui->labelFrequencyDigit100000, ui->labelFrequencyDigit10000, ui->labelFrequencyDigit1000,
                        ui->labelFrequencyDigit100,    ui->labelFrequencyDigit10,    ui->labelFrequencyDigit1,
                        ui->labelFrequencyDigit01,     ui->labelFrequencyDigit001};
    for (int i = 0; i < 8; ++i)
        digits[i]->setText(text.at(i));
}

double VeskInterface::frequencySliderValueToInt(double position)
{
    // The slider is logarithmic; its frequency keeps three significant digits.
    double frequency = std::pow(10.0, position / 100);
    double unit = 1;
    for (double limit = 10000000; limit >= 1000; limit /= 10) {
        if (frequency >= limit) {
            unit = limit / 100;
            break;
        }
    }
    frequency = unit > 1 ? std::trunc(std::round(frequency / unit) * unit) : std::trunc(frequency);
    return std::clamp(frequency, double(WAVE_FREQUENCY_MIN), double(WAVE_FREQUENCY_MAX));
}

void VeskInterface::frequencyDigitIncrease(QLabel *digit, int largest)
{
    const int value = digit->text().toInt();
    digit->setText(QString::number(value < largest ? value + 1 : 0));
}

void VeskInterface::frequencyDigitDecrease(QLabel *digit, int largest)
{
    const int value = digit->text().toInt();
    digit->setText(QString::number(value < 1 ? largest : value - 1));
}

void VeskInterface::frequencyDigitsValueChanged()
{
    const double value = frequencyDigitsToFrequency();
    {
        const QSignalBlocker blocker(ui->frequencySlider);
        ui->frequencySlider->setValue(value > 0 ? int(std::log10(value) * 100) : ui->frequencySlider->minimum());
    }
    updateFrequency(value);
}

void VeskInterface::updateFrequency(double value)
{
    sendWaveFrequency(static_cast<long long>(value));
    ui->multimeterdisplayAWGFrequency->setValue(frequencyRealValueCheck());
    ui->collapsiblePanelAWGFrequency->setText(QString::number(value / 100, 'f', 2) + QStringLiteral("Hz "));
}

float VeskInterface::frequencyRealValueCheck()
{
    unsigned char reply[REPLY_AWG_FREQUENCY_LENGTH] = {};
    if (libUsbDevice.controlReadTransfer(REQ_READ, reply, REPLY_AWG_FREQUENCY_LENGTH, READ_AWG_FREQUENCY, 0)
        != REPLY_AWG_FREQUENCY_LENGTH)
        return 0;
    return float(qFromLittleEndian<quint32>(reply)) / 100;
}

void VeskInterface::sweepSpeedSliderChanged(int value)
{
    ui->sweepSpeedText->setText(QString::number(value));
    sendSweepSpeed(value);
}

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
    // The sweep's start and end read-outs come with the generator's sweep.
}
