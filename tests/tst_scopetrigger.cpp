// The oscilloscope's trigger on the plot without an instrument: limits of the
// records, where the markers stand for each source, which markers and
// pictures the panel's choices show, the items the handlers send; the
// display options and their page.
#include "testmain.h"
#include "plotpointer.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "protocol.h"
#include "scopeoptions.h"
#include "scopesettings.h"

#include <QComboBox>
#include <QSettings>

#include <memory>

namespace {

// A radio button of an exclusive set is cleared by checking another; a
// click runs the form slot as the user's would.
void choose(QAbstractButton *button)
{
    if (!button->isChecked())
        button->click();
}

bool showsPicture(const QCPItemPixmap *item, const QString &picture)
{
    return item->pixmap().toImage() == QPixmap(picture).toImage();
}

// Where a marker stands: the middle of its picture.
QPoint pixelOf(const QCPItemPixmap *item)
{
    return PlotPointer::centreOf(item).toPoint();
}

void clearStore()
{
    QSettings settings;
    settings.clear();
    settings.sync();
}

} // namespace

class TestScopeTrigger : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<VeskInterface> window;

    QCustomPlot *plot() const { return window->ui->plotterWidget; }
    int slot(int index) const { return window->instrumentCommands.settingsSlot(index); }
    // Pixel of a plot coordinate as the markers are placed: cut toward zero.
    QPoint pixel(double x, double y) const
    {
        return QPoint(int(plot()->xAxis->coordToPixel(x)), int(plot()->yAxis->coordToPixel(y)));
    }

