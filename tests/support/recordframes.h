#pragma once
#include "recordreader.h"

#include <QList>

// Every frame of a record text as playback reads it, `chunkBytes` of the
// text at a time; `error` says why the frames ended early, if they did.
QList<WaveText::RecordedFrame> recordFrames(const QByteArray &text, QString *error,
                                            int chunkBytes = RecordReader::defaultChunkBytes);
