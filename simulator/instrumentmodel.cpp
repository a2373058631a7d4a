#include "instrumentmodel.h"

#include <algorithm>
#include <bitset>
#include <cstring>

InstrumentModel::InstrumentModel()
    : m_customWave(CUSTOM_WAVE_SAMPLES, 0),
      m_signals(m_config, m_customWave),
      m_scope(m_config, m_signals),
      m_sniffer(m_config),
      m_meter(m_config, m_signals)
{
    powerOn();
}

void InstrumentModel::powerOn()
{
    m_config = InstrumentConfig::powerOn();
    m_scope.reset();
    m_sniffer.reset();
    m_meter.reset();
    m_bulkBlock.clear();
}

void InstrumentModel::setPaced(bool paced)
{
    m_scope.setPaced(paced);
    m_sniffer.setPaced(paced);
}

void InstrumentModel::setItem(int index, uint16_t wireValue)
{
    m_config.item[index] = InstrumentConfig::isSigned(index) ? int32_t(int16_t(wireValue)) : int32_t(wireValue);
}

InstrumentModel::Reply InstrumentModel::vendorRequest(uint8_t request, uint16_t value, uint16_t index, int64_t nowUs)
{
    Reply reply;
    switch (request) {
    case REQ_SET_CONFIG:
        // The frequency travels only with its own request.
        if (index >= CFG_COUNT || index == CFG_WAVE_FREQUENCY)
            reply.stall = true;
        else
            setItem(index, value);
        break;
    case REQ_SET_CONFIG_CONFIRM:
        return confirmedWrite(index, value);
    case REQ_CALIBRATE:
        // Calibration changes nothing the simulation shows.
        reply.stall = index > CAL_ADC_OFFSET;
        break;
    case REQ_RUN_CONTROL:
        reply.stall = !runControl(index, nowUs);
        break;
    case REQ_COMMIT_BULK:
        reply.stall = !commit(index);
        break;
    case REQ_SET_AWG_FREQUENCY:
        m_config.item[CFG_WAVE_FREQUENCY] = int32_t(uint32_t(index) | uint32_t(value) << 16);
        break;
    case REQ_READ:
        return read(index, nowUs);
    case REQ_DISCONNECT:
        m_scope.stop();
        m_sniffer.stop();
        m_meter.counterStop(nowUs);
        break;
    default:
        reply.stall = true;
        break;
    }
    return reply;
}

InstrumentModel::Reply InstrumentModel::read(uint16_t index, int64_t nowUs) const
{
    Reply reply;
    switch (index) {
    case READ_DEVICE_INFO: {
        std::vector<uint8_t> text(REPLY_DEVICE_INFO_LENGTH, 0);
        std::memcpy(text.data(), m_identification.data(), std::min(m_identification.size(), text.size()));
        text.resize(std::clamp(m_identificationLength, 0, REPLY_DEVICE_INFO_LENGTH));
        reply.data = text;
        break;
    }
    case READ_METER:
        reply.data = m_meter.reply(nowUs);
        break;
    case READ_HEALTH:
        reply.data = {m_healthMask};
        break;
    case READ_MAX_DAC_BLOCKS:
        reply.data = {uint8_t(dacBlocksAvailable())};
        break;
    case READ_MAX_ADC_BLOCKS:
        reply.data = {uint8_t(channelBlocksAvailable(m_config))};
        break;
    case READ_AWG_FREQUENCY: {
        const uint32_t f = m_signals.generatorFrequencyCentiHz();
        reply.data = {uint8_t(f), uint8_t(f >> 8), uint8_t(f >> 16), uint8_t(f >> 24)};
        break;
    }
    default:
        reply.stall = true;
        break;
    }
    return reply;
}

int InstrumentModel::blocksInUse(const InstrumentConfig &config) const
{
    const int channels = int(std::bitset<8>(config.channelMask()).count());
    return channels * config.channelBlocks() + (config.generatorOn() ? config.dacBlocks() : 0);
}

// Blocks each enabled channel could have next to the generator's buffer.
int InstrumentModel::channelBlocksAvailable(const InstrumentConfig &config) const
{
    const int channels = std::max(1, int(std::bitset<8>(config.channelMask()).count()));
    const int free = m_bufferBudget - (config.generatorOn() ? config.dacBlocks() : 0);
    return std::clamp(free / channels, 0, CH_BLOCKS_MAX);
}

