// The serial port's byte stream: frame and streamed modes deframed until
// the bytes run out.
#include "fuzzinput.h"

#include "serialdeframer.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte is the sampling value: frame mode up to 10, streamed above.
    if (size < 1)
        return 0;
    QByteArray bytes(reinterpret_cast<const char *>(data + 1), int(size - 1));
    QBuffer source(&bytes);
    source.open(QIODevice::ReadOnly);
    SerialDeframer deframer;
    deframer.setSamplingValue(data[0] % 21);
    unsigned char output[SerialDeframer::OutputSize];
    int delivered = 0;
    // Every step reads at least one unit while bytes remain.
    while (!source.atEnd()) {
        const qint64 before = source.pos();
        deframer.step(source, output, [&delivered](int count) { delivered += count; });
        if (source.pos() == before)
            break;
    }
    return 0;
}
