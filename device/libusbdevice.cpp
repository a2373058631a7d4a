#include "libusbdevice.h"

#include <QDebug>
#include <QtConcurrent/QtConcurrentRun>

#include <sys/eventfd.h>
#include <unistd.h>

namespace {

constexpr uint8_t vendorRequestIn = LIBUSB_ENDPOINT_IN | LIBUSB_REQUEST_TYPE_VENDOR | LIBUSB_RECIPIENT_DEVICE;

// The codes the fatal path names; others get no name line.
bool hasLoggedName(int code)
{
    return (code <= LIBUSB_ERROR_IO && code >= LIBUSB_ERROR_NOT_SUPPORTED) || code == LIBUSB_ERROR_OTHER;
}

// The libusb error a failed read completion stands for.
int completionError(libusb_transfer_status status)
{
    switch (status) {
    case LIBUSB_TRANSFER_NO_DEVICE: return LIBUSB_ERROR_NO_DEVICE;
    case LIBUSB_TRANSFER_STALL: return LIBUSB_ERROR_PIPE;
    case LIBUSB_TRANSFER_OVERFLOW: return LIBUSB_ERROR_OVERFLOW;
    default: return LIBUSB_ERROR_IO;
    }
}

// Warning level: a user whose instrument cannot be opened finds why in
// the log at the default level.
void logLibUsbError(const char *call, int code)
{
    qWarning() << call << "failed:" << libusb_error_name(code);
}

} // namespace

void LIBUSB_CALL asyncBulkReadTransferCallback(libusb_transfer *transfer)
{
    static_cast<LibUsbDevice *>(transfer->user_data)->readCompleted(transfer);
}

LibUsbDevice::LibUsbDevice(QObject *parent)
    : QObject(parent)
{
    receiveBuffer = receiveHandoff.consumerBuffer();
    wakeDescriptor = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeDescriptor < 0) {
        qCritical() << "USB receive path: no event descriptor, received data cannot reach the display";
    } else {
        wakeNotifier = new QSocketNotifier(wakeDescriptor, QSocketNotifier::Read, this);
        connect(wakeNotifier, &QSocketNotifier::activated, this, &LibUsbDevice::serviceWorker);
    }
    connect(&serialPort, SIGNAL(newData(int)), this, SLOT(newDataAvailable(int)));
    connect(&serialPort, SIGNAL(clear()), this, SLOT(clearData()));
}

LibUsbDevice::~LibUsbDevice()
{
    closeDevice();
    delete wakeNotifier;
    if (wakeDescriptor >= 0)
        ::close(wakeDescriptor);
}

void LibUsbDevice::initializeDevice()
{
    // A context left by a failed open is reused rather than leaked.
    if (initialized && context)
        return;
    const int r = libusb_init(&context);
    if (r != 0) {
        qDebug() << "Initialization Error! " << r;
        context = nullptr;
        initialized = false;
        return;
    }
    initialized = true;
    libusb_set_option(context, LIBUSB_OPTION_LOG_LEVEL, LIBUSB_LOG_LEVEL_INFO);
}

int LibUsbDevice::openDevice()
{
    if (connected)
        return 0;
    if (!initialized || !context) {
        // Without a context libusb would fall back to a default one that was never made.
        qDebug() << "Cannot open device";
        emit serialPort.connectionStatus(QStringLiteral("Cannot open device"));
        return LIBUSB_ERROR_OTHER;
    }
    const ssize_t count = libusb_get_device_list(context, &deviceList);
    if (count < 0) {
        qDebug() << "No USB Devices to List";
        emit serialPort.connectionStatus(QStringLiteral("No USB Devices to List"));
        deviceList = nullptr;
        return int(count);
    }
    deviceHandle = nullptr;
    int openError = 0;
    for (ssize_t position = 0; position < count; ++position) {
        currentDevice = deviceList[position];
        if (!currentDevice || libusb_get_device_descriptor(currentDevice, &deviceDescriptor) < 0)
            break;
        if (deviceDescriptor.idVendor != VendorId || deviceDescriptor.idProduct != ProductId)
            continue;
        openError = libusb_open(currentDevice, &deviceHandle);
        if (openError != 0) {
            qDebug() << "Cannot open device--" << unsigned(position + 1);
            logLibUsbError("libusb_open", openError);
            deviceHandle = nullptr;
            continue;
        }
        qDebug() << static_cast<void *>(currentDevice) << " Device Opened";
        connected = true;
        break;
    }
    libusb_free_device_list(deviceList, 1);
    deviceList = nullptr;
    currentDevice = nullptr;

    if (!deviceHandle) {
        qDebug() << "Cannot open device";
        // Without a rule that grants access, the instrument's node belongs
        // to root: the user is told what to mend rather than only that it failed.
        emit serialPort.connectionStatus(openError == LIBUSB_ERROR_ACCESS
                                             ? QStringLiteral("Cannot open device: no permission for the instrument's USB device")
                                             : QStringLiteral("Cannot open device"));
        return LIBUSB_ERROR_NOT_FOUND;
    }
    if (libusb_kernel_driver_active(deviceHandle, InterfaceNumber) == 1) {
        qDebug() << "Kernel Driver Active";
        if (libusb_detach_kernel_driver(deviceHandle, InterfaceNumber) == 0)
            qDebug() << "Kernel Driver Detached!";
    }
    const int claimed = libusb_claim_interface(deviceHandle, InterfaceNumber);
    if (claimed != 0) {
        qDebug() << "Cannot Claim Interface";
        logLibUsbError("libusb_claim_interface", claimed);
        emit serialPort.connectionStatus(QStringLiteral("Cannot Claim Interface"));
        libusb_close(deviceHandle);
        deviceHandle = nullptr;
        connected = false;
        return claimed;
    }
    {
        std::lock_guard<std::mutex> lock(rearmMutex);
        stopping = false;
    }
    streamError.store(0);
    return 0;
}