private slots:
    void init()
    {
        clearStore();
        window.reset(new VeskInterface);
        window->instrumentCommands.setBulkCollectMode(true);
        QVERIFY(PlotPointer::showWholePlot(plot(), window->plotXRange, window->plotYRange));
    }
    void cleanup() { window.reset(); }

    void markerFollowsRecord_data()
    {
        QTest::addColumn<int>("blocks");   // frame length in 256-sample blocks
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("position"); // the source channel's position slider
        QTest::addColumn<int>("post");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("storedPost");
        QTest::addColumn<int>("storedLevel");
        QTest::addColumn<double>("markerY"); // plot coordinate

        QTest::newRow("CH1 inside the limits") << 3 << 0 << 0 << 100 << 40 << 100 << 40 << 640 + 62.5;
        QTest::newRow("CH1 level above the limit") << 3 << 0 << 0 << 100 << 200 << 100 << 125 << 640 + 195.3125;
        QTest::newRow("CH1 level below, post before the frame")
            << 3 << 0 << 0 << 0 << -200 << 4 << -125 << 640 - 195.3125;
        QTest::newRow("CH2 on its moved zero line, post past the frame")
            << 3 << 1 << 64 << 10000 << 40 << 760 << 40 << 640 + 64 + 62.5;
        QTest::newRow("post past a one-block frame") << 1 << 1 << 64 << 10000 << 40 << 248 << 40 << 640 + 64 + 62.5;
        QTest::newRow("CH1 below its zero line")
            << 3 << 0 << -300 << 300 << -64 << 300 << -64 << 640 - 300 - 100.0;
        // Logic bit 3 with the logic block's size 40 and position -96: the
        // centre of the bit's trace, whatever the level.
        QTest::newRow("logic bit on its trace") << 3 << 5 << -96 << 200 << 100 << 200 << 100
                                                << 640 + 3 * (40 + 20) + 20 - 96 + 2.0;
    }
    void markerFollowsRecord()
    {
        QFETCH(int, source);
        QFETCH(int, position);
        QFETCH(int, post);
        QFETCH(int, level);
        choose(window->ui->radioButtonNormal);
        window->ui->comboBoxTrigSource->setCurrentIndex(source);
        QSlider *sliders[] = {window->ui->ch1PositionSlider, window->ui->ch2PositionSlider,
                              window->ui->chdPositionSlider};
        if (source >= SOURCE_LOGIC0)
            window->ui->chdSizeSlider->setValue(40);
        sliders[std::min(source, 2)]->setValue(position);
        QFETCH(int, blocks);
        window->scopeSetSizeX(blocks);

        window->triggerSetPosition(post, level);

        const TriggerCoord &record = window->triggerCoords[std::min(source, 2)];
        QTEST(record.post, "storedPost");
        QTEST(record.level, "storedLevel");
        QFETCH(int, storedPost);
        QFETCH(double, markerY);
        QVERIFY(window->triggerMarker->visible());
        QCOMPARE(pixelOf(window->triggerMarker), pixel(2.0 * storedPost, markerY));
    }

    // At slow time bases the frame rolls in from the left.
    void slowSamplingPinsMarkers()
    {
        window->slowSamplingRate = true;
        window->triggerSetPosition(200, 10);
        QCOMPARE(pixelOf(window->triggerMarker).x(), 32);
        window->triggerSetPositionWin2(200, 10);
        QCOMPARE(pixelOf(window->triggerWin1Marker).x(), 32);
        QCOMPARE(pixelOf(window->triggerWin2Marker).x(), 32);
        QCOMPARE(window->triggerCoords[0].post, 200);
    }

    // The markers stay centred on the trigger point when the view changes
    // after they were placed: a zoom either way, a narrower or shorter plot.
    void markersStayOnTheTriggerPoint_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("zoomed in on the marker") << "zoom in";
        QTest::newRow("zoomed out to the whole frame") << "zoom out";
        QTest::newRow("window made narrower") << "narrower";
        QTest::newRow("window made shorter") << "shorter";
    }
    void markersStayOnTheTriggerPoint()
    {
        QFETCH(QString, change);
        window->scopeSetSizeX(15);
        const QCPRange whole(0, window->plotXRange);
        const QCPRange nearTrigger(3000, 4500);
        const int post = 1900;
        const TriggerCoord &record = window->triggerCoords[0];
        const auto levelY = [&record](int level) { return 640 + record.channelOffset + 1.5625 * level; };
        const auto standsAt = [this](const QCPItemPixmap *marker, double x, double y) {
            const QPoint seen = pixelOf(marker);
            const QPoint wanted = pixel(x, y);
            return qAbs(seen.x() - wanted.x()) <= 1 && qAbs(seen.y() - wanted.y()) <= 1;
        };
        choose(window->ui->radioButtonNormal);
        for (QAbstractButton *condition : {static_cast<QAbstractButton *>(window->ui->radioButtonRisingEdge),
                                           static_cast<QAbstractButton *>(window->ui->radioButtonWindow)}) {
            window->resize(1371, 966);
            QTRY_COMPARE(window->size(), QSize(1371, 966));
            plot()->xAxis->setRange(change == QLatin1String("zoom out") ? nearTrigger : whole);
            plot()->replot();
            choose(condition);
            window->triggerSetPosition(post, 40);
            window->triggerSetPositionWin1(post, -30);
            window->triggerSetPositionWin2(post, 60);

            if (change == QLatin1String("zoom in")) {
                plot()->xAxis->setRange(nearTrigger);
            } else if (change == QLatin1String("zoom out")) {
                plot()->xAxis->setRange(whole);
            } else {
                const QSize smaller = change == QLatin1String("narrower") ? QSize(900, 966) : QSize(1371, 700);
                const int plotWidth = plot()->width();
                const int plotHeight = plot()->height();
                window->resize(smaller);
                QTRY_VERIFY(plot()->width() != plotWidth || plot()->height() != plotHeight);
            }

            if (condition == window->ui->radioButtonWindow) {
                QVERIFY(standsAt(window->triggerWin1Marker, 2.0 * post, levelY(-30)));
                QVERIFY(standsAt(window->triggerWin2Marker, 2.0 * post, levelY(60)));
            } else {
                QVERIFY(standsAt(window->triggerMarker, 2.0 * post, levelY(40)));
            }
        }
    }

    void windowLevelsKeepTheirGap_data()
    {
        QTest::addColumn<int>("win1");
        QTest::addColumn<int>("win2");
        QTest::addColumn<bool>("moveLower");
        QTest::addColumn<int>("requested");
        QTest::addColumn<int>("storedWin1");
        QTest::addColumn<int>("storedWin2");

        QTest::newRow("lower pushed against the upper") << -50 << 100 << true << 120 << 84 << 100;
        QTest::newRow("upper pushed against the lower") << -50 << 100 << false << -125 << -50 << -34;
        QTest::newRow("lower within its range") << -50 << 100 << true << -200 << -125 << 100;
        QTest::newRow("upper within its range") << -50 << 100 << false << 300 << -50 << 125;
        QTest::newRow("upper stored too low keeps the lower in range") << 0 << -125 << true << 0 << -125 << -125;
    }
    void windowLevelsKeepTheirGap()
    {
        QFETCH(int, win1);
        QFETCH(int, win2);
        QFETCH(bool, moveLower);
        QFETCH(int, requested);
        TriggerCoord &record = window->triggerCoords[0];
        record.win1Level = win1;
        record.win2Level = win2;
        if (moveLower)
            window->triggerSetPositionWin1(100, requested);
        else
            window->triggerSetPositionWin2(100, requested);
        QTEST(record.win1Level, "storedWin1");
        QTEST(record.win2Level, "storedWin2");
        const int zero = 640 + record.channelOffset;
        QCOMPARE(pixelOf(window->triggerWin1Marker), pixel(200, zero + 1.5625 * record.win1Level));
        QCOMPARE(pixelOf(window->triggerWin2Marker), pixel(200, zero + 1.5625 * record.win2Level));
    }

    // A marker dragged to a plot coordinate stores what the pointer shows.
    void coordinatesToRecord()
    {
        window->ui->ch1PositionSlider->setValue(100);
        window->triggerSetPositionCoord(401.7, 640 + 100 + 50 * 1.5625 + 0.9);
        QCOMPARE(window->triggerCoords[0].post, 200);
        QCOMPARE(window->triggerCoords[0].level, 50);
        window->triggerCoords[0].win2Level = 100;
        window->triggerSetPositionWin1Coord(300, 640 + 100 - 32);
        QCOMPARE(window->triggerCoords[0].post, 150);
        QCOMPARE(window->triggerCoords[0].win1Level, -20);
    }

    void panelChoicesShowMarkers_data()
    {
        QTest::addColumn<QString>("runMode");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<int>("source");
        QTest::addColumn<bool>("xy");
        QTest::addColumn<QString>("single");   // picture of the single marker, empty when hidden
        QTest::addColumn<QString>("window1");  // pictures of the window markers, empty when hidden
        QTest::addColumn<QString>("window2");
        QTest::addColumn<bool>("force");

        const QString none;
        QTest::newRow("free run hides every marker")
            << "radioButtonFree" << "radioButtonRisingEdge" << 0 << false << none << none << none << false;
        QTest::newRow("CH1 rising edge") << "radioButtonNormal" << "radioButtonRisingEdge" << 0 << false
                                         << ":/icons/risingg.png" << none << none << true;
        QTest::newRow("CH2 falling edge") << "radioButtonAuto" << "radioButtonFallingEdge" << 1 << false
                                          << ":/icons/fallingr.png" << none << none << true;
        QTest::newRow("logic bit, dual edge") << "radioButtonSingle" << "radioButtonDual" << 4 << false
                                              << ":/icons/dualr.png" << none << none << true;
        QTest::newRow("CH1 negative slope") << "radioButtonNormal" << "radioButtonNegativeSlope" << 0 << false
                                            << ":/icons/negativeg.png" << none << none << true;
        QTest::newRow("CH1 window") << "radioButtonNormal" << "radioButtonWindow" << 0 << false << none
                                    << ":/icons/window2g.png" << ":/icons/window1g.png" << true;
        QTest::newRow("CH2 window") << "radioButtonNormal" << "radioButtonWindow" << 1 << false << none
                                    << ":/icons/window2r.png" << ":/icons/window1r.png" << true;
        QTest::newRow("XY with CH1 as source hides the marker")
            << "radioButtonNormal" << "radioButtonRisingEdge" << 0 << true << none << none << none << true;
        QTest::newRow("XY with CH2 as source keeps it") << "radioButtonNormal" << "radioButtonRisingEdge" << 1
                                                        << true << ":/icons/risingr.png" << none << none << true;
    }
    void panelChoicesShowMarkers()
    {
        QFETCH(QString, runMode);
        QFETCH(QString, condition);
        QFETCH(int, source);
        QFETCH(bool, xy);
        QFETCH(QString, single);
        QFETCH(QString, window1);
        QFETCH(QString, window2);
        // The source first: slopes and the window are offered only for CH1 and CH2.
        window->ui->comboBoxTrigSource->setCurrentIndex(source);
        choose(window->findChild<QAbstractButton *>(condition));
        if (xy)
            window->ui->xyMode->click();
        choose(window->findChild<QAbstractButton *>(runMode));

        QCOMPARE(window->triggerMarker->visible(), !single.isEmpty());
        QCOMPARE(window->triggerWin1Marker->visible(), !window1.isEmpty());
        QCOMPARE(window->triggerWin2Marker->visible(), !window2.isEmpty());
        if (!single.isEmpty())
            QVERIFY(showsPicture(window->triggerMarker, single));
        if (!window1.isEmpty()) {
            QVERIFY(showsPicture(window->triggerWin1Marker, window1));
            QVERIFY(showsPicture(window->triggerWin2Marker, window2));
        }
        QTEST(window->ui->forceButton->isEnabled(), "force");
    }

    // Slopes and the window exist only for the analogue channels.
    void logicSourceFallsBackToRisingEdge()
    {
        choose(window->ui->radioButtonNormal);
        choose(window->ui->radioButtonNegativeSlope);
        window->triggerCoords[2] = TriggerCoord{120, 7, -30, 30, 0, 0, 0};
        window->ui->comboBoxTrigSource->setCurrentIndex(5);

        QVERIFY(window->ui->radioButtonRisingEdge->isChecked());
        QCOMPARE(window->triggerMode, 0);
        for (QAbstractButton *button : {static_cast<QAbstractButton *>(window->ui->radioButtonWindow),
                                        static_cast<QAbstractButton *>(window->ui->radioButtonPositiveSlope),
                                        static_cast<QAbstractButton *>(window->ui->radioButtonNegativeSlope)})
            QVERIFY(!button->isEnabled());
        QCOMPARE(window->triggerCoords[2].triggerBit, 3);
        QCOMPARE(slot(CFG_TRIGGER_SOURCE), 5);
        QCOMPARE(slot(CFG_TRIGGER_CONTROL) & TRIGGER_MODE_MASK, int(TRIGGER_RISING_EDGE));
        // The logic record goes out with the new source.
        QCOMPARE(slot(CFG_TRIGGER_POST), window->scopeSizeX - 120);
        QCOMPARE(slot(CFG_TRIGGER_LEVEL), 7);
        QCOMPARE(slot(CFG_TRIGGER_WIN1_LEVEL), -30);
        QCOMPARE(slot(CFG_TRIGGER_WIN2_LEVEL), 30);

        window->ui->comboBoxTrigSource->setCurrentIndex(1);
        QVERIFY(window->ui->radioButtonWindow->isEnabled());
        QCOMPARE(window->triggerChannel, 1);
    }

    // Window levels stored out of order are put in order when the window
    // condition is chosen, and the instrument gets them as the markers show.
    void windowConditionSendsOrderedLevels()
    {
        choose(window->ui->radioButtonNormal);
        window->triggerCoords[0].win1Level = 96;
        window->triggerCoords[0].win2Level = -96;
        choose(window->ui->radioButtonWindow);
        QCOMPARE(window->triggerCoords[0].win1Level, -112);
        QCOMPARE(window->triggerCoords[0].win2Level, -96);
        QCOMPARE(slot(CFG_TRIGGER_WIN1_LEVEL), -112);
        QCOMPARE(slot(CFG_TRIGGER_WIN2_LEVEL), -96);
    }

    void invertingTheSourceTurnsTheTrigger_data()
    {
        QTest::addColumn<QString>("channel");    // the invert box
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("after");      // condition checked afterwards
        QTest::addColumn<int>("level");          // of the source's record afterwards

        QTest::newRow("CH1 rising becomes falling") << "checkBoxCH1Invert" << 0 << "radioButtonRisingEdge"
                                                    << "radioButtonFallingEdge" << -40;
        QTest::newRow("CH2 falling becomes rising") << "checkBoxCH2Invert" << 1 << "radioButtonFallingEdge"
                                                    << "radioButtonRisingEdge" << -40;
        QTest::newRow("dual edge keeps its condition") << "checkBoxCH1Invert" << 0 << "radioButtonDual"
                                                       << "radioButtonDual" << -40;
        QTest::newRow("a slope is left alone") << "checkBoxCH1Invert" << 0 << "radioButtonPositiveSlope"
                                               << "radioButtonPositiveSlope" << 40;
        QTest::newRow("another channel's invert is ignored") << "checkBoxCH2Invert" << 0
                                                             << "radioButtonRisingEdge" << "radioButtonRisingEdge"
                                                             << 40;
    }
    void invertingTheSourceTurnsTheTrigger()
    {
        QFETCH(QString, channel);
        QFETCH(int, source);
        QFETCH(QString, condition);
        QFETCH(int, level);
        window->ui->comboBoxTrigSource->setCurrentIndex(source);
        choose(window->findChild<QAbstractButton *>(condition));
        window->triggerSetPosition(100, 40);
        window->instrumentCommands.sendMainConfiguration(CFG_TRIGGER_LEVEL, 40);

        window->findChild<QAbstractButton *>(channel)->toggle();

        QFETCH(QString, after);
        QVERIFY(window->findChild<QAbstractButton *>(after)->isChecked());
        QCOMPARE(window->triggerCoords[source].level, level);
        QCOMPARE(window->triggerCoords[source].post, 100);
        QCOMPARE(slot(CFG_TRIGGER_LEVEL), level);
    }

    // ---- display options ----

    void optionsDefaultsOnAFreshPage()
    {
        ScopeOptions options;
        options.readFromSettings(options.getName());
        ScopeSettings page(nullptr, &options);
        QCOMPARE(page.findChild<QComboBox *>("comboBox")->currentText(), QStringLiteral("Left"));
        QCOMPARE(page.findChild<QComboBox *>("comboBoxGridStyle")->currentText(), QStringLiteral("Dots"));
        QCOMPARE(page.findChild<QComboBox *>("comboBoxTheme")->currentText(), QStringLiteral("Dark"));
    }

    void optionsRoundTrip()
    {
        ScopeOptions written;
        written.gridStyle = 3;
        written.logicLabelPosition = 1;
        written.theme = 2;
        written.writeToSettings(written.getName());
        ScopeOptions read;
        read.readFromSettings(read.getName());
        QCOMPARE(read.gridStyle, 3);
        QCOMPARE(read.logicLabelPosition, 1);
        QCOMPARE(read.theme, 2);
        QSettings settings;
        QCOMPARE(settings.value("Oscilloscope/gridStyle").toInt(), 3);
    }

    void oddStoredOptions_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("expected");

        QTest::newRow("grid style past the list") << "gridStyle" << QVariant(9) << 3;
        QTest::newRow("theme past the list") << "theme" << QVariant(7) << 2;
        QTest::newRow("negative label position") << "logicLabelPosition" << QVariant(-1) << 0;
        QTest::newRow("theme not a number") << "theme" << QVariant("abc") << 0;
        QTest::newRow("grid style as text of a number") << "gridStyle" << QVariant("2") << 2;
    }
    void oddStoredOptions()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        {
            QSettings settings;
            settings.setValue("Oscilloscope/" + key, stored);
        }
        ScopeOptions options;
        options.theme = 1; // set from the top-level key before the group is read
        options.readFromSettings(options.getName());
        const QMap<QString, int> fields = {{"gridStyle", options.gridStyle},
                                           {"logicLabelPosition", options.logicLabelPosition},
                                           {"theme", options.theme}};
        QTEST(fields.value(key), "expected");
        // Absent keys keep what the object held.
        if (key != "theme")
            QCOMPARE(options.theme, 1);
        if (key != "gridStyle")
            QCOMPARE(options.gridStyle, 1);
    }

    // The page edits its combo boxes; only Apply copies them.
    void pageCopiesOnlyOnApply()
    {
        ScopeOptions options;
        ScopeSettings page(nullptr, &options);
        page.findChild<QComboBox *>("comboBox")->setCurrentIndex(1);
        page.findChild<QComboBox *>("comboBoxGridStyle")->setCurrentIndex(3);
        page.findChild<QComboBox *>("comboBoxTheme")->setCurrentIndex(1);
        QCOMPARE(options.gridStyle, 1);
        QCOMPARE(options.logicLabelPosition, 0);
        QCOMPARE(options.theme, 0);
        page.applyOptions();
        QCOMPARE(options.gridStyle, 3);
        QCOMPARE(options.logicLabelPosition, 1);
        QCOMPARE(options.theme, 1);
    }

    void optionsReachThePlot_data()
    {
        QTest::addColumn<int>("gridStyle");
        QTest::addColumn<int>("penStyle");

        QTest::newRow("no grid") << 0 << int(Qt::NoPen);
        QTest::newRow("dots") << 1 << int(Qt::DotLine);
        QTest::newRow("lines") << 2 << int(Qt::SolidLine);
        QTest::newRow("full draws as lines") << 3 << int(Qt::SolidLine);
    }
    void optionsReachThePlot()
    {
        QFETCH(int, gridStyle);
        window->scopeOptions->gridStyle = gridStyle;
        window->scopeOptions->logicLabelPosition = 1;
        emit window->applyConfigurationRequest();
        QTEST(int(plot()->xAxis->grid()->pen().style()), "penStyle");
        QTEST(int(plot()->yAxis->grid()->pen().style()), "penStyle");
        QCOMPARE(window->logicLabelX, plot()->axisRect()->rect().right() - 50);
        QVERIFY(window->replotRequest);
    }

    // The group is written when the window closes and read by the next one.
    void optionsSurviveARestart()
    {
        window->scopeOptions->gridStyle = 0;
        window->scopeOptions->logicLabelPosition = 1;
        window->closeApplication();
        window.reset();
        VeskInterface next;
        QCOMPARE(next.scopeOptions->gridStyle, 0);
        QCOMPARE(next.scopeOptions->logicLabelPosition, 1);
        QCOMPARE(int(next.ui->plotterWidget->xAxis->grid()->pen().style()), int(Qt::NoPen));
    }

    void cleanupTestCase() { clearStore(); }
};

VESK_TEST_MAIN(TestScopeTrigger)
#include "tst_scopetrigger.moc"
