// The acquisition data path: the 4 ms tick, the frame cache and the drawing
// of a frame.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "fftspectrum.h"
#include "framemeasurement.h"
#include "persistenceimage.h"
#include "protocol.h"
#include "scopeframecheck.h"
#include "scopevalues.h"

#include <cmath>
#include <cstring>

void VeskInterface::dataShow()
{
    switch (mainMode) {
    case MODE_SCOPE:
        scopeDataShow();
        break;
    case MODE_SNIFFER:
        sniffDataShow();
        break;
    default:
        break;
    }
    // Only the oscilloscope serves redraw requests; the next one wakes the timer.
    if (!libUsbDevice.connected && !(replotRequest && mainMode == MODE_SCOPE)) {
        dataTimer.stop();
        dataTickIdle = true;
    }
}

void VeskInterface::requestReplot()
{
    replotRequest = true;
    // Only a tick that stopped itself is woken: one stopped on purpose
    // (closing, a test holding the frames) stays stopped.
    if (dataTickIdle) {
        dataTickIdle = false;
        dataTimer.start(dataTimerInterval);
    }
}

void VeskInterface::scopeDataShow()
{
    if (!scopeAcceptRead() && !replotRequest)
        return;
    scopeProcessFrame();
}

bool VeskInterface::scopeAcceptRead()
{
    LibUsbDevice &device = libUsbDevice;
    if (!device.dataReady || !device.receiveBuffer)
        return false;
    const int expected = ScopeFrameCheck::expectedLength(
        ui->checkBoxCH1Trace->isChecked(), ui->checkBoxCH2Trace->isChecked(),
        ui->checkBoxCHDTrace->isChecked(), ui->comboBoxADCBuffer->currentIndex());
    const ScopeFrameCheck::Result result =
        ScopeFrameCheck::check(device.receiveBuffer, device.receivedCount, expected);
    switch (result.verdict) {
    case ScopeFrameCheck::Verdict::LengthMismatch:
        return false;
    case ScopeFrameCheck::Verdict::InvalidTag:
        // The read stays pending and is looked at every tick until the next
        // one replaces it; it is reported once.
        if (device.receiveBuffer != warnedReadBuffer) {
            warnedReadBuffer = device.receiveBuffer;
            logToFile(result.message, 2);
        }
        return false;
    case ScopeFrameCheck::Verdict::InconsistentHeader:
        logToFile(result.message, 2);
        device.dataReady = false;
        return false;
    case ScopeFrameCheck::Verdict::Accepted:
        break;
    }
    std::memcpy(frameCache, device.receiveBuffer, std::size_t(device.receivedCount));
    return true;
}

