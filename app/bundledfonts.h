#ifndef BUNDLEDFONTS_H
#define BUNDLEDFONTS_H

#include <QPair>
#include <QString>
#include <QVector>

// The fonts the program carries in its resources. The families the program
// itself names (the form's, the displays' and the console's defaults, the
// plot's labels) exist on few desktops, and whatever fontconfig picks in their
// place may be too large for the pages; they are mapped onto bundled fonts of
// a fitting size instead. A family the user picks is installed, so it is found
// as it is and the mapping never applies to it.
class BundledFonts
{
public:
    // Registers the bundled files, the three under their fixed resource names
    // first and in their order, and maps the named families onto them.
    static void install();

    // Each family the program names with the bundled family it resolves to.
    static QVector<QPair<QString, QString>> namedFamilies();
    // Resource paths of every bundled file, in registration order.
    static QStringList files();
};

#endif // BUNDLEDFONTS_H
