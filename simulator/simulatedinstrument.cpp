#include "simulatedinstrument.h"

#include "instrumentmodel.h"
#include "protocol.h"

#include <umockdev.h>

#include <sys/ioctl.h>
#include <linux/usb/ch9.h>
#include <linux/usbdevice_fs.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <signal.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#if defined(__SANITIZE_THREAD__)
// Qt is not built for the race checker: the threads and futex-based waits of
// its own (images scaled on its thread pool while a window is made) would
// look racy in every process that hosts the instrument. Only the program's
// own code is checked.
extern "C" const char *__tsan_default_options()
{
    return "ignore_noninstrumented_modules=1";
}
#endif

namespace {

// The instrument at port p of the bus has device number p + 1 (the root
// hub is 1).
std::string devNodeAt(int port)
{
    char node[32];
    std::snprintf(node, sizeof node, "/dev/bus/usb/001/%03d", port + 1);
    return node;
}

std::string sysNameAt(int port)
{
    return "pci0000:00/0000:00:14.0/usb1/1-" + std::to_string(port);
}

constexpr const char *kManufacturer = "Vesk Simulations";
constexpr const char *kProduct = "VESKSIM simulated instrument";
constexpr const char *kSerial = "SIM0001";
constexpr const char *kKernelDriver = "vesksim_kdrv";
constexpr const char *kPreload = "libumockdev-preload.so.0";

// Device descriptor and the whole configuration, in bus order.
const uint8_t kDescriptors[] = {
    // device: USB 2.00, class per interface, EP0 64, vendor 1d50, product 60eb,
    // release 1.00, strings 1/2/3, one configuration
    0x12, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x40, 0x50, 0x1d, 0xeb, 0x60, 0x00, 0x01, 0x01, 0x02, 0x03, 0x01,
    // configuration 1: 32 bytes in all, one interface, bus powered, 100 mA
    0x09, 0x02, 0x20, 0x00, 0x01, 0x01, 0x00, 0x80, 0x32,
    // interface 0: two endpoints, vendor class
    0x09, 0x04, 0x00, 0x00, 0x02, 0xff, 0x00, 0x00, 0x00,
    // endpoint 0x01 bulk OUT, 512 bytes
    0x07, 0x05, BULK_OUT_ENDPOINT, 0x02, 0x00, 0x02, 0x00,
    // endpoint 0x81 bulk IN, 512 bytes
    0x07, 0x05, BULK_IN_ENDPOINT, 0x02, 0x00, 0x02, 0x00,
};
constexpr size_t kDeviceDescriptorSize = 18;

// Testbed folders of this process, removed on SIGINT/SIGTERM and at exit
// when their owner had no chance to.
constexpr int kMaxTestbeds = 8;
char g_testbedDirs[kMaxTestbeds][PATH_MAX];
std::atomic<bool> g_testbedDirUsed[kMaxTestbeds];
std::once_flag g_cleanupInstalled;
struct sigaction g_previousInt;
struct sigaction g_previousTerm;

void removeTree(const char *path)
{
    if (DIR *dir = opendir(path)) {
        while (dirent *entry = readdir(dir)) {
            if (!std::strcmp(entry->d_name, ".") || !std::strcmp(entry->d_name, ".."))
                continue;
            char child[PATH_MAX];
            std::snprintf(child, sizeof child, "%s/%s", path, entry->d_name);
            struct stat st;
            if (lstat(child, &st) == 0 && S_ISDIR(st.st_mode))
                removeTree(child);
            else
                unlink(child);
        }
        closedir(dir);
    }
    rmdir(path);
}

void removeLeftTestbeds()
{
    for (int i = 0; i < kMaxTestbeds; ++i)
        if (g_testbedDirUsed[i].exchange(false))
            removeTree(g_testbedDirs[i]);
}

void onFatalSignal(int signo)
{
    removeLeftTestbeds();
    sigaction(signo, signo == SIGINT ? &g_previousInt : &g_previousTerm, nullptr);
    raise(signo);
}

int registerTestbedDir(const std::string &path)
{
    std::call_once(g_cleanupInstalled, [] {
        std::atexit(removeLeftTestbeds);
        struct sigaction action {};
        action.sa_handler = onFatalSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &g_previousInt);
        sigaction(SIGTERM, &action, &g_previousTerm);
    });
    for (int i = 0; i < kMaxTestbeds; ++i) {
        if (g_testbedDirUsed[i].load())
            continue;
        std::snprintf(g_testbedDirs[i], PATH_MAX, "%s", path.c_str());
        g_testbedDirUsed[i] = true;
        return i;
    }
    return -1;
}

void unregisterTestbedDir(int slot)
{
    if (slot >= 0)
        g_testbedDirUsed[slot] = false;
}

gboolean completeError(UMockdevIoctlClient *client, int error)
{
    umockdev_ioctl_client_complete(client, -1, error);
    return TRUE;
}

UMockdevIoctlData *resolveArgument(UMockdevIoctlData *argument, gsize length)
{
    GError *error = nullptr;
    UMockdevIoctlData *data = umockdev_ioctl_data_resolve(argument, 0, length, &error);
    g_clear_error(&error);
    return data;
}

// One USB request block of the host, from submission until it is reaped.
struct Urb
{
    UMockdevIoctlClient *client = nullptr;   // the connection (one open fd of the host)
    UMockdevIoctlData *urb = nullptr;        // the host's struct usbdevfs_urb, resolved
    gulong clientAddress = 0;                // its address in the host, DISCARDURB's argument
    int status = 0;                          // 0, -ENOENT, -ESHUTDOWN, -EPIPE, -EOVERFLOW
    std::vector<uint8_t> payload;            // IN data handed over at reap time
    int outLength = 0;                       // actual length of an OUT completion
    size_t heldLogPosition = SIZE_MAX;       // wire log entry of a held request

