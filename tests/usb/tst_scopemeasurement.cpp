// The application against the simulated instrument: from a fresh store the
// window connects and draws the instrument's frames, and the measurement
// displays of CH2 (the instrument's 1 kHz sine of 1 V amplitude) read its
// frequency and amplitude, measured by the device or by the window itself.
#include "usbtestmain.h"

#include "usbwindowtest.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "multimeterdisplay.h"

#include <QClipboard>
#include <memory>

namespace {

constexpr int connectTimeoutMs = 15000;
// The delayed start and a frame at the new settings.
constexpr int framesTimeoutMs = 10000;
// Generous for a loaded machine: a replot follows within a screen refresh.
constexpr int replotTimeoutMs = 2000;
constexpr int gain400mV = 4;   // 0.4V/div
constexpr int timeBase256us = 5; // 256µs/div: four periods of 1 kHz in 256 samples
// One raw unit at 0.4 V/div.
constexpr double rawUnitVolts = 0.4 / 40.96;

double shown(MultimeterDisplay *display)
{
    QMetaObject::invokeMethod(display, "copyAsDouble", Qt::DirectConnection);
    bool number = false;
    const double value = QApplication::clipboard()->text().trimmed().toDouble(&number);
    return number ? value : qQNaN();
}

} // namespace

class TestScopeMeasurement : public UsbWindowTest
{
    Q_OBJECT

private slots:
    void ch2Measurements_data()
    {
        QTest::addColumn<bool>("meterOnDevice");
        QTest::newRow("measured by the device") << true;
        QTest::newRow("measured by the window") << false;
    }

    void ch2Measurements()
    {
        QFETCH(bool, meterOnDevice);
        window.reset(new VeskInterface);
        Ui_VeskInterface *ui = window->ui;
        QTRY_VERIFY_WITH_TIMEOUT(window->libUsbDevice.connected, connectTimeoutMs);
        // What a fresh store starts with.
        QVERIFY(ui->radioButtonFree->isChecked());
        QVERIFY(ui->checkBoxCH1Trace->isChecked());
        QVERIFY(ui->checkBoxCH2Trace->isChecked());
        QVERIFY(ui->checkBoxAWBEnable->isChecked());
        QVERIFY(ui->checkBoxmeterondev->isChecked());

        ui->ch2GainSlider->setValue(gain400mV);
        ui->samplingSlider->setValue(timeBase256us);
        if (!meterOnDevice)
            ui->checkBoxmeterondev->click();
        QCOMPARE(ui->checkBoxmeterondev->isChecked(), meterOnDevice);

        // A frame taken at the new settings is drawn.
        const auto atNewSettings = [this] {
            const frameconfig_t header = ScopeFrame::readHeader(window->frameCache);
            const channela_t ch2 = ScopeFrame::readRecord(
                window->frameCache + ScopeFrame::ch2RecordOffset(header.samplesPerChannel, header.channelMask));
            return header.timeBase == timeBase256us && ch2.gain == gain400mV;
        };
        QTRY_VERIFY_WITH_TIMEOUT(atNewSettings(), framesTimeoutMs);
        QVERIFY(window->ch2Graph->dataCount() > 0);
        // The readings reach the displays with the replot that follows the frame.
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(shown(ui->multimeterdisplayFreqCh2) - 1000) < 10, replotTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(shown(ui->multimeterdisplayMaxCh2) - 1.0) <= rawUnitVolts, replotTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(shown(ui->multimeterdisplayMinCh2) + 1.0) <= rawUnitVolts, replotTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(shown(ui->multimeterdisplayVppCh2) - 2.0) <= 2 * rawUnitVolts, replotTimeoutMs);
        // RMS of a sine: amplitude over root two.
        QTRY_VERIFY_WITH_TIMEOUT(qAbs(shown(ui->multimeterdisplayRMSCh2) - M_SQRT1_2) <= 2 * rawUnitVolts,
                                 replotTimeoutMs);

        // The live window, for the record.
        window->resize(1280, 800);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTest::qWait(300);
        const QString name = QStringLiteral("scope-live-%1.png")
                                 .arg(meterOnDevice ? QStringLiteral("device") : QStringLiteral("window"));
        QVERIFY(window->grab().save(VeskTest::artifactPath(name)));
    }
};

VESK_USB_TEST_MAIN(TestScopeMeasurement)
#include "tst_scopemeasurement.moc"
