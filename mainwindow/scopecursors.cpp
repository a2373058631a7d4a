// The measuring cursors of the oscilloscope plot with their read-outs, the
// channels' zero markers and the tracers that put the horizontal cursors on
// a trace.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "cursorreadouts.h"

namespace {

constexpr int hCursorHandleX = 14;
constexpr int vCursorHandleY = 12;
constexpr int zeroHeadX = 2;
// XY mode puts CH1's zero on this x.
constexpr int xyZeroKey = 256;

enum HorizontalCursorType { Track = 0, Automatic = 1, Manual = 2 };

// A handle is placed by the tip its line hangs from, so the line runs
// through the coordinate: the middle of the right edge of a sideways handle,
// of the bottom edge of an upright one.
void placeSideways(QCPItemPixmap *handle, double left, double y)
{
    handle->topLeft->setPixelPosition(QPointF(left, y - handle->pixmap().height() / 2.0));
}

void placeUpright(QCPItemPixmap *handle, double x, double top)
{
    handle->topLeft->setPixelPosition(QPointF(x - handle->pixmap().width() / 2.0, top));
}

} // namespace

// ---- slots ----

void VeskInterface::on_checkBoxCursorVertical_clicked()
{
    cursorsVerticalChanged(ui->checkBoxCursorVertical->isChecked());
}

void VeskInterface::on_checkBoxScopeCursorsHorizontal_clicked()
{
    cursorsHorizontalChanged(ui->checkBoxScopeCursorsHorizontal->isChecked());
}

void VeskInterface::on_comboBoxScopeCursorsChannel_currentIndexChanged(int index)
{
    cursorsSetChannelActive(index);
}

void VeskInterface::on_comboBoxScopeCursorsHorizontalType_currentIndexChanged(int index)
{
    cursorsHorizontalTypeSet(index);
}

// ---- vertical (time) cursors ----

void VeskInterface::vCursorSetVisible(bool visible)
{
    vCursorVisible = visible;
    for (QCPAbstractItem *item : std::initializer_list<QCPAbstractItem *>{
             vCursorAHandle, vCursorBHandle, vCursorALine, vCursorBLine, vCursorDeltaLabel, vCursorFrequencyLabel})
        item->setVisible(visible);
}

void VeskInterface::vCursorRefreshA()
{
    vCursorPlaceHandle(vCursorAHandle, vCursorAPosition);
}

void VeskInterface::vCursorRefreshB()
{
    vCursorPlaceHandle(vCursorBHandle, vCursorBPosition);
}

void VeskInterface::vCursorPlaceHandle(QCPItemPixmap *handle, int &position)
{
    if (!vCursorVisible)
        return;
    position = qBound(vCursorRangeMin, position, vCursorRangeMax);
    placeUpright(handle, ui->plotterWidget->xAxis->coordToPixel(position), vCursorHandleY);
}

void VeskInterface::vCursorRefresh()
{
    vCursorRefreshA();
    vCursorRefreshB();
    ch1vZeroRefresh();
    vCursorRefreshLabel();
}

void VeskInterface::vCursorRefreshLabel()
{
    if (!vCursorVisible)
        return;
    const CursorReadouts::TimeTexts texts =
        CursorReadouts::timeTexts(vCursorAPosition, vCursorBPosition, cursorTimeBaseIndex);
    vCursorDeltaLabel->setText(texts.delta);
    vCursorFrequencyLabel->setText(texts.frequency);
}

void VeskInterface::cursorsVerticalChanged(bool on)
{
    // XY mode has no time axis to measure on.
    vCursorSetVisible(on && !ui->xyMode->isChecked());
    vCursorRefresh();
    requestReplot();
}

void VeskInterface::vCursorSetLabelColor(const QColor &color)
{
    vCursorLabelColor = color;
    vCursorDeltaLabel->setColor(color);
    vCursorFrequencyLabel->setColor(color);
}

// ---- horizontal (voltage) cursors ----

void VeskInterface::hCursorSetVisible(bool visible)
{
    hCursorVisible = visible;
    hCursorRefreshVisible();
}

