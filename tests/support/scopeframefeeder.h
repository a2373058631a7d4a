#pragma once
#include "scopeframe.h"

#include <QByteArray>
#include <functional>
#include <optional>

class VeskInterface;

// Oscilloscope frames made to order, and the window fed with them as the
// transport would, without an instrument.
namespace ScopeFrameFeeder
{
using SampleFunction = std::function<int(int)>;

struct FrameRecipe
{
    bool ch1 = true;
    bool ch2 = false;
    bool logic = false;
    int blocks = 1;
    int startIndex = 0;
    int timeBase = 7;
    int frameNumber = 0;
    SampleFunction ch1Sample = [](int i) { return (i % 64) - 32; };
    SampleFunction ch2Sample = [](int i) { return 40 - (i % 80); };
    SampleFunction logicByte = [](int i) { return i & 0xFF; };
    // Measurement records of the analog channels; all zero when not given.
    std::optional<channela_t> ch1Record;
    std::optional<channela_t> ch2Record;
};

QByteArray makeFrame(const FrameRecipe &recipe);
// Stores the oscilloscope buffer a window made next restores, so it starts
// with frames of `blocks` blocks and the trigger limits they give.
void storeBlocks(int blocks);
// The form as a frame of this layout needs it, with every logic bit drawn
// and both analog zero lines at the centre.
void configure(VeskInterface &w, const FrameRecipe &recipe);
// Hands a read to the window as the transport does; `bytes` must outlive the tick.
void deliver(VeskInterface &w, const QByteArray &bytes);
// One turn of the 4 ms data timer.
void tick(VeskInterface &w);
}
