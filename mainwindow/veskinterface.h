#ifndef VESKINTERFACE_H
#define VESKINTERFACE_H

#include "customtheme.h"
#include "fftwindow.h"
#include "framehistory.h"
#include "instrumentcommands.h"
#include "libusbdevice.h"
#include "persistenceimage.h"
#include "hcursorchannelstate.h"
#include "recordreader.h"
#include "replotpacer.h"
#include "scopeframe.h"
#include "scripttarget.h"
#include "snifferringtracker.h"
#include "tracebuilder.h"
#include "tracereferences.h"
#include "wavetext.h"
#include "triggercoord.h"

#include <QBrush>
#include <QColor>
#include <QFile>
#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QPen>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QVariant>
#include <QVector>
#include <memory>

class About;
class GlobalOptions;
class MeterReply;
class MultimeterDisplayOptions;
class PythonConsole;
class PythonConsoleOptions;
class QCPAbstractItem;
class QCPGraph;
class QCPItemLine;
class QCPItemPixmap;
class QCPItemStraightLine;
class QCPItemText;
class QCPItemTracer;
class QCPRange;
class QCheckBox;
class QComboBox;
class QCustomPlot;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QMouseEvent;
class QPlainTextEdit;
class QSlider;
class QTextStream;
class QToolButton;
class ScopeOptions;
class Settings;
class Ui_VeskInterface;

// The program's one main window. It owns the form, the transport, the two
// timers that drive acquisition display and meter polling, the options of
// every component and the state the features share; each feature's members
// live in a source file of their own.
class VeskInterface : public QMainWindow, public ScriptTarget
{
    Q_OBJECT

public:
    explicit VeskInterface(QWidget *parent = nullptr);
    ~VeskInterface() override;

    static void logToFile(const QString &text, int level);
    static void clearBuffer(unsigned char *buffer, int length);

    void changeWindowTitle(const QString &text);
    void closeApplication();
    // True while console code runs beneath this call: it is interrupted and
    // the window closes once it has returned.
    bool closeWaitsForScript();
    // While console code serves input alone, the instrument's hand-over and
    // a lost link wait for it to return (or to serve all events).
    void holdDeviceWork(bool held);

signals:
    void applyConfigurationRequest();

public slots:
    void setInfoText(const QString &text = QString(), bool mode = false);

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private slots:
    // Number formatting, reachable by name through the meta-object.
    QString get4Digits(double number);
    QString get3Digits(double number);
    QString getDigitsPrecision(double number, int prec);

    // Menu actions.
    void on_actionExit_triggered();
    void on_actionAbout_triggered();
    void on_actionSettings_triggered();

    // Collapsible sections: show a section's frame while its header is unfolded.
    void on_collapsiblePanelAWGWaveform_collapsedChanged(bool collapsed);
    void on_collapsiblePanelAWGFrequency_collapsedChanged(bool collapsed);
    void on_collapsiblePanelAWGLevels_collapsedChanged(bool collapsed);
    void on_collapsiblePanelAWGSweep_collapsedChanged(bool collapsed);
    void on_collapsiblePanelScopeCursors_collapsedChanged(bool collapsed);
    void on_collapsiblePanelScopeDisplay_collapsedChanged(bool collapsed);
    void on_collapsiblePanelScopeRecord_collapsedChanged(bool collapsed);

    // Device connection.
    void on_connectButton_clicked();
    int deviceSettingsInitialize();
    void deviceSettingsSendBulk();
    void deviceConnectionLost();

    // Settings dialog and options.
    void callSettings(const QString &item);
    void applyModuleConfiguration();
    void applyScopeConfiguration();
    void saveAppSettings();

    // Acquisition display and meter polling, driven by the two timers.
    // The data timer runs while an instrument is connected or a redraw waits
    // for the oscilloscope, and stops itself otherwise.
    void dataShow();
    // Sets replotRequest and wakes the data timer to serve it.
    void requestReplot();
    void meterRequestData();

    // Plot view.
    void setTheme(int theme, CustomColors *colors);
    void moveCursor(QMouseEvent *event);
    void selectItem(QMouseEvent *event);
    void deselectItem(QMouseEvent *event);
    void itemDoubleClick(QCPAbstractItem *item, QMouseEvent *event);
    void on_sizeChanged();
    void xAxisChanged(const QCPRange &range);
    void yAxisChanged(const QCPRange &range);