void VeskInterface::scopeProcessFrame()
{
    // A redraw asked for may come from any setting, the view's included.
    plotViewChanged = plotViewChanged || replotRequest;
    libUsbDevice.dataReady = false;
    replotRequest = false;
    warnedReadBuffer = nullptr;

    TraceBuilder::Settings settings;
    settings.plotYRange = plotYRange;
    settings.ch1Position = ui->ch1PositionSlider->value();
    settings.ch2Position = ui->ch2PositionSlider->value();
    settings.logicPosition = ui->chdPositionSlider->value();
    settings.logicSize = ui->chdSizeSlider->value();
    settings.rollMode = ui->rollMode->isChecked() && ui->rollMode->isEnabled();
    settings.xyMode = ui->xyMode->isChecked();
    settings.xyZeroKey = xyZeroKey();
    settings.xyKeysPerRaw = TraceBuilder::plotUnitsPerRaw * xyKeysPerPlotY();
    TraceBuilder::Traces &traces = frameTraces;
    if (!TraceBuilder::build(frameCache, int(sizeof frameCache), settings, &traces)) {
        // Only checked frames reach the cache; this is a safeguard.
        logToFile(QStringLiteral("Scope data: cached frame has no readable layout"), 2);
        return;
    }
    const frameconfig_t &header = traces.header;
    if (traces.sampleCount != scopeSizeX)
        scopeSetSizeX(traces.sampleCount / int(ScopeFrame::blockSamples));

    showCH1ZeroVerticalIndicator(traces.hasCh1);
    showCH2ZeroVerticalIndicator(traces.hasCh2);
    showCHDZeroVerticalIndicator(traces.hasLogic);
    hCursorSetChannelEnabled(0, traces.hasCh1);
    hCursorSetChannelEnabled(1, traces.hasCh2);
    hCursorSetChannelEnabled(2, traces.hasLogic);
    ui->timeLabel->setText(QStringLiteral("Time = ") + ScopeValues::timeBaseText(header.timeBase));

    // Measured every frame; shown with the replot (scopeReplot).
    FrameMeasurement::measure(frameCache, ui->checkBoxmeterondev->isChecked(), &traces);

    if (ui->comboBoxScopeCursorsHorizontalType->currentIndex() == 1) {
        const int channel = ui->comboBoxScopeCursorsChannel->currentIndex();
        const channela_t *record = nullptr;
        if (channel == 0 && traces.hasCh1)
            record = &traces.ch1Record;
        else if (channel == 1 && traces.hasCh2)
            record = &traces.ch2Record;
        if (record)
            TraceBuilder::crossingCursorPositions(*record, traces.ringStart, traces.sampleCount, vCursorRangeMin,
                                                  vCursorRangeMax, &vCursorAPosition, &vCursorBPosition);
    }
    if (settings.xyMode)
        vCursorSetVisible(false);
    cursorTimeBaseIndex = qMin(int(header.timeBase), ScopeValues::timeBaseCount - 1);
    vCursorRefresh();
    zeroHeadRefresh();
    updateCh1Label(traces.ch1Record.control, traces.ch2Record.control);
    updateCh2Label(traces.ch2Record.control, traces.ch1Record.control);

    const int decay = ui->decaySlider->value();
    ch1History.append(traces.ch1, decay);
    ch2History.append(traces.ch2, decay);
    for (int h = qBound(0, decay, FrameHistory::maxDepth); h < FrameHistory::maxDepth; ++h) {
        clearTrace(ch1PersistenceGraphs[h]);
        clearTrace(ch2PersistenceGraphs[h]);
    }

    if (captureRequest) {
        captureRequest = false;
        const auto ch1Range = TraceReferences::analogCaptureRange(ch1Position, plotYRange);
        const auto ch2Range = TraceReferences::analogCaptureRange(ch2Position, plotYRange);
        const auto logicRange = TraceReferences::logicCaptureRange(chdPosition, plotYRange);
        ui->ch1CaptureSlider->setRange(ch1Range.first, ch1Range.second);
        ui->ch1CaptureSlider->setValue(0);
        ui->ch2CaptureSlider->setRange(ch2Range.first, ch2Range.second);
        ui->ch2CaptureSlider->setValue(0);
        ui->chdCaptureSlider->setRange(logicRange.first, logicRange.second);
        ui->chdCaptureSlider->setValue(0);
        references.capture(traces);
    }

    if (waveLoaded) {
        traces.ch1 = ch1WaveData;
        traces.ch2 = ch2WaveData;
        for (int bit = 0; bit < TraceBuilder::logicChannels; ++bit) {
            traces.logicLevels[bit] = logicWaveData[bit];
            traces.logicBaselines[bit].clear();
        }
    }
    wavePlayStep(traces);
    waveSaveStep(traces);

    const bool persistence = ui->checkBoxPersistence->isChecked();
    if (persistence != persistenceWasOn) {
        // What an earlier persistence run painted is never shown again.
        persistenceImage->clear();
        persistenceWasOn = persistence;
    }
    ui->plotterWidget->setPersistenceDrawing(persistence);
    if (settings.xyMode) {
        clearTrace(ch1Graph);
        clearTrace(ch2Graph);
        for (int h = 0; h < FrameHistory::maxDepth; ++h) {
            clearTrace(ch1PersistenceGraphs[h]);
            clearTrace(ch2PersistenceGraphs[h]);
        }
        // CH1 is the key, so the points are not in key order.
        ch1Graph->setData(traces.keys, traces.ch2, false);
        ch1Graph->rescaleValueAxis(true);
        // The XY figure shows its own frame only.
        persistenceImage->clear();
    } else {
        scopeDrawAnalog(ch1Graph, ch1PersistenceGraphs, ch1RefGraph, traces.ch1, ch1History,
                        ui->refCH1->isChecked() ? references.ch1(ui->ch1CaptureSlider->value())
                                                : QVector<double>(),
                        traces.hasCh1, persistence);
        scopeDrawAnalog(ch2Graph, ch2PersistenceGraphs, ch2RefGraph, traces.ch2, ch2History,
                        ui->refCH2->isChecked() ? references.ch2(ui->ch2CaptureSlider->value())
                                                : QVector<double>(),
                        traces.hasCh2, persistence);
        scopeDrawLogic();
        scopeDrawSpectrum();
        // Every processed frame is gathered, replotted or not.
        if (persistence)
            persistenceImage->addFrame(persistenceMeaning(traces));
    }

    // After drawing, so tracking cursors sit on this frame's traces.
    const bool hCursorsOn = ui->checkBoxScopeCursorsHorizontal->isChecked();
    hCursorcSetPositionAuto(hCursorsOn, traces.ch1MaxY, traces.ch1MinY, traces.ch2MaxY, traces.ch2MinY);
    hCursorRefreshLabel(hCursorsOn, traces.ch1Record.gain, traces.ch2Record.gain);

    waveRecordStep(traces);

    replotPacer.request();
}

