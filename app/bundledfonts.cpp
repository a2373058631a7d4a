#include "bundledfonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

QStringList BundledFonts::files()
{
    return {QStringLiteral(":/fonts/cour.ttf"),
            QStringLiteral(":/fonts/SourceCodeVariable-Italic.ttf"),
            QStringLiteral(":/fonts/SourceCodeVariable-Roman.ttf"),
            QStringLiteral(":/fonts/DejaVuSans.ttf"),
            QStringLiteral(":/fonts/DejaVuSans-Bold.ttf"),
            QStringLiteral(":/fonts/LiberationMono-Bold.ttf")};
}

QVector<QPair<QString, QString>> BundledFonts::namedFamilies()
{
    const QString sans = QStringLiteral("DejaVu Sans");
    const QString mono = QStringLiteral("DejaVu Sans Mono");
    // Metric-compatible with the two Courier faces, so columns keep their width.
    const QString courier = QStringLiteral("Liberation Mono");
    return {{QStringLiteral("MS Shell Dlg 2"), sans},
            {QStringLiteral("Consolas"), mono},
            {QStringLiteral("Monospace"), mono},
            {QStringLiteral("Courier New"), courier},
            {QStringLiteral("Courier"), courier}};
}

void BundledFonts::install()
{
    // A missing file leaves its family to the desktop; the program runs on.
    for (const QString &file : files())
        QFontDatabase::addApplicationFont(file);
    for (const auto &named : namedFamilies())
        QFont::insertSubstitution(named.first, named.second);
}
