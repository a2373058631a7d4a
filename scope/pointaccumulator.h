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

    int pointCount() const { return m_points; }
    int frameCount() const { return int(m_frames.size()); }
    // All kept points, oldest frame first.
    QVector<double> keys() const;
    QVector<double> values() const;

private:
    struct Frame
    {
        QVector<double> keys;
        QVector<double> values;
    };

    int m_pointLimit;
    int m_points = 0;
    std::deque<Frame> m_frames;
};

#endif // POINTACCUMULATOR_H
