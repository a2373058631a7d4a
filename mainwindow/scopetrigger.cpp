// The oscilloscope's trigger: the panel's handlers, one record per source
// kind (CH1, CH2, logic with EXT and Schmitt), and the markers that show the
// current record's post and level on the plot.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "configencoding.h"
#include "protocol.h"
#include "triggergeometry.h"

#include <algorithm>

namespace {

enum TriggerModeIndex { risingEdgeMode = 0, fallingEdgeMode = 1, dualEdgeMode = 2, windowMode = 5 };
constexpr int logicRecord = 2;
// At slow time bases the frame rolls in from the left, so the markers stay
// at the left edge whatever the post (centre of the marker).
constexpr int slowSamplingMarkerX = 32;
// Entries of the icon lists the two window markers show.
constexpr int win1MarkerIcon = 6;
constexpr int win2MarkerIcon = 5;

// A marker's picture is centred on the point it marks, so the triggering
// edge shows under its middle and a drag moves that middle.
void placeMarker(QCPItemPixmap *marker, int x, int y)
{
    const QSizeF half = QSizeF(marker->pixmap().size()) / 2;
    marker->topLeft->setPixelPosition(QPointF(x - half.width(), y - half.height()));
}

} // namespace

// ---- form slots ----

void VeskInterface::on_comboBoxTrigSource_currentIndexChanged(int index)
{
    scopeTriggerSourceChanged(index);
}

void VeskInterface::on_radioButtonRisingEdge_clicked()
{
    scopeSetTriggerMode();
}

void VeskInterface::on_radioButtonFallingEdge_clicked()
{
    scopeSetTriggerMode();
}

void VeskInterface::on_radioButtonDual_clicked()
{
    scopeSetTriggerMode();
}

void VeskInterface::on_radioButtonPositiveSlope_clicked()
{
    scopeSetTriggerMode();
}

void VeskInterface::on_radioButtonNegativeSlope_clicked()
{
    scopeSetTriggerMode();
}

void VeskInterface::on_radioButtonWindow_clicked()
{
    scopeSetTriggerMode();
}

void VeskInterface::on_doubleSpinBoxTrigAuto_valueChanged(double value)
{
    scopeSetTriggerAutoTimer(value);
}

void VeskInterface::on_doubleSpinBoxTrigHold_valueChanged(double value)
{
    sendTriggerHold(int(value));
}

void VeskInterface::on_radioButtonFree_clicked()
{
    scopeSetTriggerType();
}

void VeskInterface::on_radioButtonNormal_clicked()
{
    scopeSetTriggerType();
}

void VeskInterface::on_radioButtonAuto_clicked()
{
    scopeSetTriggerType();
}

void VeskInterface::on_radioButtonSingle_clicked()
{
    scopeSetTriggerType();
}

int VeskInterface::on_forceButton_clicked()
{
    return libUsbDevice.controlWriteTransfer(REQ_RUN_CONTROL, RUN_FORCE_TRIGGER, 0);
}

void VeskInterface::on_checkBoxCH1Invert_toggled(bool)
{
    triggerFollowInvert(SOURCE_CH1);
}

void VeskInterface::on_checkBoxCH2Invert_toggled(bool)
{
    triggerFollowInvert(SOURCE_CH2);
}

// ---- panel handlers ----

void VeskInterface::scopeTriggerSourceChanged(int index)
{
    scopeSetTriggerType();
    // Record 0 for CH1, 1 for CH2, 2 for the logic bits, EXT and Schmitt.
    triggerSource = std::clamp(index, int(SOURCE_CH1), int(SOURCE_SCHMITT));
    triggerChannel = std::min(triggerSource, logicRecord);
    if (triggerSource >= SOURCE_LOGIC0 && triggerSource < SOURCE_EXT)
        triggerCoords[logicRecord].triggerBit = triggerSource - SOURCE_LOGIC0;
    triggerSetIcon();
    sendTriggerSource(triggerSource);
    const bool analog = triggerSource <= SOURCE_CH2;
    if (!analog && (ui->radioButtonWindow->isChecked() || ui->radioButtonPositiveSlope->isChecked()
                    || ui->radioButtonNegativeSlope->isChecked())) {
        ui->radioButtonRisingEdge->setChecked(true);
        scopeSetTriggerMode();
    }
    scopeSetTriggerModeButtonVisible(analog);
    triggerRefreshPos();
    const TriggerCoord &record = triggerCoords[triggerChannel];
    sendTriggerPost(record.post);
    sendTriggerLevel(std::clamp(record.level, -TRIGGER_LEVEL_LIMIT, TRIGGER_LEVEL_LIMIT));
    sendTriggerWin1Level(std::clamp(record.win1Level, -TRIGGER_LEVEL_LIMIT, TRIGGER_LEVEL_LIMIT));
    sendTriggerWin2Level(std::clamp(record.win2Level, -TRIGGER_LEVEL_LIMIT, TRIGGER_LEVEL_LIMIT));
}

