// The window's encoders and setting handlers against the simulated
// instrument: the requests each one puts on the wire and their order, the
// confirm refusal taken through a trace switch, the buffer limits read back.
#include "usbtestmain.h"

#include "usbwindowtest.h"

#include "logcapture.h"
#include "protocol.h"
#include "scopevalues.h"
#include "ui_veskinterface.h"
#include "veskinterface.h"

#include <QFile>
#include <QSignalBlocker>

#include <functional>
#include <memory>

using WindowAction = std::function<void(VeskInterface &)>;
Q_DECLARE_METATYPE(WindowAction)

class TestConfigEncodersWire : public UsbWindowTest
{
    Q_OBJECT

public:
    TestConfigEncodersWire() : UsbWindowTest(true) {}

private:
    // The wire log in short: a request's letter and wIndex ("A8", "D6"),
    // "F" for a frequency, "O" for a bulk OUT block.
    QString traffic() const
    {
        QStringList items;
        for (const WireRecord &record : instrument->wireLog()) {
            if (record.kind == WireRecord::BulkOut)
                items.append(QStringLiteral("O"));
            else if (record.request == REQ_SET_AWG_FREQUENCY)
                items.append(QStringLiteral("F"));
            else
                items.append(QLatin1Char(char(record.request)) + QString::number(record.index));
        }
        return items.join(QLatin1Char(' '));
    }

    void showMainTab(int index)
    {
        const QSignalBlocker blocker(window->ui->mainTabWidget);
        window->ui->mainTabWidget->setCurrentIndex(index);
    }

private slots:
    void handlerRequests_data()
    {
        QTest::addColumn<WindowAction>("action");
        QTest::addColumn<QString>("wire");

        QTest::newRow("leaving the meter tab") << WindowAction([this](VeskInterface &w) {
            showMainTab(2);
            w.mainTabChanged(2);
        }) << "D6 A8 A3 A4 A0";
        QTest::newRow("meter AC page") << WindowAction([this](VeskInterface &w) {
            showMainTab(1);
            w.ui->mmTabWidget->setCurrentIndex(0);
            instrument->clearWireLog();
            w.mainTabChanged(1);
        }) << "A0";
        QTest::newRow("counter page") << WindowAction([this](VeskInterface &w) {
            showMainTab(1);
            w.ui->mmTabWidget->setCurrentIndex(2);
            instrument->clearWireLog();
            w.mainTabChanged(1);
        }) << "A8 A9 A11 A0";
        QTest::newRow("protocol page") << WindowAction([](VeskInterface &w) { w.sniffProtocolTabChanged(2); })
                                       << "D6 A0 A21";
        QTest::newRow("sniffer start") << WindowAction([](VeskInterface &w) {
            w.sniffControlsStartSet(QStringLiteral("STOP"));
            w.ui->startSnifferButton->click();
        }) << "A12 A22 A23 A0 D5";
        QTest::newRow("sniffer clear") << WindowAction([](VeskInterface &w) { w.ui->pushButtonSnifferClear->click(); })
                                       << "D7";
        QTest::newRow("counter start") << WindowAction([](VeskInterface &w) {
            // Only pulse counting offers Start.
            w.ui->pushButtonCounterStart->setEnabled(true);
            w.ui->pushButtonCounterStart->click();
        }) << "D1 D0";
        QTest::newRow("counter stop") << WindowAction([](VeskInterface &w) {
            w.ui->pushButtonCounteStop->setEnabled(true);
            w.ui->pushButtonCounteStop->click();
        }) << "D1";
        QTest::newRow("force trigger") << WindowAction([](VeskInterface &w) { w.sendScopeForce(); }) << "D4";
        QTest::newRow("trigger type normal restarts") << WindowAction([](VeskInterface &w) {
            w.ui->radioButtonNormal->click();
        }) << "A7 D2";
        QTest::newRow("trigger type single waits for START") << WindowAction([](VeskInterface &w) {
            w.ui->radioButtonSingle->click();
        }) << "A7";
        QTest::newRow("frequency digits, then read-back")
            << WindowAction([](VeskInterface &w) { w.frequencyDigitsValueChanged(); }) << "F G5";
        QTest::newRow("oscilloscope buffer") << WindowAction([](VeskInterface &w) { w.scopeADCBufferChanged(2); })
                                             << "A25 G3 G4 A3 A4";
        QTest::newRow("DAC offset step up") << WindowAction([](VeskInterface &w) {
            // The calibration group is locked until the user unlocks it.
            QMetaObject::invokeMethod(&w, "on_toolButtonDACOffsetPlus_clicked");
        }) << "C0";
        QTest::newRow("custom wave upload") << WindowAction([](VeskInterface &w) {
            w.ui->saveAWGButton->setEnabled(true);
            w.ui->saveAWGButton->click();
        }) << "A10 O E0 O E1 A10 A31";
    }
    void handlerRequests()
    {
        QFETCH(WindowAction, action);
        action(*window);
        QTEST(traffic(), "wire");
    }

