#include "persistencegrid.h"

#include <algorithm>
#include <cmath>

namespace {

// Cells across the whole extent that a short frame is spread over: a few per
// sample where that costs little, one per plot unit on the longest frames.
constexpr int targetColumns = 4096;

int cellIndex(double cellCoordinate)
{
    return int(std::floor(cellCoordinate + 0.5));
}

// Pixel span of a cell whose edges map to a and b, at least one pixel wide,
// or {1, 0} when it misses 0..size - 1.
std::pair<int, int> pixelSpan(double a, double b, int size)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        return {1, 0};
    const int low = int(std::floor(std::min(a, b)));
    const int high = std::max(low, int(std::ceil(std::max(a, b))) - 1);
    if (high < 0 || low >= size)
        return {1, 0};
    return {std::max(low, 0), std::min(high, size - 1)};
}

// Liang-Barsky: narrows [t0, t1] to where p + t d lies within low..high.
bool clipAxis(double p, double d, double low, double high, double *t0, double *t1)
{
    if (d == 0)
        return p >= low && p <= high;
    double a = (low - p) / d;
    double b = (high - p) / d;
    if (a > b)
        std::swap(a, b);
    *t0 = std::max(*t0, a);
    *t1 = std::min(*t1, b);
    return *t0 <= *t1;
}

} // namespace

void PersistenceGrid::reset(double width, double height)
{
    m_cellsPerKey = width > 0 ? std::max(1.0, std::floor(targetColumns / width)) : 1;
    m_columns = width > 0 ? int(std::floor(width * m_cellsPerKey)) + 1 : 0;
    m_rows = height > 0 ? int(std::floor(height)) + 1 : 0;
    m_cells.clear();
}

void PersistenceGrid::clear()
{
    std::vector<quint8>().swap(m_cells);
}

int PersistenceGrid::idAt(double key, double value) const
{
    const int column = cellIndex(key * m_cellsPerKey);
    const int row = cellIndex(value);
    if (m_cells.empty() || column < 0 || column >= m_columns || row < 0 || row >= m_rows)
        return 0;
    return m_cells[std::size_t(column) * std::size_t(m_rows) + std::size_t(row)];
}

void PersistenceGrid::add(quint8 id, QCPGraph::LineStyle style, const QCPGraphDataContainer &data)
{
    if (data.isEmpty() || m_columns == 0 || m_rows == 0)
        return;
    if (m_cells.empty())
        m_cells.assign(std::size_t(m_columns) * std::size_t(m_rows), 0);
    bool joined = false; // whether the last point can be joined to the next
    double lastKey = 0, lastValue = 0;
    for (auto it = data.constBegin(); it != data.constEnd(); ++it) {
        const double key = it->key;
        const double value = it->value;
        if (!std::isfinite(key) || !std::isfinite(value)) {
            joined = false; // a gap, as the graph draws it
            continue;
        }
        switch (style) {
        case QCPGraph::lsLine:
            if (joined)
                line(id, lastKey, lastValue, key, value);
            else
                point(id, key, value);
            break;
        case QCPGraph::lsStepCenter:
            if (joined) {
                const double middle = (lastKey + key) / 2;
                line(id, lastKey, lastValue, middle, lastValue);
                line(id, middle, lastValue, middle, value);
                line(id, middle, value, key, value);
            } else {
                point(id, key, value);
            }
            break;
        case QCPGraph::lsImpulse:
            line(id, key, 0, key, value);
            break;
        default:
            point(id, key, value);
            break;
        }
        joined = true;
        lastKey = key;
        lastValue = value;
    }
}

void PersistenceGrid::point(quint8 id, double key, double value)
{
    line(id, key, value, key, value);
}

void PersistenceGrid::line(quint8 id, double key0, double value0, double key1, double value1)
{
    const double x0 = key0 * m_cellsPerKey;
    const double dx = key1 * m_cellsPerKey - x0;
    const double dy = value1 - value0;
    double t0 = 0, t1 = 1;
    if (!clipAxis(x0, dx, -0.5, m_columns - 0.5, &t0, &t1)
        || !clipAxis(value0, dy, -0.5, m_rows - 0.5, &t0, &t1))
        return;
    const double startX = x0 + t0 * dx, startY = value0 + t0 * dy;
    const double spanX = (t1 - t0) * dx, spanY = (t1 - t0) * dy;
    // One cell per step along the longer side leaves no gap between cells.
    const int steps = std::max(std::abs(cellIndex(startX + spanX) - cellIndex(startX)),
                               std::abs(cellIndex(startY + spanY) - cellIndex(startY)));
    for (int i = 0; i <= steps; ++i) {
        const double t = steps ? double(i) / steps : 0;
        const int column = std::clamp(cellIndex(startX + t * spanX), 0, m_columns - 1);
        const int row = std::clamp(cellIndex(startY + t * spanY), 0, m_rows - 1);
        m_cells[std::size_t(column) * std::size_t(m_rows) + std::size_t(row)] = id;
    }
}

void PersistenceGrid::paint(QImage *image, const Mapping &mapping, const QVector<QRgb> &colours) const
{
    if (m_cells.empty() || image->isNull() || image->depth() != 32)
        return;
    const int width = image->width();
    const int height = image->height();
    uchar *const bits = image->bits();
    const qsizetype bytesPerLine = image->bytesPerLine();
    std::vector<std::pair<int, int>> rowSpans(static_cast<std::size_t>(m_rows));
    for (int row = 0; row < m_rows; ++row)
        rowSpans[std::size_t(row)] = pixelSpan(mapping.valueOffset + mapping.valueScale * (row - 0.5),
                                               mapping.valueOffset + mapping.valueScale * (row + 0.5), height);
    for (int column = 0; column < m_columns; ++column) {
        const double key = column / m_cellsPerKey;
        const double halfCell = 0.5 / m_cellsPerKey;
        const auto [left, right] = pixelSpan(mapping.keyOffset + mapping.keyScale * (key - halfCell),
                                             mapping.keyOffset + mapping.keyScale * (key + halfCell), width);
        if (left > right)
            continue;
        const quint8 *cells = m_cells.data() + std::size_t(column) * std::size_t(m_rows);
        for (int row = 0; row < m_rows; ++row) {
            const quint8 id = cells[row];
            if (!id || id >= colours.size() || qAlpha(colours.at(id)) == 0)
                continue;
            const auto [top, bottom] = rowSpans[std::size_t(row)];
            for (int y = top; y <= bottom; ++y) {
                QRgb *line = reinterpret_cast<QRgb *>(bits + y * bytesPerLine);
                std::fill(line + left, line + right + 1, colours.at(id));
            }
        }
    }
}
