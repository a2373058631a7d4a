#include "signalsource.h"

#include <cmath>

namespace {
constexpr double kTwoPi = 6.283185307179586;
const double kSecondsPerDivision[SAMPLING_RATE_MAX + 1] = {
    8e-6, 16e-6, 32e-6, 64e-6, 128e-6, 256e-6, 500e-6, 1e-3, 2e-3, 5e-3, 10e-3,
    20e-3, 50e-3, 0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 50};
const double kVoltsPerDivision[10] = {8, 4, 2, 0.8, 0.4, 0.2, 0.1, 0.05, 0.025, 0.0125};
// Full scale of the generator's constant level.
constexpr double kConstantFullScaleVolts = 2.0;
}

SignalSource::SignalSource(const InstrumentConfig &config, const std::vector<int16_t> &customWave)
    : m_config(config), m_customWave(customWave)
{
}

double SignalSource::secondsPerDivision(int timeBase)
{
    return kSecondsPerDivision[std::clamp(timeBase, 0, SAMPLING_RATE_MAX)];
}

double SignalSource::voltsPerDivision(int gain)
{
    return kVoltsPerDivision[std::clamp(gain, 0, 9)];
}

uint32_t SignalSource::generatorFrequencyCentiHz() const
{
    const double requested = std::clamp<long long>(uint32_t(m_config.item[CFG_WAVE_FREQUENCY]), WAVE_FREQUENCY_MIN,
                                                   WAVE_FREQUENCY_MAX) / 100.0;
    const double samples = m_config.dacBlocks() * BLOCK_SAMPLES;
    const double divider = std::max(1.0, std::round(counterClockHz / (samples * requested)));
    return uint32_t(std::llround(counterClockHz / (samples * divider) * 100.0));
}

double SignalSource::ch1FrequencyHz() const
{
    if (!m_config.generatorOn())
        return 0;
    const int wave = m_config.item[CFG_WAVE_TYPE] & 0xFF;
    if (wave == WAVE_CONSTANT || wave == WAVE_WHITE_NOISE || wave == WAVE_PINK_NOISE)
        return 0;
    return generatorFrequencyCentiHz() / 100.0;
}

double SignalSource::ch1DutyFraction() const
{
    const int wave = m_config.item[CFG_WAVE_TYPE] & 0xFF;
    if (wave != WAVE_SQUARE)
        return 0.5;
    return std::clamp(m_config.item[CFG_WAVE_DUTY] & 0xFF, WAVE_DUTY_MIN, WAVE_DUTY_MAX) / 256.0;
}

// One period of the wave, phase in [0, 1), result in [-1, 1].
double SignalSource::waveShape(double phase) const
{
    const double duty = std::clamp(m_config.item[CFG_WAVE_DUTY] & 0xFF, WAVE_DUTY_MIN, WAVE_DUTY_MAX) / 256.0;
    switch (m_config.item[CFG_WAVE_TYPE] & 0xFF) {
    case WAVE_SQUARE:
        return phase < duty ? 1.0 : -1.0;
    case WAVE_TRIANGLE:
        return phase < duty ? -1.0 + 2.0 * phase / duty : 1.0 - 2.0 * (phase - duty) / (1.0 - duty);
    case WAVE_EXPONENTIAL:
        return 2.0 * std::exp(-5.0 * phase) - 1.0;
    case WAVE_CUSTOM: {
        if (m_customWave.empty())
            return 0;
        const size_t i = std::min(m_customWave.size() - 1, size_t(phase * m_customWave.size()));
        return m_customWave[i] / 32767.0;
    }
    default:
        return std::sin(kTwoPi * phase);
    }
}

// Deterministic noise in [-1, 1]: a hash of the time in microseconds.
double SignalSource::noise(double t) const
{
    uint64_t x = uint64_t(std::llround(t * 1e6)) * 0x9E3779B97F4A7C15ull;
    x ^= x >> 29;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 32;
    return double(x & 0xFFFF) / 32767.5 - 1.0;
}

double SignalSource::ch1Volts(double t) const
{
    if (!m_config.generatorOn())
        return 0;
    const double amplitude = std::clamp(m_config.item[CFG_WAVE_AMPLITUDE], 0, WAVE_AMPLITUDE_MAX) / WAVE_AMPLITUDE_PER_VOLT;
    const double offset = int8_t(m_config.item[CFG_WAVE_OFFSET]) / WAVE_OFFSET_PER_VOLT;
    switch (m_config.item[CFG_WAVE_TYPE] & 0xFF) {
    case WAVE_CONSTANT:
        return int16_t(m_config.item[CFG_WAVE_CONSTANT_LEVEL]) * kConstantFullScaleVolts / WAVE_CONSTANT_LIMIT;
    case WAVE_WHITE_NOISE:
        return offset + amplitude * noise(t);
    case WAVE_PINK_NOISE:
        // Low-passed noise: a few octaves summed with falling weights.
        return offset + amplitude * (0.5 * noise(t) + 0.3 * noise(std::floor(t * 5e4) / 5e4)
                                     + 0.2 * noise(std::floor(t * 5e3) / 5e3));
    default: {
        const double f = generatorFrequencyCentiHz() / 100.0;
        const double cycles = t * f;
        return offset + amplitude * waveShape(cycles - std::floor(cycles));
    }
    }
}

double SignalSource::ch2Volts(double t) const
{
    return ch2AmplitudeVolts * std::sin(kTwoPi * ch2FrequencyHz * t);
}

uint8_t SignalSource::logicByte(int64_t sampleIndex) const
{
    const uint8_t value = uint8_t(sampleIndex);
    return m_config.logicInverted() ? uint8_t(~value) : value;
}

double SignalSource::ch1DcVolts() const
{
    if (!m_config.generatorOn())
        return 0;
    if ((m_config.item[CFG_WAVE_TYPE] & 0xFF) == WAVE_CONSTANT)
        return ch1Volts(0);
    return int8_t(m_config.item[CFG_WAVE_OFFSET]) / WAVE_OFFSET_PER_VOLT;
}

int8_t SignalSource::sampleAt(int channel, double t) const
{
    double volts = this->volts(channel, t);
    if (channel == 0 && (m_config.channelControl(0) & CHANNEL_AC))
        volts -= ch1DcVolts();
    double raw = volts / voltsPerDivision(m_config.channelGain(channel)) * rawPerDivision;
    if (m_config.channelControl(channel) & CHANNEL_INVERT)
        raw = -raw;
    return int8_t(std::clamp(std::lround(raw), -128L, 127L));
}
