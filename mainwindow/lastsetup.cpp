// The last instrument setup, saved at shutdown and restored at start-up.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "multimeterdisplayoptions.h"
#include "pythonconsoleoptions.h"
#include "scopeframecheck.h"
#include "scopeoptions.h"

#include <QSettings>

#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace {

// One stored key: how the control's state is written (an invalid variant
// writes nothing) and how a stored value, or the key's constant default, is
// given back to the control. Every value handed back lies within the
// control's range, so no handler ever sees an index or value its control
// cannot show.
struct SetupKey
{
    QString name;
    QVariant defaultValue;
    std::function<QVariant()> save;
    std::function<void(const QVariant &)> load;
};

struct SetupGroup
{
    QString path;
    std::vector<SetupKey> keys;
};

using Choices = std::vector<std::pair<QString, QAbstractButton *>>;

void logOddValue(const QString &key, const QVariant &value)
{
    VeskInterface::logToFile(QStringLiteral("Saved setting %1 holds \"%2\", which its control cannot take")
                                 .arg(key, value.toString()),
                             2);
}

SetupKey number(const QString &name, int defaultValue, QAbstractSlider *slider)
{
    return {name, defaultValue, [slider] { return QVariant(slider->value()); },
            [slider](const QVariant &v) { slider->setValue(v.toInt()); }};
}

// Stored as a whole number; a fraction left by hand is cut toward zero.
SetupKey number(const QString &name, int defaultValue, QSpinBox *spin)
{
    return {name, defaultValue, [spin] { return QVariant(spin->value()); },
            [spin](const QVariant &v) { spin->setValue(int(std::trunc(qBound(-2e9, v.toDouble(), 2e9)))); }};
}

SetupKey real(const QString &name, double defaultValue, QDoubleSpinBox *spin)
{
    return {name, defaultValue, [spin] { return QVariant(spin->value()); },
            [name, spin](const QVariant &v) {
                const double value = v.toDouble();
                if (std::isfinite(value))
                    spin->setValue(value);
                else
                    logOddValue(name, v);
            }};
}

// A slider stored in user units, unrounded, so every position comes back
// exactly; values rounded by hand (two decimals) land on the nearest one.
SetupKey scaled(const QString &name, double defaultValue, QAbstractSlider *slider, double perUnit)
{
    return {name, defaultValue, [slider, perUnit] { return QVariant(slider->value() / perUnit); },
            [name, slider, perUnit](const QVariant &v) {
                const double value = v.toDouble();
                if (std::isfinite(value))
                    slider->setValue(qRound(qBound(-1e9, value * perUnit, 1e9)));
                else
                    logOddValue(name, v);
            }};
}

SetupKey flag(const QString &name, bool defaultValue, QAbstractButton *box)
{
    return {name, defaultValue, [box] { return QVariant(box->isChecked()); },
            [box](const QVariant &v) { box->setChecked(v.toBool()); }};
}

SetupKey flag(const QString &name, bool defaultValue, CollapsiblePanel *panel)
{
    return {name, defaultValue, [panel] { return QVariant(panel->isChecked()); },
            [panel](const QVariant &v) { panel->setChecked(v.toBool()); }};
}

SetupKey index(const QString &name, int defaultValue, QComboBox *combo)
{
    return {name, defaultValue, [combo] { return QVariant(combo->currentIndex()); },
            [combo](const QVariant &v) { combo->setCurrentIndex(qBound(0, v.toInt(), combo->count() - 1)); }};
}

SetupKey index(const QString &name, int defaultValue, QTabWidget *tabs)
{
    return {name, defaultValue, [tabs] { return QVariant(tabs->currentIndex()); },
            [tabs](const QVariant &v) { tabs->setCurrentIndex(qBound(0, v.toInt(), tabs->count() - 1)); }};
}

