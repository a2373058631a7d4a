#ifndef RECORDREADER_H
#define RECORDREADER_H

#include "wavetext.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// A record file read block by block as playback advances, so that a file
// of any size costs a chunk and one block of memory. The text ends at the
// device's end or at a NUL byte.
//
// Each time/div index goes to the instrument, so a file is checked first:
// check() walks the whole file once, a slice at a time, and refuses it when
// a block it would play names an index the instrument cannot take, or when
// it holds no whole frame. Damage found while playing (a missing trace or
// separator, a value that is not finite) ends the frames there.
class RecordReader
{
public:
    static constexpr int defaultChunkBytes = 1 << 20;
    // A frame of the largest buffer takes about half a MiB; a block many
    // times that long is damage, not a frame.
    static constexpr int maxBlockBytes = 8 << 20;

    enum class Check { Pending, Passed, Refused };

    // `device` is open for reading, positioned at its start, and outlives the reader.
    explicit RecordReader(QIODevice *device, int chunkBytes = defaultChunkBytes);

    // Goes on with the first pass for about `budgetBytes` of the file. When
    // it has passed, reading starts again from the first frame; when
    // refused, `reason` says why and nothing can be read.
    Check check(qint64 budgetBytes, QString *reason);

    // The next whole frame; false at the end of the frames or at damage,
    // which error() then names. Without check(), the indexes are as read.
    bool next(WaveText::RecordedFrame *frame);
    QString error() const { return failure; }
    int framesRead() const { return frames; }

    // Memory held for the text: the chunk buffer and the last block.
    qint64 bufferedBytes() const { return buffer.capacity() + block.capacity(); }

private:
    enum class Take { Block, End, Unended, TooLong };

    // The next block up to its separator, whose first `keep` bytes land in
    // `block` and the rest is passed over.
    Take takeBlock(int keep);
    // Reads a chunk behind what is still unread in the buffer.
    void fill();
    // Why a block could not be taken, as the frame it would have been.
    QString takeFailure(Take take, int blockNumber) const;
    void restart();

    QIODevice *device;
    const int chunkBytes;
    QByteArray buffer;   // read from the device; what lies before `position` is taken
    int position = 0;
    bool atEnd = false;
    QString readError;
    qint64 bytesFilled = 0;
    QByteArray block;
    Check checked = Check::Pending;
    int checkedFrames = 0;
    int frames = 0;
    bool finished = false;
    QString failure;
};

#endif // RECORDREADER_H
