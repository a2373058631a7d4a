#include "triggergeometry.h"

#include <algorithm>

namespace TriggerGeometry {

double postToPlotX(int post)
{
    return 2.0 * post;
}

int plotXToPost(double x)
{
    return int(x * 0.5);
}

double levelToPlotY(int level, int channelOffset, int plotYRange)
{
    return channelOffset + level * plotUnitsPerLevel + plotYRange / 2;
}

int plotYToLevel(double y, int channelOffset, int plotYRange)
{
    return int((int(y) - plotYRange / 2 - channelOffset) / plotUnitsPerLevel);
}

double logicBitPlotY(int bit, int channelSize, int channelOffset, int plotYRange)
{
    return plotYRange / 2 + bit * (channelSize + 20) + channelSize / 2 + channelOffset + 2;
}

int windowLowerLevel(int requested, int upper, int min, int max, int gap)
{
    const int level = std::clamp(requested, min, std::max(min, max - gap));
    // A stored upper level too low for the gap still leaves this one in range.
    return std::max(min, std::min(level, upper - gap));
}

int windowUpperLevel(int requested, int lower, int min, int max, int gap)
{
    const int level = std::clamp(requested, std::min(min + gap, max), max);
    return std::min(max, std::max(level, lower + gap));
}

} // namespace TriggerGeometry
