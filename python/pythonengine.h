#ifndef PYTHONENGINE_H
#define PYTHONENGINE_H

#include <QObject>
#include <QString>

// The embedded Python interpreter, one per process. It starts on the first
// start() (a console being built), never earlier, and is never shut down,
// so names defined by scripts survive a closed and re-created console.
// Python's standard output and error come out of the output() signal.
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

signals:
    void output(const QString &text, bool isError);

private:
    PythonEngine() = default;

    int busyDepth = 0;
    bool startFailed = false;
};

#endif // PYTHONENGINE_H
