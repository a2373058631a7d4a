// Frames in, traces out, through the window: acceptance of a read, the
// layout of every channel on the plot, roll and XY, fading and gathering
// persistence, references, spectra, measurement displays and themes.
#include "testmain.h"
#include "logcapture.h"
#include "plotpointer.h"
#include "scopeframefeeder.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "multimeterdisplay.h"
#include "persistenceimage.h"
#include "scopeframecheck.h"
#include "scopeoptions.h"
#include "scopeplot.h"

#include <QClipboard>
#include <QSettings>
#include <cmath>
#include <cstring>
#include <algorithm>
#include <functional>

Q_DECLARE_METATYPE(QCPRange)

using namespace ScopeFrameFeeder;

namespace {

QVector<double> keysOf(const QCPGraph *graph)
{
    QVector<double> keys;
    for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it)
        keys << it->key;
    return keys;
}

QVector<double> valuesOf(const QCPGraph *graph)
{
    QVector<double> values;
    for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it)
        values << it->value;
    return values;
}

double plotY(int sample, int position)
{
    return 1.5625 * qint8(sample) + position + 640;
}

QString shown(MultimeterDisplay *display)
{
    QMetaObject::invokeMethod(display, "copyAsDouble", Qt::DirectConnection);
    return QApplication::clipboard()->text().trimmed();
}

const QString invalidHeader = QStringLiteral("Scope data: Invalide header");

// The whole frame shown and only traces on the plot: no cursor lines
// across what the pixels are checked for.
bool showTracesOnly(VeskInterface &w, const FrameRecipe &recipe)
{
    configure(w, recipe);
    const bool shown = PlotPointer::showWholePlot(w.ui->plotterWidget, 1536, w.plotYRange);
    w.cursorsVerticalChanged(false);
    w.cursorsHorizontalChanged(false);
    return shown;
}

} // namespace

class TestScopeTraces : public QObject
{
    Q_OBJECT

private slots:
    // The next test's window starts from a fresh store again.
    void cleanup() { QSettings().clear(); }

    void acceptance_data()
    {
        QTest::addColumn<bool>("ch1");
        QTest::addColumn<bool>("ch2");
        QTest::addColumn<bool>("logic");
        QTest::addColumn<int>("blocks");
        QTest::addColumn<int>("extraBytes");
        QTest::addColumn<int>("firstByte");
        QTest::addColumn<int>("headerSamples"); // 0: as the layout says
        QTest::addColumn<int>("headerMask");    // -1: as the layout says
        QTest::addColumn<int>("startIndex");
        QTest::addColumn<QString>("outcome");   // drawn, pending, warned, dropped

        QTest::newRow("CH1, 1 block, 304 bytes") << true << false << false << 1 << 0 << int('A') << 0 << -1 << 0 << QStringLiteral("drawn");
        QTest::newRow("one byte too many") << true << false << false << 1 << 1 << int('A') << 0 << -1 << 0 << QStringLiteral("pending");
        QTest::newRow("one byte short") << true << false << false << 1 << -1 << int('A') << 0 << -1 << 0 << QStringLiteral("pending");
        QTest::newRow("all traces, 15 blocks, 11568 bytes") << true << true << true << 15 << 0 << int('A') << 0 << -1 << 0 << QStringLiteral("drawn");
        QTest::newRow("sniffer tag") << true << false << false << 1 << 0 << int('B') << 0 << -1 << 0 << QStringLiteral("warned");
        QTest::newRow("header claims 2 blocks") << true << false << false << 1 << 0 << int('A') << 512 << -1 << 0 << QStringLiteral("dropped");
        QTest::newRow("header samples not whole blocks") << true << false << false << 1 << 0 << int('A') << 300 << -1 << 0 << QStringLiteral("dropped");
        QTest::newRow("header names a fourth block") << true << false << false << 1 << 0 << int('A') << 0 << 0x09 << 0 << QStringLiteral("dropped");
        QTest::newRow("header mask of two blocks") << true << false << false << 2 << 0 << int('A') << 256 << 0x03 << 0 << QStringLiteral("drawn");
        QTest::newRow("ring start past the block") << true << false << false << 1 << 0 << int('A') << 0 << -1 << 256 << QStringLiteral("dropped");
    }

    void acceptance()
    {
        QFETCH(bool, ch1);
        QFETCH(bool, ch2);
        QFETCH(bool, logic);
        QFETCH(int, blocks);
        QFETCH(int, extraBytes);
        QFETCH(int, firstByte);
        QFETCH(int, headerSamples);
        QFETCH(int, headerMask);
        QFETCH(int, startIndex);
        QFETCH(QString, outcome);

        VeskInterface w;
        FrameRecipe recipe;
        recipe.ch1 = ch1;
        recipe.ch2 = ch2;
        recipe.logic = logic;
        recipe.blocks = blocks;
        configure(w, recipe);
        QByteArray bytes = makeFrame(recipe);
        bytes.resize(bytes.size() + extraBytes);
        bytes[0] = char(firstByte);
        auto *data = reinterpret_cast<unsigned char *>(bytes.data());
        frameconfig_t header = ScopeFrame::readHeader(data);
        if (headerSamples)
            header.samplesPerChannel = uint16_t(headerSamples);
        if (headerMask >= 0)
            header.channelMask = uint8_t(headerMask);
        header.startIndex = uint16_t(startIndex);
        ScopeFrame::writeHeader(header, data);

        LogCapture log;
        deliver(w, bytes);
        for (int i = 0; i < 5; ++i)
            tick(w);

        const bool drawn = outcome == QLatin1String("drawn");
        QCOMPARE(w.ch1Graph->dataCount() > 0, drawn);
        QCOMPARE(w.libUsbDevice.dataReady, outcome == QLatin1String("pending") || outcome == QLatin1String("warned"));
        QCOMPARE(log.count(invalidHeader), outcome == QLatin1String("warned") ? 1 : 0);
        QCOMPARE(log.messages().size(), drawn || outcome == QLatin1String("pending") ? 0 : 1);
        if (drawn)
            QCOMPARE(memcmp(w.frameCache, data, std::size_t(bytes.size())), 0);
    }

