#include "globaloptions.h"

#include <QPixmap>

QString GlobalOptions::getName() const
{
    return QStringLiteral("Global");
}

QString GlobalOptions::getCommonName() const
{
    return QStringLiteral("Global");
}

QString GlobalOptions::getUiClassName() const
{
    return QStringLiteral("GlobalSettings");
}

QIcon GlobalOptions::getIcon() const
{
    return QIcon(QPixmap(QStringLiteral(":/icons/item_global.png")));
}
