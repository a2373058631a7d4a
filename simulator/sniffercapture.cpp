#include "sniffercapture.h"

#include "sniffframe.h"

#include <cstring>
#include <string>

namespace {
const std::string kUartTransmit = "ping\r\n";
const std::string kUartReceive = "pong from VESKSIM\r\n";
const std::string kParallelText = "VESKSIM parallel port\n";
const uint8_t kSpiMosi[] = {0x9F, 0x00, 0x00, 0x00};
const uint8_t kSpiMiso[] = {0xFF, 0x56, 0x53, 0x4D};
constexpr uint8_t kI2cAddressWrite = 0x50 << 1;
const uint8_t kI2cData[] = {0x1F, 0x00};
}

SnifferCapture::SnifferCapture(const InstrumentConfig &config) : m_config(config)
{
    reset();
}

void SnifferCapture::reset()
{
    m_running = false;
    m_protocol = -1;
    clear();
}

void SnifferCapture::clear()
{
    m_writeIndex1 = 0;
    m_writeIndex2 = 0;
    m_ring1.assign(SNIFF_PARALLEL_RING_SIZE, 0);
    m_ring2.assign(SNIFF_PARALLEL_RING_SIZE, 0);
    m_flags.assign(SNIFF_PARALLEL_RING_SIZE, 0);
    ++m_frameNumber;
}

void SnifferCapture::start(int64_t nowUs)
{
    m_running = true;
    m_nextMessageUs = nowUs;
    m_nextFrameUs = nowUs;
}

int SnifferCapture::ringSize() const
{
    switch (m_protocol) {
    case PROTOCOL_UART:
        return SNIFF_UART_RING_SIZE;
    case PROTOCOL_PARALLEL:
        return SNIFF_PARALLEL_RING_SIZE;
    default:
        return SNIFF_SPI_RING_SIZE;
    }
}

bool SnifferCapture::makeRoom(int &writeIndex) const
{
    if (writeIndex < ringSize())
        return true;
    if (m_config.snifferSingle())
        return false;   // single capture stops when the ring is full
    writeIndex = 0;
    return true;
}

bool SnifferCapture::write(const Slot &slot)
{
    if (!makeRoom(m_writeIndex1))
        return false;
    m_ring1[m_writeIndex1] = slot.byte1;
    m_ring2[m_writeIndex1] = slot.byte2;
    m_flags[m_writeIndex1] = slot.flags;
    m_writeIndex2 = ++m_writeIndex1;
    return true;
}

// One direction's byte at the next slot of its own ring; the slot's flags
// still tell which rings hold a byte there.
bool SnifferCapture::writeApart(std::vector<uint8_t> &ring, int &writeIndex, uint8_t byte, uint8_t flag)
{
    if (!makeRoom(writeIndex))
        return false;
    ring[writeIndex] = byte;
    m_flags[writeIndex] |= flag;
    ++writeIndex;
    return true;
}

bool SnifferCapture::captureUartApart()
{
    bool changed = false;
    for (char c : kUartTransmit)
        changed |= writeApart(m_ring2, m_writeIndex2, uint8_t(c), SNIFF_UART_FLAG_TX);
    for (char c : kUartReceive)
        changed |= writeApart(m_ring1, m_writeIndex1, uint8_t(c), SNIFF_UART_FLAG_RX);
    return changed;
}

void SnifferCapture::captureMessage()
{
    std::vector<Slot> message;
    bool changed = false;
    switch (m_protocol) {
    case PROTOCOL_UART:
        if (!m_uartSynchronised) {
            changed = captureUartApart();
            break;
        }
        for (char c : kUartTransmit)
            message.push_back({0, uint8_t(c), SNIFF_UART_FLAG_TX});
        for (char c : kUartReceive)
            message.push_back({uint8_t(c), 0, SNIFF_UART_FLAG_RX});
        break;
    case PROTOCOL_SPI:
        for (size_t i = 0; i < sizeof kSpiMosi; ++i)
            message.push_back({kSpiMosi[i], kSpiMiso[i], 0});
        break;
    case PROTOCOL_I2C:
        message.push_back({0, 0, SNIFF_I2C_VALID | SNIFF_I2C_START});
        message.push_back({kI2cAddressWrite, 0, SNIFF_I2C_VALID | SNIFF_I2C_ADDRESS | SNIFF_I2C_ACK});
        for (uint8_t b : kI2cData)
            message.push_back({b, 0, SNIFF_I2C_VALID | SNIFF_I2C_ACK});
        message.push_back({0, 0, SNIFF_I2C_VALID | SNIFF_I2C_STOP});
        break;
    case PROTOCOL_PARALLEL:
        for (char c : kParallelText)
            message.push_back({uint8_t(c), 0, 0});
        break;
    default:
        break;
    }
    for (const Slot &slot : message)
        changed |= write(slot);
    // The number tells the host whether anything new arrived.
    if (changed)
        ++m_frameNumber;
}

std::vector<uint8_t> SnifferCapture::frame(int64_t nowUs)
{
    // Another protocol or UART layout makes what the rings hold meaningless.
    if (m_protocol != m_config.snifferProtocol() || m_uartSynchronised != m_config.snifferUartSynchronised()) {
        m_protocol = m_config.snifferProtocol();
        m_uartSynchronised = m_config.snifferUartSynchronised();
        clear();
    }
    if (m_running && (!m_paced || nowUs >= m_nextMessageUs)) {
        captureMessage();
        m_nextMessageUs = nowUs + messageIntervalUs;
    }
    m_nextFrameUs = m_paced ? nowUs + frameIntervalUs : nowUs;

    // Every frame has the UART length: the host looks at nothing shorter.
    std::vector<uint8_t> bytes(SNIFF_FRAME_MIN_LENGTH, 0);
    const uint16_t writeIndex2 = m_protocol == PROTOCOL_UART || m_protocol == PROTOCOL_SPI ? m_writeIndex2 : 0;
    bytes[0] = SNIFF_FRAME_TYPE;
    bytes[1] = uint8_t(m_frameNumber);
    bytes[2] = uint8_t(m_frameNumber >> 8);
    bytes[3] = uint8_t(m_protocol);
    bytes[4] = uint8_t(m_writeIndex1);
    bytes[5] = uint8_t(m_writeIndex1 >> 8);
    bytes[6] = uint8_t(writeIndex2);
    bytes[7] = uint8_t(writeIndex2 >> 8);

    const int size = ringSize();
    uint8_t *rings = bytes.data() + SNIFF_HEADER_SIZE;
    std::memcpy(rings, m_ring1.data(), size);
    switch (m_protocol) {
    case PROTOCOL_UART:
    case PROTOCOL_SPI:
        std::memcpy(rings + size, m_ring2.data(), size);
        if (m_protocol == PROTOCOL_UART)
            std::memcpy(rings + 2 * size, m_flags.data(), size);
        break;
    case PROTOCOL_I2C:
        std::memcpy(rings + size, m_flags.data(), size);
        break;
    default:
        break;
    }
    return bytes;
}
