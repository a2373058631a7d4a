#include "persistenceshade.h"

#include <QtGlobal>

namespace PersistenceShade {
namespace {

constexpr int lightTheme = 1;
constexpr double darkest = 0.05;

} // namespace

double lightness(double traceLightness, int intensity, int theme)
{
    // A stored slider value outside 0..10 would leave the valid lightness range.
    const double t = qBound(0, intensity, 10) / 10.0;
    const double shade = traceLightness - (traceLightness - darkest) * t;
    return theme == lightTheme ? 1 - shade : shade;
}

QColor faded(const QColor &persistenceColor, const QColor &traceColor, int intensity, int theme)
{
    const QColor hsl = persistenceColor.toHsl();
    return QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(),
                            lightness(traceColor.toHsl().lightnessF(), intensity, theme), 1.0);
}

} // namespace PersistenceShade