PersistenceImage::Meaning VeskInterface::persistenceMeaning(const TraceBuilder::Traces &traces)
{
    // Where a channel is absent its gain stays as it was: switching a trace
    // off and on again changes nothing the others gathered.
    PersistenceImage::Meaning meaning = persistenceImage->meaning();
    meaning.width = plotXRange;
    meaning.height = plotYRange;
    meaning.timeBase = traces.header.timeBase;
    if (traces.hasCh1)
        meaning.ch1Gain = traces.ch1Record.gain;
    if (traces.hasCh2)
        meaning.ch2Gain = traces.ch2Record.gain;
    meaning.spectrumWindow = int(fftWindow.type());
    meaning.spectrumLogarithmic = ui->checkBoxLogY->isChecked();
    meaning.spectrumComplex = ui->checkBoxIQFFT->isChecked();
    return meaning;
}

void VeskInterface::scopeShowMeasurements()
{
    struct ChannelDisplays
    {
        bool present;
        const channela_t &record;
        MultimeterDisplay *vpp, *max, *min, *rms, *average, *frequency;
    };
    const ChannelDisplays channels[] = {
        {frameTraces.hasCh1, frameTraces.ch1Record, ui->multimeterdisplayVppCh1,
         ui->multimeterdisplayMaxCh1, ui->multimeterdisplayMinCh1, ui->multimeterdisplayRMSCh1,
         ui->multimeterdisplayAverCh1, ui->multimeterdisplayFreqCh1},
        {frameTraces.hasCh2, frameTraces.ch2Record, ui->multimeterdisplayVppCh2,
         ui->multimeterdisplayMaxCh2, ui->multimeterdisplayMinCh2, ui->multimeterdisplayRMSCh2,
         ui->multimeterdisplayAverCh2, ui->multimeterdisplayFreqCh2},
    };
    for (const ChannelDisplays &channel : channels) {
        if (!channel.present)
            continue;
        const FrameMeasurement::Readings values = FrameMeasurement::readings(channel.record);
        channel.vpp->setValue(values.vpp);
        channel.max->setValue(values.max);
        channel.min->setValue(values.min);
        channel.rms->setValue(values.rms);
        channel.average->setValue(values.average);
        if (std::isnan(values.frequency))
            channel.frequency->setNaN();
        else
            channel.frequency->setValue(values.frequency);
    }
}

void VeskInterface::scopeDrawAnalog(QCPGraph *graph, QCPGraph *const *persistenceGraphs,
                                    QCPGraph *refGraph, const QVector<double> &values,
                                    const FrameHistory &history, const QVector<double> &reference,
                                    bool present, bool persistence)
{
    // What is drawn again is compared, not cleared first. While persistence
    // is on the graph holds this frame only: the persistence image keeps the rest.
    const QVector<double> &keys = frameTraces.keys;
    if (present)
        setTrace(graph, keys, values);
    else
        clearTrace(graph);
    if (!persistence) {
        const int shown = present ? history.size() : 0;
        for (int h = 0; h < shown; ++h)
            setTrace(persistenceGraphs[h], keys, history.frames().at(h));
        for (int h = shown; h < FrameHistory::maxDepth; ++h)
            clearTrace(persistenceGraphs[h]);
    }
    if (reference.isEmpty())
        clearTrace(refGraph);
    else
        setTrace(refGraph, keys, reference);
}

