// The program's CPU load: the window as the program makes it, on a real
// (virtual) X display at 1371 x 966, streaming from the simulated instrument
// for a while; the process's CPU time comes from /proc. Set-ups:
//   fresh  the default set-up of a fresh settings store;
//   heavy  both channels at the largest buffer, the eight logic channels on
//          and the deepest decay persistence;
//   idle   no instrument attached, nothing happening.
// Run it in a folder holding the files of data/, on a display of its own:
//
//   Xvfb :N -screen 0 1600x1000x24 &
//   DISPLAY=:N vesk-sim -- bench_cpuload --setup fresh [--seconds 30]
//   DISPLAY=:N bench_cpuload --setup idle
//
// Frames offered come from the frame numbers (they rise by one per
// acquisition); a frame counts as processed when it reaches the frame cache,
// which the tick does only to process it.
#include "common.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "benchwindow.h"
#include "replotpacer.h"
#include "scopeframecheck.h"
#include "timebaseruns.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace {

// utime + stime of the whole process, in seconds.
double processCpuSeconds()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // The command name may hold blanks; the fields after it do not.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    // utime and stime are fields 14 and 15 of the line, 12 and 13 after the name.
    if (fields.size() < 13)
        return 0;
    return double(fields.at(11).toLongLong() + fields.at(12).toLongLong()) / double(sysconf(_SC_CLK_TCK));
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(file.readAll().split(' ').mid(0, 3).join(' '));
}

void clickOn(QAbstractButton *button)
{
    if (!button->isChecked())
        button->click();
}

void setHeaviest(VeskInterface &w)
{
    clickOn(w.ui->checkBoxCH1Trace);
    clickOn(w.ui->checkBoxCH2Trace);
    w.ui->comboBoxADCBuffer->setCurrentIndex(w.ui->comboBoxADCBuffer->count() - 1);
    clickOn(w.ui->checkBoxCHDTrace);
    for (int bit = 0; bit < 8; ++bit)
        clickOn(w.findChild<QCheckBox *>(QStringLiteral("checkBoxCHD%1").arg(bit)));
    w.ui->decaySlider->setValue(w.ui->decaySlider->maximum());
}

} // namespace

int main(int argc, char *argv[])
{
    FreshSettingsStore store;
    QApplication app(argc, argv);
    applyApplicationIdentity();
    const QStringList args = app.arguments();
    const int setupAt = args.indexOf(QStringLiteral("--setup"));
    const QString setup = setupAt > 0 && setupAt + 1 < args.size() ? args.at(setupAt + 1) : QStringLiteral("fresh");
    const int seconds = TimeBaseRuns::fromArguments(args, 30, {0}).seconds;
    const bool streaming = setup != QLatin1String("idle");
    if (streaming && qEnvironmentVariableIsEmpty("UMOCKDEV_DIR"))
        std::fprintf(stderr, "bench_cpuload: no simulated instrument; run it as: "
                             "vesk-sim -- bench_cpuload --setup %s\n", qPrintable(setup));
    keepOnlyCriticalMessages();
    NoticeCloser noticeCloser;

    VeskInterface w;
    if (!showAndConnect(w) && streaming) {
        std::fprintf(stderr, "bench_cpuload: the window did not connect to the instrument\n");
        return 1;
    }
    if (setup == QLatin1String("heavy"))
        setHeaviest(w);
    runEventLoop(1500);

    long processed = 0;
    long offered = 0;
    long replots = 0;
    bool first = true;
    uint16_t lastNumber = 0;
    // Connected after the window's own slot: runs once the tick did its work.
    QObject::connect(&w.dataTimer, &QTimer::timeout, [&] {
        const uint16_t number = ScopeFrame::readHeader(w.frameCache).frameNumber;
        if (first || number != lastNumber) {
            if (!first)
                offered += uint16_t(number - lastNumber);
            ++processed;
            first = false;
            lastNumber = number;
        }
    });
    QObject::connect(&w.replotPacer, &ReplotPacer::replotDue, [&replots] { ++replots; });

    const QString loadBefore = loadAverage();
    const double cpuBefore = processCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    runEventLoop(seconds * 1000);
    const double wall = clock.elapsed() / 1000.0;
    const double cpu = processCpuSeconds() - cpuBefore;
    // The first frame seen starts the count: it was offered before the run.
    if (processed > 0)
        --processed;

    std::printf("set-up %s: CH1 %d, CH2 %d, logic %d, %d samples per channel, decay %d, plot %d x %d\n",
                qPrintable(setup), w.ui->checkBoxCH1Trace->isChecked(), w.ui->checkBoxCH2Trace->isChecked(),
                w.ui->checkBoxCHDTrace->isChecked(),
                256 * ScopeFrameCheck::adcBlocks(w.ui->comboBoxADCBuffer->currentIndex()),
                w.ui->decaySlider->value(), w.ui->plotterWidget->width(), w.ui->plotterWidget->height());
    std::printf("  CPU %.1f %% of one core (%.2f s over %.1f s); load average before %s, after %s\n",
                100.0 * cpu / wall, cpu, wall, qPrintable(loadBefore), qPrintable(loadAverage()));
    std::printf("  frames offered %.1f/s, processed %.1f/s (%.2f), replots %.1f/s\n", offered / wall,
                processed / wall, offered ? double(processed) / double(offered) : 0.0, replots / wall);
    std::fflush(stdout);
    w.closeApplication();
    w.libUsbDevice.closeDevice();
    return 0;
}
