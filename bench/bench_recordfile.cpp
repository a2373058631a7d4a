// Reading a large record file as playback does: the file's bytes, its text,
// then the frames. Prints the time and the peak resident memory against the
// file's size.
// Run by hand: bench_recordfile [MiB, default 64]

#include "processstatus.h"
#include "wavetext.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

// Frames as the program records them: both channels of 1280 samples, the
// logic bits on, six significant digits.
QByteArray recordOf(qint64 bytes)
{
    WaveText::Frame frame;
    for (int trace = 0; trace < WaveText::traceCount; ++trace) {
        for (int i = 0; i < 1280; ++i)
            frame.traces[size_t(trace)].append(trace < 2 ? 640 + 300.123 * ((i * 37 + trace) % 97) / 97.0 : i % 2);
    }
    const QByteArray block = WaveText::recordBlock(7, frame).toUtf8();
    QByteArray record;
    record.reserve(int(bytes + block.size()));
    while (record.size() < bytes)
        record.append(block);
    return record;
}

} // namespace

int main(int argc, char *argv[])
{
    const qint64 mib = argc > 1 ? std::atoll(argv[1]) : 64;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("record.vsp"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(recordOf(mib << 20)) < 0)
            return 1;
    }
    const long before = processStatusKiB("VmHWM");
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const qint64 size = file.size();
    QString text;
    {
        const QByteArray bytes = file.readAll();
        text = QString::fromUtf8(bytes);
    }
    QString error;
    const QList<WaveText::RecordedFrame> frames = WaveText::parseRecordFile(text, &error);
    const qint64 ms = timer.elapsed();
    const long peak = processStatusKiB("VmHWM");
    std::printf("record of %.1f MiB: %d frames in %lld ms, peak resident %.1f MiB (%.1f x the file; %.1f MiB before)%s%s\n",
                size / 1048576.0, int(frames.size()), static_cast<long long>(ms), peak / 1024.0,
                peak * 1024.0 / size, before / 1024.0, error.isEmpty() ? "" : ", ", qPrintable(error));
    return 0;
}