// The text of the first checked button; nothing when none is, so an earlier
// save's text stays. An unknown text changes nothing.
SetupKey choice(const QString &name, const QString &defaultValue, const Choices &buttons)
{
    return {name, defaultValue,
            [buttons] {
                for (const auto &entry : buttons) {
                    if (entry.second->isChecked())
                        return QVariant(entry.first);
                }
                return QVariant();
            },
            [buttons](const QVariant &v) {
                const QString text = v.toString();
                for (const auto &entry : buttons) {
                    if (entry.first == text) {
                        entry.second->setChecked(true);
                        return;
                    }
                }
            }};
}

// A combo box's index stored as the text at that position of `texts`.
SetupKey choice(const QString &name, const QString &defaultValue, const QStringList &texts, QComboBox *combo)
{
    return {name, defaultValue,
            [texts, combo] {
                const int at = combo->currentIndex();
                return at >= 0 && at < texts.size() ? QVariant(texts.at(at)) : QVariant();
            },
            [texts, combo](const QVariant &v) {
                const int at = texts.indexOf(v.toString());
                if (at >= 0 && at < combo->count())
                    combo->setCurrentIndex(at);
            }};
}

// One decimal digit of the generator frequency, at most `largest`; the
// frequency is computed from these texts, so anything else takes the default.
SetupKey digit(const QString &name, char defaultDigit, char largest, QLabel *label)
{
    const QString fallback(QLatin1Char{defaultDigit});
    return {name, fallback, [label] { return QVariant(label->text()); },
            [name, fallback, largest, label](const QVariant &v) {
                const QString text = v.toString();
                if (text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char(largest)) {
                    label->setText(text);
                } else {
                    logOddValue(name, v);
                    label->setText(fallback);
                }
            }};
}

SetupKey member(const QString &name, int defaultValue, int *field, int low, int high)
{
    return {name, defaultValue, [field] { return QVariant(*field); },
            [field, low, high](const QVariant &v) { *field = qBound(low, v.toInt(), high); }};
}

Choices sourceButtons(const std::vector<QAbstractButton *> &schmittExtAndBits7To0)
{
    static const QStringList texts = {QStringLiteral("Schmitt"), QStringLiteral("EXT"), QStringLiteral("7"),
                                      QStringLiteral("6"), QStringLiteral("5"), QStringLiteral("4"),
                                      QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1"),
                                      QStringLiteral("0")};
    Choices buttons;
    for (int i = 0; i < texts.size(); ++i)
        buttons.emplace_back(texts.at(i), schmittExtAndBits7To0.at(size_t(i)));
    return buttons;
}

