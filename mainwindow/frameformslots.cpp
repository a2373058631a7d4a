#include "veskinterface.h"

void VeskInterface::on_actionConsole_triggered()
{
    // Filled in by the Python console.
}

void VeskInterface::on_mainTabWidget_currentChanged(int)
{
    // Filled in by the main window's page switch.
}
