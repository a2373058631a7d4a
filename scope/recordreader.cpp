#include "recordreader.h"

#include "scopevalues.h"

#include <QIODevice>

#include <algorithm>
#include <cctype>
#include <limits>

namespace
{
constexpr int separatorBytes = int(sizeof WaveText::blockSeparator) - 1;

bool isBlank(const char *bytes, int size)
{
    return std::all_of(bytes, bytes + size, [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
}
}

RecordReader::RecordReader(QIODevice *device, int chunkBytes) : device(device), chunkBytes(qMax(chunkBytes, 1))
{
}

RecordReader::Check RecordReader::check(qint64 budgetBytes, QString *reason)
{
    const qint64 until = bytesFilled + qMax<qint64>(budgetBytes, 1);
    while (checked == Check::Pending && bytesFilled < until) {
        const Take take = takeBlock(WaveText::samplingLineBytes);
        int sampling = 0;
        if (take == Take::Block && WaveText::recordSampling(block, &sampling) >= 0) {
            ++checkedFrames;
            if (sampling < 0 || sampling >= ScopeValues::timeBaseCount) {
                failure = QStringLiteral("frame %1 has the time/div index %2, outside 0..%3")
                              .arg(checkedFrames)
                              .arg(sampling)
                              .arg(ScopeValues::timeBaseCount - 1);
                checked = Check::Refused;
            }
            continue;
        }
        // The frames end here: the ones before are played, if there are any.
        if (checkedFrames > 0 && readError.isEmpty()) {
            checked = Check::Passed;
            restart();
        } else {
            failure = take == Take::End && readError.isEmpty() ? QStringLiteral("the file holds no frame")
                                                               : takeFailure(take, checkedFrames + 1);
            checked = Check::Refused;
        }
    }
    if (checked == Check::Refused)
        *reason = failure;
    return checked;
}

bool RecordReader::next(WaveText::RecordedFrame *frame)
{
    if (checked == Check::Refused || finished || !failure.isEmpty())
        return false;
    const int blockNumber = frames + 1;
    const Take take = takeBlock(std::numeric_limits<int>::max());
    if (take == Take::End && readError.isEmpty()) {
        finished = true;
        return false;
    }
    const int traces = take == Take::Block ? WaveText::recordSampling(block, &frame->sampling) : -1;
    if (traces < 0) {
        failure = takeFailure(take, blockNumber);
        return false;
    }
    const QString text = QString::fromUtf8(block.constData() + traces, block.size() - traces);
    if (!WaveText::parseRecordTraces(text, blockNumber, &frame->frame, &failure))
        return false;
    ++frames;
    return true;
}

RecordReader::Take RecordReader::takeBlock(int keep)
{
    block.clear();
    qint64 length = 0;
    bool blank = true;
    for (;;) {
        const int at = buffer.indexOf(WaveText::blockSeparator, position);
        // Without a separator in the buffer, its first bytes may end it.
        const int end = at >= 0 ? at
                        : atEnd ? buffer.size()
                                : qMax(position, buffer.size() - (separatorBytes - 1));
        const char *bytes = buffer.constData() + position;
        block.append(bytes, qMin(end - position, qMax(0, keep - block.size())));
        blank = blank && isBlank(bytes, end - position);
        length += end - position;
        position = end;
        if (at >= 0) {
            position += separatorBytes;
            return Take::Block;
        }
        if (atEnd)
            return blank ? Take::End : Take::Unended;
        if (length > maxBlockBytes)
            return Take::TooLong;
        fill();
    }
}

void RecordReader::fill()
{
    buffer.remove(0, position);
    position = 0;
    const int kept = buffer.size();
    buffer.resize(kept + chunkBytes);
    const qint64 got = device->read(buffer.data() + kept, chunkBytes);
    buffer.resize(kept + int(qMax<qint64>(got, 0)));
    if (got < 0)
        readError = device->errorString();
    if (got <= 0)
        atEnd = true;
    bytesFilled += qMax<qint64>(got, 0);
    const int nul = buffer.indexOf('\0', kept);
    if (nul >= 0) {
        buffer.truncate(nul);
        atEnd = true;
    }
}

QString RecordReader::takeFailure(Take take, int blockNumber) const
{
    if (!readError.isEmpty())
        return QStringLiteral("frame %1 could not be read: ").arg(blockNumber) + readError;
    switch (take) {
    case Take::Unended:
        return QStringLiteral("frame %1 has no separator").arg(blockNumber);
    case Take::TooLong:
        return QStringLiteral("frame %1 is longer than %2 MiB").arg(blockNumber).arg(maxBlockBytes >> 20);
    case Take::Block:
    case Take::End:
        break;
    }
    return QStringLiteral("frame %1 has no time/div index").arg(blockNumber);
}

void RecordReader::restart()
{
    device->seek(0);
    buffer.clear();
    position = 0;
    atEnd = false;
    block.clear();
}
