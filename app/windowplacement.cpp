#include "windowplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

const char *const correctionName = "windowPlacementCorrection";

// Top-left corner that centres a window of this size in the area.
QPoint centredPosition(const QRect &area, const QSize &window)
{
    const QPoint windowCentre((window.width() - 1) / 2, (window.height() - 1) / 2);
    return area.center() - windowCentre;
}

// The free area of the screen the widget's window is on.
QRect availableArea(const QWidget *widget)
{
    const QScreen *screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QSize extent(const QMargins &frame)
{
    return QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
}

// The frame the window manager gave a shown window; none for a window that is
// not on the screen.
QMargins shownFrame(const QWidget *window)
{
    const QWindow *handle = window ? window->windowHandle() : nullptr;
    return handle && handle->isVisible() ? handle->frameMargins() : QMargins();
}

void apply(QWidget *window, const QRect &area, const QMargins &frame)
{
    // A layout sets the minimum of a window that has none of its own.
    if (QLayout *layout = window->layout())
        layout->activate();
    const QRect geometry = WindowPlacement::fitted(area, window->size(), window->minimumSize(), frame);
    window->resize(geometry.size());
    // A window's position is that of its frame.
    window->move(geometry.topLeft() - QPoint(frame.left(), frame.top()));
}

// Places the window once more when it is first exposed, now with the frame it
// really has, unless it was assumed right, the window fills the screen anyway,
// or it was given another size before it was shown: that size was chosen
// after the fit and stays.
class ExposedFrameCorrection : public QObject
{
public:
    ExposedFrameCorrection(QWidget *window, const QRect &area, const QMargins &assumed)
        : QObject(window),
          window(window),
          area(area),
          assumed(assumed),
          placedSize(window->size())
    {
        setObjectName(QLatin1String(correctionName));
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        QWindow *handle = window->windowHandle();
        if (watched == window && event->type() == QEvent::Show && handle) {
            handle->installEventFilter(this);
        } else if (watched == handle && event->type() == QEvent::Expose && handle->isExposed()) {
            const QMargins frame = handle->frameMargins();
            if (frame != assumed && window->size() == placedSize
                && !(window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
                apply(window, area, frame);
            handle->removeEventFilter(this);
            window->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QWidget *window;
    QRect area;
    QMargins assumed;
    QSize placedSize;
};

} // namespace

QRect WindowPlacement::fitted(const QRect &area, const QSize &wanted, const QSize &minimum, const QMargins &frame)
{
    const QSize room = (area.size() - extent(frame)).expandedTo(QSize(1, 1));
    const QSize size = wanted.boundedTo(room).expandedTo(minimum);
    const QSize outer = size + extent(frame);
    QPoint corner = centredPosition(area, size);
    // Where the frame cannot lie wholly in the area, its top-left edges do.
    corner.setX(std::max(area.left(), std::min(corner.x(), area.left() + area.width() - outer.width())));
    corner.setY(std::max(area.top(), std::min(corner.y(), area.top() + area.height() - outer.height())));
    return QRect(corner + QPoint(frame.left(), frame.top()), size);
}

void WindowPlacement::place(QWidget *window, const QWidget *anchor)
{
    const QRect area = availableArea(anchor);
    if (area.isEmpty())
        return;
    // Sized first as showing it would size it, so that the fit starts there.
    if (!window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    QMargins frame = shownFrame(window);
    if (frame.isNull())
        frame = shownFrame(anchor ? anchor->window() : nullptr);
    apply(window, area, frame);
    delete window->findChild<QObject *>(QLatin1String(correctionName), Qt::FindDirectChildrenOnly);
    if (!window->isVisible())
        new ExposedFrameCorrection(window, area, frame);
}
