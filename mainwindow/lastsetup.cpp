// The last instrument setup, saved at shutdown and restored at start-up.
#include "veskinterface.h"

void VeskInterface::deviceSettingsLoad()
{
    logToFile(QStringLiteral("Read saved device settings"), 0);
    // Restoring the instrument groups comes with the last-setup store.
}

void VeskInterface::deviceSettingsSave()
{
    // Saving the instrument groups comes with the last-setup store.
}
