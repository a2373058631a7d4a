#ifndef SCRIPTTARGET_H
#define SCRIPTTARGET_H

// What the script objects reach in the main window: the generator's controls
// and the oscilloscope's frame size. The window implements it, so scripts act
// through the same handlers as a user while the console stays a unit of its own.
class ScriptTarget
{
public:
    virtual void clickRadioButtonSine() = 0;
    virtual void clickRadioButtonSquare() = 0;
    virtual void clickRadioButtonTriangle() = 0;
    virtual void clickRadioButtonExpo() = 0;
    virtual void clickRadioButtonCustom() = 0;
    virtual void clickRadioButtonConstant() = 0;
    virtual void clickRadioButtonWhiteNoise() = 0;
    virtual void clickRadioButtonPinkNoise() = 0;
    virtual void setAwgLevelsAmplitude(double volts) = 0;
    virtual void setAwgLevelsDutyCycle(double percent) = 0;
    virtual void setAwgLevelsOffset(double volts) = 0;
    virtual void setAwgFrequency(double hertz) = 0;
    virtual void setAwgSweepEnabled(bool enabled) = 0;
    virtual void clickRadioButtonSweepFrequency() = 0;
    virtual void clickRadioButtonSweepAmplitude() = 0;
    virtual void clickRadioButtonSweepDutyCycle() = 0;
    virtual void clickRadioButtonSweepOffset() = 0;
    virtual void clickRadioButtonSweepDirectionRising() = 0;
    virtual void clickRadioButtonSweepDirectionPingPong() = 0;
    virtual void clickRadioButtonSweepDirectionFaling() = 0;
    virtual void setAwgSweepSpeed(int speed) = 0;
    virtual void setAwgSweepStart(double position) = 0;
    virtual void setAwgSweepEnd(double position) = 0;
    // Samples per channel of the oscilloscope frames.
    virtual int scriptBufferSize() const = 0;

protected:
    ~ScriptTarget() = default;
};

#endif // SCRIPTTARGET_H
