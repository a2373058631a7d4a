#include "pythonconsoleoptions.h"
#include "storedvalue.h"

#include <QColor>
#include <QPixmap>
#include <QSettings>
#include <QtDebug>

#include <algorithm>

namespace {

const QString owner = QStringLiteral("Python console");

int validateCells(int value, int minimum, int maximum)
{
    value = std::max(minimum, value);
    if (maximum != 0 && maximum < value)
        value = maximum;
    return value;
}

// Cell counts feed pixel sizes of the console window: a negative or huge
// stored count must not reach them.
int readCells(const QSettings &settings, const QString &key, int current)
{
    const int stored = StoredValue::readInt(settings, key, current, owner);
    const int bounded = qBound(0, stored, PythonConsoleOptions::maxCells);
    if (bounded != stored)
        qWarning().noquote() << owner << "settings:" << key << "holds" << stored << "cells; using" << bounded;
    return bounded;
}

int readFontSize(const QSettings &settings, const QString &key, int current)
{
    const int stored = StoredValue::readInt(settings, key, current, owner);
    if (stored >= 1 && stored <= PythonConsoleOptions::maxFontSize)
        return stored;
    qWarning().noquote() << owner << "settings:" << key << "holds" << stored << "points; keeping" << current;
    return current;
}

// The colour names go into the console's style sheet, so only real colours
// are taken, in the #rrggbb form.
QString readColor(const QSettings &settings, const QString &key, const QString &current)
{
    const QString stored = settings.value(key, current).toString();
    if (QColor::isValidColor(stored))
        return QColor(stored).name();
    qWarning().noquote() << owner << "settings:" << key << "is not a colour:" << stored;
    return current;
}

} // namespace

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

int PythonConsoleOptions::validateSizeWidth(int columns) const
{
    return validateCells(columns, sizeWidthMinimum, sizeWidthMaximum);
}

int PythonConsoleOptions::validateSizeHeight(int rows) const
{
    return validateCells(rows, sizeHeightMinimum, sizeHeightMaximum);
}

void PythonConsoleOptions::writeToSettings(const QString &group) const
{
    QSettings settings;
    settings.beginGroup(group);
    settings.setValue(QStringLiteral("fontFamily"), fontFamily);
    settings.setValue(QStringLiteral("fontSize"), fontSize);
    settings.setValue(QStringLiteral("sizeWidthMinimum"), sizeWidthMinimum);
    settings.setValue(QStringLiteral("sizeWidthDefault"), sizeWidthDefault);
    settings.setValue(QStringLiteral("sizeWidthMaximum"), sizeWidthMaximum);
    settings.setValue(QStringLiteral("sizeHeightMinimum"), sizeHeightMinimum);
    settings.setValue(QStringLiteral("sizeHeightDefault"), sizeHeightDefault);
    settings.setValue(QStringLiteral("sizeHeightMaximum"), sizeHeightMaximum);
    settings.setValue(QStringLiteral("sizeWidth"), sizeWidth);
    settings.setValue(QStringLiteral("sizeHeight"), sizeHeight);
    settings.setValue(QStringLiteral("restoreSize"), restoreSize);
    settings.setValue(QStringLiteral("colorName"), colorName);
    settings.setValue(QStringLiteral("backgroundColorName"), backgroundColorName);
    settings.endGroup();
    settings.sync();
}

void PythonConsoleOptions::readFromSettings(const QString &group)
{
    QSettings settings;
    settings.beginGroup(group);
    fontFamily = settings.value(QStringLiteral("fontFamily"), fontFamily).toString();
    fontSize = readFontSize(settings, QStringLiteral("fontSize"), fontSize);
    sizeWidthMinimum = readCells(settings, QStringLiteral("sizeWidthMinimum"), sizeWidthMinimum);
    sizeWidthDefault = readCells(settings, QStringLiteral("sizeWidthDefault"), sizeWidthDefault);
    sizeWidthMaximum = readCells(settings, QStringLiteral("sizeWidthMaximum"), sizeWidthMaximum);
    sizeHeightMinimum = readCells(settings, QStringLiteral("sizeHeightMinimum"), sizeHeightMinimum);
    sizeHeightDefault = readCells(settings, QStringLiteral("sizeHeightDefault"), sizeHeightDefault);
    sizeHeightMaximum = readCells(settings, QStringLiteral("sizeHeightMaximum"), sizeHeightMaximum);
    sizeWidth = readCells(settings, QStringLiteral("sizeWidth"), sizeWidth);
    sizeHeight = readCells(settings, QStringLiteral("sizeHeight"), sizeHeight);
    restoreSize = StoredValue::readBool(settings, QStringLiteral("restoreSize"), restoreSize, owner);
    colorName = readColor(settings, QStringLiteral("colorName"), colorName);
    backgroundColorName = readColor(settings, QStringLiteral("backgroundColorName"), backgroundColorName);
    settings.endGroup();
    settings.sync();
}