// Groups and keys in their stored order. Defaults are constants, never the
// controls' current values.
std::vector<SetupGroup> setupGroups(VeskInterface *w)
{
    Ui_VeskInterface *ui = w->ui;
    const auto channel = [](int position, QSlider *gain, QSlider *positionSlider, QCheckBox *trace, QCheckBox *ac,
                            QCheckBox *average, QCheckBox *invert, QCheckBox *math, QRadioButton *sub,
                            QRadioButton *multiply) {
        return std::vector<SetupKey>{
            number(QStringLiteral("Gain"), 0, gain),
            number(QStringLiteral("Position"), position, positionSlider),
            flag(QStringLiteral("Trace"), true, trace),
            flag(QStringLiteral("AC"), false, ac),
            flag(QStringLiteral("Average"), false, average),
            flag(QStringLiteral("Invert"), false, invert),
            flag(QStringLiteral("MathEn"), false, math),
            choice(QStringLiteral("Math"), QStringLiteral("Multiply"),
                   {{QStringLiteral("Sub"), sub}, {QStringLiteral("Multiply"), multiply}})};
    };

    std::vector<SetupKey> logic = {
        number(QStringLiteral("Size"), 0, ui->chdSizeSlider),
        number(QStringLiteral("Position"), -96, ui->chdPositionSlider),
        flag(QStringLiteral("Trace"), false, ui->checkBoxCHDTrace),
        flag(QStringLiteral("Invert"), false, ui->checkBoxCHDInvert)};
    QCheckBox *const bits[8] = {ui->checkBoxCHD0, ui->checkBoxCHD1, ui->checkBoxCHD2, ui->checkBoxCHD3,
                                ui->checkBoxCHD4, ui->checkBoxCHD5, ui->checkBoxCHD6, ui->checkBoxCHD7};
    for (int bit = 0; bit < 8; ++bit)
        logic.push_back(flag(QStringLiteral("CHD%1En").arg(bit), true, bits[bit]));

    std::vector<SetupGroup> groups = {
        {QStringLiteral("CH1"),
         channel(128, ui->ch1GainSlider, ui->ch1PositionSlider, ui->checkBoxCH1Trace, ui->checkBoxCH1ACDC,
                 ui->checkBoxCH1Average, ui->checkBoxCH1Invert, ui->checkBoxCH1Math, ui->radioButtonCH1Sub,
                 ui->radioButtonCH1Multiply)},
        {QStringLiteral("CH2"),
         channel(32, ui->ch2GainSlider, ui->ch2PositionSlider, ui->checkBoxCH2Trace, ui->checkBoxCH2ACDC,
                 ui->checkBoxCH2Average, ui->checkBoxCH2Invert, ui->checkBoxCH2Math, ui->radioButtonCH2Sub,
                 ui->radioButtonCH2Multiply)},
        {QStringLiteral("LOGIC"), logic},
        {QStringLiteral("FFT"),
         {number(QStringLiteral("Position"), 0, ui->verticalSliderFFTPosition),
          flag(QStringLiteral("Trace"), false, ui->checkBoxFFTTrace),
          flag(QStringLiteral("IQFFT"), false, ui->checkBoxIQFFT),
          flag(QStringLiteral("LogY"), false, ui->checkBoxLogY),
          flag(QStringLiteral("CH1"), true, ui->checkBoxFFTCH1),
          flag(QStringLiteral("CH2"), false, ui->checkBoxFFTCH2),
          choice(QStringLiteral("Window"), QStringLiteral("Rect"),
                 {{QStringLiteral("Rect"), ui->radioButtonRect},
                  {QStringLiteral("Hamming"), ui->radioButtonHamming},
                  {QStringLiteral("Hann"), ui->radioButtonHann},
                  {QStringLiteral("Blackman"), ui->radioButtonBlackman}})}},
        {QStringLiteral("Display"),
         {number(QStringLiteral("Intensity"), 0, ui->intensitySlider),
          number(QStringLiteral("Decay"), 0, ui->decaySlider),
          flag(QStringLiteral("Vectors"), true, ui->checkBoxVectors),
          flag(QStringLiteral("Persistence"), false, ui->checkBoxPersistence),
          flag(QStringLiteral("MeterOn"), true, ui->checkBoxmeterondev)}},
        {QStringLiteral("Cursors"),
         {flag(QStringLiteral("Vertical"), true, ui->checkBoxCursorVertical),
          flag(QStringLiteral("Horizontal"), true, ui->checkBoxScopeCursorsHorizontal),
          choice(QStringLiteral("HType"), QStringLiteral("Automatic"),
                 {QStringLiteral("Track"), QStringLiteral("Automatic"), QStringLiteral("Manual")},
                 ui->comboBoxScopeCursorsHorizontalType),
          choice(QStringLiteral("HChannel"), QStringLiteral("CH1"), {QStringLiteral("CH1"), QStringLiteral("CH2")},
                 ui->comboBoxScopeCursorsChannel)}},
        {QStringLiteral("Trigger"),
         {index(QStringLiteral("Source"), 0, ui->comboBoxTrigSource),
          real(QStringLiteral("TAuto"), 0.16384, ui->doubleSpinBoxTrigAuto),
          real(QStringLiteral("THold"), 10, ui->doubleSpinBoxTrigHold),
          choice(QStringLiteral("Type"), QStringLiteral("Free"),
                 {{QStringLiteral("Free"), ui->radioButtonFree},
                  {QStringLiteral("Triger"), ui->radioButtonNormal},
                  {QStringLiteral("Auto"), ui->radioButtonAuto},
                  {QStringLiteral("Single"), ui->radioButtonSingle}}),
          choice(QStringLiteral("Mode"), QStringLiteral("Rising"),
                 {{QStringLiteral("Rising"), ui->radioButtonRisingEdge},
                  {QStringLiteral("Falling"), ui->radioButtonFallingEdge},
                  {QStringLiteral("Dual"), ui->radioButtonDual},
                  {QStringLiteral("Positive"), ui->radioButtonPositiveSlope},
                  {QStringLiteral("Negative"), ui->radioButtonNegativeSlope},
                  {QStringLiteral("Window"), ui->radioButtonWindow}})}}};

    // The trigger records: "CH0Coord" is channel 1, "CH2Coord" the logic channel.
    for (int record = 0; record < 3; ++record) {
        TriggerCoord &coord = w->triggerCoords[record];
        groups.push_back(
            {QStringLiteral("Trigger/CH%1Coord").arg(record),
             {member(QStringLiteral("TLevel"), -4, &coord.level, w->triggerLevelMin, w->triggerLevelMax),
              member(QStringLiteral("TWin1Level"), 96, &coord.win1Level, w->triggerWinLevelMin, w->triggerWinLevelMax),
              member(QStringLiteral("TWin2Level"), -96, &coord.win2Level, w->triggerWinLevelMin, w->triggerWinLevelMax),
              member(QStringLiteral("TPost"), 64, &coord.post, w->triggerPostMin, w->triggerPostMax)}});
    }

    std::vector<SetupKey> awg = {
        flag(QStringLiteral("AWGEnable"), true, ui->checkBoxAWBEnable),
        choice(QStringLiteral("Waveform"), QStringLiteral("Sine"),
               {{QStringLiteral("Sine"), ui->radioButtonSine},
                {QStringLiteral("Triangle"), ui->radioButtonTriangle},
                {QStringLiteral("Expo"), ui->radioButtonExpo},
                {QStringLiteral("Square"), ui->radioButtonSquare},
                {QStringLiteral("WhiteNoise"), ui->radioButtonWhiteNoise},
                {QStringLiteral("PinkNoise"), ui->radioButtonPinkNoise},
                {QStringLiteral("Constant"), ui->radioButtonConstant},
                {QStringLiteral("Custom"), ui->radioButtonCustom}}),
        number(QStringLiteral("ConstantValue"), 0, ui->spinBoxConstant)};
    // One kilohertz by default; the generator goes no higher than 125 kHz.
    awg.push_back(digit(QStringLiteral("FDigit100000"), '0', '1', ui->labelFrequencyDigit100000));
    awg.push_back(digit(QStringLiteral("FDigit10000"), '0', '9', ui->labelFrequencyDigit10000));
    awg.push_back(digit(QStringLiteral("FDigit1000"), '1', '9', ui->labelFrequencyDigit1000));
    awg.push_back(digit(QStringLiteral("FDigit100"), '0', '9', ui->labelFrequencyDigit100));
    awg.push_back(digit(QStringLiteral("FDigit10"), '0', '9', ui->labelFrequencyDigit10));
    awg.push_back(digit(QStringLiteral("FDigit1"), '0', '9', ui->labelFrequencyDigit1));
    awg.push_back(digit(QStringLiteral("FDigit01"), '0', '9', ui->labelFrequencyDigit01));
    awg.push_back(digit(QStringLiteral("FDigit001"), '0', '9', ui->labelFrequencyDigit001));
    // The spin boxes show volts and percent; the defaults are the
    // instrument's amplitude 96 and duty 128 in those units.
    awg.push_back(scaled(QStringLiteral("Amplitude"), 96 / WAVE_AMPLITUDE_PER_VOLT, ui->amplitudeSlider,
                         WAVE_AMPLITUDE_PER_VOLT));
    awg.push_back(real(QStringLiteral("Duty"), 128 / WAVE_DUTY_PER_PERCENT, ui->doubleSpinBoxDuty));
    awg.push_back(real(QStringLiteral("Offset"), 0, ui->doubleSpinBoxOffset));

    const std::vector<SetupGroup> rest = {
        {QStringLiteral("Sampling"),
         {number(QStringLiteral("Value"), 6, ui->samplingSlider),
          flag(QStringLiteral("XY"), false, ui->xyMode),
          flag(QStringLiteral("Roll"), false, ui->rollMode),
          flag(QStringLiteral("Elastic"), false, ui->elasticMode)}},
        {QStringLiteral("Meter"), {index(QStringLiteral("Mode"), 0, ui->mmTabWidget)}},
        {QStringLiteral("MeterFC"),
         {choice(QStringLiteral("Source"), QStringLiteral("EXT"),
                 sourceButtons({ui->fcR11, ui->fcR10, ui->fcR7, ui->fcR6, ui->fcR5, ui->fcR4, ui->fcR3, ui->fcR2,
                                ui->fcR1, ui->fcR0})),
          choice(QStringLiteral("Gate"), QStringLiteral("EXT"),
                 sourceButtons({ui->fcR11_2, ui->fcR10_2, ui->fcR7_2, ui->fcR6_2, ui->fcR5_2, ui->fcR4_2,
                                ui->fcR3_2, ui->fcR2_2, ui->fcR1_2, ui->fcR0_2})),
          choice(QStringLiteral("Type"), QStringLiteral("Frequency"),
                 {{QStringLiteral("Frequency"), ui->radioFreq},
                  {QStringLiteral("CountPulses"), ui->radioPulse},
                  {QStringLiteral("Reriod"), ui->radioPeriod},
                  {QStringLiteral("ExternalGate"), ui->radioExtGate}}),
          flag(QStringLiteral("FastMode"), false, ui->checkBoxFreqFastMode),
          choice(QStringLiteral("GateType"), QStringLiteral("Pulse"),
                 {{QStringLiteral("Period"), ui->radioFrequencyGatePeriod},
                  {QStringLiteral("Pulse"), ui->radioFrequencyGatePulse}})}},
        {QStringLiteral("AWG"), awg},
        {QStringLiteral("AWGSweep"),
         {number(QStringLiteral("Speed"), 64, ui->sweepSpeedSlider),
          flag(QStringLiteral("Active"), false, ui->collapsiblePanelAWGSweep),
          choice(QStringLiteral("Type"), QStringLiteral("Duty"),
                 {{QStringLiteral("Frequency"), ui->radioButtonSweepFrequency},
                  {QStringLiteral("Amplitude"), ui->radioButtonSweepAmplitude},
                  {QStringLiteral("Duty"), ui->radioButtonSweepDutyCycle},
                  {QStringLiteral("Offset"), ui->radioButtonSweepOffset}}),
          choice(QStringLiteral("Direction"), QStringLiteral("PingPong"),
                 {{QStringLiteral("Rising"), ui->radioButtonSweepRising},
                  {QStringLiteral("PingPong"), ui->radioButtonSweepPingPong},
                  {QStringLiteral("Falling"), ui->radioButtonSweepFalling}}),
          number(QStringLiteral("Start"), 64, ui->sweepStartFreqSlider),
          number(QStringLiteral("End"), 192, ui->sweepEndFreqSlider)}},
        {QStringLiteral("Sniffer"),
         {choice(QStringLiteral("Mode"), QStringLiteral("Single"),
                 {{QStringLiteral("Normal"), ui->radioButtonSniffNormal},
                  {QStringLiteral("Single"), ui->radioButtonSniffSingle}}),
          flag(QStringLiteral("Circular"), false, ui->checkBoxCircular),
          flag(QStringLiteral("ASCII"), false, ui->checkBoxASCII),
          index(QStringLiteral("Protocol"), 0, ui->protocolTabWidget)}},
        {QStringLiteral("SnifferSPI"),
         {index(QStringLiteral("CPOL"), 0, ui->comboBoxCPOL),
          index(QStringLiteral("CPHA"), 0, ui->comboBoxCPHA),
          index(QStringLiteral("SSINV"), 0, ui->comboBoxSniffSSINV)}},
        {QStringLiteral("SnifferUART"),
         {index(QStringLiteral("Baud"), 3, ui->comboBoxBaud),
          index(QStringLiteral("Parity"), 0, ui->comboBoxParity),
          index(QStringLiteral("Stop"), 0, ui->comboBoxStopBits),
          index(QStringLiteral("Data"), 3, ui->comboBoxUARTData),
          flag(QStringLiteral("Synchro"), false, ui->checkBoxSynchro)}},
        {QStringLiteral("SnifferParallel"),
         {index(QStringLiteral("Strobe"), 0, ui->comboBoxSniffParallelStrobe),
          flag(QStringLiteral("Invert"), false, ui->checkBoxSniffParallelInputInvert)}},
        {QStringLiteral("Buffers"),
         {index(QStringLiteral("DAC"), 0, ui->comboBoxDACBuffer),
          index(QStringLiteral("ADC"), 0, ui->comboBoxADCBuffer)}},
        // A top-level key, not one of "Buffers".
        {QString(), {index(QStringLiteral("CurrentScopeTab"), 0, ui->tabWidget1)}}};
    groups.insert(groups.end(), rest.begin(), rest.end());
    return groups;
}

