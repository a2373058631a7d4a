#ifndef FFT_H
#define FFT_H

#include "complex.h"

// Radix-2 decimation-in-time FFT. The public transforms return false and
// leave the data alone for a null pointer or a size that is not a power of
// two (0 included). The forward transform is unscaled; the inverse divides
// by N only on request.
class CFFT
{
public:
    static bool Forward(const complex *in, complex *out, unsigned N);
    static bool Forward(complex *data, unsigned N);
    static bool Inverse(const complex *in, complex *out, unsigned N, bool scale = true);
    static bool Inverse(complex *data, unsigned N, bool scale = true);

    // Steps of the transforms, without argument checks.
    static void Rearrange(const complex *in, complex *out, unsigned N);
    static void Rearrange(complex *data, unsigned N);
    static void Perform(complex *data, unsigned N, bool inverse = false);
    static void Scale(complex *data, unsigned N);

private:
    static bool validSize(unsigned N);
};

#endif // FFT_H
