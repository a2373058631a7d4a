// The Python console over one main window: the interpreter starting with
// the first console, typed statements and script files with their output
// and errors, the script objects reaching the window's controls, and the
// console surviving whatever a script does.
#include "testmain.h"
#include "logcapture.h"
#include "screenplacement.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "collapsiblepanel.h"
#include "pythonconsole.h"
#include "pythonconsoleoptions.h"
#include "pythonengine.h"
#include "scriptingconsole.h"
#include "settings.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace {

QString frequencyDigits(const Ui_VeskInterface *ui)
{
    const QLabel *labels[] = {ui->labelFrequencyDigit100000, ui->labelFrequencyDigit10000, ui->labelFrequencyDigit1000,
                              ui->labelFrequencyDigit100,    ui->labelFrequencyDigit10,    ui->labelFrequencyDigit1,
                              ui->labelFrequencyDigit01,     ui->labelFrequencyDigit001};
    QString digits;
    for (const QLabel *label : labels)
        digits += label->text();
    return digits;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestPythonConsole : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QSettings().clear();
        window.reset(new VeskInterface);
        QVERIFY(scripts.isValid());
    }

    // Tests that change the shared console options get them back.
    void init()
    {
        keptOptions = *window->pythonConsoleOptions;
    }
    void cleanup()
    {
        *window->pythonConsoleOptions = keptOptions;
    }

    // Runs first: the interpreter waits for the first console.
    void consoleActionMakesShowsAndRemakes()
    {
        QVERIFY(!PythonEngine::instance()->isRunning());
        LogCapture log;
        window->ui->actionConsole->trigger();
        QVERIFY(PythonEngine::instance()->isRunning());
        QCOMPARE(log.count("Create new Python console"), 1);
        PythonConsole *first = console();
        QVERIFY(first && first->isVisible());
        QCOMPARE(first->windowTitle(), QStringLiteral("Vesk - Python Console"));
        first->evaluateScript(QStringLiteral("kept = 41"), false);

        QMetaObject::invokeMethod(first, "hideConsole");
        QVERIFY(!first->isVisible());
        window->ui->actionConsole->trigger();
        QCOMPARE(log.count("Show Ptyhon console"), 1);
        QCOMPARE(console(), first);
        QVERIFY(first->isVisible());

        closeConsole();
        QVERIFY(!window->pythonConsoleAlive);
        window->ui->actionConsole->trigger();
        QCOMPARE(log.count("Recreate Python console"), 1);
        QVERIFY(window->pythonConsoleAlive);
        // Names defined earlier live on in the same interpreter.
        console()->evaluateScript(QStringLiteral("print(kept + 1)"));
        QVERIFY2(text().contains(QStringLiteral("42\nEvaluated 1 line(s).\n>>> ")), qPrintable(text()));
    }

    void menuActions()
    {
        const QList<QAction *> actions = openConsole()->findChild<QMenuBar *>()->actions().first()->menu()->actions();
        QStringList shown;
        for (QAction *action : actions)
            shown << action->text() + QLatin1Char('|') + action->shortcut().toString();
        QCOMPARE(shown, QStringList({"&Open...|Ctrl+O", "Clear|", "&Hide|Ctrl+H", "&Settings...|Ctrl+S", "|",
                                     "&Close|Alt+X"}));
        QCOMPARE(actions.first()->shortcutContext(), Qt::ApplicationShortcut);
        QCOMPARE(actions.last()->shortcutContext(), Qt::WindowShortcut); // Alt+X is also the main window's Exit

        // The request opens the window's Settings dialog at the console's page.
        QSignalSpy requests(console(), &PythonConsole::configurationRequest);
        QString shownPage;
        QTimer::singleShot(0, [&shownPage] {
            if (auto *dialog = qobject_cast<Settings *>(QApplication::activeModalWidget())) {
                shownPage = dialog->findChild<QLabel *>(QStringLiteral("labelConfigurationName"))->text();
                dialog->reject();
            }
        });
        actions.at(3)->trigger();
        QCOMPARE(requests.value(0).value(0).toString(), QStringLiteral("PythonConsole"));
        QCOMPARE(shownPage, QStringLiteral("Python console"));
    }

    void typedStatements()
    {
        openConsole();
        type("print(6 * 7)");
        QVERIFY(text().endsWith(QStringLiteral(">>> print(6 * 7)\n42\n>>> ")));
        type("6 * 7"); // the interactive interpreter shows values
        QVERIFY(text().endsWith(QStringLiteral("42\n>>> ")));
        type("1 / 0");
        QVERIFY(text().contains(QStringLiteral("Traceback")));
        QVERIFY(text().endsWith(QStringLiteral("ZeroDivisionError: division by zero\n>>> ")));
        type("for i in range(2):");
        QVERIFY(text().endsWith(QStringLiteral("... ")));
        type("    print('row', i)");
        type("");
        QVERIFY(text().endsWith(QStringLiteral("row 0\nrow 1\n>>> ")));
        type("input()"); // nothing to read: no wait for the terminal
        QVERIFY(text().endsWith(QStringLiteral("EOFError: EOF when reading a line\n>>> ")));
    }

    // Ending the interpreter would end the program without saving anything.
    void systemExitIsReportedNotObeyed()
    {
        openConsole();
        type("raise SystemExit(3)");
        QVERIFY(text().contains(QStringLiteral("SystemExit: 3")));
        console()->evaluateScript(QStringLiteral("import sys\nsys.exit(2)"));
        QVERIFY(text().endsWith(QStringLiteral("SystemExit: 2 (scripts cannot end the program)\n>>> ")));
        type("print('alive')");
        QVERIFY(text().endsWith(QStringLiteral("alive\n>>> ")));
    }

    void evaluatedLines_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("lines");
        QTest::newRow("empty") << "" << 1;
        QTest::newRow("one line") << "a = 1" << 1;
        QTest::newRow("ending in a break") << "a = 1\n" << 1;
        QTest::newRow("two lines") << "a = 1\nb = 2" << 2;
        QTest::newRow("empty last line") << "a = 1\n\n" << 2;
    }
    void evaluatedLines()
    {
        QFETCH(QString, code);
        QFETCH(int, lines);
        QCOMPARE(PythonConsole::countLines(code), lines);
        openConsole()->evaluateScript(code);
        QVERIFY(text().endsWith(QStringLiteral("Evaluated %1 line(s).\n>>> ").arg(lines)));
    }

    void failedEvaluationIsNoSuccess()
    {
        openConsole()->evaluateScript(QStringLiteral("x = 1\nraise ValueError('bad value')"));
        QVERIFY(text().endsWith(QStringLiteral("ValueError: bad value\n>>> ")));
        QVERIFY(!text().section(QStringLiteral("Traceback"), -1).contains(QStringLiteral("Evaluated")));
    }

    void quietRunsPrintNothing()
    {
        writeFile(scripts.filePath("quiet.py"), "q = 5\n");
        openConsole();
        const QString before = text();
        console()->evaluateScript(QStringLiteral("q = 4"), false);
        console()->runScript(scripts.filePath("quiet.py"), false);
        console()->runScript(scripts.filePath("missing.py"), false);
        QCOMPARE(text(), before);
    }

    void scriptFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("runs in its own folder")
            << QByteArray("import os\nprint(os.path.basename(os.getcwd()) == 'lib')\n") << "True\nEvaluated 2 line(s).";
        QTest::newRow("ends at a zero byte")
            << QByteArray("print('before')\n") + QByteArray(1, '\0') + QByteArray("print('after')\n")
            << "before\nEvaluated 1 line(s).";
        QTest::newRow("traceback names the file")
            << QByteArray("a = 1\nraise KeyError('k')\n") << "script.py\", line 2, in <module>";
    }
    void scriptFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QVERIFY(QDir(scripts.path()).mkpath("lib"));
        const QString path = scripts.filePath("lib/script.py");
        writeFile(path, content);
        const QString directory = QDir::currentPath();
        openConsole()->runScript(path);
        QVERIFY2(text().contains(QStringLiteral("Opening file: script.py ...")), qPrintable(text()));
        QVERIFY2(text().contains(expected), qPrintable(text().right(300)));
        QVERIFY(!text().contains(QStringLiteral("after")));
        QCOMPARE(QDir::currentPath(), directory);
    }

    void missingScriptFile()
    {
        const QString directory = QDir::currentPath();
        const QString path = scripts.filePath("nowhere/gone.py");
        LogCapture log;
        openConsole()->runScript(path);
        QVERIFY(text().endsWith(QStringLiteral("Unable to open file: %1\n>>> ").arg(path)));
        QCOMPARE(log.count(QStringLiteral("Unable to open file: ") + scripts.filePath("nowhere")), 1);
        QCOMPARE(QDir::currentPath(), directory);
    }

    // Scripts act through the generator's own controls.
    void generatorFromScripts_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("square") << "veskAWG.setWaveformSquare()" << "radioButtonSquare.checked" << QVariant(true);
        QTest::newRow("triangle") << "veskAWG.setWaveformTriangle()" << "radioButtonTriangle.checked" << QVariant(true);
        QTest::newRow("duty cycle") << "veskAWG.setLevelsDutyCycle(50)" << "doubleSpinBoxDuty.value" << QVariant(50.0);
        QTest::newRow("sweep on") << "veskAWG.setSweepEnabled(True)" << "collapsiblePanelAWGSweep.checked"
                                  << QVariant(true);
        QTest::newRow("sweep type") << "veskAWG.setSweepTypeOffset()" << "radioButtonSweepOffset.checked"
                                    << QVariant(true);
        QTest::newRow("sweep falling") << "veskAWG.setSweepDirectionFaling()" << "radioButtonSweepFalling.checked"
                                       << QVariant(true);
        QTest::newRow("sweep speed held to its slider") << "veskAWG.setSweepSpeed(200)" << "sweepSpeedSlider.value"
                                                        << QVariant(127);
        QTest::newRow("sweep start cut toward zero") << "veskAWG.setSweepStart(100.9)" << "sweepStartFreqSlider.value"
                                                     << QVariant(100);
        QTest::newRow("sweep end") << "veskAWG.setSweepEnd(150.2)" << "sweepEndFreqSlider.value" << QVariant(150);
    }
    void generatorFromScripts()
    {
        QFETCH(QString, code);
        QFETCH(QString, what);
        QFETCH(QVariant, expected);
        openConsole();
        run(code);
        QObject *widget = window->findChild<QObject *>(what.section('.', 0, 0));
        QVERIFY(widget);
        QCOMPARE(widget->property(what.section('.', 1).toLatin1().constData()).toString(), expected.toString());
    }

    void frequencyFromScript()
    {
        openConsole();
        run(QStringLiteral("veskAWG.setFrequency(1234.567)"));
        QCOMPARE(frequencyDigits(window->ui), QStringLiteral("00123457"));
    }

    void veskServices()
    {
        openConsole();
        bool served = false;
        QTimer::singleShot(0, this, [&served] { served = true; });
        const QString checks = QString::fromLatin1(
            "import sys\n"
            "v = vesk.getVersion()\n"
            "assert v.startswith('Vesk (') and ') - version: 1.2.' in v, v\n"
            "assert vesk.getBufferSize() == %1\n"
            "assert vesk.getMainModule() is sys.modules['__main__']\n"
            "assert veskAWG.getMainModule() is sys.modules['__main__']\n"
            "assert vesk.findChild(None, 'no such object') is None\n"
            "panel = vesk.findChild(None, 'dockWidget_awg')\n"
            "button = veskAWG.findChild(panel, 'radioButtonPinkNoise')\n"
            "assert button.className() == 'QRadioButton' and button.objectName == 'radioButtonPinkNoise'\n"
            "button.click()\n"
            "assert button.checked\n"
            "assert vesk.findChild(button, 'radioButtonSine') is None\n"
            "vesk.refresh()\n"
            "vesk.msleep(1)\n").arg(window->scopeSizeX);
        run(checks);
        QVERIFY(window->ui->radioButtonPinkNoise->isChecked());
        QVERIFY(served);
    }

    void windowFromScript()
    {
        openConsole();
        const int before = QApplication::topLevelWidgets().size();
        run(QStringLiteral("w = vesk.createWindow()\n"
                                                                  "w.setWindowTitle('made by a script')\n"
                                                                  "w.setProperty('objectName', 'scriptWindow')\n"));
        QCOMPARE(QApplication::topLevelWidgets().size(), before + 1);
        auto *made = qobject_cast<QMainWindow *>(topLevelNamed("scriptWindow"));
        QVERIFY(made && made->isVisible());
        QCOMPARE(made->windowTitle(), QStringLiteral("made by a script"));
        // It must not keep the program running after the main window closed.
        QVERIFY(!made->testAttribute(Qt::WA_QuitOnClose));
        delete made;
        run(QStringLiteral("try:\n    w.close()\nexcept RuntimeError:\n    pass\n"
                                                                  "else:\n    raise AssertionError('reached a deleted window')\n"));
    }

    // Script mistakes come back as Python errors; none reaches the program.
    void badCallsRaise_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("error");
        QTest::newRow("frequency not a number") << "veskAWG.setFrequency(float('nan'))" << "ValueError";
        QTest::newRow("infinite sweep start") << "veskAWG.setSweepStart(float('inf'))" << "ValueError";
        QTest::newRow("negative sleep") << "vesk.msleep(-1)" << "ValueError";
        QTest::newRow("negative long sleep") << "vesk.sleep(-5)" << "ValueError";
        QTest::newRow("no object to search") << "vesk.findChild(3, 'x')" << "TypeError";
        QTest::newRow("wrong argument type") << "veskAWG.setSweepSpeed('fast')" << "TypeError";
        QTest::newRow("no deleting") << "vesk.findChild(None, 'radioButtonSine').deleteLater()" << "AttributeError";
        QTest::newRow("no such slot") << "vesk.findChild(None, 'radioButtonSine').noSuchThing()" << "AttributeError";
        QTest::newRow("no own objects") << "type(vesk)()" << "TypeError";
        QTest::newRow("from another thread") << "import threading\n"
                                                "caught = None\n"
                                                "def probe():\n"
                                                "    global caught\n"
                                                "    try:\n"
                                                "        vesk.getBufferSize()\n"
                                                "    except RuntimeError as e:\n"
                                                "        caught = e\n"
                                                "t = threading.Thread(target=probe)\n"
                                                "t.start()\n"
                                                "t.join()\n"
                                                "raise caught\n"
                                             << "RuntimeError";
    }
    void badCallsRaise()
    {
        QFETCH(QString, call);
        QFETCH(QString, error);
        openConsole();
        QSignalSpy output(PythonEngine::instance(), &PythonEngine::output);
        QVERIFY(!PythonEngine::instance()->runCode(call, QStringLiteral("<test>")));
        QString errors;
        for (const QList<QVariant> &piece : output)
            errors += piece.value(0).toString();
        QVERIFY2(errors.contains(error + QLatin1Char(':')), qPrintable(errors));
        QCOMPARE(window->ui->sweepStartFreqSlider->minimum(), 0); // still there
    }

    // A kept reference to the objects of a closed console must not reach
    // freed memory.
    void objectsOfAClosedConsole()
    {
        openConsole();
        run(QStringLiteral("old = vesk\nold_awg = veskAWG"));
        closeConsole();
        openConsole();
        run(
            QStringLiteral("for call in (old.getBufferSize, old_awg.setWaveformSine):\n"
                           "    try:\n        call()\n"
                           "    except RuntimeError:\n        pass\n"
                           "    else:\n        raise AssertionError('reached a deleted object')\n"
                           "assert vesk.getBufferSize() == %1\n")
                .arg(window->scopeSizeX));
    }

    // A script serving events may see its console closed: it is
    // interrupted, and the console stays until the script has returned.
    void closingWhileAScriptRuns()
    {
        PythonConsole *running = openConsole();
        // A real timer: only the script's refresh serves it, inside the try
        // (a posted call might be served by the first serving of input).
        QTimer closeTimer;
        closeTimer.setSingleShot(true);
        connect(&closeTimer, &QTimer::timeout, running, &QWidget::close);
        closeTimer.start(0);
        running->evaluateScript(QStringLiteral("try:\n    vesk.refresh()\n    vesk.refresh()\n"
                                               "except KeyboardInterrupt:\n    pass\nprint('still running')"));
        QVERIFY(window->pythonConsoleAlive);
        QVERIFY(text().contains(QStringLiteral("still running")));
        QVERIFY(!running->isVisible());
        QTRY_VERIFY(!window->pythonConsoleAlive);
    }

    // Running code serves input but never timers, also while it waits in a
    // blocking call: Ctrl+C and the console's close reach it, the traceback
    // shows, and the console works again.
    void runningCodeIsInterrupted_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("closeConsole");
        QTest::addColumn<bool>("servesAll"); // through vesk.refresh()
        const QString timeSleep = "import time\ntime.sleep(600)";
        const QString eventWait = "import threading\nthreading.Event().wait()";
        const QString selectWait = "import select\nselect.select([], [], [], 600)";
        QTest::newRow("busy loop, Ctrl+C") << "while True: pass" << false << false;
        QTest::newRow("long sleep, Ctrl+C") << "vesk.sleep(3600)" << false << false;
        QTest::newRow("long msleep, Ctrl+C") << "vesk.msleep(3600000)" << false << false;
        QTest::newRow("loop serving all events, Ctrl+C") << "while True: vesk.refresh()" << false << true;
        QTest::newRow("time.sleep, Ctrl+C") << timeSleep << false << false;
        QTest::newRow("event wait, Ctrl+C") << eventWait << false << false;
        QTest::newRow("select, Ctrl+C") << selectWait << false << false;
        QTest::newRow("busy loop, console closed") << "while True: pass" << true << false;
        QTest::newRow("long sleep, console closed") << "vesk.sleep(3600)" << true << false;
        QTest::newRow("time.sleep, console closed") << timeSleep << true << false;
        QTest::newRow("event wait, console closed") << eventWait << true << false;
    }
    void runningCodeIsInterrupted()
    {
        QFETCH(QString, code);
        QFETCH(bool, closeConsole);
        QFETCH(bool, servesAll);
        PythonConsole *running = openConsole();
        ScriptingConsole *widget = running->console();
        // A real timer, due at once (a zero single shot would be a posted call).
        bool timerFired = false;
        QTimer dueTimer;
        dueTimer.setSingleShot(true);
        connect(&dueTimer, &QTimer::timeout, this, [&timerFired] { timerFired = true; });
        dueTimer.start(0);
        if (closeConsole)
            QMetaObject::invokeMethod(running, "close", Qt::QueuedConnection);
        else
            QCoreApplication::postEvent(widget, new QKeyEvent(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier));
        QSignalSpy output(PythonEngine::instance(), &PythonEngine::output);
        running->evaluateScript(code);
        QString said;
        for (const QList<QVariant> &piece : output)
            said += piece.value(0).toString();
        if (!servesAll)
            QVERIFY(!timerFired);
        QVERIFY2(said.endsWith(QStringLiteral("KeyboardInterrupt\n")), qPrintable(said));
        if (closeConsole) {
            QTRY_VERIFY(!window->pythonConsoleAlive);
            return;
        }
        QVERIFY(!PythonEngine::instance()->isBusy());
        type("print('after')");
        QVERIFY2(text().endsWith(QStringLiteral(">>> print('after')\nafter\n>>> ")), qPrintable(text().right(200)));
    }

    // Whatever is selected and pressed, the prompt stays and what is typed
    // after it runs as typed.
    void promptSurvivesEditing_data()
    {
        QTest::addColumn<QString>("typedFirst");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("typedLast");
        const QString statement = QStringLiteral("print(2)");
        QTest::newRow("select all, Backspace") << "" << QStringList{"Ctrl+A", "Backspace"} << statement;
        QTest::newRow("select all, Delete") << "x" << QStringList{"Ctrl+A", "Del"} << statement;
        QTest::newRow("select all, cut") << "x" << QStringList{"Ctrl+A", "Ctrl+X"} << statement;
        QTest::newRow("select all, typed over") << "x" << QStringList{"Ctrl+A"} << statement;
        QTest::newRow("select all, paste") << "x" << QStringList{"Ctrl+A", "Ctrl+V"} << "";
        QTest::newRow("Home, Backspace") << "" << QStringList{"Home", "Backspace", "Backspace"} << statement;
        QTest::newRow("Home, word back") << "" << QStringList{"Home", "Ctrl+Backspace"} << statement;
        QTest::newRow("blanks, word back") << "   " << QStringList{"Ctrl+Backspace", "Ctrl+Backspace"} << statement;
        QTest::newRow("line deleted") << "x" << QStringList{"Ctrl+U", "Ctrl+Shift+Backspace"} << statement;
        QTest::newRow("Shift+Home, Backspace") << "xyz" << QStringList{"Shift+Home", "Backspace"} << statement;
        QTest::newRow("left past the input, Delete") << "" << QStringList{"Left", "Left", "Del", "Backspace"}
                                                      << statement;
        QTest::newRow("output and prompt selected, Delete")
            << "" << QStringList{"Ctrl+Home", "Ctrl+Shift+End", "Del"} << statement;
        QTest::newRow("output selected, typed") << "" << QStringList{"Ctrl+Home", "Shift+Down"} << statement;
        QTest::newRow("cursor in the prompt, Backspace") << "" << QStringList{"in prompt", "Backspace"} << statement;
        QTest::newRow("cursor in the prompt, paste") << "" << QStringList{"in prompt", "Ctrl+V"} << "";
    }
    void promptSurvivesEditing()
    {
        QFETCH(QString, typedFirst);
        QFETCH(QStringList, keys);
        QFETCH(QString, typedLast);
        openConsole();
        ScriptingConsole *widget = console()->console();
        QApplication::clipboard()->setText(QStringLiteral("print(2)"));
        type("print(1)");
        QTest::keyClicks(widget, typedFirst);
        for (const QString &key : keys) {
            if (key == QLatin1String("in prompt")) {
                QTextCursor cursor = widget->textCursor();
                cursor.setPosition(widget->document()->lastBlock().position() + 2);
                widget->setTextCursor(cursor);
            } else {
                QTest::keySequence(widget, QKeySequence(key));
            }
        }
        QTest::keyClicks(widget, typedLast);
        QTest::keyClick(widget, Qt::Key_Return);
        QVERIFY2(text().endsWith(QStringLiteral(">>> print(2)\n2\n>>> ")), qPrintable(text().right(200)));
    }

    void outputIsBounded()
    {
        openConsole();
        type("print('\\n'.join(str(i) for i in range(25000)))");
        QVERIFY(console()->console()->document()->blockCount() <= ScriptingConsole::maxLines);
        QVERIFY(text().endsWith(QStringLiteral("24999\n>>> ")));
    }

    void sizeAtStart_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<QSize>("saved");
        QTest::addColumn<QSize>("limitsMinimum");
        QTest::addColumn<QSize>("limitsMaximum");
        QTest::addColumn<QSize>("cells");
        QTest::newRow("defaults") << false << QSize(80, 30) << QSize(40, 1) << QSize(999, 999) << QSize(120, 20);
        QTest::newRow("restored") << true << QSize(80, 30) << QSize(40, 1) << QSize(999, 999) << QSize(80, 30);
        QTest::newRow("nothing saved") << true << QSize(0, 30) << QSize(40, 1) << QSize(999, 999) << QSize(120, 20);
        QTest::newRow("held to the limits") << true << QSize(5000, 3) << QSize(40, 5) << QSize(999, 999)
                                            << QSize(999, 5);
        QTest::newRow("crossed limits") << true << QSize(80, 30) << QSize(70, 40) << QSize(60, 20) << QSize(60, 20);
    }
    void sizeAtStart()
    {
        QFETCH(bool, restore);
        QFETCH(QSize, saved);
        QFETCH(QSize, limitsMinimum);
        QFETCH(QSize, limitsMaximum);
        QFETCH(QSize, cells);
        closeConsole();
        PythonConsoleOptions &options = *window->pythonConsoleOptions;
        options.restoreSize = restore;
        options.sizeWidth = saved.width();
        options.sizeHeight = saved.height();
        options.sizeWidthMinimum = limitsMinimum.width();
        options.sizeHeightMinimum = limitsMinimum.height();
        options.sizeWidthMaximum = limitsMaximum.width();
        options.sizeHeightMaximum = limitsMaximum.height();
        PythonConsole *made = openConsole();
        QCOMPARE(QSize(options.sizeWidth, options.sizeHeight), cells);
        QCOMPARE(made->size(), QSize(made->colsToPixel(cells.width()), made->rowsToPixel(cells.height()))
                                    .boundedTo(made->screen()->availableGeometry().size()));
        // Whatever its size, it opens within the free area of the main
        // window's screen, frame and title bar included.
        QVERIFY(QTest::qWaitForWindowExposed(made));
        const QString fault = VeskTest::placementFault(made, window->screen()->availableGeometry());
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        closeConsole();
    }

    // A maximum of 0 is no maximum; a huge size must still give a window
    // size, not an overflow.
    void hugeSizeWithoutMaximum()
    {
        closeConsole();
        PythonConsoleOptions &options = *window->pythonConsoleOptions;
        options.restoreSize = true;
        options.sizeWidthMaximum = 0;
        options.sizeWidth = 2000000000;
        options.sizeHeight = 10;
        PythonConsole *made = openConsole();
        QCOMPARE(options.sizeWidth, 2000000000);
        QCOMPARE(made->colsToPixel(options.sizeWidth), QWIDGETSIZE_MAX);
        QCOMPARE(made->pixelToCols(made->colsToPixel(300)), 300);
        QVERIFY(made->width() <= made->screen()->availableGeometry().width());
        closeConsole();
    }

    void resizeShowsAndKeepsTheCells()
    {
        closeConsole();
        PythonConsole *shown = openConsole();
        auto *overlay = shown->findChild<QLineEdit *>();
        QVERIFY(overlay && !overlay->isVisible()); // the first sizing shows nothing
        shown->resize(shown->colsToPixel(60), shown->rowsToPixel(25));
        QCOMPARE(window->pythonConsoleOptions->sizeWidth, 60);
        QCOMPARE(window->pythonConsoleOptions->sizeHeight, 25);
        QVERIFY(overlay->isVisible());
        QCOMPARE(overlay->text(), QStringLiteral("txt: 60 x 25"));
        QVERIFY(qAbs(overlay->geometry().center().x() - shown->width() / 2) <= 1);
        QTRY_VERIFY(!overlay->isVisible());
    }

    // New options reach an open console through the main window; new
    // default sizes wait for the next console.
    void settingsReachAnOpenConsole()
    {
        PythonConsole *shown = openConsole();
        PythonConsoleOptions &options = *window->pythonConsoleOptions;
        options.colorName = QStringLiteral("#102030");
        options.fontSize = 14;
        options.sizeWidthDefault = 60;
        emit window->applyConfigurationRequest();
        QVERIFY(shown->console()->styleSheet().contains(QStringLiteral("color: #102030;")));
        QCOMPARE(shown->console()->font().pointSize(), 14);
        QCOMPARE(QSize(options.sizeWidth, options.sizeHeight),
                 QSize(shown->pixelToCols(shown->width()), shown->pixelToRows(shown->height())));
        QVERIFY(options.sizeWidth != 60);
    }

    void cleanupTestCase()
    {
        window.reset(); // with an open console
    }

