#ifndef LIBUSBDEVICE_H
#define LIBUSBDEVICE_H

#include "receivehandoff.h"
#include "serialportconnection.h"

#include <QFuture>
#include <QObject>
#include <QSocketNotifier>

#include <libusb.h>

#include <atomic>
#include <mutex>

// The USB link to the instrument: vendor control requests (device-to-host,
// payload in wIndex/wValue), synchronous bulk OUT, and one endless bulk IN
// read serviced by a worker on the global thread pool.
//
// Everything but the worker runs on the GUI thread. The worker hands each
// completed read over through a ReceiveHandoff and wakes the GUI thread
// through an event descriptor (it touches no Qt object); the GUI thread takes
// the latest read and shows it in dataReady, receivedCount and
// receiveBuffer, which only the GUI thread touches.
// A failed transfer marks the link failed (transferFailed), emits
// connectionLost() on the GUI thread and refuses all later traffic.
class LibUsbDevice : public QObject
{
    Q_OBJECT

public:
    static constexpr uint16_t VendorId = 0x1D50;
    static constexpr uint16_t ProductId = 0x60EB;
    static constexpr int InterfaceNumber = 0;
    static constexpr unsigned char BulkOutEndpoint = 0x01;
    static constexpr unsigned char BulkInEndpoint = 0x81;
    static constexpr unsigned int TransferTimeoutMs = 1000;
    static constexpr int ReceiveBufferSize = ReceiveHandoff::BufferSize;
    // Result of a transfer the link refused (also LIBUSB_ERROR_OTHER).
    static constexpr int NotConnected = -99;

    explicit LibUsbDevice(QObject *parent = nullptr);
    ~LibUsbDevice() override;

    void initializeDevice();
    int openDevice();
    bool checkIsDeviceConnected();
    int controlReadTransfer(unsigned char request, unsigned char *data, int length,
                            unsigned short index, unsigned short value);
    int controlWriteTransfer(unsigned char request, unsigned short index, unsigned short value);
    // Bytes written, or a negative libusb code.
    int bulkWriteTransfer(const unsigned char *data, int length);
    void asyncBulkReadTransfer();
    void libUsbTransferResultError(int code);
    void closeDevice();
    void reset();
    // While held, the worker's reads and failures wait in the hand-off and
    // reach the GUI thread once released.
    void holdDelivery(bool held);

    bool connected = false;
    bool initialized = false;
    libusb_device **deviceList = nullptr;
    libusb_device *currentDevice = nullptr;
    libusb_device_descriptor deviceDescriptor{};
    libusb_device_handle *deviceHandle = nullptr;
    libusb_context *context = nullptr;
    libusb_transfer *bulkReadTransfer = nullptr;
    // A read completed since the reader last set this to false.
    bool dataReady = false;
    // Length and bytes of the latest completed read; stable until the GUI
    // thread's event loop takes the next one.
    int receivedCount = 0;
    const unsigned char *receiveBuffer = nullptr;
    std::atomic<bool> eventLoopRunning{true};
    QFuture<void> eventThreadFuture;
    SerialPortConnection serialPort;
    bool transferFailed = false;

signals:
    void connectionLost();

public slots:
    void newDataAvailable(int count);
    void clearData();

private slots:
    // GUI side of the worker's hand-off: takes the latest read and turns a
    // failed stream into the fatal path.
    void serviceWorker();

private:
    friend void LIBUSB_CALL asyncBulkReadTransferCallback(libusb_transfer *transfer);

    void eventThread();
    void readCompleted(libusb_transfer *transfer);
    void deliver(int count);
    void stopEventThread();
    void releaseReadTransfer();
    void wakeGuiThread();

    ReceiveHandoff receiveHandoff;
    // Orders re-arming (worker) against stopping and cancelling (GUI thread),
    // so no read is re-armed once shutdown has begun.
    std::mutex rearmMutex;
    bool stopping = false;          // guarded by rearmMutex
    std::atomic<bool> readArmed{false};
    std::atomic<int> streamError{0};
    std::atomic<bool> servicePending{false};
    int wakeDescriptor = -1;
    QSocketNotifier *wakeNotifier = nullptr;
};

#endif // LIBUSBDEVICE_H
