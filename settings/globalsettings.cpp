#include "globalsettings.h"
#include "ui_globalsettings.h"

#include "globaloptions.h"

GlobalSettings::GlobalSettings(QWidget *parent, GlobalOptions *options)
    : QWidget(parent)
    , ui(new Ui::GlobalSettings)
    , options(options)
{
    ui->setupUi(this);
    loadOptions();
}

GlobalSettings::~GlobalSettings()
{
    delete ui;
}

// The scale factors come from the screen, not from the user: nothing to show.
void GlobalSettings::loadOptions()
{
}

void GlobalSettings::applyOptions()
{
}