    ~Urb()
    {
        g_clear_object(&urb);
        g_clear_object(&client);
    }
};

struct RequestMatch
{
    int request = -1;
    int index = -1;

    bool matches(uint8_t bRequest, uint16_t wIndex) const
    {
        return request == bRequest && (index < 0 || index == wIndex);
    }
};

} // namespace

class SimulatedInstrument::Private
{
public:
    explicit Private(const Options &options) : options(options)
    {
        model.setIdentification(options.identification);
        model.setIdentificationLength(options.identificationLength);
        model.setHealthMask(options.healthMask);
        model.setBufferBudget(options.bufferBudgetBlocks);
        model.setPaced(options.paced);
        driverBound = options.kernelDriverBound;
    }

    // Plugs the instrument in at `port`: into a new testbed, or beside the
    // instrument that owns `shared`.
    bool start(std::string *error, UMockdevTestbed *shared, int port);
    void stop();
    void unplug();
    bool replug(std::string *error);
    // The node's mode as the options say; with the mutex held.
    void applyNodeAccess();

    static gboolean onHandleIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer self)
    {
        return static_cast<Private *>(self)->handleIoctl(client);
    }
    static void onClientConnected(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer self)
    {
        static_cast<Private *>(self)->clientConnected(client);
    }

    Options options;
    mutable std::mutex mutex;                 // guards everything below
    mutable std::condition_variable changed;  // frames, requests, queue changes
    InstrumentModel model;
    WireLog wireLog;

    UMockdevTestbed *testbed = nullptr;
    bool ownsTestbed = true;
    int port = 1;
    std::string devNode;
    std::string sysName;
    UMockdevIoctlBase *handler = nullptr;
    std::mutex testbedMutex;                  // serialises testbed calls
    std::string rootDir;
    std::string nodePath;
    int cleanupSlot = -1;
    int fifoFd = -1;
    bool fifoFull = false;
    std::vector<int> staleFifos;
    unsigned generation = 0;

    std::deque<Urb *> pendingIn;
    std::deque<Urb *> heldControl;
    std::deque<Urb *> done;
    UMockdevIoctlClient *claimant = nullptr;
    std::vector<UMockdevIoctlClient *> clients;   // every connection since start, referenced
    bool driverBound = true;
    bool unplugged = false;
    bool quit = false;
    std::thread streamer;

    uint64_t framesSent = 0;
    std::vector<uint8_t> lastFrame;
    FrameFault frameFault = FrameFault::None;
    RequestMatch holdNext;
    RequestMatch stallNext;
    bool bulkOutFailing = false;

private:
    gboolean handleIoctl(UMockdevIoctlClient *client);
    gboolean submit(UMockdevIoctlClient *client, UMockdevIoctlData *argument);
    gboolean submitControl(Urb *u, UMockdevIoctlData *argument, std::unique_lock<std::mutex> &lock);
    gboolean reap(UMockdevIoctlClient *client, UMockdevIoctlData *argument);
    gboolean discard(UMockdevIoctlClient *client, UMockdevIoctlData *argument);
    void clientConnected(UMockdevIoctlClient *client);
    bool standardRequest(const uint8_t *setup, std::vector<uint8_t> *reply) const;
    int claimLocked(UMockdevIoctlClient *client, unsigned interface);
    void dropVanishedClientsLocked();
    void pushDoneLocked(Urb *u);
    void updateReadyLocked();
    bool deliverFrameLocked(int64_t nowUs);
    void applyFrameFault(std::vector<uint8_t> *frame);
    bool plugDevice(std::string *error);
    void streamLoop();
};

// ---------------------------------------------------------------- set-up

bool SimulatedInstrument::Private::plugDevice(std::string *error)
{
    // The node first, as devtmpfs would, before the uevent announces it. A
    // FIFO rather than umockdev's plain file: the host polls it for "a URB
    // can be reaped", which the pipe tells by holding no byte.
    const std::string dir = nodePath.substr(0, nodePath.rfind('/'));
    g_mkdir_with_parents(dir.c_str(), 0755);
    int fd = -1;
    if (mkfifo(nodePath.c_str(), 0666) < 0 || (fd = open(nodePath.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC)) < 0) {
        if (error)
            *error = "cannot create " + nodePath + ": " + std::strerror(errno);
        return false;
    }
    fcntl(fd, F_SETPIPE_SZ, 4096);   // one slot: one byte means "nothing to reap"
    {
        std::lock_guard<std::mutex> lock(mutex);
        applyNodeAccess();
        fifoFd = fd;
        fifoFull = false;
        updateReadyLocked();
    }

    // All attributes, the binary descriptors included, exist before the
    // "add" uevent goes out, or the host's hotplug thread may see a half device.
    char numbers[160];
    std::snprintf(numbers, sizeof numbers,
                  "E: BUSNUM=001\nE: DEVNUM=%03d\nE: MAJOR=189\nE: MINOR=%d\n"
                  "A: devnum=%d\nA: devpath=%d\nA: dev=189:%d\n",
                  port + 1, port, port + 1, port, port);
    std::string text = std::string("P: /devices/") + sysName + "\n"
                       "E: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DEVNAME=" + devNode + "\n"
                       + numbers
                       + "E: PRODUCT=1d50/60eb/100\nE: TYPE=0/0/0\n"
                       "A: idVendor=1d50\nA: idProduct=60eb\nA: bcdDevice=0100\n"
                       "A: bDeviceClass=00\nA: bDeviceSubClass=00\nA: bDeviceProtocol=00\n"
                       "A: bNumConfigurations=1\nA: bConfigurationValue=1\nA: bNumInterfaces=1\n"
                       "A: bMaxPacketSize0=64\nA: busnum=1\n"
                       "A: speed=480\nA: version=2.00\nA: maxchild=0\n"
                       "A: manufacturer=" + kManufacturer + "\nA: product=" + kProduct + "\nA: serial=" + kSerial
                       + "\nH: descriptors=";
    char hex[3];
    for (uint8_t b : kDescriptors) {
        std::snprintf(hex, sizeof hex, "%02X", b);
        text += hex;
    }
    text += "\n";
    GError *gerror = nullptr;
    if (!umockdev_testbed_add_from_string(testbed, text.c_str(), &gerror)) {
        if (error)
            *error = std::string("cannot add the device: ") + (gerror ? gerror->message : "?");
        g_clear_error(&gerror);
        return false;
    }
    return true;
}

