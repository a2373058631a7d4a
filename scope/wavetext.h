#ifndef WAVETEXT_H
#define WAVETEXT_H

#include <QByteArray>
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

// Ends every block of a record file.
constexpr char blockSeparator[] = "----------";
// Record blocks name their time/div index within their first bytes.
constexpr int samplingLineBytes = 64;

// The time/div index that opens a record block (parts that are only a line
// end skipped), looked for in the block's first samplingLineBytes bytes.
// Returns where the block's traces begin, or -1 when it opens with no index.
int recordSampling(const QByteArray &block, int *sampling);

// The ten traces of record block `blockNumber`, from the text after its
// time/div index. False, with `error` saying why and which block, when a
// trace is missing or holds a value that is not finite.
bool parseRecordTraces(const QString &text, int blockNumber, Frame *frame, QString *error);
}

#endif // WAVETEXT_H
