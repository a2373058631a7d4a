#include "scopeframecheck.h"

#include <QtGlobal>

namespace ScopeFrameCheck {

int adcBlocks(int adcBufferIndex)
{
    return qBound(1, adcBufferIndex + 1, int(ScopeFrame::maxBlocks));
}

int expectedLength(bool ch1Trace, bool ch2Trace, bool logicTrace, int adcBufferIndex)
{
    const int traces = int(ch1Trace) + int(ch2Trace) + int(logicTrace);
    return int(ScopeFrame::overhead)
           + traces * adcBlocks(adcBufferIndex) * int(ScopeFrame::blockSamples);
}

frameconfig_t emptyHeader(bool ch1Trace, bool ch2Trace, bool logicTrace, int adcBufferIndex,
                          int timeBase)
{
    frameconfig_t header{};
    header.frameType = ScopeFrame::frameTag;
    header.channelMask = uint8_t((ch1Trace ? ScopeFrame::maskCh1 : 0)
                                 | (ch2Trace ? ScopeFrame::maskCh2 : 0)
                                 | (logicTrace ? ScopeFrame::maskLogic : 0));
    header.analogMask = header.channelMask & (ScopeFrame::maskCh1 | ScopeFrame::maskCh2);
    header.samplesPerChannel = uint16_t(adcBlocks(adcBufferIndex) * ScopeFrame::blockSamples);
    header.timeBase = uint8_t(qBound(0, timeBase, 255));
    return header;
}

bool layoutValid(const frameconfig_t &header)
{
    const std::size_t n = header.samplesPerChannel;
    if (n < ScopeFrame::blockSamples || n > ScopeFrame::maxSamplesPerChannel
        || n % ScopeFrame::blockSamples != 0)
        return false;
    if (header.channelMask & ~ScopeFrame::maskAllBlocks)
        return false;
    return header.startIndex < n;
}

bool headerFits(const frameconfig_t &header, int count)
{
    return layoutValid(header) && count >= 0
           && std::size_t(count) == ScopeFrame::frameLength(header.samplesPerChannel, header.channelMask);
}

Result check(const unsigned char *bytes, int count, int expected)
{
    Result result;
    if (count != expected || count < int(ScopeFrame::overhead)) {
        result.verdict = Verdict::LengthMismatch;
        return result;
    }
    if (bytes[0] != ScopeFrame::frameTag) {
        result.verdict = Verdict::InvalidTag;
        result.message = QStringLiteral("Scope data: Invalide header");
        return result;
    }
    const frameconfig_t header = ScopeFrame::readHeader(bytes);
    if (!headerFits(header, count)) {
        result.verdict = Verdict::InconsistentHeader;
        result.message = QStringLiteral("Scope data: frame dropped, header does not match its "
                                        "%1 bytes (samples %2, channels 0x%3, start %4)")
                             .arg(count)
                             .arg(header.samplesPerChannel)
                             .arg(header.channelMask, 2, 16, QLatin1Char('0'))
                             .arg(header.startIndex);
        return result;
    }
    result.verdict = Verdict::Accepted;
    return result;
}

} // namespace ScopeFrameCheck
