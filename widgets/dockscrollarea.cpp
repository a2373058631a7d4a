#include "dockscrollarea.h"

#include <QLayout>

DockScrollArea::DockScrollArea(QWidget *content, QWidget *parent)
    : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setWidget(content);
}

QSize DockScrollArea::sizeHint() const
{
    const int frame = 2 * frameWidth();
    const QSize content = widget() ? QLayout::closestAcceptableSize(widget(), widget()->sizeHint()) : QSize();
    return content + QSize(frame, frame);
}
