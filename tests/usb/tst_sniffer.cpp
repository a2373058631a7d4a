// The sniffer page against the simulated instrument: a started run fills the
// protocol's panes with what the instrument captures on its bus; pause holds
// the view, clear empties the instrument's rings, and the run ends on the
// wire as the buttons say.
#include "usbtestmain.h"

#include "usbwindowtest.h"
#include "protocol.h"
#include "ui_veskinterface.h"
#include "veskinterface.h"

#include <QPlainTextEdit>

#include <memory>

namespace {

constexpr int connectTimeoutMs = 15000;
constexpr int framesTimeoutMs = 15000;

bool isRequest(const WireRecord &record, uint8_t request, int index)
{
    return record.kind == WireRecord::Control && record.request == request && record.index == index;
}

} // namespace

class TestSniffer : public UsbWindowTest
{
    Q_OBJECT

private:
    // A connected window on the sniffer page with a run of `protocol` going.
    void startRun(int protocol, bool ascii, bool synchronised = false)
    {
        window.reset(new VeskInterface);
        Ui_VeskInterface *ui = window->ui;
        QTRY_VERIFY_WITH_TIMEOUT(window->libUsbDevice.connected, connectTimeoutMs);
        ui->mainTabWidget->setCurrentWidget(ui->protocolSnifferTab);
        ui->protocolTabWidget->setCurrentIndex(protocol);
        ui->checkBoxASCII->setChecked(ascii);
        ui->checkBoxSynchro->setChecked(synchronised);
        QCOMPARE(ui->startSnifferButton->text(), QStringLiteral("START"));
        ui->startSnifferButton->click();
        QCOMPARE(ui->startSnifferButton->text(), QStringLiteral("STOP"));
        QCOMPARE(window->mainMode, int(MODE_SNIFFER));
        QTRY_VERIFY_WITH_TIMEOUT(instrument->snifferRunning(), framesTimeoutMs);
    }

private slots:
    // Each pane starts with what crossed its line, and nothing else: UART
    // without synchronisation shows each direction's bytes back to back,
    // with it a placeholder wherever the other direction had a byte.
    void panesShowTheBus_data()
    {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<bool>("ascii");
        QTest::addColumn<bool>("synchronised");
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QString>("expected");
        const QString pong = QStringLiteral("70 6f 6e 67 20 66 72 6f 6d 20 56 45 53 4b 53 49 4d 0d 0a ");
        QTest::newRow("UART receive") << int(PROTOCOL_UART) << false << false << "rxTextEdit" << pong + pong;
        QTest::newRow("UART transmit, ASCII") << int(PROTOCOL_UART) << true << false << "txTextEdit"
                                              << "p i n g _ _ p i n g _ _ ";
        QTest::newRow("UART receive, synchronised") << int(PROTOCOL_UART) << false << true << "rxTextEdit"
                                                    << QString(".. ").repeated(6) + pong + ".. ";
        QTest::newRow("UART transmit, synchronised, ASCII")
            << int(PROTOCOL_UART) << true << true << "txTextEdit"
            << "p i n g _ _ " + QString(". ").repeated(19) + "p i n g _ _ ";
        QTest::newRow("SPI MOSI") << int(PROTOCOL_SPI) << false << false << "mosiTextEdit"
                                  << "9f 00 00 00 9f 00 00 00 ";
        QTest::newRow("SPI MISO") << int(PROTOCOL_SPI) << false << false << "misoTextEdit"
                                  << "ff 56 53 4d ff 56 53 4d ";
        QTest::newRow("I2C") << int(PROTOCOL_I2C) << false << false << "i2cPlainTextEdit"
                             << "<Start> <Address:>50<W><A> 1f<A> 00<A> <Stop>\n<Start> ";
        QTest::newRow("parallel, ASCII") << int(PROTOCOL_PARALLEL) << true << false << "plainTextEditParallel"
                                         << "V E S K S I M   p a r a l l e l   p o r t _ V ";
    }

    void panesShowTheBus()
    {
        QFETCH(int, protocol);
        QFETCH(bool, ascii);
        QFETCH(bool, synchronised);
        QFETCH(QString, pane);
        QFETCH(QString, expected);
        startRun(protocol, ascii, synchronised);
        if (QTest::currentTestFailed())
            return;
        auto *edit = window->findChild<QPlainTextEdit *>(pane);
        QVERIFY(edit);
        QTRY_VERIFY_WITH_TIMEOUT(edit->toPlainText().size() >= expected.size(), framesTimeoutMs);
        QCOMPARE(edit->toPlainText().left(expected.size()), expected);
        QVERIFY(window->ui->progressBarSnifferBufferFill->value() > 0);
    }

