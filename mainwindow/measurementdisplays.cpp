#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "multimeterdisplay.h"

#include <optional>

// Configuration of the form's measurement displays, one table per page in
// the order they are set up. Each table's loop makes the calls in the
// order that page needs; a value a row leaves out keeps the display's own
// default.

namespace {

using DisplayMember = MultimeterDisplay *Ui_VeskInterface::*;

struct Range
{
    double min;
    double max;
};

struct Accuracy
{
    double absolute;
    const char *relative;
};

// CH1 and CH2 measurement pages of the oscilloscope: small digits, not
// joined to the shared options.
struct ScopeRow
{
    DisplayMember display;
    const char *unit;
    const char *label;
    int precision;
    std::optional<int> unitPower;
};

const ScopeRow scopeRows[] = {
    {&Ui_VeskInterface::multimeterdisplayVppCh1, "V", "Vpp", -2, {}},
    {&Ui_VeskInterface::multimeterdisplayMaxCh1, "V", "Max", -2, {}},
    {&Ui_VeskInterface::multimeterdisplayMinCh1, "V", "Min", -2, {}},
    {&Ui_VeskInterface::multimeterdisplayRMSCh1, "V", "RMS", -2, {}},
    {&Ui_VeskInterface::multimeterdisplayAverCh1, "V", "Average", -2, {}},
    {&Ui_VeskInterface::multimeterdisplayFreqCh1, "Hz", "Frequency", -1, 3},
    {&Ui_VeskInterface::multimeterdisplayVppCh2, "V", "Vpp", -2, {}},
    {&Ui_VeskInterface::multimeterdisplayMaxCh2, "V", "Max", -2, {}},
    {&Ui_VeskInterface::multimeterdisplayMinCh2, "V", "Min", -2, {}},
    {&Ui_VeskInterface::multimeterdisplayRMSCh2, "V", "RMS", -2, {}},
    {&Ui_VeskInterface::multimeterdisplayAverCh2, "V", "Average", -2, {}},
    {&Ui_VeskInterface::multimeterdisplayFreqCh2, "Hz", "Frequency", -1, 3},
};

// Frequency counter page of the meter: all with context menu and buttons.
struct CounterRow
{
    DisplayMember display;
    const char *unit;
    const char *label;
    std::optional<int> unitPower;
    std::optional<int> precision;
    std::optional<Accuracy> accuracy;
    std::optional<Range> range;
    bool extremes;
    bool bargraph;
};

const CounterRow counterRows[] = {
    {&Ui_VeskInterface::multimeterdisplayFrequencyValue, "Hz", "Frequency", {}, -2, Accuracy{1, "50ppm"}, {},
     true, false},
    {&Ui_VeskInterface::multimeterdisplayDutyValue, "%", "Duty", {}, -2, Accuracy{1.25e-7, "50ppm"},
     Range{0, 100}, true, true},
    {&Ui_VeskInterface::multimeterdisplayDutyValue_s, "s", "Duty", -6, -8, Accuracy{6.25e-8, "50ppm"}, {}, true,
     false},
    {&Ui_VeskInterface::multimeterdisplayPeriodValue, "s", "Period", -6, -8, Accuracy{6.25e-8, "50ppm"}, {}, true,
     false},
    {&Ui_VeskInterface::multimeterdisplayCounter, "", "Counter", 3, {}, {}, {}, false, false},
};

// DC page of the meter: both channels alike.
const DisplayMember dcDisplays[] = {
    &Ui_VeskInterface::multimeterdisplayCh1DC,
    &Ui_VeskInterface::multimeterdisplayCh2DC,
};

// AC page of the meter: range-checked rows also get the buttons.
struct AcRow
{
    DisplayMember display;
    bool extremes;
    const char *unit;
    const char *label;
    std::optional<int> unitPower;
    std::optional<int> precision;
    Range range;
    bool checkedWithButtons;
    Accuracy accuracy;
};

const AcRow acRows[] = {
    {&Ui_VeskInterface::multimeterdisplayCh1Vpp, true, "V", "Vpp", {}, -2, {0, 48}, true, {0, "1%"}},
    {&Ui_VeskInterface::multimeterdisplayCh1Max, true, "V", "Max", {}, -2, {-24, 24}, true, {0, "1%"}},
    {&Ui_VeskInterface::multimeterdisplayCh1Min, true, "V", "Min", {}, -2, {-24, 24}, true, {0, "1%"}},
    {&Ui_VeskInterface::multimeterdisplayCh1RMS, false, "V", "RMS", {}, -3, {0, 24}, false, {0, "1%"}},
    {&Ui_VeskInterface::multimeterdisplayCh1Average, false, "V", "Average", {}, -3, {-24, 24}, false, {0, "1%"}},
    {&Ui_VeskInterface::multimeterdisplayCh1Frequency, true, "Hz", "Frequency", 3, {}, {0, 100000}, true,
     {1, "50ppm"}},
    {&Ui_VeskInterface::multimeterdisplayCh2Vpp, true, "V", "Vpp", {}, -2, {0, 48}, true, {0, "1%"}},
    {&Ui_VeskInterface::multimeterdisplayCh2Max, true, "V", "Max", {}, -2, {-24, 24}, true, {0, "1%"}},
    {&Ui_VeskInterface::multimeterdisplayCh2Min, true, "V", "Min", {}, -2, {-24, 24}, true, {0, "1%"}},
    {&Ui_VeskInterface::multimeterdisplayCh2RMS, false, "V", "RMS", {}, -3, {0, 24}, false, {0, "1%"}},
    {&Ui_VeskInterface::multimeterdisplayCh2Average, false, "V", "Average", {}, -3, {-24, 24}, false, {0, "1%"}},
    {&Ui_VeskInterface::multimeterdisplayCh2Frequency, true, "Hz", "Frequency", 3, {}, {0, 100000}, true,
     {1, "50ppm"}},
};

void showAccuracy(MultimeterDisplay *display, const Accuracy &accuracy)
{
    display->setAccuracy(accuracy.absolute, QString::fromLatin1(accuracy.relative));
    display->setAccuracyVisible(true);
}

} // namespace