    // The frequency travels in 'F' (its low half in wIndex); the read-back is
    // what the instrument really produces.
    void frequencyReachesTheInstrument()
    {
        window->updateFrequency(123456);
        const auto sent = instrument->controlRequests(REQ_SET_AWG_FREQUENCY);
        QCOMPARE(sent.size(), size_t(1));
        QCOMPARE(int(sent[0].index), 123456 & 0xFFFF);
        QCOMPARE(int(sent[0].value), 123456 >> 16);
        const auto readBack = instrument->controlRequests(REQ_READ);
        QCOMPARE(readBack.size(), size_t(1));
        QCOMPARE(int(readBack[0].index), int(READ_AWG_FREQUENCY));
        const std::vector<uint8_t> &produced = readBack[0].data;
        QCOMPARE(produced.size(), size_t(REPLY_AWG_FREQUENCY_LENGTH));
        QCOMPARE(window->frequencyRealValueCheck(),
                 float(produced[0] | produced[1] << 8 | produced[2] << 16 | uint32_t(produced[3]) << 24) / 100);
        QCOMPARE(window->ui->collapsiblePanelAWGFrequency->text(), QStringLiteral("1234.56Hz "));
    }

    void scopeRunControl()
    {
        window->ui->stopButton->setText(QStringLiteral("START"));
        window->ui->stopButton->click();
        QVERIFY(instrument->scopeRunning());
        QCOMPARE(window->ui->stopButton->text(), QStringLiteral("STOP"));
        window->ui->stopButton->click();
        QVERIFY(!instrument->scopeRunning());
        QCOMPARE(window->ui->stopButton->text(), QStringLiteral("START"));
        QCOMPARE(traffic(), QStringLiteral("D2 D3"));
    }

    void samplingSliderWhileConnected()
    {
        window->ui->comboBoxADCBuffer->setCurrentIndex(0);
        instrument->clearWireLog();
        window->ui->samplingSlider->setValue(12);
        QCOMPARE(traffic(), QStringLiteral("A1"));
        QCOMPARE(instrument->configurationValue(CFG_SAMPLING_RATE), 12);
        QCOMPARE(window->ui->labelSamplingRate->text(), ScopeValues::samplingRateText(12, 0));
    }

