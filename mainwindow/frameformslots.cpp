#include "veskinterface.h"

void VeskInterface::on_actionConsole_triggered()
{
    // Filled in by the Python console.
}

void VeskInterface::on_mainTabWidget_currentChanged(int index)
{
    mainTabChanged(index);
}
