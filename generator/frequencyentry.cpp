#include "frequencyentry.h"

#include "protocol.h"

#include <algorithm>
#include <cmath>

namespace FrequencyEntry {

QString digitsText(double value)
{
    const double held = std::isnan(value) ? 0.0 : std::clamp(value, 0.0, double(digitsMaximum));
    return QString::number(std::llround(held)).rightJustified(8, QLatin1Char('0'));
}

double sliderFrequency(int position)
{
    double frequency = std::pow(10.0, position / 100.0);
    double unit = 1;
    for (double limit = 10000000; limit >= 1000; limit /= 10) {
        if (frequency >= limit) {
            unit = limit / 100;
            break;
        }
    }
    frequency = unit > 1 ? std::trunc(std::round(frequency / unit) * unit) : std::trunc(frequency);
    return std::clamp(frequency, double(WAVE_FREQUENCY_MIN), double(WAVE_FREQUENCY_MAX));
}

int sliderPosition(double value, int minimum)
{
    if (!(value > 0) || !std::isfinite(value))
        return minimum;
    return std::max(minimum, int(std::log10(value) * 100));
}

QString headerText(double value)
{
    return QString::number(value / 100, 'f', 2) + QStringLiteral("Hz ");
}

} // namespace FrequencyEntry
