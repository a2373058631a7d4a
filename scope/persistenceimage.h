#ifndef PERSISTENCEIMAGE_H
#define PERSISTENCEIMAGE_H

#include "persistencegrid.h"

#include <qcustomplot.h>

class ScopeGraph;

// Infinite persistence of the oscilloscope plot: every frame of the traces
// is gathered in plot coordinates (PersistenceGrid) and painted into one
// image of the axis rectangle, which the plot shows in place of those
// traces. A changed view (axis ranges or the rectangle's size) paints the
// image again from what was gathered, the current frame on top, so nothing
// gathered is lost to a zoom, a scroll or a resize. Memory and drawing cost
// stay those of one image and one grid however long the run.
class PersistenceImage : public QCPLayerable
{
    Q_OBJECT

public:
    // What a gathered point stands for. Frames that mean something else by
    // the same plot coordinates start the gathering afresh.
    struct Meaning
    {
        double width = 0, height = 0; // extent of the traces in plot units
        int timeBase = -1;
        int ch1Gain = -1, ch2Gain = -1;
        int spectrumWindow = -1;
        bool spectrumLogarithmic = false;
        bool spectrumComplex = false;
        bool operator==(const Meaning &other) const;
    };

    PersistenceImage(QCustomPlot *plot, const QString &layer, const QVector<ScopeGraph *> &graphs);

    // Gathers the graphs' current data and paints it into the image; from
    // now on they are seen through the image only.
    void addFrame(const Meaning &meaning);
    // Forgets what was gathered and lets the graphs draw themselves again.
    void clear();

    // The meaning of the points gathered so far.
    const Meaning &meaning() const { return m_meaning; }
    const QImage &image() const { return m_image; }
    const PersistenceGrid &grid() const { return m_grid; }

protected:
    void applyDefaultAntialiasingHint(QCPPainter *painter) const override;
    void draw(QCPPainter *painter) override;
    QRect clipRect() const override;

private:
    struct View
    {
        QCPRange x, y;
        QRect rect;
        double pixelRatio = 1;
        bool operator==(const View &other) const;
    };

    View currentView() const;
    // Paints the image again when the view changed since it was painted.
    void followView();
    void paintGraphs();

    QVector<ScopeGraph *> m_graphs;
    PersistenceGrid m_grid;
    Meaning m_meaning;
    bool m_gathering = false;
    QImage m_image;
    View m_view;
};

#endif // PERSISTENCEIMAGE_H