void SimulatedInstrument::Private::applyNodeAccess()
{
    chmod(nodePath.c_str(), options.accessDenied ? 0 : 0666);
}

bool SimulatedInstrument::Private::start(std::string *error, UMockdevTestbed *shared, int busPort)
{
    port = busPort;
    devNode = devNodeAt(port);
    sysName = sysNameAt(port);
    {
        // A restarted instrument is freshly plugged in.
        std::lock_guard<std::mutex> lock(mutex);
        quit = false;
        unplugged = false;
        driverBound = options.kernelDriverBound;
        model.powerOn();
    }
    if (!options.wireLogFile.empty() && !wireLog.openFile(options.wireLogFile)) {
        if (error)
            *error = "cannot open the wire log " + options.wireLogFile;
        return false;
    }
    ownsTestbed = shared == nullptr;
    // A new testbed sets UMOCKDEV_DIR for this process.
    testbed = ownsTestbed ? umockdev_testbed_new() : UMOCKDEV_TESTBED(g_object_ref(shared));
    gchar *root = umockdev_testbed_get_root_dir(testbed);
    rootDir = root;
    g_free(root);
    if (ownsTestbed)
        cleanupSlot = registerTestbedDir(rootDir);
    nodePath = rootDir + devNode;
    if (!plugDevice(error))
        return false;

    handler = umockdev_ioctl_base_new();
    g_signal_connect(handler, "handle-ioctl", G_CALLBACK(onHandleIoctl), this);
    g_signal_connect(handler, "client-connected", G_CALLBACK(onClientConnected), this);
    GError *gerror = nullptr;
    if (!umockdev_testbed_attach_ioctl(testbed, devNode.c_str(), handler, &gerror)) {
        if (error)
            *error = std::string("cannot serve the device node: ") + (gerror ? gerror->message : "?");
        g_clear_error(&gerror);
        return false;
    }
    streamer = std::thread([this] { streamLoop(); });
    return true;
}

void SimulatedInstrument::Private::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        quit = true;
    }
    changed.notify_all();
    if (streamer.joinable())
        streamer.join();
    // An instrument beside another leaves the bus; the owner's testbed goes
    // with the folder and UMOCKDEV_DIR. A host that still has the node open
    // would abort on the closed socket, hence "stop after closing".
    bool plugged;
    {
        std::lock_guard<std::mutex> lock(mutex);
        plugged = !unplugged;
    }
    if (testbed && !ownsTestbed && plugged) {
        std::lock_guard<std::mutex> lock(testbedMutex);
        umockdev_testbed_remove_device(testbed, ("/sys/devices/" + sysName).c_str());
    }
    g_clear_object(&testbed);
    g_clear_object(&handler);
    unregisterTestbedDir(cleanupSlot);
    cleanupSlot = -1;
    std::lock_guard<std::mutex> lock(mutex);
    g_clear_object(&claimant);
    for (UMockdevIoctlClient *client : clients)
        g_object_unref(client);
    clients.clear();
    for (auto *queue : {&pendingIn, &heldControl, &done}) {
        for (Urb *u : *queue)
            delete u;
        queue->clear();
    }
    if (fifoFd >= 0)
        close(fifoFd);
    fifoFd = -1;
    for (int fd : staleFifos)
        close(fd);
    staleFifos.clear();
}

// ---------------------------------------------------------------- queues

void SimulatedInstrument::Private::updateReadyLocked()
{
    if (fifoFd < 0)
        return;
    const bool ready = !done.empty();
    if (ready && fifoFull) {
        char b;
        if (read(fifoFd, &b, 1) == 1)
            fifoFull = false;
    } else if (!ready && !fifoFull) {
        if (write(fifoFd, "x", 1) == 1)
            fifoFull = true;
    }
}

void SimulatedInstrument::Private::pushDoneLocked(Urb *u)
{
    done.push_back(u);
    updateReadyLocked();
}

// A host that closed its fd without cancelling leaves URBs behind; the
// connection tells only by no longer being connected.
void SimulatedInstrument::Private::dropVanishedClientsLocked()
{
    for (auto *queue : {&pendingIn, &heldControl, &done}) {
        queue->erase(std::remove_if(queue->begin(), queue->end(),
                                    [](Urb *u) {
                                        if (umockdev_ioctl_client_get_connected(u->client))
                                            return false;
                                        delete u;
                                        return true;
                                    }),
                     queue->end());
    }
    if (claimant && !umockdev_ioctl_client_get_connected(claimant))
        g_clear_object(&claimant);   // closing the fd releases the claim
    updateReadyLocked();
}

