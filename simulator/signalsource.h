#ifndef SIGNALSOURCE_H
#define SIGNALSOURCE_H

// The signals the simulated instrument measures: CH1 is the generator's
// output looped back, CH2 a fixed 1 kHz sine of 1 V amplitude, and the eight
// logic inputs count up once per sample period. Pure functions of time and
// of the configuration.

#include "instrumentconfig.h"

#include <cstdint>
#include <vector>

class SignalSource
{
public:
    SignalSource(const InstrumentConfig &config, const std::vector<int16_t> &customWave);

    static double secondsPerDivision(int timeBase);
    static double voltsPerDivision(int gain);
    static constexpr int samplesPerDivision = 16;
    static double samplePeriod(int timeBase) { return secondsPerDivision(timeBase) / samplesPerDivision; }
    static constexpr double rawPerDivision = 40.96;
    static constexpr double counterClockHz = 32e6;
    static constexpr double ch2FrequencyHz = 1000.0;
    static constexpr double ch2AmplitudeVolts = 1.0;

    // The frequency the generator really produces, in 0.01 Hz: the request
    // rounded to what a 32 MHz clock divided by an integer gives for the
    // configured buffer length.
    uint32_t generatorFrequencyCentiHz() const;
    // Generator output frequency in Hz; 0 when it is off or not periodic.
    double ch1FrequencyHz() const;
    // Fraction of a period the generator output stays above its middle.
    double ch1DutyFraction() const;

    double ch1Volts(double t) const;
    double ch2Volts(double t) const;
    double volts(int channel, double t) const { return channel == 0 ? ch1Volts(t) : ch2Volts(t); }
    uint8_t logicByte(int64_t sampleIndex) const;

    // The channel's raw 8-bit sample at time t, at its gain, with AC coupling
    // (the generator's DC part removed) and invert applied.
    int8_t sampleAt(int channel, double t) const;

private:
    double waveShape(double phase) const;
    double ch1DcVolts() const;
    double noise(double t) const;

    const InstrumentConfig &m_config;
    const std::vector<int16_t> &m_customWave;
};

#endif // SIGNALSOURCE_H
