#include "serialdeframer.h"

#include <QDebug>
#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace {

const char endMarker[SerialDeframer::UnitSize] = {0x0A, 0x0D, 0x37};
const char frameStartMarker[SerialDeframer::UnitSize] = {0x0D, 0x0A, 0x46};
const char streamStartMarker[SerialDeframer::UnitSize] = {0x0D, 0x0A, 0x53};

} // namespace

bool SerialDeframer::setSamplingValue(int value)
{
    const bool wasStreamed = streamedMode();
    sampling = value;
    if (wasStreamed == streamedMode())
        return false;
    if (streamedMode())
        index = 0;
    state = HuntingStart;
    return true;
}

bool SerialDeframer::isEndMarker(const char *unit)
{
    return std::memcmp(unit, endMarker, UnitSize) == 0;
}

bool SerialDeframer::isStartMarker(const char *unit, bool frameMode)
{
    return std::memcmp(unit, frameMode ? frameStartMarker : streamStartMarker, UnitSize) == 0;
}

void SerialDeframer::step(QIODevice &source, unsigned char *output, const Delivery &deliver)
{
    if (streamedMode())
        streamStep(source, output, deliver);
    else
        frameStep(source, output, deliver);
}

void SerialDeframer::frameStep(QIODevice &source, unsigned char *output, const Delivery &deliver)
{
    char unit[UnitSize];
    switch (state) {
    case HuntingStart:
        // The hunt moves in whole units, so it finds a marker only at a
        // multiple of three bytes from where it began.
        while (source.bytesAvailable() >= UnitSize) {
            if (source.read(unit, UnitSize) != UnitSize) {
                qWarning() << "Serial port: read failed while looking for a frame start";
                return;
            }
            if (isStartMarker(unit, true)) {
                state = ReadingBody;
                return;
            }
        }
        return;
    case ReadingBody: {
        if (source.bytesAvailable() < FrameBodySize)
            return;
        const qint64 got = source.read(reinterpret_cast<char *>(output), FrameBodySize);
        if (got != FrameBodySize) {
            // Never announce a body that did not arrive whole.
            qWarning() << "Serial port: frame body read returned" << got << "of" << FrameBodySize << "bytes, frame dropped";
            state = HuntingStart;
            return;
        }
        output[FrameBodySize] = 0;
        output[FrameBodySize + 1] = 0;
        state = HuntingEnd;
        deliver(FrameDeliverySize);
        return;
    }
    case HuntingEnd:
        if (source.bytesAvailable() < UnitSize)
            return;
        if (source.read(unit, UnitSize) != UnitSize) {
            qWarning() << "Serial port: read failed while looking for a frame end";
            return;
        }
        if (isEndMarker(unit))
            state = HuntingStart;
        return;
    default:
        return;
    }
}

void SerialDeframer::streamStep(QIODevice &source, unsigned char *output, const Delivery &deliver)
{
    const qint64 waiting = source.bytesAvailable();
    const int wanted = int(std::min<qint64>(waiting / UnitSize * UnitSize, FrameBodySize));
    if (wanted == 0)
        return;
    char units[FrameBodySize];
    const qint64 got = source.read(units, wanted);
    if (got <= 0)
        return;
    for (qint64 at = 0; at + UnitSize <= got; at += UnitSize) {
        const char *unit = units + at;
        if (isStartMarker(unit, false)) {
            index = 0;
            state = ReadingBody;
            planesFullReported = false;
        } else if (isEndMarker(unit)) {
            index = 0;
            planesFullReported = false;
        } else if (state != HuntingStart) {
            if (index >= PlaneSize) {
                // Each plane holds 256 samples; the rest until the next
                // marker has nowhere to go.
                if (!planesFullReported)
                    qWarning() << "Serial port: more than" << PlaneSize << "samples without a marker, dropping the rest";
                planesFullReported = true;
                continue;
            }
            output[index] = static_cast<unsigned char>(unit[0]);
            output[PlaneSize + index] = static_cast<unsigned char>(unit[1]);
            output[2 * PlaneSize + index] = static_cast<unsigned char>(unit[2]);
            ++index;
            deliver(UnitSize);
        }
    }
}
