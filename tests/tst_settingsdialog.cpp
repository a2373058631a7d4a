// The Settings dialog: its pages and the page it opens at, switching pages
// by the list, what Apply, OK and Cancel do to the options objects, and the
// window's side: opening it from the menu, from a display and by name, and
// what Apply and OK re-apply to the plot and the displays.
#include "testmain.h"
#include "logcapture.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "globalsettings.h"
#include "multimeterdisplay.h"
#include "multimeterdisplaysettings.h"
#include "optionsmetatypes.h"
#include "pythonconsolesettings.h"
#include "scopesettings.h"
#include "settings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>

#include <functional>

namespace {

// The four options objects in a map, as the main window registers them.
struct OptionsMap
{
    OptionsMap()
    {
        map.insert("GlobalOptions", &globalVariant);
        map.insert("PythonConsoleOptions", &consoleVariant);
        map.insert("ScopeOptions", &scopeVariant);
        map.insert("MultimeterDisplayOptions", &meterVariant);
    }

    GlobalOptions global;
    PythonConsoleOptions console;
    ScopeOptions scope;
    MultimeterDisplayOptions meter;
    QVariant globalVariant = QVariant::fromValue(&global);
    QVariant consoleVariant = QVariant::fromValue(&console);
    QVariant scopeVariant = QVariant::fromValue(&scope);
    QVariant meterVariant = QVariant::fromValue(&meter);
    QMap<QString, QVariant *> map;
};

QListWidget *list(QWidget *dialog)
{
    return dialog->findChild<QListWidget *>("listWidget");
}

QString header(QWidget *dialog)
{
    return dialog->findChild<QLabel *>("labelConfigurationName")->text();
}

QStringList listTexts(QWidget *dialog)
{
    QStringList texts;
    for (int row = 0; row < list(dialog)->count(); ++row)
        texts << list(dialog)->item(row)->text();
    return texts;
}

// Class of the page the stack shows.
QString shownPage(QWidget *dialog)
{
    QWidget *container = dialog->findChild<QStackedWidget *>("stackedWidget")->currentWidget();
    if (!container)
        return QString();
    const auto pages = container->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    return pages.size() == 1 ? QString::fromLatin1(pages.first()->metaObject()->className()) : QString();
}

void press(QWidget *dialog, const QString &button)
{
    dialog->findChild<QPushButton *>(button)->click();
}

template<typename Widget>
Widget *field(QWidget *dialog, const char *name)
{
    auto *widget = dialog->findChild<Widget *>(QString::fromLatin1(name));
    if (!widget)
        qWarning() << "no" << name << "in the dialog";
    return widget;
}

void setCombo(QWidget *dialog, const char *name, const QString &text)
{
    QComboBox *box = field<QComboBox>(dialog, name);
    box->setCurrentIndex(box->findText(text));
}

// Edits on every page that edits something; each differs from the defaults.
void editEveryPage(QWidget *dialog)
{
    field<QCheckBox>(dialog, "checkBoxRestoreSize")->setChecked(true);
    setCombo(dialog, "comboBox", "Right");
    setCombo(dialog, "comboBoxGridStyle", "No Grid");
    setCombo(dialog, "comboBoxTheme", "Light");
    setCombo(dialog, "comboBoxExtendPrecision", "5");
    field<QFontComboBox>(dialog, "fontComboBoxValueFontFamily")->setCurrentFont(QFont("DejaVu Sans Mono"));
}

// Runs check on the Settings dialog the next modal run opens, then closes
// it with Cancel unless check closed it already, so a failed check cannot
// leave the test waiting on an open dialog.
void whileOpen(const std::function<void(Settings *)> &check)
{
    QTimer::singleShot(0, [check] {
        auto *dialog = qobject_cast<Settings *>(QApplication::activeModalWidget());
        QVERIFY2(dialog, "no modal Settings dialog");
        check(dialog);
        if (dialog->isVisible())
            press(dialog, "pushButtonCancel");
    });
}

// A component's configuration request reaching the window's slot.
void requestSettings(VeskInterface &window, const QString &item)
{
    QMetaObject::invokeMethod(&window, "callSettings", Q_ARG(QString, item));
}

MultimeterDisplay *displayWithSettings(VeskInterface &window)
{
    for (MultimeterDisplay *display : window.findChildren<MultimeterDisplay *>()) {
        for (QAction *action : display->findChildren<QAction *>()) {
            if (action->text() == QStringLiteral("&Settings..."))
                return display;
        }
    }
    return nullptr;
}

QAction *settingsAction(MultimeterDisplay *display)
{
    for (QAction *action : display->findChildren<QAction *>()) {
        if (action->text() == QStringLiteral("&Settings..."))
            return action;
    }
    return nullptr;
}

} // namespace

class TestSettingsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings().clear();
    }

    // ---- the dialog on its own ----

    void pagesInTheirFixedOrder()
    {
        OptionsMap options;
        Settings dialog(nullptr, &options.map, QString());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Vesk - Settings"));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(listTexts(&dialog),
                 (QStringList{"Python console", "Oscilloscope", "Multimeter display", "Global"}));
        const QStringList pages{"PythonConsoleSettings", "ScopeSettings", "MultimeterDisplaySettings",
                                "GlobalSettings"};
        const QStringList icons{":/icons/item_console.png", ":/icons/item_oscilloscope.png",
                                ":/icons/item_multimeter.png", ":/icons/item_global.png"};
        QCOMPARE(dialog.findChild<QStackedWidget *>("stackedWidget")->count(), 4);
        for (int row = 0; row < 4; ++row) {
            list(&dialog)->setCurrentRow(row);
            QCOMPARE(shownPage(&dialog), pages[row]);
            const QImage expected = QPixmap(icons[row]).toImage().convertToFormat(QImage::Format_ARGB32);
            const QImage shown = list(&dialog)->item(row)->icon().pixmap(expected.size()).toImage();
            QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32), expected);
        }
    }

    void startPage_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("page");

        QTest::newRow("console") << "PythonConsole" << 0 << "Python console" << "PythonConsoleSettings";
        QTest::newRow("oscilloscope") << "Oscilloscope" << 1 << "Oscilloscope" << "ScopeSettings";
        QTest::newRow("multimeter display") << "MultimeterDisplay" << 2 << "Multimeter display"
                                            << "MultimeterDisplaySettings";
        QTest::newRow("global") << "Global" << 3 << "Global" << "GlobalSettings";
        QTest::newRow("menu, no name") << "" << 0 << "Python console" << "PythonConsoleSettings";
        QTest::newRow("name in other case") << "oscilloscope" << 0 << "Python console" << "PythonConsoleSettings";
        QTest::newRow("list text, not a name") << "Multimeter display" << 0 << "Python console"
                                               << "PythonConsoleSettings";
        QTest::newRow("base options name") << "Set_short_name" << 0 << "Python console" << "PythonConsoleSettings";
    }
    void startPage()
    {
        QFETCH(QString, item);
        OptionsMap options;
        Settings dialog(nullptr, &options.map, item);
        QTEST(list(&dialog)->currentRow(), "row");
        QTEST(header(&dialog), "header");
        QTEST(shownPage(&dialog), "page");
    }

    // A click in the list changes the page shown and nothing else.
    void listChoiceOnlyShowsAnotherPage()
    {
        OptionsMap options;
        Settings dialog(nullptr, &options.map, QStringLiteral("Oscilloscope"));
        QSignalSpy applied(&dialog, &Settings::applyRequest);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        editEveryPage(&dialog);

        QListWidget *pages = list(&dialog);
        QTest::mouseClick(pages->viewport(), Qt::LeftButton, {}, pages->visualItemRect(pages->item(3)).center());
        QCOMPARE(pages->currentRow(), 3);
        QCOMPARE(header(&dialog), QStringLiteral("Global"));
        QCOMPARE(shownPage(&dialog), QStringLiteral("GlobalSettings"));
        QTest::mouseClick(pages->viewport(), Qt::LeftButton, {}, pages->visualItemRect(pages->item(2)).center());
        QCOMPARE(header(&dialog), QStringLiteral("Multimeter display"));
        QCOMPARE(shownPage(&dialog), QStringLiteral("MultimeterDisplaySettings"));

        QCOMPARE(applied.count(), 0);
        QCOMPARE(options.scope.gridStyle, 1);
        QCOMPARE(options.meter.extendPrecision, 3);
        QCOMPARE(options.console.restoreSize, false);
        // The edits stay on their pages.
        QCOMPARE(field<QComboBox>(&dialog, "comboBoxGridStyle")->currentText(), QStringLiteral("No Grid"));
    }

    void buttons_data()
    {
        QTest::addColumn<QStringList>("presses");
        QTest::addColumn<bool>("copied");
        QTest::addColumn<int>("requests");
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("result");

        QTest::newRow("Apply") << QStringList{"pushButtonApply"} << true << 1 << true << int(QDialog::Rejected);
        QTest::newRow("Apply twice") << QStringList{"pushButtonApply", "pushButtonApply"} << true << 2 << true
                                     << int(QDialog::Rejected);
        QTest::newRow("OK") << QStringList{"pushButtonOk"} << true << 1 << false << int(QDialog::Accepted);
        QTest::newRow("Cancel") << QStringList{"pushButtonCancel"} << false << 0 << false << int(QDialog::Rejected);
        QTest::newRow("Apply, then Cancel") << QStringList{"pushButtonApply", "pushButtonCancel"} << true << 1
                                            << false << int(QDialog::Rejected);
    }
    void buttons()
    {
        QFETCH(QStringList, presses);
        QFETCH(bool, copied);
        OptionsMap options;
        options.global.scaleX = 1.5f;
        options.global.scaleY = 2.0f;
        Settings dialog(nullptr, &options.map, QString());
        QSignalSpy applied(&dialog, &Settings::applyRequest);
        dialog.show();
        editEveryPage(&dialog);
        for (const QString &button : presses)
            press(&dialog, button);

        QTEST(applied.count(), "requests");
        QTEST(dialog.isVisible(), "open");
        QTEST(dialog.result(), "result");
        QCOMPARE(options.console.restoreSize, copied);
        QCOMPARE(options.scope.logicLabelPosition, copied ? 1 : 0);
        QCOMPARE(options.scope.gridStyle, copied ? 0 : 1);
        QCOMPARE(options.scope.theme, copied ? 1 : 0);
        QCOMPARE(options.meter.extendPrecision, copied ? 5 : 3);
        QCOMPARE(options.meter.valueFontFamily, copied ? QStringLiteral("DejaVu Sans Mono") : QStringLiteral("Consolas"));
        // The screen's scale factors are no user's choice.
        QCOMPARE(options.global.scaleX, 1.5f);
        QCOMPARE(options.global.scaleY, 2.0f);
    }

    // The page says there is nothing to set, and the options keep their values.
    void globalPage()
    {
        GlobalOptions options;
        options.scaleX = 1.25f;
        GlobalSettings page(nullptr, &options);
        QCOMPARE(page.findChild<QTabWidget *>("tabWidget")->tabText(0), QStringLiteral("Appearance"));
        QCOMPARE(page.findChild<QGroupBox *>("groupBox")->title(), QStringLiteral("Workspace"));
        QCOMPARE(page.findChild<QLabel *>("label")->text(), QStringLiteral("Nothing to set at this moment"));
        page.applyOptions();
        QCOMPARE(options.scaleX, 1.25f);
        QCOMPARE(options.scaleY, 1.0f);
    }

    // A map without usable options for a page leaves that page out instead
    // of building a page over nothing; the other pages work as before.
    void unusableOptionsLeaveOutTheirPage_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("wrongType");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("no oscilloscope options") << "ScopeOptions" << false
                                                 << QStringList{"Python console", "Multimeter display", "Global"};
        QTest::newRow("multimeter entry holds other options")
            << "MultimeterDisplayOptions" << true << QStringList{"Python console", "Oscilloscope", "Global"};
        QTest::newRow("no console options") << "PythonConsoleOptions" << false
                                            << QStringList{"Oscilloscope", "Multimeter display", "Global"};
    }
    void unusableOptionsLeaveOutTheirPage()
    {
        QFETCH(QString, key);
        QFETCH(bool, wrongType);
        OptionsMap options;
        QVariant other = QVariant::fromValue(&options.global);
        if (wrongType)
            options.map.insert(key, &other);
        else
            options.map.remove(key);
        LogCapture log;
        Settings dialog(nullptr, &options.map, QStringLiteral("Global"));
        QVERIFY(log.messages().join('\n').contains(key));
        QTEST(listTexts(&dialog), "rows");
        QCOMPARE(dialog.findChild<QStackedWidget *>("stackedWidget")->count(), listTexts(&dialog).size());
        QCOMPARE(header(&dialog), QStringLiteral("Global"));
        QCOMPARE(shownPage(&dialog), QStringLiteral("GlobalSettings"));

        QSignalSpy applied(&dialog, &Settings::applyRequest);
        if (auto *theme = dialog.findChild<QComboBox *>("comboBoxTheme"))
            theme->setCurrentIndex(1);
        press(&dialog, "pushButtonApply");
        QCOMPARE(applied.count(), 1);
        QCOMPARE(options.scope.theme, key == "ScopeOptions" ? 0 : 1);
    }

    // ---- the dialog from the window ----

    void openedFromTheWindow_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("header");

        QTest::newRow("menu action") << "menu" << "" << "Python console";
        QTest::newRow("display's context menu") << "display" << "MultimeterDisplay" << "Multimeter display";
        QTest::newRow("console's request") << "PythonConsole" << "PythonConsole" << "Python console";
        QTest::newRow("oscilloscope") << "Oscilloscope" << "Oscilloscope" << "Oscilloscope";
        QTest::newRow("global") << "Global" << "Global" << "Global";
        QTest::newRow("unknown name") << "Meter" << "Meter" << "Python console";
    }
    void openedFromTheWindow()
    {
        QFETCH(QString, route);
        QFETCH(QString, item);
        QFETCH(QString, header);
        VeskInterface window;
        QSignalSpy applied(&window, &VeskInterface::applyConfigurationRequest);
        bool seen = false;
        whileOpen([&](Settings *dialog) {
            seen = true;
            QCOMPARE(dialog->parentWidget(), &window);
            QCOMPARE(window.settingsDialog, dialog);
            QVERIFY(dialog->isModal());
            QCOMPARE(::header(dialog), header);
        });
        LogCapture log;
        if (route == "menu") {
            window.ui->actionSettings->trigger();
        } else if (route == "display") {
            MultimeterDisplay *display = displayWithSettings(window);
            QVERIFY(display);
            settingsAction(display)->trigger();
        } else {
            requestSettings(window, route);
        }
        QVERIFY(seen);
        QCOMPARE(log.count(QString("Call settings by: " + item).trimmed()), 1);
        QCOMPARE(applied.count(), 0);
        // A closed dialog is gone, not kept as a hidden child.
        QVERIFY(window.findChildren<Settings *>().isEmpty());
        QVERIFY(!window.settingsDialog);
    }

    void windowAfterTheDialog_data()
    {
        QTest::addColumn<QStringList>("presses");
        QTest::addColumn<bool>("copied");
        QTest::addColumn<int>("requests");

        QTest::newRow("OK") << QStringList{"pushButtonOk"} << true << 1;
        QTest::newRow("Cancel") << QStringList{"pushButtonCancel"} << false << 0;
        QTest::newRow("Apply, then Cancel") << QStringList{"pushButtonApply", "pushButtonCancel"} << true << 1;
        QTest::newRow("Apply twice, then OK") << QStringList{"pushButtonApply", "pushButtonApply", "pushButtonOk"}
                                              << true << 3;
    }
    // Apply and OK reach the plot and the displays that share the options;
    // Cancel leaves everything, and the next opening shows what is in force.
    void windowAfterTheDialog()
    {
        QFETCH(QStringList, presses);
        QFETCH(bool, copied);
        VeskInterface window;
        QCustomPlot *plot = window.ui->plotterWidget;
        MultimeterDisplay *shared = displayWithSettings(window);
        QVERIFY(shared);
        QLabel *sharedValue = shared->findChild<QLabel *>("labelValue");
        const QString fontBefore = sharedValue->font().family();
        const QColor ch2Before = window.ch2Graph->pen().color();
        // No data tick may take the redraw request while the dialog is open.
        window.dataTimer.stop();
        window.replotRequest = false;
        QSignalSpy applied(&window, &VeskInterface::applyConfigurationRequest);

        whileOpen([&](Settings *dialog) {
            editEveryPage(dialog);
            for (const QString &button : presses)
                press(dialog, button);
        });
        requestSettings(window, QStringLiteral("Oscilloscope"));

        QTEST(applied.count(), "requests");
        QCOMPARE(window.scopeOptions->gridStyle, copied ? 0 : 1);
        QCOMPARE(window.pythonConsoleOptions->restoreSize, copied);
        QCOMPARE(int(plot->xAxis->grid()->pen().style()), int(copied ? Qt::NoPen : Qt::DotLine));
        QCOMPARE(int(plot->yAxis->grid()->pen().style()), int(copied ? Qt::NoPen : Qt::DotLine));
        QCOMPARE(window.ch2Graph->pen().color(), copied ? QColor(Qt::red) : ch2Before); // the light theme's CH2
        if (copied)
            QCOMPARE(window.logicLabelX, plot->axisRect()->rect().right() - 50);
        QCOMPARE(window.replotRequest, copied);
        QCOMPARE(sharedValue->font().family(), copied ? QStringLiteral("DejaVu Sans Mono") : fontBefore);

        whileOpen([&](Settings *dialog) {
            QCOMPARE(field<QComboBox>(dialog, "comboBoxGridStyle")->currentText(),
                     copied ? QStringLiteral("No Grid") : QStringLiteral("Dots"));
            QCOMPARE(field<QComboBox>(dialog, "comboBoxExtendPrecision")->currentText(),
                     copied ? QStringLiteral("5") : QStringLiteral("3"));
        });
        requestSettings(window, QStringLiteral("Oscilloscope"));
    }
};

VESK_TEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
