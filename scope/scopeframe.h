#ifndef SCOPEFRAME_H
#define SCOPEFRAME_H

// Oscilloscope frame as the instrument sends it on the bulk IN endpoint:
//
//   offset            length  content
//   0                 10      frameconfig_t header
//   10                n       CH1 block (channelMask bit 0), signed 8-bit samples
//   10 + n*c1         n       CH2 block (bit 1), signed 8-bit samples
//   10 + n*(c1+c2)    n       logic block (bit 2), bit k = logic channel k
//   10 + g            18      channela_t of CH1
//   28 + g            18      channela_t of CH2
//   46 + g            2       unused
//
// n = samplesPerChannel, g = n * (number of blocks present). All multi-byte
// fields are little-endian. Plain C++ so that the simulated instrument can
// share it.

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

struct frameconfig_t
{
    uint8_t frameType;          // 'A'
    uint16_t frameNumber;       // changes with each acquisition
    uint8_t channelMask;        // blocks present: bit0 CH1, bit1 CH2, bit2 logic
    uint8_t analogMask;         // bit0 CH1, bit1 CH2 analog channel on
    uint16_t samplesPerChannel; // multiple of 256; high byte = number of blocks
    uint8_t timeBase;           // time/div index 0..21
    uint16_t startIndex;        // oldest sample when the blocks are rings (roll mode)
};

struct channela_t
{
    uint8_t control;         // channel control byte as applied by the device
    uint8_t gain;            // gain index 0..9 (10 = none)
    uint8_t spare;
    int8_t max;              // largest raw sample
    int8_t min;              // smallest raw sample
    int16_t rms;             // raw units x 128, over whole periods
    int16_t average;         // raw units x 128, over whole periods
    int32_t period;          // 1/100 samples, 0 = none; counter value in counter modes
    uint16_t firstCrossing;  // sample index
    uint16_t secondCrossing; // sample index one period later
    uint8_t timeBase;        // time/div index when measured
};

#pragma pack(pop)

static_assert(sizeof(frameconfig_t) == 10, "frameconfig_t is 10 bytes on the wire");
static_assert(sizeof(channela_t) == 18, "channela_t is 18 bytes on the wire");

