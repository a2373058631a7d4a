#ifndef SNIFFFRAME_H
#define SNIFFFRAME_H

// Sniffer frame streamed on the bulk-in endpoint while the device mode is
// MODE_SNIFFER: a 10-byte header, then the capture rings of the protocol.
// Shared by the program and the simulated instrument; little-endian.

#include <cstdint>

#pragma pack(push, 1)
struct sniffconfig_t {
    uint8_t frameType;     // SNIFF_FRAME_TYPE
    uint16_t frameNumber;  // equal numbers mean the same capture state
    uint8_t protocol;      // PROTOCOL_*
    uint16_t writeIndex1;  // fill count of ring 1
    uint16_t writeIndex2;  // fill count of ring 2
    uint8_t reserved1;
    uint8_t reserved2;
};
#pragma pack(pop)

static_assert(sizeof(sniffconfig_t) == 10, "sniffer header is 10 bytes");

constexpr uint8_t SNIFF_FRAME_TYPE = 'B';
constexpr int SNIFF_HEADER_SIZE = 10;

// A transfer is looked at only when it holds the largest (UART) layout.
constexpr int SNIFF_FRAME_MIN_LENGTH = 4618;

// UART: receive ring, transmit ring, one flags byte per slot.
constexpr int SNIFF_UART_RING_SIZE = 1536;
constexpr int SNIFF_UART_RX_OFFSET = SNIFF_HEADER_SIZE;
constexpr int SNIFF_UART_TX_OFFSET = SNIFF_UART_RX_OFFSET + SNIFF_UART_RING_SIZE;
constexpr int SNIFF_UART_FLAGS_OFFSET = SNIFF_UART_TX_OFFSET + SNIFF_UART_RING_SIZE;
constexpr int SNIFF_UART_LENGTH = SNIFF_UART_FLAGS_OFFSET + SNIFF_UART_RING_SIZE;

// SPI: MOSI ring, MISO ring.
constexpr int SNIFF_SPI_RING_SIZE = 2048;
constexpr int SNIFF_SPI_MOSI_OFFSET = SNIFF_HEADER_SIZE;
constexpr int SNIFF_SPI_MISO_OFFSET = SNIFF_SPI_MOSI_OFFSET + SNIFF_SPI_RING_SIZE;
constexpr int SNIFF_SPI_LENGTH = SNIFF_SPI_MISO_OFFSET + SNIFF_SPI_RING_SIZE;

// I2C: data ring, one flags byte per slot.
constexpr int SNIFF_I2C_RING_SIZE = 2048;
constexpr int SNIFF_I2C_DATA_OFFSET = SNIFF_HEADER_SIZE;
constexpr int SNIFF_I2C_FLAGS_OFFSET = SNIFF_I2C_DATA_OFFSET + SNIFF_I2C_RING_SIZE;
constexpr int SNIFF_I2C_LENGTH = SNIFF_I2C_FLAGS_OFFSET + SNIFF_I2C_RING_SIZE;

// Parallel: one data ring.
constexpr int SNIFF_PARALLEL_RING_SIZE = 4096;
constexpr int SNIFF_PARALLEL_DATA_OFFSET = SNIFF_HEADER_SIZE;
constexpr int SNIFF_PARALLEL_LENGTH = SNIFF_PARALLEL_DATA_OFFSET + SNIFF_PARALLEL_RING_SIZE;

static_assert(SNIFF_UART_LENGTH == SNIFF_FRAME_MIN_LENGTH, "UART is the largest layout");
static_assert(SNIFF_SPI_LENGTH == 4106 && SNIFF_I2C_LENGTH == 4106 && SNIFF_PARALLEL_LENGTH == 4106,
              "SPI, I2C and parallel frames are 4106 bytes");

// UART flags byte: which directions hold a byte in the slot.
enum : uint8_t {
    SNIFF_UART_FLAG_RX = 0x01,
    SNIFF_UART_FLAG_TX = 0x02
};

// I2C flags byte.
enum : uint8_t {
    SNIFF_I2C_ACK = 0x01,
    SNIFF_I2C_ADDRESS = 0x02,
    SNIFF_I2C_START = 0x04,
    SNIFF_I2C_RESTART = 0x08,
    SNIFF_I2C_STOP = 0x10,
    SNIFF_I2C_TIMEOUT = 0x20,
    SNIFF_I2C_STOP_TIMEOUT = 0x40,
    SNIFF_I2C_VALID = 0x80
};

#endif // SNIFFFRAME_H
