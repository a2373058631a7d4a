// Handling the oscilloscope plot with the mouse and keyboard, through the
// real plot widget: which item a press grabs, the outline it gets and loses,
// dragging cursors, trigger markers and zero markers (with the read-outs,
// records and sliders they change), renaming a text item by double-click,
// and the Ctrl and Shift keys' pan and zoom modes.
#include "testmain.h"
#include "modalanswerer.h"
#include "plotpointer.h"
#include "scopeframefeeder.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "cursorreadouts.h"
#include "protocol.h"
#include "triggergeometry.h"
#include "zeromarkergeometry.h"

#include <QSettings>
#include <QWheelEvent>

#include <memory>
#include <optional>

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

const QColor cursorBlue(QStringLiteral("#1692e5"));
const QColor cursorRed(QStringLiteral("#e04e4e"));
const QColor zeroOrange(QStringLiteral("#f9a94c"));
const QColor triggerGreen(75, 229, 28);
const QColor triggerRed(QStringLiteral("#ff0000"));

void clearStore()
{
    QSettings settings;
    settings.clear();
    settings.sync();
}

void choose(QAbstractButton *button)
{
    if (!button->isChecked())
        button->click();
}

} // namespace

class TestPlotItemDrag : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<VeskInterface> window;
    std::unique_ptr<PlotPointer> pointer;
    QByteArray frame; // delivered bytes outlive the tick that reads them

    QCustomPlot *plot() const { return window->ui->plotterWidget; }

    // The draggable items by their selectedItem id.
    QCPItemPixmap *item(int id) const
    {
        QCPItemPixmap *const items[] = {window->hCursorAHandle,    window->hCursorBHandle,
                                        window->vCursorAHandle,    window->vCursorBHandle,
                                        window->triggerMarker,     window->triggerWin1Marker,
                                        window->triggerWin2Marker, window->ch1ZeroHead,
                                        window->ch2ZeroHead,       window->chdZeroHead};
        return items[id];
    }

    // Only the given items shown, so no other one lies under the pointer.
    void showOnly(const QList<int> &ids)
    {
        for (int id = 0; id < 10; ++id)
            item(id)->setVisible(ids.contains(id));
    }

    // A frame drawn with CH1 on, at 2 ms/div, so cursors measure on it.
    void showFrame()
    {
        ScopeFrameFeeder::FrameRecipe recipe;
        recipe.timeBase = 8;
        recipe.blocks = 3;
        ScopeFrameFeeder::configure(*window, recipe);
        frame = ScopeFrameFeeder::makeFrame(recipe);
        ScopeFrameFeeder::deliver(*window, frame);
        ScopeFrameFeeder::tick(*window);
        // That tick, finding no more work, marked the timer idle, and the
        // next redraw request would wake it behind the test's back.
        window->dataTickIdle = false;
    }

    void useTriggerSource(int source, bool windowCondition)
    {
        choose(window->ui->radioButtonNormal);
        window->ui->comboBoxTrigSource->setCurrentIndex(source);
        choose(windowCondition ? window->ui->radioButtonWindow : window->ui->radioButtonRisingEdge);
    }