    void pauseClearAndStop()
    {
        startRun(PROTOCOL_UART, false);
        if (QTest::currentTestFailed())
            return;
        Ui_VeskInterface *ui = window->ui;
        QPlainTextEdit *rx = ui->rxTextEdit;
        const QString message = QStringLiteral("70 6f 6e 67 ");
        QTRY_VERIFY_WITH_TIMEOUT(rx->toPlainText().count(message) >= 3, framesTimeoutMs);

        // Paused, the pane holds still while the instrument goes on sending.
        ui->pauseSnifferButton->click();
        QCOMPARE(ui->pauseSnifferButton->text(), QStringLiteral("Continue"));
        const QString held = rx->toPlainText();
        const int heldMessages = held.count(message);
        QVERIFY(instrument->waitForFrames(instrument->framesSent() + 10, framesTimeoutMs));
        QTest::qWait(100);
        QCOMPARE(rx->toPlainText(), held);
        ui->pauseSnifferButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(rx->toPlainText().count(message) > heldMessages, framesTimeoutMs);

        // Clear empties the instrument's rings: the pane starts over. Enough
        // messages first that a slow event loop cannot refill it unseen.
        QTRY_VERIFY_WITH_TIMEOUT(rx->toPlainText().count(message) >= 10, framesTimeoutMs);
        const int beforeClear = rx->toPlainText().count(message);
        size_t from = instrument->wireLog().size();
        ui->pushButtonSnifferClear->click();
        QVERIFY(instrument->waitForRequest(REQ_RUN_CONTROL, RUN_SNIFFER_CLEAR, framesTimeoutMs, from) >= 0);
        QTRY_VERIFY_WITH_TIMEOUT(rx->toPlainText().count(message) < beforeClear, framesTimeoutMs);

        // The start button ends the run with oscilloscope mode, then the run
        // request; the panes keep the last text.
        QTRY_VERIFY_WITH_TIMEOUT(rx->toPlainText().contains(message), framesTimeoutMs);
        const QString last = rx->toPlainText();
        from = instrument->wireLog().size();
        ui->startSnifferButton->click();
        QCOMPARE(ui->startSnifferButton->text(), QStringLiteral("START"));
        QCOMPARE(window->mainMode, int(MODE_SCOPE));
        const int runRequest = instrument->waitForRequest(REQ_RUN_CONTROL, RUN_SNIFFER_START, framesTimeoutMs, from);
        QVERIFY(runRequest >= 0);
        const std::vector<WireRecord> log = instrument->wireLog();
        bool modeBeforeRun = false;
        for (size_t i = from; i < size_t(runRequest); ++i)
            modeBeforeRun |= isRequest(log[i], REQ_SET_CONFIG, CFG_MAIN_MODE) && log[i].value == MODE_SCOPE;
        QVERIFY(modeBeforeRun);
        QCOMPARE(instrument->configurationValue(CFG_MAIN_MODE), int(MODE_SCOPE));
        QCOMPARE(rx->toPlainText(), last);

        // Another protocol page during a run sends the stop request itself.
        ui->startSnifferButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(instrument->configurationValue(CFG_MAIN_MODE) == MODE_SNIFFER, framesTimeoutMs);
        from = instrument->wireLog().size();
        ui->protocolTabWidget->setCurrentIndex(PROTOCOL_SPI);
        QVERIFY(instrument->waitForRequest(REQ_RUN_CONTROL, RUN_SNIFFER_STOP, framesTimeoutMs, from) >= 0);
        QTRY_VERIFY_WITH_TIMEOUT(!instrument->snifferRunning(), framesTimeoutMs);
        QCOMPARE(ui->startSnifferButton->text(), QStringLiteral("START"));
        QTRY_COMPARE_WITH_TIMEOUT(instrument->configurationValue(CFG_DECODE_PROTOCOL), int(PROTOCOL_SPI),
                                  framesTimeoutMs);
    }

    // A run ends with the link, whichever way the link ends: the panel is
    // idle as after a stop, and the window is back in oscilloscope mode.
    void runEndsWithTheLink_data()
    {
        QTest::addColumn<bool>("unplug");
        QTest::newRow("unplugged") << true;
        QTest::newRow("disconnected") << false;
    }
    void runEndsWithTheLink()
    {
        QFETCH(bool, unplug);
        startRun(PROTOCOL_UART, false);
        if (QTest::currentTestFailed())
            return;
        Ui_VeskInterface *ui = window->ui;
        ui->pauseSnifferButton->click();
        QVERIFY(ui->pauseSnifferButton->isChecked() && !ui->comboBoxBaud->isEnabled());
        if (unplug)
            instrument->unplug();
        else
            ui->connectButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window->libUsbDevice.connected, connectTimeoutMs);
        QCOMPARE(ui->connectLabel->text(), QStringLiteral("Not Connected"));
        QCOMPARE(ui->startSnifferButton->text(), QStringLiteral("START"));
        QVERIFY(!ui->pauseSnifferButton->isEnabled() && !ui->pauseSnifferButton->isChecked());
        QCOMPARE(ui->pauseSnifferButton->text(), QStringLiteral("Pause"));
        QVERIFY(ui->comboBoxBaud->isEnabled() && ui->modeGroupBox->isEnabled());
        QCOMPARE(window->mainMode, int(MODE_SCOPE));
    }
};

VESK_USB_TEST_MAIN(TestSniffer)
#include "tst_sniffer.moc"
