// The main window's life: what start-up leaves behind, the info line and
// title, About, and the ways out (close, Exit and a termination signal, in
// child processes).
#include "testmain.h"
#include "common.h"
#include "log.h"
#include "veskinterface.h"
#include "screenplacement.h"
#include "ui_veskinterface.h"

#include "about.h"
#include "optionsmetatypes.h"
#include "pythonconsole.h"
#include "terminationsignals.h"

#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>

#include <csignal>
#include <unistd.h>

namespace {

const char childFlag[] = "--window-child";

// Child: the program's start-up steps, then a close, Exit or SIGTERM from the
// event loop, under console code when there is some.
int runChild(int argc, char **argv, const QString &scenario, const QString &script)
{
    applyApplicationIdentity();
    QSettings settings;
    startLogging(settings);
    QApplication app(argc, argv);
    auto *window = new VeskInterface(nullptr);
    TerminationSignals termination;
    termination.closeOnSignal(window);
    window->show();
    QTimer::singleShot(50, window, [window, scenario, script] {
        const auto closeOrExit = [window, scenario] {
            if (scenario.startsWith(QLatin1String("exit")))
                window->ui->actionExit->trigger();
            else if (scenario == QLatin1String("SIGTERM"))
                ::kill(::getpid(), SIGTERM); // to the process, as from outside
            else
                window->close();
        };
        if (script.isEmpty()) {
            closeOrExit();
            return;
        }
        // Reaches the window while the code runs, as a user's click would.
        window->ui->actionConsole->trigger();
        QMetaObject::invokeMethod(window, closeOrExit, Qt::QueuedConnection);
        window->pythonConsole->evaluateScript(script);
    });
    const int code = app.exec();
    delete window;
    return code;
}

struct ChildRun
{
    int exitCode = -1;
    QString log;
};

ChildRun runWindowChild(const QTemporaryDir &dir, const QString &scenario, const QString &script)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Exit ends the process without destructors by design; a leak checker
    // would report the whole window.
    if (scenario == QLatin1String("exit") && script.isEmpty()) {
        const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
        env.insert(QStringLiteral("ASAN_OPTIONS"), asan + (asan.isEmpty() ? "" : ":") + "detect_leaks=0");
    }
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(dir.path());
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(childFlag), scenario, script});
    ChildRun result;
    if (!child.waitForFinished(60000)) {
        child.kill();
        return result;
    }
    result.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -2;
    QFile log(dir.filePath(QStringLiteral("vesk.log")));
    if (log.open(QIODevice::ReadOnly))
        result.log = QString::fromLocal8Bit(log.readAll());
    return result;
}

