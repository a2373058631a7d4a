#include "framehistory.h"

#include <QtGlobal>

void FrameHistory::append(const QVector<double> &values, int depth)
{
    depth = qBound(0, depth, maxDepth);
    if (depth < 1) {
        m_frames.clear();
        return;
    }
    m_frames.append(values);
    while (m_frames.size() > depth)
        m_frames.removeFirst();
}

void FrameHistory::clear()
{
    m_frames.clear();
}