void VeskInterface::hCursorSetChannelEnabled(int channel, bool enabled)
{
    hCursorChannels[channel].enabled = enabled;
    hCursorRefreshVisible();
}

void VeskInterface::hCursorRefreshVisible()
{
    const bool visible = hCursorChannels[hCursorChannel].enabled && hCursorVisible;
    for (QCPAbstractItem *item : std::initializer_list<QCPAbstractItem *>{
             hCursorAHandle, hCursorBHandle, hCursorALine, hCursorBLine, hCursorALabel, hCursorBLabel,
             hCursorDeltaLabel})
        item->setVisible(visible);
}

int VeskInterface::hCursorZeroLine(int channel) const
{
    return channel == 1 ? ch2Position : ch1Position;
}

int &VeskInterface::hCursorLevel(int channel, bool cursorA)
{
    if (channel == 1)
        return cursorA ? hCursorCh2AValue : hCursorCh2BValue;
    return cursorA ? hCursorCh1AValue : hCursorCh1BValue;
}

void VeskInterface::hCursorRefreshA()
{
    hCursorPlaceDragged(hCursorAHandle, hCursorAPosition, true);
}

void VeskInterface::hCursorRefreshB()
{
    hCursorPlaceDragged(hCursorBHandle, hCursorBPosition, false);
}

void VeskInterface::hCursorPlaceDragged(QCPItemPixmap *handle, int &coordinate, bool cursorA)
{
    const int zero = hCursorZeroLine(hCursorChannel);
    coordinate = CursorReadouts::clampHorizontal(coordinate, zero, plotYRange);
    hCursorLevel(hCursorChannel, cursorA) = coordinate - zero;
    placeSideways(handle, hCursorHandleX, ui->plotterWidget->yAxis->coordToPixel(coordinate));
}

void VeskInterface::hCursorPlaceHandles(int channel)
{
    const int zero = hCursorZeroLine(channel);
    QCPAxis *yAxis = ui->plotterWidget->yAxis;
    placeSideways(hCursorAHandle, hCursorHandleX, yAxis->coordToPixel(zero + hCursorLevel(channel, true)));
    placeSideways(hCursorBHandle, hCursorHandleX, yAxis->coordToPixel(zero + hCursorLevel(channel, false)));
}

void VeskInterface::hCursorRefreshLabel(bool on, int ch1Gain, int ch2Gain)
{
    if (!on)
        return;
    const int channel = hCursorChannel;
    const CursorReadouts::VoltTexts texts = CursorReadouts::voltTexts(
        hCursorLevel(channel, true), hCursorLevel(channel, false), channel == 1 ? ch2Gain : ch1Gain);
    hCursorALabel->setText(texts.a);
    hCursorBLabel->setText(texts.b);
    hCursorDeltaLabel->setText(texts.delta);
}

void VeskInterface::hCursorcSetPositionAuto(bool on, double a1, double b1, double a2, double b2)
{
    const int channel = hCursorChannel;
    if (!on || !hCursorChannels[channel].enabled)
        return;
    const int zero = hCursorZeroLine(channel);
    switch (ui->comboBoxScopeCursorsHorizontalType->currentIndex()) {
    case Automatic:
        // A on the trace's highest point, B on its lowest.
        hCursorLevel(channel, true) = CursorReadouts::traceLevel(channel == 1 ? a2 : a1, zero, plotYRange);
        hCursorLevel(channel, false) = CursorReadouts::traceLevel(channel == 1 ? b2 : b1, zero, plotYRange);
        break;
    case Track: {
        QCPGraph *graph = channel == 1 ? ch2Graph : ch1Graph;
        QCPItemTracer *tracerA = cursorTracers[2 * channel];
        QCPItemTracer *tracerB = cursorTracers[2 * channel + 1];
        // Where the time cursors cross the trace.
        for (QCPItemTracer *tracer : {tracerA, tracerB}) {
            tracer->setGraph(graph);
            tracer->setGraphKey(tracer == tracerA ? vCursorAPosition : vCursorBPosition);
            tracer->updatePosition();
        }
        hCursorLevel(channel, true) = CursorReadouts::traceLevel(tracerA->position->value(), zero, plotYRange);
        hCursorLevel(channel, false) = CursorReadouts::traceLevel(tracerB->position->value(), zero, plotYRange);
        break;
    }
    default:
        return;
    }
    hCursorPlaceHandles(channel);
}