    void refusedReadIsReportedOncePerRead()
    {
        VeskInterface w;
        FrameRecipe recipe;
        configure(w, recipe);
        const QByteArray good = makeFrame(recipe);
        QByteArray first = good;
        first[0] = 'B';
        const QByteArray second(first.constData(), first.size());

        LogCapture log;
        deliver(w, first);
        for (int i = 0; i < 10; ++i)
            tick(w);
        QCOMPARE(log.count(invalidHeader), 1);
        // The next read arrives in another buffer.
        deliver(w, second);
        for (int i = 0; i < 10; ++i)
            tick(w);
        QCOMPARE(log.count(invalidHeader), 2);
        QVERIFY(w.libUsbDevice.dataReady);

        // A pending redraw draws the cached frame and drops the refused read.
        w.replotRequest = true;
        tick(w);
        QVERIFY(!w.libUsbDevice.dataReady);
        QVERIFY(!w.replotRequest);
        // The empty cache: a flat CH1 trace at its zero line.
        QCOMPARE(w.ch1Graph->dataCount(), 256);
        QCOMPARE(valuesOf(w.ch1Graph).first(), 640.0);

        // A good read after it is drawn.
        deliver(w, good);
        tick(w);
        QCOMPARE(valuesOf(w.ch1Graph).at(3), plotY(recipe.ch1Sample(3), 0));
        QCOMPARE(log.count(invalidHeader), 2);
    }

    void otherModesIgnoreTheTransport()
    {
        VeskInterface w;
        FrameRecipe recipe;
        configure(w, recipe);
        const QByteArray bytes = makeFrame(recipe);
        deliver(w, bytes);
        w.mainMode = 3;
        tick(w);
        QVERIFY(w.libUsbDevice.dataReady);
        QCOMPARE(w.ch1Graph->dataCount(), 0);
    }

    void channelLayouts_data()
    {
        QTest::addColumn<bool>("ch1");
        QTest::addColumn<bool>("ch2");
        QTest::addColumn<bool>("logic");
        QTest::addColumn<int>("blocks");
        QTest::newRow("CH1") << true << false << false << 1;
        QTest::newRow("CH2") << false << true << false << 2;
        QTest::newRow("logic") << false << false << true << 1;
        QTest::newRow("CH1 and logic") << true << false << true << 3;
        QTest::newRow("CH2 and logic") << false << true << true << 1;
        QTest::newRow("all, 15 blocks") << true << true << true << 15;
    }

    void channelLayouts()
    {
        QFETCH(bool, ch1);
        QFETCH(bool, ch2);
        QFETCH(bool, logic);
        QFETCH(int, blocks);

        VeskInterface w;
        FrameRecipe recipe;
        recipe.ch1 = ch1;
        recipe.ch2 = ch2;
        recipe.logic = logic;
        recipe.blocks = blocks;
        configure(w, recipe);
        w.ui->ch1PositionSlider->setValue(100);
        w.ui->ch2PositionSlider->setValue(-60);
        w.ui->chdPositionSlider->setValue(-300);
        w.ui->chdSizeSlider->setValue(30);
        const QByteArray bytes = makeFrame(recipe);
        deliver(w, bytes);
        tick(w);

        const int n = 256 * blocks;
        QCOMPARE(w.scopeSizeX, n);
        QCOMPARE(w.plotXRange, 2 * n);
        QCOMPARE(w.ch1Graph->dataCount(), ch1 ? n : 0);
        QCOMPARE(w.ch2Graph->dataCount(), ch2 ? n : 0);
        if (ch1 || ch2) {
            const QCPGraph *graph = ch1 ? w.ch1Graph : w.ch2Graph;
            const QVector<double> keys = keysOf(graph);
            const QVector<double> values = valuesOf(graph);
            for (int k : {0, 1, n / 2, n - 1}) {
                QCOMPARE(keys.at(k), 2.0 * k);
                QCOMPARE(values.at(k), ch1 ? plotY(recipe.ch1Sample(k), 100) : plotY(recipe.ch2Sample(k), -60));
            }
        }
        for (int bit = 0; bit < 8; ++bit) {
            QCOMPARE(w.logicGraphs[bit]->dataCount(), logic ? n : 0);
            QCOMPARE(w.logicLabels[bit]->visible(), logic);
            if (!logic)
                continue;
            const double base = bit * (30 + 20) - 300 + 640;
            QCOMPARE(w.logicBitPos0(bit), int(base));
            const QVector<double> levels = valuesOf(w.logicGraphs[bit]);
            for (int k : {0, 1, 2, 3, 128, 255})
                QCOMPARE(levels.at(k), (recipe.logicByte(k) >> bit) & 1 ? base + 10 + 30 : base);
            QCOMPARE(valuesOf(w.logicGraphs2[bit]).at(5), base - 1);
        }
        QCOMPARE(w.ch2ZeroHead->visible(), ch2);
        QCOMPARE(w.chdZeroHead->visible(), logic);
        QCOMPARE(w.ui->timeLabel->text(), QStringLiteral("Time = 1ms/div"));
    }

