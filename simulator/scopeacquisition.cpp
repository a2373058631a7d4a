#include "scopeacquisition.h"

#include "channelmeasurement.h"
#include "scopeframe.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int64_t kMinFrameIntervalUs = 2000;   // at most 500 frames a second
constexpr int64_t kRollIntervalUs = 40000;      // roll updates at most 25 times a second
constexpr int64_t kUnpacedRetryUs = 5000;       // next look for a trigger when unpaced
}

ScopeAcquisition::ScopeAcquisition(const InstrumentConfig &config, const SignalSource &signals)
    : m_config(config), m_signals(signals)
{
}

void ScopeAcquisition::reset()
{
    m_running = false;
    m_singleDone = false;
    m_forcePending = false;
    m_frameNumber = 0;
    m_time = 0;
    m_lastFrameTime = 0;
    m_lastTrigger = -1e9;
    m_rollTimeBase = -1;
}

void ScopeAcquisition::start(int64_t nowUs)
{
    if (!m_running) {
        m_originUs = nowUs - int64_t(m_time * 1e6);
        resetRing();
    }
    m_running = true;
    m_singleDone = false;
    m_nextAttemptUs = nowUs;
}

void ScopeAcquisition::stop()
{
    m_running = false;
}

void ScopeAcquisition::force(int64_t nowUs)
{
    m_forcePending = true;
    m_nextAttemptUs = nowUs;
}

bool ScopeAcquisition::active() const
{
    return m_forcePending || (m_running && !(m_singleDone && m_config.triggerType() == TRIGGER_SINGLE));
}

double ScopeAcquisition::frameInterval() const
{
    const double dt = SignalSource::samplePeriod(m_config.timeBase());
    if (m_config.rollMode())
        return std::max(kRollIntervalUs / 1e6, dt);
    return std::max(kMinFrameIntervalUs / 1e6, m_config.samplesPerChannel() * dt);
}

int ScopeAcquisition::triggerValue(double t) const
{
    const int source = m_config.triggerSource();
    if (source >= SOURCE_LOGIC0 && source < SOURCE_EXT) {
        const double dt = SignalSource::samplePeriod(m_config.timeBase());
        const uint8_t bits = m_signals.logicByte(std::llround(t / dt));
        return (bits >> (source - SOURCE_LOGIC0)) & 1;
    }
    // EXT and the Schmitt input carry the generator output, like CH1.
    return m_signals.sampleAt(source == SOURCE_CH2 ? 1 : 0, t);
}

bool ScopeAcquisition::triggerCondition(int previous, int current) const
{
    const int source = m_config.triggerSource();
    const bool logic = source >= SOURCE_LOGIC0 && source < SOURCE_EXT;
    // A logic input triggers on its change, at the middle of 0 and 1.
    const double level = logic ? 0.5 : m_config.triggerLevel();
    const bool rising = previous < level && current >= level;
    const bool falling = previous > level && current <= level;
    switch (m_config.triggerMode()) {
    case TRIGGER_FALLING_EDGE:
    case TRIGGER_NEGATIVE_SLOPE:
        return falling;
    case TRIGGER_DUAL_EDGE:
        return rising || falling;
    case TRIGGER_WINDOW: {
        if (logic)
            return rising;
        const int low = std::min(m_config.windowLow(), m_config.windowHigh());
        const int high = std::max(m_config.windowLow(), m_config.windowHigh());
        const bool wasInside = previous >= low && previous <= high;
        const bool isInside = current >= low && current <= high;
        return wasInside && !isInside;
    }
    default:
        return rising;
    }
}

double ScopeAcquisition::findTrigger(double from, double span) const
{
    const double dt = SignalSource::samplePeriod(m_config.timeBase());
    const long steps = std::max(1L, std::lround(span / dt));
    int previous = triggerValue(from);
    for (long k = 1; k <= steps; ++k) {
        const double t = from + k * dt;
        const int current = triggerValue(t);
        if (triggerCondition(previous, current))
            return t;
        previous = current;
    }
    return -1;
}

void ScopeAcquisition::fillLinear(double startTime)
{
    const int n = m_config.samplesPerChannel();
    const double dt = SignalSource::samplePeriod(m_config.timeBase());
    for (int channel = 0; channel < 2; ++channel) {
        m_analog[channel].resize(n);
        for (int k = 0; k < n; ++k)
            m_analog[channel][k] = m_signals.sampleAt(channel, startTime + k * dt);
    }
    m_logic.resize(n);
    const int64_t first = std::llround(startTime / dt);
    for (int k = 0; k < n; ++k)
        m_logic[k] = m_signals.logicByte(first + k);
}

void ScopeAcquisition::resetRing()
{
    m_rollTimeBase = -1;
}

