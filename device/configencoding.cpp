#include "configencoding.h"

#include "protocol.h"

#include <algorithm>
#include <cmath>

namespace ConfigEncoding {

namespace {

uint8_t bitIf(bool condition, uint8_t bit)
{
    return condition ? bit : 0;
}

} // namespace

uint8_t channelControls(const ChannelControls &c)
{
    return bitIf(c.trace, CHANNEL_TRACE_ON) | bitIf(c.acCoupling, CHANNEL_AC) | bitIf(c.invert, CHANNEL_INVERT)
           | bitIf(c.average, CHANNEL_AVERAGE) | bitIf(c.math, CHANNEL_MATH_ON)
           | bitIf(c.subtract, CHANNEL_MATH_SUBTRACT) | bitIf(c.multiply, CHANNEL_MATH_MULTIPLY);
}

uint8_t logicControls(bool trace, bool invert)
{
    return bitIf(trace, LOGIC_TRACE_ON) | bitIf(invert, LOGIC_INVERT);
}

uint8_t logicBits(const std::array<bool, 8> &enabled)
{
    uint8_t bits = 0;
    for (int bit = 0; bit < 8; ++bit)
        bits |= bitIf(enabled[bit], uint8_t(1u << bit));
    return bits;
}

uint8_t triggerControls(const TriggerButtons &b)
{
    // The dual-edge mode is all four mode bits clear, so its button is not read.
    return bitIf(b.free, 0x01) | bitIf(b.normal, 0x02) | bitIf(b.single, 0x04) | bitIf(b.automatic, 0x08)
           | bitIf(b.fallingEdge || b.negativeSlope, 0x10) | bitIf(b.positiveSlope || b.negativeSlope, 0x20)
           | bitIf(b.window, 0x40) | bitIf(b.risingEdge || b.fallingEdge, 0x80);
}

int sourceCode(const std::array<bool, 10> &checked, int none)
{
    static const int codes[10] = {2, 3, 4, 5, 6, 7, 8, 9, SOURCE_EXT, SOURCE_SCHMITT};
    for (int i = 0; i < 10; ++i) {
        if (checked[i])
            return codes[i];
    }
    return none;
}

uint8_t mixedControls(bool roll, bool elastic, bool snifferSingle, bool meterOnDevice, bool customWaveUploading)
{
    return bitIf(roll, MIXED_ROLL) | bitIf(elastic, MIXED_ELASTIC) | bitIf(snifferSingle, MIXED_SNIFFER_SINGLE)
           | bitIf(meterOnDevice, MIXED_METER_ON_DEVICE) | bitIf(customWaveUploading, MIXED_WAVE_UPLOAD);
}

uint8_t meterFrequencyControl(bool fastMode, bool gatePeriod)
{
    return bitIf(fastMode, COUNTER_FAST_MODE) | bitIf(gatePeriod, COUNTER_GATE_PERIOD);
}

uint8_t snifferOptions(const SnifferOptions &o)
{
    return bitIf(o.parityIndex > 0, SNIFF_UART_PARITY) | bitIf(o.parityIndex == 2, SNIFF_UART_ODD)
           | bitIf(o.stopBitsIndex == 1, SNIFF_UART_TWO_STOP) | bitIf(o.synchro, SNIFF_UART_SYNC)
           | bitIf(o.parallelInvert, SNIFF_PARALLEL_INVERT) | bitIf(o.ssInvertIndex == 1, SNIFF_SPI_SS_INVERT)
           | bitIf(o.cpolIndex == 1, SNIFF_SPI_CPOL) | bitIf(o.cphaIndex == 1, SNIFF_SPI_CPHA);
}

uint8_t snifferUsart(int baudIndex, int dataBitsIndex)
{
    return uint8_t(baudIndex + 8 * dataBitsIndex);
}

uint8_t sweepControls(const SweepButtons &b)
{
    uint8_t bits = bitIf(b.falling, SWEEP_FALLING) | bitIf(b.pingPong, SWEEP_PING_PONG);
    if (b.enabled) {
        bits |= bitIf(b.frequency, SWEEP_FREQUENCY) | bitIf(b.amplitude, SWEEP_AMPLITUDE)
                | bitIf(b.offset, SWEEP_OFFSET) | bitIf(b.dutyCycle, SWEEP_DUTY);
    }
    return bits;
}

WaveChoice waveType(const std::array<bool, 8> &checked)
{
    static const WaveChoice choices[8] = {
        {WAVE_CONSTANT, QStringLiteral("Constant")},   {WAVE_CUSTOM, QStringLiteral("Custom")},
        {WAVE_EXPONENTIAL, QStringLiteral("Exponential")}, {WAVE_TRIANGLE, QStringLiteral("Triangle")},
        {WAVE_SQUARE, QStringLiteral("Square")},       {WAVE_SINE, QStringLiteral("Sine")},
        {WAVE_PINK_NOISE, QStringLiteral("Pink Noise")}, {WAVE_WHITE_NOISE, QStringLiteral("White Noise")},
    };
    for (int i = 0; i < 8; ++i) {
        if (checked[i])
            return choices[i];
    }
    return {WAVE_SINE, QString()};
}

int sweepSpeed(int value)
{
    return std::clamp(value, 1, 127);
}

int waveAmplitude(int value)
{
    return std::clamp(value, 0, WAVE_AMPLITUDE_MAX);
}

int waveDuty(int value)
{
    return std::clamp(value, WAVE_DUTY_MIN, WAVE_DUTY_MAX);
}

int waveOffset(int value)
{
    return lowByte(std::clamp(value, -WAVE_OFFSET_LIMIT, WAVE_OFFSET_LIMIT));
}

int waveConstantLevel(int value)
{
    return int16_t(uint16_t(value));
}

long long waveFrequency(long long value)
{
    return std::clamp(value, WAVE_FREQUENCY_MIN, WAVE_FREQUENCY_MAX);
}

int triggerPost(int samplesPerChannel, int triggerPosition)
{
    return samplesPerChannel - triggerPosition;
}

int lowByte(int value)
{
    return value & 0xFF;
}

int autoTrigger(double seconds)
{
    return lowByte(int(std::lround(seconds / AUTO_TRIGGER_STEP_SECONDS)) - 1);
}

int bufferBlocks(int comboIndex, int maxBlocks)
{
    return std::clamp(comboIndex + 1, 1, maxBlocks);
}

QStringList bufferSizeTexts(int blocks)
{
    QStringList texts;
    for (int i = 1; i <= std::max(blocks, 1); ++i)
        texts.append(QString::number(i * BLOCK_SAMPLES));
    return texts;
}

} // namespace ConfigEncoding
