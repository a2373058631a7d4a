#include "customtheme.h"
#include "ui_customtheme.h"

#include "stylesheet.h"
#include "windowplacement.h"

#include <QColorDialog>
#include <QDebug>
#include <QPixmap>
#include <QSettings>

namespace {

const QString themeSetKey = QStringLiteral("isThemeSet");
constexpr int themeSetMark = 509;
const char *const colorNameProperty = "colorName";

struct StoredColor
{
    QString key;
    QString name;
};

// The stored keys in the order they are written, with the table entry each holds.
QVector<StoredColor> storedColors()
{
    QVector<StoredColor> keys = {{QStringLiteral("ch1"), QStringLiteral("CH1")},
                                 {QStringLiteral("ch2"), QStringLiteral("CH2")},
                                 {QStringLiteral("ch1ref"), QStringLiteral("CH1 REF")},
                                 {QStringLiteral("ch2ref"), QStringLiteral("CH2 REF")}};
    for (int i = 0; i < 8; ++i) {
        keys.append({QStringLiteral("bit%1").arg(i), QStringLiteral("BIT %1").arg(i)});
        keys.append({QStringLiteral("bitref%1").arg(i), QStringLiteral("BIT %1 REF").arg(i)});
    }
    keys.append({{QStringLiteral("ch1fft"), QStringLiteral("CH1 FFT")},
                 {QStringLiteral("ch2fft"), QStringLiteral("CH2 FFT")},
                 {QStringLiteral("axes"), QStringLiteral("AXES")},
                 {QStringLiteral("grid"), QStringLiteral("GRID")},
                 {QStringLiteral("label"), QStringLiteral("LABELS")},
                 {QStringLiteral("background"), QStringLiteral("BACKGROUND")}});
    return keys;
}

} // namespace

CustomTheme::CustomTheme(QWidget *parent)
    : QDialog(parent),
      ui(new Ui_CustomTheme)
{
    ui->setupUi(this);
    setFixedSize(size());
    // Title bar with a close button only; the dialog type is kept so that the
    // window stays a dialog should it ever be given a parent.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    colorDialog = new QColorDialog;
    prepareButtons();
    loadTheme();
    setStyleSheet(StyleSheet::fromResource(QStringLiteral(":/themes/theme-win.qss")));
}

CustomTheme::~CustomTheme()
{
    delete colorDialog;
    delete ui;
}

CustomColors *CustomTheme::colors()
{
    return &customColors;
}

void CustomTheme::prepareButtons()
{
    const QList<QPushButton *> buttons = {
        ui->ch1Button, ui->ch1RefButton, ui->ch1FftButton, ui->ch2Button, ui->ch2RefButton, ui->ch2FftButton,
        ui->gridButton, ui->axesButton,
        ui->bit0Button, ui->bit1Button, ui->bit2Button, ui->bit3Button,
        ui->bit4Button, ui->bit5Button, ui->bit6Button, ui->bit7Button,
        ui->bit0RefButton, ui->bit1RefButton, ui->bit2RefButton, ui->bit3RefButton,
        ui->bit4RefButton, ui->bit5RefButton, ui->bit6RefButton, ui->bit7RefButton,
        ui->backgroundButton, ui->labelButton};
    for (QPushButton *button : buttons) {
        // The entry is fixed now: a platform theme may later add accelerator
        // marks to the visible text.
        button->setProperty(colorNameProperty, button->text());
        button->setLayoutDirection(Qt::RightToLeft); // swatch right of the text
        buttonGroup.addButton(button);
    }
    connect(&buttonGroup, qOverload<QAbstractButton *>(&QButtonGroup::buttonClicked), this,
            &CustomTheme::onButtonClicked);
}

QString CustomTheme::colorName(QAbstractButton *button)
{
    return button->property(colorNameProperty).toString();
}

void CustomTheme::onButtonClicked(QAbstractButton *button)
{
    const QString name = colorName(button);
    colorDialog->setCurrentColor(customColors.colorAt(name));
    // Without a parent of its own it would open on whichever screen Qt picks.
    WindowPlacement::place(colorDialog, this);
    if (colorDialog->exec() == QDialog::Rejected)
        return;
    const QColor picked = colorDialog->currentColor();
    customColors.setColor(name, picked);
    button->setIcon(prepareIcon(picked));
}

void CustomTheme::on_applyButton_clicked()
{
    // Stored at once, so the colours survive the next opening and a restart.
    saveTheme();
    emit applyCustomTheme(2, &customColors);
    close();
}

void CustomTheme::on_cancelButton_clicked()
{
    close();
}

void CustomTheme::colorizeButtons()
{
    for (QAbstractButton *button : buttonGroup.buttons())
        button->setIcon(prepareIcon(customColors.colorAt(colorName(button))));
}

void CustomTheme::loadDefaultTheme()
{
    const QColor green(75, 229, 28);
    customColors.ch1 = green;
    customColors.ch2 = Qt::red;
    customColors.ch1ref = Qt::red;
    customColors.ch2ref = green;
    for (int k = 0; k < 8; ++k) {
        customColors.bit[k] = QColor(255 - 10 * k, 4 + 10 * k, 4);
        customColors.bitref[k] = Qt::blue;
    }
    customColors.ch1fft = green;
    customColors.ch2fft = Qt::red;
    customColors.axes = Qt::white;
    customColors.grid = QColor(140, 140, 140);
    customColors.label = green;
    customColors.background = QBrush(Qt::black, Qt::SolidPattern);
    colorizeButtons();
}

void CustomTheme::loadTheme()
{
    // Every entry starts from its default, so a store that lacks a key or
    // holds something that is no colour still gives a complete table.
    loadDefaultTheme();
    if (!hasStoredTheme())
        return;
    QSettings settings;
    for (const StoredColor &stored : storedColors()) {
        if (!settings.contains(stored.key))
            continue;
        const QString text = settings.value(stored.key).toString();
        const QColor color(text);
        if (color.isValid())
            customColors.setColor(stored.name, color);
        else
            qWarning().noquote() << "Custom theme: stored" << stored.key << "holds" << text
                                 << "which is no colour; using the default";
    }
    colorizeButtons();
}

bool CustomTheme::hasStoredTheme()
{
    return QSettings().value(themeSetKey, 0).toInt() == themeSetMark;
}

void CustomTheme::saveTheme()
{
    QSettings settings;
    for (const StoredColor &stored : storedColors())
        settings.setValue(stored.key, customColors.colorAt(stored.name).name());
    settings.setValue(themeSetKey, themeSetMark);
}

QIcon CustomTheme::prepareIcon(const QColor &color)
{
    QPixmap pixmap(24, 24);
    pixmap.fill(color);
    return QIcon(pixmap);
}

QString CustomTheme::idealForegroundColor(const QColor &color)
{
    const int luma = static_cast<int>(0.299 * color.red() + 0.587 * color.green() + 0.114 * color.blue());
    return QColor(255 - luma > 104 ? Qt::white : Qt::black).name();
}
