#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "frequencyentry.h"
#include "protocol.h"

#include <QSignalBlocker>
#include <QtEndian>

namespace {

// Place values in 0.01 Hz, 100 kHz first, in the order of the digit labels.
QList<QLabel *> frequencyDigitLabels(const Ui_VeskInterface *ui)
{
    return {ui->labelFrequencyDigit100000, ui->labelFrequencyDigit10000, ui->labelFrequencyDigit1000,
            ui->labelFrequencyDigit100,    ui->labelFrequencyDigit10,    ui->labelFrequencyDigit1,
            ui->labelFrequencyDigit01,     ui->labelFrequencyDigit001};
}

} // namespace

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

double VeskInterface::frequencyDigitsToFrequency() const
{
    double value = 0;
    for (const QLabel *digit : frequencyDigitLabels(ui))
        value = value * 10 + digit->text().toInt();
    return value;
}

void VeskInterface::frequencyDigitsShowValue(double value)
{
    const QString text = FrequencyEntry::digitsText(value);
    const QList<QLabel *> digits = frequencyDigitLabels(ui);
    for (int i = 0; i < digits.size(); ++i)
        digits[i]->setText(text.at(i));
}

double VeskInterface::frequencySliderValueToInt(double position)
{
    return FrequencyEntry::sliderFrequency(int(position));
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
        // The digits lead; the slider only follows them.
        const QSignalBlocker blocker(ui->frequencySlider);
        ui->frequencySlider->setValue(FrequencyEntry::sliderPosition(value, ui->frequencySlider->minimum()));
    }
    updateFrequency(value);
}

void VeskInterface::updateFrequency(double value)
{
    sendWaveFrequency(static_cast<long long>(value));
    ui->multimeterdisplayAWGFrequency->setValue(frequencyRealValueCheck());
    ui->collapsiblePanelAWGFrequency->setText(FrequencyEntry::headerText(value));
}

float VeskInterface::frequencyRealValueCheck()
{
    unsigned char reply[REPLY_AWG_FREQUENCY_LENGTH] = {};
    if (libUsbDevice.controlReadTransfer(REQ_READ, reply, REPLY_AWG_FREQUENCY_LENGTH, READ_AWG_FREQUENCY, 0)
        != REPLY_AWG_FREQUENCY_LENGTH)
        return 0;
    return float(qFromLittleEndian<quint32>(reply)) / 100;
}