    void rollModeStartsAtTheRingStart()
    {
        VeskInterface w;
        FrameRecipe recipe;
        recipe.startIndex = 100;
        recipe.ch1Sample = [](int i) { return i / 2 - 64; };
        configure(w, recipe);
        w.ui->rollMode->setEnabled(true);
        w.ui->rollMode->setChecked(true);
        const QByteArray bytes = makeFrame(recipe);
        deliver(w, bytes);
        tick(w);
        const QVector<double> values = valuesOf(w.ch1Graph);
        QCOMPARE(values.at(0), plotY(recipe.ch1Sample(100), 0));
        QCOMPARE(values.at(155), plotY(recipe.ch1Sample(255), 0));
        QCOMPARE(values.at(156), plotY(recipe.ch1Sample(0), 0));

        // A disabled roll check box is not in force.
        w.ui->rollMode->setEnabled(false);
        w.replotRequest = true;
        tick(w);
        QCOMPARE(valuesOf(w.ch1Graph).at(0), plotY(recipe.ch1Sample(0), 0));
    }

    void xyModeDrawsCh2AgainstCh1()
    {
        VeskInterface w;
        FrameRecipe recipe;
        recipe.ch2 = true;
        recipe.logic = true;
        configure(w, recipe);
        w.ui->xyMode->setChecked(true);
        w.ui->checkBoxFFTTrace->setChecked(true);
        const QByteArray bytes = makeFrame(recipe);
        deliver(w, bytes);
        tick(w);
        QCOMPARE(w.ch1Graph->dataCount(), 256);
        QCOMPARE(w.ch2Graph->dataCount(), 0);
        QCOMPARE(w.logicGraphs[0]->dataCount(), 0);
        QCOMPARE(w.fftCh1Graph->dataCount(), 0);
        // The graph keeps its points sorted by key: look one up.
        const double key = w.xyZeroKey() + qint8(recipe.ch1Sample(10)) * 1.5625 / 2;
        const auto point = w.ch1Graph->data()->findBegin(key, false);
        QCOMPARE(point->key, key);
        QVERIFY(std::fmod(point->value - 640, 1.5625) == 0);
    }

    // A circle stays a circle: one CH1 division spans one horizontal grid
    // division, centred on the view, whatever the view shows.
    void xyCircleSpansEqualDivisions_data()
    {
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("right");
        QTest::newRow("start-up view") << 0.0 << 256.0;
        QTest::newRow("scrolled and wider") << 300.0 << 812.0;
    }
    void xyCircleSpansEqualDivisions()
    {
        QFETCH(double, left);
        QFETCH(double, right);
        VeskInterface w;
        FrameRecipe recipe;
        recipe.ch2 = true;
        recipe.ch1Sample = [](int i) { return int(std::lround(100 * std::sin(2 * M_PI * i / 256))); };
        recipe.ch2Sample = [](int i) { return int(std::lround(100 * std::cos(2 * M_PI * i / 256))); };
        configure(w, recipe);
        QCOMPARE(w.ui->ch1GainSlider->value(), w.ui->ch2GainSlider->value());
        w.ui->xyMode->setChecked(true);
        QCustomPlot *plot = w.ui->plotterWidget;
        const QByteArray bytes = makeFrame(recipe);
        // The first frame sizes the plot and keeps the view inside it.
        deliver(w, bytes);
        tick(w);
        plot->xAxis->setRange(left, right);
        deliver(w, bytes);
        tick(w);
        QCOMPARE(w.ch1Graph->dataCount(), 256);
        const QVector<double> xs = keysOf(w.ch1Graph);
        const QVector<double> ys = valuesOf(w.ch1Graph);
        const auto [xMin, xMax] = std::minmax_element(xs.begin(), xs.end());
        const auto [yMin, yMax] = std::minmax_element(ys.begin(), ys.end());
        const auto step = [](QCPAxis *axis) {
            return qSharedPointerCast<QCPAxisTickerFixed>(axis->ticker())->tickStep();
        };
        QCOMPARE((*xMax - *xMin) / step(plot->xAxis), (*yMax - *yMin) / step(plot->yAxis));
        QCOMPARE((*xMax + *xMin) / 2, plot->xAxis->range().center());
        QVERIFY(plot->xAxis->range().contains(*xMin) && plot->xAxis->range().contains(*xMax));
        QVERIFY(plot->yAxis->range().contains(*yMin) && plot->yAxis->range().contains(*yMax));
        // CH1's zero head stands on the figure's centre.
        w.ch1vZeroRefresh();
        QVERIFY(w.ch1ZeroVerticalHead->visible());
        QVERIFY(qAbs(PlotPointer::centreOf(w.ch1ZeroVerticalHead).x()
                     - plot->xAxis->coordToPixel(plot->xAxis->range().center())) <= 1);
    }

    void fadingPersistenceKeepsTheDecayDepth()
    {
        VeskInterface w;
        FrameRecipe recipe;
        configure(w, recipe);
        w.ui->decaySlider->setValue(3);
        QList<QByteArray> frames;
        for (int f = 0; f < 5; ++f) {
            recipe.ch1Sample = [f](int) { return 10 * f; };
            frames << makeFrame(recipe);
            deliver(w, frames.last());
            tick(w);
        }
        QCOMPARE(w.ch1History.size(), 3);
        for (int h = 0; h < 3; ++h)
            QCOMPARE(valuesOf(w.ch1PersistenceGraphs[h]).at(7), plotY(10 * (h + 2), 0));
        for (int h = 3; h < 9; ++h)
            QCOMPARE(w.ch1PersistenceGraphs[h]->dataCount(), 0);

        w.ui->decaySlider->setValue(0);
        w.replotRequest = true;
        tick(w);
        QCOMPARE(w.ch1History.size(), 0);
        for (QCPGraph *graph : w.ch1PersistenceGraphs)
            QCOMPARE(graph->dataCount(), 0);
    }

