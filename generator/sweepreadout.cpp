#include "sweepreadout.h"

#include <algorithm>
#include <cmath>

SweepReadout SweepReadout::of(Quantity quantity, int position)
{
    const double v = position;
    SweepReadout readout;
    switch (quantity) {
    case Quantity::Frequency: {
        // 51 positions per decade: 0 is 1 Hz, 255 is 100 kHz.
        const double hertz = std::pow(10.0, v / 51);
        if (hertz < 1000) {
            readout.value = std::round(hertz);
            readout.unit = QStringLiteral("Hz");
        } else {
            // Whole kilohertz, shown with one decimal place.
            readout.value = std::round(hertz / 1000);
            readout.decimals = 1;
            readout.unit = QStringLiteral("kHz");
        }
        break;
    }
    case Quantity::Amplitude:
        readout.value = v * 0.5018 / 56;
        readout.decimals = 2;
        readout.unit = QStringLiteral("V");
        break;
    case Quantity::Offset:
        readout.value = (v - 127.5) * 0.5017 / 28;
        readout.decimals = 2;
        readout.unit = QStringLiteral("V");
        break;
    case Quantity::DutyCycle:
        readout.value = std::max(1.0, v * 100 / 255);
        readout.decimals = 1;
        readout.unit = QStringLiteral("%");
        break;
    }
    return readout;
}
