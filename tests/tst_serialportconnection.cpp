#include "testmain.h"
#include "libusbdevice.h"
#include "logcapture.h"
#include "serialportconnection.h"

#include <QSerialPort>
#include <QSignalSpy>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

// The master side of a pseudo-terminal; the slave's name stands in for a
// serial port.
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            slave = QString::fromLocal8Bit(ptsname(master));
    }
    ~PseudoTerminal()
    {
        if (master >= 0)
            ::close(master);
    }
    bool isValid() const { return !slave.isEmpty(); }
    bool send(const QByteArray &bytes) const
    {
        return ::write(master, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }
    QByteArray receive(int wanted) const
    {
        QByteArray bytes;
        for (int tries = 0; tries < 200 && bytes.size() < wanted; ++tries) {
            char chunk[256];
            const ssize_t got = ::read(master, chunk, sizeof(chunk));
            if (got > 0)
                bytes.append(chunk, int(got));
            else
                QTest::qWait(5);
        }
        return bytes;
    }
    QString slave;

private:
    int master = -1;
};

} // namespace

class TestSerialPortConnection : public QObject
{
    Q_OBJECT

private slots:
    void opensPollsDeframesAndCloses()
    {
        PseudoTerminal terminal;
        QVERIFY(terminal.isValid());
        LogCapture log;
        SerialPortConnection connection;
        QSignalSpy status(&connection, &SerialPortConnection::connectionStatus);
        QSignalSpy newData(&connection, &SerialPortConnection::newData);

        QVERIFY(connection.connectToPort(terminal.slave));
        QVERIFY(connection.port && connection.port->isOpen());
        QCOMPARE(connection.port->baudRate(), qint32(115200));
        QCOMPARE(log.count(QStringLiteral("SUCCESS")), 1);
        QVERIFY(connection.pollTimer.isActive());
        QCOMPARE(connection.pollTimer.interval(), SerialPortConnection::PollIntervalMs);

        QSerialPort *open = connection.port;
        QVERIFY(!connection.connectToPort(terminal.slave)); // already open: kept
        QCOMPARE(connection.port, open);
        QVERIFY(status.isEmpty());

        // Reception needs both the gate and a destination.
        unsigned char output[SerialDeframer::OutputSize] = {};
        QByteArray frame(768, Qt::Uninitialized);
        for (int i = 0; i < frame.size(); ++i)
            frame[i] = char(i % 97);
        QVERIFY(terminal.send(frame));
        QTest::qWait(60);
        QVERIFY(newData.isEmpty());
        connection.portOpen = true;
        connection.outputBuffer = output;
        QTRY_COMPARE(newData.size(), 1);
        QCOMPARE(newData.at(0).at(0).toInt(), SerialDeframer::FrameDeliverySize);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(output), 768), frame);

        connection.write(QStringLiteral("ping"));
        connection.writeByteArray(QByteArray("\x01\x02", 2));
        QVERIFY(connection.port->waitForBytesWritten(1000));
        QCOMPARE(terminal.receive(6), QByteArray("ping\x01\x02", 6));

        connection.close();
        QVERIFY(!connection.port);
        QVERIFY(!connection.outputBuffer);
        QVERIFY(!connection.pollTimer.isActive());
        QVERIFY(!connection.bytesAvailable());
    }

    void unreachablePortIsReported()
    {
        SerialPortConnection connection;
        QSignalSpy status(&connection, &SerialPortConnection::connectionStatus);
        unsigned char output[SerialDeframer::OutputSize];
        connection.outputBuffer = output;

        QVERIFY(!connection.connectToPort(QStringLiteral("/dev/vesk-no-such-port")));
        QCOMPARE(status.size(), 1);
        QCOMPARE(status.at(0).at(0).toString(), QStringLiteral("Port is busy or unreachable."));
        QVERIFY(!connection.port);
        QVERIFY(!connection.outputBuffer);
        QVERIFY(!connection.pollTimer.isActive());
    }

    // The USB transport shows the serial path's deliveries in its hand-off
    // members, bounded by its buffer.
    void transportTakesSerialDeliveries()
    {
        LibUsbDevice device;
        QVERIFY(!device.dataReady);
        QCOMPARE(device.receivedCount, 0);
        emit device.serialPort.newData(SerialDeframer::FrameDeliverySize);
        QVERIFY(device.dataReady);
        QCOMPARE(device.receivedCount, SerialDeframer::FrameDeliverySize);
        emit device.serialPort.newData(LibUsbDevice::ReceiveBufferSize + 1);
        QCOMPARE(device.receivedCount, LibUsbDevice::ReceiveBufferSize);
    }
};

VESK_TEST_MAIN(TestSerialPortConnection)
#include "tst_serialportconnection.moc"
