#include "scopeplot.h"

ScopePlot::ScopePlot(QWidget *parent)
    : QCustomPlot(parent)
{
}

void ScopePlot::setPersistenceDrawing(bool on)
{
    m_persistenceDrawing = on;
}

void ScopePlot::resizeEvent(QResizeEvent *event)
{
    // The base replots its buffers at the new size before returning.
    QCustomPlot::resizeEvent(event);
    emit sizeChanged();
}
