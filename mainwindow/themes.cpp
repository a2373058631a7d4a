// Plot themes and the re-application of the oscilloscope's options.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "persistenceshade.h"
#include "scopeoptions.h"
#include "windowplacement.h"

namespace {

constexpr int darkTheme = 0;
constexpr int lightTheme = 1;
constexpr int customThemeIndex = 2;
constexpr int logicFillAlpha = 35;

// Every colour a theme gives the plot.
struct ThemeColors
{
    QColor ch1, ch2, ch1Ref, ch2Ref, ch1Persistence, ch2Persistence, ch1Fft, ch2Fft;
    QColor bit[8], bitRef[8];
    QColor grid, axes, readouts;
    QBrush background;
};

const QColor green(75, 229, 28);
const QColor lightBlue(42, 80, 253);

ThemeColors darkColors()
{
    ThemeColors c;
    c.ch1 = green;
    c.ch2 = QColor(150, 150, 150);
    c.ch1Ref = Qt::red;
    c.ch2Ref = green;
    c.ch1Persistence = green;
    c.ch2Persistence = Qt::red;
    c.ch1Fft = green;
    c.ch2Fft = Qt::red;
    for (int k = 0; k < 8; ++k) {
        c.bit[k] = QColor(255 - 10 * k, 4 + 10 * k, 4);
        c.bitRef[k] = Qt::blue;
    }
    c.grid = QColor(140, 140, 140);
    c.axes = Qt::white;
    c.readouts = green;
    c.background = QBrush(Qt::black, Qt::SolidPattern);
    return c;
}

ThemeColors lightColors()
{
    ThemeColors c;
    c.ch1 = green;
    c.ch2 = Qt::red;
    c.ch1Ref = Qt::red;
    c.ch2Ref = green;
    c.ch1Persistence = lightBlue;
    c.ch2Persistence = Qt::red;
    c.ch1Fft = lightBlue;
    c.ch2Fft = Qt::red;
    for (int k = 0; k < 8; ++k) {
        c.bit[k] = QColor(4 + 20 * k, k, 255 - 5 * k);
        c.bitRef[k] = Qt::blue;
    }
    c.grid = QColor(200, 200, 200);
    c.axes = Qt::black;
    c.readouts = Qt::red;
    c.background = QBrush(Qt::white, Qt::SolidPattern);
    return c;
}

ThemeColors customColors(const CustomColors &table)
{
    ThemeColors c;
    c.ch1 = table.ch1;
    c.ch2 = table.ch2;
    c.ch1Ref = table.ch1ref;
    c.ch2Ref = table.ch2ref;
    c.ch1Persistence = table.ch1;
    c.ch2Persistence = table.ch2;
    c.ch1Fft = table.ch1fft;
    c.ch2Fft = table.ch2fft;
    for (int k = 0; k < 8; ++k) {
        c.bit[k] = table.bit[k];
        c.bitRef[k] = table.bitref[k];
    }
    c.grid = table.grid;
    c.axes = table.axes;
    c.readouts = table.label;
    c.background = table.background;
    return c;
}

QPen themePen(const QColor &color, qreal width)
{
    return QPen(QBrush(color, Qt::SolidPattern), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

QString swatchStyle(const QColor &color)
{
    return QStringLiteral("QLabel { background-color : ") + color.name() + QStringLiteral("; }");
}

} // namespace

void VeskInterface::applyScopeConfiguration()
{
    displayThemeChanged(scopeOptions->theme);
    logicLabelPositionSet(scopeOptions->logicLabelPosition);
    displayGridStyleChanged(scopeOptions->gridStyle);
    requestReplot();
}

void VeskInterface::displayThemeChanged(int theme)
{
    if (startingUp)
        return;
    if (theme != customThemeIndex) {
        setTheme(theme, nullptr);
        return;
    }
    customTheme.loadTheme();
    // Colours the user applied once come back by themselves at start and at
    // connect. Choosing the theme in the options opens the dialog, and so
    // does a theme without stored colours: the plot changes on its Apply.
    if (!userApplyingOptions && CustomTheme::hasStoredTheme()) {
        setTheme(theme, customTheme.colors());
    } else {
        WindowPlacement::place(&customTheme, this);
        customTheme.show();
    }
}

void VeskInterface::setTheme(int theme, CustomColors *colors)
{
    ThemeColors c;
    bool known = true;
    if (theme == darkTheme)
        c = darkColors();
    else if (theme == lightTheme)
        c = lightColors();
    else if (theme == customThemeIndex && colors)
        c = customColors(*colors);
    else
        known = false;

    if (known) {
        ch1Pen = themePen(c.ch1, 2);
        ch1Graph->setPen(ch1Pen);
        ch2Pen = themePen(c.ch2, 2);
        ch2Graph->setPen(ch2Pen);
        ui->ch1ColorLabel->setStyleSheet(swatchStyle(ch1Pen.color()));
        ui->ch2ColorLabel->setStyleSheet(swatchStyle(ch2Pen.color()));
        ch1RefPen = themePen(c.ch1Ref, 2);
        ch1RefGraph->setPen(ch1RefPen);
        ch2RefPen = themePen(c.ch2Ref, 2);
        ch2RefGraph->setPen(ch2RefPen);
        for (int k = 0; k < FrameHistory::maxDepth; ++k) {
            // Only the newest level is wider than a hairline.
            const int width = (FrameHistory::maxDepth - k) / FrameHistory::maxDepth;
            ch1PersistencePens[k] = themePen(c.ch1Persistence, width);
            ch2PersistencePens[k] = themePen(c.ch2Persistence, width);
            ch1PersistenceGraphs[k]->setPen(ch1PersistencePens[k]);
            ch2PersistenceGraphs[k]->setPen(ch2PersistencePens[k]);
        }
        for (int k = 0; k < TraceBuilder::logicChannels; ++k) {
            logicPens[k] = themePen(c.bit[k], 1.5);
            logicGraphs[k]->setPen(logicPens[k]);
            if (theme == darkTheme) {
                // The area between a bit's trace and its base line is shaded.
                QColor fill = c.bit[k];
                fill.setAlpha(logicFillAlpha);
                logicGraphs2[k]->setPen(themePen(fill, 1.5));
                logicGraphs[k]->setChannelFillGraph(logicGraphs2[k]);
                logicGraphs[k]->setBrush(QBrush(fill, Qt::SolidPattern));
            } else {
                logicGraphs2[k]->setPen(logicPens[k]);
            }
            logicPens2[k] = themePen(c.bitRef[k], 1.5);
            logicRefGraphs[k]->setPen(logicPens2[k]);
        }
        fftCh1Pen = themePen(c.ch1Fft, 2);
        fftCh1Graph->setPen(fftCh1Pen);
        fftCh2Pen = themePen(c.ch2Fft, 2);
        fftCh2Graph->setPen(fftCh2Pen);

        // The grid keeps the user's line style: the custom dialog's Apply
        // reaches here without the options being applied after it.
        gridColor = c.grid;
        displayGridStyleChanged(scopeOptions->gridStyle);

        QCustomPlot *plot = ui->plotterWidget;
        axisPen = QPen(QBrush(c.axes, Qt::SolidPattern), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
        for (QCPAxis *axis : {plot->xAxis, plot->yAxis, plot->xAxis2, plot->yAxis2}) {
            axis->setTickPen(axisPen);
            axis->setSubTickPen(axisPen);
            axis->setBasePen(axisPen);
        }
        plot->setBackground(c.background);
        // Persistence fades towards the background: white on a light one.
        persistenceShadeRule =
            CustomTheme::idealForegroundColor(c.background.color()) == QColor(Qt::black).name() ? lightTheme : darkTheme;
        vCursorLabelColor = c.readouts;
        vCursorDeltaLabel->setColor(c.readouts);
        vCursorFrequencyLabel->setColor(c.readouts);
        hCursorLabelColor = c.readouts;
        for (QCPItemText *label : {hCursorALabel, hCursorBLabel, hCursorDeltaLabel})
            label->setColor(c.readouts);
    }
    // The pens were rebuilt at full colour; the slider's fading applies again.
    displayIntensitySliderChanged(ui->intensitySlider->value());
    ui->plotterWidget->replot();
}

void VeskInterface::displayIntensitySliderChanged(int value)
{
    for (int k = 0; k < FrameHistory::maxDepth; ++k) {
        ch1PersistencePens[k].setColor(
            PersistenceShade::faded(ch1PersistencePens[k].color(), ch1Pen.color(), value, persistenceShadeRule));
        ch1PersistenceGraphs[k]->setPen(ch1PersistencePens[k]);
        ch2PersistencePens[k].setColor(
            PersistenceShade::faded(ch2PersistencePens[k].color(), ch2Pen.color(), value, persistenceShadeRule));
        ch2PersistenceGraphs[k]->setPen(ch2PersistencePens[k]);
    }
}