void VeskInterface::scopeSetTriggerType()
{
    const bool free = ui->radioButtonFree->isChecked();
    ui->forceButton->setEnabled(!free);
    // In XY mode CH1 is the x axis: a level marker on it would mean nothing.
    const bool xyOnCh1 = ui->xyMode->isChecked() && ui->comboBoxTrigSource->currentIndex() == SOURCE_CH1;
    triggerSetVisible(!free && !xyOnCh1);
    sendTriggerControls();
    // A single shot is armed only by the START button.
    if (!ui->radioButtonSingle->isChecked())
        sendScopeStart();
    requestReplot();
}

void VeskInterface::scopeSetTriggerMode()
{
    const QRadioButton *modes[] = {ui->radioButtonRisingEdge,    ui->radioButtonFallingEdge,
                                   ui->radioButtonDual,          ui->radioButtonPositiveSlope,
                                   ui->radioButtonNegativeSlope, ui->radioButtonWindow};
    for (int mode = 0; mode < 6; ++mode) {
        if (modes[mode]->isChecked()) {
            triggerMode = mode;
            break;
        }
    }
    triggerSetIcon();
    triggerRefreshPos();
    triggerSetIcon();
    sendTriggerControls();
    if (triggerMode == windowMode) {
        // The refresh may have put the window levels in order; the
        // instrument must trigger where the markers stand.
        const TriggerCoord &record = triggerCoords[triggerChannel];
        sendTriggerWin1Level(record.win1Level);
        sendTriggerWin2Level(record.win2Level);
    }
}

void VeskInterface::scopeSetTriggerModeButtonVisible(bool visible)
{
    // Slopes and the window exist only for the analogue channels.
    for (QRadioButton *button : {ui->radioButtonWindow, ui->radioButtonPositiveSlope, ui->radioButtonNegativeSlope})
        button->setEnabled(visible);
}

void VeskInterface::scopeSetTriggerAutoTimer(double seconds)
{
    sendAutoTrigger(ConfigEncoding::autoTrigger(seconds));
}

// An inverted trace shows the other edge where the instrument sees this one:
// the edge and the level turn over with it, so the trigger stays on the
// same place of the trace.
void VeskInterface::triggerFollowInvert(int channel)
{
    if (triggerSource != channel)
        return;
    if (triggerMode == risingEdgeMode) {
        ui->radioButtonFallingEdge->setChecked(true);
        scopeSetTriggerMode();
    } else if (triggerMode == fallingEdgeMode) {
        ui->radioButtonRisingEdge->setChecked(true);
        scopeSetTriggerMode();
    } else if (triggerMode != dualEdgeMode) {
        return;
    }
    const TriggerCoord &record = triggerCoords[channel];
    triggerSetPosition(record.post, -record.level);
    sendTriggerLevel(record.level);
}

// ---- record values against the plot ----

int VeskInterface::triggerPosXIntToPixel(int post)
{
    return int(ui->plotterWidget->xAxis->coordToPixel(TriggerGeometry::postToPlotX(post)));
}

int VeskInterface::triggerPosYIntToPixel(int level)
{
    const TriggerCoord &record = triggerCoords[triggerChannel];
    return int(ui->plotterWidget->yAxis->coordToPixel(
        TriggerGeometry::levelToPlotY(level, record.channelOffset, plotYRange)));
}

int VeskInterface::triggerPosYPixelToInt(int y)
{
    return TriggerGeometry::plotYToLevel(y, triggerCoords[triggerChannel].channelOffset, plotYRange);
}

int VeskInterface::triggerPosYBit(int bit)
{
    const TriggerCoord &record = triggerCoords[logicRecord];
    return int(TriggerGeometry::logicBitPlotY(bit, record.channelSize, record.channelOffset, plotYRange));
}

void VeskInterface::triggerSetPosition(int post, int level)
{
    TriggerCoord &record = triggerCoords[triggerChannel];
    record.post = std::clamp(post, triggerPostMin, triggerPostMax);
    record.level = std::clamp(level, triggerLevelMin, triggerLevelMax);
    triggerMoveTrigger(triggerPosXIntToPixel(record.post), triggerPosYIntToPixel(record.level), false);
}

