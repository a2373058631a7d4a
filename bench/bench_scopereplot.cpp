// Frames through the window's real processing and replot path: offscreen,
// 1280 x 800, dark theme, a fresh settings store. Prints frames per second
// and milliseconds per frame, split into the processing of a frame and its
// replot, for the fresh set-up and the heaviest set-up; then infinite
// persistence on a noisy signal at the fresh set-up and at the largest
// buffer: frames per second over the first and the last 10 s of the run and
// resident memory at both ends (the cost must stay flat over time).
// Run by hand: bench_scopereplot [seconds per case] [persistence seconds]

#include "common.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "processstatus.h"
#include "replotpacer.h"
#include "scopeframecheck.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// A frame for what the window's controls expect: a noisy sine on CH1, a
// square wave on CH2 and a counter on the logic lines, moving a little from
// frame to frame; with `noise`, random noise of that many raw units on both
// channels as well.
QByteArray makeFrame(const VeskInterface &w, int frameNumber, int noise = 0)
{
    QRandomGenerator random(quint32(frameNumber + 1));
    const auto jitter = [&] { return noise ? random.bounded(2 * noise + 1) - noise : 0; };
    const bool ch1 = w.ui->checkBoxCH1Trace->isChecked();
    const bool ch2 = w.ui->checkBoxCH2Trace->isChecked();
    const bool logic = w.ui->checkBoxCHDTrace->isChecked();
    const int adcIndex = w.ui->comboBoxADCBuffer->currentIndex();
    frameconfig_t header = ScopeFrameCheck::emptyHeader(ch1, ch2, logic, adcIndex,
                                                        w.ui->samplingSlider->value());
    header.frameNumber = uint16_t(frameNumber);
    const int n = header.samplesPerChannel;
    QByteArray bytes(ScopeFrameCheck::expectedLength(ch1, ch2, logic, adcIndex), '\0');
    auto *data = reinterpret_cast<unsigned char *>(bytes.data());
    ScopeFrame::writeHeader(header, data);
    for (int i = 0; i < n; ++i) {
        const double phase = 2 * M_PI * (i + 3 * frameNumber) / 97.0;
        if (ch1)
            data[ScopeFrame::ch1BlockOffset() + i] =
                uint8_t(std::lround(90 * std::sin(phase)) + (i * 7 + frameNumber) % 5 - 2 + jitter());
        if (ch2)
            data[ScopeFrame::ch2BlockOffset(n, header.channelMask) + i] =
                uint8_t((i + frameNumber) % 128 < 64 ? 70 + jitter() : -70 + jitter());
        if (logic)
            data[ScopeFrame::logicBlockOffset(n, header.channelMask) + i] = uint8_t((i + frameNumber) / 4);
    }
    return bytes;
}

struct Figures
{
    int frames = 0;
    int replots = 0;
    double seconds = 0;
    double processingMs = 0; // acceptance, copy and trace building, no replot
};

// Feeds frames for `seconds`, each one through the 4 ms tick's slot and the
// event loop that carries out its queued replot.
Figures run(VeskInterface &w, double seconds, int noise = 0)
{
    QVector<QByteArray> frames;
    for (int f = 0; f < (noise ? 64 : 16); ++f)
        frames << makeFrame(w, f, noise);
    Figures figures;
    QElapsedTimer clock;
    QElapsedTimer processing;
    qint64 processingNs = 0;
    const QMetaObject::Connection counter = QObject::connect(
        &w.replotPacer, &ReplotPacer::replotDue, [&figures] { ++figures.replots; });
    clock.start();
    while (clock.elapsed() < seconds * 1000) {
        const QByteArray &frame = frames[figures.frames % frames.size()];
        w.libUsbDevice.receiveBuffer = reinterpret_cast<const unsigned char *>(frame.constData());
        w.libUsbDevice.receivedCount = frame.size();
        w.libUsbDevice.dataReady = true;
        processing.start();
        QMetaObject::invokeMethod(&w, "dataShow", Qt::DirectConnection);
        processingNs += processing.nsecsElapsed();
        if (w.libUsbDevice.dataReady) {
            std::fprintf(stderr, "frame refused\n");
            std::exit(1);
        }
        QCoreApplication::processEvents();
        ++figures.frames;
    }
    figures.seconds = clock.elapsed() / 1000.0;
    QObject::disconnect(counter);
    figures.processingMs = processingNs / 1e6 / figures.frames;
    return figures;
}