    // A trace switched on while the instrument lacks buffer memory: the
    // oscilloscope buffer shrinks to the offered size (and the sampling-rate
    // label with it) and the switch is sent once more. An accepted switch
    // updates the meter page's boxes; one turned down again is logged, goes
    // back off without another confirmed write, and the old buffer goes out
    // with the channel controls, so window and instrument agree.
    void traceRefusedForWantOfMemory_data()
    {
        QTest::addColumn<WindowAction>("switchOn");
        QTest::addColumn<bool>("alwaysRefused");
        QTest::addColumn<QString>("wire");
        QTest::addColumn<bool>("accepted");
        const WindowAction ch2Box = [](VeskInterface &w) { w.ui->checkBoxCH2Trace->click(); };
        const WindowAction ch2MeterBox = [](VeskInterface &w) {
            w.ui->groupBoxCH2DC->setChecked(true);
            QMetaObject::invokeMethod(&w, "on_groupBoxCH2DC_clicked");
        };
        const WindowAction logicBox = [](VeskInterface &w) { w.ui->checkBoxCHDTrace->click(); };
        // The first refusal shrinks the buffer (the channel controls go with
        // it); after the second the refused control goes back, then the old
        // buffer the same way.
        const QString shrink = QStringLiteral("A25 G3 G4 A3 A4");
        const QString ch2Refused = QStringLiteral("B4 %1 B4 A4 %1").arg(shrink);
        QTest::newRow("CH2 accepted after the shrink")
            << ch2Box << false << QStringLiteral("B4 %1 B4 G3 G4").arg(shrink) << true;
        QTest::newRow("CH2 refused twice") << ch2Box << true << ch2Refused << false;
        QTest::newRow("CH2 from the meter page, refused twice") << ch2MeterBox << true << ch2Refused << false;
        QTest::newRow("logic accepted after the shrink")
            << logicBox << false << QStringLiteral("B5 %1 B5 G3 G4").arg(shrink) << true;
        QTest::newRow("logic refused twice") << logicBox << true << QStringLiteral("B5 %1 B5 %1").arg(shrink)
                                             << false;
    }
    void traceRefusedForWantOfMemory()
    {
        QFETCH(WindowAction, switchOn);
        QFETCH(bool, alwaysRefused);
        QFETCH(bool, accepted);
        // CH1 alone uses more than half of 20 blocks; a second trace beside
        // it fits only with 10 each.
        window->ui->checkBoxCH1Trace->setChecked(true);
        window->ui->checkBoxCH2Trace->setChecked(false);
        window->ui->checkBoxCHDTrace->setChecked(false);
        {
            const QSignalBlocker blocker(window->ui->comboBoxADCBuffer);
            window->ui->comboBoxADCBuffer->setCurrentIndex(qMin(14, window->ui->comboBoxADCBuffer->count() - 1));
        }
        const int blocksBefore = window->ui->comboBoxADCBuffer->currentIndex() + 1;
        QVERIFY(blocksBefore > 10);
        window->sendCH1Controls();
        window->sendCH2Controls();
        window->sendCHBufferBlocks(blocksBefore);
        window->instrumentCommands.sendMainConfiguration(CFG_CHD_CONTROL, 0);
        window->instrumentCommands.sendMainConfiguration(CFG_DAC_CONTROL, 0);
        window->scopeRefreshSamplingRateLabel();
        window->ui->groupBoxCH2AC->setChecked(false);
        window->ui->groupBoxCH2DC->setChecked(false);
        instrument->setBufferBudget(20);
        instrument->setConfirmRefused(alwaysRefused);
        instrument->clearWireLog();
        LogCapture log;

        switchOn(*window);

        QTEST(traffic(), "wire");
        const auto confirms = instrument->controlRequests(REQ_SET_CONFIG_CONFIRM);
        QCOMPARE(int(confirms[0].data.at(0)), int(CONFIRM_NO_MEMORY));
        const int offered = confirms[0].data.at(1);
        QCOMPARE(offered, 10);
        QCOMPARE(log.count(QStringLiteral("No enough memory for CH buffer: %1").arg(offered)), 1);
        const auto bufferWrites = instrument->controlRequests(REQ_SET_CONFIG);
        QCOMPARE(int(bufferWrites[0].index), int(CFG_CH_BUFFER_BLOCKS));
        QCOMPARE(int(bufferWrites[0].value), offered);
        const int blocksNow = accepted ? offered : blocksBefore;
        QCOMPARE(instrument->configurationValue(CFG_CH_BUFFER_BLOCKS), blocksNow);
        QCOMPARE(window->ui->comboBoxADCBuffer->currentIndex(), blocksNow - 1);
        QCOMPARE(window->ui->labelSamplingRate->text(),
                 ScopeValues::samplingRateText(window->ui->samplingSlider->value(), blocksNow - 1));
        const bool logic = QByteArray(QTest::currentDataTag()).startsWith("logic");
        const bool ch2On = accepted && !logic;
        QCOMPARE(window->ui->checkBoxCH2Trace->isChecked(), ch2On);
        QCOMPARE(window->ui->groupBoxCH2AC->isChecked(), ch2On);
        QCOMPARE(window->ui->groupBoxCH2DC->isChecked(), ch2On);
        QCOMPARE(bool(instrument->configurationValue(CFG_CH2_CONTROL) & CHANNEL_TRACE_ON), ch2On);
        QCOMPARE(window->ui->checkBoxCHDTrace->isChecked(), accepted && logic);
        QCOMPARE(bool(instrument->configurationValue(CFG_CHD_CONTROL) & LOGIC_TRACE_ON), accepted && logic);
        QVERIFY(instrument->configurationValue(CFG_CH1_CONTROL) & CHANNEL_TRACE_ON);
        QCOMPARE(log.count(QStringLiteral("%1 trace switch not taken by the instrument").arg(logic ? "Logic" : "CH2")),
                 accepted ? 0 : 1);
    }

    void bufferLimitsFromTheInstrument()
    {
        instrument->setBufferBudget(7);
        QCOMPARE(window->bufferCheckMaxSize(), 0);
        const auto reads = instrument->controlRequests(REQ_READ);
        QCOMPARE(reads.size(), size_t(2));
        QCOMPARE(int(reads[0].index), int(READ_MAX_DAC_BLOCKS));
        QCOMPARE(window->ui->comboBoxDACBuffer->count(), std::max(1, int(reads[0].data.at(0))));
        QCOMPARE(int(reads[1].index), int(READ_MAX_ADC_BLOCKS));
        QCOMPARE(window->ui->comboBoxADCBuffer->count(), std::max(1, int(reads[1].data.at(0))));
    }

    // A failed first read does not stop the second; a failed second read is
    // the result and leaves its combo box alone.
    void bufferLimitsWhenAReadFails()
    {
        const int adcItems = window->ui->comboBoxADCBuffer->count();
        instrument->stallNextRequest(REQ_READ, READ_MAX_DAC_BLOCKS);
        QVERIFY(window->bufferCheckMaxSize() < 0);
        QCOMPARE(window->ui->comboBoxADCBuffer->count(), adcItems);
    }
};

VESK_USB_TEST_MAIN(TestConfigEncodersWire)
#include "tst_configencoderswire.moc"
