// The plot view: graphs, tracers, read-outs, cursor and marker items, grid
// and axes, created once; and the fixed plot coordinates they share.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "persistenceimage.h"
#include "protocol.h"
#include "scopegraph.h"
#include "scopeoptions.h"

namespace {

const QColor cursorBlue(QStringLiteral("#1692e5"));
const QColor vCursorRed(QStringLiteral("#e04e4e"));
const QColor zeroOrange(QStringLiteral("#f9a94c"));
constexpr int handlePixelX = 14;
constexpr int zeroHeadPixelX = 2;
constexpr int xTicksPerSpan = 8;
constexpr int yTickStep = 64;
constexpr int initialYSpan = 512;
const QString tracesLayerName = QStringLiteral("traces");
const QString markersLayerName = QStringLiteral("markers");
const QString persistenceLayerName = QStringLiteral("persistence");

ScopeGraph *addGraph(QCustomPlot *plot, QCPGraph::LineStyle style, bool selectable)
{
    auto *graph = new ScopeGraph(plot->xAxis, plot->yAxis);
    graph->setLineStyle(style);
    graph->setSelectable(selectable ? QCP::stWhole : QCP::stNone);
    return graph;
}

QFont readoutFont()
{
    QFont font(QStringLiteral("Courier New"), 10, 63);
    font.setItalic(false);
    return font;
}

QCPItemText *addText(QCustomPlot *plot, const QString &text, QPointF pixel, Qt::Alignment alignment)
{
    auto *item = new QCPItemText(plot);
    item->setFont(readoutFont());
    item->setText(text);
    item->position->setType(QCPItemPosition::ptAbsolute);
    item->position->setCoords(pixel);
    item->setPositionAlignment(alignment);
    item->setSelectable(false);
    item->setVisible(false);
    return item;
}

QPen dottedPen(const QColor &color)
{
    return QPen(QBrush(color, Qt::SolidPattern), 1, Qt::DotLine, Qt::SquareCap, Qt::BevelJoin);
}

QCPItemPixmap *addHandle(QCustomPlot *plot, const QString &picture, QPointF pixel, bool visible)
{
    auto *handle = new QCPItemPixmap(plot);
    handle->setPixmap(QPixmap(picture));
    handle->topLeft->setType(QCPItemPosition::ptAbsolute);
    handle->topLeft->setPixelPosition(pixel);
    handle->setVisible(visible);
    return handle;
}

// A dotted line hanging from an anchor of its handle: horizontal from the
// right anchor, vertical from the bottom one.
QCPItemStraightLine *addHangingLine(QCustomPlot *plot, QCPItemAnchor *anchor, bool vertical,
                                    const QColor &color, bool visible)
{
    auto *line = new QCPItemStraightLine(plot);
    line->setPen(dottedPen(color));
    line->setSelectable(false);
    line->point1->setParentAnchor(anchor);
    line->point2->setParentAnchor(anchor);
    line->point2->setCoords(vertical ? QPointF(0, 10) : QPointF(10, 0));
    line->setVisible(visible);
    return line;
}

QSharedPointer<QCPAxisTickerFixed> fixedTicker(double step)
{
    auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
    ticker->setTickStep(step);
    ticker->setScaleStrategy(QCPAxisTickerFixed::ssNone);
    return ticker;
}

} // namespace

