#ifndef TRACEBUILDER_H
#define TRACEBUILDER_H

#include "scopeframe.h"

#include <QVector>
#include <array>

// Turns a frame into plot coordinates: x runs two units per sample, y from 0
// to the plot's range with each analog channel's zero line at the centre
// plus its position, a raw unit being 1.5625 plot units; each logic channel
// is drawn from its own base line up.
namespace TraceBuilder {

constexpr int logicChannels = 8;
// Plot units of one raw analogue unit on the y axis.
constexpr double plotUnitsPerRaw = 2 * 0.78125;

struct Settings
{
    int plotYRange = 1280;
    int ch1Position = 0;    // CH1 position slider
    int ch2Position = 0;    // CH2 position slider
    int logicPosition = 0;  // logic position slider
    int logicSize = 0;      // logic size slider: trace height above 10
    bool rollMode = false;  // roll mode checked and enabled: blocks are rings
    bool xyMode = false;    // CH2 against CH1
    // XY mode: the key of CH1's raw sample s is xyZeroKey + s * xyKeysPerRaw.
    double xyZeroKey = 255;
    double xyKeysPerRaw = 1;
};

struct Traces
{
    bool valid = false; // false: the header describes no readable frame, nothing to draw
    frameconfig_t header{};
    int sampleCount = 0;
    int ringStart = 0;
    bool hasCh1 = false;
    bool hasCh2 = false;
    bool hasLogic = false;

    // x of every trace: 2k, or in XY mode CH1's raw sample mapped (empty
    // without a CH1 block, as there is no X to draw against).
    QVector<double> keys;
    QVector<double> ch1; // empty when the block is absent
    QVector<double> ch2;
    std::array<QVector<double>, logicChannels> logicLevels;    // empty without the logic block
    std::array<QVector<double>, logicChannels> logicBaselines; // base line - 1

    // Working records: the defaults with the raw extremes of the block.
    channela_t ch1Record = ScopeFrame::defaultRecord();
    channela_t ch2Record = ScopeFrame::defaultRecord();
    // Extremes of the plotted y values (automatic horizontal cursors).
    double ch1MinY = 0, ch1MaxY = 0, ch2MinY = 0, ch2MaxY = 0;
};

// y of the bottom of a logic channel's trace.
int logicBaseLine(int bit, int logicSize, int logicPosition, int plotYRange);

// Fills `traces` from `frame`, which holds `size` readable bytes (the frame
// cache). Vectors keep their storage from the previous frame: building into
// the same Traces every frame spares allocating and freeing some 600 kB per
// frame at the largest sizes. A header that does not describe a frame inside
// the bytes gives invalid, empty traces; returns traces->valid.
bool build(const unsigned char *frame, int size, const Settings &settings, Traces *traces);

// Time cursor positions (plot x) at a record's first and second crossing;
// false when the record found no period. In roll mode the crossings are
// block indexes and are moved to where the ring puts them on screen. A pair
// reaching outside [rangeMin, rangeMax] (a crossing in the first or last
// samples) moves into it whole, so it still spans the record's period; only
// a pair wider than the range is left for each cursor to be held alone.
bool crossingCursorPositions(const channela_t &record, int ringStart, int sampleCount, int rangeMin,
                             int rangeMax, int *positionA, int *positionB);

} // namespace TraceBuilder

#endif // TRACEBUILDER_H
