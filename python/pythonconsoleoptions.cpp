#include "pythonconsoleoptions.h"

#include <QPixmap>

QString PythonConsoleOptions::getName() const
{
    return QStringLiteral("PythonConsole");
}

QString PythonConsoleOptions::getCommonName() const
{
    return QStringLiteral("Python console");
}

QString PythonConsoleOptions::getUiClassName() const
{
    return QStringLiteral("PythonConsoleSettings");
}

QIcon PythonConsoleOptions::getIcon() const
{
    return QIcon(QPixmap(QStringLiteral(":/icons/item_console.png")));
}