void VeskInterface::setupGrid(QCustomPlot *plot)
{
    // A frame changes the traces and the markers that follow them; each set
    // has a buffer of its own, so a frame redraws only those two, while the
    // background, grid and axes stay in theirs until the view changes.
    plot->addLayer(tracesLayerName, plot->layer(QStringLiteral("main")), QCustomPlot::limAbove);
    plot->addLayer(markersLayerName, plot->layer(tracesLayerName), QCustomPlot::limAbove);
    plot->layer(tracesLayerName)->setMode(QCPLayer::lmBuffered);
    plot->layer(markersLayerName)->setMode(QCPLayer::lmBuffered);
    // Nothing here uses the overlay: it shares the axes' buffer.
    plot->layer(QStringLiteral("overlay"))->setMode(QCPLayer::lmLogical);
    plot->setCurrentLayer(tracesLayerName);
    setupGraphs(plot);
    // Whatever is added later redraws with every frame too.
    plot->setCurrentLayer(markersLayerName);
    setupItemLabels(plot);
    setupCursors(plot);
    setupTracers(plot);
    setTheme(scopeOptions->theme, customTheme.colors());

    const auto xTicker = fixedTicker(samplesPerDivision / xTicksPerSpan);
    const auto yTicker = fixedTicker(yTickStep);
    plot->xAxis->setTickLabels(false);
    plot->xAxis->setTicker(xTicker);
    plot->xAxis->setRange(0, samplesPerDivision);
    plot->yAxis->setTickLabels(false);
    plot->yAxis->setTicker(yTicker);
    // The view starts centred on the zero line, where the traces are.
    plot->yAxis->setRange(plotYRange / 2 - initialYSpan / 2, plotYRange / 2 + initialYSpan / 2);
    plot->axisRect()->setupFullAxesBox(false);
    // The full axes box copies ranges, not tickers.
    plot->xAxis2->setTicker(xTicker);
    plot->yAxis2->setTicker(yTicker);
    plot->axisRect()->setRangeDrag(Qt::Horizontal);
    const auto rangeChanged = qOverload<const QCPRange &>(&QCPAxis::rangeChanged);
    connect(plot->xAxis, rangeChanged, plot->xAxis2, qOverload<const QCPRange &>(&QCPAxis::setRange));
    connect(plot->yAxis, rangeChanged, plot->yAxis2, qOverload<const QCPRange &>(&QCPAxis::setRange));
    connect(plot->xAxis, rangeChanged, this, &VeskInterface::xAxisChanged);
    connect(plot->yAxis, rangeChanged, this, &VeskInterface::yAxisChanged);
    for (QCPAxis *axis : {plot->xAxis, plot->yAxis})
        connect(axis, rangeChanged, this, [this] { plotViewChanged = true; });
    plot->setInteractions(QCP::iRangeZoom);
    plot->axisRect()->setRangeZoomFactor(0.8);
    // Wide pens dominate the replot; fast polylines keep a full frame within the tick.
    plot->setPlottingHint(QCP::phFastPolylines, true);
}

void VeskInterface::setupGraphs(QCustomPlot *plot)
{
    plot->setNoAntialiasingOnDrag(true);
    ScopeGraph *ch1 = addGraph(plot, QCPGraph::lsLine, true);
    ScopeGraph *logic[TraceBuilder::logicChannels];
    ScopeGraph *logic2[TraceBuilder::logicChannels];
    ch1Graph = ch1;
    ch1RefGraph = addGraph(plot, QCPGraph::lsLine, true);
    ScopeGraph *ch2 = addGraph(plot, QCPGraph::lsLine, true);
    ch2Graph = ch2;
    ch2RefGraph = addGraph(plot, QCPGraph::lsLine, true);
    for (int i = 0; i < FrameHistory::maxDepth; ++i) {
        ch1PersistenceGraphs[i] = addGraph(plot, QCPGraph::lsLine, true);
        ch2PersistenceGraphs[i] = addGraph(plot, QCPGraph::lsLine, true);
    }
    for (int bit = 0; bit < TraceBuilder::logicChannels; ++bit) {
        logicGraphs[bit] = logic[bit] = addGraph(plot, QCPGraph::lsStepCenter, false);
        logicGraphs2[bit] = logic2[bit] = addGraph(plot, QCPGraph::lsStepCenter, false);
        logicRefGraphs[bit] = addGraph(plot, QCPGraph::lsStepCenter, true);
    }
    ScopeGraph *fftCh1 = addGraph(plot, QCPGraph::lsImpulse, true);
    ScopeGraph *fftCh2 = addGraph(plot, QCPGraph::lsImpulse, true);
    fftCh1Graph = fftCh1;
    fftCh2Graph = fftCh2;

    // The gathered traces lie beneath the live ones, references and items,
    // in a buffer of their own that grows with every frame.
    plot->addLayer(persistenceLayerName, plot->layer(tracesLayerName), QCustomPlot::limBelow);
    plot->layer(persistenceLayerName)->setMode(QCPLayer::lmBuffered);
    QVector<ScopeGraph *> gathered = {ch1, ch2, fftCh1, fftCh2};
    for (ScopeGraph *const *bits : {logic, logic2})
        gathered += QVector<ScopeGraph *>(bits, bits + TraceBuilder::logicChannels);
    persistenceImage = new PersistenceImage(plot, persistenceLayerName, gathered);
}

void VeskInterface::setupTracers(QCustomPlot *plot)
{
    // A and B on CH1, then A and B on CH2.
    const int keys[4] = {vCursorAPosition, vCursorBPosition, vCursorAPosition, vCursorBPosition};
    for (int i = 0; i < 4; ++i) {
        auto *tracer = new QCPItemTracer(plot);
        tracer->setPen(QPen(cursorBlue));
        tracer->setBrush(QBrush(cursorBlue, Qt::SolidPattern));
        tracer->setStyle(QCPItemTracer::tsCircle);
        tracer->setSize(7);
        tracer->setInterpolating(true);
        tracer->setGraphKey(keys[i]);
        tracer->setVisible(false);
        cursorTracers[i] = tracer;
    }
}