    // BEGIN form slots
    // Menu actions and the right dock's page switch
    void on_actionConsole_triggered();
    void on_mainTabWidget_currentChanged(int index);
    // Plot area scroll bars
    void on_horizontalScrollBar_valueChanged(int value);
    void on_verticalScrollBar_valueChanged(int value);
    // Oscilloscope page
    void on_samplingSlider_valueChanged(int value);
    void on_xyMode_clicked();
    void on_rollMode_clicked();
    void on_elasticMode_clicked();
    void on_ch1PositionSlider_valueChanged(int value);
    void on_ch1GainSlider_valueChanged(int value);
    void on_checkBoxCH1Trace_clicked();
    void on_checkBoxCH1ACDC_clicked();
    void on_checkBoxCH1Average_clicked();
    void on_checkBoxCH1Invert_clicked();
    void on_checkBoxCH1Math_clicked();
    void on_checkBoxCH1Invert_toggled(bool checked);
    void on_radioButtonCH1Sub_clicked();
    void on_radioButtonCH1Multiply_clicked();
    void on_ch2PositionSlider_valueChanged(int value);
    void on_ch2GainSlider_valueChanged(int value);
    void on_checkBoxCH2Trace_clicked();
    void on_checkBoxCH2ACDC_clicked();
    void on_checkBoxCH2Average_clicked();
    void on_checkBoxCH2Invert_clicked();
    void on_checkBoxCH2Math_clicked();
    void on_checkBoxCH2Invert_toggled(bool checked);
    void on_radioButtonCH2Sub_clicked();
    void on_radioButtonCH2Multiply_clicked();
    void on_chdPositionSlider_valueChanged(int value);
    void on_chdSizeSlider_valueChanged(int value);
    void on_checkBoxCHDTrace_clicked();
    void on_checkBoxCHDInvert_clicked();
    void on_checkBoxCHD0_clicked();
    void on_checkBoxCHD1_clicked();
    void on_checkBoxCHD2_clicked();
    void on_checkBoxCHD3_clicked();
    void on_checkBoxCHD4_clicked();
    void on_checkBoxCHD5_clicked();
    void on_checkBoxCHD6_clicked();
    void on_checkBoxCHD7_clicked();
    void on_checkBoxFFTTrace_clicked();
    void on_checkBoxIQFFT_clicked();
    void on_checkBoxLogY_clicked();
    void on_radioButtonRect_clicked();
    void on_radioButtonHamming_clicked();
    void on_radioButtonHann_clicked();
    void on_radioButtonBlackman_clicked();
    void on_captureButton_clicked();
    void on_comboBoxTrigSource_currentIndexChanged(int index);
    void on_radioButtonRisingEdge_clicked();
    void on_radioButtonFallingEdge_clicked();
    void on_radioButtonDual_clicked();
    void on_radioButtonPositiveSlope_clicked();
    void on_radioButtonNegativeSlope_clicked();
    void on_radioButtonWindow_clicked();
    void on_doubleSpinBoxTrigAuto_valueChanged(double value);
    void on_doubleSpinBoxTrigHold_valueChanged(double value);
    void on_radioButtonFree_clicked();
    void on_radioButtonNormal_clicked();
    void on_radioButtonAuto_clicked();
    void on_radioButtonSingle_clicked();
    int on_forceButton_clicked();
    void on_stopButton_clicked();
    void on_checkBoxCursorVertical_clicked();
    void on_checkBoxScopeCursorsHorizontal_clicked();
    void on_comboBoxScopeCursorsChannel_currentIndexChanged(int index);
    void on_comboBoxScopeCursorsHorizontalType_currentIndexChanged(int index);
    // Options page
    void on_intensitySlider_valueChanged(int value);
    void on_checkBoxVectors_clicked();
    void on_checkBoxPersistence_clicked();
    void on_loadWave_clicked();
    void on_saveWave_clicked();
    void on_clearWaveButton_clicked();
    void on_screenShotButton_clicked();
    void on_recordButton_clicked();
    void on_playButton_clicked();
    void on_checkBoxmeterondev_clicked();
    void on_comboBoxDACBuffer_currentIndexChanged(int index);
    void on_comboBoxADCBuffer_currentIndexChanged(int index);
    void on_toolButtonDACOffsetPlus_clicked();
    void on_toolButtonDACOffsetOK_clicked();
    void on_toolButtonDACOffsetMinus_clicked();
    void on_toolButtonDACGainPlus_clicked();
    void on_toolButtonDACGainOK_clicked();
    void on_toolButtonDACGainMinus_clicked();
    void on_pushButtonCalibrateADCOffsetClear_clicked();
    void on_pushButtonCalibrateADCOffset_clicked();
    void on_toolButtonCH1GainPlus_clicked();
    void on_toolButtonCH1GainOK_clicked();
    void on_toolButtonCH1GainMinus_clicked();
    void on_toolButtonCH2GainPlus_clicked();
    void on_toolButtonCH2GainOK_clicked();
    void on_toolButtonCH2GainMinus_clicked();
    // Meter page
    void on_mmTabWidget_currentChanged(int index);
    void on_groupBoxCH1AC_clicked();
    void on_groupBoxCH2AC_clicked();
    void on_groupBoxCH1DC_clicked();
    void on_groupBoxCH2DC_clicked();
    void on_toolButtonCh1ADC24V_clicked();
    void on_toolButtonCh1ADC2V4_clicked();
    void on_toolButtonCh2ADC24V_clicked();
    void on_toolButtonCh2ADC2V4_clicked();
    void on_fcR0_clicked();
    void on_fcR1_clicked();
    void on_fcR2_clicked();
    void on_fcR3_clicked();
    void on_fcR4_clicked();
    void on_fcR5_clicked();
    void on_fcR6_clicked();
    void on_fcR7_clicked();
    void on_fcR10_clicked();
    void on_fcR11_clicked();
    void on_fcR0_2_clicked();
    void on_fcR1_2_clicked();
    void on_fcR2_2_clicked();
    void on_fcR3_2_clicked();
    void on_fcR4_2_clicked();
    void on_fcR5_2_clicked();
    void on_fcR6_2_clicked();
    void on_fcR7_2_clicked();
    void on_fcR10_2_clicked();
    void on_fcR11_2_clicked();
    void on_radioPeriod_clicked();
    void on_radioFreq_clicked();
    void on_radioPulse_clicked();
    void on_radioExtGate_clicked();
    void on_checkBoxFreqFastMode_clicked();
    void on_radioFrequencyGatePeriod_clicked();
    void on_radioFrequencyGatePulse_clicked();
    void on_pushButtonCounterStart_clicked();
    void on_pushButtonCounteStop_clicked();
    // Protocol sniffer page
    void on_radioButtonSniffNormal_clicked();
    void on_radioButtonSniffSingle_clicked();
    void on_checkBoxASCII_clicked();
    void on_checkBoxCircular_clicked();
    void on_startSnifferButton_clicked();
    void on_pauseSnifferButton_clicked();
    void on_pushButtonSnifferClear_clicked();
    void on_protocolTabWidget_currentChanged(int index);
    void on_comboBoxSniffSSINV_currentIndexChanged(int index);
    void on_comboBoxCPOL_currentIndexChanged(int index);
    void on_comboBoxCPHA_currentIndexChanged(int index);
    void on_comboBoxBaud_currentIndexChanged(int index);
    void on_comboBoxUARTData_currentIndexChanged(int index);
    void on_comboBoxParity_currentIndexChanged(int index);
    void on_comboBoxStopBits_currentIndexChanged(int index);
    void on_checkBoxSynchro_clicked();
    void on_checkBoxSniffParallelInputInvert_clicked();
    void on_comboBoxSniffParallelStrobe_currentIndexChanged(int index);
    // Generator dock
    void on_checkBoxAWBEnable_clicked();
    void on_collapsiblePanelAWGSweep_checkedChanged(bool checked);
    void on_radioButtonSine_clicked();
    void on_radioButtonTriangle_clicked();
    void on_radioButtonExpo_clicked();
    void on_radioButtonSquare_clicked();
    void on_radioButtonCustom_clicked();
    void on_radioButtonConstant_clicked();
    void on_radioButtonWhiteNoise_clicked();
    void on_radioButtonPinkNoise_clicked();
    void on_openCSVButton_clicked();
    void on_saveAWGButton_clicked();
    void on_spinBoxConstant_valueChanged(int value);
    void on_horizontalSliderConstant_valueChanged(int value);
    void on_frequencySlider_valueChanged(int value);
    void on_toolButtonFrequencyDigit100000Up_clicked();
    void on_toolButtonFrequencyDigit100000Down_clicked();
    void on_toolButtonFrequencyDigit10000Up_clicked();
    void on_toolButtonFrequencyDigit10000Down_clicked();
    void on_toolButtonFrequencyDigit1000Up_clicked();
    void on_toolButtonFrequencyDigit1000Down_clicked();
    void on_toolButtonFrequencyDigit100Up_clicked();
    void on_toolButtonFrequencyDigit100Down_clicked();
    void on_toolButtonFrequencyDigit10Up_clicked();
    void on_toolButtonFrequencyDigit10Down_clicked();
    void on_toolButtonFrequencyDigit1Up_clicked();
    void on_toolButtonFrequencyDigit1Down_clicked();
    void on_toolButtonFrequencyDigit01Up_clicked();
    void on_toolButtonFrequencyDigit01Down_clicked();
    void on_toolButtonFrequencyDigit001Up_clicked();
    void on_toolButtonFrequencyDigit001Down_clicked();
    void on_amplitudeSlider_valueChanged(int value);
    void on_dutyCycleSlider_valueChanged(int value);
    void on_offsetSlider_valueChanged(int value);
    void on_doubleSpinBoxAmp_valueChanged(double value);
    void on_doubleSpinBoxDuty_valueChanged(double value);
    void on_doubleSpinBoxOffset_valueChanged(double value);
    void on_radioButtonSweepFrequency_clicked();
    void on_radioButtonSweepAmplitude_clicked();
    void on_radioButtonSweepDutyCycle_clicked();
    void on_radioButtonSweepOffset_clicked();
    void on_radioButtonSweepRising_clicked();
    void on_radioButtonSweepPingPong_clicked();
    void on_radioButtonSweepFalling_clicked();
    void on_sweepSpeedSlider_valueChanged(int value);
    void on_sweepStartFreqSlider_valueChanged(int value);
    void on_sweepEndFreqSlider_valueChanged(int value);
    // END form slots

