// The protocol sniffer's view of the receive buffer: the newest sniffer
// frame becomes the text of the protocol's panes and the fill bar.
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "protocol.h"
#include "snifferframecheck.h"
#include "snifferprinter.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>

void VeskInterface::sniffDataShow()
{
    LibUsbDevice &device = libUsbDevice;
    // Each read is looked at once: a read that stays in the buffer would
    // otherwise be judged, and logged, again on every tick.
    if (!device.dataReady)
        return;
    device.dataReady = false;

    const SnifferFrameCheck::Result result =
        SnifferFrameCheck::check(device.receiveBuffer, device.receivedCount, LibUsbDevice::ReceiveBufferSize);
    if (result.verdict != SnifferFrameCheck::Verdict::Accepted) {
        if (!result.message.isEmpty())
            logToFile(result.message, 2);
        return;
    }
    const sniffconfig_t &header = result.header;
    if (header.frameNumber == sniffLastSequence) {
        logToFile(QStringLiteral("Sniffer, same data, nothing to do"), 1);
        return;
    }
    sniffLastSequence = header.frameNumber;
    // Paused: the frame counts as seen, the panes and the bar stay as they are.
    if (ui->pauseSnifferButton->isChecked())
        return;

    QProgressBar *bar = ui->progressBarSnifferBufferFill;
    const int ringSize = SnifferFrameCheck::ringSize(header.protocol);
    const int fullIndex = ringSize > 0 ? ringSize - 1 : bar->maximum();
    sniffRings.update(header.writeIndex1, header.writeIndex2, ui->checkBoxCircular->isChecked(), fullIndex);
    sniffShownFrame = QByteArray(reinterpret_cast<const char *>(device.receiveBuffer), device.receivedCount);
    sniffShownRings = sniffRings;
    sniffFramePrint();
    if (ringSize > 0)
        bar->setMaximum(fullIndex);
    // A full ring's index is one past the last slot; the bar ignores values
    // beyond its range, so it would stick short of full.
    bar->setValue(qMin(sniffRings.progress(), bar->maximum()));
}

void VeskInterface::sniffFramePrint()
{
    if (sniffShownFrame.isEmpty())
        return;
    const auto *frame = reinterpret_cast<const uint8_t *>(sniffShownFrame.constData());
    // The frame passed this check when it was taken; the header comes from it.
    const sniffconfig_t header =
        SnifferFrameCheck::check(frame, sniffShownFrame.size(), LibUsbDevice::ReceiveBufferSize).header;
    SnifferPrinter::Format format;
    format.ascii = ui->checkBoxASCII->isChecked();
    format.synchronised = ui->checkBoxSynchro->isChecked();
    format.circular = ui->checkBoxCircular->isChecked();

    // The check guarantees the largest layout, so every ring lies inside the read.
    switch (header.protocol) {
    case PROTOCOL_UART:
        sniffPaneShow(ui->rxTextEdit,
                      SnifferPrinter::serial(frame + SNIFF_UART_RX_OFFSET, frame + SNIFF_UART_FLAGS_OFFSET,
                                             SNIFF_UART_FLAG_RX, header.writeIndex1,
                                             sniffShownRings.ring1FromStart(), format));
        sniffPaneShow(ui->txTextEdit,
                      SnifferPrinter::serial(frame + SNIFF_UART_TX_OFFSET, frame + SNIFF_UART_FLAGS_OFFSET,
                                             SNIFF_UART_FLAG_TX, header.writeIndex2,
                                             sniffShownRings.ring2FromStart(), format));
        break;
    case PROTOCOL_SPI:
        sniffPaneShow(ui->mosiTextEdit,
                      SnifferPrinter::plain(frame + SNIFF_SPI_MOSI_OFFSET, SNIFF_SPI_RING_SIZE, header.writeIndex1,
                                            sniffShownRings.ring1FromStart(), format));
        sniffPaneShow(ui->misoTextEdit,
                      SnifferPrinter::plain(frame + SNIFF_SPI_MISO_OFFSET, SNIFF_SPI_RING_SIZE, header.writeIndex2,
                                            sniffShownRings.ring2FromStart(), format));
        break;
    case PROTOCOL_I2C:
        sniffPaneShow(ui->i2cPlainTextEdit,
                      SnifferPrinter::i2c(frame + SNIFF_I2C_DATA_OFFSET, frame + SNIFF_I2C_FLAGS_OFFSET,
                                          header.writeIndex1, format));
        break;
    case PROTOCOL_PARALLEL:
        sniffPaneShow(ui->plainTextEditParallel,
                      SnifferPrinter::plain(frame + SNIFF_PARALLEL_DATA_OFFSET, SNIFF_PARALLEL_RING_SIZE,
                                            header.writeIndex1, sniffShownRings.ring1FromStart(), format));
        break;
    default:
        break;
    }
}

void VeskInterface::sniffPaneShow(QPlainTextEdit *pane, const QString &text)
{
    // The pane always holds one frame's rings, never more, so its size stays bounded.
    pane->setPlainText(text);
    QScrollBar *scrollBar = pane->verticalScrollBar();
    scrollBar->setValue(scrollBar->maximum());
}
