#ifndef SERIALDEFRAMER_H
#define SERIALDEFRAMER_H

#include <functional>

class QIODevice;

// Turns the serial instrument's byte stream into oscilloscope data. Two
// framings, chosen by the time-base (sampling) value:
// - frame mode (value up to 10): start marker, 768 body bytes, end marker;
//   each body is delivered as 770 bytes (the body and two zero bytes);
// - streamed mode (value above 10): 3-byte units; each sample unit is spread
//   over three 256-byte planes at its position since the last marker.
// One step() is one polling tick; it consumes what it can from the source.
class SerialDeframer
{
public:
    static constexpr int UnitSize = 3;
    static constexpr int FrameBodySize = 768;
    static constexpr int FrameDeliverySize = 770;
    static constexpr int PlaneSize = 256;
    static constexpr int OutputSize = FrameDeliverySize; // covers the three planes too
    static constexpr int StreamedAbove = 10;

    // Frame mode states; in streamed mode frameState() is 0 (dropping samples
    // until a start marker) or non-zero (storing).
    enum FrameState { HuntingStart = 0, ReadingBody = 1, HuntingEnd = 2 };

    // Stores the sampling value and resynchronises when the framing changes;
    // true then, so that the caller can flush its port.
    bool setSamplingValue(int value);

    // Receives each delivery's byte count: 770 per frame, 3 per sample.
    using Delivery = std::function<void(int)>;
    // output must hold OutputSize bytes.
    void step(QIODevice &source, unsigned char *output, const Delivery &deliver);

    static bool isEndMarker(const char *unit);
    static bool isStartMarker(const char *unit, bool frameMode);

    int samplingValue() const { return sampling; }
    int sampleIndex() const { return index; }
    int frameState() const { return state; }
    bool streamedMode() const { return sampling > StreamedAbove; }

private:
    void frameStep(QIODevice &source, unsigned char *output, const Delivery &deliver);
    void streamStep(QIODevice &source, unsigned char *output, const Delivery &deliver);

    int sampling = 0;
    int index = 0;
    // Starts at ReadingBody: the first bytes after construction are taken as
    // data without waiting for a marker.
    int state = ReadingBody;
    bool planesFullReported = false;
};

#endif // SERIALDEFRAMER_H
