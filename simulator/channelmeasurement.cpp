#include "channelmeasurement.h"

#include <algorithm>
#include <cmath>

channela_t ChannelMeasurement::measure(const std::vector<int8_t> &samples, uint8_t control, uint8_t gain,
                                       uint8_t timeBase)
{
    channela_t record{};
    record.control = control;
    record.gain = gain;
    record.timeBase = timeBase;
    if (samples.empty())
        return record;

    const auto [lowest, highest] = std::minmax_element(samples.begin(), samples.end());
    record.max = *highest;
    record.min = *lowest;

    // Rising crossings of the middle level; a flat signal has none.
    std::vector<size_t> crossings;
    if (*highest > *lowest) {
        const double middle = (*highest + *lowest) / 2.0;
        for (size_t i = 1; i < samples.size(); ++i)
            if (samples[i - 1] < middle && samples[i] >= middle)
                crossings.push_back(i);
    }

    size_t begin = 0;
    size_t end = samples.size();
    if (crossings.size() >= 2) {
        begin = crossings.front();
        end = crossings.back();
        record.period = int32_t(std::llround((end - begin) * 100.0 / (crossings.size() - 1)));
        record.firstCrossing = uint16_t(crossings[0]);
        record.secondCrossing = uint16_t(crossings[1]);
    }

    double sum = 0;
    double squares = 0;
    for (size_t i = begin; i < end; ++i) {
        sum += samples[i];
        squares += double(samples[i]) * samples[i];
    }
    const double count = double(end - begin);
    record.average = int16_t(std::lround(sum / count * 128.0));
    record.rms = int16_t(std::lround(std::sqrt(squares / count) * 128.0));
    return record;
}
