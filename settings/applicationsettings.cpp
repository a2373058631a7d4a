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

QPoint ApplicationSettings::centredPosition(const QRect &screen, const QSize &window)
{
    const QPoint screenCentre = screen.center();
    const QPoint windowCentre((window.width() - 1) / 2, (window.height() - 1) / 2);
    return screenCentre - windowCentre;
}

QRect ApplicationSettings::restoredGeometry(const QRect &area, const QSize &stored, const QSize &minimum)
{
    const QSize window = stored.boundedTo(area.size()).expandedTo(minimum);
    if (window.width() > area.width() || window.height() > area.height())
        return QRect(area.topLeft(), window);
    return QRect(centredPosition(area, window), window);
}
