#ifndef SOFTWAREMEASUREMENT_H
#define SOFTWAREMEASUREMENT_H

#include <cstdint>

// Level crossings found by the period measurement.
struct mmzeros_t
{
    uint16_t first;  // first counted crossing
    uint16_t second; // the next one, one period later
    uint16_t last;   // last counted crossing; averages run over first .. last - 1
};

// Period, mean and RMS of a channel's raw samples, for frames whose
// measurement records the device did not fill.
namespace SoftwareMeasurement {

// Mean period in 1/100 samples between crossings of the middle level in one
// direction, or 0 when no period can be measured; then `zeros` is
// {0, 0, count}, so the averages run over the whole block.
int scopeGetMeasureFrequency(const signed char *samples, unsigned short count, short min,
                             short max, mmzeros_t *zeros);

// Mean and RMS (RMS includes the mean) in raw units x 128 over the samples
// first .. last - 1. Returns false, with both outputs 0, when that range is
// empty: there is no value to show.
bool scopeGetAverRMS(const signed char *samples, const mmzeros_t *zeros, short *average,
                     short *rms);

} // namespace SoftwareMeasurement

#endif // SOFTWAREMEASUREMENT_H
