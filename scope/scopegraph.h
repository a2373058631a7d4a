#ifndef SCOPEGRAPH_H
#define SCOPEGRAPH_H

#include <qcustomplot.h>

// A graph of the oscilloscope plot. While its ScopePlot's persistence
// drawing flag is set, a line graph is drawn one segment at a time and every
// data point gets a mark of two short horizontal strokes, so that points
// gathered frame after frame stay visible where the line would hide them.
class ScopeGraph : public QCPGraph
{
    Q_OBJECT

public:
    ScopeGraph(QCPAxis *keyAxis, QCPAxis *valueAxis);

    // While set, the plot's replot leaves this graph out: something else
    // (the persistence image) paints it through drawInto.
    void setDrawnElsewhere(bool on) { m_drawnElsewhere = on; }
    void drawInto(QCPPainter *painter);

protected:
    void draw(QCPPainter *painter) override;
    void drawLinePlot(QCPPainter *painter, const QVector<QPointF> &lines) const override;

private:
    bool persistenceDrawing() const;
    void drawTrace(QCPPainter *painter);
    void drawMarks(QCPPainter *painter) const;

    bool m_drawnElsewhere = false;
};

#endif // SCOPEGRAPH_H