void SimulatedInstrument::Private::clientConnected(UMockdevIoctlClient *client)
{
    std::lock_guard<std::mutex> lock(mutex);
    // Connections opened before a re-plug stay dead, as with a real re-enumeration.
    g_object_set_data(G_OBJECT(client), "vesksim-generation", GUINT_TO_POINTER(generation + 1));
    clients.push_back(UMOCKDEV_IOCTL_CLIENT(g_object_ref(client)));
    dropVanishedClientsLocked();
}

int SimulatedInstrument::Private::claimLocked(UMockdevIoctlClient *client, unsigned interface)
{
    if (interface != 0)
        return ENOENT;
    if (claimant)
        return claimant == client ? 0 : EBUSY;
    if (driverBound || options.claimRefused)
        return EBUSY;
    claimant = UMOCKDEV_IOCTL_CLIENT(g_object_ref(client));
    return 0;
}

// ---------------------------------------------------------------- frames

void SimulatedInstrument::Private::applyFrameFault(std::vector<uint8_t> *frame)
{
    switch (frameFault) {
    case FrameFault::WrongFrameType:
        (*frame)[0] = 'X';
        break;
    case FrameFault::LyingHeader:
        if ((*frame)[0] == 'A' && frame->size() > 7)
            (*frame)[6] = uint8_t((*frame)[6] + 1);   // one block more than sent
        break;
    case FrameFault::ShortFrame:
        frame->resize(frame->size() / 2);
        break;
    case FrameFault::None:
        break;
    }
    frameFault = FrameFault::None;
}

bool SimulatedInstrument::Private::deliverFrameLocked(int64_t nowUs)
{
    if (pendingIn.empty() || unplugged || !model.streaming() || nowUs < model.nextFrameUs())
        return false;
    std::vector<uint8_t> frame;
    if (!model.takeFrame(nowUs, &frame))
        return false;
    applyFrameFault(&frame);
    Urb *u = pendingIn.front();
    pendingIn.pop_front();
    const auto *urb = reinterpret_cast<const usbdevfs_urb *>(u->urb->data);
    if (frame.size() > size_t(urb->buffer_length)) {
        frame.resize(urb->buffer_length);   // the device sent more than asked: babble
        u->status = -EOVERFLOW;
    }
    lastFrame = frame;
    u->payload = std::move(frame);
    pushDoneLocked(u);
    ++framesSent;
    changed.notify_all();
    return true;
}

void SimulatedInstrument::Private::streamLoop()
{
    std::unique_lock<std::mutex> lock(mutex);
    while (!quit) {
        if (unplugged || pendingIn.empty() || !model.streaming()) {
            changed.wait(lock);
            continue;
        }
        const int64_t now = WireLog::nowUs();
        const int64_t due = model.nextFrameUs();
        if (now < due) {
            changed.wait_for(lock, std::chrono::microseconds(due - now));
            continue;
        }
        deliverFrameLocked(now);
    }
}

// ---------------------------------------------------------------- ioctls

bool SimulatedInstrument::Private::standardRequest(const uint8_t *setup, std::vector<uint8_t> *reply) const
{
    const uint8_t request = setup[1];
    const uint16_t value = uint16_t(setup[2] | setup[3] << 8);
    if (!(setup[0] & USB_DIR_IN))
        return false;
    if (request == USB_REQ_GET_STATUS) {
        *reply = {0, 0};
        return true;
    }
    if (request != USB_REQ_GET_DESCRIPTOR)
        return false;
    const uint8_t type = value >> 8;
    const uint8_t index = value & 0xFF;
    if (type == USB_DT_DEVICE) {
        reply->assign(kDescriptors, kDescriptors + kDeviceDescriptorSize);
    } else if (type == USB_DT_CONFIG && index == 0) {
        reply->assign(kDescriptors + kDeviceDescriptorSize, kDescriptors + sizeof kDescriptors);
    } else if (type == USB_DT_STRING && index == 0) {
        *reply = {4, USB_DT_STRING, 0x09, 0x04};   // US English
    } else if (type == USB_DT_STRING && index >= 1 && index <= 3) {
        const char *text = index == 1 ? kManufacturer : index == 2 ? kProduct : kSerial;
        reply->assign({0, USB_DT_STRING});
        for (; *text; ++text)
            reply->insert(reply->end(), {uint8_t(*text), 0});
        (*reply)[0] = uint8_t(reply->size());
    } else {
        return false;
    }
    return true;
}

