// A trace switch the instrument refuses for want of buffer memory, seen from
// the window: after the buffer shrinks to what the instrument offers, the
// buffer combo and the sampling label show the smaller buffer, and a second
// refusal is reported.
#include "usbtestmain.h"

#include "logcapture.h"
#include "usbwindowtest.h"
#include "protocol.h"
#include "scopevalues.h"
#include "ui_veskinterface.h"
#include "veskinterface.h"

#include <QSignalBlocker>

#include <memory>

class TestScopeChannelsWire : public UsbWindowTest
{
    Q_OBJECT

public:
    TestScopeChannelsWire() : UsbWindowTest(true) {}

private slots:
    void refusedTraceSwitchShrinksTheBuffer_data()
    {
        QTest::addColumn<bool>("alwaysRefused");
        QTest::newRow("accepted after the shrink") << false;
        QTest::newRow("refused twice") << true;
    }
    void refusedTraceSwitchShrinksTheBuffer()
    {
        QFETCH(bool, alwaysRefused);
        Ui_VeskInterface *ui = window->ui;
        // CH1 alone uses 15 of 20 blocks; CH2 beside it fits only with 10 each.
        ui->checkBoxCH1Trace->setChecked(true);
        ui->checkBoxCH2Trace->setChecked(false);
        window->sendCH1Controls();
        window->sendCH2Controls();
        window->sendCHBufferBlocks(15);
        window->instrumentCommands.sendMainConfiguration(CFG_CHD_CONTROL, 0);
        window->instrumentCommands.sendMainConfiguration(CFG_DAC_CONTROL, 0);
        {
            const QSignalBlocker blocker(ui->comboBoxADCBuffer);
            ui->comboBoxADCBuffer->setCurrentIndex(qMin(14, ui->comboBoxADCBuffer->count() - 1));
        }
        window->scopeRefreshSamplingRateLabel();
        QVERIFY(ui->comboBoxADCBuffer->currentIndex() > 9);
        ui->groupBoxCH2DC->setChecked(false);
        instrument->setBufferBudget(20);
        instrument->setConfirmRefused(alwaysRefused);
        LogCapture log;

        ui->checkBoxCH2Trace->click();

        QCOMPARE(ui->comboBoxADCBuffer->currentIndex(), 9);
        QCOMPARE(ui->labelSamplingRate->text(), ScopeValues::samplingRateText(ui->samplingSlider->value(), 9));
        QCOMPARE(ui->groupBoxCH2DC->isChecked(), !alwaysRefused);
        QCOMPARE(log.count(QStringLiteral("CH2 trace switch not taken by the instrument")), alwaysRefused ? 1 : 0);
    }
};

VESK_USB_TEST_MAIN(TestScopeChannelsWire)
#include "tst_scopechannelswire.moc"
