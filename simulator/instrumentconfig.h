#ifndef INSTRUMENTCONFIG_H
#define INSTRUMENTCONFIG_H

// The configuration items as the simulated instrument holds them, with the
// decoded views its parts need.

#include "protocol.h"

#include <algorithm>
#include <array>
#include <cstdint>

struct InstrumentConfig
{
    std::array<int32_t, CFG_COUNT> item{};

    // Power-on state: scope mode, CH1 on, 1 ms/div, 3 blocks, generator off
    // with a 1 kHz, 1 V sine prepared.
    static InstrumentConfig powerOn()
    {
        InstrumentConfig c;
        c.item[CFG_MAIN_MODE] = MODE_SCOPE;
        c.item[CFG_SAMPLING_RATE] = 7;
        c.item[CFG_CH1_CONTROL] = CHANNEL_TRACE_ON;
        c.item[CFG_CHD_BITS] = 0xFF;
        c.item[CFG_TRIGGER_CONTROL] = TRIGGER_FREE | TRIGGER_RISING_EDGE;
        c.item[CFG_TRIGGER_SOURCE] = SOURCE_CH1;
        c.item[CFG_CH1_GAIN] = 4;
        c.item[CFG_CH2_GAIN] = 4;
        c.item[CFG_TRIGGER_POST] = 384;
        c.item[CFG_AUTO_TRIGGER] = 3;
        c.item[CFG_DAC_BUFFER_BLOCKS] = 1;
        c.item[CFG_CH_BUFFER_BLOCKS] = 3;
        c.item[CFG_SWEEP_SPEED] = 1;
        c.item[CFG_WAVE_AMPLITUDE] = 116;
        c.item[CFG_WAVE_TYPE] = WAVE_SINE;
        c.item[CFG_WAVE_DUTY] = 128;
        c.item[CFG_WAVE_FREQUENCY] = 100000;
        return c;
    }

    // Items whose 16-bit wire value is a signed number.
    static bool isSigned(int index)
    {
        return index == CFG_TRIGGER_LEVEL || index == CFG_TRIGGER_WIN1_LEVEL
               || index == CFG_TRIGGER_WIN2_LEVEL || index == CFG_WAVE_CONSTANT_LEVEL;
    }

    int mode() const { return item[CFG_MAIN_MODE]; }
    int timeBase() const { return std::clamp(int(item[CFG_SAMPLING_RATE] & 0xFF), 0, SAMPLING_RATE_MAX); }
    int channelBlocks() const { return std::clamp(int(item[CFG_CH_BUFFER_BLOCKS] & 0xFF), CH_BLOCKS_MIN, CH_BLOCKS_MAX); }
    int samplesPerChannel() const { return channelBlocks() * BLOCK_SAMPLES; }
    int dacBlocks() const { return std::clamp(int(item[CFG_DAC_BUFFER_BLOCKS] & 0xFF), DAC_BLOCKS_MIN, DAC_BLOCKS_MAX); }
    bool generatorOn() const { return item[CFG_DAC_CONTROL] & 1; }
    uint8_t channelControl(int channel) const { return uint8_t(item[CFG_CH1_CONTROL + channel]); }
    int channelGain(int channel) const { return std::clamp(int(item[CFG_CH1_GAIN + channel] & 0xFF), 0, 9); }
    bool logicOn() const { return item[CFG_CHD_CONTROL] & LOGIC_TRACE_ON; }
    bool logicInverted() const { return item[CFG_CHD_CONTROL] & LOGIC_INVERT; }

    // Blocks present in an oscilloscope frame: bit 0 CH1, bit 1 CH2, bit 2 logic.
    uint8_t channelMask() const
    {
        return uint8_t((channelControl(0) & CHANNEL_TRACE_ON ? 1 : 0) | (channelControl(1) & CHANNEL_TRACE_ON ? 2 : 0)
                       | (logicOn() ? 4 : 0));
    }

    uint8_t triggerType() const { return uint8_t(item[CFG_TRIGGER_CONTROL]) & TRIGGER_TYPE_MASK; }
    uint8_t triggerMode() const { return uint8_t(item[CFG_TRIGGER_CONTROL]) & TRIGGER_MODE_MASK; }
    int triggerSource() const { return item[CFG_TRIGGER_SOURCE] & 0xFF; }
    int triggerLevel() const { return int16_t(item[CFG_TRIGGER_LEVEL]); }
    int windowLow() const { return int16_t(item[CFG_TRIGGER_WIN1_LEVEL]); }
    int windowHigh() const { return int16_t(item[CFG_TRIGGER_WIN2_LEVEL]); }
    int samplesAfterTrigger() const { return std::clamp(int(item[CFG_TRIGGER_POST]), 0, samplesPerChannel()); }
    double holdOffSeconds() const { return (item[CFG_TRIGGER_HOLD] & 0xFF) / 1000.0; }
    double autoTimeoutSeconds() const { return ((item[CFG_AUTO_TRIGGER] & 0xFF) + 1) * AUTO_TRIGGER_STEP_SECONDS; }
    bool rollMode() const { return (item[CFG_MIXED_CONTROL] & MIXED_ROLL) && timeBase() > 10; }
    bool snifferSingle() const { return item[CFG_MIXED_CONTROL] & MIXED_SNIFFER_SINGLE; }
    int snifferProtocol() const { return item[CFG_DECODE_PROTOCOL] & 0xFF; }
    bool snifferUartSynchronised() const { return item[CFG_SNIFFER_OPTIONS] & SNIFF_UART_SYNC; }
};

#endif // INSTRUMENTCONFIG_H