    // BEGIN configuration encoders and setting handlers
    // Each encoder reads its widgets anew and writes one configuration item,
    // so the instrument always gets what the window shows.
public slots:
    void sendTriggerSource();
    void sendTriggerSource(int value);
    void sendGateSource();
    void scopeStartForce();
    void sendMeterFrequencyControl();

public:
    // Composite encoders.
    void sendCH1Controls();
    void sendCH2Controls();
    void sendCHDControls();
    void sendCHDBitControls();
    void sendTriggerControls();
    void sendMixedControls();
    void sendSnifferOptionControl();
    void sendSnifferUSARTControl();
    void sendSweepTypeControls();
    void sendWaveType();
    // Confirmed encoders: true when the instrument took the item, after at
    // most one shrink of the oscilloscope buffer to what it offered.
    InstrumentCommands::ConfirmResult sendDACControlsConfirmed();
    InstrumentCommands::ConfirmResult sendCH1ControlsConfirmed();
    InstrumentCommands::ConfirmResult sendCH2ControlsConfirmed();
    InstrumentCommands::ConfirmResult sendCHDControlsConfirmed();
    // Per-item setters with their limits.
    void sendMainModeControls(int value);
    void sendSamplingRate(int value);
    void sendChannel1GainControls(int value);
    void sendChannel2GainControls(int value);
    void sendTriggerHold(int value);
    void sendTriggerPost(int position);
    void sendTriggerLevel(int value);
    void sendTriggerWin1Level(int value);
    void sendTriggerWin2Level(int value);
    void sendAutoTrigger(int value);
    void sendDecodeProtocol(int value);
    void sendDACBufferBlocks(int value);
    void sendCHBufferBlocks(int value);
    void sendSweepStart(int value);
    void sendSweepEnd(int value);
    void sendSweepSpeed(int value);
    void sendWaveAmplitude(int value);
    void sendWaveDuty(int value);
    void sendWaveOffset(int value);
    void sendWaveConstantLevel(int value);
    void sendWaveFrequency(long long value);
    // Run control.
    void sendScopeStart();
    void sendScopeStop();
    int sendScopeForce();
    int sendSnifferStart();
    int sendSnifferStop();
    int sendCouterStart();
    int sendCouterStop();
    // Main tab switch and the instrument's buffer limits.
    void mainTabChanged(int index);
    int bufferCheckMaxSize();
    void bufferComboBoxItemChange(QComboBox *box, int blocks);

