// The plot: its set-up, scroll bars, keyboard modes and mouse handling.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include <QKeyEvent>

void VeskInterface::setupValues()
{
    // Caption and icon tables come with the oscilloscope's value tables.
}

void VeskInterface::setupGrid(QCustomPlot *plot)
{
    Q_UNUSED(plot)
    // Graphs, items and axes come with the oscilloscope's plot view.
}

void VeskInterface::setHorizontalScrollBar(int lower, int upper)
{
    ui->horizontalScrollBar->setPageStep(upper - lower);
    ui->horizontalScrollBar->setMaximum(lower + plotXRange - upper);
    ui->horizontalScrollBar->setValue(lower);
}

void VeskInterface::setVerticalScrollBar(int lower, int upper)
{
    ui->verticalScrollBar->setPageStep(upper - lower);
    ui->verticalScrollBar->setMaximum(lower + plotYRange - upper);
    ui->verticalScrollBar->setValue(plotYRange - upper);
}

void VeskInterface::keyPressEvent(QKeyEvent *event)
{
    // Ctrl drags the view, Shift zooms it vertically, while held.
    if (event->key() == Qt::Key_Control)
        ui->plotterWidget->setInteractions(QCP::iRangeDrag);
    else if (event->key() == Qt::Key_Shift)
        ui->plotterWidget->axisRect()->setRangeZoom(Qt::Vertical);
}

void VeskInterface::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Control)
        ui->plotterWidget->setInteractions(QCP::iRangeZoom);
    else if (event->key() == Qt::Key_Shift)
        ui->plotterWidget->axisRect()->setRangeZoom(Qt::Horizontal);
}

void VeskInterface::moveCursor(QMouseEvent *event)
{
    Q_UNUSED(event)
    // Dragging cursors and markers comes with the plot items.
}

void VeskInterface::selectItem(QMouseEvent *event)
{
    Q_UNUSED(event)
    // Picking plot items comes with the plot items.
}

void VeskInterface::deselectItem(QMouseEvent *event)
{
    Q_UNUSED(event)
    // Releasing plot items comes with the plot items.
}

void VeskInterface::itemDoubleClick(QCPAbstractItem *item, QMouseEvent *event)
{
    Q_UNUSED(item)
    Q_UNUSED(event)
    // Item double-clicks come with the plot items.
}

void VeskInterface::on_sizeChanged()
{
    // Placing the read-outs after a resize comes with the plot view.
}

void VeskInterface::xAxisChanged(const QCPRange &range)
{
    Q_UNUSED(range)
    // Following the x range comes with the plot view.
}

void VeskInterface::yAxisChanged(const QCPRange &range)
{
    Q_UNUSED(range)
    // Following the y range comes with the plot view.
}
