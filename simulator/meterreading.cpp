#include "meterreading.h"

#include "channelmeasurement.h"
#include "scopeframe.h"

#include <algorithm>
#include <cmath>

MeterReading::MeterReading(const InstrumentConfig &config, const SignalSource &signals)
    : m_config(config), m_signals(signals)
{
}

void MeterReading::reset()
{
    m_counting = false;
    m_heldPulses = 0;
}

void MeterReading::counterStart(int64_t nowUs)
{
    m_counting = true;
    m_countStartUs = nowUs;
    m_heldPulses = 0;
}

void MeterReading::counterStop(int64_t nowUs)
{
    if (m_counting)
        m_heldPulses = pulseCount(nowUs);
    m_counting = false;
}

// The counter's input: a logic bit toggles at its place in the count, EXT and
// the Schmitt input carry the generator output.
double MeterReading::inputFrequencyHz() const
{
    const int source = m_config.triggerSource();
    if (source >= SOURCE_LOGIC0 && source < SOURCE_EXT)
        return 1.0 / (SignalSource::samplePeriod(m_config.timeBase()) * (2 << (source - SOURCE_LOGIC0)));
    return m_signals.ch1FrequencyHz();
}

double MeterReading::inputDutyFraction() const
{
    const int source = m_config.triggerSource();
    if (source >= SOURCE_LOGIC0 && source < SOURCE_EXT)
        return 0.5;
    return m_signals.ch1DutyFraction();
}

uint32_t MeterReading::pulseCount(int64_t nowUs) const
{
    if (!m_counting)
        return uint32_t(m_heldPulses);
    return uint32_t(std::floor(inputFrequencyHz() * (nowUs - m_countStartUs) / 1e6));
}

std::vector<uint8_t> MeterReading::reply(int64_t nowUs) const
{
    const int timeBase = m_config.timeBase();
    channela_t records[2];
    const int mode = m_config.mode();
    if (mode >= MODE_COUNTER_FREQUENCY && mode <= MODE_COUNTER_EXT_GATE) {
        for (int channel = 0; channel < 2; ++channel) {
            records[channel] = channela_t{};
            records[channel].control = m_config.channelControl(channel);
            records[channel].gain = uint8_t(m_config.channelGain(channel));
            records[channel].timeBase = uint8_t(timeBase);
        }
        const double frequency = inputFrequencyHz();
        switch (mode) {
        case MODE_COUNTER_FREQUENCY:
            records[0].period = int32_t(std::lround(frequency));
            break;
        case MODE_COUNTER_PERIOD:
            if (frequency > 0) {
                const double ticks = SignalSource::counterClockHz / frequency;
                records[0].period = int32_t(std::llround(ticks));
                records[1].period = int32_t(std::llround(ticks * inputDutyFraction()));
            }
            break;
        default:   // pulse counting and the external gate count pulses
            records[0].period = int32_t(pulseCount(nowUs));
            break;
        }
    } else {
        const int n = m_config.samplesPerChannel();
        const double dt = SignalSource::samplePeriod(timeBase);
        const double start = nowUs / 1e6;
        for (int channel = 0; channel < 2; ++channel) {
            std::vector<int8_t> samples(n);
            for (int k = 0; k < n; ++k)
                samples[k] = m_signals.sampleAt(channel, start + k * dt);
            records[channel] = ChannelMeasurement::measure(samples, m_config.channelControl(channel),
                                                           uint8_t(m_config.channelGain(channel)), uint8_t(timeBase));
        }
    }
    std::vector<uint8_t> bytes(REPLY_METER_LENGTH, 0);
    ScopeFrame::writeRecord(records[0], bytes.data());
    ScopeFrame::writeRecord(records[1], bytes.data() + ScopeFrame::recordSize);
    bytes.resize(size_t(std::clamp(m_replyLength, 0, REPLY_METER_LENGTH)));
    return bytes;
}