// The top level has no group to enter.
void enterGroup(QSettings &settings, const QString &path)
{
    if (!path.isEmpty())
        settings.beginGroup(path);
}

void leaveGroup(QSettings &settings, const QString &path)
{
    if (!path.isEmpty())
        settings.endGroup();
}

} // namespace

void VeskInterface::deviceSettingsSave()
{
    pythonConsoleOptions->writeToSettings(pythonConsoleOptions->getName());
    scopeOptions->writeToSettings(scopeOptions->getName());
    multimeterDisplayOptions->writeToSettings(multimeterDisplayOptions->getName());
    QSettings settings;
    logToFile(QStringLiteral("Save device settings"), 0);
    for (const SetupGroup &group : setupGroups(this)) {
        enterGroup(settings, group.path);
        for (const SetupKey &key : group.keys) {
            const QVariant value = key.save();
            if (value.isValid())
                settings.setValue(key.name, value);
        }
        leaveGroup(settings, group.path);
    }
    settings.sync();
}

void VeskInterface::deviceSettingsLoad()
{
    pythonConsoleOptions->readFromSettings(pythonConsoleOptions->getName());
    // Before the instrument groups: their handlers may place the logic labels.
    scopeOptions->readFromSettings(scopeOptions->getName());
    multimeterDisplayOptions->readFromSettings(multimeterDisplayOptions->getName());
    QSettings settings;
    logToFile(QStringLiteral("Read saved device settings"), 0);
    // The trigger records are bounded by the frame of the stored buffer, and
    // the first configuration block sends a post for it: that frame comes first.
    const int adcIndex = settings.value(QStringLiteral("Buffers/ADC"), 0).toInt();
    scopeSetSizeX(ScopeFrameCheck::adcBlocks(qBound(0, adcIndex, ui->comboBoxADCBuffer->count() - 1)));
    // Signals stay live: each control's own handler follows its restored value.
    for (const SetupGroup &group : setupGroups(this)) {
        enterGroup(settings, group.path);
        for (const SetupKey &key : group.keys)
            key.load(settings.value(key.name, key.defaultValue));
        leaveGroup(settings, group.path);
    }
    scopeInitDatacache();
}
