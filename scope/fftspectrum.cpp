#include "fftspectrum.h"

#include "complex.h"
#include "fft.h"

#include <cmath>

namespace Spectrum {
namespace {

// Both parts of a bin get the weighted sample, as the plot has always shown it.
QVector<complex> weighted(const signed char *samples, int usable, const QVector<double> &weights)
{
    QVector<complex> work(transformSize);
    for (int i = 0; i < usable; ++i) {
        const double value = weights[i] * samples[i];
        work[i] = complex(value, value);
    }
    return work;
}

QVector<double> magnitudes(const QVector<complex> &bins, int first, bool logarithmic)
{
    QVector<double> values(binCount);
    for (int j = 0; j < binCount; ++j)
        values[j] = scaled(bins[(first + j) % transformSize].abs(), logarithmic);
    return values;
}

} // namespace

double scaled(double magnitude, bool logarithmic)
{
    if (!logarithmic)
        return 0.05 * magnitude;
    return magnitude < 1 ? 0 : 16 * std::log2(magnitude);
}

Traces compute(const signed char *ch1Samples, const signed char *ch2Samples, int sampleCount,
               const QVector<double> &weights, const Settings &settings)
{
    Traces traces;
    traces.keys.resize(binCount);
    for (int j = 0; j < binCount; ++j)
        traces.keys[j] = 2 * j;

    const int usable = qMax(0, qMin(qMin(sampleCount, weights.size()), transformSize));
    if (settings.complexInput) {
        if (!ch1Samples)
            return traces;
        QVector<complex> work(transformSize);
        for (int i = 0; i < usable; ++i) {
            const double q = ch2Samples ? weights[i] * ch2Samples[i] : 0.0;
            work[i] = complex(weights[i] * ch1Samples[i], q);
        }
        CFFT::Forward(work.data(), transformSize);
        const int first =
            settings.ringStart > 0 && settings.ringStart < transformSize ? settings.ringStart : 0;
        traces.ch1 = magnitudes(work, first, settings.logarithmic);
        return traces;
    }
    if (settings.ch1 && ch1Samples) {
        QVector<complex> work = weighted(ch1Samples, usable, weights);
        CFFT::Forward(work.data(), transformSize);
        traces.ch1 = magnitudes(work, 0, settings.logarithmic);
    }
    if (settings.ch2 && ch2Samples) {
        QVector<complex> work = weighted(ch2Samples, usable, weights);
        CFFT::Forward(work.data(), transformSize);
        traces.ch2 = magnitudes(work, 0, settings.logarithmic);
    }
    return traces;
}

} // namespace Spectrum
