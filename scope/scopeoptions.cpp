#include "scopeoptions.h"

#include <QPixmap>
#include <QSettings>
#include <QtDebug>

namespace {

int readChoice(const QSettings &settings, const QString &key, int current, int count)
{
    const QVariant stored = settings.value(key, current);
    bool ok = false;
    int value = stored.toInt(&ok);
    if (!ok) {
        qWarning().noquote() << "Oscilloscope settings:" << key << "is not a number:" << stored.toString();
        value = 0;
    }
    const int bounded = qBound(0, value, count - 1);
    if (bounded != value)
        qWarning().noquote() << "Oscilloscope settings:" << key << "holds" << value << "which is no choice; using"
                             << bounded;
    return bounded;
}

} // namespace

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

void ScopeOptions::writeToSettings(const QString &group) const
{
    QSettings settings;
    settings.beginGroup(group);
    settings.setValue(QStringLiteral("gridStyle"), gridStyle);
    settings.setValue(QStringLiteral("logicLabelPosition"), logicLabelPosition);
    settings.setValue(QStringLiteral("theme"), theme);
    settings.endGroup();
    settings.sync();
}

void ScopeOptions::readFromSettings(const QString &group)
{
    QSettings settings;
    settings.beginGroup(group);
    gridStyle = readChoice(settings, QStringLiteral("gridStyle"), gridStyle, gridStyleCount);
    logicLabelPosition = readChoice(settings, QStringLiteral("logicLabelPosition"), logicLabelPosition,
                                    logicLabelPositionCount);
    theme = readChoice(settings, QStringLiteral("theme"), theme, themeCount);
    settings.endGroup();
    settings.sync();
}
