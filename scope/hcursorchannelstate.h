#ifndef HCURSORCHANNELSTATE_H
#define HCURSORCHANNELSTATE_H

// Whether the horizontal cursors may measure a source (its trace is on).
struct HCursorChannelState
{
    bool enabled = false;
};

#endif // HCURSORCHANNELSTATE_H
