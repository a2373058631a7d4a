// The meter's reply: every page's readings of a reply of the right size.
#include "fuzzinput.h"

#include "meterreply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::optional<MeterReply> reply = MeterReply::parse(data, size > 1 << 20 ? -1 : int(size));
    if (!reply)
        return 0;
    for (int channel = 0; channel < 2; ++channel) {
        reply->acReadings(channel);
        reply->dcVolts(channel);
    }
    reply->counterValue();
    reply->periodReadings();
    reply->frequencyReadings();
    return 0;
}
