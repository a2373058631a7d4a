// Scope frames from the instrument: the frame check, then the traces and
// measurements the plot would draw from an accepted frame.
#include "fuzzinput.h"

#include "framemeasurement.h"
#include "scopeframecheck.h"
#include "tracebuilder.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The receive path copies at most its buffer into the frame cache.
    static unsigned char cache[ScopeFrame::bufferSize];
    const int count = int(size < sizeof cache ? size : sizeof cache);
    const ScopeFrameCheck::Result result = ScopeFrameCheck::check(data, count, count);
    if (result.verdict != ScopeFrameCheck::Verdict::Accepted)
        return 0;
    std::memset(cache, 0, sizeof cache);
    std::memcpy(cache, data, size_t(count));
    for (const bool special : {false, true}) {
        TraceBuilder::Settings settings;
        settings.rollMode = special;
        settings.xyMode = special;
        TraceBuilder::Traces traces;
        if (TraceBuilder::build(cache, int(sizeof cache), settings, &traces))
            FrameMeasurement::measure(cache, special, &traces);
    }
    return 0;
}
