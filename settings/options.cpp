#include "options.h"

#include <QPixmap>

QString Options::getName() const
{
    return QStringLiteral("Set_short_name");
}

QString Options::getCommonName() const
{
    return QStringLiteral("Set common name");
}

QString Options::getUiClassName() const
{
    return QStringLiteral("UiClassName");
}

QIcon Options::getIcon() const
{
    return QIcon(QPixmap(QStringLiteral(":/icons/item_unknown.png")));
}