QSettings childSettings(const QTemporaryDir &dir)
{
    return QSettings(dir.filePath(QStringLiteral("config/vesk.example/Vesk.conf")), QSettings::IniFormat);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings().clear();
    }

    void freshStart()
    {
        VeskInterface window;
        QCOMPARE(window.windowTitle(), QString("Vesk v.1.2   Interface - Not Connected"));
        QCOMPARE(window.ui->mainTabWidget->currentIndex(), 0);
        QVERIFY(!window.ui->actionImport->isEnabled());
        QVERIFY(!window.ui->actionExport->isEnabled());
        QVERIFY(!window.ui->actionConnect->isEnabled());
        QVERIFY(window.dataTimer.isActive());
        QCOMPARE(window.dataTimer.interval(), 4);
        QVERIFY(!window.meterTimer.isActive());
        QVERIFY(!window.startingUp);
        QVERIFY(window.triggerEnabled);
        QVERIFY(!window.instrumentCommands.isBulkCollectMode());
        QCOMPARE(window.defaultDirectory, QDir::homePath());
        // Both docks hold their content in a scroll area.
        auto *scopeScroll = qobject_cast<QScrollArea *>(window.ui->dockWidget_scope->widget());
        QVERIFY(scopeScroll);
        QCOMPARE(scopeScroll->widget(), window.ui->mainTabWidget);
        QCOMPARE(window.ui->dockWidget_awg->widget(), window.ui->scrollArea);
    }

    void optionsRegistry()
    {
        VeskInterface window;
        QCOMPARE(window.optionsMap->keys(),
                 (QStringList{"GlobalOptions", "MultimeterDisplayOptions", "PythonConsoleOptions", "ScopeOptions"}));
        QCOMPARE(window.optionsMap->value("ScopeOptions")->value<ScopeOptions *>(), window.scopeOptions);
        QCOMPARE(window.optionsMap->value("GlobalOptions")->value<GlobalOptions *>(), window.globalOptions);
        QCOMPARE(window.optionsMap->value("PythonConsoleOptions")->value<PythonConsoleOptions *>()->getName(),
                 QString("PythonConsole"));
        QCOMPARE(window.optionsMap->value("MultimeterDisplayOptions")->value<MultimeterDisplayOptions *>()->getName(),
                 QString("MultimeterDisplay"));
        QCOMPARE(window.globalOptions->scaleX, window.logicalDpiX() / 96.0f);
    }

    void sliderRangesAndFrameCache()
    {
        VeskInterface window;
        for (QSlider *slider : {window.ui->ch1PositionSlider, window.ui->ch2PositionSlider,
                                window.ui->ch1CaptureSlider, window.ui->ch2CaptureSlider}) {
            QCOMPARE(slider->minimum(), -512);
            QCOMPARE(slider->maximum(), 512);
        }
        for (QSlider *slider : {window.ui->chdPositionSlider, window.ui->chdCaptureSlider}) {
            QCOMPARE(slider->minimum(), -632);
            QCOMPARE(slider->maximum(), 392);
        }
        // The cached frame header follows the controls at start-up.
        const frameconfig_t header = ScopeFrame::readHeader(window.frameCache);
        QCOMPARE(header.frameType, uint8_t('A'));
        QCOMPARE(int(header.samplesPerChannel), (window.ui->comboBoxADCBuffer->currentIndex() + 1) * 256);
        QCOMPARE(int(header.timeBase), window.ui->samplingSlider->value());
    }

    void panelsShowTheirFrames()
    {
        VeskInterface window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.ui->frameAWGSweep->isHidden());
        for (QWidget *frame : {window.ui->frameAWGWaveform, window.ui->frameAWGFrequency, window.ui->frameAWGLevels,
                               window.ui->frameScopeCursors, window.ui->frameScopeDisplay, window.ui->frameScopeRecord})
            QVERIFY2(!frame->isHidden(), qPrintable(frame->objectName()));
        window.ui->collapsiblePanelAWGFrequency->setCollapsed(true);
        QVERIFY(window.ui->frameAWGFrequency->isHidden());
        window.ui->collapsiblePanelAWGFrequency->setCollapsed(false);
        QVERIFY(!window.ui->frameAWGFrequency->isHidden());
    }

    void infoLineDisablesPlotWhileBusy()
    {
        VeskInterface window;
        window.setInfoText("Please wait...", true);
        QCOMPARE(window.ui->infoLabel->text(), QString("Please wait..."));
        QVERIFY(!window.ui->centralWidget->isEnabled());
        window.setInfoText("Cannot open device");
        QVERIFY(window.ui->centralWidget->isEnabled());
    }

    void everyAboutIsANewDialog()
    {
        VeskInterface window;
        QList<About *> opened;
        auto closeWhenShown = [&opened] {
            About *dialog = qobject_cast<About *>(QApplication::activeModalWidget());
            if (dialog) {
                opened << dialog;
                dialog->closeForm();
            }
        };
        QTimer::singleShot(100, closeWhenShown);
        window.ui->actionAbout->trigger();
        QTimer::singleShot(100, closeWhenShown);
        window.ui->actionAbout->trigger();
        QCOMPARE(opened.size(), 2);
        QVERIFY(opened[0] != opened[1]);
        QCOMPARE(window.aboutDialog.data(), opened[1]);
        QCOMPARE(window.findChildren<About *>().size(), 2);
    }

    // On the test screen, 800 x 600, no wider than the window's minimum: the
    // stored size, or the form's when none is stored, is held to the free area
    // and centred; once shown, the frame is known (2 pixels a side here) and
    // the window makes room for it, unless it was given a size of its own
    // before it was shown.
    void storedWindowSizeIsRestored_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<QSize>("resized");
        QTest::addColumn<QRect>("beforeShown");
        QTest::addColumn<QRect>("shown");
        QTest::newRow("1024 x 768") << QSize(1024, 768) << QSize() << QRect(0, 0, 800, 600)
                                    << QRect(2, 2, 800, 596);
        QTest::newRow("the form's size") << QSize(1371, 966) << QSize() << QRect(0, 0, 800, 600)
                                         << QRect(2, 2, 800, 596);
        QTest::newRow("nothing stored") << QSize() << QSize() << QRect(0, 0, 800, 600) << QRect(2, 2, 800, 596);
        QTest::newRow("fits") << QSize(800, 400) << QSize() << QRect(0, 100, 800, 400) << QRect(2, 102, 800, 400);
        QTest::newRow("below the minimum") << QSize(640, 240) << QSize() << QRect(0, 140, 800, 320)
                                           << QRect(2, 142, 800, 320);
        QTest::newRow("nothing stored, resized") << QSize() << QSize(1366, 768) << QRect(0, 0, 1366, 768)
                                                 << QRect(2, 2, 1366, 768);
    }
    void storedWindowSizeIsRestored()
    {
        QFETCH(QSize, stored);
        QFETCH(QSize, resized);
        QFETCH(QRect, beforeShown);
        QFETCH(QRect, shown);
        {
            QSettings settings;
            if (stored.isValid())
                settings.setValue("size", stored);
            else
                settings.remove("size");
            settings.setValue("wasMaximized", false);
        }
        VeskInterface window;
        QCOMPARE(window.screen()->availableGeometry(), QRect(0, 0, 800, 600));
        if (resized.isValid())
            window.resize(resized);
        QCOMPARE(window.geometry(), beforeShown);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.geometry(), shown);
    }

    // The dialogs open within the free area of the window's screen.
    void dialogsOpenWithinTheScreen_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("custom theme") << "custom theme";
        QTest::newRow("settings") << "settings";
    }
    void dialogsOpenWithinTheScreen()
    {
        QFETCH(QString, dialog);
        VeskInterface window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect area = window.screen()->availableGeometry();
        QString fault = "not shown";
        const auto measure = [&fault, area](QWidget *shown) {
            if (shown && QTest::qWaitForWindowExposed(shown))
                fault = VeskTest::placementFault(shown, area);
        };
        if (dialog == "custom theme") {
            window.scopeOptions->theme = 2;
            QMetaObject::invokeMethod(&window, "applyModuleConfiguration"); // as the Settings dialog's Apply
            measure(&window.customTheme);
            window.customTheme.hide();
        } else {
            QTimer::singleShot(0, &window, [&measure] {
                QWidget *shown = QApplication::activeModalWidget();
                measure(shown);
                if (shown)
                    shown->close();
            });
            window.ui->actionSettings->trigger();
        }
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    void storedCustomThemeShowsItsDialog_data()
    {
        QTest::addColumn<int>("theme");
        QTest::addColumn<bool>("dialogShown");
        QTest::newRow("dark") << 0 << false;
        QTest::newRow("light") << 1 << false;
        QTest::newRow("custom") << 2 << true;
    }
    void storedCustomThemeShowsItsDialog()
    {
        QFETCH(int, theme);
        QFETCH(bool, dialogShown);
        QSettings().setValue("theme", theme);
        VeskInterface window;
        QCOMPARE(window.customTheme.isVisible(), dialogShown);
        window.customTheme.hide();
    }

    void closeAndExitSaveTheApplicationSettings_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QString>("script"); // console code running meanwhile
        const QString busyLoop = "while True: pass";
        const QString timeSleep = "import time\ntime.sleep(600)";
        const QString eventWait = "import threading\nthreading.Event().wait()";
        const QString selectWait = "import select\nselect.select([], [], [], 600)";
        QTest::newRow("window closed") << "close" << "";
        QTest::newRow("Exit action") << "exit" << "";
        QTest::newRow("window closed under a busy loop") << "close" << busyLoop;
        QTest::newRow("Exit under a busy loop") << "exit" << busyLoop;
        QTest::newRow("window closed under time.sleep") << "close" << timeSleep;
        QTest::newRow("window closed under an event wait") << "close" << eventWait;
        QTest::newRow("window closed under select") << "close" << selectWait;
        QTest::newRow("Exit under time.sleep") << "exit" << timeSleep;
        QTest::newRow("SIGTERM under time.sleep") << "SIGTERM" << timeSleep;
        QTest::newRow("SIGTERM under an event wait") << "SIGTERM" << eventWait;
        QTest::newRow("SIGTERM under select") << "SIGTERM" << selectWait;
    }
    void closeAndExitSaveTheApplicationSettings()
    {
        QFETCH(QString, scenario);
        QFETCH(QString, script);
        QTemporaryDir dir;
        const ChildRun run = runWindowChild(dir, scenario, script);
        QCOMPARE(run.exitCode, 0);
        const int down = run.log.indexOf("Application goes down");
        const int saved = run.log.indexOf("Save application settings");
        QVERIFY2(down >= 0 && saved > down, qPrintable(run.log));
        if (scenario.startsWith("exit"))
            QVERIFY(run.log.indexOf("Exit triggered") < down && run.log.contains("Exit triggered"));
        if (scenario == "SIGTERM")
            QVERIFY(run.log.indexOf("Signal 15") < down && run.log.contains("Signal 15"));
        if (!script.isEmpty())
            QVERIFY(run.log.indexOf("Close waits for the running script") < down
                    && run.log.contains("Close waits for the running script"));
        QSettings stored = childSettings(dir);
        QCOMPARE(stored.value("loggingLevel").toInt(), 2);
        QVERIFY(stored.value("size").toSize().isValid());
        QCOMPARE(stored.value("wasMaximized").toBool(), false);
        QCOMPARE(stored.value("defaultDir").toString(), QDir::homePath());
        QVERIFY2(stored.childGroups().contains("Trigger"), qPrintable(stored.childGroups().join(','))); // the setup
    }
};

int main(int argc, char *argv[])
{
    if (argc >= 4 && qstrcmp(argv[1], childFlag) == 0)
        return runChild(argc, argv, QString::fromLatin1(argv[2]), QString::fromUtf8(argv[3]));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    VeskTest::prepareEnvironment();
    QApplication app(argc, argv);
    QApplication::setFont(QFont("DejaVu Sans", 9));
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
