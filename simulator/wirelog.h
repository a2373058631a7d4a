#ifndef WIRELOG_H
#define WIRELOG_H

// What crossed the simulated wire: vendor control requests with their replies
// and bulk OUT blocks byte for byte, with CLOCK_MONOTONIC time stamps (the
// clock of std::chrono::steady_clock and QElapsedTimer).

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct WireRecord
{
    enum Kind { Control, BulkOut };
    enum Outcome {
        Answered,   // completed normally
        Stalled,    // the device stalled (unknown request, injected fault)
        Held,       // never answered; the host cancelled it
        NoDevice    // arrived after an unplug
    };

    Kind kind = Control;
    int64_t timestampUs = 0;
    uint8_t requestType = 0;   // bmRequestType
    uint8_t request = 0;       // bRequest
    uint16_t value = 0;        // wValue
    uint16_t index = 0;        // wIndex
    uint16_t length = 0;       // wLength, or the bulk block's size
    std::vector<uint8_t> data; // reply of an IN request, OUT data stage, bulk bytes
    Outcome outcome = Answered;

    // One line: time, kind, fields and the data in hex.
    std::string toText() const;
};

class WireLog
{
public:
    WireLog() = default;
    ~WireLog();
    WireLog(const WireLog &) = delete;
    WireLog &operator=(const WireLog &) = delete;

    // Appends every later record to this file as text; false when it cannot be opened.
    bool openFile(const std::string &path);
    // Returns the record's position.
    size_t append(const WireRecord &record);
    void setOutcome(size_t position, WireRecord::Outcome outcome);
    const std::vector<WireRecord> &records() const { return m_records; }
    void clear();

    static int64_t nowUs();

private:
    std::vector<WireRecord> m_records;
    FILE *m_file = nullptr;
};

#endif // WIRELOG_H
