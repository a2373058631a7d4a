#include "scopeoptions.h"

#include <QPixmap>

QString ScopeOptions::getName() const
{
    return QStringLiteral("Oscilloscope");
}

QString ScopeOptions::getCommonName() const
{
    return QStringLiteral("Oscilloscope");
}

QString ScopeOptions::getUiClassName() const
{
    return QStringLiteral("ScopeSettings");
}

QIcon ScopeOptions::getIcon() const
{
    return QIcon(QPixmap(QStringLiteral(":/icons/item_oscilloscope.png")));
}