private slots:
    void init()
    {
        clearStore();
        // The positions dragged to lie on the three-block frame showFrame draws.
        ScopeFrameFeeder::storeBlocks(3);
        window.reset(new VeskInterface);
        window->instrumentCommands.setBulkCollectMode(true);
        // Frames are drawn when a test ticks, not behind its back.
        window->dataTimer.stop();
        QVERIFY(PlotPointer::showWholePlot(plot(), window->plotXRange, window->plotYRange));
        pointer.reset(new PlotPointer(plot()));
    }
    void cleanup()
    {
        pointer.reset();
        window.reset();
    }

    // Items stacked on one pixel: the first in the test order that is shown
    // is grabbed and outlined in its colour; hidden ones are passed over.
    void grabOrder_data()
    {
        QTest::addColumn<QList<int>>("stacked");
        QTest::addColumn<QList<int>>("hidden");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("grabbed");
        QTest::addColumn<QColor>("outline");

        QTest::newRow("voltage cursor over the trigger marker") << QList<int>{4, 0} << QList<int>{} << 0 << 0
                                                                << cursorBlue;
        QTest::newRow("time cursor over a zero marker") << QList<int>{7, 3} << QList<int>{} << 0 << 3 << cursorRed;
        QTest::newRow("zero marker over a window marker") << QList<int>{5, 8} << QList<int>{} << 0 << 8
                                                          << zeroOrange;
        QTest::newRow("CH1 trigger marker") << QList<int>{4} << QList<int>{} << 0 << 4 << triggerGreen;
        QTest::newRow("CH2 window marker") << QList<int>{6} << QList<int>{} << 1 << 6 << triggerRed;
        QTest::newRow("logic zero marker") << QList<int>{9} << QList<int>{} << 0 << 9 << zeroOrange;
        QTest::newRow("hidden cursor over the trigger marker") << QList<int>{4, 1} << QList<int>{1} << 0 << 4
                                                               << triggerGreen;
        QTest::newRow("hidden marker alone") << QList<int>{4} << QList<int>{4} << 0 << 10 << QColor();
    }
    void grabOrder()
    {
        QFETCH(QList<int>, stacked);
        QFETCH(QList<int>, hidden);
        QFETCH(int, source);
        window->ui->comboBoxTrigSource->setCurrentIndex(source);
        showOnly(stacked);
        const QPointF spot(plot()->width() / 2, 200);
        for (int id : stacked) {
            item(id)->topLeft->setPixelPosition(spot);
            item(id)->setVisible(!hidden.contains(id));
        }
        plot()->replot();

        pointer->press(PlotPointer::centreOf(item(stacked.first())));

        QTEST(window->selectedItem, "grabbed");
        QFETCH(QColor, outline);
        for (int id = 0; id < 10; ++id) {
            const QPen pen = item(id)->pen();
            if (id == window->selectedItem) {
                QCOMPARE(pen.color(), outline);
                QVERIFY(pen.style() != Qt::NoPen);
            } else {
                QCOMPARE(pen.style(), Qt::NoPen);
            }
        }
    }

    // A press grabs within 8 pixels of an item; a miss or another button
    // grabs nothing, and moves then change nothing.
    void grabDistance_data()
    {
        QTest::addColumn<int>("offset"); // pixels right of the handle's right edge
        QTest::addColumn<bool>("rightButton");
        QTest::addColumn<bool>("grabbed");

        QTest::newRow("on the handle") << -3 << false << true;
        QTest::newRow("7 pixels off") << 7 << false << true;
        QTest::newRow("8 pixels off") << 8 << false << false;
        QTest::newRow("right button on the handle") << -3 << true << false;
    }
    void grabDistance()
    {
        QFETCH(int, offset);
        QFETCH(bool, rightButton);
        const Qt::MouseButton button = rightButton ? Qt::RightButton : Qt::LeftButton;
        choose(window->ui->checkBoxCursorVertical);
        showOnly({2});
        window->vCursorAHandle->topLeft->setPixelPosition(QPointF(plot()->width() / 2 - 40, 12));
        plot()->replot();
        const QRectF handle(window->vCursorAHandle->topLeft->pixelPosition(), window->vCursorAHandle->pixmap().size());
        const QPointF at(handle.right() + offset, handle.center().y());
        const int before = window->vCursorAPosition;
        window->replotRequest = false;

        pointer->press(at, button);
        QFETCH(bool, grabbed);
        QCOMPARE(window->selectedItem, grabbed ? 2 : 10);
        // The grab is kept until the left button comes up.
        pointer->moveTo(at + QPointF(150, 300));
        QCOMPARE(window->vCursorAPosition != before, grabbed);
        QCOMPARE(window->replotRequest, grabbed);
        pointer->release(at + QPointF(150, 300), button);
    }

    // Letting go clears every outline, also ones left on items not grabbed.
    void releaseClearsEveryOutline()
    {
        for (int id = 0; id < 10; ++id)
            item(id)->setPen(QPen(Qt::magenta));
        showOnly({8});
        window->ch2ZeroHead->topLeft->setPixelPosition(QPointF(2, 300));
        plot()->replot();
        const QPointF at = PlotPointer::centreOf(window->ch2ZeroHead);
        pointer->press(at);
        QCOMPARE(window->selectedItem, 8);
        QCOMPARE(window->ch2ZeroHead->pen().color(), zeroOrange);

        pointer->release(at);

        QCOMPARE(window->selectedItem, 10);
        for (int id = 0; id < 10; ++id)
            QCOMPARE(item(id)->pen().style(), Qt::NoPen);
        const int position = window->ui->ch2PositionSlider->value();
        pointer->moveTo(at + QPointF(0, 100));
        QCOMPARE(window->ui->ch2PositionSlider->value(), position);
    }

    // A time cursor follows the pointer's x within its range; the read-out
    // of the next drawing measures the new distance.
    void timeCursorDrag_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<double>("targetX");
        QTest::addColumn<int>("kept"); // -1: the pointer's x

        QTest::newRow("A to the middle") << 2 << 700.0 << -1;
        QTest::newRow("B near the end") << 3 << 1400.0 << -1;
        QTest::newRow("A past the right end") << 2 << 1535.0 << 1528;
        QTest::newRow("B before the start") << 3 << 1.0 << 8;
    }
    void timeCursorDrag()
    {
        QFETCH(int, id);
        QFETCH(double, targetX);
        QFETCH(int, kept);
        showFrame();
        choose(window->ui->checkBoxCursorVertical);
        window->vCursorRefresh();
        plot()->replot();
        const QPointF target = pointer->pixelOf(targetX, 600);
        if (kept < 0)
            kept = int(pointer->coordinateOf(target).x());

        pointer->drag(PlotPointer::centreOf(item(id)), target);

        const int &position = id == 2 ? window->vCursorAPosition : window->vCursorBPosition;
        QCOMPARE(position, kept);
        QVERIFY(qAbs(item(id)->bottom->pixelPosition().x() - plot()->xAxis->coordToPixel(kept)) <= 1);
        QVERIFY(window->replotRequest);
        ScopeFrameFeeder::tick(*window);
        const CursorReadouts::TimeTexts texts =
            CursorReadouts::timeTexts(window->vCursorAPosition, window->vCursorBPosition, 8);
        QCOMPARE(window->vCursorDeltaLabel->text(), texts.delta);
        QCOMPARE(window->vCursorFrequencyLabel->text(), texts.frequency);
    }

    // A voltage cursor follows the pointer's y, at most four divisions from
    // its channel's zero line; its level and read-out follow.
    void voltCursorDrag_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<double>("targetY");
        QTest::addColumn<int>("level"); // relative to CH1's zero line; 999: under the pointer

        QTest::newRow("A near the zero line") << 0 << 700.0 << 999;
        QTest::newRow("A far above the trace") << 0 << 1270.0 << 256;
        QTest::newRow("B far below the trace") << 1 << 10.0 << -256;
    }
    void voltCursorDrag()
    {
        QFETCH(int, id);
        QFETCH(double, targetY);
        QFETCH(int, level);
        window->ui->comboBoxScopeCursorsHorizontalType->setCurrentIndex(2); // Manual: levels stay put
        choose(window->ui->checkBoxScopeCursorsHorizontal);
        showFrame();
        plot()->replot();
        QVERIFY(item(id)->visible());
        const QPointF target = pointer->pixelOf(800, targetY);
        if (level == 999)
            level = int(pointer->coordinateOf(target).y()) - window->ch1Position;

        pointer->drag(PlotPointer::centreOf(item(id)), target);

        QCOMPARE(id == 0 ? window->hCursorCh1AValue : window->hCursorCh1BValue, level);
        QVERIFY(qAbs(item(id)->right->pixelPosition().y()
                     - plot()->yAxis->coordToPixel(window->ch1Position + level)) <= 1);
        ScopeFrameFeeder::tick(*window);
        const CursorReadouts::VoltTexts texts = CursorReadouts::voltTexts(
            window->hCursorCh1AValue, window->hCursorCh1BValue, window->ui->ch1GainSlider->value());
        QCOMPARE(window->hCursorALabel->text(), texts.a);
        QCOMPARE(window->hCursorBLabel->text(), texts.b);
    }

    // A trigger marker stores the pointer's place in the source's record,
    // within the limits, and stands there; a logic marker keeps to its bit.
    void triggerDrag_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<bool>("windowMode");
        QTest::addColumn<int>("id");
        QTest::addColumn<QPointF>("target"); // plot coordinates
        QTest::addColumn<int>("post");       // -1: under the pointer
        QTest::addColumn<int>("level");      // -999: under the pointer

        QTest::newRow("CH1 marker") << 0 << false << 4 << QPointF(600, 700) << -1 << -999;
        QTest::newRow("CH1 marker above the level limit") << 0 << false << 4 << QPointF(600, 1270) << -1 << 125;
        QTest::newRow("CH2 marker before the first post") << 1 << false << 4 << QPointF(2, 600) << 4 << -999;
        QTest::newRow("lower window level pushed at the upper") << 0 << true << 5 << QPointF(900, 1000) << -1
                                                                << 30 - 16;
        QTest::newRow("upper window level pushed at the lower") << 1 << true << 6 << QPointF(900, 300) << -1
                                                                << -30 + 16;
        QTest::newRow("logic bit: the post only") << 5 << false << 4 << QPointF(1000, 300) << -1 << 0;
    }
    void triggerDrag()
    {
        QFETCH(int, source);
        QFETCH(bool, windowMode);
        QFETCH(int, id);
        QFETCH(QPointF, target);
        QFETCH(int, post);
        QFETCH(int, level);
        useTriggerSource(source, windowMode);
        if (source == SOURCE_CH2)
            window->ui->ch2PositionSlider->setValue(64);
        TriggerCoord &record = window->triggerCoords[window->triggerChannel];
        record.post = 300;
        record.win1Level = -30;
        record.win2Level = 30;
        window->triggerRefreshPos();
        plot()->replot();
        const QPointF start = PlotPointer::centreOf(item(id));
        const double markerY = PlotPointer::centreOf(window->triggerMarker).y();
        const QPointF pixel = pointer->pixelOf(target.x(), target.y());
        const QPointF aim = pointer->coordinateOf(pixel);
        if (post < 0)
            post = TriggerGeometry::plotXToPost(aim.x());
        if (level == -999)
            level = TriggerGeometry::plotYToLevel(aim.y(), record.channelOffset, window->plotYRange);

        pointer->drag(start, pixel);

        QCOMPARE(record.post, post);
        QCOMPARE(id == 4 ? record.level : id == 5 ? record.win1Level : record.win2Level,
                 source >= SOURCE_LOGIC0 ? record.level : level);
        // Placed by whole pixels, kept as coordinates: within a pixel.
        const QPointF stands = PlotPointer::centreOf(item(id));
        QVERIFY(qAbs(stands.x() - window->triggerPosXIntToPixel(post)) <= 1);
        const double expectedY = source >= SOURCE_LOGIC0 ? markerY : window->triggerPosYIntToPixel(level);
        QVERIFY(qAbs(stands.y() - expectedY) <= 1);
    }

    // A zero marker moves its channel's zero line under the pointer through
    // the position slider, within the channel's span; the trigger marker on
    // that channel moves with the trace.
    void zeroMarkerDrag_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<double>("targetY");
        QTest::addColumn<int>("slider"); // 999: the zero line under the pointer

        QTest::newRow("CH1 up") << 7 << 900.0 << 999;
        QTest::newRow("CH1 above the top") << 7 << 1275.0 << 512;
        QTest::newRow("CH1 below the bottom") << 7 << 5.0 << -512;
        QTest::newRow("CH2 down") << 8 << 300.0 << 999;
        QTest::newRow("logic up") << 9 << 700.0 << 999;
        QTest::newRow("logic above its top") << 9 << 1200.0 << 392;
        QTest::newRow("logic below the bottom") << 9 << 3.0 << -632;
    }
    void zeroMarkerDrag()
    {
        QFETCH(int, id);
        QFETCH(double, targetY);
        QFETCH(int, slider);
        const int channel = id - 7;
        QSlider *const sliders[] = {window->ui->ch1PositionSlider, window->ui->ch2PositionSlider,
                                    window->ui->chdPositionSlider};
        useTriggerSource(channel == 2 ? SOURCE_LOGIC0 + 3 : channel, false);
        window->triggerSetPosition(300, 40);
        showOnly({id});
        window->zeroHeadRefresh();
        plot()->replot();
        const QPointF aim = pointer->pixelOf(500, targetY);

        pointer->drag(PlotPointer::centreOf(item(id)), aim);

        const int position = (channel == 0   ? window->ch1Position
                              : channel == 1 ? window->ch2Position
                                             : window->chdPosition);
        if (slider == 999)
            QVERIFY(qAbs(plot()->yAxis->coordToPixel(position) - aim.y()) <= 1);
        else
            QCOMPARE(sliders[channel]->value(), slider);
        QCOMPARE(position, sliders[channel]->value() + window->plotYRange / 2);
        QVERIFY(qAbs(item(id)->right->pixelPosition().y() - plot()->yAxis->coordToPixel(position)) <= 1);
        // The trigger marker still stands on the moved trace.
        const TriggerCoord &record = window->triggerCoords[channel];
        QCOMPARE(record.channelOffset, sliders[channel]->value());
        const double markerY = channel == 2 ? TriggerGeometry::logicBitPlotY(3, record.channelSize,
                                                                             record.channelOffset,
                                                                             window->plotYRange)
                                            : TriggerGeometry::levelToPlotY(40, record.channelOffset,
                                                                            window->plotYRange);
        QVERIFY(qAbs(PlotPointer::centreOf(window->triggerMarker).y() - plot()->yAxis->coordToPixel(markerY))
                <= 1);
    }

    // The slider mapping itself, away from pixel rounding.
    void zeroMarkerSliderValue_data()
    {
        QTest::addColumn<bool>("logic");
        QTest::addColumn<double>("coordinate");
        QTest::addColumn<int>("slider");

        QTest::newRow("CH bottom of the span") << false << 128.0 << -512;
        QTest::newRow("CH centre") << false << 640.0 << 0;
        QTest::newRow("CH fraction cut") << false << 700.7 << 60;
        QTest::newRow("CH top of the span") << false << 1152.0 << 512;
        QTest::newRow("logic bottom of the span") << true << 8.0 << -632;
        QTest::newRow("logic low") << true << 100.5 << -539;
        QTest::newRow("logic top of the span") << true << 1032.0 << 392;
    }
    void zeroMarkerSliderValue()
    {
        QFETCH(bool, logic);
        QFETCH(double, coordinate);
        const int min = logic ? -632 : -512;
        const int max = logic ? 392 : 512;
        QTEST(ZeroMarkerGeometry::sliderValue(coordinate, logic, min, max, 1280), "slider");
        const ZeroMarkerGeometry::Span span = ZeroMarkerGeometry::span(logic, 1280);
        QCOMPARE(span.lowest, logic ? 8 : 128);
        QCOMPARE(span.highest, logic ? 1032 : 1152);
    }

    // Double-clicking a text item asks for its new text; other items are
    // not renamed.
    void rename_data()
    {
        QTest::addColumn<bool>("onLabel");
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<QString>("text");

        QTest::newRow("new text") << true << std::optional<QString>(QStringLiteral("Clock")) << "Clock";
        QTest::newRow("empty text") << true << std::optional<QString>(QString()) << "";
        QTest::newRow("cancelled") << true << std::optional<QString>() << "Bit 3";
        QTest::newRow("zero marker") << false << std::optional<QString>(QStringLiteral("Clock")) << "Bit 3";
    }
    void rename()
    {
        QFETCH(bool, onLabel);
        QFETCH(std::optional<QString>, answer);
        QCPItemText *label = window->logicLabels[3];
        window->logicLabelsRefresh();
        label->setVisible(true);
        showOnly({7});
        window->zeroHeadRefresh();
        plot()->replot();
        const QPointF at = onLabel ? (label->left->pixelPosition() + label->right->pixelPosition()) / 2
                                   : PlotPointer::centreOf(window->ch1ZeroHead);
        ModalAnswerer answerer;
        answerer.textAnswers = {answer};

        pointer->doubleClick(at);

        QTEST(label->text(), "text");
        QCOMPARE(answerer.inputDialogs,
                 onLabel ? QStringList{QStringLiteral("Rename / New Label:")} : QStringList());
    }

    // Ctrl trades zooming for panning while held.
    void ctrlPansTheView_data()
    {
        QTest::addColumn<bool>("ctrl");
        QTest::newRow("Ctrl held") << true;
        QTest::newRow("Ctrl released") << false;
    }
    void ctrlPansTheView()
    {
        QFETCH(bool, ctrl);
        plot()->xAxis->setRange(400, 800);
        plot()->replot();
        showOnly({});
        QTest::keyPress(window.get(), Qt::Key_Control);
        if (!ctrl)
            QTest::keyRelease(window.get(), Qt::Key_Control);
        const QPointF from = pointer->pixelOf(600, 640);

        pointer->drag(from, from + QPointF(-200, 0));

        QCOMPARE(plot()->interactions(), ctrl ? QCP::Interactions(QCP::iRangeDrag) : QCP::Interactions(QCP::iRangeZoom));
        QCOMPARE(plot()->xAxis->range().lower > 400, ctrl);
        QCOMPARE(window->selectedItem, 10);
        if (ctrl)
            QTest::keyRelease(window.get(), Qt::Key_Control);
    }

    // The wheel zooms the time axis, or the level axis while Shift is held.
    void shiftZoomsVertically_data()
    {
        QTest::addColumn<bool>("shift");
        QTest::newRow("Shift held") << true;
        QTest::newRow("Shift released") << false;
    }
    void shiftZoomsVertically()
    {
        QFETCH(bool, shift);
        QTest::keyPress(window.get(), Qt::Key_Shift);
        if (!shift)
            QTest::keyRelease(window.get(), Qt::Key_Shift);
        const QCPRange x = plot()->xAxis->range();
        const QCPRange y = plot()->yAxis->range();
        const QPointF at = pointer->pixelOf(768, 640);
        QWheelEvent wheel(at, QPointF(plot()->mapToGlobal(at.toPoint())), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(plot(), &wheel);

        QCOMPARE(plot()->yAxis->range().size() < y.size(), shift);
        QCOMPARE(plot()->xAxis->range().size() < x.size(), !shift);
        if (shift)
            QTest::keyRelease(window.get(), Qt::Key_Shift);
    }
};

VESK_TEST_MAIN(TestPlotItemDrag)
#include "tst_plotitemdrag.moc"
