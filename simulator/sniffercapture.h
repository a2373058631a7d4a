#ifndef SNIFFERCAPTURE_H
#define SNIFFERCAPTURE_H

// The protocol sniffer of the simulated instrument: while it runs, each bus
// carries a fixed, recognisable message every 100 ms, captured into the rings
// of the chosen protocol; the frames it streams always have the largest
// (UART) length. Synchronised UART keeps both directions in step, one slot
// per byte of either; without synchronisation each direction fills its own
// ring.

#include "instrumentconfig.h"

#include <cstdint>
#include <vector>

class SnifferCapture
{
public:
    explicit SnifferCapture(const InstrumentConfig &config);

    void start(int64_t nowUs);
    void stop() { m_running = false; }
    void clear();
    void reset();
    void setPaced(bool paced) { m_paced = paced; }

    bool running() const { return m_running; }
    int64_t nextAttemptUs() const { return m_nextFrameUs; }
    // The next frame, after capturing what arrived since the last one.
    std::vector<uint8_t> frame(int64_t nowUs);

    static constexpr int64_t messageIntervalUs = 100000;
    static constexpr int64_t frameIntervalUs = 40000;

private:
    struct Slot
    {
        uint8_t byte1;
        uint8_t byte2;
        uint8_t flags;
    };
    void captureMessage();
    bool captureUartApart();
    bool write(const Slot &slot);
    bool writeApart(std::vector<uint8_t> &ring, int &writeIndex, uint8_t byte, uint8_t flag);
    bool makeRoom(int &writeIndex) const;
    int ringSize() const;

    const InstrumentConfig &m_config;
    bool m_paced = true;
    bool m_running = false;
    int m_protocol = -1;
    bool m_uartSynchronised = false;
    uint16_t m_frameNumber = 1;
    int m_writeIndex1 = 0;
    int m_writeIndex2 = 0;
    std::vector<uint8_t> m_ring1;
    std::vector<uint8_t> m_ring2;
    std::vector<uint8_t> m_flags;
    int64_t m_nextMessageUs = 0;
    int64_t m_nextFrameUs = 0;
};

#endif // SNIFFERCAPTURE_H
