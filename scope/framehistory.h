#ifndef FRAMEHISTORY_H
#define FRAMEHISTORY_H

#include <QList>
#include <QVector>

// The last frames of one trace, oldest first, never more than a set number:
// what fading persistence draws, at a cost that does not grow with time.
class FrameHistory
{
public:
    // Persistence graphs available per channel: the depth never exceeds it.
    static constexpr int maxDepth = 9;

    // Appends a frame and keeps the last `depth` (clamped to 0..maxDepth);
    // a depth below 1 empties the history.
    void append(const QVector<double> &values, int depth);
    void clear();

    int size() const { return m_frames.size(); }
    const QList<QVector<double>> &frames() const { return m_frames; }

private:
    QList<QVector<double>> m_frames;
};

#endif // FRAMEHISTORY_H
