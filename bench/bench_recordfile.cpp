// Playing a large record through the window, without an instrument: the
// time to the first played frame (the first pass over the file included),
// the frames played per second against the pace of one per 4 ms tick, and
// the peak resident memory against the file's size. Then the reader alone:
// how long a frame's text takes to read.
// Run by hand, offscreen or on a display of its own:
//   QT_QPA_PLATFORM=offscreen bench_recordfile [MiB, default 1024] [samples per trace, default 1280]

#include "common.h"
#include "veskinterface.h"

#include "benchwindow.h"
#include "processstatus.h"
#include "recordreader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

// Frames as the program records them, both channels and the logic bits on,
// at the fastest time base, so that each lasts less than a tick.
bool writeRecord(const QString &path, qint64 bytes, int samples, int *frames)
{
    WaveText::Frame frame;
    for (int trace = 0; trace < WaveText::traceCount; ++trace) {
        for (int i = 0; i < samples; ++i)
            frame.traces[size_t(trace)].append(trace < 2 ? 640 + 300.123 * ((i * 37 + trace) % 97) / 97.0
                                                         : 100 + 20 * trace + 12 * (i % 2));
    }
    const QByteArray block = WaveText::recordBlock(0, frame).toUtf8();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (*frames = 0; file.size() < bytes; ++*frames) {
        if (file.write(block) != block.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    FreshSettingsStore store;
    QApplication app(argc, argv);
    applyApplicationIdentity();
    keepOnlyCriticalMessages();
    const qint64 mib = argc > 1 ? qMax(1LL, std::atoll(argv[1])) : 1024;
    const int samples = argc > 2 ? qMax(1, std::atoi(argv[2])) : 1280;

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("record.vsp"));
    int written = 0;
    if (!writeRecord(path, mib << 20, samples, &written)) {
        std::fprintf(stderr, "bench_recordfile: cannot write %s\n", qPrintable(path));
        return 1;
    }
    const qint64 size = QFileInfo(path).size();
    std::printf("record of %.1f MiB: %d frames of %d samples per trace\n", size / 1048576.0, written, samples);

    VeskInterface w;
    w.show();
    runEventLoop(500);
    const long before = processStatusKiB("VmRSS");

    QElapsedTimer timer;
    timer.start();
    w.wavePlay(path);
    while (w.playReader && w.playReader->framesRead() == 0)
        app.processEvents(QEventLoop::AllEvents);
    const qint64 firstMs = timer.elapsed();
    int played = 0;
    while (w.playActive) {
        played = w.playReader->framesRead();
        app.processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    const qint64 playMs = timer.elapsed() - firstMs;
    const long peak = processStatusKiB("VmHWM");
    std::printf("window: first frame after %lld ms; %d frames in %.1f s, %.1f frames/s (one per tick: 250/s); "
                "resident %.1f MiB before, peak %.1f MiB (%.3f x the file)\n",
                static_cast<long long>(firstMs), played, playMs / 1000.0, played * 1000.0 / qMax<qint64>(playMs, 1),
                before / 1024.0, peak / 1024.0, peak * 1024.0 / size);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    RecordReader reader(&file);
    WaveText::RecordedFrame frame;
    timer.restart();
    while (reader.next(&frame)) {
    }
    const qint64 readMs = timer.elapsed();
    std::printf("reader alone: %d frames in %lld ms, %.1f frames/s, %.0f MiB/s, %.1f KiB buffered%s%s\n",
                reader.framesRead(), static_cast<long long>(readMs),
                reader.framesRead() * 1000.0 / qMax<qint64>(readMs, 1), size / 1048576.0 * 1000.0 / qMax<qint64>(readMs, 1),
                reader.bufferedBytes() / 1024.0, reader.error().isEmpty() ? "" : ", ", qPrintable(reader.error()));
    return 0;
}
