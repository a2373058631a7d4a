#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "collapsiblepanel.h"

#include <algorithm>
#include <cmath>

// Scripts drive the generator through its widgets, so the widgets' own
// handlers apply the limits and the quantisation a user gets. A value that
// leaves a widget as it is sends nothing.

namespace {

// Script numbers reach the widgets only when they are numbers at all.
bool scriptValueUsable(double value, const char *setter)
{
    if (std::isfinite(value))
        return true;
    VeskInterface::logToFile(QStringLiteral("%1: ignored, %2 is no number").arg(QLatin1String(setter)).arg(value), 2);
    return false;
}

// Truncated toward zero inside the slider's range (a double beyond int has
// no int to convert to).
void setSliderFromScript(QSlider *slider, double value, const char *setter)
{
    if (scriptValueUsable(value, setter))
        slider->setValue(int(std::clamp(value, double(slider->minimum()), double(slider->maximum()))));
}

} // namespace

void VeskInterface::clickRadioButtonSine()
{
    ui->radioButtonSine->click();
}

void VeskInterface::clickRadioButtonSquare()
{
    ui->radioButtonSquare->click();
}

void VeskInterface::clickRadioButtonTriangle()
{
    ui->radioButtonTriangle->click();
}

void VeskInterface::clickRadioButtonExpo()
{
    ui->radioButtonExpo->click();
}

void VeskInterface::clickRadioButtonCustom()
{
    ui->radioButtonCustom->click();
}

void VeskInterface::clickRadioButtonConstant()
{
    ui->radioButtonConstant->click();
}

void VeskInterface::clickRadioButtonWhiteNoise()
{
    ui->radioButtonWhiteNoise->click();
}

void VeskInterface::clickRadioButtonPinkNoise()
{
    ui->radioButtonPinkNoise->click();
}

void VeskInterface::setAwgLevelsAmplitude(double volts)
{
    if (scriptValueUsable(volts, "setAwgLevelsAmplitude"))
        ui->doubleSpinBoxAmp->setValue(volts);
}

void VeskInterface::setAwgLevelsDutyCycle(double percent)
{
    if (scriptValueUsable(percent, "setAwgLevelsDutyCycle"))
        ui->doubleSpinBoxDuty->setValue(percent);
}

void VeskInterface::setAwgLevelsOffset(double volts)
{
    if (scriptValueUsable(volts, "setAwgLevelsOffset"))
        ui->doubleSpinBoxOffset->setValue(volts);
}

void VeskInterface::setAwgFrequency(double hertz)
{
    if (!scriptValueUsable(hertz, "setAwgFrequency"))
        return;
    frequencyDigitsShowValue(hertz * 100);
    frequencyDigitsValueChanged();
}

void VeskInterface::setAwgSweepEnabled(bool enabled)
{
    ui->collapsiblePanelAWGSweep->setChecked(enabled);
}

void VeskInterface::clickRadioButtonSweepFrequency()
{
    ui->radioButtonSweepFrequency->click();
}

void VeskInterface::clickRadioButtonSweepAmplitude()
{
    ui->radioButtonSweepAmplitude->click();
}

void VeskInterface::clickRadioButtonSweepDutyCycle()
{
    ui->radioButtonSweepDutyCycle->click();
}

void VeskInterface::clickRadioButtonSweepOffset()
{
    ui->radioButtonSweepOffset->click();
}

void VeskInterface::clickRadioButtonSweepDirectionRising()
{
    ui->radioButtonSweepRising->click();
}

void VeskInterface::clickRadioButtonSweepDirectionPingPong()
{
    ui->radioButtonSweepPingPong->click();
}

void VeskInterface::clickRadioButtonSweepDirectionFaling()
{
    ui->radioButtonSweepFalling->click();
}

void VeskInterface::setAwgSweepSpeed(int speed)
{
    ui->sweepSpeedSlider->setValue(speed);
}

void VeskInterface::setAwgSweepStart(double position)
{
    setSliderFromScript(ui->sweepStartFreqSlider, position, "setAwgSweepStart");
}

void VeskInterface::setAwgSweepEnd(double position)
{
    setSliderFromScript(ui->sweepEndFreqSlider, position, "setAwgSweepEnd");
}

int VeskInterface::scriptBufferSize() const
{
    return scopeSizeX;
}
