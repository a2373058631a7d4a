#include "persistenceimage.h"

#include "scopegraph.h"

PersistenceImage::PersistenceImage(QCustomPlot *plot, const QString &layer,
                                   const QVector<ScopeGraph *> &graphs)
    : QCPLayerable(plot, layer)
    , m_graphs(graphs)
{
}

bool PersistenceImage::Meaning::operator==(const Meaning &other) const
{
    return width == other.width && height == other.height && timeBase == other.timeBase
           && ch1Gain == other.ch1Gain && ch2Gain == other.ch2Gain && spectrumWindow == other.spectrumWindow
           && spectrumLogarithmic == other.spectrumLogarithmic && spectrumComplex == other.spectrumComplex;
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

    // Grid cell to image pixel, through the axes as the graphs are drawn.
    QCPAxis *xAxis = mParentPlot->xAxis;
    QCPAxis *yAxis = mParentPlot->yAxis;
    PersistenceGrid::Mapping mapping;
    mapping.keyOffset = (xAxis->coordToPixel(0) - view.rect.left()) * view.pixelRatio;
    mapping.keyScale = (xAxis->coordToPixel(1) - xAxis->coordToPixel(0)) * view.pixelRatio;
    mapping.valueOffset = (yAxis->coordToPixel(0) - view.rect.top()) * view.pixelRatio;
    mapping.valueScale = (yAxis->coordToPixel(1) - yAxis->coordToPixel(0)) * view.pixelRatio;
    // Colours as the traces' pens are now, so a theme chosen since shows too.
    QVector<QRgb> colours(m_graphs.size() + 1, 0);
    for (int i = 0; i < m_graphs.size(); ++i) {
        if (m_graphs.at(i)->realVisibility())
            colours[i + 1] = qPremultiply(m_graphs.at(i)->pen().color().rgba());
    }
    m_grid.paint(&m_image, mapping, colours);
    // The current frame as its graphs draw it, over what was gathered.
    if (m_gathering)
        paintGraphs();
}

void PersistenceImage::paintGraphs()
{
    if (m_image.isNull())
        return;
    QCPPainter painter(&m_image);
    painter.translate(-m_view.rect.topLeft());
    for (ScopeGraph *graph : m_graphs) {
        if (graph->realVisibility())
            graph->drawInto(&painter);
    }
}

void PersistenceImage::addFrame(const Meaning &meaning)
{
    if (!m_gathering || !(meaning == m_meaning)) {
        m_meaning = meaning;
        m_grid.reset(meaning.width, meaning.height);
        m_image = QImage();
    }
    m_gathering = true;
    for (int i = 0; i < m_graphs.size(); ++i) {
        ScopeGraph *graph = m_graphs.at(i);
        graph->setDrawnElsewhere(true);
        if (graph->realVisibility())
            m_grid.add(quint8(i + 1), graph->lineStyle(), *graph->data());
    }
    if (m_image.isNull() || !(currentView() == m_view))
        followView(); // paints the current frame too
    else
        paintGraphs();
}

void PersistenceImage::clear()
{
    m_gathering = false;
    m_grid.clear();
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
    if (!m_gathering)
        return;
    followView();
    if (!m_image.isNull())
        painter->drawImage(m_view.rect.topLeft(), m_image);
}

QRect PersistenceImage::clipRect() const
{
    return mParentPlot->axisRect()->rect();
}
