// The acquisition data path: the 4 ms tick and the frame cache.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "protocol.h"

void VeskInterface::dataShow()
{
    switch (mainMode) {
    case MODE_SCOPE:
        scopeDataShow();
        break;
    case MODE_SNIFFER:
        sniffDataShow();
        break;
    default:
        break;
    }
}

void VeskInterface::scopeDataShow()
{
    // Frame processing comes with the oscilloscope traces.
}

void VeskInterface::scopeInitDatacache()
{
    const bool ch1 = ui->checkBoxCH1Trace->isChecked();
    const bool ch2 = ui->checkBoxCH2Trace->isChecked();
    const bool logic = ui->checkBoxCHDTrace->isChecked();
    frameconfig_t header{};
    header.frameType = ScopeFrame::frameTag;
    header.frameNumber = 0;
    header.channelMask = (ch1 ? ScopeFrame::maskCh1 : 0) | (ch2 ? ScopeFrame::maskCh2 : 0)
                         | (logic ? ScopeFrame::maskLogic : 0);
    header.analogMask = (ch1 ? ScopeFrame::maskCh1 : 0) | (ch2 ? ScopeFrame::maskCh2 : 0);
    header.samplesPerChannel = static_cast<uint16_t>((ui->comboBoxADCBuffer->currentIndex() + 1) * ScopeFrame::blockSamples);
    header.timeBase = static_cast<uint8_t>(ui->samplingSlider->value());
    header.startIndex = 0;
    ScopeFrame::writeHeader(header, frameCache);
}
