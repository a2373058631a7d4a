#ifndef MULTIMETERVALUEMODEL_H
#define MULTIMETERVALUEMODEL_H

#include <QMap>
#include <QString>

// The state behind a multimeter display and the texts it shows: the value
// with its SI prefix and resolution, the not-a-number and infinity marks,
// hold, extremes, offset, accuracy, range check and alarm level. It holds
// no widget, so the display only copies these texts into its labels.
class MultimeterValueModel
{
public:
    // What a new value changed beyond the value itself.
    struct ValueChange
    {
        bool accepted = false;          // false while held
        bool rangeStateChanged = false; // rangeState() is new
        bool alarmLevelChanged = false; // alarmLevel() is new
    };

    MultimeterValueModel() = default;

    // Value divided by 10^power with max(0, power - precision) decimals in
    // the system locale, without group separators.
    static QString valueToString(double value, int power, int precision);
    static int checkPrecision(int value);
    // SI prefix by power of ten, from 24 ("Y") to -24 ("y").
    static const QMap<int, QString> &powers();

    void setUnit(const QString &text);
    QString unit() const;
    void setUnitPower(int power);
    int unitPower() const;
    void setPrecision(int newPrecision);
    int precision() const;
    QString getCurrentUnit() const;

    ValueChange setValue(double newValue);
    void setNaN();
    void setInfinity();
    double value() const;
    bool showsMark() const; // not-a-number or infinity is on screen

    // Extra digits while Extend is on.
    void setExtendedDigits(int digits);
    int extendedDigits() const;
    void setExtendedEnabled(bool enabled);
    bool extendedEnabled() const;

    void setHold(bool on);
    bool hold() const;

    void enableExtreme(bool enabled);
    bool extremeEnabled() const;
    void setExtreme(double min, double max);
    // The extremes show nothing until the next value seeds them.
    void clearExtreme();

    void enableOffset(bool enabled);
    bool offsetEnabled() const;
    void setOffsetBase(double base);
    double offsetBase() const;
    // Editor text in the display's prefix: "," and "." both separate
    // decimals; the result is in base units and inside the range.
    double parseOffsetBase(const QString &text) const;

    void setAccuracy(double absolute, double relativePercent);
    // The relative part as text: "50ppm", "10ppb" or "1%". A text without
    // one of these units after its first character leaves it unchanged.
    void setAccuracy(double absolute, const QString &relative);
    void setAccuracyVisible(bool visible);
    bool accuracyVisible() const;

    void setRange(double a, double b);
    double rangeMin() const;
    double rangeMax() const;
    void enableCheckRange(bool enabled);
    bool checkRangeEnabled() const;
    // Normalised to -1, 0 or 1; true when it differs from the last state.
    bool setRangeState(int status);
    int rangeState() const;

    void setAlarm(double criticalLow, double warningLow, double warningHigh, double criticalHigh);
    void enableAlarm(bool enabled);
    bool alarmEnabled() const;
    // True when the level changed.
    bool setAlarmLevel(int level);
    int alarmLevel() const;

    // Texts of the labels.
    QString valueText() const;
    QString extremeMinText() const;
    QString extremeMaxText() const;
    QString accuracyText() const;
    QString offsetBaseText() const;
    QString offsetBaseEditText() const;
    // The reading in base units as copied to the clipboard: what is on
    // screen when a mark is shown.
    QString numberText() const;

private:
    int shownPrecision() const;
    QString withUnit(double amount) const;
    int automaticAlarmLevel(double v) const;

    double currentValue = 0.0;
    QString unitText;
    int currentUnitPower = 0;
    int currentPrecision = 0;
    const int maxPrecision = 24;
    const int maxUnitPower = 24;
    bool isInfinity = false;
    bool isNaN = false;
    const QString infinityText = QStringLiteral("\u00b1\u221e  ");
    const QString nanText = QStringLiteral("NaN  ");
    double extremeMin = 0.0;
    double extremeMax = 0.0;
    bool extremeFixed = false;
    // The extremes hold a reading (their texts are empty until they do).
    bool extremesSeeded = false;
    // A finite value was set; the model's initial 0 is none.
    bool hasReading = false;
    bool extremesOn = false;
    double currentRangeMin = -1e25;
    double currentRangeMax = 1e25;
    bool checkRangeOn = false;
    int currentRangeState = 0;
    int extendDigits = 2;
    bool extendOn = false;
    double accuracyAbs = 0.0;
    double accuracyRel = 0.0;
    bool accuracyShown = false;
    double currentOffsetBase = 0.0;
    bool offsetOn = false;
    bool holdOn = false;
    int currentAlarmLevel = 0;
    double alarmCriticalHigh = 1e25;
    double alarmWarningHigh = 1e24;
    double alarmWarningLow = -1e24;
    double alarmCriticalLow = -1e25;
    bool alarmOn = false;
    bool alarmManual = false;
};

#endif // MULTIMETERVALUEMODEL_H
