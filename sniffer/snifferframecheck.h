#ifndef SNIFFERFRAMECHECK_H
#define SNIFFERFRAMECHECK_H

#include "sniffframe.h"

#include <QString>

// Decides whether a completed bulk-in read is a sniffer frame worth
// showing, and unpacks its header.
class SnifferFrameCheck
{
public:
    enum class Verdict {
        TooShort,     // shorter than the largest layout: not looked at, nothing logged
        Oversized,    // claims more bytes than the receive buffer holds
        InvalidType,  // does not start with the sniffer frame type
        Accepted
    };

    struct Result
    {
        Verdict verdict = Verdict::TooShort;
        sniffconfig_t header{};
        QString message;   // the log line for a refused read
    };

    // `count` bytes arrived in a buffer of `capacity` bytes at `data`.
    static Result check(const unsigned char *data, int count, int capacity);

    // Copies the frame's first ten bytes into `out`, field by field.
    static void dataSnifferHeaderGetData(sniffconfig_t *out, const unsigned char *frame);

    // Ring size of a protocol code, or 0 for an unknown code.
    static int ringSize(int protocol);
};

#endif // SNIFFERFRAMECHECK_H
