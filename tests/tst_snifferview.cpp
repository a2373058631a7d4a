// Sniffer frames through the window without an instrument: which reads are
// taken, which are logged, what each protocol's panes and the fill bar show,
// pause, circular mode, and the run panel's states.
#include "testmain.h"

#include "logcapture.h"
#include "protocol.h"
#include "sniffframe.h"
#include "ui_veskinterface.h"
#include "veskinterface.h"

#include <QPlainTextEdit>
#include <QProgressBar>

#include <memory>
#include <vector>

namespace {

const QString notValid = QStringLiteral("Sniffer, frame header not valid");
const QString sameData = QStringLiteral("Sniffer, same data, nothing to do");

// A sniffer frame of the largest layout; ring bytes are set by the caller.
std::vector<uint8_t> snifferFrame(int number, int protocol, int writeIndex1, int writeIndex2,
                                  int length = SNIFF_FRAME_MIN_LENGTH)
{
    std::vector<uint8_t> frame(size_t(length), 0);
    frame[0] = SNIFF_FRAME_TYPE;
    frame[1] = uint8_t(number);
    frame[2] = uint8_t(number >> 8);
    frame[3] = uint8_t(protocol);
    frame[4] = uint8_t(writeIndex1);
    frame[5] = uint8_t(writeIndex1 >> 8);
    frame[6] = uint8_t(writeIndex2);
    frame[7] = uint8_t(writeIndex2 >> 8);
    return frame;
}

} // namespace

class TestSnifferView : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<VeskInterface> window;
    std::vector<uint8_t> offered;

    // Hands a read over as the transport would, then lets the sniffer see it.
    void offer(const std::vector<uint8_t> &frame, int count = -1)
    {
        offered = frame;
        LibUsbDevice &device = window->libUsbDevice;
        device.receiveBuffer = offered.data();
        device.receivedCount = count < 0 ? int(offered.size()) : count;
        device.dataReady = true;
        window->sniffDataShow();
    }

    QString rx() const { return window->ui->rxTextEdit->toPlainText(); }
    QProgressBar *bar() const { return window->ui->progressBarSnifferBufferFill; }