    // Infinite persistence: a glitch of the first frame is still on screen a
    // thousand noisy frames later, while each graph holds one frame and the
    // painted history is one image of the plot; switching persistence off
    // removes it.
    void infinitePersistenceKeepsEveryFrame()
    {
        storeBlocks(3);
        VeskInterface w;
        FrameRecipe recipe;
        recipe.blocks = 3;
        recipe.logic = true;
        QVERIFY(showTracesOnly(w, recipe));
        QCustomPlot *plot = w.ui->plotterWidget;
        w.ui->checkBoxPersistence->setChecked(true);
        const auto stillDrawn = [&](double x, double y) {
            const QImage shot = plot->toPixmap().toImage();
            const QPoint centre = PlotPointer(plot).pixelOf(x, y).toPoint();
            const QColor background = shot.pixelColor(PlotPointer(plot).pixelOf(x - 200, y).toPoint());
            for (int dx = -2; dx <= 2; ++dx) {
                for (int dy = -2; dy <= 2; ++dy) {
                    const QColor seen = shot.pixelColor(centre + QPoint(dx, dy));
                    if (qAbs(seen.green() - background.green()) + qAbs(seen.red() - background.red()) > 80)
                        return true;
                }
            }
            return false;
        };
        recipe.ch1Sample = [](int i) { return i == 600 ? 100 : 0; };
        recipe.logicByte = [](int) { return 0; };
        QList<QByteArray> frames{makeFrame(recipe)};
        deliver(w, frames.last());
        tick(w);
        const QSize imageSize = w.persistenceImage->image().size();
        QVERIFY(!imageSize.isEmpty());
        quint32 seed = 7;
        for (int f = 1; f < 1000; ++f) {
            recipe.ch1Sample = [&seed](int) { return int((seed = seed * 1103515245u + 12345u) >> 16) % 17 - 8; };
            frames = {makeFrame(recipe)};
            deliver(w, frames.last());
            tick(w);
            QCoreApplication::processEvents();
        }
        QVERIFY(stillDrawn(1200, plotY(100, 0)));
        QCOMPARE(w.ch1Graph->dataCount(), 768);
        QCOMPARE(w.logicGraphs[0]->dataCount(), 768);
        QCOMPARE(w.persistenceImage->image().size(), imageSize);
        QVERIFY(w.ui->plotterWidget->persistenceDrawing());

        // Off again: one frame, drawn by the graphs themselves.
        w.ui->checkBoxPersistence->setChecked(false);
        w.replotRequest = true;
        tick(w);
        QCOMPARE(w.ch1Graph->dataCount(), 768);
        QVERIFY(!w.ui->plotterWidget->persistenceDrawing());
        QVERIFY(w.persistenceImage->image().isNull());
        QVERIFY(!stillDrawn(1200, plotY(100, 0)));
    }

