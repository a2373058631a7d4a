#include "customwavecsv.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace {

CustomWaveCsv failure(const QString &text)
{
    CustomWaveCsv wave;
    wave.error = QStringLiteral("Custom wave: ") + text;
    return wave;
}

} // namespace

CustomWaveCsv CustomWaveCsv::parse(const QString &text)
{
    QString flat = text;
    flat.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    QStringList parts;
    // Parts of blanks only are gaps like empty ones (a comma at a line end),
    // not zero samples.
    for (const QString &part : flat.split(QLatin1Char(',')))
        if (!part.trimmed().isEmpty())
            parts.append(part.trimmed());

    if (parts.isEmpty())
        return failure(QStringLiteral("no numbers found"));
    CustomWaveCsv wave;
    wave.numberCount = parts.size();
    const int used = std::min<int>(parts.size(), maxSamples);
    wave.samples.reserve(used);
    for (int i = 0; i < used; ++i) {
        bool ok = false;
        const qlonglong number = parts.at(i).toLongLong(&ok, 10);
        if (!ok)
            return failure(QStringLiteral("number %1 is not a whole number: \"%2\"").arg(i + 1).arg(parts.at(i).left(20)));
        if (number < -32768 || number > 65535)
            return failure(QStringLiteral("number %1 does not fit 16 bits: %2").arg(i + 1).arg(number));
        wave.samples.append(qint16(quint16(number & 0xFFFF)));
    }
    return wave;
}

CustomWaveCsv CustomWaveCsv::load(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("cannot open %1").arg(name));
    const QByteArray bytes = file.read(maxFileBytes + 1);
    if (bytes.size() > maxFileBytes)
        return failure(QStringLiteral("%1 is larger than 1 MiB").arg(name));
    // Text has no zero bytes; a file with them (UTF-16, binary) would lose
    // all but its head without a word.
    if (bytes.contains('\0'))
        return failure(QStringLiteral("%1 is not a text file").arg(name));
    return parse(QString::fromUtf8(bytes));
}
