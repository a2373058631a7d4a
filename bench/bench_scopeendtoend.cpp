// Frames the simulated instrument offers against frames the window shows,
// end to end: USB transport, the 4 ms tick, acceptance, processing and the
// replot, offscreen at 1280 x 800. Runs under the simulator's launcher:
//
//   vesk-sim [--unpaced] -- bench_scopeendtoend [--seconds N] [--timebase T ...]
//
// in a folder holding the files of data/ ("hardware.xml" and the
// description it names), as the program itself needs them.
//
// The offered count comes from the frame numbers (they rise by one per
// acquisition); a frame counts as shown when a replot draws it.
#include "common.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "protocol.h"
#include "replotpacer.h"
#include "scopeframecheck.h"
#include "timebaseruns.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Opens the instrument and starts the stream the window's controls expect,
// unless the window's own connection did so already.
bool connectInstrument(VeskInterface &w)
{
    LibUsbDevice &device = w.libUsbDevice;
    if (!device.connected) {
        device.initializeDevice();
        if (device.openDevice() != 0)
            return false;
        device.asyncBulkReadTransfer();
    }
    const auto send = [&device](int index, int value) {
        device.controlWriteTransfer(REQ_SET_CONFIG, ushort(index), ushort(value));
    };
    send(CFG_MAIN_MODE, MODE_SCOPE);
    send(CFG_CH1_CONTROL, w.ui->checkBoxCH1Trace->isChecked() ? CHANNEL_TRACE_ON : 0);
    send(CFG_CH2_CONTROL, w.ui->checkBoxCH2Trace->isChecked() ? CHANNEL_TRACE_ON : 0);
    send(CFG_CHD_CONTROL, w.ui->checkBoxCHDTrace->isChecked() ? LOGIC_TRACE_ON : 0);
    send(CFG_CH_BUFFER_BLOCKS, ScopeFrameCheck::adcBlocks(w.ui->comboBoxADCBuffer->currentIndex()));
    send(CFG_TRIGGER_CONTROL, TRIGGER_FREE);
    w.mainMode = MODE_SCOPE;
    return true;
}

struct Result
{
    int timeBase = 0;
    double seconds = 0;
    int shown = 0;
    long offered = 0;
};

Result measure(VeskInterface &w, int timeBase, int seconds)
{
    LibUsbDevice &device = w.libUsbDevice;
    device.controlWriteTransfer(REQ_RUN_CONTROL, RUN_SCOPE_STOP, 0);
    {
        const QSignalBlocker blocker(w.ui->samplingSlider);
        w.ui->samplingSlider->setValue(timeBase);
    }
    device.controlWriteTransfer(REQ_SET_CONFIG, CFG_SAMPLING_RATE, ushort(timeBase));
    device.controlWriteTransfer(REQ_RUN_CONTROL, RUN_SCOPE_START, 0);
    // Let the frames of the new time base arrive before counting.
    runEventLoop(300);

    Result result;
    result.timeBase = timeBase;
    bool counting = false;
    bool first = true;
    uint16_t lastNumber = 0;
    long span = 0;
    const QMetaObject::Connection counter =
        QObject::connect(&w.replotPacer, &ReplotPacer::replotDue, [&] {
            const uint16_t number = ScopeFrame::readHeader(w.frameCache).frameNumber;
            if (!counting || (!first && number == lastNumber))
                return;
            if (!first)
                span += uint16_t(number - lastNumber);
            first = false;
            lastNumber = number;
            ++result.shown;
        });
    QElapsedTimer clock;
    clock.start();
    counting = true;
    runEventLoop(seconds * 1000);
    counting = false;
    result.seconds = clock.elapsed() / 1000.0;
    QObject::disconnect(counter);
    result.offered = result.shown > 0 ? span + 1 : 0;
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir store;
    qputenv("XDG_CONFIG_HOME", store.path().toLocal8Bit());
    QApplication app(argc, argv);
    applyApplicationIdentity();
    const TimeBaseRuns runs = TimeBaseRuns::fromArguments(app.arguments(), 10, {7, 4, 0});
    if (qEnvironmentVariableIsEmpty("UMOCKDEV_DIR"))
        std::fprintf(stderr, "bench_scopeendtoend: no simulated instrument; run it as: "
                             "vesk-sim -- bench_scopeendtoend\n");
    // The figures are the output; the window's and transport's lines are not.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type >= QtCriticalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });

    // A notice of the connection (a profile that is not found, say) would
    // wait for a click that never comes.
    QTimer noticeCloser;
    QObject::connect(&noticeCloser, &QTimer::timeout, [] {
        if (QWidget *notice = QApplication::activeModalWidget()) {
            std::fprintf(stderr, "bench_scopeendtoend: closed a notice: %s\n",
                         qPrintable(notice->windowTitle()));
            notice->close();
        }
    });
    noticeCloser.start(200);

    VeskInterface w;
    w.resize(1280, 800);
    w.show();
    // The window's own connection, when it has one, runs first.
    runEventLoop(2500);
    if (!connectInstrument(w)) {
        std::fprintf(stderr, "bench_scopeendtoend: cannot open the instrument\n");
        return 1;
    }
    std::printf("CH1 %d, CH2 %d, logic %d, %d samples per channel, plot %d x %d\n",
                w.ui->checkBoxCH1Trace->isChecked(), w.ui->checkBoxCH2Trace->isChecked(),
                w.ui->checkBoxCHDTrace->isChecked(),
                256 * ScopeFrameCheck::adcBlocks(w.ui->comboBoxADCBuffer->currentIndex()),
                w.ui->plotterWidget->width(), w.ui->plotterWidget->height());
    for (int timeBase : runs.timeBases) {
        const Result r = measure(w, timeBase, runs.seconds);
        std::printf("time base %2d: offered %6.1f frames/s, shown %6.1f frames/s (%d of %ld, %.0f %%) over %.1f s\n",
                    r.timeBase, r.offered / r.seconds, r.shown / r.seconds, r.shown, r.offered,
                    r.offered ? 100.0 * r.shown / r.offered : 0.0, r.seconds);
        std::fflush(stdout);
    }
    w.closeApplication();
    w.libUsbDevice.closeDevice();
    return 0;
}
