#include "screenplacement.h"

#include <QDebug>
#include <QWidget>

QString VeskTest::placementFault(const QWidget *window, const QRect &area)
{
    const QRect frame = window->frameGeometry();
    const QSize extent = frame.size() - window->size();
    QString fault;
    QDebug describe(&fault);
    if (!area.contains(frame))
        describe << "frame" << frame << "leaves" << area;
    const int horizontal = (frame.left() - area.left()) - (area.right() - frame.right());
    const int vertical = (frame.top() - area.top()) - (area.bottom() - frame.bottom());
    if (qAbs(horizontal) > extent.width() + 1 || qAbs(vertical) > extent.height() + 1)
        describe << "frame" << frame << "off the centre of" << area;
    return fault;
}
