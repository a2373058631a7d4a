// Frames per second that reach a display through the USB transport's
// hand-off, against the rate the instrument offers, with the CPU time of
// both sides. Runs against the simulated instrument, started by its launcher:
//
//   vesk-sim [--unpaced] -- bench_receive [--seconds N] [--timebase T ...]
//
// The reader is a 4 ms timer as in the window; it takes a frame when the
// flag is up and the count is a frame's, then clears the flag. The offered
// rate comes from the frame numbers; frames the reader never saw were
// merged into later ones. ticks/s is how often the reader's timer really ran.
#include "libusbdevice.h"
#include "protocol.h"
#include "scopeframe.h"
#include "timebaseruns.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU time of the launcher that runs the simulated instrument (our parent),
// or -1 when it cannot be read.
double simulatorCpuSeconds()
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(getppid()));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command name in parentheses; utime and stime are the 14th and 15th.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return (fields.at(11).toDouble() + fields.at(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

struct Result
{
    int timeBase = 0;
    double seconds = 0;
    int taken = 0;
    int ticks = 0;
    long offered = 0;
    double readerCpu = 0;
    double simulatorCpu = 0;
};

Result measure(LibUsbDevice &device, int timeBase, int seconds)
{
    device.controlWriteTransfer(REQ_RUN_CONTROL, RUN_SCOPE_STOP, 0);
    device.controlWriteTransfer(REQ_SET_CONFIG, CFG_SAMPLING_RATE, ushort(timeBase));
    device.controlWriteTransfer(REQ_RUN_CONTROL, RUN_SCOPE_START, 0);

    Result result;
    result.timeBase = timeBase;
    bool first = true;
    uint16_t lastNumber = 0;
    long span = 0;
    QTimer reader;
    QObject::connect(&reader, &QTimer::timeout, [&] {
        ++result.ticks;
        if (!device.dataReady || device.receivedCount < int(ScopeFrame::overhead)
            || device.receiveBuffer[0] != ScopeFrame::frameTag)
            return;
        unsigned char cache[ScopeFrame::bufferSize];
        std::memcpy(cache, device.receiveBuffer, size_t(device.receivedCount));
        device.dataReady = false;
        const uint16_t number = ScopeFrame::readHeader(cache).frameNumber;
        if (!first)
            span += uint16_t(number - lastNumber);
        first = false;
        lastNumber = number;
        ++result.taken;
    });

    // Let the first frame of the new time base arrive before counting.
    runEventLoop(300);
    device.dataReady = false;

    const double cpuBefore = processCpuSeconds();
    const double simBefore = simulatorCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    reader.start(4);
    runEventLoop(seconds * 1000);
    reader.stop();
    result.seconds = clock.elapsed() / 1000.0;
    result.readerCpu = processCpuSeconds() - cpuBefore;
    const double simAfter = simulatorCpuSeconds();
    result.simulatorCpu = simBefore < 0 || simAfter < 0 ? -1 : simAfter - simBefore;
    result.offered = result.taken > 0 ? span + 1 : 0;
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const TimeBaseRuns runs = TimeBaseRuns::fromArguments(app.arguments(), 3, {7, 5, 4, 3, 2, 0});
    if (qEnvironmentVariableIsEmpty("UMOCKDEV_DIR"))
        std::fprintf(stderr, "bench_receive: no simulated instrument; run it as: vesk-sim -- bench_receive\n");

    // Quiet the transport's per-transfer lines; the figures are the output.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type >= QtWarningMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });

    LibUsbDevice device;
    device.initializeDevice();
    device.openDevice();
    if (!device.connected) {
        std::fprintf(stderr, "bench_receive: instrument not found\n");
        return 1;
    }
    device.asyncBulkReadTransfer();

    std::printf("%-9s %8s %10s %10s %8s %10s %12s %12s\n", "timebase", "seconds", "offered/s", "taken/s", "merged",
                "ticks/s", "reader CPU%", "sim CPU%");
    for (int timeBase : runs.timeBases) {
        const Result r = measure(device, timeBase, runs.seconds);
        const double merged = r.offered > 0 ? 100.0 * double(r.offered - r.taken) / double(r.offered) : 0;
        std::printf("%-9d %8.2f %10.1f %10.1f %7.1f%% %10.1f %11.1f%% %11.1f%%\n", r.timeBase, r.seconds,
                    double(r.offered) / r.seconds, double(r.taken) / r.seconds, merged, double(r.ticks) / r.seconds,
                    100.0 * r.readerCpu / r.seconds, r.simulatorCpu < 0 ? -1.0 : 100.0 * r.simulatorCpu / r.seconds);
        std::fflush(stdout);
    }
    device.controlWriteTransfer(REQ_RUN_CONTROL, RUN_SCOPE_STOP, 0);
    device.closeDevice();
    device.reset();
    return 0;
}