gboolean SimulatedInstrument::Private::submitControl(Urb *u, UMockdevIoctlData *urbData,
                                                       std::unique_lock<std::mutex> &lock)
{
    const auto *urb = reinterpret_cast<const usbdevfs_urb *>(urbData->data);
    UMockdevIoctlClient *client = u->client;
    if (urb->buffer_length < 8) {
        delete u;
        return completeError(client, EINVAL);
    }
    GError *gerror = nullptr;
    UMockdevIoctlData *buffer =
        umockdev_ioctl_data_resolve(urbData, offsetof(usbdevfs_urb, buffer), urb->buffer_length, &gerror);
    if (!buffer) {
        g_clear_error(&gerror);
        delete u;
        return completeError(client, EFAULT);
    }
    const uint8_t *setup = buffer->data;
    const bool in = setup[0] & USB_DIR_IN;
    const int dataLength = urb->buffer_length - 8;
    std::vector<uint8_t> reply;
    bool answered = false;
    bool held = false;

    if ((setup[0] & USB_TYPE_MASK) == USB_TYPE_VENDOR) {
        WireRecord record;
        record.kind = WireRecord::Control;
        record.timestampUs = WireLog::nowUs();
        record.requestType = setup[0];
        record.request = setup[1];
        record.value = uint16_t(setup[2] | setup[3] << 8);
        record.index = uint16_t(setup[4] | setup[5] << 8);
        record.length = uint16_t(setup[6] | setup[7] << 8);
        if (!in)
            record.data.assign(setup + 8, setup + 8 + dataLength);
        if (unplugged) {
            record.outcome = WireRecord::NoDevice;
            wireLog.append(record);
            g_object_unref(buffer);
            delete u;
            lock.unlock();
            changed.notify_all();
            return completeError(client, ENODEV);
        }
        if (holdNext.matches(record.request, record.index)) {
            holdNext = RequestMatch();
            held = true;
            record.outcome = WireRecord::Held;
            u->heldLogPosition = wireLog.append(record);
        } else if (stallNext.matches(record.request, record.index)) {
            stallNext = RequestMatch();
            record.outcome = WireRecord::Stalled;
            wireLog.append(record);
        } else {
            const InstrumentModel::Reply answer =
                model.vendorRequest(record.request, record.value, record.index, record.timestampUs);
            answered = !answer.stall;
            reply = answer.data;
            if (in && reply.size() > record.length)
                reply.resize(record.length);
            if (!in)
                reply.clear();
            record.outcome = answered ? WireRecord::Answered : WireRecord::Stalled;
            if (in)
                record.data = reply;
            wireLog.append(record);
        }
    } else if ((setup[0] & USB_TYPE_MASK) == USB_TYPE_STANDARD && !unplugged) {
        answered = standardRequest(setup, &reply);
        const size_t wLength = size_t(setup[6] | setup[7] << 8);
        if (reply.size() > wLength)
            reply.resize(wLength);
    } else if (unplugged) {
        g_object_unref(buffer);
        delete u;
        return completeError(client, ENODEV);
    }
    g_object_unref(buffer);

    if (held) {
        heldControl.push_back(u);
    } else {
        u->status = answered ? 0 : -EPIPE;   // a stall is LIBUSB_ERROR_PIPE to the host
        u->payload = std::move(reply);
        if (answered && !in)
            u->outLength = dataLength;
        pushDoneLocked(u);
    }
    lock.unlock();
    changed.notify_all();
    umockdev_ioctl_client_complete(client, 0, 0);
    return TRUE;
}

gboolean SimulatedInstrument::Private::submit(UMockdevIoctlClient *client, UMockdevIoctlData *argument)
{
    GError *gerror = nullptr;
    UMockdevIoctlData *urbData = umockdev_ioctl_data_resolve(argument, 0, sizeof(usbdevfs_urb), &gerror);
    if (!urbData) {
        g_clear_error(&gerror);
        return completeError(client, EFAULT);
    }
    auto *u = new Urb;
    u->client = UMOCKDEV_IOCTL_CLIENT(g_object_ref(client));
    u->urb = urbData;
    u->clientAddress = urbData->client_addr;
    const auto *urb = reinterpret_cast<const usbdevfs_urb *>(urbData->data);

    std::unique_lock<std::mutex> lock(mutex);
    if (urb->type == USBDEVFS_URB_TYPE_CONTROL)
        return submitControl(u, urbData, lock);
    if (unplugged) {
        delete u;
        return completeError(client, ENODEV);
    }
    if (urb->type != USBDEVFS_URB_TYPE_BULK) {
        delete u;
        return completeError(client, EINVAL);
    }
    // Like the kernel, a transfer on an unclaimed interface claims it.
    if (const int error = claimLocked(client, 0)) {
        delete u;
        return completeError(client, error);
    }
    if (urb->endpoint == BULK_OUT_ENDPOINT) {
        WireRecord record;
        record.kind = WireRecord::BulkOut;
        record.timestampUs = WireLog::nowUs();
        record.length = uint16_t(urb->buffer_length);
        if (urb->buffer_length > 0) {
            UMockdevIoctlData *buffer =
                umockdev_ioctl_data_resolve(urbData, offsetof(usbdevfs_urb, buffer), urb->buffer_length, &gerror);
            if (!buffer) {
                g_clear_error(&gerror);
                delete u;
                return completeError(client, EFAULT);
            }
            record.data.assign(buffer->data, buffer->data + urb->buffer_length);
            g_object_unref(buffer);
        }
        if (bulkOutFailing) {
            record.outcome = WireRecord::Stalled;
            u->status = -EPIPE;
        } else {
            model.bulkOut(record.data.data(), record.data.size());
            u->outLength = urb->buffer_length;
        }
        wireLog.append(record);
        pushDoneLocked(u);
    } else if (urb->endpoint == BULK_IN_ENDPOINT) {
        // The host's buffer is not read here: the frame is written into it
        // at reap time with its real length.
        pendingIn.push_back(u);
        if (!deliverFrameLocked(WireLog::nowUs()))
            changed.notify_all();
    } else {
        delete u;
        return completeError(client, ENOENT);
    }
    lock.unlock();
    umockdev_ioctl_client_complete(client, 0, 0);
    return TRUE;
}

