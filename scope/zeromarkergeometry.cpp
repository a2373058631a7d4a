#include "zeromarkergeometry.h"

namespace ZeroMarkerGeometry {

namespace {

constexpr int analogMargin = 128;
constexpr int logicBottomMargin = 8;
constexpr int logicTopMargin = 248;

} // namespace

Span span(bool logic, int plotYRange)
{
    if (logic)
        return {logicBottomMargin, plotYRange - logicTopMargin};
    return {analogMargin, plotYRange - analogMargin};
}

int sliderValue(double coordinate, bool logic, int sliderMin, int sliderMax, int plotYRange)
{
    // The span is mapped linearly onto the slider, bottom to top; with the
    // slider ranges the window sets, the value is coordinate - plotYRange/2,
    // so the zero line lands under the pointer.
    const int step = logic ? int(coordinate - (logicTopMargin - logicBottomMargin)) - logicBottomMargin
                           : int(coordinate) - analogMargin;
    const double scale = double(sliderMax - sliderMin) / (plotYRange - 2 * analogMargin);
    return -int(sliderMax - step * scale);
}

} // namespace ZeroMarkerGeometry
