#include "multimeterdisplay.h"
#include "ui_multimeterdisplay.h"

#include "multimeterdisplayoptions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDoubleValidator>
#include <QFontMetrics>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QStyleOption>
#include <QtDebug>

namespace {

// Four-part colours are written rgba(): the style sheet parser warns on
// every polish about an alpha given to rgb(), and draws the same.
const char *const buttonStyleSheet =
    "QPushButton { width: 100px;  height: 15px; min-height: 15px; padding-top: 1px;  padding-bottom: 1px; }"
    "QPushButton { font-weight: bold; border: none; background-color: rgba(200,200,200,40); color: #202020; } "
    "QPushButton:checked,QPushButton:pressed {font-weight: bold; border: none; background-color: #5fba7d; "
    "color: #f4f4f4;} QPushButton:disabled {font-weight: bold; border: none; background-color: "
    "rgba(200,200,200,50); color: rgba(90,90,90,50);}";

QPixmap loadIcon(const QString &path)
{
    QPixmap pixmap(path);
    if (pixmap.isNull())
        qWarning().noquote() << "Multimeter display: missing icon" << path;
    return pixmap;
}

} // namespace

MultimeterDisplay::MultimeterDisplay(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::MultimeterDisplay)
{
    ui->setupUi(this);
    ui->labelValueMin->hide();
    ui->labelValueMax->hide();
    ui->labelOffsetBase->hide();
    ui->labelRangeOver->hide();
    ui->labelRangeBelow->hide();
    ui->bargraph->hide();

    lineEditBase = new QLineEdit(this);
    lineEditBase->setObjectName(QStringLiteral("__qt__passive_label"));
    lineEditBase->setValidator(new QDoubleValidator(lineEditBase));
    lineEditBase->hide();

    prepareToolButton(ui->toolButtonHold, tr("Hold"));
    prepareToolButton(ui->toolButtonClear, tr("Clear"));
    prepareToolButton(ui->toolButtonExtend, tr("Extend"));
    prepareToolButton(ui->toolButtonOffset, tr("Offset"));
    connect(ui->toolButtonHold, &QPushButton::clicked, this, &MultimeterDisplay::toolButtonHoldChanged);
    connect(ui->toolButtonClear, &QPushButton::clicked, this, &MultimeterDisplay::toolButtonClearChanged);
    connect(ui->toolButtonExtend, &QPushButton::clicked, this, &MultimeterDisplay::toolButtonExtendChanged);
    connect(ui->toolButtonOffset, &QPushButton::clicked, this, &MultimeterDisplay::toolButtonOffsetChanged);
    connect(ui->labelOffsetBase, &ClickableLabel::clicked, this, &MultimeterDisplay::editOffsetBase);
    connect(lineEditBase, &QLineEdit::editingFinished, this, &MultimeterDisplay::onLineEditBaseEditingFinished);
    connect(lineEditBase, &QLineEdit::returnPressed, this, &MultimeterDisplay::onLineEditBaseReturnPressed);

    ui->bargraph->setMajorTickRising(true);
    ui->bargraph->setRange(-1e25, 1e25);

    setValueFont(QStringLiteral("Consolas"), 11);
    showAlarm(model.alarmLevel());
    addContexMenu();
    scaleLayout();
    refreshStretch(stretchLabel, stretchValue, stretchUnit, stretchAccuracy);
    enableExtreme(false);
    showUnit();
    // Shows the model's initial 0 without making it a reading the extremes
    // would start from.
    showValue();
}

MultimeterDisplay::~MultimeterDisplay()
{
    delete ui;
}

void MultimeterDisplay::setValue(double value)
{
    const MultimeterValueModel::ValueChange change = model.setValue(value);
    if (!change.accepted)
        return;
    if (change.rangeStateChanged)
        showRangeExceeded(model.rangeState());
    if (change.alarmLevelChanged)
        showAlarm(model.alarmLevel());
    showValue();
}

void MultimeterDisplay::setNaN()
{
    model.setNaN();
    showValue();
}

void MultimeterDisplay::setInfinity()
{
    model.setInfinity();
    showValue();
}

void MultimeterDisplay::setUnit(const QString &unit)
{
    model.setUnit(unit);
    showUnit();
}

void MultimeterDisplay::setUnitPower(int power)
{
    model.setUnitPower(power);
    showUnit();
}

