#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "about.h"
#include "bundledfonts.h"
#include "dockscrollarea.h"
#include "grouptitlestyle.h"
#include "log.h"
#include "numberformat.h"
#include "optionsmetatypes.h"
#include "pythonconsole.h"
#include "pythonengine.h"
#include "scrollcontentfit.h"
#include "stylesheet.h"
#include "tabrelayoutfilter.h"
#include "windowplacement.h"

#include <QCloseEvent>
#include <QDebug>
#include <QFile>
#include <QScreen>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

namespace {

template<typename T>
QVariant *registeredOptions(QMap<QString, QVariant *> *map, const char *className, T *options)
{
    qRegisterMetaType<T *>(QByteArray(className).append('*').constData());
    auto *variant = new QVariant(QVariant::fromValue(options));
    map->insert(QString::fromLatin1(className), variant);
    return variant;
}

} // namespace

VeskInterface::VeskInterface(QWidget *parent)
    : QMainWindow(parent),
      ui(new Ui_VeskInterface),
      recordFile(new QFile(this))
{
    BundledFonts::install();
    GroupTitleStyle::install();

    // The options live for the whole run; the Settings dialog reaches them
    // through the map by class name.
    optionsMap = new QMap<QString, QVariant *>;
    globalOptions = new GlobalOptions;
    pythonConsoleOptions = new PythonConsoleOptions;
    scopeOptions = new ScopeOptions;
    multimeterDisplayOptions = new MultimeterDisplayOptions;
    globalOptionsVariant = registeredOptions(optionsMap, "GlobalOptions", globalOptions);
    pythonConsoleOptionsVariant = registeredOptions(optionsMap, "PythonConsoleOptions", pythonConsoleOptions);
    scopeOptionsVariant = registeredOptions(optionsMap, "ScopeOptions", scopeOptions);
    multimeterDisplayOptionsVariant = registeredOptions(optionsMap, "MultimeterDisplayOptions", multimeterDisplayOptions);

    globalOptions->scaleX = logicalDpiX() / 96.0f;
    globalOptions->scaleY = logicalDpiY() / 96.0f;

    ui->setupUi(this);

    frameSkipFlag = false;
    lastFrameValue = 0;
    scopeSizeX = 768;
    QCoreApplication::processEvents();

    ui->mainTabWidget->setCurrentIndex(0);
    applyStyleSheet();
    ui->connectLabel->setStyleSheet(QStringLiteral("QLabel{font-size: 12px};"));
    changeWindowTitle(QStringLiteral("Interface - Not Connected"));

    setupAppSetting();

    plotXMinSpan = 256;
    plotYRange = 1280;
    plotYMinSpan = 512;
    plotXRange = 2 * scopeSizeX;
    const int analogLimit = plotYRange / 2 - 128;
    for (QSlider *slider : {ui->ch1PositionSlider, ui->ch2PositionSlider, ui->ch1CaptureSlider, ui->ch2CaptureSlider}) {
        slider->setMaximum(analogLimit);
        slider->setMinimum(-analogLimit);
    }
    for (QSlider *slider : {ui->chdPositionSlider, ui->chdCaptureSlider}) {
        slider->setMaximum(plotYRange / 2 - 248);
        slider->setMinimum(-(plotYRange / 2 - 8));
    }

    // Trigger and cursor defaults are the members' initial values.
    mainMode = 0;
    selectedItem = 10;

    clearBuffer(frameCache, sizeof frameCache);
    scopeInitDatacache();

    // As a window of its own the dialog stays above this one: shown during
    // start-up, a parentless one could end up hidden behind the window while
    // it blocks every input.
    customTheme.setParent(this, customTheme.windowFlags());
    connect(&customTheme, &CustomTheme::applyCustomTheme, this, &VeskInterface::setTheme);
    setupValues();
    setupGrid(ui->plotterWidget);
    connect(ui->plotterWidget, &QCustomPlot::mouseMove, this, &VeskInterface::moveCursor);
    connect(ui->plotterWidget, &QCustomPlot::mousePress, this, &VeskInterface::selectItem);
    connect(ui->plotterWidget, &QCustomPlot::mouseRelease, this, &VeskInterface::deselectItem);
    connect(ui->plotterWidget, &QCustomPlot::itemDoubleClick, this, &VeskInterface::itemDoubleClick);
    connect(ui->plotterWidget, &ScopePlot::sizeChanged, this, &VeskInterface::on_sizeChanged);
    ui->plotterWidget->axisRect()->setRangeZoom(Qt::Horizontal);

    adaptToDpi();
    setupMeasurementDisplays();
    ui->progressBar->setValue(0);
    const QCPRange xRange = ui->plotterWidget->xAxis->range();
    const QCPRange yRange = ui->plotterWidget->yAxis->range();
    setHorizontalScrollBar(static_cast<int>(xRange.lower), static_cast<int>(xRange.upper));
    setVerticalScrollBar(static_cast<int>(yRange.lower), static_cast<int>(yRange.upper));
    ui->toolButtonDACOffsetOK->setEnabled(false);
    ui->toolButtonDACGainOK->setEnabled(false);
    QCoreApplication::processEvents();

    // The first connection attempt runs once the event loop shows the window.
    QTimer::singleShot(0, this, &VeskInterface::on_connectButton_clicked);
    scopeStartTimer.setSingleShot(true);
    // The instrument needs the full two seconds; a coarse timer may fire 5 % early.
    scopeStartTimer.setTimerType(Qt::PreciseTimer);
    scopeStartTimer.setInterval(2000);
    connect(&scopeStartTimer, &QTimer::timeout, this, &VeskInterface::scopeStartForce);
    // Queued: the transport reports from inside the request that failed.
    connect(&libUsbDevice, &LibUsbDevice::connectionLost, this, &VeskInterface::deviceConnectionLost,
            Qt::QueuedConnection);
    connect(PythonEngine::instance(), &PythonEngine::deviceWorkHeld, this, &VeskInterface::holdDeviceWork);
    startingUp = false;

    connect(&dataTimer, &QTimer::timeout, this, &VeskInterface::dataShow);
    replotPacer.setRefreshRate(screen()->refreshRate());
    connect(&replotPacer, &ReplotPacer::replotDue, this, &VeskInterface::scopeReplot);
    connect(&meterTimer, &QTimer::timeout, this, &VeskInterface::meterRequestData);
    playTimer.setSingleShot(true);
    connect(&playTimer, &QTimer::timeout, this, &VeskInterface::wavePlayAdvance);
    dataTimerInterval = 4;
    dataTimer.start(dataTimerInterval);
    triggerEnabled = !startingUp;

    deviceSettingsLoad();
    deviceSettingsExec();

    connect(&libUsbDevice.serialPort, &SerialPortConnection::connectionStatus, this,
            [this](const QString &text) { setInfoText(text); });
    connect(this, &VeskInterface::applyConfigurationRequest, this, &VeskInterface::applyScopeConfiguration);

    for (CollapsiblePanel *panel : {ui->collapsiblePanelAWGWaveform, ui->collapsiblePanelAWGFrequency,
                                    ui->collapsiblePanelAWGLevels, ui->collapsiblePanelAWGSweep,
                                    ui->collapsiblePanelScopeCursors, ui->collapsiblePanelScopeDisplay,
                                    ui->collapsiblePanelScopeRecord}) {
        panel->setContentsMargins(2, 2, 2, 2);
        panel->update();
    }
    ui->dockWidget_awg->setWidget(ui->scrollArea);
    // On a small screen the scope dock's pages scroll in whatever room is
    // left: the form's minimum for the dock would push the window, or the
    // floating dock, past the screen's edges.
    auto *scopeScrollArea = new DockScrollArea(ui->mainTabWidget);
    scopeScrollArea->setObjectName(QStringLiteral("scrollArea_scope"));
    ui->dockWidget_scope->setWidget(scopeScrollArea);
    // Its width there becomes where it starts.
    const int scopeDockWidth = ui->dockWidget_scope->minimumWidth();
    ui->dockWidget_scope->setMinimumSize(0, 0);
    resizeDocks({ui->dockWidget_scope}, {scopeDockWidth}, Qt::Horizontal);
    // The tab widget asks for its tallest page's height and fills the dock
    // down to its minimum; the generator's sections keep their height.
    ScrollContentFit::install(scopeScrollArea, ScrollContentFit::Floor::Minimum);
    ScrollContentFit::install(ui->scrollArea, ScrollContentFit::Floor::SizeHint);
    // A vertical scroll bar takes its width from the generator's sections.
    ui->scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Readings on the pages change text with every replot.
    for (QTabWidget *tabs : findChildren<QTabWidget *>())
        TabRelayoutFilter::install(tabs);
    ui->actionImport->setEnabled(false);
    ui->actionExport->setEnabled(false);
    ui->actionConnect->setEnabled(false);

    emit applyConfigurationRequest();
}

