// The program's resident memory over a long stream: the window as the
// program makes it, at the set-up of a fresh settings store, on a real
// (virtual) X display, streaming from the simulated instrument; VmRSS from
// /proc once a minute. A steady stream should keep nothing: the goal is a
// flat line, the last minute within 5 % of the second (the first still
// fills caches). Run it in a folder holding the files of data/, on a display
// of its own:
//
//   Xvfb :N -screen 0 1600x1000x24 &
//   DISPLAY=:N vesk-sim -- bench_memory [--minutes 10]
#include "common.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "benchwindow.h"
#include "processstatus.h"
#include "scopeframe.h"
#include "timebaseruns.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace {

int minutesFromArguments(const QStringList &args)
{
    const int at = args.indexOf(QStringLiteral("--minutes"));
    return at > 0 && at + 1 < args.size() ? qMax(1, args.at(at + 1).toInt()) : 10;
}

} // namespace

int main(int argc, char *argv[])
{
    FreshSettingsStore store;
    QApplication app(argc, argv);
    applyApplicationIdentity();
    const int minutes = minutesFromArguments(app.arguments());
    if (qEnvironmentVariableIsEmpty("UMOCKDEV_DIR"))
        std::fprintf(stderr, "bench_memory: no simulated instrument; run it as: vesk-sim -- bench_memory\n");
    keepOnlyCriticalMessages();
    NoticeCloser noticeCloser;

    VeskInterface w;
    if (!showAndConnect(w)) {
        std::fprintf(stderr, "bench_memory: the window did not connect to the instrument\n");
        return 1;
    }

    // Frames that reached the frame cache, which the tick does only to process them.
    long processed = 0;
    uint16_t lastNumber = 0;
    QObject::connect(&w.dataTimer, &QTimer::timeout, [&] {
        const uint16_t number = ScopeFrame::readHeader(w.frameCache).frameNumber;
        if (number != lastNumber) {
            ++processed;
            lastNumber = number;
        }
    });

    std::printf("streaming %d minutes at the fresh set-up; VmRSS at the start %.1f MiB\n", minutes,
                processStatusKiB("VmRSS") / 1024.0);
    std::fflush(stdout);
    QList<long> resident;
    for (int minute = 1; minute <= minutes; ++minute) {
        const long framesBefore = processed;
        runEventLoop(60 * 1000);
        resident.append(processStatusKiB("VmRSS"));
        std::printf("  minute %2d: VmRSS %.1f MiB, %ld frames processed%s\n", minute, resident.last() / 1024.0,
                    processed - framesBefore, w.libUsbDevice.connected ? "" : " (not connected)");
        std::fflush(stdout);
    }
    if (resident.size() >= 2 && resident.at(1) > 0) {
        const double change = 100.0 * double(resident.last() - resident.at(1)) / double(resident.at(1));
        std::printf("last minute against the second: %+.1f %% (flat: within 5 %%)\n", change);
    }
    w.closeApplication();
    w.libUsbDevice.closeDevice();
    return 0;
}
