#include "scopegraph.h"

#include "scopeplot.h"

#include <cmath>

namespace {

// Mark size unit: a 220th of the axis rectangle's width.
constexpr double markUnitsPerWidth = 220.0;

bool drawable(const QPointF &point)
{
    return std::isfinite(point.x()) && std::isfinite(point.y());
}

} // namespace

ScopeGraph::ScopeGraph(QCPAxis *keyAxis, QCPAxis *valueAxis)
    : QCPGraph(keyAxis, valueAxis)
{
}

bool ScopeGraph::persistenceDrawing() const
{
    const auto *plot = qobject_cast<const ScopePlot *>(mParentPlot);
    return plot && plot->persistenceDrawing();
}

void ScopeGraph::draw(QCPPainter *painter)
{
    if (!m_drawnElsewhere)
        drawTrace(painter);
}

void ScopeGraph::drawInto(QCPPainter *painter)
{
    // As the plot's layer draws its children.
    painter->save();
    painter->setClipRect(clipRect());
    applyDefaultAntialiasingHint(painter);
    drawTrace(painter);
    painter->restore();
}

void ScopeGraph::drawTrace(QCPPainter *painter)
{
    // Adaptive sampling merges points that share a pixel column, and every
    // persistent point needs its own mark.
    setAdaptiveSampling(!persistenceDrawing());
    QCPGraph::draw(painter);
}

void ScopeGraph::drawLinePlot(QCPPainter *painter, const QVector<QPointF> &lines) const
{
    if (!persistenceDrawing()) {
        QCPGraph::drawLinePlot(painter, lines);
        return;
    }
    if (painter->pen().style() == Qt::NoPen || painter->pen().color().alpha() == 0)
        return;
    applyDefaultAntialiasingHint(painter);
    // Points of several frames interleave by key, so each segment is drawn
    // on its own rather than as one polyline; one call takes them all.
    QVector<QLineF> segments;
    segments.reserve(lines.size());
    for (int i = 1; i < lines.size(); ++i) {
        if (drawable(lines.at(i - 1)) && drawable(lines.at(i)))
            segments.append(QLineF(lines.at(i - 1), lines.at(i)));
    }
    painter->drawLines(segments);
    if (mLineStyle == lsLine)
        drawMarks(painter);
}

void ScopeGraph::drawMarks(QCPPainter *painter) const
{
    QVector<QLineF> marks;
    marks.reserve(2 * dataCount());
    const double unit = qMax(1.0, mKeyAxis->axisRect()->width() / markUnitsPerWidth);
    const bool plainPen = pen().style() == Qt::SolidLine && !antialiased();
    const double upper = (plainPen ? 10 : 5) * unit / 2;
    const double lower = 5 * unit / 2;
    QCPGraphDataContainer::const_iterator begin, end;
    getVisibleDataBounds(begin, end, QCPDataRange(0, dataCount()));
    for (auto it = begin; it != end; ++it) {
        const QPointF centre = coordsToPixels(it->key, it->value);
        if (!drawable(centre))
            continue;
        const double top = centre.y() - unit / 2;
        const double bottom = centre.y() + unit / 2;
        marks.append(QLineF(centre.x() - upper, top, centre.x() + upper, top));
        marks.append(QLineF(centre.x() - lower, bottom, centre.x() + lower, bottom));
    }
    painter->drawLines(marks);
}
