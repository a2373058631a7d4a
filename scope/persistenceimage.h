#ifndef PERSISTENCEIMAGE_H
#define PERSISTENCEIMAGE_H

#include <qcustomplot.h>

class ScopeGraph;

// Infinite persistence of the oscilloscope plot: every frame of the traces
// is painted into one image of the axis rectangle, which the plot shows in
// place of those traces. Nothing painted leaves the image until it is
// cleared, yet memory and drawing cost stay those of one image however long
// the run. A changed view (axis ranges or the rectangle's size) empties it,
// as a replot of that view would.
class PersistenceImage : public QCPLayerable
{
    Q_OBJECT

public:
    PersistenceImage(QCustomPlot *plot, const QString &layer, const QVector<ScopeGraph *> &graphs);

    // Paints the graphs' current data into the image; from now on they are
    // seen through the image only.
    void addFrame();
    // Empties the image and lets the graphs draw themselves again.
    void clear();

    const QImage &image() const { return m_image; }

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
    // Empties the image when the view changed since it was painted.
    void followView();

    QVector<ScopeGraph *> m_graphs;
    QImage m_image;
    View m_view;
};

#endif // PERSISTENCEIMAGE_H
