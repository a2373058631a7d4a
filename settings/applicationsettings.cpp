#include "applicationsettings.h"

#include <QDir>
#include <QSettings>

ApplicationSettings ApplicationSettings::load()
{
    QSettings settings;
    ApplicationSettings stored;
    stored.size = settings.value(QStringLiteral("size")).toSize();
    stored.wasMaximized = settings.value(QStringLiteral("wasMaximized"), false).toBool();
    stored.theme = settings.value(QStringLiteral("theme")).toInt();
    stored.defaultDir = settings.value(QStringLiteral("defaultDir")).toString();
    if (stored.defaultDir.isEmpty())
        stored.defaultDir = QDir::homePath();
    return stored;
}

void ApplicationSettings::save(const QSize &size, bool maximized, const QString &defaultDir)
{
    QSettings settings;
    settings.setValue(QStringLiteral("size"), size);
    settings.setValue(QStringLiteral("wasMaximized"), maximized);
    settings.setValue(QStringLiteral("defaultDir"), defaultDir);
    // A first run logs everything; later runs keep to warnings and worse
    // unless the user has chosen a level.
    if (settings.value(QStringLiteral("loggingLevel"), -1).toInt() < 0)
        settings.setValue(QStringLiteral("loggingLevel"), 2);
}

bool ApplicationSettings::hasWindowSize() const
{
    return !wasMaximized && size.width() > 0 && size.height() > 0;
}
