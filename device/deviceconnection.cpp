// Finding, identifying, configuring and releasing the instrument.
#include "veskinterface.h"

void VeskInterface::on_connectButton_clicked()
{
    // The connection sequence comes with the device link.
}

void VeskInterface::deviceSettingsExec()
{
    // Running every setting handler once comes with the device link.
}

void VeskInterface::disconnectDevice(bool closing)
{
    Q_UNUSED(closing)
    // Releasing the instrument comes with the device link.
}
