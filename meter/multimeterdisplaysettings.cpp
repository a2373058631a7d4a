#include "multimeterdisplaysettings.h"
#include "ui_multimeterdisplaysettings.h"

#include "multimeterdisplayoptions.h"

#include <QColorDialog>

MultimeterDisplaySettings::MultimeterDisplaySettings(QWidget *parent, MultimeterDisplayOptions *options)
    : QWidget(parent)
    , ui(new Ui::MultimeterDisplaySettings)
    , options(options)
{
    ui->setupUi(this);
    const QSize swatch(44, 12);
    ui->pushButtonBackgroundColor->setIconSize(swatch);
    ui->pushButtonForegroundColor->setIconSize(swatch);
    ui->pushButtonWarningColor->setIconSize(swatch);
    ui->pushButtonCriticalColor->setIconSize(swatch);
    loadOptions();
}

MultimeterDisplaySettings::~MultimeterDisplaySettings()
{
    delete ui;
}

void MultimeterDisplaySettings::loadOptions()
{
    ui->fontComboBoxValueFontFamily->setCurrentFont(QFont(options->valueFontFamily));
    ui->labelFontFamilyComboBox->setCurrentFont(QFont(options->labelFontFamily));

    ui->pushButtonBackgroundColor->setCurrentColor(QColor(options->backgroundColorName));
    ui->pushButtonForegroundColor->setCurrentColor(QColor(options->foregroundColorName));
    ui->pushButtonWarningColor->setCurrentColor(QColor(options->warningColorName));
    ui->pushButtonCriticalColor->setCurrentColor(QColor(options->criticalColorName));

    // A stored count the list does not offer shows as "2".
    const int index = ui->comboBoxExtendPrecision->findText(QString::number(options->extendPrecision),
                                                            Qt::MatchExactly | Qt::MatchCaseSensitive);
    ui->comboBoxExtendPrecision->setCurrentIndex(index >= 0 ? index : 1);

    ui->checkBoxAppendLabel->setChecked(options->appendLabel);
    ui->checkBoxAppenNewLine->setChecked(options->appendNewLine);
}

void MultimeterDisplaySettings::applyOptions()
{
    options->valueFontFamily = ui->fontComboBoxValueFontFamily->currentFont().family();
    options->labelFontFamily = ui->labelFontFamilyComboBox->currentFont().family();
    options->backgroundColorName = ui->pushButtonBackgroundColor->currentColor().name();
    options->foregroundColorName = ui->pushButtonForegroundColor->currentColor().name();
    options->warningColorName = ui->pushButtonWarningColor->currentColor().name();
    options->criticalColorName = ui->pushButtonCriticalColor->currentColor().name();
    options->extendPrecision = ui->comboBoxExtendPrecision->currentText().toInt();
    options->appendLabel = ui->checkBoxAppendLabel->isChecked();
    options->appendNewLine = ui->checkBoxAppenNewLine->isChecked();
}

void MultimeterDisplaySettings::on_pushButtonBackgroundColor_clicked()
{
    chooseColor(ui->pushButtonBackgroundColor);
}

void MultimeterDisplaySettings::on_pushButtonForegroundColor_clicked()
{
    chooseColor(ui->pushButtonForegroundColor);
}

void MultimeterDisplaySettings::on_pushButtonWarningColor_clicked()
{
    chooseColor(ui->pushButtonWarningColor);
}

void MultimeterDisplaySettings::on_pushButtonCriticalColor_clicked()
{
    chooseColor(ui->pushButtonCriticalColor);
}

void MultimeterDisplaySettings::chooseColor(ColorButton *button)
{
    QColorDialog dialog(button->currentColor(), this);
    if (dialog.exec() == QDialog::Accepted)
        button->setCurrentColor(dialog.selectedColor());
}
