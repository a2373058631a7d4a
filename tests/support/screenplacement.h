#pragma once
#include <QRect>
#include <QString>

class QWidget;

namespace VeskTest {
// What keeps the shown window from lying where the program puts its windows:
// within the free area, frame and title bar included, and centred there up
// to the frame's own extent (the frame's corner goes where the window alone
// would be centred). Empty when nothing does.
QString placementFault(const QWidget *window, const QRect &area);
}