void VeskInterface::setupMeasurementDisplays()
{
    // The meter pages' displays follow the shared options and open the
    // settings at their page.
    auto join = [this](MultimeterDisplay *display) {
        display->connectOptions(multimeterDisplayOptions, this, SLOT(callSettings(QString)),
                                SIGNAL(applyConfigurationRequest()));
    };

    for (const ScopeRow &row : scopeRows) {
        MultimeterDisplay *display = ui->*row.display;
        display->setValueFontSize(9);
        display->setUnit(QString::fromLatin1(row.unit));
        display->setLabel(QString::fromLatin1(row.label));
        display->setPrecision(row.precision);
        if (row.unitPower)
            display->setUnitPower(*row.unitPower);
    }

    for (const CounterRow &row : counterRows) {
        MultimeterDisplay *display = ui->*row.display;
        join(display);
        display->setValueFontSize(20);
        display->setLabelFontSize(12);
        display->setUnit(QString::fromLatin1(row.unit));
        display->setLabel(QString::fromLatin1(row.label));
        if (row.unitPower)
            display->setUnitPower(*row.unitPower);
        if (row.precision)
            display->setPrecision(*row.precision);
        display->enableContexMenu(true);
        display->setButtonsVisible(true);
        if (row.accuracy)
            showAccuracy(display, *row.accuracy);
        if (row.range)
            display->setRange(row.range->min, row.range->max);
        if (row.extremes)
            display->enableExtreme(true);
        if (row.bargraph)
            display->enableBargraph(true);
    }

    for (DisplayMember member : dcDisplays) {
        MultimeterDisplay *display = ui->*member;
        join(display);
        display->setValueFontSize(22);
        display->setLabelFontSize(14);
        display->setUnit(QStringLiteral("V"));
        display->setLabel(QString());
        display->setPrecision(-3);
        display->enableExtreme(true);
        display->setRange(-24, 24);
        display->enableCheckRange(true);
        display->setButtonsVisible(true);
        showAccuracy(display, Accuracy{0, "1%"});
        display->enableContexMenu(true);
        display->enableBargraph(true);
    }

    for (const AcRow &row : acRows) {
        MultimeterDisplay *display = ui->*row.display;
        join(display);
        display->setValueFontSize(18);
        display->setLabelFontSize(12);
        if (row.extremes)
            display->enableExtreme(true);
        display->setUnit(QString::fromLatin1(row.unit));
        display->setLabel(QString::fromLatin1(row.label));
        if (row.unitPower)
            display->setUnitPower(*row.unitPower);
        if (row.precision)
            display->setPrecision(*row.precision);
        display->setRange(row.range.min, row.range.max);
        if (row.checkedWithButtons) {
            display->enableCheckRange(true);
            display->setButtonsVisible(true);
        }
        showAccuracy(display, row.accuracy);
        display->enableContexMenu(true);
    }

    // The generator's read-back of its effective frequency.
    MultimeterDisplay *generator = ui->multimeterdisplayAWGFrequency;
    generator->setValueFontSize(11);
    generator->setUnit(QStringLiteral("Hz"));
    generator->setLabel(QStringLiteral("Effective frequency"));
    generator->setPrecision(-2);
    generator->setStretch(40, 50, 15, 10);
}