gboolean SimulatedInstrument::Private::reap(UMockdevIoctlClient *client, UMockdevIoctlData *argument)
{
    Urb *u = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex);
        auto own = std::find_if(done.begin(), done.end(), [client](Urb *c) { return c->client == client; });
        if (own == done.end()) {
            dropVanishedClientsLocked();
            return completeError(client, unplugged ? ENODEV : EAGAIN);
        }
        u = *own;
        done.erase(own);
        updateReadyLocked();
    }

    // The URB is ours alone now: write the result into the host's memory.
    auto *urb = reinterpret_cast<usbdevfs_urb *>(u->urb->data);
    urb->status = u->status;
    urb->actual_length = 0;
    GError *gerror = nullptr;
    const size_t bufferOffset = offsetof(usbdevfs_urb, buffer);
    if (urb->type == USBDEVFS_URB_TYPE_CONTROL) {
        if (!u->payload.empty()) {
            // Resolved at submission with its whole length, so this is the cached copy.
            if (UMockdevIoctlData *buffer =
                    umockdev_ioctl_data_resolve(u->urb, bufferOffset, urb->buffer_length, &gerror)) {
                std::memcpy(buffer->data + 8, u->payload.data(), u->payload.size());
                g_object_unref(buffer);
                urb->actual_length = int(u->payload.size());
            }
        } else if (u->status == 0) {
            urb->actual_length = u->outLength;
        }
    } else if (urb->endpoint == BULK_OUT_ENDPOINT) {
        urb->actual_length = u->status == 0 ? u->outLength : 0;
    } else if (!u->payload.empty()) {
        if (UMockdevIoctlData *buffer =
                umockdev_ioctl_data_resolve(u->urb, bufferOffset, u->payload.size(), &gerror)) {
            std::memcpy(buffer->data, u->payload.data(), u->payload.size());
            g_object_unref(buffer);
            urb->actual_length = int(u->payload.size());
        } else {
            std::fprintf(stderr, "vesksim: cannot write a frame into the host's buffer: %s\n",
                         gerror ? gerror->message : "?");
            urb->status = -EPROTO;
        }
    }
    g_clear_error(&gerror);

    // *(struct usbdevfs_urb **) argument = that URB, in the host's address space.
    UMockdevIoctlData *slot = umockdev_ioctl_data_resolve(argument, 0, sizeof(gpointer), &gerror);
    if (!slot) {
        g_clear_error(&gerror);
        delete u;
        return completeError(client, EFAULT);
    }
    umockdev_ioctl_data_set_ptr(slot, 0, u->urb);
    g_object_unref(slot);
    delete u;   // the pending write-back holds its own references
    umockdev_ioctl_client_complete(client, 0, 0);
    return TRUE;
}

gboolean SimulatedInstrument::Private::discard(UMockdevIoctlClient *client, UMockdevIoctlData *argument)
{
    // DISCARDURB's argument is the URB's address itself, not a pointer to it.
    const gulong address = *reinterpret_cast<const gulong *>(argument->data);
    int error = EINVAL;   // "not pending": already completed, the host reaps it
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (unplugged) {
            error = ENODEV;
        } else {
            for (auto *queue : {&pendingIn, &heldControl}) {
                auto it = std::find_if(queue->begin(), queue->end(), [&](Urb *u) {
                    return u->client == client && u->clientAddress == address;
                });
                if (it == queue->end())
                    continue;
                Urb *u = *it;
                queue->erase(it);
                u->status = -ENOENT;
                if (u->heldLogPosition != SIZE_MAX)
                    wireLog.setOutcome(u->heldLogPosition, WireRecord::Held);
                pushDoneLocked(u);
                error = 0;
                break;
            }
        }
    }
    if (error)
        return completeError(client, error);
    umockdev_ioctl_client_complete(client, 0, 0);
    return TRUE;
}

gboolean SimulatedInstrument::Private::handleIoctl(UMockdevIoctlClient *client)
{
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData *argument = umockdev_ioctl_client_get_arg(client);

    bool stale;
    bool gone;
    {
        std::lock_guard<std::mutex> lock(mutex);
        stale = GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(client), "vesksim-generation")) != generation + 1;
        gone = unplugged;
    }
    if (stale)
        return completeError(client, ENODEV);
    if (request == USBDEVFS_REAPURBNDELAY || request == USBDEVFS_REAPURB)
        return reap(client, argument);   // also after an unplug: the host collects what failed
    if (request == USBDEVFS_SUBMITURB)
        return submit(client, argument);
    if (gone)
        return completeError(client, ENODEV);
    if (request == USBDEVFS_DISCARDURB)
        return discard(client, argument);

    UMockdevIoctlData *data = nullptr;
    int error = 0;
    long result = 0;
    std::unique_lock<std::mutex> lock(mutex);
    switch (request) {
    case USBDEVFS_GET_CAPABILITIES:
        if (!(data = resolveArgument(argument, sizeof(uint32_t))))
            return completeError(client, EFAULT);
        *reinterpret_cast<uint32_t *>(data->data) = USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_BULK_CONTINUATION
                                                    | USBDEVFS_CAP_NO_PACKET_SIZE_LIM
                                                    | USBDEVFS_CAP_BULK_SCATTER_GATHER
                                                    | USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
        break;
    case USBDEVFS_CLAIMINTERFACE:
        if (!(data = resolveArgument(argument, sizeof(unsigned))))
            return completeError(client, EFAULT);
        error = claimLocked(client, *reinterpret_cast<unsigned *>(data->data));
        break;
    case USBDEVFS_RELEASEINTERFACE:
        if (!(data = resolveArgument(argument, sizeof(unsigned))))
            return completeError(client, EFAULT);
        if (*reinterpret_cast<unsigned *>(data->data) != 0 || claimant != client)
            error = EINVAL;
        else
            g_clear_object(&claimant);
        break;
    case USBDEVFS_GETDRIVER: {
        if (!(data = resolveArgument(argument, sizeof(usbdevfs_getdriver))))
            return completeError(client, EFAULT);
        auto *query = reinterpret_cast<usbdevfs_getdriver *>(data->data);
        if (query->interface != 0)
            error = EINVAL;
        else if (driverBound)
            g_strlcpy(query->driver, kKernelDriver, sizeof query->driver);
        else if (claimant)
            g_strlcpy(query->driver, "usbfs", sizeof query->driver);
        else
            error = ENODATA;
        break;
    }
    case USBDEVFS_IOCTL: {   // detaching and re-attaching the kernel driver
        if (!(data = resolveArgument(argument, sizeof(usbdevfs_ioctl))))
            return completeError(client, EFAULT);
        const auto *command = reinterpret_cast<const usbdevfs_ioctl *>(data->data);
        if (command->ifno != 0)
            error = EINVAL;
        else if (unsigned(command->ioctl_code) == USBDEVFS_DISCONNECT)
            error = driverBound ? (driverBound = false, 0) : ENODATA;
        else if (unsigned(command->ioctl_code) == USBDEVFS_CONNECT)
            error = claimant ? EBUSY : (driverBound = true, 0);
        else
            error = ENOTTY;
        break;
    }
    case USBDEVFS_DISCONNECT_CLAIM: {
        if (!(data = resolveArgument(argument, sizeof(usbdevfs_disconnect_claim))))
            return completeError(client, EFAULT);
        const auto *command = reinterpret_cast<const usbdevfs_disconnect_claim *>(data->data);
        if (command->interface != 0) {
            error = EINVAL;
        } else {
            driverBound = false;
            error = claimLocked(client, 0);
        }
        break;
    }
    case USBDEVFS_CONNECTINFO: {
        if (!(data = resolveArgument(argument, sizeof(usbdevfs_connectinfo))))
            return completeError(client, EFAULT);
        auto *info = reinterpret_cast<usbdevfs_connectinfo *>(data->data);
        info->devnum = unsigned(port + 1);
        info->slow = 0;
        break;
    }
    case USBDEVFS_GET_SPEED:
        result = USB_SPEED_HIGH;
        break;
    case USBDEVFS_SETCONFIGURATION:
        if (!(data = resolveArgument(argument, sizeof(int))))
            return completeError(client, EFAULT);
        if (*reinterpret_cast<int *>(data->data) != 1 && *reinterpret_cast<int *>(data->data) != -1)
            error = EINVAL;
        break;
    case USBDEVFS_SETINTERFACE:
    case USBDEVFS_CLEAR_HALT:
    case USBDEVFS_RESETEP:
    case USBDEVFS_RESET:
        break;
    default:
        error = ENOTTY;
        break;
    }
    lock.unlock();
    g_clear_object(&data);
    if (error)
        return completeError(client, error);
    umockdev_ioctl_client_complete(client, result, 0);
    return TRUE;
}