void MultimeterDisplay::setPrecision(int precision)
{
    model.setPrecision(precision);
}

QString MultimeterDisplay::getCurrentUnit() const
{
    return model.getCurrentUnit();
}

void MultimeterDisplay::enableExtendedPrecision(bool enabled)
{
    model.setExtendedEnabled(enabled);
    ui->toolButtonExtend->setChecked(enabled);
    showValue();
}

void MultimeterDisplay::setExtendedPrecision(int digits)
{
    if (!options)
        return;
    model.setExtendedDigits(options->validateExtendPrecision(digits));
    if (model.extendedEnabled())
        showValue();
}

void MultimeterDisplay::setHold(bool on)
{
    model.setHold(on);
    ui->toolButtonHold->setChecked(on);
}

void MultimeterDisplay::enableExtreme(bool enabled)
{
    model.enableExtreme(enabled);
    setPolicyRetain();
    showExtreme();
}

void MultimeterDisplay::setExtreme(double min, double max)
{
    model.setExtreme(min, max);
    showExtreme();
}

void MultimeterDisplay::clearExtreme()
{
    model.clearExtreme();
    showExtreme();
}

void MultimeterDisplay::enableOffset(bool enabled, double base)
{
    model.enableOffset(enabled);
    if (enabled)
        setOffsetBase(base);
    ui->labelOffsetBase->setVisible(enabled);
    ui->toolButtonOffset->setChecked(enabled);
    showValue();
}

void MultimeterDisplay::setOffsetBase(double base)
{
    model.setOffsetBase(base);
    ui->labelOffsetBase->setText(model.offsetBaseText());
    showValue();
}

void MultimeterDisplay::setAccuracy(double absolute, double relativePercent)
{
    model.setAccuracy(absolute, relativePercent);
    showAccuracy();
}

void MultimeterDisplay::setAccuracy(double absolute, const QString &relative)
{
    model.setAccuracy(absolute, relative);
    showAccuracy();
}

void MultimeterDisplay::setAccuracyVisible(bool visible)
{
    model.setAccuracyVisible(visible);
    showAccuracy();
}

void MultimeterDisplay::setRange(double a, double b)
{
    model.setRange(a, b);
    ui->bargraph->setRange(a, b);
}

void MultimeterDisplay::enableCheckRange(bool enabled)
{
    model.enableCheckRange(enabled);
}

void MultimeterDisplay::setRangeExceeded(int status)
{
    if (model.setRangeState(status))
        showRangeExceeded(model.rangeState());
}

void MultimeterDisplay::setAlarm(double criticalLow, double warningLow, double warningHigh, double criticalHigh)
{
    model.setAlarm(criticalLow, warningLow, warningHigh, criticalHigh);
}

void MultimeterDisplay::enableAlarm(bool enabled)
{
    model.enableAlarm(enabled);
    showAlarm(model.alarmLevel());
}

void MultimeterDisplay::setAlarmLevel(int level)
{
    if (model.setAlarmLevel(level))
        showAlarm(model.alarmLevel());
}

int MultimeterDisplay::readAlarm() const
{
    return model.alarmLevel();
}

void MultimeterDisplay::refreshBackground()
{
    showAlarm(model.alarmLevel());
}

void MultimeterDisplay::connectOptions(MultimeterDisplayOptions *sharedOptions, const QObject *receiver,
                                       const char *slot, const char *signal)
{
    options = sharedOptions;
    connect(this, SIGNAL(configurationRequest(QString)), receiver, slot, Qt::UniqueConnection);
    connect(receiver, signal, this, SLOT(applyConfiguration()), Qt::UniqueConnection);

    // One Settings entry for the display's life, reused by every menu.
    if (options && !settingsAction) {
        settingsAction = new QAction(QIcon(QStringLiteral(":/icons/menu_settings.png")), tr("&Settings..."), this);
        settingsAction->setIconText(tr("Settings..."));
        settingsAction->setShortcuts(QKeySequence::Save);
        settingsAction->setShortcutContext(Qt::ApplicationShortcut);
        connect(settingsAction, &QAction::triggered, this, &MultimeterDisplay::callSettings);
    }
}

