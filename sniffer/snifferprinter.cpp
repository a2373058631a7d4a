#include "snifferprinter.h"

#include "sniffframe.h"

namespace {

const QChar hexDigits[] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};

void appendHex(QString &text, uint8_t byte)
{
    text += hexDigits[byte >> 4];
    text += hexDigits[byte & 0x0F];
}

// Shown in place of the acknowledge for a byte nobody acknowledged.
const QString notAcknowledged = QStringLiteral("<") + QChar(0x1FB9) + QStringLiteral(">");

} // namespace

SnifferPrinter::Walk SnifferPrinter::ringWalk(int writeIndex, int ringSize, bool wrapped)
{
    Walk walk;
    if (ringSize <= 0 || writeIndex < 0)
        return walk;
    if (wrapped) {
        // The index comes from the device: any value must land inside the ring.
        walk.start = writeIndex % ringSize;
        walk.count = ringSize;
    } else {
        walk.count = qMin(writeIndex, ringSize);
    }
    return walk;
}

void SnifferPrinter::appendByte(QString &text, uint8_t byte, bool ascii)
{
    if (!ascii)
        appendHex(text, byte);
    else if (byte < 32)
        text += QLatin1Char('_');
    else
        text += QChar(QLatin1Char(char(byte)));
}

QString SnifferPrinter::serial(const uint8_t *ring, const uint8_t *flags, uint8_t directionMask, int writeIndex,
                               bool fromStart, const Format &format)
{
    const Walk walk = ringWalk(writeIndex, SNIFF_UART_RING_SIZE, format.circular && !fromStart);
    const QString placeholder = format.ascii ? QStringLiteral(". ") : QStringLiteral(".. ");
    QString text;
    text.reserve(walk.count * 3);
    for (int i = 0, slot = walk.start; i < walk.count; ++i, slot = (slot + 1) % SNIFF_UART_RING_SIZE) {
        if ((flags[slot] & directionMask) != 0 || !format.synchronised) {
            appendByte(text, ring[slot], format.ascii);
            text += QLatin1Char(' ');
        } else {
            text += placeholder;
        }
    }
    return text;
}

QString SnifferPrinter::plain(const uint8_t *ring, int ringSize, int writeIndex, bool fromStart, const Format &format)
{
    const Walk walk = ringWalk(writeIndex, ringSize, format.circular && !fromStart);
    QString text;
    text.reserve(walk.count * 3);
    for (int i = 0, slot = walk.start; i < walk.count; ++i, slot = (slot + 1) % ringSize) {
        appendByte(text, ring[slot], format.ascii);
        text += QLatin1Char(' ');
    }
    return text;
}

QString SnifferPrinter::i2c(const uint8_t *data, const uint8_t *flags, int writeIndex, const Format &format)
{
    const Walk walk = ringWalk(writeIndex, SNIFF_I2C_RING_SIZE, format.circular);
    QString text;
    text.reserve(walk.count * 8);
    for (int i = 0, slot = walk.start; i < walk.count; ++i, slot = (slot + 1) % SNIFF_I2C_RING_SIZE) {
        const uint8_t flag = flags[slot];
        const uint8_t byte = data[slot];
        if (!(flag & SNIFF_I2C_VALID))
            continue;
        // A bus condition stands for the whole slot; its data byte means nothing.
        if (flag & SNIFF_I2C_START) {
            text += QLatin1String("<Start> ");
            continue;
        }
        if (flag & SNIFF_I2C_RESTART) {
            text += QLatin1String("\n<Restart> ");
            continue;
        }
        if (flag & SNIFF_I2C_STOP) {
            text += QLatin1String("<Stop>\n");
            continue;
        }
        if (flag & SNIFF_I2C_STOP_TIMEOUT) {
            text += QLatin1String("<Stop/Timeout>\n");
            continue;
        }
        if (flag & SNIFF_I2C_TIMEOUT) {
            text += QLatin1String("<Timeout>\n");
            continue;
        }
        if (flag & SNIFF_I2C_ADDRESS) {
            text += QLatin1String("<Address:>");
            appendHex(text, byte >> 1);
            text += (byte & 0x01) ? QLatin1String("<R>") : QLatin1String("<W>");
        } else {
            appendByte(text, byte, format.ascii);
        }
        if (flag & SNIFF_I2C_ACK)
            text += QLatin1String("<A>");
        else
            text += notAcknowledged;
        text += QLatin1Char(' ');
    }
    return text;
}
