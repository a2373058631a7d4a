#include "framemeasurement.h"

#include "scopevalues.h"
#include "softwaremeasurement.h"

#include <limits>

namespace FrameMeasurement {
namespace {

void measureSamples(const unsigned char *block, int count, const unsigned char *frameRecord,
                    channela_t *record)
{
    const auto samples = reinterpret_cast<const signed char *>(block);
    mmzeros_t zeros{};
    record->period = SoftwareMeasurement::scopeGetMeasureFrequency(
        samples, static_cast<unsigned short>(count), record->min, record->max, &zeros);
    record->firstCrossing = zeros.first;
    record->secondCrossing = zeros.second;
    short average = 0;
    short rms = 0;
    SoftwareMeasurement::scopeGetAverRMS(samples, &zeros, &average, &rms);
    record->average = average;
    record->rms = rms;
    ScopeFrame::readRecordSettings(record, frameRecord);
}

} // namespace

void measure(const unsigned char *frame, bool measuredOnDevice, TraceBuilder::Traces *traces)
{
    if (!traces->valid)
        return;
    const std::size_t n = traces->sampleCount;
    const uint8_t mask = traces->header.channelMask;
    const unsigned char *ch1Record = frame + ScopeFrame::ch1RecordOffset(n, mask);
    const unsigned char *ch2Record = frame + ScopeFrame::ch2RecordOffset(n, mask);
    if (measuredOnDevice) {
        traces->ch1Record = ScopeFrame::readRecord(ch1Record);
        traces->ch2Record = ScopeFrame::readRecord(ch2Record);
        return;
    }
    if (traces->hasCh1)
        measureSamples(frame + ScopeFrame::ch1BlockOffset(), int(n), ch1Record, &traces->ch1Record);
    if (traces->hasCh2)
        measureSamples(frame + ScopeFrame::ch2BlockOffset(n, mask), int(n), ch2Record,
                       &traces->ch2Record);
}

Readings readings(const channela_t &record)
{
    using namespace ScopeValues;
    Readings values;
    values.vpp = int8ToVolt_f(record.gain, record.max, record.min);
    values.max = int8ToVolt_f(record.gain, record.max);
    values.min = int8ToVolt_f(record.gain, record.min);
    values.rms = int16ToVolt_f(record.gain, record.rms);
    values.average = int16ToVolt_f(record.gain, record.average);
    // A period with its top bit set is no measurement; read as a signed
    // number it would still convert to a plausible frequency.
    values.frequency = record.period <= 0 ? std::numeric_limits<double>::quiet_NaN()
                                          : samplex100ToFrequency_f(record.period, record.timeBase);
    return values;
}

} // namespace FrameMeasurement