namespace ScopeFrame {

constexpr uint8_t frameTag = 'A';

constexpr uint8_t maskCh1 = 0x01;
constexpr uint8_t maskCh2 = 0x02;
constexpr uint8_t maskLogic = 0x04;
constexpr uint8_t maskAllBlocks = maskCh1 | maskCh2 | maskLogic;

constexpr std::size_t headerSize = sizeof(frameconfig_t);
constexpr std::size_t recordSize = sizeof(channela_t);
constexpr std::size_t trailerSize = 2;
// Bytes of a frame besides its sample blocks: header, two records, trailer.
constexpr std::size_t overhead = headerSize + 2 * recordSize + trailerSize;
static_assert(overhead == 48, "a frame carries 48 bytes besides its samples");

constexpr std::size_t blockSamples = 256;
constexpr std::size_t maxBlocks = 15;
constexpr std::size_t maxSamplesPerChannel = blockSamples * maxBlocks;
constexpr std::size_t maxFrameSize = overhead + 3 * maxSamplesPerChannel;
static_assert(maxFrameSize == 11568, "largest frame: three blocks of 3840 samples");

// Size of the receive buffer and of the frame cache.
constexpr std::size_t bufferSize = 16384;
static_assert(maxFrameSize <= bufferSize, "every frame fits the frame cache");

constexpr std::size_t sampleOffset = headerSize;

// Number of sample blocks a channel mask announces (bits above 2 ignored).
constexpr int blockCount(uint8_t channelMask)
{
    return ((channelMask & maskCh1) ? 1 : 0) + ((channelMask & maskCh2) ? 1 : 0)
           + ((channelMask & maskLogic) ? 1 : 0);
}

constexpr std::size_t frameLength(std::size_t samplesPerChannel, uint8_t channelMask)
{
    return overhead + samplesPerChannel * blockCount(channelMask);
}

constexpr std::size_t ch1BlockOffset()
{
    return sampleOffset;
}

constexpr std::size_t ch2BlockOffset(std::size_t samplesPerChannel, uint8_t channelMask)
{
    return sampleOffset + ((channelMask & maskCh1) ? samplesPerChannel : 0);
}

constexpr std::size_t logicBlockOffset(std::size_t samplesPerChannel, uint8_t channelMask)
{
    return ch2BlockOffset(samplesPerChannel, channelMask)
           + ((channelMask & maskCh2) ? samplesPerChannel : 0);
}

constexpr std::size_t ch1RecordOffset(std::size_t samplesPerChannel, uint8_t channelMask)
{
    return sampleOffset + samplesPerChannel * blockCount(channelMask);
}

constexpr std::size_t ch2RecordOffset(std::size_t samplesPerChannel, uint8_t channelMask)
{
    return ch1RecordOffset(samplesPerChannel, channelMask) + recordSize;
}

namespace detail {
inline uint16_t readU16(const unsigned char *p)
{
    return uint16_t(p[0] | (p[1] << 8));
}
inline uint32_t readU32(const unsigned char *p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline void writeU16(unsigned char *p, uint16_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void writeU32(unsigned char *p, uint32_t v)
{
    writeU16(p, uint16_t(v));
    writeU16(p + 2, uint16_t(v >> 16));
}
} // namespace detail

// Field-by-field little-endian conversion, independent of the host's byte order.
inline frameconfig_t readHeader(const unsigned char *bytes)
{
    frameconfig_t h;
    h.frameType = bytes[0];
    h.frameNumber = detail::readU16(bytes + 1);
    h.channelMask = bytes[3];
    h.analogMask = bytes[4];
    h.samplesPerChannel = detail::readU16(bytes + 5);
    h.timeBase = bytes[7];
    h.startIndex = detail::readU16(bytes + 8);
    return h;
}

inline void writeHeader(const frameconfig_t &header, unsigned char *bytes)
{
    bytes[0] = header.frameType;
    detail::writeU16(bytes + 1, header.frameNumber);
    bytes[3] = header.channelMask;
    bytes[4] = header.analogMask;
    detail::writeU16(bytes + 5, header.samplesPerChannel);
    bytes[7] = header.timeBase;
    detail::writeU16(bytes + 8, header.startIndex);
}

inline channela_t readRecord(const unsigned char *bytes)
{
    channela_t r;
    r.control = bytes[0];
    r.gain = bytes[1];
    r.spare = bytes[2];
    r.max = int8_t(bytes[3]);
    r.min = int8_t(bytes[4]);
    r.rms = int16_t(detail::readU16(bytes + 5));
    r.average = int16_t(detail::readU16(bytes + 7));
    r.period = int32_t(detail::readU32(bytes + 9));
    r.firstCrossing = detail::readU16(bytes + 13);
    r.secondCrossing = detail::readU16(bytes + 15);
    r.timeBase = bytes[17];
    return r;
}

inline void writeRecord(const channela_t &record, unsigned char *bytes)
{
    bytes[0] = record.control;
    bytes[1] = record.gain;
    bytes[2] = record.spare;
    bytes[3] = uint8_t(record.max);
    bytes[4] = uint8_t(record.min);
    detail::writeU16(bytes + 5, uint16_t(record.rms));
    detail::writeU16(bytes + 7, uint16_t(record.average));
    detail::writeU32(bytes + 9, uint32_t(record.period));
    detail::writeU16(bytes + 13, record.firstCrossing);
    detail::writeU16(bytes + 15, record.secondCrossing);
    bytes[17] = record.timeBase;
}

// Copies only the settings fields (control, gain, spare, timeBase); the
// measured fields of the record keep their values.
inline void readRecordSettings(channela_t *record, const unsigned char *bytes)
{
    record->control = bytes[0];
    record->gain = bytes[1];
    record->spare = bytes[2];
    record->timeBase = bytes[17];
}

// The record a frame's processing starts from, and the meter's reset value.
inline channela_t defaultRecord()
{
    channela_t r{};
    r.max = 100;
    r.min = -100;
    r.firstCrossing = 64;
    r.secondCrossing = 128;
    r.timeBase = 1;
    return r;
}

} // namespace ScopeFrame

#endif // SCOPEFRAME_H
