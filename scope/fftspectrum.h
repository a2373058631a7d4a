#ifndef FFTSPECTRUM_H
#define FFTSPECTRUM_H

#include <QVector>

// Magnitude spectrum of the first 256 weighted samples of a frame, as the
// plot draws it: 128 bins at x = 0, 2, .. 254.
namespace Spectrum {

constexpr int transformSize = 256;
constexpr int binCount = transformSize / 2;

struct Settings
{
    bool complexInput = false; // CH1 + j CH2 in one transform ("IQ")
    bool ch1 = true;
    bool ch2 = true;
    bool logarithmic = false;  // 16 x log2 of the magnitude, else 0.05 x magnitude
    int ringStart = 0;         // first bin shown in complex mode (roll mode ring start)
};

struct Traces
{
    QVector<double> keys;
    QVector<double> ch1; // empty when not shown or CH1 absent
    QVector<double> ch2; // empty when not shown or CH2 absent (always in complex mode)
};

// Drawn height of a bin magnitude. In the logarithmic scale magnitudes below
// 1 are drawn at 0, so an empty bin never yields minus infinity.
double scaled(double magnitude, bool logarithmic);

// ch1Samples / ch2Samples: the channels' sample blocks (null when absent),
// `sampleCount` samples each; `weights` one window weight per sample.
Traces compute(const signed char *ch1Samples, const signed char *ch2Samples, int sampleCount,
               const QVector<double> &weights, const Settings &settings);

} // namespace Spectrum

#endif // FFTSPECTRUM_H