    // What persistence gathered is kept in plot coordinates: with no new
    // frame, a wheel zoom, a scroll and a resize each show every gathered
    // trace (analogue, logic, spectrum) and the current frame.
    void gatheredPictureSurvivesViewChanges()
    {
        storeBlocks(3);
        VeskInterface w;
        FrameRecipe recipe;
        recipe.blocks = 3;
        recipe.ch2 = true;
        recipe.logic = true;
        QVERIFY(showTracesOnly(w, recipe));
        QCustomPlot *plot = w.ui->plotterWidget;
        w.ui->checkBoxFFTTrace->setChecked(true);
        w.ui->checkBoxFFTCH1->setChecked(true);
        w.ui->checkBoxFFTCH2->setChecked(false);
        w.ui->checkBoxPersistence->setChecked(true);

        // First frame: a strong tone in the transformed samples, then a
        // CH1 spike, a CH2 dip and logic bit 3 high for a while.
        recipe.ch1Sample = [](int i) {
            return i < 256 ? int(std::lround(100 * std::sin(2 * M_PI * 60 * i / 256))) : i == 300 ? 100 : 0;
        };
        recipe.ch2Sample = [](int i) { return i >= 500 && i <= 510 ? -100 : 0; };
        recipe.logicByte = [](int i) { return i >= 600 && i <= 640 ? 0x08 : 0; };
        QList<QByteArray> frames{makeFrame(recipe)};
        deliver(w, frames.last());
        tick(w);
        const double logicHigh = valuesOf(w.logicGraphs[3]).at(620);
        QVERIFY(logicHigh != valuesOf(w.logicGraphs[3]).at(700));
        const double toneHeight = valuesOf(w.fftCh1Graph).at(60);
        QVERIFY(toneHeight > 100);
        // Quiet frames, then the current one: CH1 raised.
        recipe.ch1Sample = [](int) { return 0; };
        recipe.ch2Sample = [](int) { return 0; };
        recipe.logicByte = [](int) { return 0; };
        for (int f = 1; f < 4; ++f) {
            frames = {makeFrame(recipe)};
            deliver(w, frames.last());
            tick(w);
        }
        recipe.ch1Sample = [](int) { return 30; };
        frames = {makeFrame(recipe)};
        deliver(w, frames.last());
        tick(w);
        w.dataTimer.stop();

        struct Mark
        {
            const char *trace;
            QCPGraph *graph;
            double x, y;
        };
        const QVector<Mark> marks = {
            {"CH1 spike", w.ch1Graph, 600, plotY(100, 0)},
            {"CH2 dip", w.ch2Graph, 1010, plotY(-100, 0)},
            {"logic bit 3", w.logicGraphs[3], 1240, logicHigh},
            {"spectrum tone", w.fftCh1Graph, 120, toneHeight / 2},
            {"current CH1", w.ch1Graph, 900, plotY(30, 0)},
        };
        // A pixel of the trace's colour on or right next to the point.
        const auto drawn = [plot](const Mark &mark) {
            const QImage shot = plot->toPixmap().toImage();
            const QPoint centre = PlotPointer(plot).pixelOf(mark.x, mark.y).toPoint();
            const QColor colour = mark.graph->pen().color();
            for (int dx = -2; dx <= 2; ++dx) {
                for (int dy = -2; dy <= 2; ++dy) {
                    const QColor seen = shot.pixelColor(centre + QPoint(dx, dy));
                    if (qAbs(seen.red() - colour.red()) + qAbs(seen.green() - colour.green())
                            + qAbs(seen.blue() - colour.blue()) < 60)
                        return true;
                }
            }
            return false;
        };
        const auto allDrawn = [&](const char *after) {
            // The window's own redraw of the view, with the cached frame.
            QCoreApplication::processEvents();
            tick(w);
            QCoreApplication::processEvents();
            for (const Mark &mark : marks) {
                QVERIFY2(plot->xAxis->range().contains(mark.x) && plot->yAxis->range().contains(mark.y),
                         qPrintable(QStringLiteral("%1 out of view after %2").arg(mark.trace, after)));
                QVERIFY2(drawn(mark), qPrintable(QStringLiteral("%1 lost after %2").arg(mark.trace, after)));
            }
        };
        allDrawn("gathering");
        if (QTest::currentTestFailed())
            return;

        // One notch of the wheel over the spectrum's left part.
        const QPointF at = PlotPointer(plot).pixelOf(200, 400);
        QWheelEvent wheel(at, QPointF(plot->mapToGlobal(at.toPoint())), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot, &wheel);
        QVERIFY(plot->xAxis->range().size() < 1500);
        allDrawn("a zoom");
        if (QTest::currentTestFailed())
            return;

        const double left = plot->xAxis->range().lower;
        w.ui->horizontalScrollBar->setValue(w.ui->horizontalScrollBar->value() - 20);
        QVERIFY(plot->xAxis->range().lower <= left - 19);
        allDrawn("a scroll");
        if (QTest::currentTestFailed())
            return;

        const QSize before = plot->size();
        plot->window()->resize(plot->window()->size() + QSize(120, 90));
        QTRY_VERIFY(plot->size() != before);
        allDrawn("a resize");
    }

    void captureShowsReferencesMovedBySliders()
    {
        VeskInterface w;
        FrameRecipe recipe;
        recipe.logic = true;
        configure(w, recipe);
        // The settings replay at start-up places every trace at its slider.
        QCOMPARE(w.ch1Position, w.plotYRange / 2 + w.ui->ch1PositionSlider->value());
        QCOMPARE(w.chdPosition, w.plotYRange / 2 + w.ui->chdPositionSlider->value());
        const int position = 200 - w.plotYRange / 2;
        w.ui->ch1PositionSlider->setValue(position);
        QCOMPARE(w.ch1Position, 200);
        w.ui->captureButton->click();
        QVERIFY(w.captureRequest);
        const QByteArray captured = makeFrame(recipe);
        deliver(w, captured);
        tick(w);
        QVERIFY(!w.captureRequest);
        QCOMPARE(w.ui->ch1CaptureSlider->minimum(), -72);
        QCOMPARE(w.ui->ch1CaptureSlider->maximum(), 952);
        QCOMPARE(w.ui->ch1CaptureSlider->value(), 0);

        const double capturedY = plotY(recipe.ch1Sample(9), position);
        recipe.ch1Sample = [](int) { return 0; };
        const QByteArray later = makeFrame(recipe);
        w.ui->refCH1->setChecked(true);
        w.ui->refLogic->setChecked(true);
        w.ui->ch1CaptureSlider->setValue(50);
        deliver(w, later);
        tick(w);
        QCOMPARE(valuesOf(w.ch1RefGraph).at(9), capturedY + 50);
        QCOMPARE(valuesOf(w.ch1Graph).at(9), 200.0);
        QCOMPARE(w.logicRefGraphs[2]->dataCount(), 256);
        QCOMPARE(w.ch2RefGraph->dataCount(), 0);
    }

    void spectrumFromTheFftCheckBox()
    {
        VeskInterface w;
        FrameRecipe recipe;
        recipe.ch2 = true;
        recipe.ch1Sample = [](int) { return 10; };
        configure(w, recipe);
        // The box is disabled on the form; only code switches the spectrum on.
        QVERIFY(!w.ui->checkBoxFFTTrace->isEnabled());
        w.ui->checkBoxFFTTrace->setChecked(true);
        w.ui->checkBoxFFTCH1->setChecked(true);
        w.ui->checkBoxFFTCH2->setChecked(true);
        w.ui->radioButtonRect->setChecked(true);
        w.fftWindowFunctionSet();
        const QByteArray bytes = makeFrame(recipe);
        deliver(w, bytes);
        tick(w);
        QCOMPARE(w.fftCh1Graph->dataCount(), 128);
        QCOMPARE(w.fftCh2Graph->dataCount(), 128);
        // Bin 0 of a constant 10: (2560, 2560), drawn at 0.05 of its magnitude.
        QVERIFY(qAbs(valuesOf(w.fftCh1Graph).first() - 0.05 * std::hypot(2560.0, 2560.0)) < 1e-6);
        QCOMPARE(keysOf(w.fftCh1Graph).last(), 254.0);

        w.ui->checkBoxIQFFT->setChecked(true);
        w.fftControlsPlotSet();
        QVERIFY(!w.ui->groupBoxPlot->isEnabled());
        w.replotRequest = true;
        tick(w);
        QCOMPARE(w.fftCh1Graph->dataCount(), 128);
        QCOMPARE(w.fftCh2Graph->dataCount(), 0);
        QVERIFY(!w.ui->checkBoxFFTTrace->isEnabled());
    }

