#include "pythonveskobjectawg.h"

#include "pythonveskobject.h"
#include "scripttarget.h"

void PythonVeskObjectAWG::setVeskQt(ScriptTarget *window)
{
    veskQt = window;
}

QObject *PythonVeskObjectAWG::findChild(QObject *object, const QString &name)
{
    return PythonVeskObject::findNamedChild(object, name);
}

void PythonVeskObjectAWG::setWaveformSquare()
{
    if (veskQt)
        veskQt->clickRadioButtonSquare();
}

void PythonVeskObjectAWG::setWaveformSine()
{
    if (veskQt)
        veskQt->clickRadioButtonSine();
}

void PythonVeskObjectAWG::setWaveformExpo()
{
    if (veskQt)
        veskQt->clickRadioButtonExpo();
}

void PythonVeskObjectAWG::setWaveformTriangle()
{
    if (veskQt)
        veskQt->clickRadioButtonTriangle();
}

void PythonVeskObjectAWG::setWaveformConstant()
{
    if (veskQt)
        veskQt->clickRadioButtonConstant();
}

void PythonVeskObjectAWG::setWaveformCustom()
{
    if (veskQt)
        veskQt->clickRadioButtonCustom();
}

void PythonVeskObjectAWG::setWaveformWhiteNoise()
{
    if (veskQt)
        veskQt->clickRadioButtonWhiteNoise();
}

void PythonVeskObjectAWG::setWaveformPinkNoise()
{
    if (veskQt)
        veskQt->clickRadioButtonPinkNoise();
}

void PythonVeskObjectAWG::setFrequency(double f)
{
    if (veskQt)
        veskQt->setAwgFrequency(f);
}

void PythonVeskObjectAWG::setLevelsAmplitude(double val)
{
    if (veskQt)
        veskQt->setAwgLevelsAmplitude(val);
}

void PythonVeskObjectAWG::setLevelsDutyCycle(double val)
{
    if (veskQt)
        veskQt->setAwgLevelsDutyCycle(val);
}

void PythonVeskObjectAWG::setLevelsOffset(double val)
{
    if (veskQt)
        veskQt->setAwgLevelsOffset(val);
}

void PythonVeskObjectAWG::setSweepEnabled(bool enabled)
{
    if (veskQt)
        veskQt->setAwgSweepEnabled(enabled);
}

void PythonVeskObjectAWG::setSweepTypeFrequency()
{
    if (veskQt)
        veskQt->clickRadioButtonSweepFrequency();
}

void PythonVeskObjectAWG::setSweepTypeAmplitude()
{
    if (veskQt)
        veskQt->clickRadioButtonSweepAmplitude();
}

void PythonVeskObjectAWG::setSweepTypeDutyCycle()
{
    if (veskQt)
        veskQt->clickRadioButtonSweepDutyCycle();
}

void PythonVeskObjectAWG::setSweepTypeOffset()
{
    if (veskQt)
        veskQt->clickRadioButtonSweepOffset();
}

void PythonVeskObjectAWG::setSweepDirectionRising()
{
    if (veskQt)
        veskQt->clickRadioButtonSweepDirectionRising();
}

void PythonVeskObjectAWG::setSweepDirectionPingPong()
{
    if (veskQt)
        veskQt->clickRadioButtonSweepDirectionPingPong();
}

void PythonVeskObjectAWG::setSweepDirectionFaling()
{
    if (veskQt)
        veskQt->clickRadioButtonSweepDirectionFaling();
}

void PythonVeskObjectAWG::setSweepSpeed(int val)
{
    if (veskQt)
        veskQt->setAwgSweepSpeed(val);
}

void PythonVeskObjectAWG::setSweepStart(double val)
{
    if (veskQt)
        veskQt->setAwgSweepStart(val);
}

void PythonVeskObjectAWG::setSweepEnd(double val)
{
    if (veskQt)
        veskQt->setAwgSweepEnd(val);
}