// ---------------------------------------------------------------- plugging

void SimulatedInstrument::Private::unplug()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (unplugged || !testbed)
            return;
        unplugged = true;
        g_clear_object(&claimant);
        // As the kernel does: what is in flight comes back "shut down" and
        // stays reapable.
        for (auto *queue : {&pendingIn, &heldControl}) {
            for (Urb *u : *queue) {
                u->status = -ESHUTDOWN;
                if (u->heldLogPosition != SIZE_MAX)
                    wireLog.setOutcome(u->heldLogPosition, WireRecord::Held);
                pushDoneLocked(u);
            }
            queue->clear();
        }
    }
    changed.notify_all();
    std::lock_guard<std::mutex> lock(testbedMutex);
    const std::string sysPath = "/sys/devices/" + sysName;
    umockdev_testbed_uevent(testbed, sysPath.c_str(), "remove");
    umockdev_testbed_remove_device(testbed, sysPath.c_str());
}

bool SimulatedInstrument::Private::replug(std::string *error)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!unplugged || !testbed)
            return true;
        // The old connections' URBs are forgotten; their FIFO stays "full"
        // so that a stale event loop sleeps.
        for (auto *queue : {&pendingIn, &heldControl, &done}) {
            for (Urb *u : *queue)
                delete u;
            queue->clear();
        }
        updateReadyLocked();
        if (fifoFd >= 0)
            staleFifos.push_back(fifoFd);
        fifoFd = -1;
        ++generation;
        unplugged = false;
        driverBound = options.kernelDriverBound;
        model.powerOn();
    }
    std::lock_guard<std::mutex> lock(testbedMutex);
    return plugDevice(error);
}

// ---------------------------------------------------------------- public API

std::string SimulatedInstrument::defaultIdentification()
{
    return "VESKSIM.1.1 Simulated instrument SIM0001";
}

void SimulatedInstrument::ensurePreloaded(int argc, char **argv)
{
    (void)argc;
    const char *current = std::getenv("LD_PRELOAD");
    if (current && std::strstr(current, "libumockdev-preload"))
        return;
    std::string value;
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    // The sanitizer runtime must stay first in the initial library list.
    Dl_info info{};
    if (void *symbol = dlsym(RTLD_DEFAULT, "__sanitizer_print_stack_trace"))
        if (dladdr(symbol, &info) && info.dli_fname && !(current && std::strstr(current, info.dli_fname)))
            value = std::string(info.dli_fname) + ":";
#endif
    if (current && *current)
        value += std::string(current) + ":";
    value += kPreload;
    setenv("LD_PRELOAD", value.c_str(), 1);
    execv("/proc/self/exe", argv);
    std::fprintf(stderr, "vesksim: cannot re-execute under %s: %s\n", kPreload, std::strerror(errno));
    std::exit(127);
}

bool SimulatedInstrument::ensurePreloaded()
{
    const char *current = std::getenv("LD_PRELOAD");
    if (current && std::strstr(current, "libumockdev-preload"))
        return true;
    std::string commandLine;
    if (FILE *file = std::fopen("/proc/self/cmdline", "rb")) {
        char chunk[4096];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            commandLine.append(chunk, n);
        std::fclose(file);
    }
    if (commandLine.empty() || commandLine.back() != '\0')
        commandLine.push_back('\0');
    std::vector<char *> argv;
    for (size_t at = 0; at < commandLine.size(); at = commandLine.find('\0', at) + 1)
        argv.push_back(&commandLine[at]);
    argv.push_back(nullptr);
    ensurePreloaded(int(argv.size() - 1), argv.data());
    return true;
}

