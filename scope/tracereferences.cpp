#include "tracereferences.h"

void TraceReferences::capture(const TraceBuilder::Traces &traces)
{
    m_ch1 = traces.ch1;
    m_ch2 = traces.ch2;
    m_logic = traces.logicLevels;
}

QVector<double> TraceReferences::ch1(int offset) const
{
    return moved(m_ch1, offset);
}

QVector<double> TraceReferences::ch2(int offset) const
{
    return moved(m_ch2, offset);
}

QVector<double> TraceReferences::logic(int bit, int offset) const
{
    if (bit < 0 || bit >= TraceBuilder::logicChannels)
        return {};
    return moved(m_logic[bit], offset);
}

QPair<int, int> TraceReferences::analogCaptureRange(int position, int plotYRange)
{
    return {128 - position, plotYRange - position - 128};
}

QPair<int, int> TraceReferences::logicCaptureRange(int logicPosition, int plotYRange)
{
    return {8 - logicPosition, plotYRange - logicPosition - 248};
}

QVector<double> TraceReferences::moved(const QVector<double> &values, int offset)
{
    QVector<double> result(values);
    for (double &value : result)
        value += offset;
    return result;
}
