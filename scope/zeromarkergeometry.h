#ifndef ZEROMARKERGEOMETRY_H
#define ZEROMARKERGEOMETRY_H

// Where a channel's zero marker may be dragged and which position-slider
// value a dragged marker stands for. The analogue channels' zero lines keep
// 128 plot units from the plot's top and bottom; the logic block, whose
// eight traces rise above its zero line, 8 from the bottom and 248 from the
// top.
namespace ZeroMarkerGeometry {

struct Span
{
    int lowest;
    int highest;
};
Span span(bool logic, int plotYRange);

// Slider value (within [sliderMin, sliderMax]) for a marker at plot y
// `coordinate` inside the span: the channel's zero line follows the pointer.
int sliderValue(double coordinate, bool logic, int sliderMin, int sliderMax, int plotYRange);

} // namespace ZeroMarkerGeometry

#endif // ZEROMARKERGEOMETRY_H