bool LibUsbDevice::checkIsDeviceConnected()
{
    if (connected && !transferFailed)
        return true;
    qDebug() << "Device not connected";
    return false;
}

int LibUsbDevice::controlReadTransfer(unsigned char request, unsigned char *data, int length,
                                      unsigned short index, unsigned short value)
{
    if (!checkIsDeviceConnected())
        return NotConnected;
    if (length < 0 || length > 0xFFFF || (length > 0 && !data)) {
        qWarning() << "USB Transfer: invalid reply buffer of" << length << "bytes for cmd" << request;
        return LIBUSB_ERROR_INVALID_PARAM;
    }
    qDebug() << "USB Transfer: cmd=" << QString::number(request) << " index=" << QString::number(index)
             << " value=" << QString::number(value);
    const int r = libusb_control_transfer(deviceHandle, vendorRequestIn, request, value, index, data,
                                          uint16_t(length), TransferTimeoutMs);
    if (r < 0) {
        libUsbTransferResultError(r);
        return r;
    }
    if (length > 0)
        qDebug() << "Return " << QString::number(r) << " bytes";
    return r;
}

int LibUsbDevice::controlWriteTransfer(unsigned char request, unsigned short index, unsigned short value)
{
    return controlReadTransfer(request, nullptr, 0, index, value);
}

int LibUsbDevice::bulkWriteTransfer(const unsigned char *data, int length)
{
    if (!checkIsDeviceConnected())
        return NotConnected;
    if (length < 0 || (length > 0 && !data)) {
        qWarning() << "Bulk write transfer: invalid buffer of" << length << "bytes";
        return LIBUSB_ERROR_INVALID_PARAM;
    }
    int transferred = 0;
    // libusb takes a non-const buffer for both directions; an OUT transfer only reads it.
    const int r = libusb_bulk_transfer(deviceHandle, BulkOutEndpoint, const_cast<unsigned char *>(data),
                                       length, &transferred, TransferTimeoutMs);
    if (r < 0) {
        qDebug() << "Bulk write transfer failed! " << r;
        libUsbTransferResultError(r);
        return r;
    }
    if (transferred != length)
        qWarning() << "Bulk write transfer short:" << transferred << "of" << length << "bytes sent";
    return transferred;
}

void LibUsbDevice::asyncBulkReadTransfer()
{
    if (!checkIsDeviceConnected())
        return;
    {
        std::lock_guard<std::mutex> lock(rearmMutex);
        if (readArmed.load())
            return; // one read loop per connection
        if (!bulkReadTransfer) {
            bulkReadTransfer = libusb_alloc_transfer(0);
            if (!bulkReadTransfer) {
                qDebug() << "Transfer Failed! " << LIBUSB_ERROR_NO_MEM;
                libUsbTransferResultError(LIBUSB_ERROR_NO_MEM);
                return;
            }
        }
        libusb_fill_bulk_transfer(bulkReadTransfer, deviceHandle, BulkInEndpoint,
                                  receiveHandoff.producerBuffer(), ReceiveBufferSize,
                                  asyncBulkReadTransferCallback, this, TransferTimeoutMs);
        const int r = libusb_submit_transfer(bulkReadTransfer);
        if (r != 0) {
            qDebug() << "Transfer Failed! " << r;
            libUsbTransferResultError(r);
            return;
        }
        readArmed.store(true);
    }
    if (!eventThreadFuture.isRunning())
        eventThreadFuture = QtConcurrent::run(this, &LibUsbDevice::eventThread);
}

void LibUsbDevice::eventThread()
{
    // Runs on until shutdown has been asked for and the last read has come
    // back, so the interface is never released under a pending transfer.
    while (eventLoopRunning.load() || readArmed.load())
        libusb_handle_events(context);
    // Ends under the lock the closing thread takes after the join: the
    // future's own wait is a futex that race checkers cannot follow.
    std::lock_guard<std::mutex> lock(rearmMutex);
}

