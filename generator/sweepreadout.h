#ifndef SWEEPREADOUT_H
#define SWEEPREADOUT_H

#include <QString>

// What a raw sweep start or end position (0..255) means for the swept
// quantity, in the units the sweep panel shows. The instrument sweeps; the
// window only shows where.
class SweepReadout
{
public:
    enum class Quantity { Frequency, Amplitude, Offset, DutyCycle };

    static SweepReadout of(Quantity quantity, int position);

    double value = 0;
    int decimals = 0;
    QString unit;
};

#endif // SWEEPREADOUT_H