    // Only the first 256 samples are transformed: a window over the whole
    // frame would leave their end untapered and smear a clean tone.
    void spectrumWindowFitsTheTransformedSamples()
    {
        {
            QSettings settings;
            settings.setValue("FFT/Trace", true);
            settings.setValue("FFT/Window", "Hann");
        }
        VeskInterface w;
        QSettings().clear();
        QVERIFY(w.ui->checkBoxFFTTrace->isChecked());
        QVERIFY(!w.ui->checkBoxFFTTrace->isEnabled());
        FrameRecipe recipe;
        recipe.blocks = 3;
        // Sixteen whole periods in the transformed samples: bin 16 exactly.
        recipe.ch1Sample = [](int i) { return int(std::lround(60 * std::sin(2 * M_PI * 16 * i / 256))); };
        configure(w, recipe);
        const QByteArray bytes = makeFrame(recipe);
        deliver(w, bytes);
        tick(w);
        const QVector<double> bins = valuesOf(w.fftCh1Graph);
        QCOMPARE(bins.size(), 128);
        QVERIFY(bins.at(16) > 100);
        for (int far : {8, 24, 40, 100})
            QVERIFY2(bins.at(far) < 0.005 * bins.at(16), qPrintable(QString::number(far)));
    }

    void measurementDisplays_data()
    {
        QTest::addColumn<bool>("onDevice");
        QTest::newRow("device records") << true;
        QTest::newRow("software measurement") << false;
    }

    void measurementDisplays()
    {
        QFETCH(bool, onDevice);
        VeskInterface w;
        FrameRecipe recipe;
        recipe.blocks = 3;
        recipe.ch2 = true;
        // CH1: square wave, 40 samples a period, +-64 raw; CH2 flat: no period.
        recipe.ch1Sample = [](int i) { return i % 40 < 20 ? 64 : -64; };
        recipe.ch2Sample = [](int) { return 5; };
        configure(w, recipe);
        w.ui->checkBoxmeterondev->setChecked(onDevice);
        QByteArray bytes = makeFrame(recipe);
        auto *data = reinterpret_cast<unsigned char *>(bytes.data());
        const std::size_t n = 768;
        channela_t record = ScopeFrame::defaultRecord();
        record.gain = 4; // 0.4V/div
        record.timeBase = 7;
        record.max = 64;
        record.min = -64;
        record.period = 4000;
        record.rms = 64 * 128;
        record.average = 0;
        ScopeFrame::writeRecord(record, data + ScopeFrame::ch1RecordOffset(n, 0x03));
        record.max = record.min = 5;
        record.period = 0;
        record.rms = record.average = 5 * 128;
        ScopeFrame::writeRecord(record, data + ScopeFrame::ch2RecordOffset(n, 0x03));
        deliver(w, bytes);
        tick(w);
        // The readings are shown with the replot that follows the frame.
        QTRY_VERIFY(!w.replotPacer.pending());

        // 0.4 V/div: a raw unit is 0.4 / 40.96 V; the displays round to
        // within one.
        const double volt = 0.4 / 40.96;
        const auto near = [volt](MultimeterDisplay *display, double raw) {
            return qAbs(shown(display).toDouble() - raw * volt) < volt;
        };
        QVERIFY(near(w.ui->multimeterdisplayVppCh1, 128));
        QVERIFY(near(w.ui->multimeterdisplayMaxCh1, 64));
        QVERIFY(near(w.ui->multimeterdisplayMinCh1, -64));
        QVERIFY(near(w.ui->multimeterdisplayRMSCh1, 64));
        QVERIFY(near(w.ui->multimeterdisplayAverCh1, 0));
        // 40 samples at 1ms/div (16 samples a division): 2.5 ms, 400 Hz.
        QCOMPARE(shown(w.ui->multimeterdisplayFreqCh1).toDouble(), 400.0);
        // No period: not a number, never infinity.
        QCOMPARE(shown(w.ui->multimeterdisplayFreqCh2), QStringLiteral("NaN"));
        QVERIFY(near(w.ui->multimeterdisplayAverCh2, 5));
    }

    void automaticTimeCursorsFollowTheCrossings()
    {
        VeskInterface w;
        FrameRecipe recipe;
        recipe.ch1Sample = [](int i) { return i % 40 < 20 ? 64 : -64; };
        configure(w, recipe);
        w.ui->checkBoxmeterondev->setChecked(false);
        w.ui->comboBoxScopeCursorsHorizontalType->setCurrentIndex(1);
        w.ui->comboBoxScopeCursorsChannel->setCurrentIndex(0);
        const QByteArray bytes = makeFrame(recipe);
        deliver(w, bytes);
        tick(w);
        QCOMPARE(w.vCursorBPosition - w.vCursorAPosition, 80);

        // No period: the cursors stay.
        w.vCursorAPosition = 64;
        w.vCursorBPosition = 192;
        recipe.ch1Sample = [](int) { return 3; };
        const QByteArray flat = makeFrame(recipe);
        deliver(w, flat);
        tick(w);
        QCOMPARE(w.vCursorAPosition, 64);
        QCOMPARE(w.vCursorBPosition, 192);
    }

