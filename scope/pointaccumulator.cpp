#include "pointaccumulator.h"

#include <QtGlobal>
#include <algorithm>

PointAccumulator::PointAccumulator(int pointLimit) : m_pointLimit(qMax(1, pointLimit)) {}

void PointAccumulator::add(const QVector<double> &keys, const QVector<double> &values)
{
    // A point needs both coordinates; extra keys or values are not drawn.
    const int count = qMin(keys.size(), values.size());
    if (count == 0)
        return;
    int dropped = 0;
    while (!m_frameSizes.empty() && m_keys.size() - dropped + count > m_pointLimit) {
        dropped += m_frameSizes.front();
        m_frameSizes.pop_front();
    }
    if (dropped > 0) {
        m_keys.remove(0, dropped);
        m_values.remove(0, dropped);
    }
    const int end = m_keys.size();
    m_keys.resize(end + count);
    m_values.resize(end + count);
    std::copy(keys.constBegin(), keys.constBegin() + count, m_keys.begin() + end);
    std::copy(values.constBegin(), values.constBegin() + count, m_values.begin() + end);
    m_frameSizes.push_back(count);
}

void PointAccumulator::clear()
{
    m_keys.clear();
    m_values.clear();
    m_frameSizes.clear();
}

int PointAccumulator::uniformFrameSize() const
{
    if (m_frameSizes.empty())
        return 0;
    const int size = m_frameSizes.front();
    for (int frameSize : m_frameSizes) {
        if (frameSize != size)
            return 0;
    }
    return size;
}
