// The application's own settings: window geometry, file dialog directory,
// first theme default and the log level for later runs.
#include "veskinterface.h"

#include "applicationsettings.h"
#include "scopeoptions.h"
#include "windowplacement.h"

void VeskInterface::setupAppSetting()
{
    startingUp = true;
    const ApplicationSettings stored = ApplicationSettings::load();
    if (stored.hasWindowSize())
        setGeometry(0, 0, stored.size.width(), stored.size.height());
    // A size stored on a larger screen, or the form's own on a first start,
    // is limited to this one's free area, title bar and frame included.
    WindowPlacement::place(this, this);
    scopeOptions->theme = stored.theme;
    defaultDirectory = stored.defaultDir;
}

void VeskInterface::saveAppSettings()
{
    deviceSettingsSave();
    logToFile(QStringLiteral("Save application settings"), 0);
    ApplicationSettings::save(size(), isMaximized(), defaultDirectory);
}
