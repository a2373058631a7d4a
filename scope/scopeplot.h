#ifndef SCOPEPLOT_H
#define SCOPEPLOT_H

#include <qcustomplot.h>

// The oscilloscope's plot widget: QCustomPlot with a notification after a
// resize, once the plot has been redrawn at its new size, so that read-outs
// anchored to the widget's edges can be placed again; and a plot-wide
// persistence drawing flag that the oscilloscope's graphs (ScopeGraph) read
// while they draw.
class ScopePlot : public QCustomPlot
{
    Q_OBJECT

public:
    explicit ScopePlot(QWidget *parent = nullptr);

    // While set, line graphs are drawn segment by segment with a small mark
    // at every point, so that points gathered over many frames stay visible.
    void setPersistenceDrawing(bool on);
    bool persistenceDrawing() const { return m_persistenceDrawing; }

signals:
    void sizeChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    bool m_persistenceDrawing = false;
};

#endif // SCOPEPLOT_H
