#ifndef WINDOWPLACEMENT_H
#define WINDOWPLACEMENT_H

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

// Keeps the program's windows on the screen: each one fits the free area of
// the screen (the screen less its panels), its frame and title bar included,
// and is centred in it.
namespace WindowPlacement {

// Geometry, frame excluded, of a window of the wanted size put into the area:
// no larger than the area less the frame unless its minimum is. The frame's
// top-left goes where it centres a window of that size, both centres taken
// with halves rounded toward zero (a 1024 x 768 window on a 1920 x 1080
// screen: (448, 156)), and is moved in as far as the whole frame needs to lie
// in the area. A frame larger than the area starts at the area's top-left, so
// that the title bar stays in reach.
QRect fitted(const QRect &area, const QSize &wanted, const QSize &minimum, const QMargins &frame);

// Fits the top-level window, at its present size, into the free area of the
// screen that the anchor's window is on and centres it there. A window's frame
// is known only once the window manager has shown it: until then the frame of
// the anchor's window stands in, and the first showing corrects the geometry
// with the window's own, unless the window was resized in between.
void place(QWidget *window, const QWidget *anchor);

} // namespace WindowPlacement

#endif // WINDOWPLACEMENT_H
