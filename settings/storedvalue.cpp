#include "storedvalue.h"

#include <QSettings>
#include <QtDebug>

namespace StoredValue {

int readInt(const QSettings &settings, const QString &key, int current, const QString &owner)
{
    const QVariant stored = settings.value(key, current);
    bool ok = false;
    const int result = stored.toInt(&ok);
    if (!ok)
        qWarning().noquote() << owner << "settings:" << key << "is not a number:" << stored.toString();
    return ok ? result : 0;
}

bool readBool(const QSettings &settings, const QString &key, bool current, const QString &owner)
{
    const QVariant stored = settings.value(key, current);
    if (stored.type() == QVariant::Bool)
        return stored.toBool();
    const QString text = stored.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text != QLatin1String("false") && text != QLatin1String("0"))
        qWarning().noquote() << owner << "settings:" << key << "is not a boolean:" << stored.toString();
    return false;
}

} // namespace StoredValue
