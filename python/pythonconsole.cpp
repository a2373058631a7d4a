#include "pythonconsole.h"

#include "pythonconsoleoptions.h"
#include "pythonengine.h"
#include "pythonveskobject.h"
#include "pythonveskobjectawg.h"
#include "scriptingconsole.h"
#include "log.h"
#include "scripttarget.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>

namespace {

int windowSize(qint64 pixels)
{
    return int(std::clamp<qint64>(pixels, 0, QWIDGETSIZE_MAX));
}

} // namespace

PythonConsole::PythonConsole(QWidget *parent, PythonConsoleOptions *options, bool *alive)
    : QMainWindow(parent)
    , consoleOptions(options)
    , aliveFlag(alive)
{
    *aliveFlag = true;
    setWindowTitle(QCoreApplication::applicationName() + QStringLiteral(" - ") + tr("Python Console"));
    setWindowFlags(windowFlags() & ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    resizeTimer = new QTimer(this);
    connect(resizeTimer, &QTimer::timeout, this, &PythonConsole::resizeTimeout);
    sizeOverlay = new QLineEdit(this);
    sizeOverlay->hide();
    sizeOverlay->setFont(QFont(QStringLiteral("Monospace"), 11));
    sizeOverlay->setAlignment(Qt::AlignCenter);
    sizeOverlay->setReadOnly(true);

    createMenu();
    initPythonConsole();

    if (!consoleOptions->restoreSize || consoleOptions->sizeWidth == 0 || consoleOptions->sizeHeight == 0) {
        consoleOptions->sizeWidth = consoleOptions->sizeWidthDefault;
        consoleOptions->sizeHeight = consoleOptions->sizeHeightDefault;
    }
    sizeOverlay->raise();
    applyConfiguration();
    if (parent)
        connect(parent, SIGNAL(applyConfigurationRequest()), this, SLOT(applyConfiguration()));
}

PythonConsole::~PythonConsole()
{
    logRecord(QStringLiteral("Destruct Python console"), 0);
    deletePythonConsole();
    *aliveFlag = false;
}

void PythonConsole::initPythonConsole()
{
    logRecord(QStringLiteral("Init Python"), 0);
    PythonEngine *engine = PythonEngine::instance();
    const bool started = engine->start();
    if (!scriptingConsole) {
        scriptingConsole = new ScriptingConsole(this);
        scriptingConsole->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        setCentralWidget(scriptingConsole);
        connect(engine, &PythonEngine::output, scriptingConsole, &ScriptingConsole::appendOutput);
        connect(scriptingConsole, &ScriptingConsole::lineEntered, this, &PythonConsole::runTypedLine);
        connect(scriptingConsole, &ScriptingConsole::interruptRequested, engine, &PythonEngine::requestInterrupt);
        engine->setInputWindow(this);
    }
    if (!started) {
        printConsole(tr("Python could not be started; see the log."));
        return;
    }
    auto *window = dynamic_cast<ScriptTarget *>(parentWidget());
    if (!veskObject) {
        veskObject = new PythonVeskObject;
        veskObject->setVeskQt(window);
        engine->addObject(QStringLiteral("vesk"), veskObject);
    }
    if (!veskAwgObject) {
        veskAwgObject = new PythonVeskObjectAWG;
        veskAwgObject->setVeskQt(window);
        engine->addObject(QStringLiteral("veskAWG"), veskAwgObject);
    }
    scriptingConsole->appendCommandPrompt();
}

void PythonConsole::deletePythonConsole()
{
    delete veskObject;
    veskObject = nullptr;
    delete veskAwgObject;
    veskAwgObject = nullptr;
    delete scriptingConsole;
    scriptingConsole = nullptr;
}

void PythonConsole::createMenu()
{
    actionMenu = menuBar()->addMenu(tr("&Action"));
    const auto make = [this](const QString &icon, const QString &text, const QString &iconText,
                             const QKeySequence &shortcut, void (PythonConsole::*slot)()) {
        auto *action = icon.isEmpty() ? new QAction(text, this) : new QAction(QIcon(icon), text, this);
        action->setIconText(iconText);
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::ApplicationShortcut);
        connect(action, &QAction::triggered, this, slot);
        actionMenu->addAction(action);
        return action;
    };
    openAction = make(QStringLiteral(":/icons/menu_openfile.png"), tr("&Open..."), tr("Open"),
                      QKeySequence(QStringLiteral("Ctrl+O")), &PythonConsole::openScript);
    clearAction = make(QStringLiteral(":/icons/menu_clear.png"), tr("Clear"), tr("Clear"), QKeySequence(),
                       &PythonConsole::clearConsole);
    hideAction = make(QString(), tr("&Hide"), tr("Hide"), QKeySequence(QStringLiteral("Ctrl+H")),
                      &PythonConsole::hideConsole);
    settingsAction = make(QStringLiteral(":/icons/menu_settings.png"), tr("&Settings..."), tr("Settings..."),
                          QKeySequence::Save, &PythonConsole::callSettings);
    actionMenu->addSeparator();
    closeAction = make(QStringLiteral(":/icons/menu_exit.png"), tr("&Close"), tr("Close"),
                       QKeySequence(QStringLiteral("Alt+X")), &PythonConsole::closeConsole);
    // Alt+X is also the main window's Exit: application-wide, the two would
    // cancel each other out and neither would work.
    closeAction->setShortcutContext(Qt::WindowShortcut);
}

