#include "multimeterdisplayoptions.h"

#include <QPixmap>

QString MultimeterDisplayOptions::getName() const
{
    return QStringLiteral("MultimeterDisplay");
}

QString MultimeterDisplayOptions::getCommonName() const
{
    return QStringLiteral("Multimeter display");
}

QString MultimeterDisplayOptions::getUiClassName() const
{
    return QStringLiteral("MultimeterDisplaySettings");
}

QIcon MultimeterDisplayOptions::getIcon() const
{
    return QIcon(QPixmap(QStringLiteral(":/icons/item_multimeter.png")));
}
