#include "pythonveskobject.h"

#include "common.h"
#include "veskinterface.h"

#include <QApplication>
#include <QMainWindow>
#include <QThread>

void PythonVeskObject::setVeskQt(VeskInterface *window)
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
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void PythonVeskObject::sleep(unsigned long sec)
{
    QThread::sleep(sec);
}

void PythonVeskObject::msleep(unsigned long msec)
{
    QThread::msleep(msec);
}

QString PythonVeskObject::getVersion() const
{
    return QCoreApplication::applicationName() + QStringLiteral(" (") + QCoreApplication::organizationDomain()
           + QStringLiteral(") - ") + tr("version:") + QLatin1Char(' ') + QCoreApplication::applicationVersion()
           + QLatin1Char('.') + compilationTime();
}

int PythonVeskObject::getBufferSize() const
{
    return veskQt ? veskQt->scopeSizeX : 0;
}
