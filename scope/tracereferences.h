#ifndef TRACEREFERENCES_H
#define TRACEREFERENCES_H

#include "tracebuilder.h"

#include <QPair>
#include <QVector>
#include <array>

// Traces frozen by a capture, drawn again moved up or down by their capture
// sliders.
class TraceReferences
{
public:
    // Keeps copies of the CH1, CH2 and logic traces of a frame.
    void capture(const TraceBuilder::Traces &traces);

    // The frozen traces moved by `offset` plot units.
    QVector<double> ch1(int offset) const;
    QVector<double> ch2(int offset) const;
    QVector<double> logic(int bit, int offset) const;

    // Range of a capture slider, so a reference can be moved over the whole
    // plot from its channel's position.
    static QPair<int, int> analogCaptureRange(int position, int plotYRange);
    static QPair<int, int> logicCaptureRange(int logicPosition, int plotYRange);

private:
    static QVector<double> moved(const QVector<double> &values, int offset);

    QVector<double> m_ch1;
    QVector<double> m_ch2;
    std::array<QVector<double>, TraceBuilder::logicChannels> m_logic;
};

#endif // TRACEREFERENCES_H
