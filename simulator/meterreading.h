#ifndef METERREADING_H
#define METERREADING_H

// The 36-byte meter reply of the simulated instrument (two measurement
// records, CH1 then CH2) and the counter behind the counter modes.

#include "instrumentconfig.h"
#include "signalsource.h"

#include <cstdint>
#include <vector>

class MeterReading
{
public:
    MeterReading(const InstrumentConfig &config, const SignalSource &signals);

    void counterStart(int64_t nowUs);
    void counterStop(int64_t nowUs);
    bool counterRunning() const { return m_counting; }
    void reset();
    // Bytes of the reply actually returned (36 is whole); a fault knob that
    // survives reset().
    void setReplyLength(int bytes) { m_replyLength = bytes; }

    // AC and DC modes (and the oscilloscope and sniffer modes) measure both
    // channels at their gain and time base; the counter modes report CH1's
    // frequency in Hz, its pulse count, or its period in 32 MHz ticks with
    // CH2 carrying the high time in ticks.
    std::vector<uint8_t> reply(int64_t nowUs) const;

private:
    double inputFrequencyHz() const;
    double inputDutyFraction() const;
    uint32_t pulseCount(int64_t nowUs) const;

    const InstrumentConfig &m_config;
    const SignalSource &m_signals;
    bool m_counting = false;
    int64_t m_countStartUs = 0;
    double m_heldPulses = 0;
    int m_replyLength = REPLY_METER_LENGTH;
};

#endif // METERREADING_H