    // Oscilloscope setting handlers.
    int scopeCH1ControlsValue();
    int scopeCH2ControlsValue();
    int scopeCHDControlsValue();
    void scopeSamplingSliderChanged(int value);
    void scopeADCBufferChanged(int index);
    void scopeRefreshSamplingRateLabel();
    void channel1GainSliderChanged(int value, bool remark);
    void channel2GainSliderChanged(int value, bool remark);
    void channel1ACDCChanged(bool remark);
    void channel2ACDCChanged(bool remark);
    void channel1TraceChanged(bool on);
    void channel2TraceChanged(bool on);
    void channelLogicTraceChanged();
    void channelPositionSliderChanged(int channel, int value, int &position, bool moveHandles = false);
    void channelLogicPositionSliderChanged(int value);
    void channelLogicSizeSliderChanged();
    void scopeTriggerSourceChanged(int index);
    void scopeSetTriggerType();
    void scopeSetTriggerMode();
    void scopeRollModeChanged();

    // Generator setting handlers.
    void awgEnableChanged();
    void awgDACBufferChanged(int index);
    void awgAmplitudeSliderChanged(int value);
    void awgDutyCycleSliderChanged(int value);
    void awgOffsetSliderChanged(int value);
    // Last instrument setup.
    void deviceSettingsLoad();
    void deviceSettingsSave();
    void levelBoxEdited(QDoubleSpinBox *box, QSlider *slider, double value, double perUnit);
    void frequencyDigitsValueChanged();
    void updateFrequency(double value);
    float frequencyRealValueCheck();
    void frequencyDigitsShowValue(double value);
    double frequencySliderValueToInt(double position);
    void frequencyDigitIncrease(QLabel *digit, int largest);
    void frequencyDigitDecrease(QLabel *digit, int largest);
    void sweepSpeedSliderChanged(int value);
    void sweepStartFreqChanged(QSlider *start, QSlider *end);
    void sweepEndFreqChanged(QSlider *start, QSlider *end);
    void sweepCursorsUpdate();

