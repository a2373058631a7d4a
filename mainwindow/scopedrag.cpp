// Direct handling of the plot: grabbing a cursor handle, trigger marker or
// zero marker with the left button and dragging it, renaming a text item by
// double-click, and the Ctrl and Shift keys that switch between panning and
// zooming the view.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "protocol.h"
#include "zeromarkergeometry.h"

#include <QInputDialog>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>

namespace {

// Ids of the draggable items in selectedItem.
enum DragItem {
    HCursorAItem = 0,
    HCursorBItem = 1,
    VCursorAItem = 2,
    VCursorBItem = 3,
    TriggerItem = 4,
    TriggerWin1Item = 5,
    TriggerWin2Item = 6,
    Ch1ZeroItem = 7,
    Ch2ZeroItem = 8,
    ChdZeroItem = 9,
    NoItem = 10
};

// Cursor handles lie over the zero markers and the markers over the trigger
// markers, so they are tried first.
constexpr DragItem grabOrder[] = {HCursorAItem, HCursorBItem, VCursorAItem,  VCursorBItem,    Ch1ZeroItem,
                                  Ch2ZeroItem,  ChdZeroItem,  TriggerItem,   TriggerWin1Item, TriggerWin2Item};
constexpr double grabDistance = 8;

bool isTriggerItem(int id)
{
    return id == TriggerItem || id == TriggerWin1Item || id == TriggerWin2Item;
}

// Halves away from zero, also left of and above the plot while dragging.
QPoint wholePixel(const QMouseEvent *event)
{
    return QPoint(int(std::lround(event->localPos().x())), int(std::lround(event->localPos().y())));
}

} // namespace

QCPItemPixmap *VeskInterface::dragItem(int id) const
{
    QCPItemPixmap *const items[] = {hCursorAHandle,    hCursorBHandle,    vCursorAHandle, vCursorBHandle,
                                    triggerMarker,     triggerWin1Marker, triggerWin2Marker,
                                    ch1ZeroHead,       ch2ZeroHead,       chdZeroHead};
    return id >= 0 && id < NoItem ? items[id] : nullptr;
}

QColor VeskInterface::dragHighlightColor(int id) const
{
    switch (id) {
    case HCursorAItem:
    case HCursorBItem:
        return QColor(QStringLiteral("#1692e5"));
    case VCursorAItem:
    case VCursorBItem:
        return QColor(QStringLiteral("#e04e4e"));
    case TriggerItem:
    case TriggerWin1Item:
    case TriggerWin2Item:
        // The trigger markers' own colours: green for CH1, red otherwise.
        return triggerSource == SOURCE_CH1 ? QColor(75, 229, 28) : QColor(QStringLiteral("#ff0000"));
    default:
        return QColor(QStringLiteral("#f9a94c"));
    }
}

void VeskInterface::selectItem(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF position = wholePixel(event);
    selectedItem = NoItem;
    for (DragItem id : grabOrder) {
        QCPItemPixmap *item = dragItem(id);
        // Only what is shown can be grabbed: a hidden handle or marker would
        // take the press meant for the visible item beneath it.
        if (!item->visible())
            continue;
        const double distance = item->selectTest(position, false);
        if (distance >= 0 && distance < grabDistance) {
            selectedItem = id;
            item->setPen(QPen(dragHighlightColor(id)));
            ui->plotterWidget->replot(QCustomPlot::rpQueuedReplot);
            return;
        }
    }
}

void VeskInterface::deselectItem(QMouseEvent *event)
{
    Q_UNUSED(event)
    selectedItem = NoItem;
    for (int id = 0; id < NoItem; ++id)
        dragItem(id)->setPen(Qt::NoPen);
    ui->plotterWidget->replot(QCustomPlot::rpQueuedReplot);
}