void print(const char *name, const Figures &f)
{
    std::printf("%-58s %7.1f frames/s %7.2f ms/frame (processing %.3f ms, %d replots of %d frames)\n",
                name, f.frames / f.seconds, 1000 * f.seconds / f.frames, f.processingMs, f.replots,
                f.frames);
    std::fflush(stdout);
}

void useFullBuffer(VeskInterface &w)
{
    w.ui->checkBoxCH1Trace->setChecked(true);
    w.ui->checkBoxCH2Trace->setChecked(true);
    w.ui->checkBoxCHDTrace->setChecked(true);
    QComboBox *buffer = w.ui->comboBoxADCBuffer;
    const QSignalBlocker blocker(buffer);
    while (buffer->count() < 15)
        buffer->addItem(QString::number(256 * (buffer->count() + 1)));
    buffer->setCurrentIndex(14);
    for (bool &enabled : w.chdBitEnabled)
        enabled = true;
    w.ui->checkBoxFFTTrace->setChecked(true);
    w.ui->checkBoxFFTCH1->setChecked(true);
    w.ui->checkBoxFFTCH2->setChecked(true);
    w.ui->decaySlider->setValue(w.ui->decaySlider->maximum());
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir store;
    qputenv("XDG_CONFIG_HOME", store.path().toLocal8Bit());
    QApplication app(argc, argv);
    applyApplicationIdentity();
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5;
    const double persistenceSeconds = argc > 2 ? std::atof(argv[2]) : 120;

    VeskInterface w;
    w.resize(1280, 800);
    w.show();
    w.dataTimer.stop();
    w.mainMode = 0;
    QCoreApplication::processEvents();
    std::printf("plot %d x %d pixels in a %d x %d window\n", w.ui->plotterWidget->width(),
                w.ui->plotterWidget->height(), w.width(), w.height());

    print("fresh store set-up", run(w, seconds));

    useFullBuffer(w);
    w.ui->plotterWidget->xAxis->setRange(0, 2 * 3840);
    w.ui->plotterWidget->yAxis->setRange(0, 1280);
    print("heaviest: CH1+CH2+8 logic, 15 blocks, spectra, decay max", run(w, seconds));

    // Infinite persistence on a noisy signal, each set-up in a window of its own.
    for (const bool largest : {false, true}) {
        VeskInterface p;
        p.resize(1280, 800);
        p.show();
        p.dataTimer.stop();
        p.mainMode = 0;
        if (largest) {
            useFullBuffer(p);
            p.ui->plotterWidget->xAxis->setRange(0, 2 * 3840);
            p.ui->plotterWidget->yAxis->setRange(0, 1280);
        }
        p.ui->checkBoxPersistence->setChecked(true);
        QCoreApplication::processEvents();
        const char *setUp = largest ? "largest buffer" : "fresh set-up";
        const double edge = std::min(10.0, persistenceSeconds / 3);
        const long startKb = processStatusKiB("VmRSS");
        std::printf("persistence %s: %.0f s, resident %ld kB at the start\n", setUp, persistenceSeconds,
                    startKb);
        const Figures first = run(p, edge, 8);
        print("  first seconds", first);
        run(p, persistenceSeconds - 2 * edge, 8);
        const Figures last = run(p, edge, 8);
        print("  last seconds", last);
        std::printf("  last/first %.3f, resident %ld kB at the end (%+ld kB)\n",
                    (last.frames / last.seconds) / (first.frames / first.seconds), processStatusKiB("VmRSS"),
                    processStatusKiB("VmRSS") - startKb);
        std::fflush(stdout);
    }
    return 0;
}
