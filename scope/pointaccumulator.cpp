#include "pointaccumulator.h"

#include <QtGlobal>

PointAccumulator::PointAccumulator(int pointLimit) : m_pointLimit(qMax(1, pointLimit)) {}

void PointAccumulator::add(const QVector<double> &keys, const QVector<double> &values)
{
    // A point needs both coordinates; extra keys or values are not drawn.
    const int count = qMin(keys.size(), values.size());
    if (count == 0)
        return;
    m_frames.push_back({keys.mid(0, count), values.mid(0, count)});
    m_points += count;
    while (m_frames.size() > 1 && m_points > m_pointLimit) {
        m_points -= m_frames.front().keys.size();
        m_frames.pop_front();
    }
}

void PointAccumulator::clear()
{
    m_frames.clear();
    m_points = 0;
}

QVector<double> PointAccumulator::keys() const
{
    QVector<double> all;
    all.reserve(m_points);
    for (const Frame &frame : m_frames)
        all += frame.keys;
    return all;
}

QVector<double> PointAccumulator::values() const
{
    QVector<double> all;
    all.reserve(m_points);
    for (const Frame &frame : m_frames)
        all += frame.values;
    return all;
}
