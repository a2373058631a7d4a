#include "cursorreadouts.h"

#include "numberformat.h"
#include "scopevalues.h"

#include <QtGlobal>
#include <cmath>

namespace CursorReadouts {

namespace {

constexpr int plotMargin = 8;
constexpr int horizontalReach = 256;

} // namespace

TimeTexts timeTexts(int a, int b, int timeBase)
{
    QString timeUnit;
    const double t = ScopeValues::vCursorDeltaTime(a, b, &timeUnit, 1, timeBase);
    QString frequencyUnit;
    const double f = ScopeValues::vCursorFrequency(t, &frequencyUnit, timeBase);
    TimeTexts texts;
    texts.delta = QStringLiteral("ΔT = ") + NumberFormat::get4Digits(t) + QLatin1Char(' ') + timeUnit;
    texts.frequency = QStringLiteral("1/ΔT = ")
                      + (std::isfinite(f) ? NumberFormat::get4Digits(f) : QStringLiteral(" --"))
                      + QLatin1Char(' ') + frequencyUnit;
    return texts;
}

VoltTexts voltTexts(int levelA, int levelB, int gain)
{
    const QString caption = ScopeValues::gainTexts().at(qBound(0, gain, ScopeValues::gainCount - 1));
    VoltTexts texts;
    texts.a = QStringLiteral("Va = ") + ScopeValues::pixelValueToVolt(levelA, caption, 3);
    texts.b = QStringLiteral("Vb = ") + ScopeValues::pixelValueToVolt(levelB, caption, 3);
    texts.delta = QStringLiteral("ΔV = ") + ScopeValues::pixelValueToVolt(double(levelA) - levelB, caption, 3);
    return texts;
}

int clampHorizontal(int coordinate, int zeroLine, int plotYRange)
{
    const int inside = qBound(plotMargin, coordinate, plotYRange - plotMargin);
    return qBound(zeroLine - horizontalReach, inside, zeroLine + horizontalReach);
}

int traceLevel(double value, int zeroLine, int plotYRange)
{
    return NumberFormat::saturatedInt(qBound(0.0, value, double(plotYRange))) - zeroLine;
}

} // namespace CursorReadouts