int PythonConsole::colsToPixel(int columns) const
{
    const QFontMetrics metrics(consoleFont);
    const int margin = int(scriptingConsole->document()->documentMargin());
    const int scrollBar = scriptingConsole->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return windowSize(scrollBar + qint64(columns) * metrics.horizontalAdvance(QLatin1Char('x')) + 2 * margin);
}

int PythonConsole::pixelToCols(int pixels) const
{
    const QFontMetrics metrics(consoleFont);
    const int margin = int(scriptingConsole->document()->documentMargin());
    const int scrollBar = scriptingConsole->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return (pixels - scrollBar - 2 * margin) / std::max(1, metrics.horizontalAdvance(QLatin1Char('x')));
}

int PythonConsole::rowsToPixel(int rows) const
{
    const QFontMetrics metrics(consoleFont);
    const int margin = int(scriptingConsole->document()->documentMargin());
    return windowSize(menuBar()->sizeHint().height() + qint64(rows) * metrics.height() + 2 * margin);
}

int PythonConsole::pixelToRows(int pixels) const
{
    const QFontMetrics metrics(consoleFont);
    const int margin = int(scriptingConsole->document()->documentMargin());
    return (pixels - menuBar()->sizeHint().height() - 2 * margin) / std::max(1, metrics.height());
}

int PythonConsole::countLines(const QString &text)
{
    return text.count(QLatin1Char('\n')) + (text.endsWith(QLatin1Char('\n')) ? 0 : 1);
}

void PythonConsole::applyConfiguration()
{
    PythonConsoleOptions &o = *consoleOptions;
    consoleFont.setFamily(o.fontFamily);
    if (o.fontSize > 0)
        consoleFont.setPointSize(o.fontSize);
    scriptingConsole->setFont(consoleFont);
    // Crossed limits: the maximum wins, as it does for the cell counts.
    setMinimumWidth(colsToPixel(o.validateSizeWidth(o.sizeWidthMinimum)));
    if (o.sizeWidthMaximum != 0)
        setMaximumWidth(colsToPixel(o.sizeWidthMaximum));
    setMinimumHeight(rowsToPixel(o.validateSizeHeight(o.sizeHeightMinimum)));
    if (o.sizeHeightMaximum != 0)
        setMaximumHeight(rowsToPixel(o.sizeHeightMaximum));
    // Only real colours reach the style sheet.
    scriptingConsole->setStyleSheet(QStringLiteral("ScriptingConsole {border: none; background-color: %1; color: %2; }")
                                        .arg(QColor(o.backgroundColorName).name(), QColor(o.colorName).name()));
    o.sizeWidth = o.validateSizeWidth(o.sizeWidth);
    o.sizeHeight = o.validateSizeHeight(o.sizeHeight);
    // No larger than the screen, whatever the stored size says.
    QSize wanted(colsToPixel(o.sizeWidth), rowsToPixel(o.sizeHeight));
    if (const QScreen *screen = this->screen())
        wanted = wanted.boundedTo(screen->availableGeometry().size());
    resize(wanted);
    updateGeometry();
}

void PythonConsole::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    resizeTimer->stop();
    // The first sizing of a new window is no user's resize.
    if (event->oldSize().width() <= 0 || event->oldSize().height() <= 0)
        return;
    const int columns = pixelToCols(event->size().width());
    const int rows = pixelToRows(event->size().height());
    sizeOverlay->setText(QStringLiteral("txt: %1 x %2").arg(columns).arg(rows));
    consoleOptions->sizeWidth = columns;
    consoleOptions->sizeHeight = rows;
    const QFontMetrics metrics(sizeOverlay->font());
    const int boxWidth = metrics.horizontalAdvance(sizeOverlay->text()) + 8;
    const int boxHeight = metrics.height() + 4;
    sizeOverlay->setGeometry((width() - boxWidth) / 2, (height() - boxHeight) / 2 + boxHeight / 2, boxWidth,
                             boxHeight);
    sizeOverlay->show();
    resizeTimer->start(sizeOverlayTimeout);
}

