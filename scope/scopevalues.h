#ifndef SCOPEVALUES_H
#define SCOPEVALUES_H

#include <QString>
#include <QStringList>

// The oscilloscope's caption tables and the conversions from raw units, time
// indexes and periods to volts, seconds and hertz. Every conversion parses
// the number and unit out of a caption, so the tables are the one place that
// gives the indexes their meaning.
namespace ScopeValues {

constexpr int timeBaseCount = 22;  // time/div indexes 0..21
constexpr int gainCount = 10;      // gain indexes 0..9
constexpr int gainNone = 10;       // "----"
constexpr int triggerModeCount = 7;

const QStringList &timeBaseTexts();   // 22 entries, "8µs/div" .. "50s/div"
const QStringList &gainTexts();       // 11 entries, "8V/div" .. "12.5mV/div", "----"
const QStringList &gainBoxTitles();   // 10 entries, "Gain (±24V)" ..
const QStringList &triggerIconsGreen();
const QStringList &triggerIconsRed();

// Caption of a time/div index, clamped to 0..21.
QString timeBaseText(int timeBase);

// Volts of `value` plot units under a volt/div caption (64 plot units per
// division); 0 when the caption carries no volt number.
double rawValueToVolt(double value, const QString &caption);
// The same as text with its unit ("mV" or "V"), four digits when digits > 3, else three.
QString pixelValueToVolt(double value, const QString &caption, int digits);

// Raw sample to volts at a gain index; 0 for gain 10 ("----") and unknown indexes.
double int8ToVolt_f(unsigned char gain, signed char s);
// Difference a - b of two raw samples in volts (peak-to-peak from max and min).
double int8ToVolt_f(unsigned char gain, signed char a, signed char b);
// Raw x 128 value (RMS, average) to volts.
double int16ToVolt_f(unsigned char gain, short v);
// Text forms: "--" for gain 10 and above.
QString int8ToVolt(unsigned char gain, signed char s);
QString int8ToVolt(unsigned char gain, signed char a, signed char b);
QString int16ToVolt(unsigned char gain, short v, int digits);

// Time between the plot x positions a and b (two plot units per sample,
// sixteen samples per division) in the unit of the time/div caption, as the
// four-digit read-out shows it; `unit` receives "µs", "ms" or "s".
double vCursorDeltaTime(int a, int b, QString *unit, int divisor, int timeBase);
// 1000 / t in the unit "kHz", "Hz" or "mHz" that matches the caption's time
// unit; not-a-number when t is 0.
double vCursorFrequency(double t, QString *unit, int timeBase);
// Frequency in Hz of a time t in the caption's unit; not-a-number when t is 0.
double deltaToFrequency(double t, int timeBase);

// Frequency in Hz of a period in 1/100 samples at a time/div index;
// not-a-number when the period is too short to measure (0 or 1).
double samplex100ToFrequency_f(int period, unsigned char timeBase);
// Text form with its unit; "--" when there is no period.
QString samplex100ToFrequency(int period, unsigned char timeBase);

// Seconds that `samples` samples span at a time/div index.
double samplesSeconds(int samples, int timeBase);

// Text of the sampling label: time/div caption and the time the buffer spans.
QString samplingRateText(int timeBase, int adcBufferIndex);

} // namespace ScopeValues

#endif // SCOPEVALUES_H
