#include "serialportconnection.h"

#include <QDebug>
#include <QSerialPort>
#include <QThread>

SerialPortConnection::SerialPortConnection(QObject *parent)
    : QObject(parent)
{
    thread()->setPriority(QThread::HighestPriority);
    connect(&pollTimer, SIGNAL(timeout()), this, SLOT(onReadyRead()));
}

SerialPortConnection::~SerialPortConnection()
{
    deletePort();
}

bool SerialPortConnection::portIsOpen() const
{
    return port && port->isOpen();
}

void SerialPortConnection::deletePort()
{
    delete port;
    port = nullptr;
}

bool SerialPortConnection::connectToPort(const QString &name)
{
    if (portIsOpen())
        return false;
    deletePort(); // a closed leftover is replaced, not leaked
    port = new QSerialPort;
    port->setPortName(name);
    port->setBaudRate(QSerialPort::Baud115200);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    if (port->open(QIODevice::ReadWrite)) {
        qDebug() << "SUCCESS";
        pollTimer.start(PollIntervalMs);
        return true;
    }
    qWarning() << "Serial port" << name << "cannot be opened:" << port->errorString();
    emit connectionStatus(QStringLiteral("Port is busy or unreachable."));
    outputBuffer = nullptr;
    deletePort();
    return false;
}

void SerialPortConnection::close()
{
    if (!portIsOpen())
        return;
    outputBuffer = nullptr;
    port->flush();
    port->close();
    disconnect(port, nullptr, this, nullptr);
    deletePort();
    pollTimer.stop();
}

void SerialPortConnection::write(const QString &text)
{
    if (portIsOpen())
        port->write(text.toLatin1());
}

void SerialPortConnection::writeByteArray(const QByteArray &data)
{
    if (portIsOpen())
        port->write(data);
}

bool SerialPortConnection::bytesAvailable()
{
    return portIsOpen() && port->bytesAvailable() > 0;
}

void SerialPortConnection::setSamplingValue(int value)
{
    if (deframer.setSamplingValue(value) && portIsOpen())
        port->flush();
}

void SerialPortConnection::clearPort()
{
    outputBuffer = nullptr;
    deletePort();
}

bool SerialPortConnection::checkIfEndOfFrame(const char *tab)
{
    return SerialDeframer::isEndMarker(tab);
}

bool SerialPortConnection::checkIfStartOfFrame(const char *tab, bool mode)
{
    return SerialDeframer::isStartMarker(tab, mode);
}

void SerialPortConnection::onReadyRead()
{
    if (!portOpen || !portIsOpen() || port->bytesAvailable() <= 0 || !outputBuffer)
        return;
    deframer.step(*port, outputBuffer, [this](int count) { emit newData(count); });
}
