#include "pythonconsolesettings.h"
#include "ui_pythonconsolesettings.h"

#include "pythonconsoleoptions.h"

#include <QColorDialog>

PythonConsoleSettings::PythonConsoleSettings(QWidget *parent, PythonConsoleOptions *options)
    : QWidget(parent)
    , ui(new Ui::PythonConsoleSettings)
    , consoleOptions(options)
{
    ui->setupUi(this);
    ui->colorButtonBackgroundColor->setIconSize(colorIconSize);
    ui->colorButtonForegroundColor->setIconSize(colorIconSize);
    loadOptions();
}

PythonConsoleSettings::~PythonConsoleSettings()
{
    delete ui;
}

void PythonConsoleSettings::loadOptions()
{
    const PythonConsoleOptions &o = *consoleOptions;
    ui->spinBoxDefaultConsoleWidth->setRange(o.sizeWidthMinimum,
                                             o.sizeWidthMaximum != 0 ? o.sizeWidthMaximum : spinBoxUnlimited);
    ui->spinBoxDefaultConsoleHeight->setRange(o.sizeHeightMinimum,
                                              o.sizeHeightMaximum != 0 ? o.sizeHeightMaximum : spinBoxUnlimited);
    ui->spinBoxDefaultConsoleWidth->setValue(o.sizeWidthDefault);
    ui->spinBoxDefaultConsoleHeight->setValue(o.sizeHeightDefault);
    ui->checkBoxRestoreSize->setChecked(o.restoreSize);
    ui->colorButtonBackgroundColor->setCurrentColor(QColor(o.backgroundColorName));
    ui->colorButtonForegroundColor->setCurrentColor(QColor(o.colorName));

    // A size the list does not offer shows as "10".
    const int index = ui->comboBoxFontSize->findText(QString::number(o.fontSize),
                                                     Qt::MatchExactly | Qt::MatchCaseSensitive);
    ui->comboBoxFontSize->setCurrentIndex(index >= 0 ? index : 2);
    ui->fontComboBoxFamily->setCurrentFont(QFont(o.fontFamily));
    shownFontFamily = ui->fontComboBoxFamily->currentFont().family();
}

void PythonConsoleSettings::applyOptions()
{
    PythonConsoleOptions &o = *consoleOptions;
    o.sizeWidthDefault = ui->spinBoxDefaultConsoleWidth->value();
    o.sizeHeightDefault = ui->spinBoxDefaultConsoleHeight->value();
    o.restoreSize = ui->checkBoxRestoreSize->isChecked();
    o.backgroundColorName = ui->colorButtonBackgroundColor->currentColor().name();
    o.colorName = ui->colorButtonForegroundColor->currentColor().name();
    // The combo lists only installed monospaced fonts; a stored family it
    // cannot show stays unless the user picked another one.
    const QString family = ui->fontComboBoxFamily->currentFont().family();
    if (family != shownFontFamily)
        o.fontFamily = family;
    o.fontSize = ui->comboBoxFontSize->currentText().toInt();
}

void PythonConsoleSettings::on_colorButtonBackgroundColor_clicked()
{
    chooseColor(ui->colorButtonBackgroundColor);
}

void PythonConsoleSettings::on_colorButtonForegroundColor_clicked()
{
    chooseColor(ui->colorButtonForegroundColor);
}

void PythonConsoleSettings::chooseColor(ColorButton *button)
{
    QColorDialog dialog(button->currentColor(), this);
    if (dialog.exec() == QDialog::Accepted)
        button->setCurrentColor(dialog.currentColor());
}
