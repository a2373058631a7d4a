#ifndef CONFIGENCODING_H
#define CONFIGENCODING_H

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

// The bit packing and limits of the configuration items, from control states
// to the values the instrument takes. The window reads its widgets into
// these records; everything here is pure.
namespace ConfigEncoding {

struct ChannelControls
{
    bool trace = false;
    bool acCoupling = false;
    bool invert = false;
    bool average = false;
    bool math = false;
    bool subtract = false;
    bool multiply = false;
};
uint8_t channelControls(const ChannelControls &controls);
uint8_t logicControls(bool trace, bool invert);
uint8_t logicBits(const std::array<bool, 8> &enabled);

struct TriggerButtons
{
    bool free = false;
    bool normal = false;
    bool single = false;
    bool automatic = false;
    bool risingEdge = false;
    bool fallingEdge = false;
    bool positiveSlope = false;
    bool negativeSlope = false;
    bool window = false;
};
uint8_t triggerControls(const TriggerButtons &buttons);

// Counter input and gate: the logic bits 0..7, EXT and Schmitt buttons in
// that order; the first checked one decides, `none` when none is.
int sourceCode(const std::array<bool, 10> &checked, int none);
constexpr int counterInputWhenNone = 10;
constexpr int gateSourceWhenNone = 0;

uint8_t mixedControls(bool roll, bool elastic, bool snifferSingle, bool meterOnDevice, bool customWaveUploading);
uint8_t meterFrequencyControl(bool fastMode, bool gatePeriod);

struct SnifferOptions
{
    int parityIndex = 0;   // None, Even, Odd
    int stopBitsIndex = 0; // 1, 2
    bool synchro = false;
    bool parallelInvert = false;
    int ssInvertIndex = 0; // Normal, Invert
    int cpolIndex = 0;
    int cphaIndex = 0;
};
uint8_t snifferOptions(const SnifferOptions &options);
uint8_t snifferUsart(int baudIndex, int dataBitsIndex);

struct SweepButtons
{
    bool falling = false;
    bool pingPong = false;
    bool enabled = false; // the sweep panel's check box
    bool frequency = false;
    bool amplitude = false;
    bool offset = false;
    bool dutyCycle = false;
};
uint8_t sweepControls(const SweepButtons &buttons);

struct WaveChoice
{
    int code;
    QString name;
};
// Buttons in test order: constant, custom, exponential, triangle, square,
// sine, pink noise, white noise.
WaveChoice waveType(const std::array<bool, 8> &checked);

int sweepSpeed(int value);
int waveAmplitude(int value);
int waveDuty(int value);
int waveOffset(int value);
int waveConstantLevel(int value);
long long waveFrequency(long long value);
int triggerPost(int samplesPerChannel, int triggerPosition);
int lowByte(int value);

// Auto-trigger time-out in steps of 0.04096 s, less one, as a byte. The
// spin box's decimal steps sit a hair either side of whole steps, so the
// quotient is rounded rather than cut.
int autoTrigger(double seconds);
// Buffer length in 256-sample blocks for a buffer combo index (0 is one block).
int bufferBlocks(int comboIndex, int maxBlocks);
// Items of a buffer combo offering 1..blocks blocks ("256", "512", ...);
// fewer than one block counts as one.
QStringList bufferSizeTexts(int blocks);

} // namespace ConfigEncoding

#endif // CONFIGENCODING_H
