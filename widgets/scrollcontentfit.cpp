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
    // The viewport's height, or what the content asks for, has changed.
    if ((watched == area->viewport() && event->type() == QEvent::Resize)
        || (watched == area->widget() && event->type() == QEvent::LayoutRequest))
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
