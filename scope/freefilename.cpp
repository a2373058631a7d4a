#include "freefilename.h"

#include <QDir>

namespace FreeFileName
{
QString in(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    if (!dir.exists(name))
        return name;
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot < 0 ? name : name.left(dot);
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    for (int number = 2;; ++number) {
        const QString numbered = stem + QLatin1Char('-') + QString::number(number) + extension;
        if (!dir.exists(numbered))
            return numbered;
    }
}
}
