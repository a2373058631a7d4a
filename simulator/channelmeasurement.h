#ifndef CHANNELMEASUREMENT_H
#define CHANNELMEASUREMENT_H

// The measurement record the instrument sends with each frame and in the
// meter reply, computed from the samples it sends.

#include "scopeframe.h"

#include <cstdint>
#include <vector>

class ChannelMeasurement
{
public:
    // max and min over all samples; average and RMS (x128) over whole periods
    // between the first and the last rising crossing of the middle level, or
    // over all samples when fewer than two crossings are found; the period in
    // hundredths of a sample (0 without one); control, gain and time base as
    // given.
    static channela_t measure(const std::vector<int8_t> &samples, uint8_t control, uint8_t gain, uint8_t timeBase);
};

#endif // CHANNELMEASUREMENT_H
