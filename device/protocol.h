#ifndef PROTOCOL_H
#define PROTOCOL_H

// The instrument's command set: vendor control requests, their sub-codes,
// the configuration items and the bulk OUT records. Shared by the program and
// the simulated instrument. All multi-byte fields are little-endian.

#include <cstdint>

// Vendor requests (bmRequestType 0xC0, bRequest = code).
enum : uint8_t {
    REQ_SET_CONFIG = 0x41,          // 'A' wIndex = item, wValue = low 16 bits
    REQ_SET_CONFIG_CONFIRM = 0x42,  // 'B' items 2..5 only, 2-byte reply
    REQ_CALIBRATE = 0x43,           // 'C' wIndex = CAL_*, wValue = CAL_STEP_* / CAL_STORE
    REQ_RUN_CONTROL = 0x44,         // 'D' wIndex = RUN_*
    REQ_COMMIT_BULK = 0x45,         // 'E' wIndex = BULK_*, right after each bulk OUT block
    REQ_SET_AWG_FREQUENCY = 0x46,   // 'F' wIndex = bits 0..15, wValue = bits 16..31
    REQ_READ = 0x47,                // 'G' wIndex = READ_*
    REQ_DISCONNECT = 0x48           // 'H'
};

constexpr uint8_t REQUEST_TYPE_VENDOR_IN = 0xC0;

// REQ_RUN_CONTROL sub-codes.
enum : uint16_t {
    RUN_COUNTER_START = 0,
    RUN_COUNTER_STOP = 1,
    RUN_SCOPE_START = 2,
    RUN_SCOPE_STOP = 3,
    RUN_FORCE_TRIGGER = 4,
    RUN_SNIFFER_START = 5,
    RUN_SNIFFER_STOP = 6,
    RUN_SNIFFER_CLEAR = 7
};

// REQ_CALIBRATE sub-codes (wIndex) and steps (wValue).
enum : uint16_t {
    CAL_DAC_OFFSET = 0,
    CAL_DAC_GAIN = 1,
    CAL_ADC_OFFSET_CLEAR = 2,
    CAL_ADC_OFFSET = 3
};
enum : uint16_t {
    CAL_STORE = 0,
    CAL_STEP_UP = 1,
    CAL_STEP_DOWN = 0xFFFF
};

// REQ_COMMIT_BULK sub-codes: what the 512 bytes just sent are.
enum : uint16_t {
    BULK_WAVE_FIRST_HALF = 0,
    BULK_WAVE_SECOND_HALF = 1,
    BULK_SETTINGS = 2
};

// REQ_READ sub-codes.
enum : uint16_t {
    READ_DEVICE_INFO = 0,
    READ_METER = 1,
    READ_HEALTH = 2,
    READ_MAX_DAC_BLOCKS = 3,
    READ_MAX_ADC_BLOCKS = 4,
    READ_AWG_FREQUENCY = 5
};

// Reply lengths; any other count is no reply.
constexpr int REPLY_CONFIRM_LENGTH = 2;
constexpr int REPLY_DEVICE_INFO_LENGTH = 64;
constexpr int REPLY_METER_LENGTH = 36;
constexpr int REPLY_HEALTH_LENGTH = 1;
constexpr int REPLY_MAX_DAC_BLOCKS_LENGTH = 1;
constexpr int REPLY_MAX_ADC_BLOCKS_LENGTH = 1;
constexpr int REPLY_AWG_FREQUENCY_LENGTH = 4;

// REQ_SET_CONFIG_CONFIRM reply byte 0.
enum : uint8_t {
    CONFIRM_ACCEPTED = 0,
    CONFIRM_NO_MEMORY = 1
};

