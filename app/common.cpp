#include "common.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>

void applyApplicationIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("vesk.example"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("vesk.example"));
    QCoreApplication::setApplicationName(QStringLiteral("Vesk"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2"));
}

QString compilationTime()
{
    const QString time = QStringLiteral(__TIME__);
    const QString hhmm = QStringLiteral("%1%2%3%4").arg(time[0]).arg(time[1]).arg(time[3]).arg(time[4]);
    const QDate date = QLocale::c().toDate(QStringLiteral(__DATE__).simplified(), QStringLiteral("MMM d yyyy"));
    const QString yyMMdd = date.toString(QStringLiteral("yyyyMMdd")).right(6);
    return QStringLiteral("%1%2").arg(yyMMdd, hhmm);
}
