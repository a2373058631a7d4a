#ifndef APPLICATIONSETTINGS_H
#define APPLICATIONSETTINGS_H

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// The application's own top-level keys: window size and maximised state,
// the file dialogs' directory, the first default of the plot theme, and the
// log level written for later runs.
struct ApplicationSettings
{
    QSize size;                 // invalid when absent
    bool wasMaximized = false;
    int theme = 0;
    QString defaultDir;         // never empty: the home directory by default

    static ApplicationSettings load();
    static void save(const QSize &size, bool maximized, const QString &defaultDir);

    // Whether the stored size is to be applied to the window.
    bool hasWindowSize() const;
    // Top-left corner that centres a window of this size on the screen.
    static QPoint centredPosition(const QRect &screen, const QSize &window);
    // Geometry of a window restored at the stored size into the screen's
    // available area: no larger than the area unless its minimum size is,
    // centred, or at the area's top-left when it is larger than the area, so
    // that its title bar and menus stay in reach.
    static QRect restoredGeometry(const QRect &area, const QSize &stored, const QSize &minimum);
};

#endif // APPLICATIONSETTINGS_H
