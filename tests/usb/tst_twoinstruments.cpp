// Two instruments on the bus: the transport takes the first that opens and
// leaves the other alone; with that one gone, the next open takes the other.
#include "usbtestmain.h"

#include "libusbdevice.h"
#include "protocol.h"

class TestTwoInstruments : public QObject
{
    Q_OBJECT

private:
    // Identification reads each instrument answered.
    static size_t identificationReads(const SimulatedInstrument &instrument)
    {
        size_t reads = 0;
        for (const WireRecord &record : instrument.wireLog()) {
            if (record.kind == WireRecord::Control && record.request == REQ_READ && record.index == READ_DEVICE_INFO)
                ++reads;
        }
        return reads;
    }

    static bool identify(LibUsbDevice &device)
    {
        unsigned char reply[REPLY_DEVICE_INFO_LENGTH] = {};
        return device.controlReadTransfer(REQ_READ, reply, REPLY_DEVICE_INFO_LENGTH, READ_DEVICE_INFO, 0)
               == REPLY_DEVICE_INFO_LENGTH;
    }

private slots:
    void firstThatOpensWins()
    {
        SimulatedInstrument first;
        SimulatedInstrument second;
        std::string error;
        QVERIFY2(first.start(&error), error.c_str());
        QVERIFY2(second.startBeside(first, &error), error.c_str());

        LibUsbDevice device;
        device.initializeDevice();
        device.openDevice();
        QVERIFY(device.connected);
        QVERIFY(identify(device));
        // Exactly one is taken, and only that one hears the request.
        QVERIFY(first.interfaceClaimed() != second.interfaceClaimed());
        SimulatedInstrument &taken = first.interfaceClaimed() ? first : second;
        SimulatedInstrument &other = first.interfaceClaimed() ? second : first;
        QCOMPARE(identificationReads(taken), size_t(1));
        QCOMPARE(identificationReads(other), size_t(0));

        device.closeDevice();
        device.reset();
        taken.unplug();
        device.initializeDevice();
        device.openDevice();
        QVERIFY(device.connected);
        QVERIFY(other.interfaceClaimed());
        QVERIFY(identify(device));
        QCOMPARE(identificationReads(other), size_t(1));
        device.closeDevice();
        QVERIFY(!other.interfaceClaimed());
        second.stop();
    }
};

VESK_USB_TEST_MAIN(TestTwoInstruments)
#include "tst_twoinstruments.moc"
