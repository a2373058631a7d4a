// Playing a recording back against the simulated instrument: each recorded
// time base goes out before its frame, the one the user had set goes out at
// the end, a time base the instrument cannot take refuses the file, and a
// stopped instrument does not hold the playback up.
#include "usbtestmain.h"

#include "protocol.h"
#include "ui_veskinterface.h"
#include "usbwindowtest.h"
#include "veskinterface.h"
#include "wavetext.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPlaybackWire : public UsbWindowTest
{
    Q_OBJECT

public:
    TestPlaybackWire() : UsbWindowTest(true) {}

private:
    QTemporaryDir folder;

    // A record of frames with these time bases.
    QString recordOf(const QList<int> &timeBases)
    {
        WaveText::Frame frame;
        frame.traces[0] = {600, 610, 620};
        QString text;
        for (int timeBase : timeBases)
            text += WaveText::recordBlock(timeBase, frame);
        const QString path = folder.filePath(QStringLiteral("played.vsp"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
            return QString();
        return path;
    }

    // The time base values sent, in wire order.
    QList<int> timeBasesSent() const
    {
        QList<int> values;
        for (const WireRecord &record : instrument->controlRequests(REQ_SET_CONFIG)) {
            if (record.index == CFG_SAMPLING_RATE)
                values << record.value;
        }
        return values;
    }

private slots:
    // Whether frames arrive or the instrument is stopped, the playback ends
    // and leaves the instrument on the user's time base.
    void restoredTimeBaseReachesTheInstrument_data()
    {
        QTest::addColumn<bool>("stopped");
        QTest::newRow("running") << false;
        QTest::newRow("stopped") << true;
    }
    void restoredTimeBaseReachesTheInstrument()
    {
        QFETCH(bool, stopped);
        Ui_VeskInterface *ui = window->ui;
        ui->samplingSlider->setValue(9);
        if (stopped) {
            ui->stopButton->setText(QStringLiteral("STOP"));
            ui->stopButton->click();
            QVERIFY(!instrument->scopeRunning());
        }
        const QString path = recordOf({3, 12});
        QVERIFY(!path.isEmpty());
        instrument->clearWireLog();
        window->wavePlay(path);
        QTRY_VERIFY_WITH_TIMEOUT(!window->playActive, 10000);
        QCOMPARE(timeBasesSent(), (QList<int>{3, 12, 9}));
        QCOMPARE(instrument->configurationValue(CFG_SAMPLING_RATE), 9);
        QCOMPARE(ui->samplingSlider->value(), 9);
    }

    void unknownTimeBaseNeverReachesTheInstrument()
    {
        window->ui->samplingSlider->setValue(9);
        const QString path = recordOf({3, 99});
        QVERIFY(!path.isEmpty());
        instrument->clearWireLog();
        window->wavePlay(path);
        QVERIFY(!window->playActive);
        QVERIFY(window->ui->label_13->text().startsWith(QStringLiteral("Not played: ")));
        QCOMPARE(timeBasesSent(), QList<int>());
        QCOMPARE(instrument->configurationValue(CFG_SAMPLING_RATE), 9);
    }
};

VESK_USB_TEST_MAIN(TestPlaybackWire)
#include "tst_playbackwire.moc"
