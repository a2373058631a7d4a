#include "softwaremeasurement.h"

#include <cmath>

namespace SoftwareMeasurement {

int scopeGetMeasureFrequency(const signed char *samples, unsigned short count, short min,
                             short max, mmzeros_t *zeros)
{
    *zeros = {0, 0, count};
    if (max - min < 32 || count <= 10)
        return 0;

    const signed char middle = static_cast<signed char>((max + min) / 2);
    const short low = static_cast<short>((6 * max + 10 * min) / 16);
    const short high = static_cast<short>((10 * max + 6 * low) / 16);
    // The first and last five samples are never examined.
    const int end = count - 5;
    const int crossingLimit = count / 4;

    int i = 5;
    while (i < end && samples[i] >= low && samples[i] <= high)
        ++i;
    if (i >= end)
        return 0;
    const bool rising = samples[i] < low;
    ++i;

    int crossings = 0;
    int firstCrossing = 0;
    int secondCrossing = 0;
    int lastCrossing = 0;
    while (true) {
        // Armed: wait for the signal to leave the far side of the band.
        while (i < end && (rising ? samples[i] <= low : samples[i] >= high))
            ++i;
        // Crossing of the middle level.
        while (i < end && (rising ? samples[i] <= middle : samples[i] >= middle))
            ++i;
        if (i >= end)
            break;
        ++crossings;
        if (crossings > crossingLimit)
            return 0;
        if (crossings == 1)
            firstCrossing = i;
        else if (crossings == 2)
            secondCrossing = i;
        lastCrossing = i;
        // Re-arm on the way back beyond the band.
        ++i;
        while (i < end && (rising ? samples[i] >= low : samples[i] <= high))
            ++i;
        if (i >= end)
            break;
        ++i;
    }

    if (crossings < 2)
        return 0;
    zeros->first = static_cast<uint16_t>(firstCrossing);
    zeros->second = static_cast<uint16_t>(secondCrossing);
    zeros->last = static_cast<uint16_t>(lastCrossing);
    return (lastCrossing - firstCrossing) * 100 / (crossings - 1);
}

bool scopeGetAverRMS(const signed char *samples, const mmzeros_t *zeros, short *average,
                     short *rms)
{
    const int count = int(zeros->last) - int(zeros->first);
    if (count <= 0) {
        *average = 0;
        *rms = 0;
        return false;
    }
    int32_t sum = 0;
    int32_t squares = 0;
    for (int i = zeros->first; i < zeros->last; ++i) {
        sum += samples[i];
        squares += samples[i] * samples[i];
    }
    *rms = static_cast<short>(std::sqrt(double(squares / count)) * 128);
    *average = static_cast<short>(sum * 128 / count);
    return true;
}

} // namespace SoftwareMeasurement
