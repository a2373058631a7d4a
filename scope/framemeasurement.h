#ifndef FRAMEMEASUREMENT_H
#define FRAMEMEASUREMENT_H

#include "tracebuilder.h"

// The per-channel measurements of a frame: from the device's records, or
// computed from the samples when the device does not measure.
namespace FrameMeasurement {

// Values of the six measurement displays of a channel, in volts and hertz;
// the frequency is not-a-number when no period was found.
struct Readings
{
    double vpp = 0;
    double max = 0;
    double min = 0;
    double rms = 0;
    double average = 0;
    double frequency = 0;
};

// Completes the working records of `traces` (built from the same frame).
// With `measuredOnDevice` both records are taken from the frame as they
// are; otherwise period, crossings, mean and RMS of each present channel
// are computed from its samples and only the settings fields come from the
// frame.
void measure(const unsigned char *frame, bool measuredOnDevice, TraceBuilder::Traces *traces);

Readings readings(const channela_t &record);

} // namespace FrameMeasurement

#endif // FRAMEMEASUREMENT_H