void PythonConsole::resizeTimeout()
{
    resizeTimer->stop();
    sizeOverlay->hide();
}

void PythonConsole::printConsole(const QString &text)
{
    // Shown as it is: the text is never handed to Python.
    scriptingConsole->appendOutput(text + QLatin1Char('\n'), false);
}

bool PythonConsole::evaluate(const QString &code, const QString &sourceName)
{
    PythonEngine *engine = PythonEngine::instance();
    if (engine->isBusy()) {
        scriptingConsole->appendOutput(tr("Python is still running other code.") + QLatin1Char('\n'), true);
        return false;
    }
    setRunning(true);
    const bool ok = engine->runCode(code, sourceName);
    setRunning(false);
    return ok;
}

// Running code serves input: what would open a dialog of its own waits.
void PythonConsole::setRunning(bool running)
{
    scriptingConsole->setBusy(running);
    openAction->setEnabled(!running);
    settingsAction->setEnabled(!running);
}

void PythonConsole::finishEvaluation()
{
    if (closePending && !PythonEngine::instance()->isBusy())
        QTimer::singleShot(0, this, &QWidget::close);
}

void PythonConsole::evaluateScript(const QString &evalCode, bool notify)
{
    const bool ok = evaluate(evalCode.trimmed() + QLatin1Char('\n'), QStringLiteral("<script>"));
    // A failed evaluation leaves its traceback, not a success line.
    if (notify) {
        if (ok)
            printConsole(tr("Evaluated ") + QString::number(countLines(evalCode)) + tr(" line(s)."));
        scriptingConsole->appendCommandPrompt(false);
    }
    finishEvaluation();
}

void PythonConsole::runScript(const QString &fileName, bool notify)
{
    const QString previousDirectory = QDir::currentPath();
    // Resolved before the directory changes, so a relative name still
    // names the file meant.
    const QString path = QFileInfo(fileName).absoluteFilePath();
    const QString scriptDirectory = QFileInfo(path).absolutePath();
    QDir::setCurrent(scriptDirectory);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (notify)
            printConsole(tr("Unable to open file: ") + fileName);
        logRecord(QStringLiteral("Unable to open file: ") + scriptDirectory, 2);
        QDir::setCurrent(previousDirectory);
        return;
    }
    if (notify)
        printConsole(tr("Opening file: ") + QFileInfo(path).fileName() + QStringLiteral(" ..."));
    logRecord(QStringLiteral("Opening file: ") + scriptDirectory, 0);
    QByteArray bytes = file.readAll();
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    const QString text = QString::fromUtf8(bytes);
    // Compiled under the file's name, so tracebacks point into the file.
    const bool ok = evaluate(text.trimmed() + QLatin1Char('\n'), path);
    if (notify) {
        if (ok)
            printConsole(tr("Evaluated ") + QString::number(countLines(text)) + tr(" line(s)."));
        scriptingConsole->appendCommandPrompt(false);
    }
    QDir::setCurrent(previousDirectory);
    finishEvaluation();
}

void PythonConsole::runTypedLine(const QString &line)
{
    setRunning(true);
    const bool more = PythonEngine::instance()->pushLine(line);
    setRunning(false);
    scriptingConsole->appendCommandPrompt(more);
    finishEvaluation();
}

void PythonConsole::openScript()
{
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Open Python Script"), QString(),
                                                          tr("Python Script (*.py);;All Files (*)"));
    if (!fileName.isEmpty())
        runScript(fileName, true);
}

void PythonConsole::clearConsole()
{
    scriptingConsole->clear();
}

void PythonConsole::hideConsole()
{
    setVisible(false);
}

void PythonConsole::closeConsole()
{
    close();
}

void PythonConsole::callSettings()
{
    emit configurationRequest(consoleOptions->getName());
}

void PythonConsole::closeEvent(QCloseEvent *event)
{
    // Running code uses this console's objects: it is interrupted, and the
    // window goes away once it has returned.
    if (PythonEngine::instance()->isBusy()) {
        closePending = true;
        PythonEngine::instance()->requestInterrupt();
        hide();
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
