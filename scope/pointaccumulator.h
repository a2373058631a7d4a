#ifndef POINTACCUMULATOR_H
#define POINTACCUMULATOR_H

#include <QVector>
#include <deque>

// Points of a trace gathered frame after frame while persistence is on.
// Only the newest frames that fit a fixed number of points are kept, so
// drawing them costs the same after an hour as after a second.
class PointAccumulator
{
public:
    static constexpr int defaultPointLimit = 65536;

    explicit PointAccumulator(int pointLimit = defaultPointLimit);

    // Adds one frame of points; the oldest frames go once the limit is
    // passed, but the newest frame is always kept whole.
    void add(const QVector<double> &keys, const QVector<double> &values);
    void clear();

    int pointCount() const { return m_keys.size(); }
    int frameCount() const { return int(m_frameSizes.size()); }
    // Points of every kept frame when they all have the same number, else 0.
    int uniformFrameSize() const;
    // All kept points, oldest frame first. Kept flat and in place, so a
    // redraw reads them without gathering the frames again.
    const QVector<double> &keys() const { return m_keys; }
    const QVector<double> &values() const { return m_values; }

private:
    int m_pointLimit;
    QVector<double> m_keys;
    QVector<double> m_values;
    std::deque<int> m_frameSizes;
};

#endif // POINTACCUMULATOR_H
