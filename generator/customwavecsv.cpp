#include "customwavecsv.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

CustomWaveCsv failure(const QString &text)
{
    CustomWaveCsv wave;
    wave.error = QStringLiteral("Custom wave: ") + text;
    return wave;
}

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// The entries of the text in order. Commas and line ends both separate; a
// part of blanks between two commas is an entry (read as 0), any other
// part without a number is a gap: a comma at a line end, a blank line, two
// commas in a row.
QStringList entries(const QString &text)
{
    QStringList found;
    bool commaBefore = false;
    int start = 0;
    for (int i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        if (!end && text.at(i) != QLatin1Char(',') && !isLineEnd(text.at(i)))
            continue;
        const bool commaAfter = !end && text.at(i) == QLatin1Char(',');
        const QStringRef part = text.midRef(start, i - start);
        const QStringRef number = part.trimmed();
        if (!number.isEmpty())
            found.append(number.toString());
        else if (!part.isEmpty() && commaBefore && commaAfter)
            found.append(QStringLiteral("0"));
        commaBefore = commaAfter;
        start = i + 1;
    }
    return found;
}

} // namespace

CustomWaveCsv CustomWaveCsv::parse(const QString &text)
{
    return readText(text, QString());
}

// `source` leads each refusal, so a refused file is named beside its first
// bad entry.
CustomWaveCsv CustomWaveCsv::readText(const QString &text, const QString &source)
{
    const auto failure = [&source](const QString &reason) { return ::failure(source + reason); };
    const QStringList parts = entries(text);
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
    return readText(QString::fromUtf8(bytes), name + QStringLiteral(": "));
}