SimulatedInstrument::SimulatedInstrument() : SimulatedInstrument(Options()) {}

SimulatedInstrument::SimulatedInstrument(const Options &options) : d(new Private(options)) {}

SimulatedInstrument::~SimulatedInstrument()
{
    stop();
}

bool SimulatedInstrument::start(std::string *error)
{
    if (d->testbed)
        return true;
    if (!d->start(error, nullptr, 1)) {
        d->stop();
        return false;
    }
    return true;
}

bool SimulatedInstrument::startBeside(SimulatedInstrument &first, std::string *error)
{
    if (d->testbed)
        return true;
    if (!first.d->testbed) {
        if (error)
            *error = "the first instrument is not running";
        return false;
    }
    if (!d->start(error, first.d->testbed, first.d->port + 1)) {
        d->stop();
        return false;
    }
    return true;
}

void SimulatedInstrument::stop()
{
    if (d->testbed || d->streamer.joinable())
        d->stop();
}

bool SimulatedInstrument::isRunning() const
{
    return d->testbed != nullptr;
}

std::string SimulatedInstrument::testbedDir() const
{
    return d->rootDir;
}

void SimulatedInstrument::setIdentification(const std::string &text)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->model.setIdentification(text);
}

void SimulatedInstrument::setIdentificationLength(int bytes)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->model.setIdentificationLength(bytes);
}

void SimulatedInstrument::setMeterReplyLength(int bytes)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->model.setMeterReplyLength(bytes);
}

void SimulatedInstrument::setHealthMask(uint8_t mask)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->model.setHealthMask(mask);
}

void SimulatedInstrument::setBufferBudget(int blocks)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->model.setBufferBudget(blocks);
}

void SimulatedInstrument::setPaced(bool paced)
{
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->model.setPaced(paced);
    }
    d->changed.notify_all();
}

void SimulatedInstrument::setConfirmRefused(bool refused)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->model.setConfirmRefused(refused);
}

void SimulatedInstrument::setConfirmReplyLength(int bytes)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->model.setConfirmReplyLength(bytes);
}

void SimulatedInstrument::holdNextRequest(uint8_t request, int index)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->holdNext = RequestMatch{request, index};
}

void SimulatedInstrument::stallNextRequest(uint8_t request, int index)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->stallNext = RequestMatch{request, index};
}

void SimulatedInstrument::setBulkOutFailing(bool failing)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->bulkOutFailing = failing;
}

void SimulatedInstrument::setClaimRefused(bool refused)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->options.claimRefused = refused;
}

void SimulatedInstrument::setAccessDenied(bool denied)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->options.accessDenied = denied;
    d->applyNodeAccess();
}

void SimulatedInstrument::injectFrameFault(FrameFault fault)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->frameFault = fault;
}

void SimulatedInstrument::unplug()
{
    d->unplug();
}

bool SimulatedInstrument::replug(std::string *error)
{
    return d->replug(error);
}

bool SimulatedInstrument::isPlugged() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->testbed && !d->unplugged;
}

std::array<int32_t, 36> SimulatedInstrument::configuration() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->model.config().item;
}

int32_t SimulatedInstrument::configurationValue(int index) const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return index >= 0 && index < CFG_COUNT ? d->model.config().item[index] : 0;
}

std::vector<int16_t> SimulatedInstrument::customWave() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->model.customWave();
}

bool SimulatedInstrument::scopeRunning() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->model.scopeRunning();
}

bool SimulatedInstrument::snifferRunning() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->model.snifferRunning();
}

bool SimulatedInstrument::counterRunning() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->model.counterRunning();
}

bool SimulatedInstrument::interfaceClaimed() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->claimant != nullptr;
}

bool SimulatedInstrument::deviceOpen() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return std::any_of(d->clients.begin(), d->clients.end(),
                       [](UMockdevIoctlClient *client) { return umockdev_ioctl_client_get_connected(client); });
}

uint64_t SimulatedInstrument::framesSent() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->framesSent;
}

std::vector<uint8_t> SimulatedInstrument::lastFrame() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->lastFrame;
}

bool SimulatedInstrument::waitForFrames(uint64_t count, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(d->mutex);
    return d->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return d->framesSent >= count; });
}

std::vector<WireRecord> SimulatedInstrument::wireLog() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->wireLog.records();
}

std::vector<WireRecord> SimulatedInstrument::controlRequests(uint8_t request) const
{
    std::vector<WireRecord> found;
    for (const WireRecord &record : wireLog()) {
        if (record.kind == WireRecord::Control && record.request == request)
            found.push_back(record);
    }
    return found;
}

void SimulatedInstrument::clearWireLog()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->wireLog.clear();
    for (Urb *u : d->heldControl)
        u->heldLogPosition = SIZE_MAX;
}

int SimulatedInstrument::waitForRequest(uint8_t request, int index, int timeoutMs, size_t from) const
{
    std::unique_lock<std::mutex> lock(d->mutex);
    int found = -1;
    const RequestMatch match{request, index};
    d->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        const auto &records = d->wireLog.records();
        for (size_t i = from; i < records.size(); ++i) {
            if (records[i].kind == WireRecord::Control && match.matches(records[i].request, records[i].index)) {
                found = int(i);
                return true;
            }
        }
        return false;
    });
    return found;
}
