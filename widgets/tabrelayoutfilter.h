#ifndef TABRELAYOUTFILTER_H
#define TABRELAYOUTFILTER_H

#include <QObject>
#include <QRect>
#include <QSize>

class QTabWidget;

// Holds back a tab widget's layout requests that change nothing. A tab widget
// answers each one by repainting itself whole, every widget on its page with
// it, and by telling the layouts above it of a new size; a reading that
// changes its text on a page asks for one each time. A request passes while
// the tab widget is hidden, first after it is shown, resized or restyled, and
// whenever what its own layout or the layout above it reads has changed.
class TabRelayoutFilter : public QObject
{
    Q_OBJECT

public:
    // Filters the tab widget for as long as it lives.
    static void install(QTabWidget *tabs);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What the tab widget lays out and reports from.
    struct Hints
    {
        QSize size;
        QSize minimum;
        int heightForWidth = -1;
        QSize tabBar;
        QSize tabBarMinimum;
        bool tabBarShown = false;
        int current = -1;
        QRect currentTab;
        QSize leftCorner;
        QSize rightCorner;

        bool operator==(const Hints &other) const;
    };

    explicit TabRelayoutFilter(QTabWidget *tabs);
    Hints hintsNow() const;

    QTabWidget *tabs;
    Hints passed;
    bool anyPassed = false;
};

#endif // TABRELAYOUTFILTER_H
