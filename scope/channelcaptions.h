#ifndef CHANNELCAPTIONS_H
#define CHANNELCAPTIONS_H

#include <QString>

// Texts and marks of the analog channel controls, computed from gain indexes
// and channel control bytes alone.
namespace ChannelCaptions {

// Label under the plot: the channel (with a minus when inverted), the math
// with the other channel when on, and the volt/div caption of `gain`, as in
// "-CH1 + CH2 = 0.8V/div". `channel` is 1 or 2; the control bytes are the
// channel's own and the other channel's.
QString channelLabel(int channel, int ownControl, int otherControl, int gain);

// Title of the channel's meter group boxes, as in "Channel 1  Gain (±24V), AC/DC ".
QString boxTitle(int channel, int gain, bool ac);

// Which of the two ADC range buttons is lit: ±24 V at gain 0, ±2.4 V at gain
// 3, neither for other gains or with AC coupling.
struct RangeMarks
{
    bool range24V = false;
    bool range2V4 = false;
};
RangeMarks rangeMarks(int gain, bool ac);

} // namespace ChannelCaptions

#endif // CHANNELCAPTIONS_H
