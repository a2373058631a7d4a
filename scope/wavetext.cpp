#include "wavetext.h"

namespace
{
const QString partSeparator = QStringLiteral("<*>");
const QString frameSeparator = QStringLiteral("----------");
const char *const labels[WaveText::traceCount] = {"CH1,",  "CH2,",  "Bit0,", "Bit1,", "Bit2,",
                                                  "Bit3,", "Bit4,", "Bit5,", "Bit6,", "Bit7,"};

QString traceText(int trace, const QVector<double> &values)
{
    QString text = QLatin1String(labels[trace]);
    for (double value : values)
        text += QString::number(value, 'g', 6) + QLatin1Char(',');
    return text;
}

// The text split at "<*>", without the parts that are only a line end.
QStringList parts(const QString &text)
{
    QStringList result;
    for (const QString &part : text.split(partSeparator, Qt::KeepEmptyParts, Qt::CaseSensitive)) {
        if (part != QLatin1String("\n") && part != QLatin1String("\r"))
            result.append(part);
    }
    return result;
}

// Fields between the label and the empty field after the last comma.
QVector<double> traceValues(const QString &part)
{
    const QStringList fields = part.split(QLatin1Char(','));
    QVector<double> values;
    if (fields.size() <= 2)
        return values;
    values.reserve(fields.size() - 2);
    for (int i = 1; i < fields.size() - 1; ++i)
        values.append(fields.at(i).toDouble());
    return values;
}
}

namespace WaveText
{
QString waveFile(const Frame &frame)
{
    QString text;
    for (int trace = 0; trace < traceCount - 1; ++trace)
        text += traceText(trace, frame.traces[size_t(trace)]) + partSeparator + QLatin1Char('\n');
    return text + traceText(traceCount - 1, frame.traces[traceCount - 1]);
}

QString frameBlock(const Frame &frame)
{
    return waveFile(frame) + frameSeparator;
}

QString recordBlock(int sampling, const Frame &frame)
{
    return QString::number(sampling) + partSeparator + QLatin1Char('\n') + frameBlock(frame);
}

Frame parseWaveFile(const QString &text, int *missing)
{
    const QStringList found = parts(text);
    Frame frame;
    const int present = qMin(int(found.size()), traceCount);
    for (int trace = 0; trace < present; ++trace)
        frame.traces[size_t(trace)] = traceValues(found.at(trace));
    if (missing)
        *missing = traceCount - present;
    return frame;
}

bool isRecordFile(const QString &text)
{
    bool numeric = false;
    text.leftRef(text.indexOf(partSeparator)).trimmed().toInt(&numeric);
    return numeric;
}

QList<RecordedFrame> parseRecordFile(const QString &text, QString *error)
{
    QList<RecordedFrame> frames;
    error->clear();
    int start = 0;
    while (start < text.size()) {
        const int end = text.indexOf(frameSeparator, start);
        const int blockNumber = int(frames.size()) + 1;
        if (end < 0) {
            // Trailing line ends after the last separator are harmless.
            if (!text.midRef(start).trimmed().isEmpty())
                *error = QStringLiteral("frame %1 has no separator").arg(blockNumber);
            break;
        }
        const QStringList found = parts(text.mid(start, end - start));
        bool numeric = false;
        RecordedFrame recorded;
        if (!found.isEmpty())
            recorded.sampling = found.first().trimmed().toInt(&numeric);
        if (!numeric) {
            *error = QStringLiteral("frame %1 has no time/div index").arg(blockNumber);
            break;
        }
        if (found.size() != traceCount + 1) {
            *error = QStringLiteral("frame %1 has %2 traces instead of %3")
                         .arg(blockNumber)
                         .arg(found.size() - 1)
                         .arg(traceCount);
            break;
        }
        for (int trace = 0; trace < traceCount; ++trace)
            recorded.frame.traces[size_t(trace)] = traceValues(found.at(trace + 1));
        frames.append(recorded);
        start = end + frameSeparator.size();
    }
    return frames;
}
}
