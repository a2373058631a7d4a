#ifndef SCOPEFRAMECHECK_H
#define SCOPEFRAMECHECK_H

#include "scopeframe.h"

#include <QString>

// Decides whether a completed bulk read is an oscilloscope frame that may be
// copied into the frame cache. The processing lays a frame out by its header,
// so the header is checked against the byte count before anything reads by it.
namespace ScopeFrameCheck {

enum class Verdict {
    Accepted,
    LengthMismatch,    // not the length the controls expect: left pending, no message
    InvalidTag,        // right length, first byte not 'A'
    InconsistentHeader // header disagrees with the byte count: dropped
};

struct Result
{
    Verdict verdict = Verdict::LengthMismatch;
    QString message; // log line for InvalidTag and InconsistentHeader
};

// Sample blocks per channel the device is actually asked for by the ADC
// buffer combo index (1..15, the range the device accepts).
int adcBlocks(int adcBufferIndex);

// Frame length implied by the trace check boxes and the ADC buffer combo.
int expectedLength(bool ch1Trace, bool ch2Trace, bool logicTrace, int adcBufferIndex);

// Empty-frame header written into the cache before any frame arrives.
frameconfig_t emptyHeader(bool ch1Trace, bool ch2Trace, bool logicTrace, int adcBufferIndex,
                          int timeBase);

// True when the header describes a layout that can be read safely: 256..3840
// samples in whole blocks, only the three block bits, and a ring start
// inside the blocks.
bool layoutValid(const frameconfig_t &header);

// True when the layout is valid and makes a frame of exactly `count` bytes.
bool headerFits(const frameconfig_t &header, int count);

// The whole acceptance test of one read of `count` bytes.
Result check(const unsigned char *bytes, int count, int expected);

} // namespace ScopeFrameCheck

#endif // SCOPEFRAMECHECK_H