    // ---- waveform generator: script setters and custom waves ----
    // Scripts act through the generator's widgets, whose handlers clamp and
    // send; values that are no numbers are logged and dropped.
    void clickRadioButtonSine() override;
    void clickRadioButtonSquare() override;
    void clickRadioButtonTriangle() override;
    void clickRadioButtonExpo() override;
    void clickRadioButtonCustom() override;
    void clickRadioButtonConstant() override;
    void clickRadioButtonWhiteNoise() override;
    void clickRadioButtonPinkNoise() override;
    void setAwgLevelsAmplitude(double volts) override;
    void setAwgLevelsDutyCycle(double percent) override;
    void setAwgLevelsOffset(double volts) override;
    void setAwgFrequency(double hertz) override;
    void setAwgSweepEnabled(bool enabled) override;
    void clickRadioButtonSweepFrequency() override;
    void clickRadioButtonSweepAmplitude() override;
    void clickRadioButtonSweepDutyCycle() override;
    void clickRadioButtonSweepOffset() override;
    void clickRadioButtonSweepDirectionRising() override;
    void clickRadioButtonSweepDirectionPingPong() override;
    void clickRadioButtonSweepDirectionFaling() override;
    void setAwgSweepSpeed(int speed) override;
    void setAwgSweepStart(double position) override;
    void setAwgSweepEnd(double position) override;
    int scriptBufferSize() const override;
    // Reads a CSV custom wave into the upload buffer and offers the upload;
    // a file that is no wave leaves the buffer as it was and says why.
    bool customWaveLoadFile(const QString &path);
    // ---- end of waveform generator ----

    // Meter and counter setting handlers.
    void meterTabChanged(int page);
    void meterFrequencyModeChanged();

    // ---- meter polling and counter ----
    void counterButtonEnable(bool enable);
    void clearMMLabelsCH1AC();
    void clearMMLabelsCH2AC();
public slots:
    void clearMMLabelsFreq();
private:
    void meterShowAC(const MeterReply &reply);
    void meterShowDC(const MeterReply &reply);
    void meterShowCounter(const MeterReply &reply);
    // Failed meter reads in a row; only the first of a run is logged.
    int meterFailedReads = 0;
public:
    // ---- end of meter polling and counter ----

    // Protocol sniffer setting handlers.
    void sniffStop();
    void sniffProtocolTabChanged(int index);
    void sniffControlsStartSet(const QString &state);
    void sniffPauseButtonChanged();

private:
    InstrumentCommands::ConfirmResult sendConfirmedControl(unsigned char index, int value);
    void showScopeBuffer(int blocks);
    void traceSwitchAccepted(const QList<QGroupBox *> &meterBoxes, bool on);
    void meterRangeSelected(int channel, QToolButton *otherRange, int gain);
    double frequencyDigitsToFrequency() const;
    // END configuration encoders and setting handlers

    // BEGIN channel controls, cursors and zero markers
public:
    // Channel titles, range buttons and the labels under the plot.
    void channel1DCButtonCheck(int gain, bool acdc);
    void channel2DCButtonCheck(int gain, bool acdc);
    void channelSetBoxTitle(QGroupBox *acBox, QGroupBox *dcBox, int channel, int gain, bool acdc);
    void updateCh1Label(int ch1Control, int ch2Control);
    void updateCh2Label(int ch2Control, int ch1Control);
    // Vertical (time) cursors.
    void vCursorSetVisible(bool visible);
    void vCursorRefreshA();
    void vCursorRefreshB();
    void vCursorRefresh();
    void vCursorRefreshLabel();
    void cursorsVerticalChanged(bool on);
    void vCursorSetLabelColor(const QColor &color);
    // Horizontal (voltage) cursors; levels are kept relative to the zero
    // line of the channel they measure.
    void hCursorSetVisible(bool visible);
    void hCursorSetChannelEnabled(int channel, bool enabled);
    void hCursorRefreshVisible();
    void hCursorRefreshA();
    void hCursorRefreshB();
    void hCursorRefreshLabel(bool on, int ch1Gain, int ch2Gain);
    void hCursorcSetPositionAuto(bool on, double a1, double b1, double a2, double b2);
    void hCursorSetTracerVisible(bool visible);
    void hCursorSetLabelColor(const QColor &color);
    void cursorsHorizontalChanged(bool on);
    void cursorsHorizontalTypeSet(int type);
    void cursorsSetChannelActive(int channel);
    // Zero markers at the plot's left edge (CH1's on top in XY mode).
    void zeroHeadRefresh();
    void ch1vZeroRefresh();
    void showCH1ZeroVerticalIndicator(bool on);
    void showCH2ZeroVerticalIndicator(bool on);
    void showCHDZeroVerticalIndicator(bool on);

private:
    void channelGainChanged(int channel, int gain, bool remark);
    void channelCouplingChanged(int channel, bool remark);
    void channelRangeButtonCheck(int channel, int gain, bool acdc);
    bool traceSwitchRefused(const QString &channel, InstrumentCommands::ConfirmResult result, QCheckBox *traceBox,
                            const QList<QGroupBox *> &meterBoxes);
    void vCursorPlaceHandle(QCPItemPixmap *handle, int &position);
    int hCursorZeroLine(int channel) const;
    int &hCursorLevel(int channel, bool cursorA);
    void hCursorPlaceDragged(QCPItemPixmap *handle, int &coordinate, bool cursorA);
    void hCursorPlaceHandles(int channel);
    // END channel controls, cursors and zero markers

