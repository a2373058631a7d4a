// Dragging a trigger marker on the plot tells the instrument at once: the
// dragged level for an analogue source, then the trigger position; a logic
// source has no level, and a free-running acquisition hides its marker, so
// nothing is dragged and nothing goes out.
#include "usbtestmain.h"

#include "plotpointer.h"
#include "protocol.h"
#include "ui_veskinterface.h"
#include "usbwindowtest.h"
#include "veskinterface.h"

#include <QTest>

#include <memory>

using Writes = QList<QPair<int, int>>; // configuration index, value as sent

class TestPlotItemDragWire : public UsbWindowTest
{
    Q_OBJECT

public:
    TestPlotItemDragWire() : UsbWindowTest(true) {}

private:
    // The plot on screen over its whole extent; frames are not drawn, so
    // nothing moves the markers but the drag.
    bool showPlot()
    {
        window->dataTimer.stop();
        window->resize(1371, 966);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            return false;
        QCustomPlot *plot = window->ui->plotterWidget;
        plot->xAxis->setRange(0, window->plotXRange);
        plot->yAxis->setRange(0, window->plotYRange);
        plot->replot();
        return true;
    }

private slots:
    void triggerDragWrites_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<bool>("freeRun");
        QTest::addColumn<int>("item");       // 4 marker (edge), 5 lower and 6 upper window marker
        QTest::addColumn<int>("levelIndex"); // -1: no level sent

        QTest::newRow("CH1 edge: level, then position") << 0 << false << 4 << int(CFG_TRIGGER_LEVEL);
        QTest::newRow("CH2 lower window level, then position") << 1 << false << 5 << int(CFG_TRIGGER_WIN1_LEVEL);
        QTest::newRow("CH1 upper window level, then position") << 0 << false << 6 << int(CFG_TRIGGER_WIN2_LEVEL);
        QTest::newRow("logic bit: position only") << 5 << false << 4 << -1;
        QTest::newRow("free run: nothing") << 0 << true << 4 << -1;
    }
    void triggerDragWrites()
    {
        QFETCH(int, source);
        QFETCH(bool, freeRun);
        QFETCH(int, item);
        QFETCH(int, levelIndex);
        QVERIFY(showPlot());
        Ui_VeskInterface *ui = window->ui;
        ui->radioButtonNormal->click();
        ui->comboBoxTrigSource->setCurrentIndex(source);
        (item == 4 ? ui->radioButtonRisingEdge : ui->radioButtonWindow)->click();
        TriggerCoord &record = window->triggerCoords[window->triggerChannel];
        record.post = 300;
        record.level = 20;
        record.win1Level = -30;
        record.win2Level = 30;
        window->triggerRefreshPos();
        if (freeRun)
            ui->radioButtonFree->click();
        window->ui->plotterWidget->replot();
        QCPItemPixmap *const markers[] = {window->triggerMarker, window->triggerWin1Marker, window->triggerWin2Marker};
        PlotPointer pointer(window->ui->plotterWidget);
        const TriggerCoord before = record;
        instrument->clearWireLog();

        const QCustomPlot *plot = window->ui->plotterWidget;
        pointer.drag(PlotPointer::centreOf(markers[item - 4]), QPointF(plot->width() / 3, plot->height() / 2));

        Writes expected;
        if (!freeRun) {
            QVERIFY(record.post != before.post);
            const int level = item == 4 ? record.level : item == 5 ? record.win1Level : record.win2Level;
            if (levelIndex >= 0)
                expected.append({levelIndex, level});
            expected.append({int(CFG_TRIGGER_POST), window->scopeSizeX - record.post});
        } else {
            QCOMPARE(record.post, before.post);
            QCOMPARE(record.level, before.level);
        }
        Writes sent;
        for (const WireRecord &write : instrument->controlRequests(REQ_SET_CONFIG))
            sent.append({write.index, int(int16_t(write.value))});
        QCOMPARE(sent, expected);
    }
};

VESK_USB_TEST_MAIN(TestPlotItemDragWire)
#include "tst_plotitemdragwire.moc"
