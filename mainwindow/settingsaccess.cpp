// Opening the Settings dialog and re-applying the options it changed.
#include "veskinterface.h"

#include "settings.h"
#include "windowplacement.h"

#include <QDebug>
#include <QPointer>

void VeskInterface::callSettings(const QString &item)
{
    qDebug().noquote() << QStringLiteral("Call settings by: ") + item;
    // A fresh dialog each time, so its pages start from the current options;
    // it goes once closed rather than piling up as a hidden child.
    QPointer<Settings> dialog = new Settings(this, optionsMap, item);
    settingsDialog = dialog;
    connect(dialog, &Settings::applyRequest, this, &VeskInterface::applyModuleConfiguration);
    WindowPlacement::place(dialog, this);
    dialog->exec();
    if (settingsDialog == dialog)
        settingsDialog = nullptr;
    delete dialog;
}

void VeskInterface::on_actionSettings_triggered()
{
    callSettings(QString());
}

void VeskInterface::applyModuleConfiguration()
{
    userApplyingOptions = true;
    emit applyConfigurationRequest();
    userApplyingOptions = false;
}
