#include "wavetext.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace
{
const QString partSeparator = QStringLiteral("<*>");
const char *const labels[WaveText::traceCount] = {"CH1,",  "CH2,",  "Bit0,", "Bit1,", "Bit2,",
                                                  "Bit3,", "Bit4,", "Bit5,", "Bit6,", "Bit7,"};

QString traceText(int trace, const QVector<double> &values)
{
    QString text = QLatin1String(labels[trace]);
    for (double value : values)
        text += QString::number(value, 'g', 6) + QLatin1Char(',');
    return text;
}

// A stretch of the text, walked in place so that a large file costs no
// string per value.
struct Span
{
    int begin;
    int end;
};

// The text split at "<*>", without the parts that are only a line end.
QVector<Span> parts(const QString &text, Span within)
{
    QVector<Span> result;
    int start = within.begin;
    while (start <= within.end) {
        int stop = text.indexOf(partSeparator, start);
        if (stop < 0 || stop > within.end - partSeparator.size())
            stop = within.end;
        const QStringRef part = text.midRef(start, stop - start);
        if (part != QLatin1String("\n") && part != QLatin1String("\r"))
            result.append({start, stop});
        start = stop + partSeparator.size();
    }
    return result;
}

// A number field: blanks around it and a leading plus allowed, anything
// else unreadable (0). Read without allocating, as a file holds millions.
double fieldValue(const QChar *field, int length)
{
    int begin = 0;
    while (begin < length && field[begin].isSpace())
        ++begin;
    while (length > begin && field[length - 1].isSpace())
        --length;
    char digits[64];
    int used = 0;
    for (int i = begin; i < length; ++i) {
        const ushort c = field[i].unicode();
        if (c > 0x7F || used == int(sizeof digits))
            return 0.0;
        digits[used++] = char(c);
    }
    const char *first = digits;
    if (used > 1 && digits[0] == '+' && digits[1] != '-')
        ++first;
    double value = 0.0;
    const std::from_chars_result read = std::from_chars(first, digits + used, value);
    if (read.ec == std::errc::result_out_of_range) {
        // Beyond the double range: infinite; below it: 0.
        const bool negative = *first == '-';
        const char *last = digits + used;
        const char *exponent = std::find_if(first, last, [](char d) { return d == 'e' || d == 'E'; });
        const bool tiny = exponent != last && exponent + 1 != last && exponent[1] == '-';
        return tiny ? 0.0 : negative ? -HUGE_VAL : HUGE_VAL;
    }
    if (read.ec != std::errc() || read.ptr != digits + used)
        return 0.0;
    return value;
}

// Fields between the label and the empty field after the last comma. An
// unreadable number is 0; one that is not finite refuses the trace.
bool traceValues(const QString &text, Span part, QVector<double> *values)
{
    values->clear();
    const int labelEnd = text.indexOf(QLatin1Char(','), part.begin);
    if (labelEnd < 0 || labelEnd >= part.end)
        return true;
    int start = labelEnd + 1;
    for (;;) {
        const int comma = text.indexOf(QLatin1Char(','), start);
        if (comma < 0 || comma >= part.end)
            return true;
        const double value = fieldValue(text.constData() + start, comma - start);
        if (!std::isfinite(value))
            return false;
        values->append(value);
        start = comma + 1;
    }
}

QString notFiniteReason(int trace)
{
    return QStringLiteral("trace %1 holds a value that is not a finite number").arg(QLatin1String(labels[trace]).chopped(1));
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
    return waveFile(frame) + QLatin1String(WaveText::blockSeparator);
}

QString recordBlock(int sampling, const Frame &frame)
{
    return QString::number(sampling) + partSeparator + QLatin1Char('\n') + frameBlock(frame);
}

Frame parseWaveFile(const QString &text, int *missing, QString *error)
{
    const QVector<Span> found = parts(text, {0, int(text.size())});
    Frame frame;
    error->clear();
    const int present = qMin(int(found.size()), traceCount);
    for (int trace = 0; trace < present; ++trace) {
        if (!traceValues(text, found.at(trace), &frame.traces[size_t(trace)])) {
            *error = notFiniteReason(trace);
            return Frame();
        }
    }
    if (missing)
        *missing = traceCount - present;
    return frame;
}

int recordSampling(const QByteArray &block, int *sampling)
{
    const int head = qMin(int(block.size()), samplingLineBytes);
    const QByteArray separator = partSeparator.toLatin1();
    int start = 0;
    for (;;) {
        const int stop = block.indexOf(separator, start);
        if (stop < 0 || stop > head - separator.size())
            return -1;
        const QByteArray part = block.mid(start, stop - start);
        start = stop + separator.size();
        if (part == "\n" || part == "\r")
            continue;
        bool numeric = false;
        *sampling = part.trimmed().toInt(&numeric);
        return numeric ? start : -1;
    }
}

bool parseRecordTraces(const QString &text, int blockNumber, Frame *frame, QString *error)
{
    const QVector<Span> found = parts(text, {0, int(text.size())});
    if (found.size() != traceCount) {
        *error = QStringLiteral("frame %1 has %2 traces instead of %3").arg(blockNumber).arg(found.size()).arg(traceCount);
        return false;
    }
    for (int trace = 0; trace < traceCount; ++trace) {
        if (!traceValues(text, found.at(trace), &frame->traces[size_t(trace)])) {
            *error = QStringLiteral("frame %1: ").arg(blockNumber) + notFiniteReason(trace);
            return false;
        }
    }
    return true;
}
}