VeskInterface::~VeskInterface()
{
    // An open console points at this window's members: it goes first.
    if (pythonConsoleAlive)
        delete pythonConsole;
    closeRecordFile();
    // The log stays open: Qt and the transport may still log while the
    // application object goes down.
    std::fflush(stderr);
    delete ui;
    // The window is the last user of the options; its child widgets only
    // borrow them and do not touch them while going down.
    qDeleteAll(*optionsMap);
    delete optionsMap;
    delete globalOptions;
    delete pythonConsoleOptions;
    delete scopeOptions;
    delete multimeterDisplayOptions;
}

void VeskInterface::logToFile(const QString &text, int level)
{
    logRecord(text, level);
}

void VeskInterface::clearBuffer(unsigned char *buffer, int length)
{
    if (length > 0)
        std::fill(buffer, buffer + length, 0);
}

void VeskInterface::changeWindowTitle(const QString &text)
{
    setWindowTitle(QStringLiteral("%1 v.%2   %3")
                       .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion(), text));
}

void VeskInterface::setInfoText(const QString &text, bool mode)
{
    ui->infoLabel->setText(text);
    ui->centralWidget->setEnabled(!mode);
    ui->centralWidget->repaint();
}

void VeskInterface::closeEvent(QCloseEvent *event)
{
    if (closeWaitsForScript()) {
        event->ignore();
        return;
    }
    closeApplication();
    // A shown custom-theme dialog is a top-level window of its own and would
    // keep the event loop running after the main window closed.
    customTheme.hide();
    event->accept();
}