void VeskInterface::scopeDrawLogic()
{
    const QVector<double> &keys = frameTraces.keys;
    const bool referenceShown = ui->refLogic->isChecked();
    logicLabelsRefresh();
    for (int bit = 0; bit < TraceBuilder::logicChannels; ++bit) {
        bool labelShown = false;
        if (frameTraces.hasLogic && chdBitEnabled[bit]) {
            setTrace(logicGraphs[bit], keys, frameTraces.logicLevels[bit]);
            setTrace(logicGraphs2[bit], keys, frameTraces.logicBaselines[bit]);
            labelShown = true;
        } else {
            clearTrace(logicGraphs[bit]);
            clearTrace(logicGraphs2[bit]);
        }
        if (referenceShown && chdBitEnabled[bit]) {
            setTrace(logicRefGraphs[bit], keys, references.logic(bit, ui->chdCaptureSlider->value()));
            labelShown = true;
        } else {
            clearTrace(logicRefGraphs[bit]);
        }
        logicLabels[bit]->setVisible(labelShown);
    }
}

void VeskInterface::scopeDrawSpectrum()
{
    clearTrace(fftCh1Graph);
    clearTrace(fftCh2Graph);
    if (!ui->checkBoxFFTTrace->isChecked())
        return;
    const std::size_t n = std::size_t(frameTraces.sampleCount);
    const uint8_t mask = frameTraces.header.channelMask;
    const auto samples = [this](bool present, std::size_t offset) {
        return present ? reinterpret_cast<const signed char *>(frameCache + offset) : nullptr;
    };
    Spectrum::Settings settings;
    settings.complexInput = ui->checkBoxIQFFT->isChecked();
    settings.ch1 = ui->checkBoxFFTCH1->isChecked();
    settings.ch2 = ui->checkBoxFFTCH2->isChecked();
    settings.logarithmic = ui->checkBoxLogY->isChecked();
    settings.ringStart = frameTraces.ringStart;
    const Spectrum::Traces spectrum = Spectrum::compute(
        samples(frameTraces.hasCh1, ScopeFrame::ch1BlockOffset()),
        samples(frameTraces.hasCh2, ScopeFrame::ch2BlockOffset(n, mask)), frameTraces.sampleCount,
        fftWindow.weights(qMin(frameTraces.sampleCount, Spectrum::transformSize)), settings);
    if (!spectrum.ch1.isEmpty())
        fftCh1Graph->setData(spectrum.keys, spectrum.ch1, true);
    if (!spectrum.ch2.isEmpty())
        fftCh2Graph->setData(spectrum.keys, spectrum.ch2, true);
}

void VeskInterface::clearTrace(QCPGraph *graph)
{
    graph->data()->clear();
}

void VeskInterface::setTrace(QCPGraph *graph, const QVector<double> &keys, const QVector<double> &values)
{
    // A trace that did not change (a reference, a loaded wave, a redrawn
    // frame) keeps its data: comparing costs less than rebuilding it.
    const int count = qMin(keys.size(), values.size());
    const QCPGraphDataContainer &data = *graph->data();
    bool same = data.size() == count;
    auto point = data.constBegin();
    for (int i = 0; same && i < count; ++i, ++point)
        same = point->key == keys.at(i) && point->value == values.at(i);
    if (!same)
        graph->setData(keys.mid(0, count), values.mid(0, count), true);
}

void VeskInterface::scopeInitDatacache()
{
    const frameconfig_t header = ScopeFrameCheck::emptyHeader(
        ui->checkBoxCH1Trace->isChecked(), ui->checkBoxCH2Trace->isChecked(),
        ui->checkBoxCHDTrace->isChecked(), ui->comboBoxADCBuffer->currentIndex(),
        ui->samplingSlider->value());
    ScopeFrame::writeHeader(header, frameCache);
}

void VeskInterface::fftWindowFunctionSet()
{
    FftWindow::Type type = FftWindow::Hann;
    if (ui->radioButtonRect->isChecked())
        type = FftWindow::Rectangular;
    else if (ui->radioButtonHamming->isChecked())
        type = FftWindow::Hamming;
    else if (ui->radioButtonHann->isChecked())
        type = FftWindow::Hann;
    else if (ui->radioButtonBlackman->isChecked())
        type = FftWindow::Blackman;
    fftWindow.setType(type);
}

void VeskInterface::fftControlsPlotSet()
{
    ui->groupBoxPlot->setEnabled(!ui->checkBoxIQFFT->isChecked());
}
