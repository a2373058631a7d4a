#include "scopesettings.h"
#include "ui_scopesettings.h"

#include "scopeoptions.h"

ScopeSettings::ScopeSettings(QWidget *parent, ScopeOptions *options)
    : QWidget(parent)
    , ui(new Ui::ScopeSettings)
    , options(options)
{
    ui->setupUi(this);
    loadOptions();
}

ScopeSettings::~ScopeSettings()
{
    delete ui;
}

void ScopeSettings::loadOptions()
{
    // An index no combo box offers would leave it blank, and Apply would copy -1 back.
    const auto show = [](QComboBox *box, int index) { box->setCurrentIndex(qBound(0, index, box->count() - 1)); };
    show(ui->comboBox, options->logicLabelPosition);
    show(ui->comboBoxGridStyle, options->gridStyle);
    show(ui->comboBoxTheme, options->theme);
}

void ScopeSettings::applyOptions()
{
    options->logicLabelPosition = ui->comboBox->currentIndex();
    options->gridStyle = ui->comboBoxGridStyle->currentIndex();
    options->theme = ui->comboBoxTheme->currentIndex();
}
