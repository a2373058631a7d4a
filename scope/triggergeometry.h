#ifndef TRIGGERGEOMETRY_H
#define TRIGGERGEOMETRY_H

// Trigger record values against plot coordinates. A record's post p stands
// at x = 2p (two plot units per sample); its level L at
// y = plotYRange/2 + channelOffset + 1.5625 L, on the channel's own zero line
// and scaled like the samples. Results are cut toward zero, as the markers
// and the instrument count in whole units.
namespace TriggerGeometry {

constexpr double plotUnitsPerLevel = 1.5625;

double postToPlotX(int post);
int plotXToPost(double x);
double levelToPlotY(int level, int channelOffset, int plotYRange);
int plotYToLevel(double y, int channelOffset, int plotYRange);
// Centre height of a logic bit's trace, where a logic-source marker stands.
double logicBitPlotY(int bit, int channelSize, int channelOffset, int plotYRange);

// The window levels stay ordered, at least `gap` apart: a lower level asked
// above upper - gap stops there, an upper one asked below lower + gap stops
// there; the other level never moves. Neither leaves [min, max].
int windowLowerLevel(int requested, int upper, int min, int max, int gap);
int windowUpperLevel(int requested, int lower, int min, int max, int gap);

} // namespace TriggerGeometry

#endif // TRIGGERGEOMETRY_H