void MultimeterDisplay::applyConfiguration()
{
    if (!options)
        return;
    setColor(options->foregroundColorName);
    backgroundColor = options->backgroundColorName;
    warningColor = options->warningColorName;
    criticalColor = options->criticalColorName;
    refreshBackground();
    appendLabel = options->appendLabel;
    appendNewLine = options->appendNewLine;
    setValueFont(options->valueFontFamily, valueFont.pointSize());
    setLabelFont(options->labelFontFamily, labelFont.pointSize());
    setExtendedPrecision(options->extendPrecision);
}

void MultimeterDisplay::callSettings()
{
    if (options)
        emit configurationRequest(options->getName());
}

void MultimeterDisplay::setLabel(const QString &text)
{
    labelText = tr("%1").arg(text);
    ui->labelLabel->setText(labelText);
    scaleLayout();
}

void MultimeterDisplay::setValueFont(const QString &family, int size)
{
    valueFont = QFont(family, size);
    ui->labelValue->setFont(valueFont);
    ui->labelUnit->setFont(valueFont);

    smallFont.setFamily(family);
    // Below three points the small font would have no size: keep the last one.
    const int smallSize = static_cast<int>(size * 0.4);
    if (smallSize > 0)
        smallFont.setPointSize(smallSize);
    ui->labelValueMin->setFont(smallFont);
    ui->labelValueMax->setFont(smallFont);
    ui->labelAccuracy->setFont(smallFont);
    ui->labelOffsetBase->setFont(smallFont);
    lineEditBase->setFont(smallFont);
    scaleLayout();
}

void MultimeterDisplay::setValueFontSize(int size)
{
    setValueFont(valueFont.family(), size);
}

void MultimeterDisplay::setValueFontFamily(const QString &family)
{
    setValueFont(family, valueFont.pointSize());
}

void MultimeterDisplay::setLabelFont(const QString &family, int size)
{
    labelFont = QFont(family, size);
    ui->labelLabel->setFont(labelFont);
}

void MultimeterDisplay::setLabelFontSize(int size)
{
    setLabelFont(labelFont.family(), size);
}

void MultimeterDisplay::setStretch(int label, int value, int unit, int accuracy)
{
    stretchLabel = label;
    stretchValue = value;
    stretchUnit = unit;
    stretchAccuracy = accuracy;
    refreshStretch(label, value, unit, accuracy);
}

void MultimeterDisplay::setColor(const QString &colorName)
{
    foregroundColor = colorName;
    ui->bargraph->setBarColor(QColor(colorName));
    const QString style = QStringLiteral("QLabel:enabled {color: ") + colorName + QStringLiteral(";}");
    ui->labelValue->setStyleSheet(style);
    ui->labelUnit->setStyleSheet(style);
}

void MultimeterDisplay::setBackgroundColor(const QString &colorName)
{
    ui->output->setStyleSheet(QStringLiteral("background-color: ") + colorName + QStringLiteral(";"));
    ui->bargraph->setBackgroundColor(QColor(colorName));
}

void MultimeterDisplay::enableBargraph(bool enabled)
{
    bargraphEnabled = enabled;
    const QPalette palette = ui->output->palette();
    setBackgroundColor(palette.color(QPalette::Base).name());
    setColor(palette.color(QPalette::WindowText).name());
    ui->bargraph->setVisible(enabled);
}

void MultimeterDisplay::setButtonsVisible(bool visible)
{
    ui->toolButtonHold->setVisible(visible);
    ui->toolButtonClear->setVisible(visible);
    ui->toolButtonExtend->setVisible(visible);
    ui->toolButtonOffset->setVisible(visible);
    if (visible) {
        buttonsEnabled = true;
        setPolicyRetain();
    }
}

void MultimeterDisplay::enableButtons(bool enabled)
{
    buttonsEnabled = enabled;
    setPolicyRetain();
}

void MultimeterDisplay::enableContexMenu(bool enabled)
{
    contextMenuEnabled = enabled;
    addContexMenu();
}

int MultimeterDisplay::rangeIconSize(int lineHeight)
{
    static const int sizes[] = {12, 14, 16, 20, 24, 28, 32, 40, 48, 56, 64, 72};
    const int wanted = static_cast<int>(lineHeight * 0.5);
    for (int size : sizes) {
        if (size >= wanted)
            return size;
    }
    return 72; // the largest icons there are
}

