#ifndef PYTHONVESKOBJECTAWG_H
#define PYTHONVESKOBJECTAWG_H

#include <QObject>
#include <QString>

class ScriptTarget;

// The waveform generator for scripts, bound as `veskAWG`. Every setter acts
// through the generator's controls in the main window, so a script gets
// the same handlers, limits and device writes as a user.
class PythonVeskObjectAWG : public QObject
{
    Q_OBJECT

public:
    void setVeskQt(ScriptTarget *window);

public slots:
    QObject *findChild(QObject *object, const QString &name);
    void setWaveformSquare();
    void setWaveformSine();
    void setWaveformExpo();
    void setWaveformTriangle();
    void setWaveformConstant();
    void setWaveformCustom();
    void setWaveformWhiteNoise();
    void setWaveformPinkNoise();
    void setFrequency(double f);
    void setLevelsAmplitude(double val);
    void setLevelsDutyCycle(double val);
    void setLevelsOffset(double val);
    void setSweepEnabled(bool enabled);
    void setSweepTypeFrequency();
    void setSweepTypeAmplitude();
    void setSweepTypeDutyCycle();
    void setSweepTypeOffset();
    void setSweepDirectionRising();
    void setSweepDirectionPingPong();
    void setSweepDirectionFaling();
    void setSweepSpeed(int val);
    void setSweepStart(double val);
    void setSweepEnd(double val);

private:
    ScriptTarget *veskQt = nullptr;
};

#endif // PYTHONVESKOBJECTAWG_H
