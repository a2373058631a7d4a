// Custom wave CSV files for the generator.
#include "fuzzinput.h"

#include "customwavecsv.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const CustomWaveCsv wave = CustomWaveCsv::parse(QString::fromUtf8(reinterpret_cast<const char *>(data), int(size)));
    // The generator takes no more samples than its table holds.
    if (wave.samples.size() > CustomWaveCsv::maxSamples)
        std::abort();
    return 0;
}