void VeskInterface::setupItemLabels(QCustomPlot *plot)
{
    for (int bit = 0; bit < TraceBuilder::logicChannels; ++bit) {
        QCPItemText *label = addText(plot, QStringLiteral("Bit %1").arg(bit), QPointF(0, 0),
                                     Qt::AlignLeft | Qt::AlignVCenter);
        label->position->setType(QCPItemPosition::ptPlotCoords);
        label->setClipToAxisRect(false);
        label->setColor(Qt::red);
        logicLabels[bit] = label;
    }
    vCursorDeltaLabel = addText(plot, QStringLiteral("ΔT = 0 ms"), QPointF(225, 502),
                                Qt::AlignRight | Qt::AlignVCenter);
    vCursorFrequencyLabel = addText(plot, QStringLiteral(" 1/ΔT = 0 ms "), QPointF(225, 487),
                                    Qt::AlignRight | Qt::AlignVCenter);
    hCursorDeltaLabel = addText(plot, QStringLiteral("ΔV = 0 V"), QPointF(200, 15),
                                Qt::AlignLeft | Qt::AlignVCenter);
    hCursorBLabel = addText(plot, QStringLiteral("Vb = 0 V"), QPointF(200, 30),
                            Qt::AlignLeft | Qt::AlignVCenter);
    hCursorALabel = addText(plot, QStringLiteral("Va = 0 V"), QPointF(200, 45),
                            Qt::AlignLeft | Qt::AlignVCenter);
    ui->stopButton->setText(tr("START"));
    ui->pauseSnifferButton->setText(tr("Pause"));
}

void VeskInterface::setupCursors(QCustomPlot *plot)
{
    const auto pixelY = [plot](double coordinate) { return plot->yAxis->coordToPixel(coordinate); };
    const auto leftHandle = [&](const QString &picture, double coordinate, bool visible) {
        return addHandle(plot, picture, QPointF(handlePixelX, pixelY(coordinate)), visible);
    };

    hCursorAHandle = leftHandle(QStringLiteral(":/icons/HcursorCA.png"), hCursorCh1AValue, false);
    hCursorALine = addHangingLine(plot, hCursorAHandle->right, false, cursorBlue, false);
    hCursorBHandle = leftHandle(QStringLiteral(":/icons/HcursorCB.png"), hCursorCh1BValue, false);
    hCursorBLine = addHangingLine(plot, hCursorBHandle->right, false, cursorBlue, false);

    vCursorAHandle = addHandle(plot, QStringLiteral(":/icons/VcursorC.png"), QPointF(150, 10), false);
    vCursorAHandle->setClipToAxisRect(false);
    vCursorALine = addHangingLine(plot, vCursorAHandle->bottom, true, vCursorRed, false);
    vCursorBHandle = addHandle(plot, QStringLiteral(":/icons/VcursorC.png"), QPointF(100, 10), false);
    vCursorBLine = addHangingLine(plot, vCursorBHandle->bottom, true, vCursorRed, false);

    const int centre = plotYRange / 2;
    ch1ZeroHead = addHandle(plot, QStringLiteral(":/icons/chan1-zero.png"),
                            QPointF(zeroHeadPixelX, pixelY(centre + ch1Position)), true);
    ch1ZeroHead->setClipToAxisRect(false);
    ch1ZeroIndicatorLines[0] = addHangingLine(plot, ch1ZeroHead->right, false, zeroOrange, true);
    ch1ZeroVerticalHead = addHandle(plot, QStringLiteral(":/icons/chan1v-zero.png"), QPointF(256, 1), false);
    ch1ZeroIndicatorLines[1] = addHangingLine(plot, ch1ZeroVerticalHead->bottom, true, zeroOrange, false);
    ch2ZeroHead = addHandle(plot, QStringLiteral(":/icons/chan2-zero.png"),
                            QPointF(zeroHeadPixelX, pixelY(centre + ch2Position)), true);
    ch2ZeroIndicatorLine = addHangingLine(plot, ch2ZeroHead->right, false, zeroOrange, true);
    chdZeroHead = addHandle(plot, QStringLiteral(":/icons/chanL-zero.png"), QPointF(zeroHeadPixelX, 20), true);
    chdZeroIndicatorLine = addHangingLine(plot, chdZeroHead->right, false, zeroOrange, true);

    const auto marker = [plot](const QString &picture, QPointF coordinates) {
        auto *item = new QCPItemPixmap(plot);
        item->setPixmap(QPixmap(picture));
        item->topLeft->setCoords(coordinates);
        item->setVisible(false);
        return item;
    };
    triggerMarker = marker(QStringLiteral(":/icons/dualr.png"), QPointF(150, 220));
    triggerWin1Marker = marker(QStringLiteral(":/icons/risingg.png"), QPointF(150, 250));
    triggerWin2Marker = marker(QStringLiteral(":/icons/fallingg.png"), QPointF(150, 250));
}