void ScopeAcquisition::fillRoll(double untilTime)
{
    const int n = m_config.samplesPerChannel();
    const double dt = SignalSource::samplePeriod(m_config.timeBase());
    if (m_rollTimeBase != m_config.timeBase() || m_rollSamples != n) {
        m_rollTimeBase = m_config.timeBase();
        m_rollSamples = n;
        m_rollWrite = 0;
        m_rollTime = untilTime - dt;
        for (auto &block : m_analog)
            block.assign(n, 0);
        m_logic.assign(n, 0);
    }
    const long fresh = std::clamp(std::lround((untilTime - m_rollTime) / dt), 1L, long(n));
    for (long i = 0; i < fresh; ++i) {
        m_rollTime += dt;
        for (int channel = 0; channel < 2; ++channel)
            m_analog[channel][m_rollWrite] = m_signals.sampleAt(channel, m_rollTime);
        m_logic[m_rollWrite] = m_signals.logicByte(std::llround(m_rollTime / dt));
        m_rollWrite = (m_rollWrite + 1) % n;
    }
}

bool ScopeAcquisition::acquire(int64_t nowUs, std::vector<uint8_t> *frame)
{
    const double interval = frameInterval();
    const int n = m_config.samplesPerChannel();
    const double dt = SignalSource::samplePeriod(m_config.timeBase());
    const double span = n * dt;
    if (m_paced) {
        // The frame covers the time just passed.
        m_time = std::max(m_time, (nowUs - m_originUs) / 1e6 - span);
    }

    const bool forced = m_forcePending;
    m_forcePending = false;
    auto schedule = [&](bool delivered) {
        if (m_paced)
            m_nextAttemptUs = nowUs + int64_t(interval * 1e6);
        else
            m_nextAttemptUs = delivered ? nowUs : nowUs + kUnpacedRetryUs;
    };

    if (m_config.rollMode() && !forced) {
        fillRoll(m_paced ? (nowUs - m_originUs) / 1e6 : m_rollTime + std::max(1, n / 8) * dt);
        m_time = m_rollTime;
        *frame = buildFrame(uint16_t(m_rollWrite));
        schedule(true);
        return true;
    }

    Capture capture = Capture::Free;
    double start = m_time;
    const uint8_t type = m_config.triggerType();
    if (!forced && type != TRIGGER_FREE) {
        const double searchFrom = std::max(m_time + (n - m_config.samplesAfterTrigger()) * dt,
                                           m_lastTrigger + m_config.holdOffSeconds());
        const double trigger = findTrigger(searchFrom, std::max(span, interval));
        if (trigger >= 0) {
            capture = Capture::Triggered;
            start = trigger - (n - m_config.samplesAfterTrigger()) * dt;
            m_lastTrigger = trigger;
        } else {
            m_time = searchFrom + std::max(span, interval) - (n - m_config.samplesAfterTrigger()) * dt;
            const bool autoDue = type == TRIGGER_AUTO && m_time - m_lastFrameTime >= m_config.autoTimeoutSeconds();
            if (!autoDue) {
                schedule(false);
                return false;
            }
            start = m_time;
        }
    }

    fillLinear(start);
    m_time = start + span;
    m_lastFrameTime = m_time;
    if (capture == Capture::Triggered && type == TRIGGER_SINGLE)
        m_singleDone = true;
    *frame = buildFrame(0);
    schedule(true);
    return true;
}

std::vector<uint8_t> ScopeAcquisition::buildFrame(uint16_t startIndex)
{
    const int n = m_config.samplesPerChannel();
    const uint8_t mask = m_config.channelMask();
    std::vector<uint8_t> bytes(ScopeFrame::frameLength(n, mask), 0);

    frameconfig_t header{};
    header.frameType = ScopeFrame::frameTag;
    header.frameNumber = m_frameNumber++;
    header.channelMask = mask;
    header.analogMask = mask & (ScopeFrame::maskCh1 | ScopeFrame::maskCh2);
    header.samplesPerChannel = uint16_t(n);
    header.timeBase = uint8_t(m_config.timeBase());
    header.startIndex = startIndex;
    ScopeFrame::writeHeader(header, bytes.data());

    if (mask & ScopeFrame::maskCh1)
        std::copy(m_analog[0].begin(), m_analog[0].end(), bytes.begin() + ScopeFrame::ch1BlockOffset());
    if (mask & ScopeFrame::maskCh2)
        std::copy(m_analog[1].begin(), m_analog[1].end(), bytes.begin() + ScopeFrame::ch2BlockOffset(n, mask));
    if (mask & ScopeFrame::maskLogic)
        std::copy(m_logic.begin(), m_logic.end(), bytes.begin() + ScopeFrame::logicBlockOffset(n, mask));

    for (int channel = 0; channel < 2; ++channel) {
        const channela_t record = ChannelMeasurement::measure(m_analog[channel], m_config.channelControl(channel),
                                                              uint8_t(m_config.channelGain(channel)),
                                                              uint8_t(m_config.timeBase()));
        ScopeFrame::writeRecord(record, bytes.data() + ScopeFrame::ch1RecordOffset(n, mask)
                                            + channel * ScopeFrame::recordSize);
    }
    return bytes;
}