void VeskInterface::triggerSetPositionCoord(double x, double y)
{
    triggerSetPosition(TriggerGeometry::plotXToPost(x), triggerPosYPixelToInt(int(y)));
}

void VeskInterface::triggerSetPositionWin1(int post, int level)
{
    TriggerCoord &record = triggerCoords[triggerChannel];
    record.post = std::clamp(post, triggerPostMin, triggerPostMax);
    record.win1Level = TriggerGeometry::windowLowerLevel(level, record.win2Level, triggerWinLevelMin,
                                                         triggerWinLevelMax, triggerWinGap);
    triggerMoveWindowMarkers();
}

void VeskInterface::triggerSetPositionWin2(int post, int level)
{
    TriggerCoord &record = triggerCoords[triggerChannel];
    record.post = std::clamp(post, triggerPostMin, triggerPostMax);
    record.win2Level = TriggerGeometry::windowUpperLevel(level, record.win1Level, triggerWinLevelMin,
                                                         triggerWinLevelMax, triggerWinGap);
    triggerMoveWindowMarkers();
}

void VeskInterface::triggerSetPositionWin1Coord(int x, int y)
{
    triggerSetPositionWin1(TriggerGeometry::plotXToPost(x), triggerPosYPixelToInt(y));
}

void VeskInterface::triggerSetPositionWin2Coord(int x, int y)
{
    triggerSetPositionWin2(TriggerGeometry::plotXToPost(x), triggerPosYPixelToInt(y));
}

void VeskInterface::triggerRefreshPos()
{
    const TriggerCoord record = triggerCoords[triggerChannel];
    if (triggerMode == windowMode) {
        triggerSetPositionWin1(record.post, record.win1Level);
        triggerSetPositionWin2(record.post, record.win2Level);
    } else {
        triggerSetPosition(record.post, record.level);
    }
}

// ---- markers ----

// A marker's picture is set by pixels and offset by half its size from the
// trigger point, an offset that a zoom or resize would scale.
void VeskInterface::triggerMarkersRefresh()
{
    const TriggerCoord &record = triggerCoords[triggerChannel];
    triggerMoveTrigger(triggerPosXIntToPixel(record.post), triggerPosYIntToPixel(record.level), false);
    triggerMoveWindowMarkers();
}

void VeskInterface::triggerMoveWindowMarkers()
{
    const TriggerCoord &record = triggerCoords[triggerChannel];
    triggerMoveWinTrigger(triggerPosXIntToPixel(record.post), triggerPosYIntToPixel(record.win1Level),
                          triggerPosYIntToPixel(record.win2Level), false);
}

void VeskInterface::triggerMoveTrigger(int x, int y, bool force)
{
    if (!force && !triggerEnabled)
        return;
    // A logic source has no level: the marker sits on the chosen bit's trace.
    if (triggerChannel == logicRecord)
        y = int(ui->plotterWidget->yAxis->coordToPixel(triggerPosYBit(triggerCoords[logicRecord].triggerBit)));
    if (slowSamplingRate)
        x = slowSamplingMarkerX;
    placeMarker(triggerMarker, x, y);
}

void VeskInterface::triggerMoveWinTrigger(int x, int y1, int y2, bool force)
{
    if (!force && !triggerEnabled)
        return;
    if (slowSamplingRate)
        x = slowSamplingMarkerX;
    placeMarker(triggerWin1Marker, x, y1);
    placeMarker(triggerWin2Marker, x, y2);
}

void VeskInterface::triggerSetVisible(bool visible)
{
    triggerVisible = visible;
    const bool shown = triggerEnabled && visible;
    const bool window = triggerMode == windowMode;
    triggerMarker->setVisible(shown && !window);
    triggerWin1Marker->setVisible(shown && window);
    triggerWin2Marker->setVisible(shown && window);
}

void VeskInterface::triggerSetIcon()
{
    if (!triggerEnabled)
        return;
    triggerSetVisible(triggerVisible);
    // Green pictures for CH1, red ones for every other source.
    const QStringList &icons = triggerSource == SOURCE_CH1 ? triggerIconsGreen : triggerIconsRed;
    if (triggerMode == windowMode) {
        if (triggerSource > SOURCE_CH2)
            return;
        triggerWin1Marker->setPixmap(QPixmap(icons.value(win1MarkerIcon)));
        triggerWin2Marker->setPixmap(QPixmap(icons.value(win2MarkerIcon)));
    } else {
        triggerMarker->setPixmap(QPixmap(icons.value(triggerMode)));
    }
}