void VeskInterface::closeApplication()
{
    logToFile(QStringLiteral("Application goes down"), 2);
    dataTimer.stop();
    meterTimer.stop();
    // Exit ends the process without destructors: whatever the program holds
    // is written out here.
    closeRecordFile();
    disconnectDevice(true);
    saveAppSettings();
}

void VeskInterface::on_actionExit_triggered()
{
    logToFile(QStringLiteral("Exit triggered"), 2);
    // Ending the process under running code would leave the interpreter
    // mid-step: the window's close follows the interruption instead.
    if (closeWaitsForScript())
        return;
    closeApplication();
    std::fflush(stderr);
    std::exit(0);
}

void VeskInterface::on_actionAbout_triggered()
{
    aboutDialog = new About(this, globalOptions);
    WindowPlacement::place(aboutDialog, this);
    aboutDialog->exec();
}

void VeskInterface::applyStyleSheet()
{
    setStyleSheet(StyleSheet::fromResource(QStringLiteral(":/themes/theme-win.qss")));
}

void VeskInterface::adaptToDpi()
{
    const int dpi = logicalDpiX();
    if (dpi != logicalDpiY())
        return;
    int tabWidth = 0;
    int labelHeight = 0;
    int colorLabelSize = 0;
    if (dpi == 144) {
        tabWidth = 600;
        labelHeight = 40;
        colorLabelSize = 20;
    } else if (dpi == 192) {
        tabWidth = 700;
        labelHeight = 50;
        colorLabelSize = 25;
    } else {
        return;
    }
    ui->mainTabWidget->setMinimumWidth(tabWidth);
    for (QLabel *label : {ui->ch1Label, ui->ch2Label, ui->timeLabel})
        label->setMinimumHeight(labelHeight);
    for (QLabel *label : {ui->ch1ColorLabel, ui->ch2ColorLabel})
        label->setMinimumSize(colorLabelSize, colorLabelSize);
}

void VeskInterface::closeRecordFile()
{
    if (!recordFile->isOpen())
        return;
    // The stream first: it writes its buffer into the file.
    if (recordStream) {
        recordStream->flush();
        delete recordStream;
        recordStream = nullptr;
    }
    recordFile->close();
    recording = false;
}

QString VeskInterface::get4Digits(double number)
{
    return NumberFormat::get4Digits(number);
}

QString VeskInterface::get3Digits(double number)
{
    return NumberFormat::get3Digits(number);
}

QString VeskInterface::getDigitsPrecision(double number, int prec)
{
    return NumberFormat::getDigitsPrecision(number, prec);
}
