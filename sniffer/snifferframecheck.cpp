#include "snifferframecheck.h"

#include "protocol.h"

namespace {

uint16_t readU16(const unsigned char *bytes)
{
    return uint16_t(bytes[0] | bytes[1] << 8);
}

} // namespace

SnifferFrameCheck::Result SnifferFrameCheck::check(const unsigned char *data, int count, int capacity)
{
    Result result;
    if (!data || count < SNIFF_FRAME_MIN_LENGTH)
        return result;
    if (count > capacity) {
        result.verdict = Verdict::Oversized;
        result.message = QStringLiteral("Sniffer, frame of %1 bytes exceeds the %2-byte receive buffer, dropped")
                             .arg(count)
                             .arg(capacity);
        return result;
    }
    if (data[0] != SNIFF_FRAME_TYPE) {
        result.verdict = Verdict::InvalidType;
        result.message = QStringLiteral("Sniffer, frame header not valid");
        return result;
    }
    result.verdict = Verdict::Accepted;
    dataSnifferHeaderGetData(&result.header, data);
    return result;
}

void SnifferFrameCheck::dataSnifferHeaderGetData(sniffconfig_t *out, const unsigned char *frame)
{
    out->frameType = frame[0];
    out->frameNumber = readU16(frame + 1);
    out->protocol = frame[3];
    out->writeIndex1 = readU16(frame + 4);
    out->writeIndex2 = readU16(frame + 6);
    out->reserved1 = frame[8];
    out->reserved2 = frame[9];
}

int SnifferFrameCheck::ringSize(int protocol)
{
    switch (protocol) {
    case PROTOCOL_SPI:
        return SNIFF_SPI_RING_SIZE;
    case PROTOCOL_I2C:
        return SNIFF_I2C_RING_SIZE;
    case PROTOCOL_UART:
        return SNIFF_UART_RING_SIZE;
    case PROTOCOL_PARALLEL:
        return SNIFF_PARALLEL_RING_SIZE;
    default:
        return 0;
    }
}
