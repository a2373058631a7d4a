#ifndef PYTHONENGINE_H
#define PYTHONENGINE_H

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>

// The embedded Python interpreter, one per process. It starts on the first
// start() (a console being built), never earlier, and is never shut down,
// so names defined by scripts survive a closed and re-created console.
// Python's standard output and error come out of the output() signal.
// Code runs on the GUI thread; while it runs, a watchdog thread has the
// interpreter serve the window system's input and close events now and
// then (never timers), also in the middle of a blocking call such as a
// sleep or a wait, so Ctrl+C and closing a window can interrupt it.
// No Python header here: Python.h does not mix with Qt's `slots` macro.
class PythonEngine : public QObject
{
    Q_OBJECT

public:
    static PythonEngine *instance(); // does not start Python

    // Starts the interpreter once; false (and a critical log line) when it
    // cannot start, after which it is not tried again.
    bool start();
    bool isRunning() const;
    // True while Python code runs (a script may re-enter the event loop
    // through vesk.refresh()).
    bool isBusy() const;

    // Runs code as a module body in __main__, named fileName in
    // tracebacks. False when it raised; the traceback has then gone to the
    // error output. SystemExit is reported, never obeyed.
    bool runCode(const QString &code, const QString &fileName);
    // One typed line for the interactive interpreter; true while a block
    // is still open and more lines are wanted.
    bool pushLine(const QString &line);

    // Binds the script objects in __main__, replacing earlier ones.
    void addObject(const QString &name, QObject *object);

    void emitOutput(const QString &text, bool isError);

    // While code runs, input events reach only this window and what it
    // owns; other windows get their close events alone.
    void setInputWindow(QObject *window);
    // Raises KeyboardInterrupt in the running code at its next step; does
    // nothing when no code runs. Any thread may ask.
    void requestInterrupt();
    // Serves input and close events once, as the watchdog has the running
    // code do; true when an interruption is waiting. For code that waits
    // outside the interpreter (a sleep) on the GUI thread.
    bool serveInput();
    // Serves every kind of event once, device work included (a script's
    // vesk.refresh()).
    void serveAll();
    // Raises the waiting interruption, if any, in the calling code; on the
    // GUI thread with the interpreter's lock held.
    void raiseInterrupt();

signals:
    void output(const QString &text, bool isError);
    // The outermost running code has returned.
    void finished();
    // True while code runs and serves input alone: work the instrument
    // brings (its hand-over, a lost link) is to wait meanwhile.
    void deviceWorkHeld(bool held);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PythonEngine() = default;
    void enterCode();
    void leaveCode();
    void watch();
    // The handler of the watchdog's signal, between two steps of the
    // running code or inside its blocking call.
    void serveFromSignal();

    int busyDepth = 0;
    bool startFailed = false;
    bool serving = false;
    QPointer<QObject> inputWindow;
    std::atomic<bool> running{false};
    std::atomic<bool> interruptWanted{false};
};

#endif // PYTHONENGINE_H