// Configuration items (wIndex of 'A' and 'B', slot of the settings block).
enum : uint8_t {
    CFG_MAIN_MODE = 0,
    CFG_SAMPLING_RATE = 1,
    CFG_DAC_CONTROL = 2,
    CFG_CH1_CONTROL = 3,
    CFG_CH2_CONTROL = 4,
    CFG_CHD_CONTROL = 5,
    CFG_CHD_BITS = 6,
    CFG_TRIGGER_CONTROL = 7,
    CFG_TRIGGER_SOURCE = 8,
    CFG_GATE_SOURCE = 9,
    CFG_MIXED_CONTROL = 10,
    CFG_METER_FREQUENCY_CONTROL = 11,
    CFG_SNIFFER_OPTIONS = 12,
    CFG_CH1_GAIN = 13,
    CFG_CH2_GAIN = 14,
    CFG_TRIGGER_HOLD = 15,
    CFG_TRIGGER_POST = 16,
    CFG_TRIGGER_LEVEL = 17,
    CFG_TRIGGER_WIN1_LEVEL = 18,
    CFG_TRIGGER_WIN2_LEVEL = 19,
    CFG_AUTO_TRIGGER = 20,
    CFG_DECODE_PROTOCOL = 21,
    CFG_SNIFFER_USART = 22,
    CFG_SNIFFER_STROBE = 23,
    CFG_DAC_BUFFER_BLOCKS = 24,
    CFG_CH_BUFFER_BLOCKS = 25,
    CFG_SWEEP_CONTROL = 26,
    CFG_SWEEP_START = 27,
    CFG_SWEEP_END = 28,
    CFG_SWEEP_SPEED = 29,
    CFG_WAVE_AMPLITUDE = 30,
    CFG_WAVE_TYPE = 31,
    CFG_WAVE_DUTY = 32,
    CFG_WAVE_OFFSET = 33,
    CFG_WAVE_FREQUENCY = 34,
    CFG_WAVE_CONSTANT_LEVEL = 35,
    CFG_COUNT = 36
};

// CFG_MAIN_MODE values.
enum : uint8_t {
    MODE_SCOPE = 0,
    MODE_SNIFFER = 1,
    MODE_METER_AC = 2,
    MODE_METER_DC = 3,
    MODE_COUNTER_FREQUENCY = 4,
    MODE_COUNTER_PULSES = 5,
    MODE_COUNTER_PERIOD = 6,
    MODE_COUNTER_EXT_GATE = 7
};

// CFG_WAVE_TYPE values.
enum : uint8_t {
    WAVE_SINE = 0,
    WAVE_SQUARE = 1,
    WAVE_TRIANGLE = 2,
    WAVE_EXPONENTIAL = 3,
    WAVE_CUSTOM = 4,
    WAVE_CONSTANT = 5,
    WAVE_WHITE_NOISE = 6,
    WAVE_PINK_NOISE = 7
};

// CFG_DECODE_PROTOCOL values (also the protocol byte of a sniffer frame).
enum : uint8_t {
    PROTOCOL_SPI = 0,
    PROTOCOL_I2C = 1,
    PROTOCOL_UART = 2,
    PROTOCOL_PARALLEL = 3
};

// Channel control byte (CFG_CH1_CONTROL, CFG_CH2_CONTROL).
enum : uint8_t {
    CHANNEL_TRACE_ON = 0x01,
    CHANNEL_AC = 0x02,
    CHANNEL_INVERT = 0x04,
    CHANNEL_AVERAGE = 0x08,
    CHANNEL_MATH_ON = 0x10,
    CHANNEL_MATH_SUBTRACT = 0x20,
    CHANNEL_MATH_MULTIPLY = 0x40
};

// Logic channel control byte (CFG_CHD_CONTROL).
enum : uint8_t {
    LOGIC_TRACE_ON = 0x01,
    LOGIC_INVERT = 0x04
};

// Trigger control byte (CFG_TRIGGER_CONTROL): one type bit, a mode in bits 4..7.
enum : uint8_t {
    TRIGGER_FREE = 0x01,
    TRIGGER_NORMAL = 0x02,
    TRIGGER_SINGLE = 0x04,
    TRIGGER_AUTO = 0x08,
    TRIGGER_TYPE_MASK = 0x0F,
    TRIGGER_MODE_MASK = 0xF0,
    TRIGGER_RISING_EDGE = 0x80,
    TRIGGER_FALLING_EDGE = 0x90,
    TRIGGER_DUAL_EDGE = 0x00,
    TRIGGER_POSITIVE_SLOPE = 0x20,
    TRIGGER_NEGATIVE_SLOPE = 0x30,
    TRIGGER_WINDOW = 0x40
};