double VeskInterface::xyKeysPerPlotY() const
{
    // One vertical grid division of CH1 spans one horizontal division.
    return samplesPerDivision / double(xTicksPerSpan) / yTickStep;
}

double VeskInterface::xyZeroKey() const
{
    return ui->plotterWidget->xAxis->range().center() + ui->ch1PositionSlider->value() * xyKeysPerPlotY();
}

void VeskInterface::gridBoxSet(const QColor &color, Qt::PenStyle style)
{
    gridPen = QPen(QBrush(color, Qt::SolidPattern), 1, style, Qt::SquareCap, Qt::BevelJoin);
    ui->plotterWidget->xAxis->grid()->setPen(gridPen);
    ui->plotterWidget->yAxis->grid()->setPen(gridPen);
}

void VeskInterface::displayGridStyleChanged(int style)
{
    switch (style) {
    case 0:
        gridPenStyle = Qt::NoPen;
        break;
    case 1:
        gridPenStyle = Qt::DotLine;
        break;
    case 2:
    case 3:
        gridPenStyle = Qt::SolidLine;
        break;
    default:
        break;
    }
    gridBoxSet(gridColor, gridPenStyle);
}

void VeskInterface::displayControlsSet()
{
    ch1Pen.setWidth(2);
    ch2Pen.setWidth(2);
    ch1Graph->setPen(ch1Pen);
    ch2Graph->setPen(ch2Pen);
}

void VeskInterface::setupScatterStyles(bool vectors)
{
    // XY points are not in key order, so they are never joined.
    const bool lines = vectors && !ui->xyMode->isChecked();
    const QCPScatterStyle style(lines ? QCPScatterStyle::ssNone : QCPScatterStyle::ssDot, 6);
    const QCPGraph::LineStyle lineStyle = lines ? QCPGraph::lsLine : QCPGraph::lsNone;
    QVector<QCPGraph *> graphs = {ch1Graph, ch1RefGraph, ch2Graph, ch2RefGraph};
    for (int i = 0; i < FrameHistory::maxDepth; ++i)
        graphs << ch1PersistenceGraphs[i] << ch2PersistenceGraphs[i];
    for (QCPGraph *graph : graphs) {
        graph->setScatterStyle(style);
        graph->setLineStyle(lineStyle);
    }
}

int VeskInterface::logicBitPos0(int bit) const
{
    return TraceBuilder::logicBaseLine(bit, ui->chdSizeSlider->value(), ui->chdPositionSlider->value(),
                                       plotYRange);
}

void VeskInterface::logicLabelPositionSet(int position)
{
    const QRect visible = ui->plotterWidget->axisRect()->rect();
    if (position == 0)
        logicLabelX = visible.left() + 46;
    else if (position == 1)
        logicLabelX = visible.right() - 50;
}

void VeskInterface::logicLabelsRefresh()
{
    logicLabelPositionSet(scopeOptions->logicLabelPosition);
    const int size = ui->chdSizeSlider->value();
    QCPAxis *xAxis = ui->plotterWidget->xAxis;
    for (int bit = 0; bit < TraceBuilder::logicChannels; ++bit)
        logicLabels[bit]->position->setCoords(xAxis->pixelToCoord(logicLabelX),
                                              logicBitPos0(bit) + size / 6 + 5);
}

void VeskInterface::scopeSetSizeX(int blocks)
{
    // Callers pass the block count of a checked frame; the clamp keeps the
    // extents ordered whatever arrives.
    blocks = qBound(1, blocks, int(ScopeFrame::maxBlocks));
    triggerPostMin = 4;
    triggerLevelMin = -125;
    triggerLevelMax = 125;
    triggerWinLevelMin = -125;
    triggerWinLevelMax = 125;
    triggerWinGap = 16;
    plotXRange = 512 * blocks;
    scopeSizeX = int(ScopeFrame::blockSamples) * blocks;
    triggerPostMax = qMin(scopeSizeX - 8, 32767);
    triggerRefreshPos();
    instrumentCommands.sendMainConfiguration(CFG_TRIGGER_POST,
                                             scopeSizeX - triggerCoords[triggerChannel].post);
    vCursorRangeMin = 8;
    vCursorRangeMax = plotXRange - 8;
    vCursorRefresh();
    xAxisChanged(ui->plotterWidget->xAxis->range());
}

void VeskInterface::scopeReplot()
{
    // The readings of the last processed frame: a figure that changes with
    // every frame is shown no more often than the traces are.
    scopeShowMeasurements();
    QCustomPlot *plot = ui->plotterWidget;
    if (plotViewChanged) {
        plotViewChanged = false;
        plot->replot();
        return;
    }
    // A layer whose buffer is stale redraws the whole plot itself.
    plot->layer(persistenceLayerName)->replot();
    plot->layer(tracesLayerName)->replot();
    plot->layer(markersLayerName)->replot();
}
