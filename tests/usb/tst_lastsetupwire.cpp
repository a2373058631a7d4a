// The stored trigger position at the largest buffer against the simulated
// instrument: it comes back as stored, the first settings block sends it for
// the restored frame, no corrective write follows the first frames, and the
// next close stores it unchanged.
#include "usbtestmain.h"

#include "configencoding.h"
#include "protocol.h"
#include "usbwindowtest.h"
#include "veskinterface.h"

#include <QSettings>
#include <QTest>

#include <cstring>

class TestLastSetupWire : public UsbWindowTest
{
    Q_OBJECT

private:
    static int32_t blockSlot(const WireRecord &block, int slot)
    {
        int32_t value = 0;
        std::memcpy(&value, block.data.data() + 4 * slot, sizeof value);
        return value;
    }

private slots:
    void triggerPositionSurvivesARestart_data()
    {
        QTest::addColumn<int>("buffer");   // stored ADC index; -1: a fresh store
        QTest::addColumn<int>("post");
        QTest::addColumn<int>("samples");
        QTest::newRow("fresh store: one block") << -1 << 64 << 256;
        QTest::newRow("largest buffer: fifteen blocks") << 14 << 2000 << 3840;
    }
    void triggerPositionSurvivesARestart()
    {
        QFETCH(int, buffer);
        QFETCH(int, post);
        QFETCH(int, samples);
        if (buffer >= 0) {
            QSettings settings;
            settings.setValue(QStringLiteral("Buffers/ADC"), buffer);
            settings.setValue(QStringLiteral("Trigger/CH0Coord/TPost"), post);
        }
        // The window connects by itself once the event loop runs.
        window.reset(new VeskInterface);
        QCOMPARE(window->triggerCoords[0].post, post);
        QCOMPARE(window->scopeSizeX, samples);
        QTRY_VERIFY_WITH_TIMEOUT(instrument->framesSent() >= 3 && window->frameTraces.sampleCount == samples, 15000);
        const std::vector<WireRecord> wire = instrument->wireLog();
        int block = -1;
        for (size_t i = 0; i < wire.size() && block < 0; ++i) {
            if (wire[i].kind == WireRecord::BulkOut)
                block = int(i);
        }
        QVERIFY(block >= 0);
        QCOMPARE(blockSlot(wire[size_t(block)], CFG_TRIGGER_POST), ConfigEncoding::triggerPost(samples, post));
        for (size_t i = size_t(block); i < wire.size(); ++i)
            QVERIFY(!(wire[i].kind == WireRecord::Control && wire[i].request == REQ_SET_CONFIG
                      && wire[i].index == CFG_TRIGGER_POST));
        QCOMPARE(window->triggerCoords[0].post, post);

        window->closeApplication();
        QCOMPARE(QSettings().value(QStringLiteral("Trigger/CH0Coord/TPost")).toInt(), post);
        window.reset();
        window.reset(new VeskInterface);
        QCOMPARE(window->triggerCoords[0].post, post);
    }
};

VESK_USB_TEST_MAIN(TestLastSetupWire)
#include "tst_lastsetupwire.moc"
