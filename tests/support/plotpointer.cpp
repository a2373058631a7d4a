#include "plotpointer.h"

#include <qcustomplot.h>

#include <QTest>
#include <QWindow>

PlotPointer::PlotPointer(QCustomPlot *plot)
    : plot(plot)
    , window(plot->window())
{
}

bool PlotPointer::showWholePlot(QCustomPlot *plot, double xRange, double yRange)
{
    QWidget *window = plot->window();
    window->resize(1371, 966);
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    plot->xAxis->setRange(0, xRange);
    plot->yAxis->setRange(0, yRange);
    plot->replot();
    return true;
}

QPointF PlotPointer::pixelOf(double x, double y) const
{
    return QPointF(qRound(plot->xAxis->coordToPixel(x)), qRound(plot->yAxis->coordToPixel(y)));
}

QPointF PlotPointer::coordinateOf(const QPointF &pixel) const
{
    return QPointF(plot->xAxis->pixelToCoord(pixel.x()), plot->yAxis->pixelToCoord(pixel.y()));
}

QPointF PlotPointer::centreOf(const QCPItemPixmap *item)
{
    return (item->left->pixelPosition() + item->right->pixelPosition()) / 2;
}

void PlotPointer::press(const QPointF &pixel, Qt::MouseButton button)
{
    QTest::mousePress(window->windowHandle(), button, {}, plot->mapTo(window, pixel.toPoint()));
}

void PlotPointer::moveTo(const QPointF &pixel)
{
    QTest::mouseMove(window->windowHandle(), plot->mapTo(window, pixel.toPoint()));
}

void PlotPointer::release(const QPointF &pixel, Qt::MouseButton button)
{
    QTest::mouseRelease(window->windowHandle(), button, {}, plot->mapTo(window, pixel.toPoint()));
}

void PlotPointer::drag(const QPointF &from, const QPointF &to)
{
    press(from);
    moveTo(to);
    release(to);
}

void PlotPointer::doubleClick(const QPointF &pixel)
{
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, plot->mapTo(window, pixel.toPoint()));
}
