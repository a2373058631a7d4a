// Time of the per-frame processing without the window: acceptance, copy into
// the cache, trace building, measurements, spectrum and the fading history.
// Infinite persistence paints on the plot: bench_scopereplot measures it.
// Run by hand: bench_frameprocessing [frames] [case number]

#include "fftwindow.h"
#include "framehistory.h"
#include "framemeasurement.h"
#include "scopeframecheck.h"
#include "fftspectrum.h"
#include "tracebuilder.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Case
{
    const char *name;
    bool ch1, ch2, logic;
    int adcIndex;
    bool measuredOnDevice;
    bool spectrum;
    int decay;
};

QByteArray makeFrame(const Case &c, int frameNumber)
{
    const int length = ScopeFrameCheck::expectedLength(c.ch1, c.ch2, c.logic, c.adcIndex);
    QByteArray bytes(length, '\0');
    auto *data = reinterpret_cast<unsigned char *>(bytes.data());
    frameconfig_t header = ScopeFrameCheck::emptyHeader(c.ch1, c.ch2, c.logic, c.adcIndex, 7);
    header.frameNumber = uint16_t(frameNumber);
    ScopeFrame::writeHeader(header, data);
    const int n = header.samplesPerChannel;
    QRandomGenerator noise(uint32_t(frameNumber) + 1);
    for (int i = 0; i < n; ++i) {
        const double phase = 2 * M_PI * (i + frameNumber) / 37.0;
        if (c.ch1)
            data[ScopeFrame::ch1BlockOffset() + i] =
                uint8_t(std::lround(90 * std::sin(phase)) + noise.bounded(-3, 4));
        if (c.ch2)
            data[ScopeFrame::ch2BlockOffset(n, header.channelMask) + i] =
                uint8_t(i % 64 < 32 ? 70 : -70);
        if (c.logic)
            data[ScopeFrame::logicBlockOffset(n, header.channelMask) + i] = uint8_t(i);
    }
    return bytes;
}

void run(const Case &c, int frames)
{
    // A few different frames, so the work is not one cached pattern.
    QVector<QByteArray> source;
    for (int f = 0; f < 16; ++f)
        source << makeFrame(c, f);

    unsigned char cache[ScopeFrame::bufferSize] = {};
    TraceBuilder::Settings settings;
    FftWindow window(FftWindow::Hann);
    FrameHistory ch1History, ch2History;
    TraceBuilder::Traces traces;
    const int expected = ScopeFrameCheck::expectedLength(c.ch1, c.ch2, c.logic, c.adcIndex);
    double checksum = 0;

    // Nanoseconds per stage: accept+copy, build, measure, spectrum, history.
    qint64 stage[5] = {};
    QElapsedTimer timer;
    timer.start();
    qint64 mark = 0;
    const auto lap = [&](int index) {
        const qint64 now = timer.nsecsElapsed();
        stage[index] += now - mark;
        mark = now;
    };
    // The first pass over the frames warms caches and tables; only the second is timed.
    for (int f = -source.size(); f < frames; ++f) {
        if (f == 0) {
            std::fill(std::begin(stage), std::end(stage), 0);
            timer.restart();
            mark = 0;
        }
        const QByteArray &frame = source[(f + source.size()) % source.size()];
        const auto *bytes = reinterpret_cast<const unsigned char *>(frame.constData());
        if (ScopeFrameCheck::check(bytes, frame.size(), expected).verdict
            != ScopeFrameCheck::Verdict::Accepted) {
            std::fprintf(stderr, "frame refused\n");
            std::exit(1);
        }
        std::memcpy(cache, bytes, std::size_t(frame.size()));
        lap(0);
        TraceBuilder::build(cache, int(sizeof cache), settings, &traces);
        lap(1);
        FrameMeasurement::measure(cache, c.measuredOnDevice, &traces);
        const auto readings1 = FrameMeasurement::readings(traces.ch1Record);
        const auto readings2 = FrameMeasurement::readings(traces.ch2Record);
        checksum += readings1.vpp + readings2.rms;
        lap(2);
        if (c.spectrum) {
            const std::size_t n = std::size_t(traces.sampleCount);
            const uint8_t mask = traces.header.channelMask;
            const auto *ch1 = traces.hasCh1 ? reinterpret_cast<const signed char *>(cache + ScopeFrame::ch1BlockOffset()) : nullptr;
            const auto *ch2 = traces.hasCh2 ? reinterpret_cast<const signed char *>(cache + ScopeFrame::ch2BlockOffset(n, mask)) : nullptr;
            const auto spectrum = Spectrum::compute(ch1, ch2, traces.sampleCount,
                                                    window.weights(std::min(traces.sampleCount, Spectrum::transformSize)), {});
            checksum += spectrum.ch1.value(3) + spectrum.ch2.value(3);
        }
        lap(3);
        ch1History.append(traces.ch1, c.decay);
        ch2History.append(traces.ch2, c.decay);
        lap(4);
    }
    const double total = double(timer.nsecsElapsed()) / 1000.0 / frames;
    const auto us = [&](int index) { return double(stage[index]) / 1000.0 / frames; };
    std::printf("%-56s %8.1f us/frame (accept %.1f, build %.1f, measure %.1f, spectrum %.1f, "
                "history %.1f; %d bytes, checksum %.0f)\n",
                c.name, total, us(0), us(1), us(2), us(3), us(4), expected, checksum);
}

} // namespace

int main(int argc, char *argv[])
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    const Case cases[] = {
        {"fresh store: CH1+CH2, 1 block, PC measurement", true, true, false, 0, false, false, 0},
        {"fresh store with spectrum and decay 8", true, true, false, 0, false, true, 8},
        {"CH1 only, 3 blocks, device measurement", true, false, false, 2, true, false, 0},
        {"heaviest: CH1+CH2+logic, 15 blocks, PC measurement, FFT", true, true, true, 14, false, true, 8},
    };
    const int only = argc > 2 ? std::atoi(argv[2]) : -1;
    int number = 0;
    for (const Case &c : cases) {
        if (only < 0 || only == number)
            run(c, frames);
        ++number;
    }
    return 0;
}
