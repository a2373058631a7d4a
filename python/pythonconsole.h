#ifndef PYTHONCONSOLE_H
#define PYTHONCONSOLE_H

#include <QFont>
#include <QMainWindow>

class PythonConsoleOptions;
class PythonVeskObject;
class PythonVeskObjectAWG;
class QAction;
class QLineEdit;
class QMenu;
class QTimer;
class ScriptingConsole;

// The Python console window: typed statements and script files run in the
// interpreter's main module, where `vesk` and `veskAWG` reach the main
// window. Its size is counted in character cells of the console font and
// kept in the options. Code runs on the GUI thread; while it runs (it
// serves input, and a script may serve all events through vesk.refresh())
// no other code is started, Ctrl+C interrupts it, and closing the window
// interrupts it and waits until it has returned.
class PythonConsole : public QMainWindow
{
    Q_OBJECT

public:
    // parent is the main window; alive is set while this console exists.
    PythonConsole(QWidget *parent, PythonConsoleOptions *options, bool *alive);
    ~PythonConsole() override;

    ScriptingConsole *console() const { return scriptingConsole; }

    // Cell metrics of the console font; results stay within a window's
    // possible size.
    int colsToPixel(int columns) const;
    int pixelToCols(int pixels) const;
    int rowsToPixel(int rows) const;
    int pixelToRows(int pixels) const;
    // Lines of a text: its line breaks, plus one unless it ends with one.
    static int countLines(const QString &text);

signals:
    void configurationRequest(const QString &component);

public slots:
    void evaluateScript(const QString &evalCode, bool notify = true);
    void runScript(const QString &fileName, bool notify = true);
    void applyConfiguration();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void openScript();
    void clearConsole();
    void hideConsole();
    void closeConsole();
    void resizeTimeout();
    void callSettings();
    void runTypedLine(const QString &line);

private:
    void initPythonConsole();
    void deletePythonConsole();
    void createMenu();
    void printConsole(const QString &text);
    // Runs code unless other code is running; false when it did not run or
    // raised.
    bool evaluate(const QString &code, const QString &sourceName);
    void setRunning(bool running);
    void finishEvaluation();

    PythonConsoleOptions *consoleOptions;
    bool *aliveFlag;
    ScriptingConsole *scriptingConsole = nullptr;
    PythonVeskObject *veskObject = nullptr;
    PythonVeskObjectAWG *veskAwgObject = nullptr;
    QFont consoleFont;
    QTimer *resizeTimer = nullptr;
    QLineEdit *sizeOverlay = nullptr;
    QAction *openAction = nullptr;
    QAction *clearAction = nullptr;
    QAction *hideAction = nullptr;
    QAction *settingsAction = nullptr;
    QAction *closeAction = nullptr;
    QMenu *actionMenu = nullptr;
    int sizeOverlayTimeout = 800;
    bool closePending = false; // closing waits for running code
};

#endif // PYTHONCONSOLE_H