private slots:
    void init()
    {
        window.reset(new VeskInterface);
        window->mainMode = MODE_SNIFFER;
        window->sniffControlsStartSet(QStringLiteral("START"));
    }

    void cleanup()
    {
        window->libUsbDevice.receiveBuffer = nullptr;
        window.reset();
    }

    void readsTakenOrRefused_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("count");     // byte count the transport reports
        QTest::addColumn<char>("type");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<QString>("shown");
        QTest::newRow("sniffer frame") << 4618 << 4618 << 'B' << QString() << "41 ";
        QTest::newRow("frame of the SPI length is not looked at") << 4106 << 4106 << 'B' << QString() << "";
        QTest::newRow("another frame type") << 7728 << 7728 << 'A' << notValid << "";
        QTest::newRow("count past the receive buffer") << 4618 << LibUsbDevice::ReceiveBufferSize + 1 << 'B'
                                                       << "Sniffer, frame of 16385 bytes exceeds the 16384-byte "
                                                          "receive buffer, dropped"
                                                       << "";
    }

    void readsTakenOrRefused()
    {
        QFETCH(int, length);
        QFETCH(int, count);
        QFETCH(char, type);
        QFETCH(QString, logged);
        QFETCH(QString, shown);

        std::vector<uint8_t> frame = snifferFrame(1, PROTOCOL_UART, 1, 0, length);
        frame[0] = uint8_t(type);
        frame[SNIFF_UART_RX_OFFSET] = 0x41;
        LogCapture log;
        // A count beyond the bytes handed over must not lead to reading them.
        offer(frame, count);
        // Ticks without a new read judge nothing again.
        for (int tick = 0; tick < 5; ++tick)
            window->sniffDataShow();
        QCOMPARE(rx(), shown);
        if (logged.isEmpty())
            QCOMPARE(log.messages().filter(QStringLiteral("Sniffer")), QStringList());
        else
            QCOMPARE(log.count(logged), 1);
    }

    void repeatedNumberOnlyLogs()
    {
        std::vector<uint8_t> frame = snifferFrame(7, PROTOCOL_UART, 1, 0);
        frame[SNIFF_UART_RX_OFFSET] = 0x41;
        offer(frame);
        QCOMPARE(rx(), QStringLiteral("41 "));

        frame[SNIFF_UART_RX_OFFSET] = 0x42;
        LogCapture log;
        offer(frame);
        QCOMPARE(rx(), QStringLiteral("41 "));
        QCOMPARE(log.count(sameData), 1);

        // The number survives a new run: the same number is still old news.
        window->sniffControlsStartSet(QStringLiteral("STOP"));
        window->sniffControlsStartSet(QStringLiteral("START"));
        offer(frame);
        QCOMPARE(rx(), QString());
        QCOMPARE(log.count(sameData), 2);
    }

    void protocolsReachTheirPanes_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QString>("texts");   // rx tx mosi miso i2c parallel, "|"-separated
        QTest::addColumn<int>("maximum");
        QTest::newRow("UART") << int(PROTOCOL_UART) << "11 |22 ||||" << 1535;
        QTest::newRow("SPI") << int(PROTOCOL_SPI) << "||33 |44 ||" << 2047;
        QTest::newRow("I2C") << int(PROTOCOL_I2C) << "||||55<A> |" << 2047;
        QTest::newRow("parallel") << int(PROTOCOL_PARALLEL) << "|||||66 " << 4095;
        QTest::newRow("unknown protocol") << 4 << "|||||" << 100;
    }

    void protocolsReachTheirPanes()
    {
        QFETCH(int, protocol);
        QFETCH(QString, texts);
        QFETCH(int, maximum);

        std::vector<uint8_t> frame = snifferFrame(1, protocol, 1, 1);
        // Each ring's first slot holds a byte that tells which ring it came from.
        switch (protocol) {
        case PROTOCOL_UART:
            frame[SNIFF_UART_RX_OFFSET] = 0x11;
            frame[SNIFF_UART_TX_OFFSET] = 0x22;
            frame[SNIFF_UART_FLAGS_OFFSET] = SNIFF_UART_FLAG_RX | SNIFF_UART_FLAG_TX;
            break;
        case PROTOCOL_SPI:
            frame[SNIFF_SPI_MOSI_OFFSET] = 0x33;
            frame[SNIFF_SPI_MISO_OFFSET] = 0x44;
            break;
        case PROTOCOL_I2C:
            frame[SNIFF_I2C_DATA_OFFSET] = 0x55;
            frame[SNIFF_I2C_FLAGS_OFFSET] = SNIFF_I2C_VALID | SNIFF_I2C_ACK;
            break;
        case PROTOCOL_PARALLEL:
            frame[SNIFF_PARALLEL_DATA_OFFSET] = 0x66;
            break;
        default:
            break;
        }
        const Ui_VeskInterface *ui = window->ui;
        const QList<QPlainTextEdit *> panes = {ui->rxTextEdit,       ui->txTextEdit,       ui->mosiTextEdit,
                                               ui->misoTextEdit,     ui->i2cPlainTextEdit, ui->plainTextEditParallel};
        offer(frame);
        QStringList shown;
        for (const QPlainTextEdit *pane : panes)
            shown << pane->toPlainText();
        QCOMPARE(shown.join(QLatin1Char('|')), texts);
        QCOMPARE(bar()->maximum(), maximum);
        // An unknown protocol prints nothing but still moves the bar.
        QCOMPARE(bar()->value(), 1);
    }

    void pauseFreezesTheView()
    {
        std::vector<uint8_t> frame = snifferFrame(1, PROTOCOL_UART, 1, 0);
        frame[SNIFF_UART_RX_OFFSET] = 0x41;
        offer(frame);

        window->ui->pauseSnifferButton->click();
        QVERIFY(window->ui->pauseSnifferButton->isChecked());
        frame = snifferFrame(2, PROTOCOL_UART, 2, 0);
        frame[SNIFF_UART_RX_OFFSET] = 0x41;
        frame[SNIFF_UART_RX_OFFSET + 1] = 0x42;
        offer(frame);
        QCOMPARE(rx(), QStringLiteral("41 "));
        QCOMPARE(bar()->value(), 1);

        // The frame seen while paused is not shown afterwards; the next new one is, in full.
        window->ui->pauseSnifferButton->click();
        LogCapture log;
        offer(frame);
        QCOMPARE(log.count(sameData), 1);
        QCOMPARE(rx(), QStringLiteral("41 "));
        frame[1] = 3;
        frame[4] = 3;
        frame[SNIFF_UART_RX_OFFSET + 2] = 0x43;
        offer(frame);
        QCOMPARE(rx(), QStringLiteral("41 42 43 "));
        QCOMPARE(bar()->value(), 3);
    }

    void circularRingWraps()
    {
        window->ui->checkBoxCircular->setChecked(true);
        std::vector<uint8_t> frame = snifferFrame(1, PROTOCOL_UART, 1500, 0);
        offer(frame);
        QCOMPARE(bar()->value(), 1500);
        QCOMPARE(rx().size(), 1500 * 3);

        // A smaller index: the receive ring wrapped, the transmit ring did not.
        frame = snifferFrame(2, PROTOCOL_UART, 100, 0);
        frame[SNIFF_UART_RX_OFFSET + 100] = 0x5a;
        frame[SNIFF_UART_RX_OFFSET + 99] = 0xa5;
        offer(frame);
        QCOMPARE(rx().size(), 1536 * 3);
        QVERIFY(rx().startsWith(QLatin1String("5a 00 ")));
        QVERIFY(rx().endsWith(QLatin1String(" a5 ")));
        QCOMPARE(window->ui->txTextEdit->toPlainText(), QString());
        QCOMPARE(bar()->value(), 1535);

        // Once wrapped it stays wrapped and full until the next start.
        frame = snifferFrame(3, PROTOCOL_UART, 200, 0);
        offer(frame);
        QCOMPARE(rx().size(), 1536 * 3);
        QCOMPARE(bar()->value(), 1535);

        window->sniffControlsStartSet(QStringLiteral("STOP"));
        window->ui->startSnifferButton->click();
        QCOMPARE(window->ui->startSnifferButton->text(), QStringLiteral("STOP"));
        offer(snifferFrame(4, PROTOCOL_UART, 10, 0));
        QCOMPARE(rx().size(), 10 * 3);
        QCOMPARE(bar()->value(), 10);
    }

    // After a stop the last frame is printed again when a format switch
    // changes; the ring tracking and the bar stay where the frame left them.
    // A start clears the panes and forgets the frame.
    void switchesReprintTheLastFrame()
    {
        std::vector<uint8_t> frame = snifferFrame(1, PROTOCOL_UART, 2, 0);
        frame[SNIFF_UART_RX_OFFSET] = 0x48;
        frame[SNIFF_UART_RX_OFFSET + 1] = 0x69;
        frame[SNIFF_UART_FLAGS_OFFSET] = frame[SNIFF_UART_FLAGS_OFFSET + 1] = SNIFF_UART_FLAG_RX;
        offer(frame);
        window->libUsbDevice.receiveBuffer = nullptr;
        offered.assign(offered.size(), 0xEE);
        QCOMPARE(rx(), QStringLiteral("48 69 "));
        window->sniffControlsStartSet(QStringLiteral("STOP"));

        window->ui->checkBoxASCII->click();
        QCOMPARE(rx(), QStringLiteral("H i "));
        window->ui->checkBoxCircular->click();
        QCOMPARE(rx(), QStringLiteral("H i "));
        QCOMPARE(bar()->value(), 2);
        window->ui->checkBoxASCII->click();
        QCOMPARE(rx(), QStringLiteral("48 69 "));

        window->sniffControlsStartSet(QStringLiteral("START"));
        window->ui->checkBoxASCII->click();
        QCOMPARE(rx(), QString());
    }

    // The stop button resets the ring tracking for the next run; the frame
    // on show keeps the state it was printed with, so after a wrapped
    // circular capture the panes follow the Circular switch both ways.
    void circularSwitchAfterAStop()
    {
        window->ui->checkBoxCircular->setChecked(true);
        offer(snifferFrame(1, PROTOCOL_UART, 1500, 0));
        std::vector<uint8_t> frame = snifferFrame(2, PROTOCOL_UART, 100, 0);
        frame[SNIFF_UART_RX_OFFSET + 100] = 0x5a;
        offer(frame);
        QCOMPARE(rx().size(), 1536 * 3);
        window->ui->startSnifferButton->click();
        QCOMPARE(window->ui->startSnifferButton->text(), QStringLiteral("START"));

        window->ui->checkBoxCircular->click();
        QCOMPARE(rx().size(), 100 * 3);
        window->ui->checkBoxCircular->click();
        QCOMPARE(rx().size(), 1536 * 3);
        QVERIFY(rx().startsWith(QLatin1String("5a 00 ")));
        QCOMPARE(bar()->value(), 1535);
    }

    void fullRingFillsTheBar()
    {
        // In normal mode a full ring's index is the ring size, one past the bar's maximum.
        offer(snifferFrame(1, PROTOCOL_SPI, 2048, 100));
        QCOMPARE(bar()->maximum(), 2047);
        QCOMPARE(bar()->value(), 2047);
    }

    void runPanelStates()
    {
        const Ui_VeskInterface *ui = window->ui;
        const QList<QWidget *> locked = {ui->comboBoxBaud,   ui->comboBoxStopBits,  ui->comboBoxParity,
                                         ui->comboBoxCPHA,   ui->comboBoxCPOL,      ui->modeGroupBox,
                                         ui->comboBoxUARTData, ui->checkBoxSynchro, ui->comboBoxSniffSSINV,
                                         ui->checkBoxSniffParallelInputInvert, ui->comboBoxSniffParallelStrobe};
        const QList<QWidget *> free = {ui->checkBoxASCII, ui->checkBoxCircular, ui->protocolTabWidget,
                                       ui->pushButtonSnifferClear};
        const auto enabledStates = [](const QList<QWidget *> &widgets) {
            QVector<bool> states;
            for (const QWidget *widget : widgets)
                states << widget->isEnabled();
            return states;
        };

        // Running (init started a run).
        QCOMPARE(enabledStates(locked), QVector<bool>(locked.size(), false));
        QCOMPARE(enabledStates(free), QVector<bool>(free.size(), true));
        offer(snifferFrame(1, PROTOCOL_PARALLEL, 2, 0));
        QCOMPARE(ui->plainTextEditParallel->toPlainText(), QStringLiteral("00 00 "));

        // Stopping keeps the text and frees the options.
        ui->startSnifferButton->click();
        QCOMPARE(ui->startSnifferButton->text(), QStringLiteral("START"));
        QCOMPARE(ui->plainTextEditParallel->toPlainText(), QStringLiteral("00 00 "));
        QCOMPARE(bar()->value(), 2);
        QCOMPARE(enabledStates(locked), QVector<bool>(locked.size(), true));

        // Starting empties every pane and the bar.
        ui->startSnifferButton->click();
        QCOMPARE(ui->startSnifferButton->text(), QStringLiteral("STOP"));
        QCOMPARE(ui->plainTextEditParallel->toPlainText(), QString());
        QCOMPARE(bar()->value(), 0);
        QCOMPARE(enabledStates(locked), QVector<bool>(locked.size(), false));
        QCOMPARE(enabledStates(free), QVector<bool>(free.size(), true));
    }
};

VESK_TEST_MAIN(TestSnifferView)
#include "tst_snifferview.moc"
