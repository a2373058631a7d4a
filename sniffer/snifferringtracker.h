#ifndef SNIFFERRINGTRACKER_H
#define SNIFFERRINGTRACKER_H

// Follows how far the two capture rings of a sniffer run have filled, frame
// by frame, for the fill bar and for where the printers start. In circular
// mode a write index smaller than the last one means the ring has wrapped:
// from then on, until the next start, the ring is shown whole from its write
// index and counts as full.
class SnifferRingTracker
{
public:
    // A new run: nothing captured, both rings shown from their start.
    void reset();
    // One frame's write indexes. `fullIndex` is what a wrapped ring's index
    // becomes: the last slot of the ring.
    void update(int writeIndex1, int writeIndex2, bool circular, int fullIndex);

    int progress() const { return m_progress; }
    bool ring1FromStart() const { return m_ring1FromStart; }
    bool ring2FromStart() const { return m_ring2FromStart; }

private:
    static void follow(int frameIndex, int fullIndex, int *stored, bool *fromStart);

    int m_progress = 0;
    int m_writeIndex1 = 0;
    int m_writeIndex2 = 0;
    bool m_ring1FromStart = true;
    bool m_ring2FromStart = true;
};

#endif // SNIFFERRINGTRACKER_H
