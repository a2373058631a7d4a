#include "recordframes.h"

#include <QBuffer>

QList<WaveText::RecordedFrame> recordFrames(const QByteArray &text, QString *error, int chunkBytes)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    RecordReader reader(&buffer, chunkBytes);
    QList<WaveText::RecordedFrame> frames;
    WaveText::RecordedFrame frame;
    while (reader.next(&frame))
        frames.append(frame);
    *error = reader.error();
    return frames;
}
