#include "scopeframefeeder.h"

#include "scopeframe.h"
#include "scopeframecheck.h"
#include "ui_veskinterface.h"
#include "veskinterface.h"

#include <QSettings>
#include <QSignalBlocker>
#include <QtTest>
#include <vector>

namespace ScopeFrameFeeder
{
QByteArray makeFrame(const FrameRecipe &recipe)
{
    frameconfig_t header = ScopeFrameCheck::emptyHeader(recipe.ch1, recipe.ch2, recipe.logic, recipe.blocks - 1,
                                                        recipe.timeBase);
    header.startIndex = uint16_t(recipe.startIndex);
    header.frameNumber = uint16_t(recipe.frameNumber);
    const int n = header.samplesPerChannel;
    std::vector<unsigned char> bytes(ScopeFrame::frameLength(std::size_t(n), header.channelMask));
    unsigned char *data = bytes.data();
    ScopeFrame::writeHeader(header, data);
    for (int i = 0; i < n; ++i) {
        if (recipe.ch1)
            data[ScopeFrame::ch1BlockOffset() + i] = uint8_t(recipe.ch1Sample(i));
        if (recipe.ch2)
            data[ScopeFrame::ch2BlockOffset(n, header.channelMask) + i] = uint8_t(recipe.ch2Sample(i));
        if (recipe.logic)
            data[ScopeFrame::logicBlockOffset(n, header.channelMask) + i] = uint8_t(recipe.logicByte(i));
    }
    if (recipe.ch1 && recipe.ch1Record)
        ScopeFrame::writeRecord(*recipe.ch1Record, data + ScopeFrame::ch1RecordOffset(std::size_t(n), header.channelMask));
    if (recipe.ch2 && recipe.ch2Record)
        ScopeFrame::writeRecord(*recipe.ch2Record, data + ScopeFrame::ch2RecordOffset(std::size_t(n), header.channelMask));
    return QByteArray(reinterpret_cast<const char *>(data), int(bytes.size()));
}

void storeBlocks(int blocks)
{
    QSettings settings;
    settings.setValue(QStringLiteral("Buffers/ADC"), blocks - 1);
    settings.sync();
}

void configure(VeskInterface &w, const FrameRecipe &recipe)
{
    w.mainMode = 0;
    w.ui->checkBoxCH1Trace->setChecked(recipe.ch1);
    w.ui->checkBoxCH2Trace->setChecked(recipe.ch2);
    w.ui->checkBoxCHDTrace->setChecked(recipe.logic);
    QComboBox *buffer = w.ui->comboBoxADCBuffer;
    const QSignalBlocker blocker(buffer);
    while (buffer->count() < recipe.blocks)
        buffer->addItem(QString::number(256 * (buffer->count() + 1)));
    buffer->setCurrentIndex(recipe.blocks - 1);
    for (bool &enabled : w.chdBitEnabled)
        enabled = true;
    w.ui->ch1PositionSlider->setValue(0);
    w.ui->ch2PositionSlider->setValue(0);
    // Start-up asks for one redraw of the empty cache; the tests start idle.
    w.replotRequest = false;
}

void deliver(VeskInterface &w, const QByteArray &bytes)
{
    w.libUsbDevice.receiveBuffer = reinterpret_cast<const unsigned char *>(bytes.constData());
    w.libUsbDevice.receivedCount = bytes.size();
    w.libUsbDevice.dataReady = true;
}

void tick(VeskInterface &w)
{
    QVERIFY(QMetaObject::invokeMethod(&w, "dataShow", Qt::DirectConnection));
}
}
