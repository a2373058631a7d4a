// The plot: its value tables, scroll bars, resizing and range limits.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "scopevalues.h"

void VeskInterface::setupValues()
{
    timeBaseTexts = ScopeValues::timeBaseTexts();
    gainTexts = ScopeValues::gainTexts();
    gainBoxTitles = ScopeValues::gainBoxTitles();
    triggerIconsGreen = ScopeValues::triggerIconsGreen();
    triggerIconsRed = ScopeValues::triggerIconsRed();
}

void VeskInterface::setHorizontalScrollBar(int lower, int upper)
{
    ui->horizontalScrollBar->setPageStep(upper - lower);
    ui->horizontalScrollBar->setMaximum(lower + plotXRange - upper);
    ui->horizontalScrollBar->setValue(lower);
}

void VeskInterface::setVerticalScrollBar(int lower, int upper)
{
    ui->verticalScrollBar->setPageStep(upper - lower);
    ui->verticalScrollBar->setMaximum(lower + plotYRange - upper);
    ui->verticalScrollBar->setValue(plotYRange - upper);
}

void VeskInterface::on_sizeChanged()
{
    // Read-outs keep their distance to the plot's right and bottom edges. The
    // time read-outs stand below the band the time cursors' handles slide in,
    // which a narrow plot would otherwise put over their digits.
    const int right = ui->plotterWidget->width() - 1;
    const int bottom = ui->plotterWidget->height() - 1;
    vCursorDeltaLabel->position->setCoords(right - 24, 40);
    vCursorFrequencyLabel->position->setCoords(right - 24, 55);
    hCursorDeltaLabel->position->setCoords(right - 149, bottom - 44);
    hCursorBLabel->position->setCoords(right - 149, bottom - 59);
    hCursorALabel->position->setCoords(right - 149, bottom - 74);
    vCursorRefresh();
    triggerMarkersRefresh();
}

namespace {

// Keeps [lower, upper] inside [0, extent] and at least minSpan wide, moving
// the axis only where it was out of bounds.
QCPRange clampedRange(QCPAxis *axis, QCPRange range, int extent, int minSpan)
{
    if (range.lower < 0) {
        axis->setRangeLower(0);
        range.lower = 0;
    }
    if (range.lower > extent - minSpan) {
        axis->setRangeLower(extent - minSpan);
        range.lower = extent - minSpan;
    }
    if (range.upper > extent) {
        axis->setRangeUpper(extent);
        range.upper = extent;
    }
    if (range.upper < range.lower + minSpan) {
        axis->setRangeUpper(range.lower + minSpan);
        range.upper = range.lower + minSpan;
    }
    return QCPRange(int(range.lower), int(range.upper));
}

} // namespace

void VeskInterface::xAxisChanged(const QCPRange &range)
{
    QCustomPlot *plot = ui->plotterWidget;
    const QCPRange clamped = clampedRange(plot->xAxis, range, plotXRange, plotXMinSpan);
    hCursorPlaceHandles(ui->comboBoxScopeCursorsChannel->currentIndex() == 1 ? 1 : 0);
    if (ui->checkBoxCHDTrace->isChecked())
        logicLabelsRefresh();
    vCursorRefresh();
    triggerMarkersRefresh();
    setHorizontalScrollBar(int(clamped.lower), int(clamped.upper));
}

void VeskInterface::yAxisChanged(const QCPRange &range)
{
    const QCPRange clamped = clampedRange(ui->plotterWidget->yAxis, range, plotYRange, plotYMinSpan);
    if (ui->checkBoxCHDTrace->isChecked())
        logicLabelsRefresh();
    zeroHeadRefresh();
    triggerMarkersRefresh();
    setVerticalScrollBar(int(clamped.lower), int(clamped.upper));
}

void VeskInterface::horizontalScrollBarChanged(int value)
{
    QCPAxis *axis = ui->plotterWidget->xAxis;
    if (int(axis->range().lower) == value)
        return;
    // The range change sets the bar back to this value, which ends the exchange.
    axis->setRange(value, value + axis->range().size());
    ui->plotterWidget->replot();
}

void VeskInterface::verticalScrollBarChanged(int value)
{
    // The bar runs top-down, the axis bottom-up.
    const int lower = ui->verticalScrollBar->maximum() - value;
    QCPAxis *axis = ui->plotterWidget->yAxis;
    if (int(axis->range().lower) == lower)
        return;
    axis->setRange(lower, lower + axis->range().size());
    ui->plotterWidget->replot();
}