void MultimeterDisplay::editOffsetBase()
{
    const QSize space = getLayoutSpace(smallFont);
    const int w = space.width();
    const int h = space.height();
    const QRect label = ui->labelOffsetBase->geometry().translated(ui->output->pos());
    lineEditBase->setGeometry(label.x() - w / 8, label.y() - h / 8, label.width() + w / 4, label.height() + h / 4);
    lineEditBase->setText(model.offsetBaseEditText());
    lineEditBase->show();
    lineEditBase->setFocus();
}

void MultimeterDisplay::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

void MultimeterDisplay::copyAsText()
{
    QString text;
    if (appendLabel)
        text = ui->labelLabel->text() + QStringLiteral(" = ");
    text += ui->labelValue->text() + QLatin1Char(' ') + ui->labelUnit->text();
    putOnClipboard(text);
}

void MultimeterDisplay::copyAsImage()
{
    const QPixmap image = appendLabel ? grab() : ui->output->grab();
    QApplication::clipboard()->setPixmap(image, QClipboard::Clipboard);
}

void MultimeterDisplay::copyAsDouble()
{
    putOnClipboard(model.numberText());
}

void MultimeterDisplay::putOnClipboard(const QString &text)
{
    QApplication::clipboard()->setText(appendNewLine ? text + QLatin1Char('\n') : text, QClipboard::Clipboard);
}

void MultimeterDisplay::showContextMenu(const QPoint &position)
{
    QMenu menu(this);
    fillContextMenu(&menu);
    menu.exec(ui->output->mapToGlobal(position));
}

void MultimeterDisplay::fillContextMenu(QMenu *menu)
{
    menu->addAction(tr("Copy as text"), this, &MultimeterDisplay::copyAsText);
    menu->addAction(tr("Copy as image"), this, &MultimeterDisplay::copyAsImage);
    menu->addAction(tr("Copy as double"), this, &MultimeterDisplay::copyAsDouble);
    if (options && settingsAction) {
        menu->addSeparator();
        menu->addAction(settingsAction);
    }
}

void MultimeterDisplay::toolButtonHoldChanged()
{
    model.setHold(ui->toolButtonHold->isChecked());
}

void MultimeterDisplay::toolButtonClearChanged()
{
    clearExtreme();
}

void MultimeterDisplay::toolButtonExtendChanged()
{
    model.setExtendedEnabled(ui->toolButtonExtend->isChecked());
    showValue();
}

void MultimeterDisplay::toolButtonOffsetChanged()
{
    enableOffset(ui->toolButtonOffset->isChecked(), model.value());
}

void MultimeterDisplay::onLineEditBaseReturnPressed()
{
    setOffsetBase(model.parseOffsetBase(lineEditBase->text()));
    lineEditBase->hide();
}

void MultimeterDisplay::onLineEditBaseEditingFinished()
{
    lineEditBase->hide();
}

void MultimeterDisplay::prepareToolButton(QPushButton *button, const QString &text)
{
    button->setMinimumSize(90, 14);
    button->setChecked(false);
    button->setText(text);
    button->hide();
    button->setStyleSheet(QLatin1String(buttonStyleSheet));
}

void MultimeterDisplay::addContexMenu()
{
    ui->output->setContextMenuPolicy(Qt::CustomContextMenu);
    if (contextMenuEnabled)
        connect(ui->output, &QWidget::customContextMenuRequested, this, &MultimeterDisplay::showContextMenu,
                Qt::UniqueConnection);
    else
        disconnect(ui->output, &QWidget::customContextMenuRequested, this, &MultimeterDisplay::showContextMenu);
}

void MultimeterDisplay::showValue()
{
    ui->labelValue->setText(model.valueText());
    if (model.showsMark())
        return;
    showExtreme();
    showAccuracy();
    if (bargraphEnabled)
        ui->bargraph->setValue(model.value());
}

void MultimeterDisplay::showExtreme()
{
    const bool enabled = model.extremeEnabled();
    ui->labelValueMin->setVisible(enabled);
    ui->labelValueMax->setVisible(enabled);
    if (!enabled)
        return;
    ui->labelValueMin->setText(model.extremeMinText());
    ui->labelValueMax->setText(model.extremeMaxText());
}

