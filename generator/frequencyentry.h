#ifndef FREQUENCYENTRY_H
#define FREQUENCYENTRY_H

#include <QString>

// The generator frequency as the eight-digit editor and the logarithmic
// slider hold it: a count of 0.01 Hz. Everything here is pure.
namespace FrequencyEntry {

// What the eight digits can hold: 199999.99 Hz (the top digit goes to 1).
constexpr long long digitsMaximum = 19999999;

// The eight digit characters, 100 kHz first, of a value rounded half away
// from zero and held to 0..digitsMaximum (not a number: 0).
QString digitsText(double value);
// Frequency of a slider position, 10^(position/100), kept to three
// significant digits (below 1000 counts only cut to a whole count) and held
// to the limits the instrument takes.
double sliderFrequency(int position);
// Slider position of a value: trunc(100 log10(value)); a value at or below
// zero (or not finite) has no logarithm and gives `minimum`.
int sliderPosition(double value, int minimum);
// Header text of the frequency panel: hertz with two decimals, then "Hz ".
QString headerText(double value);

} // namespace FrequencyEntry

#endif // FREQUENCYENTRY_H
