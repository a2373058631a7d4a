#ifndef PERSISTENCEGRID_H
#define PERSISTENCEGRID_H

#include <qcustomplot.h>

#include <QVector>
#include <vector>

// The gathered picture of infinite persistence in plot coordinates: for each
// cell of a grid over the traces' extent, which trace passed through it last.
// Across, a cell is a fraction of a plot unit (a few cells per sample, fewer
// the longer the frame); up, one plot unit, finer than a sample's step. Its
// size follows from the extent alone, never from how long it gathers, and it
// can be painted into any view of the plot: zoomed, scrolled or resized.
class PersistenceGrid
{
public:
    // Keys 0..width and values 0..height are kept; what lies outside is not.
    // Empties the grid; memory is taken by the first trace added.
    void reset(double width, double height);
    // Empties the grid and gives its memory back.
    void clear();
    bool isEmpty() const { return m_cells.empty(); }

    int columns() const { return m_columns; }
    int rows() const { return m_rows; }
    // Id of the cell holding a point (0: nothing gathered there).
    int idAt(double key, double value) const;

    // Gathers a graph's points as its line style joins them: lines,
    // steps centred on the points, impulses from value 0, or bare points.
    // `id` (1..255) names the trace in paint's colour table.
    void add(quint8 id, QCPGraph::LineStyle style, const QCPGraphDataContainer &data);

    // Linear map from plot coordinates to pixels of an image.
    struct Mapping
    {
        double keyOffset = 0, keyScale = 1;
        double valueOffset = 0, valueScale = -1;
    };
    // Paints every gathered cell at least one pixel large, in
    // colours[id] (premultiplied; a missing or transparent one is skipped).
    void paint(QImage *image, const Mapping &mapping, const QVector<QRgb> &colours) const;

private:
    void point(quint8 id, double key, double value);
    void line(quint8 id, double key0, double value0, double key1, double value1);

    double m_cellsPerKey = 1;
    int m_columns = 0;
    int m_rows = 0;
    // Column after column, so that vertical runs (steep edges, impulses) are contiguous.
    std::vector<quint8> m_cells;
};

#endif // PERSISTENCEGRID_H
