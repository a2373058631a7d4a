#ifndef SNIFFERPRINTER_H
#define SNIFFERPRINTER_H

#include <QString>

#include <cstdint>

// Renders the capture rings of a sniffer frame as the text of a pane: each
// byte as two hex digits or as a Latin-1 character, followed by a blank.
// A ring is shown from its start up to the write index, or, once it has
// wrapped, as a whole starting at the write index (oldest byte first).
class SnifferPrinter
{
public:
    struct Format
    {
        bool ascii = false;
        // UART: a slot without a byte of this direction gets a placeholder,
        // so both directions line up slot for slot.
        bool synchronised = false;
        bool circular = false;
    };

    // The slots a pane shows: `count` of them from `start`, wrapping to 0.
    struct Walk
    {
        int start = 0;
        int count = 0;
    };
    static Walk ringWalk(int writeIndex, int ringSize, bool wrapped);

    // One UART direction (mask 1 receive, 2 transmit) of a 1536-slot ring
    // with its shared flags ring.
    static QString serial(const uint8_t *ring, const uint8_t *flags, uint8_t directionMask, int writeIndex,
                          bool fromStart, const Format &format);
    // SPI (2048 slots) and parallel (4096 slots): every slot is a byte.
    static QString plain(const uint8_t *ring, int ringSize, int writeIndex, bool fromStart, const Format &format);
    // I2C: 2048 data slots with their flags; conditions, addresses and
    // acknowledges are written out. A circular pane always shows the whole ring.
    static QString i2c(const uint8_t *data, const uint8_t *flags, int writeIndex, const Format &format);

private:
    static void appendByte(QString &text, uint8_t byte, bool ascii);
};

#endif // SNIFFERPRINTER_H
