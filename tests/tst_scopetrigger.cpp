// The oscilloscope's trigger on the plot without an instrument: limits of the
// records, where the markers stand for each source, which markers and
// pictures the panel's choices show, the items the handlers send; the
// display options and their page.
#include "testmain.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "protocol.h"
#include "scopeoptions.h"
#include "scopesettings.h"

#include <QComboBox>
#include <QSettings>

#include <memory>

namespace {

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

private slots:
    void init()
    {
        clearStore();
        window.reset(new VeskInterface);
        window->instrumentCommands.setBulkCollectMode(true);
        window->resize(1371, 966);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        plot()->xAxis->setRange(0, window->plotXRange);
        plot()->yAxis->setRange(0, window->plotYRange);
        plot()->replot();
    }
    void cleanup() { window.reset(); }

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