private:
    PythonConsole *console() const
    {
        return window->pythonConsoleAlive ? window->pythonConsole : nullptr;
    }

    PythonConsole *openConsole()
    {
        if (!console() || !console()->isVisible())
            window->ui->actionConsole->trigger();
        return console();
    }

    void closeConsole()
    {
        if (!console())
            return;
        console()->close();
        QTRY_VERIFY(!window->pythonConsoleAlive);
    }

    // Runs code as a script would; a failure shows what Python said.
    void run(const QString &code)
    {
        QSignalSpy output(PythonEngine::instance(), &PythonEngine::output);
        const bool ok = PythonEngine::instance()->runCode(code, QStringLiteral("<test>"));
        QString said;
        for (const QList<QVariant> &piece : output)
            said += piece.value(0).toString();
        QVERIFY2(ok, qPrintable(said));
    }

    QString text() const
    {
        return console()->console()->toPlainText();
    }

    void type(const QString &line)
    {
        ScriptingConsole *widget = console()->console();
        widget->setInput(line);
        QTest::keyClick(widget, Qt::Key_Return);
    }

    static QObject *topLevelNamed(const QString &name)
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == name)
                return widget;
        }
        return nullptr;
    }

    std::unique_ptr<VeskInterface> window;
    PythonConsoleOptions keptOptions;
    QTemporaryDir scripts;
};

VESK_TEST_MAIN(TestPythonConsole)
#include "tst_pythonconsole.moc"
