#include "snifferringtracker.h"

#include <QtGlobal>

void SnifferRingTracker::reset()
{
    m_progress = 0;
    m_writeIndex1 = 0;
    m_writeIndex2 = 0;
    m_ring1FromStart = true;
    m_ring2FromStart = true;
}

void SnifferRingTracker::follow(int frameIndex, int fullIndex, int *stored, bool *fromStart)
{
    *stored = frameIndex < *stored ? fullIndex : frameIndex;
    if (frameIndex < *stored)
        *fromStart = false;
}

void SnifferRingTracker::update(int writeIndex1, int writeIndex2, bool circular, int fullIndex)
{
    if (circular) {
        follow(writeIndex1, fullIndex, &m_writeIndex1, &m_ring1FromStart);
        follow(writeIndex2, fullIndex, &m_writeIndex2, &m_ring2FromStart);
        m_progress = qMax(m_writeIndex1, m_writeIndex2);
    } else {
        m_ring1FromStart = true;
        m_ring2FromStart = true;
        m_progress = qMax(writeIndex1, writeIndex2);
    }
}