void VeskInterface::moveCursor(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) || selectedItem == NoItem)
        return;
    const QPoint pixel = wholePixel(event);
    const double x = ui->plotterWidget->xAxis->pixelToCoord(pixel.x());
    const double y = ui->plotterWidget->yAxis->pixelToCoord(pixel.y());
    switch (selectedItem) {
    case HCursorAItem:
        hCursorAPosition = int(y);
        hCursorRefreshA();
        break;
    case HCursorBItem:
        hCursorBPosition = int(y);
        hCursorRefreshB();
        break;
    case VCursorAItem:
        vCursorAPosition = int(x);
        vCursorRefreshA();
        break;
    case VCursorBItem:
        vCursorBPosition = int(x);
        vCursorRefreshB();
        break;
    case TriggerItem:
        triggerSetPositionCoord(x, y);
        break;
    case TriggerWin1Item:
        triggerSetPositionWin1Coord(int(x), int(y));
        break;
    case TriggerWin2Item:
        triggerSetPositionWin2Coord(int(x), int(y));
        break;
    case Ch1ZeroItem:
        zeroMarkerDrag(ui->ch1PositionSlider, false, pixel.y());
        break;
    case Ch2ZeroItem:
        zeroMarkerDrag(ui->ch2PositionSlider, false, pixel.y());
        break;
    case ChdZeroItem:
        zeroMarkerDrag(ui->chdPositionSlider, true, pixel.y());
        break;
    default:
        return;
    }
    if (isTriggerItem(selectedItem))
        triggerDragSend(selectedItem);
    requestReplot();
}

void VeskInterface::triggerDragSend(int id)
{
    // A free-running acquisition does not trigger: nothing to tell.
    if (ui->radioButtonFree->isChecked())
        return;
    const TriggerCoord &record = triggerCoords[triggerChannel];
    // Logic sources have no level.
    if (ui->comboBoxTrigSource->currentIndex() <= SOURCE_CH2) {
        if (id == TriggerItem)
            sendTriggerLevel(record.level);
        else if (id == TriggerWin1Item)
            sendTriggerWin1Level(record.win1Level);
        else
            sendTriggerWin2Level(record.win2Level);
    }
    sendTriggerPost(record.post);
}

void VeskInterface::zeroMarkerDrag(QSlider *positionSlider, bool logic, int pixelY)
{
    const ZeroMarkerGeometry::Span span = ZeroMarkerGeometry::span(logic, plotYRange);
    // Kept inside the span as a coordinate, so a pointer past its end gives
    // the end exactly, not the end through a pixel and back.
    const double coordinate = qBound<double>(span.lowest, ui->plotterWidget->yAxis->pixelToCoord(pixelY),
                                             span.highest);
    // The slider's change handler moves the marker, the trace, the cursor
    // handles and the trigger markers to the new zero line.
    positionSlider->setValue(ZeroMarkerGeometry::sliderValue(coordinate, logic, positionSlider->minimum(),
                                                             positionSlider->maximum(), plotYRange));
}

void VeskInterface::itemDoubleClick(QCPAbstractItem *item, QMouseEvent *event)
{
    Q_UNUSED(event)
    auto *text = qobject_cast<QCPItemText *>(item);
    if (!text)
        return;
    bool accepted = false;
    const QString label = QInputDialog::getText(this, tr("Rename"), tr("New Label:"), QLineEdit::Normal,
                                                text->text(), &accepted);
    if (!accepted)
        return;
    text->setText(label);
    ui->plotterWidget->replot(QCustomPlot::rpQueuedReplot);
}

void VeskInterface::keyPressEvent(QKeyEvent *event)
{
    // Ctrl pans the view with the left button, Shift zooms it vertically,
    // while held.
    if (event->key() == Qt::Key_Control)
        ui->plotterWidget->setInteractions(QCP::iRangeDrag);
    else if (event->key() == Qt::Key_Shift)
        ui->plotterWidget->axisRect()->setRangeZoom(Qt::Vertical);
}

void VeskInterface::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Control)
        ui->plotterWidget->setInteractions(QCP::iRangeZoom);
    else if (event->key() == Qt::Key_Shift)
        ui->plotterWidget->axisRect()->setRangeZoom(Qt::Horizontal);
}
