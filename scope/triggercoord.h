#ifndef TRIGGERCOORD_H
#define TRIGGERCOORD_H

// Trigger settings of one source group (CH1, CH2, logic/EXT/Schmitt); kept
// per group so that switching sources restores each group's own values.
struct TriggerCoord
{
    int post = 0;          // samples from the start of the frame
    int level = 0;         // raw sample units
    int win1Level = 0;     // window trigger, lower level
    int win2Level = 0;     // window trigger, upper level
    int channelOffset = 0; // the channel's position slider value
    int triggerBit = 0;    // logic bit used as source
    int channelSize = 0;   // height of one logic trace
};

#endif // TRIGGERCOORD_H