void VeskInterface::hCursorSetTracerVisible(bool visible)
{
    const int channel = ui->comboBoxScopeCursorsChannel->currentIndex();
    for (int i = 0; i < 4; ++i)
        cursorTracers[i]->setVisible(visible && i / 2 == channel);
}

void VeskInterface::hCursorSetLabelColor(const QColor &color)
{
    hCursorLabelColor = color;
    for (QCPItemText *label : {hCursorALabel, hCursorBLabel, hCursorDeltaLabel})
        label->setColor(color);
}

void VeskInterface::cursorsHorizontalChanged(bool on)
{
    // In XY mode CH1 lies on the x axis, where a level means nothing.
    const bool xyOnCh1 = ui->xyMode->isChecked() && ui->comboBoxScopeCursorsChannel->currentIndex() == 0;
    hCursorVisible = on && !xyOnCh1;
    hCursorRefreshVisible();
    requestReplot();
}

void VeskInterface::cursorsHorizontalTypeSet(int type)
{
    if (type == Track) {
        // Tracking needs the time cursors it tracks at.
        if (!ui->checkBoxCursorVertical->isChecked()) {
            ui->checkBoxCursorVertical->setChecked(true);
            cursorsVerticalChanged(true);
        }
        hCursorSetTracerVisible(true);
    } else {
        hCursorSetTracerVisible(false);
    }
    requestReplot();
}

void VeskInterface::cursorsSetChannelActive(int channel)
{
    cursorsHorizontalChanged(ui->checkBoxScopeCursorsHorizontal->isChecked());
    QColor color;
    if (channel == 0 || channel == 1) {
        hCursorChannel = channel;
        hCursorPlaceHandles(channel);
        color = (channel == 0 ? ch1Pen : ch2Pen).color();
    }
    hCursorRefreshVisible();
    vCursorSetLabelColor(color);
    hCursorSetLabelColor(color);
    hCursorSetTracerVisible(ui->comboBoxScopeCursorsHorizontalType->currentIndex() == Track);
    requestReplot();
}

// ---- zero markers ----

void VeskInterface::zeroHeadRefresh()
{
    QCPAxis *yAxis = ui->plotterWidget->yAxis;
    placeSideways(ch1ZeroHead, zeroHeadX, yAxis->coordToPixel(ch1Position));
    placeSideways(ch2ZeroHead, zeroHeadX, yAxis->coordToPixel(ch2Position));
    placeSideways(chdZeroHead, zeroHeadX, yAxis->coordToPixel(chdPosition));
}

void VeskInterface::ch1vZeroRefresh()
{
    if (ui->xyMode->isChecked())
        placeUpright(ch1ZeroVerticalHead, ui->plotterWidget->xAxis->coordToPixel(xyZeroKey), 1);
}

void VeskInterface::showCH1ZeroVerticalIndicator(bool on)
{
    const bool xy = ui->xyMode->isChecked();
    ch1ZeroHead->setVisible(on && !xy);
    ch1ZeroIndicatorLines[0]->setVisible(on && !xy);
    ch1ZeroVerticalHead->setVisible(on && xy);
    ch1ZeroIndicatorLines[1]->setVisible(on && xy);
}

void VeskInterface::showCH2ZeroVerticalIndicator(bool on)
{
    ch2ZeroHead->setVisible(on);
    ch2ZeroIndicatorLine->setVisible(on);
}

void VeskInterface::showCHDZeroVerticalIndicator(bool on)
{
    chdZeroHead->setVisible(on);
    chdZeroIndicatorLine->setVisible(on);
}
