#ifndef APPLICATIONSETTINGS_H
#define APPLICATIONSETTINGS_H

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
};

#endif // APPLICATIONSETTINGS_H