    // BEGIN oscilloscope trigger
public:
    void scopeSetTriggerModeButtonVisible(bool visible);
    void scopeSetTriggerAutoTimer(double seconds);
    // Record values against the plot, for the current record.
    int triggerPosXIntToPixel(int post);
    int triggerPosYIntToPixel(int level);
    int triggerPosYPixelToInt(int y);
    int triggerPosYBit(int bit);
    // Store into the current record within the limits and move the markers.
    void triggerSetPosition(int post, int level);
    void triggerSetPositionCoord(double x, double y);
    void triggerSetPositionWin1(int post, int level);
    void triggerSetPositionWin2(int post, int level);
    void triggerSetPositionWin1Coord(int x, int y);
    void triggerSetPositionWin2Coord(int x, int y);
    void triggerRefreshPos();
    // Places the markers of the current record again, changing no record.
    void triggerMarkersRefresh();
    // Pixel positions; nothing moves before the window enables the trigger
    // unless forced.
    void triggerMoveTrigger(int x, int y, bool force);
    void triggerMoveWinTrigger(int x, int y1, int y2, bool force);
    void triggerSetVisible(bool visible);
    void triggerSetIcon();

private:
    void triggerFollowInvert(int channel);
    void triggerMoveWindowMarkers();
    // END oscilloscope trigger

    // BEGIN plot item dragging
private:
    // The draggable item with a selectedItem id, and its outline colour.
    QCPItemPixmap *dragItem(int id) const;
    QColor dragHighlightColor(int id) const;
    // Tells the instrument where the dragged trigger marker now stands.
    void triggerDragSend(int id);
    // Moves a channel's zero line to the pointer through its position slider.
    void zeroMarkerDrag(QSlider *positionSlider, bool logic, int pixelY);
    // END plot item dragging

    // BEGIN wave files, recording, playback and screenshots
public:
    void saveWavetoFile();
    QString saveWavetoString();
    void wavePlay(QString fileName);

private:
    // Asks for the folder once per window; false when the user cancels.
    bool waveChooseDirectory();
    WaveText::Frame waveData() const;
    void waveSetData(const WaveText::Frame &frame);
    WaveText::Frame waveTakeData();
    void waveShowRecordIdle();
    // A wave file's text, unless it is too large to load.
    bool waveReadText(QFile &file, QString *text);
    void waveSetSampling(int value);
    void waveStoreData(const TraceBuilder::Traces &traces);
    // Goes on with the first pass over the record to play; plays when it passes.
    void wavePlayCheck();
    // Leaves no playback: the label says why the file is not played.
    void wavePlayRefuse(const QString &reason);
    void wavePlayRelease();
    // Ends a playback, back on the user's time base.
    void wavePlayEnd();
    // Steps of the frame processing.
    void wavePlayStep(TraceBuilder::Traces &traces);
    // Shows the next recorded frame when no processed frame came in time.
    void wavePlayAdvance();
    void waveSaveStep(const TraceBuilder::Traces &traces);
    void waveRecordStep(const TraceBuilder::Traces &traces);
    // END wave files, recording, playback and screenshots

public:
    // ---- shell ----
    Ui_VeskInterface *ui = nullptr;
    QPointer<About> aboutDialog;
    QTimer dataTimer;
    LibUsbDevice libUsbDevice;
    InstrumentCommands instrumentCommands{libUsbDevice};
    int dataTimerInterval = 4;
    CustomTheme customTheme;
    QTimer meterTimer;
    QMap<QString, QVariant *> *optionsMap = nullptr;
    GlobalOptions *globalOptions = nullptr;
    PythonConsoleOptions *pythonConsoleOptions = nullptr;
    ScopeOptions *scopeOptions = nullptr;
    MultimeterDisplayOptions *multimeterDisplayOptions = nullptr;
    QVariant *globalOptionsVariant = nullptr;
    QVariant *pythonConsoleOptionsVariant = nullptr;
    QVariant *scopeOptionsVariant = nullptr;
    QVariant *multimeterDisplayOptionsVariant = nullptr;
    Settings *settingsDialog = nullptr;
    PythonConsole *pythonConsole = nullptr;
    bool pythonConsoleAlive = false;
    bool closeAfterScript = false;
    bool deviceWorkHeld = false;
    bool connectionLostHeld = false; // a lost link waits for running code
    bool startingUp = false;
    // Set while the Settings dialog's Apply or OK applies the options.
    bool userApplyingOptions = false;
    bool replotRequest = false;
    int mainMode = 0;

    // ---- device link ----
    bool customWaveUploading = false;

    // ---- oscilloscope data path and view ----
    int scopeSizeX = 768;
    unsigned char frameCache[ScopeFrame::bufferSize] = {};
    int lastFrameValue = 0;
    bool frameSkipFlag = false;
    bool captureRequest = false;
    bool saveWaveRequest = false;
    bool waveLoaded = false;
    QVector<double> ch1WaveData;
    QVector<double> ch2WaveData;
    QVector<double> logicWaveData[8];
    int plotXRange = 1536;
    int plotXMinSpan = 256;
    int plotYRange = 1280;
    int plotYMinSpan = 512;
    int samplesPerDivision = 256;
    QStringList timeBaseTexts;
    QStringList gainTexts;
    QStringList gainBoxTitles;
    QStringList triggerIconsGreen;
    QStringList triggerIconsRed;

