#include "veskinterface.h"

void VeskInterface::on_radioButtonSniffNormal_clicked()
{
    // Filled in by the protocol sniffer's run controls.
}

void VeskInterface::on_radioButtonSniffSingle_clicked()
{
    // Filled in by the protocol sniffer's run controls.
}

void VeskInterface::on_checkBoxASCII_clicked()
{
    // Filled in by the protocol sniffer's run controls.
}

void VeskInterface::on_checkBoxCircular_clicked()
{
    // Filled in by the protocol sniffer's run controls.
}

void VeskInterface::on_startSnifferButton_clicked()
{
    // Filled in by the protocol sniffer's run controls.
}

void VeskInterface::on_pauseSnifferButton_clicked()
{
    // Filled in by the protocol sniffer's run controls.
}

void VeskInterface::on_pushButtonSnifferClear_clicked()
{
    // Filled in by the protocol sniffer's run controls.
}

void VeskInterface::on_protocolTabWidget_currentChanged(int)
{
    // Filled in by the protocol sniffer's bus selection.
}

void VeskInterface::on_comboBoxSniffSSINV_currentIndexChanged(int)
{
    // Filled in by the SPI settings.
}

void VeskInterface::on_comboBoxCPOL_currentIndexChanged(int)
{
    // Filled in by the SPI settings.
}

void VeskInterface::on_comboBoxCPHA_currentIndexChanged(int)
{
    // Filled in by the SPI settings.
}

void VeskInterface::on_comboBoxBaud_currentIndexChanged(int)
{
    // Filled in by the UART settings.
}

void VeskInterface::on_comboBoxUARTData_currentIndexChanged(int)
{
    // Filled in by the UART settings.
}

void VeskInterface::on_comboBoxParity_currentIndexChanged(int)
{
    // Filled in by the UART settings.
}

void VeskInterface::on_comboBoxStopBits_currentIndexChanged(int)
{
    // Filled in by the UART settings.
}

void VeskInterface::on_checkBoxSynchro_clicked()
{
    // Filled in by the UART settings.
}

void VeskInterface::on_checkBoxSniffParallelInputInvert_clicked()
{
    // Filled in by the parallel bus settings.
}

void VeskInterface::on_comboBoxSniffParallelStrobe_currentIndexChanged(int)
{
    // Filled in by the parallel bus settings.
}
