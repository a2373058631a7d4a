#include "multimetervaluemodel.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

double finiteOrZero(double x)
{
    return std::isfinite(x) ? x : 0.0;
}

// The number in a relative accuracy text once every unit mark is removed;
// anything that is not a number counts as 0.
double numberWithout(const QString &text, const QString &unitMark)
{
    QString number = text;
    number.remove(unitMark);
    return finiteOrZero(number.trimmed().toDouble());
}

} // namespace

QString MultimeterValueModel::valueToString(double value, int power, int precision)
{
    const double scaled = value / std::pow(10.0, power);
    const int decimals = std::max(0, power - precision);
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(scaled, 'f', decimals);
}

int MultimeterValueModel::checkPrecision(int value)
{
    return value >= 0 ? value : 0;
}

const QMap<int, QString> &MultimeterValueModel::powers()
{
    static const QMap<int, QString> table = {
        {24, QStringLiteral("Y")},   {21, QStringLiteral("Z")},  {18, QStringLiteral("E")},
        {15, QStringLiteral("P")},   {12, QStringLiteral("T")},  {9, QStringLiteral("G")},
        {6, QStringLiteral("M")},    {3, QStringLiteral("k")},   {2, QStringLiteral("h")},
        {1, QStringLiteral("da")},   {0, QString()},             {-1, QStringLiteral("d")},
        {-2, QStringLiteral("c")},   {-3, QStringLiteral("m")},  {-6, QStringLiteral("\u00b5")},
        {-9, QStringLiteral("n")},   {-12, QStringLiteral("p")}, {-15, QStringLiteral("f")},
        {-18, QStringLiteral("a")},  {-21, QStringLiteral("z")}, {-24, QStringLiteral("y")},
    };
    return table;
}

void MultimeterValueModel::setUnit(const QString &text)
{
    unitText = text;
}

QString MultimeterValueModel::unit() const
{
    return unitText;
}

void MultimeterValueModel::setUnitPower(int power)
{
    const int clamped = std::clamp(power, -maxUnitPower, maxUnitPower);
    // The smallest power with a prefix that is not below the request.
    currentUnitPower = powers().lowerBound(clamped).key();
}

int MultimeterValueModel::unitPower() const
{
    return currentUnitPower;
}

void MultimeterValueModel::setPrecision(int newPrecision)
{
    currentPrecision = std::clamp(newPrecision, -maxPrecision, maxPrecision);
}

int MultimeterValueModel::precision() const
{
    return currentPrecision;
}

QString MultimeterValueModel::getCurrentUnit() const
{
    return powers().value(currentUnitPower) + unitText;
}

MultimeterValueModel::ValueChange MultimeterValueModel::setValue(double newValue)
{
    ValueChange change;
    if (holdOn)
        return change;
    change.accepted = true;

    // A non-finite reading only raises its mark; the last value stays.
    if (std::isinf(newValue)) {
        isInfinity = true;
        return change;
    }
    if (std::isnan(newValue)) {
        isNaN = true;
        return change;
    }
    isInfinity = false;
    isNaN = false;

    double v = newValue;
    if (checkRangeOn) {
        int status = 0;
        if (v <= currentRangeMin) {
            v = currentRangeMin;
            status = -1;
        } else if (v >= currentRangeMax) {
            v = currentRangeMax;
            status = 1;
        }
        change.rangeStateChanged = setRangeState(status);
    }

    if (alarmOn && !alarmManual) {
        const int level = automaticAlarmLevel(v);
        if (level != currentAlarmLevel) {
            currentAlarmLevel = level;
            change.alarmLevelChanged = true;
        }
    }

    currentValue = v;
    hasReading = true;
    if (extremesOn && !extremeFixed) {
        // The first value after set-up or Clear seeds both extremes.
        extremeMin = extremesSeeded ? std::min(extremeMin, currentValue) : currentValue;
        extremeMax = extremesSeeded ? std::max(extremeMax, currentValue) : currentValue;
        extremesSeeded = true;
    }
    return change;
}

void MultimeterValueModel::setNaN()
{
    isNaN = true;
}

void MultimeterValueModel::setInfinity()
{
    isInfinity = true;
}

double MultimeterValueModel::value() const
{
    return currentValue;
}

bool MultimeterValueModel::showsMark() const
{
    return isInfinity || isNaN;
}

void MultimeterValueModel::setExtendedDigits(int digits)
{
    extendDigits = digits;
}

int MultimeterValueModel::extendedDigits() const
{
    return extendDigits;
}

void MultimeterValueModel::setExtendedEnabled(bool enabled)
{
    extendOn = enabled;
}

bool MultimeterValueModel::extendedEnabled() const
{
    return extendOn;
}

void MultimeterValueModel::setHold(bool on)
{
    holdOn = on;
}

bool MultimeterValueModel::hold() const
{
    return holdOn;
}

void MultimeterValueModel::enableExtreme(bool enabled)
{
    extremeFixed = false;
    extremesOn = enabled;
    // Before any reading there is nothing to seed them with: a 0 would
    // stand beside readings that never went near it.
    extremesSeeded = enabled && hasReading;
    if (extremesSeeded) {
        extremeMin = currentValue;
        extremeMax = currentValue;
    }
}

bool MultimeterValueModel::extremeEnabled() const
{
    return extremesOn;
}

void MultimeterValueModel::setExtreme(double min, double max)
{
    extremeMin = min;
    extremeMax = max;
    extremeFixed = true;
    extremesSeeded = true;
}

void MultimeterValueModel::clearExtreme()
{
    extremeFixed = false;
    extremesSeeded = false;
}

void MultimeterValueModel::enableOffset(bool enabled)
{
    offsetOn = enabled;
}

bool MultimeterValueModel::offsetEnabled() const
{
    return offsetOn;
}

