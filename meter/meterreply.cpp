#include "meterreply.h"

#include "scopevalues.h"

#include <limits>

namespace {

const double notANumber = std::numeric_limits<double>::quiet_NaN();

} // namespace

std::optional<MeterReply> MeterReply::parse(const unsigned char *bytes, int count)
{
    if (!bytes || count != size)
        return std::nullopt;
    MeterReply reply;
    reply.records[0] = ScopeFrame::readRecord(bytes);
    reply.records[1] = ScopeFrame::readRecord(bytes + ScopeFrame::recordSize);
    return reply;
}

const channela_t &MeterReply::record(int channel) const
{
    return records[channel == 0 ? 0 : 1];
}

FrameMeasurement::Readings MeterReply::acReadings(int channel) const
{
    return FrameMeasurement::readings(record(channel));
}

double MeterReply::dcVolts(int channel) const
{
    const channela_t &measured = record(channel);
    return ScopeValues::int16ToVolt_f(measured.gain, measured.average);
}

double MeterReply::counterValue() const
{
    return double(uint32_t(records[0].period));
}

MeterReply::PeriodReadings MeterReply::periodReadings() const
{
    const double ticks = counterValue();
    const double highTicks = double(uint32_t(records[1].period));
    PeriodReadings values;
    values.period = ticks / counterClockHz;
    if (ticks == 0) {
        values.dutyPercent = values.dutySeconds = values.frequency = notANumber;
        return values;
    }
    values.dutyPercent = highTicks * 100 / ticks;
    values.dutySeconds = highTicks / counterClockHz;
    values.frequency = counterClockHz / ticks;
    return values;
}

MeterReply::FrequencyReadings MeterReply::frequencyReadings() const
{
    const double hertz = counterValue();
    FrequencyReadings values;
    values.frequency = hertz;
    values.period = hertz == 0 ? notANumber : 1 / hertz;
    return values;
}
