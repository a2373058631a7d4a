#ifndef SCOPEACQUISITION_H
#define SCOPEACQUISITION_H

// The oscilloscope of the simulated instrument: run control, trigger, roll
// mode, pacing and the frames it streams.

#include "instrumentconfig.h"
#include "signalsource.h"

#include <cstdint>
#include <vector>

class ScopeAcquisition
{
public:
    ScopeAcquisition(const InstrumentConfig &config, const SignalSource &signals);

    void start(int64_t nowUs);
    void stop();
    // One untriggered frame as soon as a read is pending, running or not.
    void force(int64_t nowUs);
    void setPaced(bool paced) { m_paced = paced; }
    void reset();

    bool running() const { return m_running; }
    // Whether a frame may come at all (running and not a finished single
    // shot, or a forced frame pending).
    bool active() const;
    // When acquire() should be tried next.
    int64_t nextAttemptUs() const { return m_nextAttemptUs; }
    // Tries to take one frame; false when there is none this time (no
    // trigger yet). Schedules the next attempt either way.
    bool acquire(int64_t nowUs, std::vector<uint8_t> *frame);

private:
    enum class Capture { Free, Triggered };
    double frameInterval() const;
    // Time of the first trigger event in [from, from + span); negative if none.
    double findTrigger(double from, double span) const;
    int triggerValue(double t) const;
    bool triggerCondition(int previous, int current) const;
    void fillLinear(double startTime);
    void fillRoll(double untilTime);
    std::vector<uint8_t> buildFrame(uint16_t startIndex);
    void resetRing();

    const InstrumentConfig &m_config;
    const SignalSource &m_signals;
    bool m_paced = true;
    bool m_running = false;
    bool m_singleDone = false;
    bool m_forcePending = false;
    uint16_t m_frameNumber = 0;
    int64_t m_originUs = 0;
    int64_t m_nextAttemptUs = 0;
    double m_time = 0;           // signal time the next capture starts from
    double m_lastFrameTime = 0;  // signal time of the last frame, for the auto time-out
    double m_lastTrigger = -1e9;

    // Sample blocks of the frame being built (CH1, CH2, logic).
    std::vector<int8_t> m_analog[2];
    std::vector<uint8_t> m_logic;
    // Roll mode: the blocks are rings, m_rollWrite is the oldest sample.
    int m_rollWrite = 0;
    int m_rollSamples = 0;
    int m_rollTimeBase = -1;
    double m_rollTime = 0;
};

#endif // SCOPEACQUISITION_H
