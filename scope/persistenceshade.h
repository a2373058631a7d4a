#ifndef PERSISTENCESHADE_H
#define PERSISTENCESHADE_H

#include <QColor>

// Colour of the fading persistence traces: the hue and saturation of the
// persistence pen, with a lightness that moves from the live trace's
// lightness towards the background as the intensity value grows (0..10).
namespace PersistenceShade {

// Themes: 0 dark, 1 light, 2 custom. On a light background the faded
// traces move towards white, on every other towards black.
double lightness(double traceLightness, int intensity, int theme);

QColor faded(const QColor &persistenceColor, const QColor &traceColor, int intensity, int theme);

} // namespace PersistenceShade

#endif // PERSISTENCESHADE_H