    bool triggerEnabled = false;
    bool triggerVisible = false;
    int triggerMode = 0;
    int triggerSource = 0;
    int triggerChannel = 0;
    int triggerPostMin = 4;
    int triggerPostMax = 760;
    int triggerLevelMin = -125;
    int triggerLevelMax = 125;
    int triggerWinLevelMin = -125;
    int triggerWinLevelMax = 125;
    int triggerWinGap = 16;
    TriggerCoord triggerCoords[3];
    bool slowSamplingRate = false;

    bool vCursorVisible = false;
    int vCursorAPosition = 64;
    int vCursorBPosition = 192;
    int cursorTimeBaseIndex = 1;
    int vCursorRangeMin = 8;
    int vCursorRangeMax = 1528;
    QColor vCursorLabelColor;

    bool hCursorVisible = false;
    int hCursorChannel = 0;
    int hCursorScale = 256;
    int hCursorAPosition = 200;
    int hCursorBPosition = 100;
    int hCursorCh1AValue = 100;
    int hCursorCh1BValue = -100;
    int hCursorCh2AValue = 100;
    int hCursorCh2BValue = -100;
    HCursorChannelState hCursorChannels[3];
    QColor hCursorLabelColor;

    // Plot items and graphs, owned by the plot widget.
    QCPItemTracer *cursorTracers[4] = {};
    QCPItemStraightLine *hCursorALine = nullptr;
    QCPItemStraightLine *hCursorBLine = nullptr;
    QCPItemStraightLine *vCursorALine = nullptr;
    QCPItemStraightLine *vCursorBLine = nullptr;
    QCPItemStraightLine *ch1ZeroIndicatorLines[2] = {};
    QCPItemStraightLine *ch2ZeroIndicatorLine = nullptr;
    QCPItemStraightLine *chdZeroIndicatorLine = nullptr;
    QCPItemPixmap *hCursorAHandle = nullptr;
    QCPItemPixmap *hCursorBHandle = nullptr;
    QCPItemPixmap *ch1ZeroHead = nullptr;
    QCPItemPixmap *ch1ZeroVerticalHead = nullptr;
    QCPItemPixmap *ch2ZeroHead = nullptr;
    QCPItemPixmap *chdZeroHead = nullptr;
    QCPItemPixmap *triggerMarker = nullptr;
    QCPItemPixmap *vCursorAHandle = nullptr;
    QCPItemPixmap *vCursorBHandle = nullptr;
    QCPItemPixmap *triggerWin1Marker = nullptr;
    QCPItemPixmap *triggerWin2Marker = nullptr;
    QCPItemText *logicLabels[8] = {};
    QCPItemText *vCursorDeltaLabel = nullptr;
    QCPItemText *hCursorDeltaLabel = nullptr;
    QCPItemText *hCursorALabel = nullptr;
    QCPItemText *hCursorBLabel = nullptr;
    QCPItemText *vCursorFrequencyLabel = nullptr;
    QCPGraph *fftCh1Graph = nullptr;
    QCPGraph *fftCh2Graph = nullptr;
    QCPGraph *ch1Graph = nullptr;
    QCPGraph *ch2Graph = nullptr;
    QCPGraph *ch1RefGraph = nullptr;
    QCPGraph *ch2RefGraph = nullptr;
    QCPGraph *ch1PersistenceGraphs[9] = {};
    QCPGraph *ch2PersistenceGraphs[9] = {};
    QCPGraph *logicGraphs[8] = {};
    QCPGraph *logicGraphs2[8] = {};
    QCPGraph *logicRefGraphs[8] = {};

    // Pens and colours, filled by the theme.
    QPen fftCh1Pen;
    QPen fftCh2Pen;
    QPen ch1PersistencePens[9];
    QPen ch2PersistencePens[9];
    QPen ch1Pen;
    QPen ch2Pen;
    QPen ch1RefPen;
    QPen ch2RefPen;
    QPen logicPens[8];
    QPen logicPens2[8];
    QColor gridColor;
    Qt::PenStyle gridPenStyle = Qt::SolidLine;
    QPen gridPen;
    QPen axisPen;
    // Fading rule of the persistence traces for the background in force:
    // 0 towards black, 1 towards white.
    int persistenceShadeRule = 0;

    // Recording and playback.
    bool recording = false;
    QFile *recordFile = nullptr;
    QTextStream *recordStream = nullptr;
    // The record being played, read as its frames are shown; a reader
    // without playActive is still in its first pass.
    QFile playFile;
    std::unique_ptr<RecordReader> playReader;
    bool playActive = false;
    int playSavedSampling = 0;
    // Runs out when the recorded frame on screen has lasted its own time.
    QTimer playTimer;

    // Set by the setting handlers and the options when they first run.
    int ch1Position = 0;
    int ch2Position = 0;
    int chdPosition = 0;
    bool chdBitEnabled[8] = {};
    int logicLabelX = 0;
    int selectedItem = 10;
    QString waveDirectory;
    QString defaultDirectory;

