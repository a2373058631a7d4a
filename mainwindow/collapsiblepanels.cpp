// The collapsible sections of the docks: a header announces its fold state,
// the window shows or hides the section's frame below it.
#include "veskinterface.h"
#include "ui_veskinterface.h"

void VeskInterface::on_collapsiblePanelAWGWaveform_collapsedChanged(bool collapsed)
{
    ui->frameAWGWaveform->setVisible(!collapsed);
    // The folded header shows the chosen wave in place of the section.
    ui->collapsiblePanelAWGWaveform->setTextVisible(collapsed);
}

void VeskInterface::on_collapsiblePanelAWGFrequency_collapsedChanged(bool collapsed)
{
    ui->frameAWGFrequency->setVisible(!collapsed);
    ui->collapsiblePanelAWGFrequency->setTextVisible(collapsed);
}

void VeskInterface::on_collapsiblePanelAWGLevels_collapsedChanged(bool collapsed)
{
    ui->frameAWGLevels->setVisible(!collapsed);
}

void VeskInterface::on_collapsiblePanelAWGSweep_collapsedChanged(bool collapsed)
{
    ui->frameAWGSweep->setVisible(!collapsed);
}

void VeskInterface::on_collapsiblePanelScopeCursors_collapsedChanged(bool collapsed)
{
    ui->frameScopeCursors->setVisible(!collapsed);
}

void VeskInterface::on_collapsiblePanelScopeDisplay_collapsedChanged(bool collapsed)
{
    ui->frameScopeDisplay->setVisible(!collapsed);
}

void VeskInterface::on_collapsiblePanelScopeRecord_collapsedChanged(bool collapsed)
{
    ui->frameScopeRecord->setVisible(!collapsed);
}