    void plotSetUp()
    {
        VeskInterface w;
        QCustomPlot *plot = w.ui->plotterWidget;
        QCOMPARE(plot->graphCount(), 48);
        QCOMPARE(plot->graph(0), w.ch1Graph);
        QCOMPARE(plot->graph(3), w.ch2RefGraph);
        QCOMPARE(plot->graph(4), w.ch1PersistenceGraphs[0]);
        QCOMPARE(plot->graph(5), w.ch2PersistenceGraphs[0]);
        QCOMPARE(plot->graph(22), w.logicGraphs[0]);
        QCOMPARE(plot->graph(24), w.logicRefGraphs[0]);
        QCOMPARE(plot->graph(47), w.fftCh2Graph);
        QCOMPARE(w.logicGraphs[3]->lineStyle(), QCPGraph::lsStepCenter);
        QCOMPARE(w.logicGraphs2[3]->selectable(), QCP::stNone);
        QCOMPARE(w.logicRefGraphs[3]->selectable(), QCP::stWhole);
        QCOMPARE(w.fftCh1Graph->lineStyle(), QCPGraph::lsImpulse);
        QCOMPARE(plot->xAxis->range(), QCPRange(0, 256));
        // Centred on the zero line, so traces show from the start.
        QCOMPARE(plot->yAxis->range(), QCPRange(384, 896));
        QCOMPARE(w.logicLabels[5]->text(), QStringLiteral("Bit 5"));
        // The settings replay has put the cursors' read-out in place of the set-up text.
        QVERIFY(w.vCursorFrequencyLabel->text().startsWith(QStringLiteral("1/ΔT = ")));
        QCOMPARE(w.ui->stopButton->text(), QStringLiteral("START"));
        for (QCPItemTracer *tracer : w.cursorTracers)
            QVERIFY(tracer && !tracer->visible());
        QVERIFY(w.ch1ZeroHead->visible() && !w.hCursorAHandle->visible());
    }

    void axisRangesStayInsideThePlot_data()
    {
        QTest::addColumn<QCPRange>("asked");
        QTest::addColumn<QCPRange>("kept");
        QTest::newRow("dragged below 0") << QCPRange(-40, 316) << QCPRange(0, 316);
        QTest::newRow("past the end") << QCPRange(1400, 1700) << QCPRange(1280, 1536);
        QTest::newRow("narrower than 256") << QCPRange(100, 200) << QCPRange(100, 356);
        QTest::newRow("inside") << QCPRange(300, 700) << QCPRange(300, 700);
    }

    void axisRangesStayInsideThePlot()
    {
        QFETCH(QCPRange, asked);
        QFETCH(QCPRange, kept);
        // A plot 1536 wide: three blocks.
        storeBlocks(3);
        VeskInterface w;
        w.ui->plotterWidget->xAxis->setRange(asked);
        QCOMPARE(w.ui->plotterWidget->xAxis->range(), kept);
        QCOMPARE(w.ui->horizontalScrollBar->value(), int(kept.lower));
        QCOMPARE(w.ui->horizontalScrollBar->pageStep(), int(kept.size()));
    }

    void readoutsFollowTheRightAndBottomEdges()
    {
        VeskInterface w;
        w.ui->plotterWidget->resize(600, 400);
        QVERIFY(QMetaObject::invokeMethod(&w, "on_sizeChanged", Qt::DirectConnection));
        QCOMPARE(w.vCursorDeltaLabel->position->coords(), QPointF(575, 40));
        QCOMPARE(w.vCursorFrequencyLabel->position->coords(), QPointF(575, 55));
        QCOMPARE(w.hCursorDeltaLabel->position->coords(), QPointF(450, 355));
        QCOMPARE(w.hCursorBLabel->position->coords(), QPointF(450, 340));
        QCOMPARE(w.hCursorALabel->position->coords(), QPointF(450, 325));
    }

    void scrollBarsMoveTheView()
    {
        storeBlocks(3);
        VeskInterface w;
        QCustomPlot *plot = w.ui->plotterWidget;
        QCOMPARE(w.ui->verticalScrollBar->maximum(), 768);
        QCOMPARE(w.ui->verticalScrollBar->value(), 384);
        // The bar runs top-down: its maximum is the bottom of the plot.
        w.ui->verticalScrollBar->setValue(768);
        QCOMPARE(plot->yAxis->range(), QCPRange(0, 512));
        w.ui->horizontalScrollBar->setValue(500);
        QCOMPARE(plot->xAxis->range(), QCPRange(500, 756));
        QCOMPARE(w.ui->horizontalScrollBar->value(), 500);
        w.ui->verticalScrollBar->setValue(0);
        QCOMPARE(plot->yAxis->range(), QCPRange(768, 1280));
        QCOMPARE(w.ui->verticalScrollBar->value(), 0);
    }

    void scatterStyles_data()
    {
        QTest::addColumn<bool>("vectors");
        QTest::addColumn<bool>("xy");
        QTest::addColumn<bool>("lines");
        QTest::newRow("vectors") << true << false << true;
        QTest::newRow("vectors in XY mode") << true << true << false;
        QTest::newRow("dots") << false << false << false;
    }

