// The Console action: one Python console at a time, made on demand; and
// the window's own work while console code runs.
#include "veskinterface.h"

#include "pythonconsole.h"
#include "pythonengine.h"
#include "windowplacement.h"

void VeskInterface::on_actionConsole_triggered()
{
    logToFile(QStringLiteral("Check Python console status"), 0);
    if (pythonConsole && pythonConsoleAlive) {
        logToFile(QStringLiteral("Show Ptyhon console"), 0);
        pythonConsole->setVisible(true);
        return;
    }
    logToFile(pythonConsole ? QStringLiteral("Recreate Python console") : QStringLiteral("Create new Python console"), 0);
    pythonConsole = new PythonConsole(this, pythonConsoleOptions, &pythonConsoleAlive);
    pythonConsole->setAttribute(Qt::WA_DeleteOnClose);
    connect(pythonConsole, &PythonConsole::configurationRequest, this, &VeskInterface::callSettings);
    WindowPlacement::place(pythonConsole, this);
    pythonConsole->show();
}

bool VeskInterface::closeWaitsForScript()
{
    PythonEngine *engine = PythonEngine::instance();
    if (!engine->isBusy())
        return false;
    if (!closeAfterScript) {
        closeAfterScript = true;
        logToFile(QStringLiteral("Close waits for the running script"), 2);
        connect(engine, &PythonEngine::finished, this, &QWidget::close, Qt::QueuedConnection);
    }
    engine->requestInterrupt();
    return true;
}

void VeskInterface::holdDeviceWork(bool held)
{
    deviceWorkHeld = held;
    libUsbDevice.holdDelivery(held);
    if (!held && connectionLostHeld) {
        connectionLostHeld = false;
        QMetaObject::invokeMethod(this, &VeskInterface::deviceConnectionLost, Qt::QueuedConnection);
    }
}
