#ifndef CURSORREADOUTS_H
#define CURSORREADOUTS_H

#include <QString>

// The cursor read-outs and limits of the oscilloscope plot, from plot
// coordinates, time/div and gain indexes alone.
namespace CursorReadouts {

// Time between the vertical cursors at plot x a and b, and its inverse:
// "ΔT = " and "1/ΔT = " with four digits and the unit that matches the
// time/div caption. Cursors closer than one sample have no frequency: "--".
struct TimeTexts
{
    QString delta;
    QString frequency;
};
TimeTexts timeTexts(int a, int b, int timeBase);

// Levels of the horizontal cursors relative to their channel's zero line
// (plot units) in volts at a gain index: "Va = ", "Vb = " and "ΔV = " (A - B).
struct VoltTexts
{
    QString a;
    QString b;
    QString delta;
};
VoltTexts voltTexts(int levelA, int levelB, int gain);

// Keeps a horizontal cursor 8 units inside the plot and within four
// divisions (256 units) of its channel's zero line.
int clampHorizontal(int coordinate, int zeroLine, int plotYRange);

// Level of a horizontal cursor placed on a trace value, relative to its
// zero line. A loaded trace may hold any finite value: it is held to the plot.
int traceLevel(double value, int zeroLine, int plotYRange);

} // namespace CursorReadouts

#endif // CURSORREADOUTS_H
