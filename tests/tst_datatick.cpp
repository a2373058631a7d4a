// The data tick runs only while it has something to serve, and the plot is
// redrawn at most once per screen refresh, showing the last frame processed.
#include "testmain.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "protocol.h"
#include "scopeframefeeder.h"

#include <QSettings>
#include <QSignalSpy>

#include <functional>

using namespace ScopeFrameFeeder;

class TestDataTick : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings().clear();
    }

    void disconnectedTickRunsForRedrawRequestsOnly()
    {
        VeskInterface w;
        // Start-up's redraw is served, then nothing is left to do.
        QTRY_VERIFY(!w.dataTimer.isActive());
        QVERIFY(!w.replotRequest);

        const struct
        {
            const char *what;
            std::function<void()> act;
        } requests[] = {
            {"CH1 position", [&w] { w.ui->ch1PositionSlider->setValue(w.ui->ch1PositionSlider->value() + 64); }},
            {"logic position", [&w] { w.ui->chdPositionSlider->setValue(w.ui->chdPositionSlider->value() - 32); }},
            {"logic size", [&w] { w.ui->chdSizeSlider->setValue(w.ui->chdSizeSlider->value() + 1); }},
        };
        for (const auto &request : requests) {
            QSignalSpy redraws(&w.replotPacer, &ReplotPacer::replotDue);
            request.act();
            QVERIFY2(w.dataTimer.isActive(), request.what);
            QCOMPARE(w.dataTimer.interval(), 4);
            QTRY_VERIFY2(!w.dataTimer.isActive(), request.what);
            QVERIFY2(!w.replotRequest, request.what);
            QTRY_VERIFY2(redraws.count() >= 1, request.what);
        }

        // Outside the oscilloscope a request waits for it without a running tick.
        w.mainMode = MODE_METER_DC;
        requests[0].act();
        QTRY_VERIFY(!w.dataTimer.isActive());
        QVERIFY(w.replotRequest);
        w.mainTabChanged(0);
        QCOMPARE(w.mainMode, int(MODE_SCOPE));
        QTRY_VERIFY(!w.dataTimer.isActive());
        QVERIFY(!w.replotRequest);
    }

    void everyFrameIsProcessedAndTheLastOneDrawn()
    {
        VeskInterface w;
        FrameRecipe recipe;
        configure(w, recipe);
        QTRY_VERIFY(!w.replotPacer.pending());

        QList<int> drawnFrames;
        connect(&w.replotPacer, &ReplotPacer::replotDue, &w,
                [&w, &drawnFrames] { drawnFrames << ScopeFrame::readHeader(w.frameCache).frameNumber; });
        QList<QByteArray> frames;
        for (int number = 1; number <= 20; ++number) {
            recipe.frameNumber = number;
            recipe.ch1Sample = [number](int i) { return (i + number) % 64 - 32; };
            frames << makeFrame(recipe);
        }
        double previousFirst = qQNaN();
        for (const QByteArray &frame : frames) {
            deliver(w, frame);
            tick(w);
            // Processed on its own tick: cached and drawn into the trace.
            QVERIFY(!w.libUsbDevice.dataReady);
            // Copied out: the packed header's fields cannot be bound by reference.
            const int cached = ScopeFrame::readHeader(w.frameCache).frameNumber;
            const int delivered =
                ScopeFrame::readHeader(reinterpret_cast<const unsigned char *>(frame.constData())).frameNumber;
            QCOMPARE(cached, delivered);
            QVERIFY(w.ch1Graph->data()->at(0)->value != previousFirst);
            previousFirst = w.ch1Graph->data()->at(0)->value;
        }
        QTRY_COMPARE(drawnFrames, QList<int>{20});
        QCoreApplication::processEvents();
        QCOMPARE(drawnFrames, QList<int>{20});
    }
};

VESK_TEST_MAIN(TestDataTick)
#include "tst_datatick.moc"