void MultimeterDisplay::showAccuracy()
{
    if (!model.accuracyVisible()) {
        ui->labelAccuracy->hide();
        return;
    }
    ui->labelAccuracy->setText(model.accuracyText());
    ui->labelAccuracy->show();
}

void MultimeterDisplay::showUnit()
{
    ui->labelUnit->setText(model.getCurrentUnit());
}

void MultimeterDisplay::showRangeExceeded(int status)
{
    ui->labelRangeOver->hide();
    ui->labelRangeIn->hide();
    ui->labelRangeBelow->hide();
    if (status < 0)
        ui->labelRangeBelow->show();
    else if (status > 0)
        ui->labelRangeOver->show();
    else
        ui->labelRangeIn->show();
    if (model.checkRangeEnabled())
        emit rangeExceeded(status);
}

void MultimeterDisplay::showAlarm(int level)
{
    QString color = backgroundColor;
    if (model.alarmEnabled() && level == 1)
        color = warningColor;
    else if (model.alarmEnabled() && level == 2)
        color = criticalColor;
    setBackgroundColor(color);
}

void MultimeterDisplay::setPolicyRetain()
{
    sideLabelPolicy.setRetainSizeWhenHidden(buttonsEnabled || model.extremeEnabled());
    applyPolicy(sideLabelPolicy);
}

void MultimeterDisplay::applyPolicy(const QSizePolicy &policy)
{
    ui->labelValueMin->setSizePolicy(policy);
    ui->labelValueMax->setSizePolicy(policy);
    ui->labelOffsetBase->setSizePolicy(policy);
}

QSize MultimeterDisplay::getLayoutSpace(const QFont &font) const
{
    const QFontMetrics metrics(font);
    return QSize(metrics.horizontalAdvance(QLatin1Char('0')), metrics.height());
}

void MultimeterDisplay::scaleLayout()
{
    const QSize space = getLayoutSpace(valueFont);
    const int w = space.width();
    const int h = space.height();

    ui->layoutOutput->setSpacing(h / 10);
    ui->layoutOutput->setStretch(0, 10);
    ui->layoutOutput->setStretch(1, 50);
    ui->layoutOutput->setStretch(2, 10);
    ui->layoutOutput->setStretch(3, 10);
    ui->layoutTop->setSpacing(w / 4);
    ui->layoutCentral->setContentsMargins(w / 2, 0, w / 2, 0);
    ui->layoutCentral->setSpacing(w / 2);

    loadRangePixmap(space);
    ui->labelRangeOver->setPixmap(pixmapRangeOver);
    ui->labelRangeIn->setPixmap(pixmapRangeIn);
    ui->labelRangeBelow->setPixmap(pixmapRangeBelow);

    scaleLayoutSpacing();
    refreshStretch(labelText.isEmpty() ? 0 : stretchLabel, stretchValue, stretchUnit,
                   model.accuracyVisible() ? stretchAccuracy : 0);
}

void MultimeterDisplay::scaleLayoutSpacing()
{
    ui->layout->setSpacing(labelText.isEmpty() ? 0 : getLayoutSpace(valueFont).width());
}

void MultimeterDisplay::refreshStretch(int label, int value, int unit, int accuracy)
{
    ui->layout->setStretchFactor(ui->labelLabel, label);
    ui->layout->setStretchFactor(ui->output, value + unit + accuracy);
    ui->layoutCentral->setStretchFactor(ui->layoutIndicator, static_cast<int>((value + unit) * 0.1));
    ui->layoutCentral->setStretchFactor(ui->labelValue, value);
    ui->layoutCentral->setStretchFactor(ui->labelUnit, unit);
    ui->layoutCentral->setStretchFactor(ui->labelAccuracy, accuracy);
}

void MultimeterDisplay::loadRangePixmap(const QSize &space)
{
    const int n = rangeIconSize(space.height());
    pixmapRangeBelow = loadIcon(QStringLiteral(":/icons/mmd_rangebelow_%1.png").arg(n));
    pixmapRangeOver = loadIcon(QStringLiteral(":/icons/mmd_rangeover_%1.png").arg(n));
    const QPixmap inRange = loadIcon(QStringLiteral(":/icons/mmd_rangein.png"));
    pixmapRangeIn = inRange.isNull()
        ? QPixmap()
        : inRange.scaled(2 * n, n, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}
