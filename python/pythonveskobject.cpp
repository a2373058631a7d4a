#include "pythonveskobject.h"

#include "common.h"
#include "pythonengine.h"
#include "scripttarget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QThread>

#include <algorithm>
#include <climits>

namespace {

// A sleeping script still hears Ctrl+C and a closing window this often.
constexpr quint64 sleepSlice = 20;

} // namespace

void PythonVeskObject::setVeskQt(ScriptTarget *window)
{
    veskQt = window;
}

QObject *PythonVeskObject::findNamedChild(QObject *object, const QString &name)
{
    if (object)
        return object->findChild<QObject *>(name);
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->objectName() == name)
            return window;
        if (QObject *found = window->findChild<QObject *>(name))
            return found;
    }
    return nullptr;
}

QMainWindow *PythonVeskObject::createWindow()
{
    auto *window = new QMainWindow;
    window->setAttribute(Qt::WA_QuitOnClose, false);
    window->show();
    return window;
}

QObject *PythonVeskObject::findChild(QObject *object, const QString &name)
{
    return findNamedChild(object, name);
}

void PythonVeskObject::refresh()
{
    PythonEngine::instance()->serveAll();
}

void PythonVeskObject::sleep(unsigned long sec)
{
    msleep(sec > ULONG_MAX / 1000 ? ULONG_MAX : sec * 1000);
}

void PythonVeskObject::msleep(unsigned long msec)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const quint64 spent = quint64(clock.elapsed());
        if (spent >= msec)
            return;
        QThread::msleep(std::min<quint64>(msec - spent, sleepSlice));
        if (PythonEngine::instance()->serveInput())
            return;
    }
}

QString PythonVeskObject::getVersion() const
{
    return QCoreApplication::applicationName() + QStringLiteral(" (") + QCoreApplication::organizationDomain()
           + QStringLiteral(") - ") + tr("version:") + QLatin1Char(' ') + QCoreApplication::applicationVersion()
           + QLatin1Char('.') + compilationTime();
}

int PythonVeskObject::getBufferSize() const
{
    return veskQt ? veskQt->scriptBufferSize() : 0;
}
