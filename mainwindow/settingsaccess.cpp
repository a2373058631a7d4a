// Opening the Settings dialog and re-applying the options it changed.
#include "veskinterface.h"

void VeskInterface::callSettings(const QString &item)
{
    logToFile(QStringLiteral("Call settings by: ") + item, 0);
    // The Settings dialog arrives with the settings pages; until then the
    // request is only logged.
}

void VeskInterface::on_actionSettings_triggered()
{
    callSettings(QString());
}

void VeskInterface::applyModuleConfiguration()
{
    emit applyConfigurationRequest();
}
