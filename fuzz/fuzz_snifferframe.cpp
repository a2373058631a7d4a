// Sniffer frames from the instrument: the frame check, then the panes'
// text of every protocol from the rings of an accepted frame.
#include "fuzzinput.h"

#include "sniffframe.h"
#include "snifferframecheck.h"
#include "snifferprinter.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte picks the pane options; the rest is the frame as read.
    if (size < 1)
        return 0;
    SnifferPrinter::Format format;
    format.ascii = data[0] & 1;
    format.synchronised = data[0] & 2;
    format.circular = data[0] & 4;
    const bool fromStart = data[0] & 8;
    static unsigned char buffer[16384];
    const size_t count = size - 1 < sizeof buffer ? size - 1 : sizeof buffer;
    std::memset(buffer, 0, sizeof buffer);
    std::memcpy(buffer, data + 1, count);
    // Short reads are padded to the smallest frame so the printers always run.
    const int length = int(count) < SNIFF_FRAME_MIN_LENGTH ? SNIFF_FRAME_MIN_LENGTH : int(count);
    const SnifferFrameCheck::Result result = SnifferFrameCheck::check(buffer, length, int(sizeof buffer));
    if (result.verdict != SnifferFrameCheck::Verdict::Accepted)
        return 0;
    const sniffconfig_t &header = result.header;
    SnifferFrameCheck::ringSize(header.protocol);
    SnifferPrinter::ringWalk(header.writeIndex1, SNIFF_UART_RING_SIZE, fromStart);
    SnifferPrinter::serial(buffer + SNIFF_UART_RX_OFFSET, buffer + SNIFF_UART_FLAGS_OFFSET, SNIFF_UART_FLAG_RX,
                           header.writeIndex1, fromStart, format);
    SnifferPrinter::serial(buffer + SNIFF_UART_TX_OFFSET, buffer + SNIFF_UART_FLAGS_OFFSET, SNIFF_UART_FLAG_TX,
                           header.writeIndex2, fromStart, format);
    SnifferPrinter::plain(buffer + SNIFF_SPI_MOSI_OFFSET, SNIFF_SPI_RING_SIZE, header.writeIndex1, fromStart, format);
    SnifferPrinter::plain(buffer + SNIFF_SPI_MISO_OFFSET, SNIFF_SPI_RING_SIZE, header.writeIndex2, fromStart, format);
    SnifferPrinter::i2c(buffer + SNIFF_I2C_DATA_OFFSET, buffer + SNIFF_I2C_FLAGS_OFFSET, header.writeIndex1, format);
    SnifferPrinter::plain(buffer + SNIFF_PARALLEL_DATA_OFFSET, SNIFF_PARALLEL_RING_SIZE, header.writeIndex1, fromStart,
                          format);
    return 0;
}