// Source codes (CFG_TRIGGER_SOURCE, CFG_GATE_SOURCE); 2..9 are logic bits 0..7.
enum : uint8_t {
    SOURCE_CH1 = 0,
    SOURCE_CH2 = 1,
    SOURCE_LOGIC0 = 2,
    SOURCE_EXT = 10,
    SOURCE_SCHMITT = 11
};

// Mixed control byte (CFG_MIXED_CONTROL).
enum : uint8_t {
    MIXED_ROLL = 0x01,
    MIXED_ELASTIC = 0x02,
    MIXED_SNIFFER_SINGLE = 0x04,
    MIXED_METER_ON_DEVICE = 0x08,
    MIXED_WAVE_UPLOAD = 0x10
};

// Counter options byte (CFG_METER_FREQUENCY_CONTROL).
enum : uint8_t {
    COUNTER_FAST_MODE = 0x01,
    COUNTER_GATE_PERIOD = 0x08
};

// Sniffer options byte (CFG_SNIFFER_OPTIONS).
enum : uint8_t {
    SNIFF_UART_PARITY = 0x01,
    SNIFF_UART_ODD = 0x02,
    SNIFF_UART_TWO_STOP = 0x04,
    SNIFF_UART_SYNC = 0x08,
    SNIFF_PARALLEL_INVERT = 0x10,
    SNIFF_SPI_SS_INVERT = 0x20,
    SNIFF_SPI_CPOL = 0x40,
    SNIFF_SPI_CPHA = 0x80
};

// Sweep control byte (CFG_SWEEP_CONTROL).
enum : uint8_t {
    SWEEP_FALLING = 0x01,
    SWEEP_PING_PONG = 0x02,
    SWEEP_FREQUENCY = 0x04,
    SWEEP_AMPLITUDE = 0x08,
    SWEEP_OFFSET = 0x10,
    SWEEP_DUTY = 0x20
};

// Value ranges and scales.
constexpr int BLOCK_SAMPLES = 256;
constexpr int DAC_BLOCKS_MIN = 1;
constexpr int DAC_BLOCKS_MAX = 2;
constexpr int CH_BLOCKS_MIN = 1;
constexpr int CH_BLOCKS_MAX = 15;
constexpr int SAMPLING_RATE_MAX = 21;
constexpr int WAVE_AMPLITUDE_MAX = 232;
constexpr double WAVE_AMPLITUDE_PER_VOLT = 115.91;
constexpr int WAVE_OFFSET_LIMIT = 127;
constexpr double WAVE_OFFSET_PER_VOLT = 63.9795265515035112;
constexpr int WAVE_DUTY_MIN = 1;
constexpr int WAVE_DUTY_MAX = 255;
constexpr double WAVE_DUTY_PER_PERCENT = 2.5599672324194254;
constexpr int WAVE_CONSTANT_LIMIT = 29696;
constexpr long long WAVE_FREQUENCY_MIN = 48;        // 0.01 Hz units
constexpr long long WAVE_FREQUENCY_MAX = 12500000;  // 0.01 Hz units
constexpr int TRIGGER_LEVEL_LIMIT = 125;
constexpr double AUTO_TRIGGER_STEP_SECONDS = 0.04096;

// Bulk OUT transport.
constexpr uint8_t BULK_OUT_ENDPOINT = 0x01;
constexpr uint8_t BULK_IN_ENDPOINT = 0x81;
constexpr int BULK_BLOCK_SIZE = 512;
constexpr int SETTINGS_SLOT_COUNT = 128;
constexpr int CUSTOM_WAVE_SAMPLES = 512;

#pragma pack(push, 1)
// Committed with BULK_SETTINGS: slot i holds configuration item i as the
// encoder computed it (all 32 bits); slots CFG_COUNT.. carry nothing.
struct settingsblock_t {
    int32_t slot[SETTINGS_SLOT_COUNT];
};

// Committed in two halves with BULK_WAVE_FIRST_HALF / BULK_WAVE_SECOND_HALF.
struct customwave_t {
    int16_t sample[CUSTOM_WAVE_SAMPLES];
};
#pragma pack(pop)

static_assert(sizeof(settingsblock_t) == BULK_BLOCK_SIZE, "settings block is one bulk block");
static_assert(sizeof(customwave_t) == 2 * BULK_BLOCK_SIZE, "custom wave is two bulk blocks");

#endif // PROTOCOL_H
