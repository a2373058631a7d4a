#include "persistenceimage.h"

#include "scopegraph.h"

PersistenceImage::PersistenceImage(QCustomPlot *plot, const QString &layer,
                                   const QVector<ScopeGraph *> &graphs)
    : QCPLayerable(plot, layer)
    , m_graphs(graphs)
{
}

bool PersistenceImage::View::operator==(const View &other) const
{
    return x == other.x && y == other.y && rect == other.rect && pixelRatio == other.pixelRatio;
}

PersistenceImage::View PersistenceImage::currentView() const
{
    View view;
    view.x = mParentPlot->xAxis->range();
    view.y = mParentPlot->yAxis->range();
    view.rect = mParentPlot->axisRect()->rect();
    view.pixelRatio = mParentPlot->bufferDevicePixelRatio();
    return view;
}

void PersistenceImage::followView()
{
    const View view = currentView();
    if (view == m_view && !m_image.isNull())
        return;
    m_view = view;
    const QSize size = view.rect.size() * view.pixelRatio;
    if (size.isEmpty()) {
        m_image = QImage();
        return;
    }
    m_image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    m_image.setDevicePixelRatio(view.pixelRatio);
    m_image.fill(Qt::transparent);
}

void PersistenceImage::addFrame()
{
    followView();
    for (ScopeGraph *graph : m_graphs)
        graph->setDrawnElsewhere(true);
    if (m_image.isNull())
        return;
    QCPPainter painter(&m_image);
    painter.translate(-m_view.rect.topLeft());
    for (ScopeGraph *graph : m_graphs) {
        if (graph->realVisibility())
            graph->drawInto(&painter);
    }
}

void PersistenceImage::clear()
{
    m_image = QImage();
    for (ScopeGraph *graph : m_graphs)
        graph->setDrawnElsewhere(false);
}

void PersistenceImage::applyDefaultAntialiasingHint(QCPPainter *painter) const
{
    Q_UNUSED(painter)
}

void PersistenceImage::draw(QCPPainter *painter)
{
    if (m_image.isNull())
        return;
    followView();
    painter->drawImage(m_view.rect.topLeft(), m_image);
}

QRect PersistenceImage::clipRect() const
{
    return mParentPlot->axisRect()->rect();
}
