#ifndef WAVETEXT_H
#define WAVETEXT_H

#include <QList>
#include <QString>
#include <QVector>
#include <array>

// The text forms of saved traces: the wave file (one frame) and the record
// file (a sequence of frames, each with its time/div index). Values are plot
// coordinates, written with six significant digits.
namespace WaveText
{
constexpr int traceCount = 10;   // CH1, CH2, Bit0 .. Bit7

struct Frame
{
    std::array<QVector<double>, traceCount> traces;
};

struct RecordedFrame
{
    int sampling = 0;
    Frame frame;
};

// One line per trace, "<*>" after each but the last.
QString waveFile(const Frame &frame);
// A record file's frame block: the sampling line, the traces, the separator.
QString recordBlock(int sampling, const Frame &frame);
// The traces of a record block without its sampling line.
QString frameBlock(const Frame &frame);

// Positional: the labels are not checked. Traces missing from the text stay
// empty; `missing` (if given) tells how many were absent. An unreadable
// number reads as 0; a value that is not finite refuses the whole file, with
// `error` saying which trace.
Frame parseWaveFile(const QString &text, int *missing, QString *error);

// A record file begins with a time/div index where a wave file has its first trace.
bool isRecordFile(const QString &text);

// Every whole frame of a record file. Parsing stops at the first block that
// lacks its sampling line, a trace or its separator, or holds a value that is
// not finite; `error` then says why and which block.
QList<RecordedFrame> parseRecordFile(const QString &text, QString *error);
}

#endif // WAVETEXT_H
