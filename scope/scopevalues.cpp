#include "scopevalues.h"

#include "numberformat.h"
#include "scopeframecheck.h"

#include <QtGlobal>
#include <cmath>
#include <limits>

namespace ScopeValues {
namespace {

const QChar micro(0x00B5);
const QChar plusMinus(0x00B1);

// A raw 8-bit unit is 2 x 0.78125 plot units; the x 128 values are scaled down first.
constexpr double plotUnitsPerRaw = 2 * 0.78125;
constexpr double plotUnitsPerRaw128 = 0.015625 * 0.78125;
// 64 plot units make one vertical division.
constexpr double divisionsPerPlotUnit = 0.015625;
// Two plot units per sample (x); sixteen samples per division.
constexpr int plotXUnitsPerSample = 2;
constexpr double divisionsPerSample = 8 * 0.0078125;

const double notANumber = std::numeric_limits<double>::quiet_NaN();

// Leading number of a caption, up to the first of `stops`; 0 when there is none.
double leadingNumber(const QString &caption, const QString &stops, int *numberEnd)
{
    int end = -1;
    for (const QChar stop : stops) {
        const int at = caption.indexOf(stop);
        if (at >= 0 && (end < 0 || at < end))
            end = at;
    }
    *numberEnd = qMax(end, 0);
    if (end < 0)
        return 0;
    bool ok = false;
    const double number = caption.left(end).toDouble(&ok);
    return ok ? number : 0;
}

QString gainCaption(unsigned char gain)
{
    return gain < gainCount ? gainTexts().at(gain) : QString();
}

QStringList triggerIcons(const char *suffix)
{
    QStringList list;
    for (const char *name :
         {"rising", "falling", "dual", "positive", "negative", "window1", "window2"})
        list << QLatin1String(":/icons/") + QLatin1String(name) + QLatin1String(suffix);
    return list;
}

} // namespace

const QStringList &timeBaseTexts()
{
    static const QStringList texts = [] {
        QStringList list;
        for (const char *number : {"8", "16", "32", "64", "128", "256", "500"})
            list << QLatin1String(number) + micro + QLatin1String("s/div");
        list << "1ms/div" << "2ms/div" << "5ms/div" << "10ms/div" << "20ms/div" << "50ms/div"
             << "0.1s/div" << "0.2s/div" << "0.5s/div" << "1s/div" << "2s/div" << "5s/div"
             << "10s/div" << "20s/div" << "50s/div";
        return list;
    }();
    return texts;
}

const QStringList &gainTexts()
{
    static const QStringList texts{"8V/div",   "4V/div",   "2V/div",   "0.8V/div",
                                   "0.4V/div", "0.2V/div", "0.1V/div", "50mV/div",
                                   "25mV/div", "12.5mV/div", "----"};
    return texts;
}

const QStringList &gainBoxTitles()
{
    static const QStringList texts = [] {
        QStringList list;
        for (const char *range :
             {"24V", "12V", "6V", "2.4V", "1.2V", "0.6V", "300mV", "150mV", "75mV", "37mV"})
            list << QLatin1String("Gain (") + plusMinus + QLatin1String(range) + QLatin1Char(')');
        return list;
    }();
    return texts;
}

const QStringList &triggerIconsGreen()
{
    static const QStringList icons = triggerIcons("g.png");
    return icons;
}

const QStringList &triggerIconsRed()
{
    static const QStringList icons = triggerIcons("r.png");
    return icons;
}

QString timeBaseText(int timeBase)
{
    return timeBaseTexts().at(qBound(0, timeBase, timeBaseCount - 1));
}

double rawValueToVolt(double value, const QString &caption)
{
    // The milli prefix stands before the 'V', so it decides first.
    const int milli = caption.indexOf(QLatin1Char('m'));
    const int volt = caption.indexOf(QLatin1Char('V'));
    double number = 0;
    bool ok = false;
    if (milli >= 0 && (volt < 0 || milli < volt)) {
        number = caption.left(milli).toDouble(&ok) / 1000;
    } else if (volt >= 0) {
        number = caption.left(volt).toDouble(&ok);
    }
    if (!ok)
        return 0;
    return number * value * divisionsPerPlotUnit;
}

QString pixelValueToVolt(double value, const QString &caption, int digits)
{
    int numberEnd = 0;
    const double number = leadingNumber(caption, QStringLiteral("mV"), &numberEnd);
    const QString unit = caption.mid(numberEnd).remove(QStringLiteral("/div"));
    const double volts = number * value * divisionsPerPlotUnit;
    const QString text = digits > 3 ? NumberFormat::get4Digits(volts) : NumberFormat::get3Digits(volts);
    return text + QLatin1Char(' ') + unit;
}

double int8ToVolt_f(unsigned char gain, signed char s)
{
    return rawValueToVolt(s * plotUnitsPerRaw, gainCaption(gain));
}

double int8ToVolt_f(unsigned char gain, signed char a, signed char b)
{
    return rawValueToVolt((2 * a - 2 * b) * 0.78125, gainCaption(gain));
}

double int16ToVolt_f(unsigned char gain, short v)
{
    return rawValueToVolt(v * plotUnitsPerRaw128, gainCaption(gain));
}

QString int8ToVolt(unsigned char gain, signed char s)
{
    if (gain >= gainNone)
        return QStringLiteral("--");
    return pixelValueToVolt(s * plotUnitsPerRaw, gainTexts().at(gain), 3);
}

QString int8ToVolt(unsigned char gain, signed char a, signed char b)
{
    if (gain >= gainNone)
        return QStringLiteral("--");
    return pixelValueToVolt((2 * a - 2 * b) * 0.78125, gainTexts().at(gain), 3);
}

QString int16ToVolt(unsigned char gain, short v, int digits)
{
    if (gain >= gainNone)
        return QStringLiteral("--");
    return pixelValueToVolt(v * plotUnitsPerRaw128, gainTexts().at(gain), digits);
}

double vCursorDeltaTime(int a, int b, QString *unit, int divisor, int timeBase)
{
    const QString caption = timeBaseText(timeBase);
    int numberEnd = 0;
    const double number = leadingNumber(caption, QStringLiteral("ms") + micro, &numberEnd);
    if (unit)
        *unit = caption.mid(numberEnd).remove(QStringLiteral("/div")).replace(QLatin1Char('u'), micro);
    const int sampleA = a / plotXUnitsPerSample;
    const int sampleB = b / plotXUnitsPerSample;
    const double time = (double(sampleB) - sampleA) * number * divisionsPerSample / divisor;
    // The value as the read-out shows it.
    return std::fabs(NumberFormat::get4Digits(time).toDouble());
}

double vCursorFrequency(double t, QString *unit, int timeBase)
{
    if (unit)
        *unit = timeBase <= 6 ? QStringLiteral("kHz") : timeBase <= 12 ? QStringLiteral("Hz")
                                                                        : QStringLiteral("mHz");
    return t == 0 ? notANumber : 1000 / t;
}

double deltaToFrequency(double t, int timeBase)
{
    if (t == 0)
        return notANumber;
    return timeBase <= 6 ? 1e6 / t : timeBase <= 12 ? 1000 / t : 1 / t;
}

double samplex100ToFrequency_f(int period, unsigned char timeBase)
{
    const double t = vCursorDeltaTime(0, period, nullptr, 50, timeBase);
    return deltaToFrequency(t, timeBase);
}

QString samplex100ToFrequency(int period, unsigned char timeBase)
{
    const double t = vCursorDeltaTime(0, period, nullptr, 50, timeBase);
    if (period == 0 || t == 0)
        return QStringLiteral("--");
    QString unit;
    const double frequency = vCursorFrequency(t, &unit, timeBase);
    return NumberFormat::get4Digits(frequency) + QLatin1Char(' ') + unit;
}

double samplesSeconds(int samples, int timeBase)
{
    const QString caption = timeBaseText(timeBase);
    int numberEnd = 0;
    const double number = leadingNumber(caption, QStringLiteral("ms") + micro, &numberEnd);
    const QChar prefix = caption.at(numberEnd);
    const double unitSeconds = prefix == micro ? 1e-6 : prefix == QLatin1Char('m') ? 1e-3 : 1;
    return samples * divisionsPerSample * number * unitSeconds;
}

QString samplingRateText(int timeBase, int adcBufferIndex)
{
    const int span = ScopeFrameCheck::adcBlocks(adcBufferIndex) * 256 * plotXUnitsPerSample;
    QString unit;
    const double t = vCursorDeltaTime(0, span, &unit, 1, timeBase);
    return QStringLiteral("Time = ") + timeBaseText(timeBase) + QStringLiteral(", time range = ")
           + NumberFormat::get4Digits(t) + unit;
}

} // namespace ScopeValues