int InstrumentModel::dacBlocksAvailable() const
{
    const int channels = int(std::bitset<8>(m_config.channelMask()).count());
    return std::clamp(m_bufferBudget - channels * m_config.channelBlocks(), 0, DAC_BLOCKS_MAX);
}

InstrumentModel::Reply InstrumentModel::confirmedWrite(uint16_t index, uint16_t value)
{
    Reply reply;
    if (index < CFG_DAC_CONTROL || index > CFG_CHD_CONTROL) {
        reply.stall = true;
        return reply;
    }
    InstrumentConfig next = m_config;
    next.item[index] = value;
    const bool fits = !m_confirmRefused && blocksInUse(next) <= m_bufferBudget;
    if (fits)
        m_config = next;
    reply.data = {fits ? CONFIRM_ACCEPTED : CONFIRM_NO_MEMORY, uint8_t(channelBlocksAvailable(next))};
    reply.data.resize(size_t(std::max(0, m_confirmReplyLength)));
    return reply;
}

bool InstrumentModel::runControl(uint16_t code, int64_t nowUs)
{
    switch (code) {
    case RUN_COUNTER_START:
        m_meter.counterStart(nowUs);
        return true;
    case RUN_COUNTER_STOP:
        m_meter.counterStop(nowUs);
        return true;
    case RUN_SCOPE_START:
        m_scope.start(nowUs);
        return true;
    case RUN_SCOPE_STOP:
        m_scope.stop();
        return true;
    case RUN_FORCE_TRIGGER:
        m_scope.force(nowUs);
        return true;
    case RUN_SNIFFER_START:
        m_sniffer.start(nowUs);
        return true;
    case RUN_SNIFFER_STOP:
        m_sniffer.stop();
        return true;
    case RUN_SNIFFER_CLEAR:
        m_sniffer.clear();
        return true;
    default:
        return false;
    }
}

bool InstrumentModel::commit(uint16_t code)
{
    if (code > BULK_SETTINGS)
        return false;
    // A commit without a whole block before it changes nothing.
    if (m_bulkBlock.size() != size_t(BULK_BLOCK_SIZE))
        return true;
    const uint8_t *b = m_bulkBlock.data();
    if (code == BULK_SETTINGS) {
        for (int i = 0; i < CFG_COUNT; ++i) {
            // These items follow the block as single requests.
            if (i == CFG_DAC_CONTROL || i == CFG_CHD_CONTROL || i == CFG_DAC_BUFFER_BLOCKS
                || i == CFG_CH_BUFFER_BLOCKS)
                continue;
            const uint8_t *slot = b + 4 * i;
            m_config.item[i] = int32_t(uint32_t(slot[0]) | uint32_t(slot[1]) << 8 | uint32_t(slot[2]) << 16
                                       | uint32_t(slot[3]) << 24);
        }
    } else {
        const int first = code == BULK_WAVE_FIRST_HALF ? 0 : CUSTOM_WAVE_SAMPLES / 2;
        for (int i = 0; i < CUSTOM_WAVE_SAMPLES / 2; ++i)
            m_customWave[first + i] = int16_t(b[2 * i] | b[2 * i + 1] << 8);
    }
    m_bulkBlock.clear();
    return true;
}

void InstrumentModel::bulkOut(const uint8_t *data, size_t size)
{
    m_bulkBlock.assign(data, data + size);
}

bool InstrumentModel::streaming() const
{
    switch (m_config.mode()) {
    case MODE_SCOPE:
        return m_scope.active();
    case MODE_SNIFFER:
        return m_sniffer.running();
    default:
        return false;
    }
}

int64_t InstrumentModel::nextFrameUs() const
{
    return m_config.mode() == MODE_SNIFFER ? m_sniffer.nextAttemptUs() : m_scope.nextAttemptUs();
}

bool InstrumentModel::takeFrame(int64_t nowUs, std::vector<uint8_t> *frame)
{
    if (!streaming())
        return false;
    if (m_config.mode() == MODE_SNIFFER) {
        *frame = m_sniffer.frame(nowUs);
        return true;
    }
    return m_scope.acquire(nowUs, frame);
}
