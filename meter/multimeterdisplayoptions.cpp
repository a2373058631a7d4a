#include "multimeterdisplayoptions.h"

#include <QPixmap>
#include <QSettings>
#include <QtDebug>

#include <algorithm>

namespace {

// A stored value that is not a number reads as 0, as the settings page and
// the displays expect; it is reported so an odd store can be found.
int readInt(const QSettings &settings, const QString &key, int current)
{
    const QVariant stored = settings.value(key, current);
    bool ok = false;
    const int result = stored.toInt(&ok);
    if (!ok)
        qWarning().noquote() << "Multimeter display settings:" << key << "is not a number:"
                             << stored.toString();
    return ok ? result : 0;
}

// QVariant takes any non-empty text for true; only the forms a store
// writes count, anything else reads as false.
bool readBool(const QSettings &settings, const QString &key, bool current)
{
    const QVariant stored = settings.value(key, current);
    if (stored.type() == QVariant::Bool)
        return stored.toBool();
    const QString text = stored.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text != QLatin1String("false") && text != QLatin1String("0"))
        qWarning().noquote() << "Multimeter display settings:" << key << "is not a boolean:"
                             << stored.toString();
    return false;
}

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
    extendPrecision = readInt(settings, QStringLiteral("extendPrecision"), extendPrecision);
    appendLabel = readBool(settings, QStringLiteral("appendLabel"), appendLabel);
    appendNewLine = readBool(settings, QStringLiteral("appendNewLine"), appendNewLine);
    settings.endGroup();
    settings.sync();
}

int MultimeterDisplayOptions::validateExtendPrecision(int value) const
{
    if (value <= 0)
        return 1;
    return std::min(value, maxExtendPrecision);
}
