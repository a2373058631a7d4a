// The application's own settings: window geometry, file dialog directory,
// first theme default and the log level for later runs.
#include "veskinterface.h"

#include "applicationsettings.h"
#include "scopeoptions.h"

#include <QScreen>

void VeskInterface::setupAppSetting()
{
    startingUp = true;
    const ApplicationSettings stored = ApplicationSettings::load();
    if (stored.hasWindowSize()) {
        // A size stored on a larger screen is limited to this one's free
        // area; the window keeps the minimum size its docks need.
        const QRect placed = ApplicationSettings::restoredGeometry(screen()->availableGeometry(), stored.size,
                                                                   minimumSizeHint());
        setGeometry(0, 0, placed.width(), placed.height());
        move(placed.topLeft());
    }
    scopeOptions->theme = stored.theme;
    defaultDirectory = stored.defaultDir;
}

void VeskInterface::saveAppSettings()
{
    deviceSettingsSave();
    logToFile(QStringLiteral("Save application settings"), 0);
    ApplicationSettings::save(size(), isMaximized(), defaultDirectory);
}