    void scatterStyles()
    {
        QFETCH(bool, vectors);
        QFETCH(bool, xy);
        QFETCH(bool, lines);
        VeskInterface w;
        w.ui->xyMode->setChecked(xy);
        w.setupScatterStyles(vectors);
        for (QCPGraph *graph : {w.ch1Graph, w.ch2RefGraph, w.ch2PersistenceGraphs[8]}) {
            QCOMPARE(graph->lineStyle(), lines ? QCPGraph::lsLine : QCPGraph::lsNone);
            QCOMPARE(graph->scatterStyle().shape(), lines ? QCPScatterStyle::ssNone : QCPScatterStyle::ssDot);
        }
        QCOMPARE(w.logicGraphs[0]->lineStyle(), QCPGraph::lsStepCenter);
    }

    void themes_data()
    {
        QTest::addColumn<int>("theme");
        QTest::addColumn<QColor>("ch2");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("axes");
        QTest::addColumn<QColor>("grid");
        QTest::addColumn<QColor>("readouts");
        QTest::addColumn<QColor>("bit3");
        QTest::newRow("dark") << 0 << QColor(150, 150, 150) << QColor(Qt::black) << QColor(Qt::white)
                              << QColor(140, 140, 140) << QColor(75, 229, 28) << QColor(225, 34, 4);
        QTest::newRow("light") << 1 << QColor(Qt::red) << QColor(Qt::white) << QColor(Qt::black)
                               << QColor(200, 200, 200) << QColor(Qt::red) << QColor(64, 3, 240);
    }

    void themes()
    {
        QFETCH(int, theme);
        QFETCH(QColor, ch2);
        QFETCH(QColor, background);
        QFETCH(QColor, axes);
        QFETCH(QColor, grid);
        QFETCH(QColor, readouts);
        QFETCH(QColor, bit3);
        VeskInterface w;
        w.scopeOptions->theme = theme;
        emit w.customTheme.applyCustomTheme(theme, nullptr);
        QCOMPARE(w.ch1Graph->pen().color(), QColor(75, 229, 28));
        QCOMPARE(w.ch1Graph->pen().widthF(), 2.0);
        QCOMPARE(w.ch2Graph->pen().color(), ch2);
        QCOMPARE(w.ch2RefGraph->pen().color(), QColor(75, 229, 28));
        QCOMPARE(w.logicGraphs[3]->pen().color(), bit3);
        QCOMPARE(w.logicRefGraphs[3]->pen().color(), QColor(Qt::blue));
        w.ui->plotterWidget->resize(400, 300);
        QCOMPARE(w.ui->plotterWidget->toPixmap(400, 300).toImage().pixelColor(1, 1), background);
        QCOMPARE(w.ui->plotterWidget->xAxis2->basePen().color(), axes);
        QCOMPARE(w.ui->plotterWidget->yAxis->grid()->pen().color(), grid);
        QCOMPARE(w.ui->plotterWidget->yAxis->grid()->pen().style(), Qt::DotLine);
        QCOMPARE(w.hCursorALabel->color(), readouts);
        QCOMPARE(w.vCursorDeltaLabel->color(), readouts);
        QCOMPARE(w.ui->ch2ColorLabel->styleSheet(),
                 QStringLiteral("QLabel { background-color : ") + ch2.name() + QStringLiteral("; }"));
        QCOMPARE(w.ch1PersistenceGraphs[0]->pen().width(), 1);
        QCOMPARE(w.ch1PersistenceGraphs[8]->pen().width(), 0);
        // Dark shades the logic bits towards their base lines; light keeps
        // a fill made by an earlier dark theme.
        QCOMPARE(w.logicGraphs[3]->channelFillGraph(), w.logicGraphs2[3]);
    }

    void unknownThemeKeepsThePens()
    {
        VeskInterface w;
        const QColor before = w.ch2Graph->pen().color();
        emit w.customTheme.applyCustomTheme(5, nullptr);
        QCOMPARE(w.ch2Graph->pen().color(), before);
    }

    void screenshotWithTraces()
    {
        VeskInterface w;
        w.resize(1280, 800);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        FrameRecipe recipe;
        recipe.ch2 = true;
        recipe.logic = true;
        recipe.blocks = 3;
        recipe.ch1Sample = [](int i) { return int(std::lround(90 * std::sin(2 * M_PI * i / 128.0))); };
        recipe.ch2Sample = [](int i) { return i % 96 < 48 ? 50 : -50; };
        recipe.logicByte = [](int i) { return i / 8; };
        configure(w, recipe);
        w.ui->checkBoxmeterondev->setChecked(false);
        w.ui->ch2PositionSlider->setValue(-250);
        w.ui->chdPositionSlider->setValue(-560);
        w.ui->plotterWidget->yAxis->setRange(0, 1280);
        w.ui->plotterWidget->xAxis->setRange(0, 1536);
        const QByteArray bytes = makeFrame(recipe);
        deliver(w, bytes);
        tick(w);
        QCoreApplication::processEvents();
        const QImage image = w.grab().toImage();
        QVERIFY(image.save(VeskTest::artifactPath(QStringLiteral("scope-traces.png"))));
        // Some CH1 green on the black plot.
        const QImage plot = w.ui->plotterWidget->grab().toImage();
        bool green = false;
        for (int y = 0; y < plot.height() && !green; ++y)
            for (int x = 0; x < plot.width() && !green; ++x)
                green = plot.pixelColor(x, y) == QColor(75, 229, 28);
        QVERIFY(green);
    }
};

VESK_TEST_MAIN(TestScopeTraces)
#include "tst_scopetraces.moc"
