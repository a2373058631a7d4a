// The Console action: one Python console at a time, made on demand.
#include "veskinterface.h"

#include "pythonconsole.h"

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
    pythonConsole->show();
}
