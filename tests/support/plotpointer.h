#pragma once
#include <QPointF>
#include <Qt>

class QCPItemPixmap;
class QCustomPlot;
class QWidget;

// The user's hand on a plot: mouse events go to the plot's top-level window
// at plot pixels, the way the windowing system delivers them, so the plot
// sees the button held during moves.
class PlotPointer
{
public:
    explicit PlotPointer(QCustomPlot *plot);

    // Shows the plot's window at the form's size with the plot spanning
    // 0..xRange and 0..yRange, so each plot pixel stands for a known
    // coordinate; false when the window never became exposed.
    static bool showWholePlot(QCustomPlot *plot, double xRange, double yRange);

    // Whole pixel of a plot coordinate, and the coordinate of a pixel.
    QPointF pixelOf(double x, double y) const;
    QPointF coordinateOf(const QPointF &pixel) const;
    static QPointF centreOf(const QCPItemPixmap *item);

    void press(const QPointF &pixel, Qt::MouseButton button = Qt::LeftButton);
    void moveTo(const QPointF &pixel);
    void release(const QPointF &pixel, Qt::MouseButton button = Qt::LeftButton);
    void drag(const QPointF &from, const QPointF &to);
    void doubleClick(const QPointF &pixel);

private:
    QCustomPlot *plot;
    QWidget *window;
};
