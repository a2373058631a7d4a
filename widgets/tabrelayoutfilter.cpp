#include "tabrelayoutfilter.h"

#include <QEvent>
#include <QTabBar>
#include <QTabWidget>

namespace {

QSize shownHint(const QWidget *widget, const QWidget *parent)
{
    return widget && widget->isVisibleTo(parent) ? widget->sizeHint() : QSize();
}

} // namespace

void TabRelayoutFilter::install(QTabWidget *tabs)
{
    tabs->installEventFilter(new TabRelayoutFilter(tabs));
}

TabRelayoutFilter::TabRelayoutFilter(QTabWidget *tabs)
    : QObject(tabs)
    , tabs(tabs)
{
}

bool TabRelayoutFilter::Hints::operator==(const Hints &other) const
{
    return size == other.size && minimum == other.minimum && heightForWidth == other.heightForWidth
        && tabBar == other.tabBar && tabBarMinimum == other.tabBarMinimum && tabBarShown == other.tabBarShown
        && current == other.current && currentTab == other.currentTab && leftCorner == other.leftCorner
        && rightCorner == other.rightCorner;
}

TabRelayoutFilter::Hints TabRelayoutFilter::hintsNow() const
{
    const QTabBar *bar = tabs->tabBar();
    Hints hints;
    hints.size = tabs->sizeHint();
    hints.minimum = tabs->minimumSizeHint();
    if (tabs->hasHeightForWidth())
        hints.heightForWidth = tabs->heightForWidth(tabs->width());
    hints.tabBar = bar->sizeHint();
    hints.tabBarMinimum = bar->minimumSizeHint();
    hints.tabBarShown = bar->isVisibleTo(tabs);
    hints.current = tabs->currentIndex();
    hints.currentTab = bar->tabRect(bar->currentIndex());
    hints.leftCorner = shownHint(tabs->cornerWidget(Qt::TopLeftCorner), tabs);
    hints.rightCorner = shownHint(tabs->cornerWidget(Qt::TopRightCorner), tabs);
    return hints;
}

bool TabRelayoutFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != tabs)
        return false;
    switch (event->type()) {
    case QEvent::LayoutRequest: {
        // A hidden tab widget only notes the request and lays out when shown.
        if (!tabs->isVisible())
            return false;
        const Hints now = hintsNow();
        if (anyPassed && now == passed)
            return true;
        passed = now;
        anyPassed = true;
        return false;
    }
    // The tab widget lays itself out on these without a request.
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Resize:
    case QEvent::StyleChange:
    case QEvent::FontChange:
    case QEvent::LayoutDirectionChange:
    case QEvent::ChildAdded:
    case QEvent::ChildRemoved:
        anyPassed = false;
        return false;
    default:
        return false;
    }
}
