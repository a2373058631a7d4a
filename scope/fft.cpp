#include "fft.h"

#include <cmath>
#include <utility>

bool CFFT::validSize(unsigned N)
{
    return N != 0 && (N & (N - 1)) == 0;
}

bool CFFT::Forward(const complex *in, complex *out, unsigned N)
{
    if (!in || !out || !validSize(N))
        return false;
    Rearrange(in, out, N);
    Perform(out, N, false);
    return true;
}

bool CFFT::Forward(complex *data, unsigned N)
{
    if (!data || !validSize(N))
        return false;
    Rearrange(data, N);
    Perform(data, N, false);
    return true;
}

bool CFFT::Inverse(const complex *in, complex *out, unsigned N, bool scale)
{
    if (!in || !out || !validSize(N))
        return false;
    Rearrange(in, out, N);
    Perform(out, N, true);
    if (scale)
        Scale(out, N);
    return true;
}

bool CFFT::Inverse(complex *data, unsigned N, bool scale)
{
    if (!data || !validSize(N))
        return false;
    Rearrange(data, N);
    Perform(data, N, true);
    if (scale)
        Scale(data, N);
    return true;
}

void CFFT::Rearrange(const complex *in, complex *out, unsigned N)
{
    // The reversed index advances by a carry that runs from the top bit down.
    unsigned target = 0;
    for (unsigned position = 0; position < N; ++position) {
        out[target] = in[position];
        unsigned mask = N;
        while (target & (mask >>= 1))
            target &= ~mask;
        target |= mask;
    }
}

void CFFT::Rearrange(complex *data, unsigned N)
{
    unsigned target = 0;
    for (unsigned position = 0; position < N; ++position) {
        if (target > position)
            std::swap(data[target], data[position]);
        unsigned mask = N;
        while (target & (mask >>= 1))
            target &= ~mask;
        target |= mask;
    }
}

void CFFT::Perform(complex *data, unsigned N, bool inverse)
{
    const double pi = inverse ? M_PI : -M_PI;
    for (unsigned step = 1; step < N; step <<= 1) {
        const unsigned jump = step << 1;
        const double delta = pi / double(step);
        // Twiddle factors by recurrence: two sines per pass instead of one
        // sine and cosine per butterfly.
        const double sine = std::sin(delta * 0.5);
        const complex multiplier(-2.0 * sine * sine, std::sin(delta));
        complex factor(1.0, 0.0);
        for (unsigned group = 0; group < step; ++group) {
            for (unsigned pair = group; pair < N; pair += jump) {
                const unsigned match = pair + step;
                const complex product = factor * data[match];
                data[match] = data[pair] - product;
                data[pair] = data[pair] + product;
            }
            factor = factor + multiplier * factor;
        }
    }
}

void CFFT::Scale(complex *data, unsigned N)
{
    if (N == 0)
        return;
    const double factor = 1.0 / N;
    for (unsigned position = 0; position < N; ++position)
        data[position] *= factor;
}