    // ---- protocol sniffer ----
    SnifferRingTracker sniffRings;
    // Number of the last frame taken; it survives stops and starts.
    int sniffLastSequence = -1;
    // The last frame printed and the ring state it was printed with, kept so
    // a format switch can print it again, also after the tracking was reset
    // by a stop.
    QByteArray sniffShownFrame;
    SnifferRingTracker sniffShownRings;
    // Shows the newest read while the device mode is MODE_SNIFFER.
    void sniffDataShow();
    // Prints sniffShownFrame into its protocol's panes with the current
    // switches and its ring state.
    void sniffFramePrint();
    void sniffProtocolWidgetClear();
    // Locks (false) or frees the line options while a run goes on.
    void sniffControlsEnable(bool enabled);

    // ---- oscilloscope traces: frame processing, plot set-up, themes ----
    // Draws the frame in frameCache: traces, persistence, references, XY and
    // roll, spectra and the channel measurement displays; then replots.
    void scopeProcessFrame();
    // Redraws the plot when the pacer says so: the traces' and markers'
    // layers only, unless the view itself changed since the last redraw.
    void scopeReplot();
    int logicBitPos0(int bit) const;
    void logicLabelsRefresh();
    void gridBoxSet(const QColor &color, Qt::PenStyle style);
    void displayControlsSet();
    void setupScatterStyles(bool vectors);
    // XY mode: CH1 on the x axis, its zero line centred on the visible range
    // and shifted by its position, its divisions as wide as the grid's.
    double xyKeysPerPlotY() const;
    double xyZeroKey() const;
    void horizontalScrollBarChanged(int value);
    void verticalScrollBarChanged(int value);
    void displayIntensitySliderChanged(int value);
    void scopeSetSizeX(int blocks);
    void fftWindowFunctionSet();
    void fftControlsPlotSet();

    // Working traces of the frame being drawn; their storage is reused.
    TraceBuilder::Traces frameTraces;
    FrameHistory ch1History;
    FrameHistory ch2History;
    TraceReferences references;
    FftWindow fftWindow;
    // Infinite persistence: the traces of every frame since it was switched on.
    PersistenceImage *persistenceImage = nullptr;
    bool persistenceWasOn = false;
    // Processed frames are drawn at most once per screen refresh.
    ReplotPacer replotPacer;
    // Set by redraw requests and range changes: the next redraw redraws
    // the background, grid and axes too.
    bool plotViewChanged = true;
    // Set when the data timer stopped itself for want of work.
    bool dataTickIdle = false;
    // Receive buffer of the refused read already warned about: a new read
    // always arrives in another buffer.
    const unsigned char *warnedReadBuffer = nullptr;

private:
    // Shell.
    void applyStyleSheet();
    void adaptToDpi();
    void closeRecordFile();

    // Application settings.
    void setupAppSetting();

    // Device connection.
    int deviceInitialize();
    int deviceProfileGet(const QString &text);
    void deviceInfoRead(const QString &path);
    void deviceSettingsExec();
    void deviceSettingsSendInteractive();
    void disconnectDevice(bool closing);
    // Ends a connection that failed or was refused as the toggle's
    // disconnect does, with the reason on the info line.
    void dropDevice(const QString &reason);
    // Starts the oscilloscope two seconds after the settings went out,
    // unless that connection ended first.
    QTimer scopeStartTimer;
    // Set while a connection attempt runs; it handles its own link failures.
    bool deviceConnecting = false;

    // Measurement displays.
    void setupMeasurementDisplays();

    // Oscilloscope.
    void scopeInitDatacache();
    void setupValues();
    void setupGrid(QCustomPlot *plot);
    void setHorizontalScrollBar(int lower, int upper);
    void setVerticalScrollBar(int lower, int upper);
    void scopeDataShow();
    void displayThemeChanged(int theme);
    void logicLabelPositionSet(int position);
    void displayGridStyleChanged(int style);

    // Oscilloscope traces.
    bool scopeAcceptRead();
    void setupGraphs(QCustomPlot *plot);
    void setupTracers(QCustomPlot *plot);
    void setupItemLabels(QCustomPlot *plot);
    void setupCursors(QCustomPlot *plot);
    void scopeShowMeasurements();
    // What the points of this frame stand for, for the gathered persistence.
    PersistenceImage::Meaning persistenceMeaning(const TraceBuilder::Traces &traces);
    void scopeDrawAnalog(QCPGraph *graph, QCPGraph *const *persistenceGraphs, QCPGraph *refGraph,
                         const QVector<double> &values, const FrameHistory &history,
                         const QVector<double> &reference, bool present, bool persistence);
    void scopeDrawLogic();
    void scopeDrawSpectrum();
    void clearTrace(QCPGraph *graph);
    // Only the points with both coordinates: loaded waves, references and
    // history frames need not be as long as the live frame.
    void setTrace(QCPGraph *graph, const QVector<double> &keys, const QVector<double> &values);

    // Protocol sniffer: replaces a pane's text and scrolls to its end.
    static void sniffPaneShow(QPlainTextEdit *pane, const QString &text);
};

#endif // VESKINTERFACE_H
