// Wave and record files as a user may open them, and the cursor levels
// taken from their traces.
#include "fuzzinput.h"

#include "cursorreadouts.h"
#include "recordreader.h"
#include "wavetext.h"

#include <QBuffer>
#include <cstdlib>

namespace
{
void placeCursors(const WaveText::Frame &frame)
{
    for (const QVector<double> &trace : frame.traces) {
        for (double value : trace) {
            const int level = CursorReadouts::traceLevel(value, 640, 1280);
            if (std::abs(level) > 1280)
                std::abort();
        }
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    int missing = 0;
    QString error;
    placeCursors(WaveText::parseWaveFile(text, &missing, &error));
    // Small reads, so blocks and separators split between them.
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char *>(data), int(size));
    buffer.open(QIODevice::ReadOnly);
    RecordReader reader(&buffer, 7);
    RecordReader::Check checked;
    while ((checked = reader.check(64, &error)) == RecordReader::Check::Pending) {
    }
    WaveText::RecordedFrame recorded;
    while (reader.next(&recorded))
        placeCursors(recorded.frame);
    if (checked == RecordReader::Check::Refused && reader.framesRead() > 0)
        std::abort();
    return 0;
}
