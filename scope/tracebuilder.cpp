#include "tracebuilder.h"

#include "scopeframecheck.h"

namespace TraceBuilder {
namespace {

constexpr int logicHighOffset = 10;

struct AnalogTrace
{
    const signed char *samples = nullptr;
    double *values = nullptr;
    channela_t *record = nullptr;
    double *minY = nullptr;
    double *maxY = nullptr;
    double zeroLine = 0;

    void add(int k, int i) const
    {
        const signed char s = samples[i];
        const double y = s * plotUnitsPerRaw + zeroLine;
        values[k] = y;
        if (k == 0) {
            record->min = record->max = s;
            *minY = *maxY = y;
        } else if (s < record->min) {
            record->min = s;
            *minY = y;
        } else if (s > record->max) {
            record->max = s;
            *maxY = y;
        }
    }
};

} // namespace

int logicBaseLine(int bit, int logicSize, int logicPosition, int plotYRange)
{
    return bit * (logicSize + 20) + logicPosition + plotYRange / 2;
}

bool build(const unsigned char *frame, int size, const Settings &settings, Traces *traces)
{
    traces->valid = false;
    traces->header = frameconfig_t{};
    traces->sampleCount = 0;
    traces->ringStart = 0;
    traces->hasCh1 = traces->hasCh2 = traces->hasLogic = false;
    traces->ch1Record = traces->ch2Record = ScopeFrame::defaultRecord();
    traces->ch1MinY = traces->ch1MaxY = traces->ch2MinY = traces->ch2MaxY = 0;
    traces->keys.clear();
    traces->ch1.clear();
    traces->ch2.clear();
    for (int bit = 0; bit < logicChannels; ++bit) {
        traces->logicLevels[bit].clear();
        traces->logicBaselines[bit].clear();
    }
    if (!frame || size < int(ScopeFrame::headerSize))
        return false;

    const frameconfig_t header = ScopeFrame::readHeader(frame);
    const int n = header.samplesPerChannel;
    if (!ScopeFrameCheck::layoutValid(header)
        || ScopeFrame::frameLength(std::size_t(n), header.channelMask) > std::size_t(size))
        return false;

    traces->valid = true;
    traces->header = header;
    traces->sampleCount = n;
    traces->hasCh1 = header.channelMask & ScopeFrame::maskCh1;
    traces->hasCh2 = header.channelMask & ScopeFrame::maskCh2;
    traces->hasLogic = header.channelMask & ScopeFrame::maskLogic;
    traces->ringStart = settings.rollMode ? header.startIndex : 0;

    const auto block = [&](std::size_t offset) {
        return reinterpret_cast<const signed char *>(frame + offset);
    };
    const signed char *ch1Samples = traces->hasCh1 ? block(ScopeFrame::ch1BlockOffset()) : nullptr;
    const unsigned char *logicBytes =
        traces->hasLogic ? frame + ScopeFrame::logicBlockOffset(n, header.channelMask) : nullptr;

    const int centre = settings.plotYRange / 2;
    const signed char *ch2Samples =
        traces->hasCh2 ? block(ScopeFrame::ch2BlockOffset(n, header.channelMask)) : nullptr;
    const bool xyKeys = settings.xyMode;
    if (!xyKeys || ch1Samples)
        traces->keys.resize(n);
    if (ch1Samples)
        traces->ch1.resize(n);
    if (ch2Samples)
        traces->ch2.resize(n);
    // Raw pointers, taken once the vectors are sized and detached, keep the
    // loop free of per-element detach checks.
    double *keys = traces->keys.isEmpty() ? nullptr : traces->keys.data();
    AnalogTrace ch1{ch1Samples, ch1Samples ? traces->ch1.data() : nullptr, &traces->ch1Record,
                    &traces->ch1MinY, &traces->ch1MaxY, double(settings.ch1Position + centre)};
    AnalogTrace ch2{ch2Samples, ch2Samples ? traces->ch2.data() : nullptr, &traces->ch2Record,
                    &traces->ch2MinY, &traces->ch2MaxY, double(settings.ch2Position + centre)};

    double high[logicChannels];
    double base[logicChannels];
    double *levels[logicChannels];
    if (logicBytes) {
        for (int bit = 0; bit < logicChannels; ++bit) {
            const int line = logicBaseLine(bit, settings.logicSize, settings.logicPosition,
                                           settings.plotYRange);
            base[bit] = line;
            high[bit] = line + logicHighOffset + settings.logicSize;
            traces->logicLevels[bit].resize(n);
            levels[bit] = traces->logicLevels[bit].data();
            traces->logicBaselines[bit].fill(line - 1, n);
        }
    }

    int i = traces->ringStart;
    for (int k = 0; k < n; ++k, ++i) {
        if (i == n)
            i = 0;
        if (keys)
            keys[k] = xyKeys ? settings.xyZeroKey + ch1Samples[i] * settings.xyKeysPerRaw : 2 * k;
        if (ch1.samples)
            ch1.add(k, i);
        if (ch2.samples)
            ch2.add(k, i);
        if (logicBytes) {
            const unsigned char bits = logicBytes[i];
            for (int bit = 0; bit < logicChannels; ++bit)
                levels[bit][k] = (bits >> bit) & 1 ? high[bit] : base[bit];
        }
    }
    return true;
}

bool crossingCursorPositions(const channela_t &record, int ringStart, int sampleCount, int rangeMin,
                             int rangeMax, int *positionA, int *positionB)
{
    if (record.period == 0 || sampleCount <= 0)
        return false;
    const auto onScreen = [&](int crossing) {
        return ringStart > 0 ? (crossing - ringStart + sampleCount) % sampleCount : crossing;
    };
    int a = 2 * onScreen(record.firstCrossing);
    int b = 2 * onScreen(record.secondCrossing);
    const int low = qMin(a, b);
    const int high = qMax(a, b);
    if (high - low <= rangeMax - rangeMin) {
        const int shift = low < rangeMin ? rangeMin - low : high > rangeMax ? rangeMax - high : 0;
        a += shift;
        b += shift;
    }
    *positionA = a;
    *positionB = b;
    return true;
}

} // namespace TraceBuilder