void LibUsbDevice::readCompleted(libusb_transfer *transfer)
{
    int failure = 0;
    bool rearmed = false;
    {
        std::lock_guard<std::mutex> lock(rearmMutex);
        switch (transfer->status) {
        case LIBUSB_TRANSFER_COMPLETED:
        case LIBUSB_TRANSFER_TIMED_OUT:
            // An idle instrument times out once a second; readers reject the
            // empty read by its length.
            transfer->buffer = receiveHandoff.publish(transfer->actual_length);
            if (!stopping) {
                failure = libusb_submit_transfer(transfer);
                rearmed = failure == 0;
            }
            break;
        case LIBUSB_TRANSFER_CANCELLED:
            break;
        default:
            // Re-arming after a stall or an overflow would only spin.
            if (!stopping)
                failure = completionError(transfer->status);
            break;
        }
        readArmed.store(rearmed);
    }
    if (failure != 0) {
        int none = 0;
        streamError.compare_exchange_strong(none, failure);
    }
    if (!servicePending.exchange(true))
        wakeGuiThread();
}

void LibUsbDevice::wakeGuiThread()
{
    if (wakeDescriptor >= 0)
        eventfd_write(wakeDescriptor, 1);
}

void LibUsbDevice::serviceWorker()
{
    if (wakeDescriptor >= 0) {
        eventfd_t wakes;
        eventfd_read(wakeDescriptor, &wakes);
    }
    servicePending.store(false);
    if (receiveHandoff.take())
        deliver(receiveHandoff.consumerCount());
    const int failure = streamError.exchange(0);
    if (failure != 0 && connected && !transferFailed)
        libUsbTransferResultError(failure);
}

void LibUsbDevice::holdDelivery(bool held)
{
    // The event descriptor stays readable, so the notifier fires on release.
    if (wakeNotifier)
        wakeNotifier->setEnabled(!held);
}

void LibUsbDevice::deliver(int count)
{
    receiveBuffer = receiveHandoff.consumerBuffer();
    receivedCount = count;
    dataReady = true;
}

void LibUsbDevice::newDataAvailable(int count)
{
    deliver(qBound(0, count, ReceiveBufferSize));
}

void LibUsbDevice::clearData()
{
    receiveHandoff.clearConsumerBuffer();
}

void LibUsbDevice::libUsbTransferResultError(int code)
{
    transferFailed = true;
    emit connectionLost();
    qDebug() << "Emit ConnectionLost";
    if (hasLoggedName(code))
        qDebug() << (QByteArray("Transfer error: ") + libusb_error_name(code)).constData();
}

void LibUsbDevice::stopEventThread()
{
    eventLoopRunning.store(false);
    // Wakes the worker at once, also when no read is pending to wake it.
    if (context)
        libusb_interrupt_event_handler(context);
}

void LibUsbDevice::releaseReadTransfer()
{
    // Taking the lock after the join also orders everything the worker did
    // before this thread frees what it used.
    std::lock_guard<std::mutex> lock(rearmMutex);
    if (bulkReadTransfer && !readArmed.load()) {
        libusb_free_transfer(bulkReadTransfer);
        bulkReadTransfer = nullptr;
    }
}

void LibUsbDevice::closeDevice()
{
    if (connected) {
        qDebug() << "Signal to disconnect";
        transferFailed = true;
        qDebug() << "Cancel USB to PC transfer";
        {
            std::lock_guard<std::mutex> lock(rearmMutex);
            stopping = true;
            if (bulkReadTransfer && readArmed.load())
                libusb_cancel_transfer(bulkReadTransfer);
        }
        qDebug() << "Cancel PC to USB transfer";
        stopEventThread();
        qDebug() << "Wait for Finished";
        eventThreadFuture.waitForFinished();
        releaseReadTransfer();
        // The last read stays readable; a failure found while closing is moot.
        serviceWorker();
        streamError.store(0);
        qDebug() << "Release interface";
        libusb_release_interface(deviceHandle, InterfaceNumber);
        qDebug() << "Close";
        libusb_close(deviceHandle);
        deviceHandle = nullptr;
        qDebug() << "Exit";
        libusb_exit(context);
        context = nullptr;
        initialized = false;
        connected = false;
    } else if (initialized) {
        stopEventThread();
        eventThreadFuture.waitForFinished();
        releaseReadTransfer();
        libusb_exit(context);
        context = nullptr;
        initialized = false;
    }
}

void LibUsbDevice::reset()
{
    // Dropping a device without closing it would keep interface 0 claimed
    // and the context open, and the next attempt could not claim it.
    if (connected || initialized)
        closeDevice();
    transferFailed = false;
    eventLoopRunning.store(true);
    connected = false;
    initialized = false;
    deviceHandle = nullptr;
    context = nullptr;
    bulkReadTransfer = nullptr;
    dataReady = false;
}
