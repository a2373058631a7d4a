#include "multimeterdisplayoptions.h"
#include "storedvalue.h"

#include <QPixmap>
#include <QSettings>

#include <algorithm>

namespace {

const QString owner = QStringLiteral("Multimeter display");

} // namespace

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

void MultimeterDisplayOptions::writeToSettings(const QString &group) const
{
    QSettings settings;
    settings.beginGroup(group);
    settings.setValue(QStringLiteral("foregroundColorName"), foregroundColorName);
    settings.setValue(QStringLiteral("backgroundColorName"), backgroundColorName);
    settings.setValue(QStringLiteral("warningColorName"), warningColorName);
    settings.setValue(QStringLiteral("criticalColorName"), criticalColorName);
    settings.setValue(QStringLiteral("valueFontFamily"), valueFontFamily);
    settings.setValue(QStringLiteral("labelFontFamily"), labelFontFamily);
    settings.setValue(QStringLiteral("extendPrecision"), extendPrecision);
    settings.setValue(QStringLiteral("appendLabel"), appendLabel);
    settings.setValue(QStringLiteral("appendNewLine"), appendNewLine);
    settings.endGroup();
    settings.sync();
}

void MultimeterDisplayOptions::readFromSettings(const QString &group)
{
    QSettings settings;
    settings.beginGroup(group);
    foregroundColorName = settings.value(QStringLiteral("foregroundColorName"), foregroundColorName).toString();
    backgroundColorName = settings.value(QStringLiteral("backgroundColorName"), backgroundColorName).toString();
    warningColorName = settings.value(QStringLiteral("warningColorName"), warningColorName).toString();
    criticalColorName = settings.value(QStringLiteral("criticalColorName"), criticalColorName).toString();
    valueFontFamily = settings.value(QStringLiteral("valueFontFamily"), valueFontFamily).toString();
    labelFontFamily = settings.value(QStringLiteral("labelFontFamily"), labelFontFamily).toString();
    extendPrecision = StoredValue::readInt(settings, QStringLiteral("extendPrecision"), extendPrecision, owner);
    appendLabel = StoredValue::readBool(settings, QStringLiteral("appendLabel"), appendLabel, owner);
    appendNewLine = StoredValue::readBool(settings, QStringLiteral("appendNewLine"), appendNewLine, owner);
    settings.endGroup();
    settings.sync();
}

int MultimeterDisplayOptions::validateExtendPrecision(int value) const
{
    if (value <= 0)
        return 1;
    return std::min(value, maxExtendPrecision);
}
