#include "wirelog.h"

#include <ctime>

namespace {
const char *outcomeName(WireRecord::Outcome outcome)
{
    switch (outcome) {
    case WireRecord::Stalled:
        return "stall";
    case WireRecord::Held:
        return "held";
    case WireRecord::NoDevice:
        return "no-device";
    default:
        return "ok";
    }
}
}

std::string WireRecord::toText() const
{
    char head[160];
    if (kind == Control)
        std::snprintf(head, sizeof head,
                      "%lld.%06lld control type=0x%02x req=0x%02x('%c') value=%u index=%u length=%u %s",
                      (long long)(timestampUs / 1000000), (long long)(timestampUs % 1000000), requestType, request,
                      request >= 0x20 && request < 0x7f ? request : '?', value, index, length, outcomeName(outcome));
    else
        std::snprintf(head, sizeof head, "%lld.%06lld bulk-out length=%u %s", (long long)(timestampUs / 1000000),
                      (long long)(timestampUs % 1000000), length, outcomeName(outcome));
    std::string text = head;
    if (!data.empty()) {
        text += " data=";
        char hex[3];
        for (uint8_t b : data) {
            std::snprintf(hex, sizeof hex, "%02x", b);
            text += hex;
        }
    }
    return text;
}

WireLog::~WireLog()
{
    if (m_file)
        std::fclose(m_file);
}

bool WireLog::openFile(const std::string &path)
{
    if (m_file)
        std::fclose(m_file);
    m_file = std::fopen(path.c_str(), "a");
    return m_file != nullptr;
}

size_t WireLog::append(const WireRecord &record)
{
    m_records.push_back(record);
    if (m_file && record.outcome != WireRecord::Held) {
        std::fprintf(m_file, "%s\n", record.toText().c_str());
        std::fflush(m_file);
    }
    return m_records.size() - 1;
}

void WireLog::setOutcome(size_t position, WireRecord::Outcome outcome)
{
    if (position >= m_records.size())
        return;
    WireRecord &record = m_records[position];
    record.outcome = outcome;
    // A held request is written once its fate is known.
    if (m_file) {
        std::fprintf(m_file, "%s\n", record.toText().c_str());
        std::fflush(m_file);
    }
}

void WireLog::clear()
{
    m_records.clear();
}

int64_t WireLog::nowUs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}
