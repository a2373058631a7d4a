#ifndef METERREPLY_H
#define METERREPLY_H

#include "framemeasurement.h"
#include "scopeframe.h"

#include <optional>

// The instrument's 36-byte meter reply, a measurement record per channel
// (CH1 in bytes 0-17, CH2 in bytes 18-35), and the values the meter pages
// show from it. On the AC and DC pages the records hold the channels'
// measurements; on the counter page CH1's period field holds the count, the
// frequency in Hz or the period in ticks of the 32 MHz counter clock, and
// CH2's the high time in ticks. A value that would divide by zero, or a
// frequency without a measured period, is not-a-number.
class MeterReply
{
public:
    static constexpr int size = 2 * int(ScopeFrame::recordSize);
    static constexpr double counterClockHz = 32e6;

    struct PeriodReadings
    {
        double period = 0;      // s
        double dutyPercent = 0; // high time in per cent of the period
        double dutySeconds = 0; // high time, s
        double frequency = 0;   // Hz
    };

    struct FrequencyReadings
    {
        double frequency = 0; // Hz
        double period = 0;    // s
    };

    // The reply in `bytes` when exactly `size` of them arrived; a short read
    // or a failed transfer (negative count) is no reply at all.
    static std::optional<MeterReply> parse(const unsigned char *bytes, int count);

    // Channel 0 is CH1, 1 is CH2.
    const channela_t &record(int channel) const;

    // AC page: a channel's span, extremes, RMS and mean in volts, and the
    // frequency of its measured period in Hz.
    FrameMeasurement::Readings acReadings(int channel) const;
    // DC page: a channel's mean in volts.
    double dcVolts(int channel) const;

    // Counter page. CH1's period field read unsigned: pulses counted, or Hz.
    double counterValue() const;
    PeriodReadings periodReadings() const;
    FrequencyReadings frequencyReadings() const;

private:
    MeterReply() = default;

    channela_t records[2] = {};
};

#endif // METERREPLY_H