void MultimeterValueModel::setOffsetBase(double base)
{
    currentOffsetBase = finiteOrZero(base);
}

double MultimeterValueModel::offsetBase() const
{
    return currentOffsetBase;
}

double MultimeterValueModel::parseOffsetBase(const QString &text) const
{
    QString number = text;
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    const double base = finiteOrZero(number.toDouble()) * std::pow(10.0, currentUnitPower);
    return std::clamp(base, currentRangeMin, currentRangeMax);
}

void MultimeterValueModel::setAccuracy(double absolute, double relativePercent)
{
    accuracyAbs = std::fabs(finiteOrZero(absolute));
    accuracyRel = std::fabs(finiteOrZero(relativePercent));
}

void MultimeterValueModel::setAccuracy(double absolute, const QString &relative)
{
    accuracyAbs = std::fabs(finiteOrZero(absolute));

    // A unit at the very start has no number before it and is ignored.
    bool found = false;
    double percent = 0.0;
    if (relative.indexOf(QLatin1String("ppm")) > 0) {
        percent = numberWithout(relative, QStringLiteral("ppm")) / 10000.0;
        found = true;
    }
    if (relative.indexOf(QLatin1String("ppb")) > 0) {
        percent = numberWithout(relative, QStringLiteral("ppb")) / 10000000.0;
        found = true;
    }
    if (relative.indexOf(QLatin1Char('%')) > 0) {
        percent = numberWithout(relative, QStringLiteral("%"));
        found = true;
    }
    if (found)
        accuracyRel = std::fabs(percent);
}

void MultimeterValueModel::setAccuracyVisible(bool visible)
{
    accuracyShown = visible;
}

bool MultimeterValueModel::accuracyVisible() const
{
    return accuracyShown;
}

void MultimeterValueModel::setRange(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return;
    currentRangeMin = std::min(a, b);
    currentRangeMax = std::max(a, b);
}

double MultimeterValueModel::rangeMin() const
{
    return currentRangeMin;
}

double MultimeterValueModel::rangeMax() const
{
    return currentRangeMax;
}

void MultimeterValueModel::enableCheckRange(bool enabled)
{
    checkRangeOn = enabled;
}

bool MultimeterValueModel::checkRangeEnabled() const
{
    return checkRangeOn;
}

bool MultimeterValueModel::setRangeState(int status)
{
    const int normalised = status < 0 ? -1 : (status > 0 ? 1 : 0);
    if (normalised == currentRangeState)
        return false;
    currentRangeState = normalised;
    return true;
}

int MultimeterValueModel::rangeState() const
{
    return currentRangeState;
}

void MultimeterValueModel::setAlarm(double criticalLow, double warningLow, double warningHigh,
                                    double criticalHigh)
{
    alarmCriticalLow = criticalLow;
    alarmWarningLow = warningLow;
    alarmWarningHigh = warningHigh;
    alarmCriticalHigh = criticalHigh;
}

void MultimeterValueModel::enableAlarm(bool enabled)
{
    alarmOn = enabled;
    if (!enabled)
        currentAlarmLevel = -1;
    alarmManual = false;
}

bool MultimeterValueModel::alarmEnabled() const
{
    return alarmOn;
}

bool MultimeterValueModel::setAlarmLevel(int level)
{
    if (level == -1)
        alarmOn = false;
    if (level < -1 || level > 2)
        level = 3;
    alarmManual = true;
    if (level == currentAlarmLevel)
        return false;
    currentAlarmLevel = level;
    return true;
}

int MultimeterValueModel::alarmLevel() const
{
    return currentAlarmLevel;
}

int MultimeterValueModel::automaticAlarmLevel(double v) const
{
    if (v < alarmCriticalLow || v > alarmCriticalHigh)
        return 2;
    if (v < alarmWarningLow || v > alarmWarningHigh)
        return 1;
    return 0;
}

int MultimeterValueModel::shownPrecision() const
{
    return currentPrecision - (extendOn ? extendDigits : 0);
}

QString MultimeterValueModel::withUnit(double amount) const
{
    return valueToString(amount, currentUnitPower, currentPrecision) + QLatin1Char(' ') + getCurrentUnit();
}

QString MultimeterValueModel::valueText() const
{
    if (isInfinity)
        return infinityText;
    if (isNaN)
        return nanText;
    const double shown = currentValue - (offsetOn ? currentOffsetBase : 0.0);
    return valueToString(shown, currentUnitPower, shownPrecision());
}

QString MultimeterValueModel::extremeMinText() const
{
    if (!extremesSeeded)
        return QString();
    const double base = offsetOn ? currentOffsetBase : 0.0;
    return QCoreApplication::translate("MultimeterDisplay", "min: ") + withUnit(extremeMin - base);
}

QString MultimeterValueModel::extremeMaxText() const
{
    if (!extremesSeeded)
        return QString();
    const double base = offsetOn ? currentOffsetBase : 0.0;
    return QCoreApplication::translate("MultimeterDisplay", "max: ") + withUnit(extremeMax - base);
}

QString MultimeterValueModel::accuracyText() const
{
    const double total = accuracyAbs + std::fabs(accuracyRel * 0.01 * currentValue);
    return QStringLiteral("\u00b1") + withUnit(total);
}

QString MultimeterValueModel::offsetBaseText() const
{
    return QStringLiteral("base: ") + withUnit(currentOffsetBase);
}

QString MultimeterValueModel::offsetBaseEditText() const
{
    return valueToString(currentOffsetBase, currentUnitPower, currentPrecision);
}

QString MultimeterValueModel::numberText() const
{
    if (isInfinity)
        return infinityText.trimmed();
    if (isNaN)
        return nanText.trimmed();
    return valueToString(currentValue, 0, shownPrecision());
}
