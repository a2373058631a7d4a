#include "veskinterface.h"

void VeskInterface::on_mainTabWidget_currentChanged(int index)
{
    mainTabChanged(index);
}
