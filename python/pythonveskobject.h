#ifndef PYTHONVESKOBJECT_H
#define PYTHONVESKOBJECT_H

#include <QObject>
#include <QString>

class QMainWindow;
class ScriptTarget;

// General services for scripts, bound as `vesk` in the console's Python
// namespace. The Python side also offers getMainModule().
class PythonVeskObject : public QObject
{
    Q_OBJECT

public:
    // Not a slot: scripts cannot change the window.
    void setVeskQt(ScriptTarget *window);

    // The first descendant of `object` named `name` at any depth; with no
    // object, the first among the application's top-level windows and their
    // descendants (the way a script reaches the main window's widgets).
    static QObject *findNamedChild(QObject *object, const QString &name);

public slots:
    // A new, empty window, shown. It does not keep the program running once
    // the main window has closed.
    QMainWindow *createWindow();
    QObject *findChild(QObject *object, const QString &name);
    // Serves pending events of the whole application, then returns.
    void refresh();
    // Both wait in short slices, serving input between them, and return
    // early when the running code is to be interrupted.
    void sleep(unsigned long sec);
    void msleep(unsigned long msec);
    QString getVersion() const;
    // Samples per channel of the oscilloscope frames.
    int getBufferSize() const;

private:
    ScriptTarget *veskQt = nullptr;
};

#endif // PYTHONVESKOBJECT_H
