#ifndef SERIALPORTCONNECTION_H
#define SERIALPORTCONNECTION_H

#include "serialdeframer.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class QSerialPort;

// Secondary transport: an instrument on a serial port at 115200 baud, 8N1,
// no flow control, read on a 10 ms poll and deframed by SerialDeframer.
// Reception runs only while portOpen is set and outputBuffer (at least
// SerialDeframer::OutputSize bytes) is attached. The main window also uses
// connectionStatus() to put transport texts on its info line.
class SerialPortConnection : public QObject
{
    Q_OBJECT

public:
    static constexpr int PollIntervalMs = 10;

    // Raises the constructing thread (the GUI thread) to the highest priority.
    explicit SerialPortConnection(QObject *parent = nullptr);
    ~SerialPortConnection() override;

    QSerialPort *port = nullptr;
    bool portOpen = false;
    unsigned char *outputBuffer = nullptr;
    SerialDeframer deframer;
    QTimer pollTimer;

signals:
    void newData(int count);
    void clear();
    void connectionStatus(const QString &status);

public slots:
    bool connectToPort(const QString &name);
    void close();
    void write(const QString &text);
    void writeByteArray(const QByteArray &data);
    bool bytesAvailable();
    void setSamplingValue(int value);
    void clearPort();
    bool checkIfEndOfFrame(const char *tab);
    bool checkIfStartOfFrame(const char *tab, bool mode);
    void onReadyRead();

private:
    bool portIsOpen() const;
    void deletePort();
};

#endif // SERIALPORTCONNECTION_H
