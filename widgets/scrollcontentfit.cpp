#include "scrollcontentfit.h"

#include <QEvent>
#include <QScrollArea>

void ScrollContentFit::install(QScrollArea *area, Floor floor)
{
    auto *fit = new ScrollContentFit(area, floor);
    area->viewport()->installEventFilter(fit);
    if (area->widget())
        area->widget()->installEventFilter(fit);
    fit->fit();
}

ScrollContentFit::ScrollContentFit(QScrollArea *area, Floor floor)
    : QObject(area)
    , area(area)
    , floor(floor)
{
}

bool ScrollContentFit::eventFilter(QObject *watched, QEvent *event)
{
    // The viewport's height, or what the content asks for, has changed. The
    // filter also sees the events of the scroll area's teardown, when the area
    // is no longer one: it is asked nothing until the event is one of these.
    const QEvent::Type type = event->type();
    if ((type == QEvent::Resize && watched == area->viewport())
        || (type == QEvent::LayoutRequest && watched == area->widget()))
        fit();
    return false;
}

void ScrollContentFit::fit()
{
    QWidget *content = area->widget();
    if (!content)
        return;
    const int hint = content->sizeHint().height();
    const int floorHeight = floor == Floor::Minimum ? content->minimumSizeHint().height() : hint;
    const int minimum = area->viewport()->height() < floorHeight ? hint : 0;
    if (content->minimumHeight() != minimum)
        content->setMinimumHeight(minimum);
}
