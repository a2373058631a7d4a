#ifndef SIMULATEDINSTRUMENT_H
#define SIMULATEDINSTRUMENT_H

// A simulated instrument on a simulated USB bus: a umockdev testbed with one
// device (the instrument's ids, interface 0, bulk endpoints 0x01 and 0x81;
// a second one may join the bus, startBeside) whose usbfs node is served by
// this class, so that unmodified libusb code in the same process (or in a
// child started with the testbed's environment) talks to it. The instrument
// answers the command set, streams oscilloscope and sniffer frames, keeps a
// wire log, and injects faults on demand.
//
// In a test: call SimulatedInstrument::ensurePreloaded(argc, argv) first thing
// in main(), then create an instance and start() it before libusb_init().
// Stop it only after every libusb handle on it has been closed.

#include "wirelog.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class SimulatedInstrument
{
public:
    struct Options
    {
        // Identification reply (READ_DEVICE_INFO), padded to 64 bytes with NUL.
        std::string identification = defaultIdentification();
        // Bytes actually returned for READ_DEVICE_INFO; 64 is correct, other
        // values give a short (or odd) reply.
        int identificationLength = 64;
        uint8_t healthMask = 0xFF;
        // 256-sample blocks shared by the enabled oscilloscope channels
        // (CH1, CH2, logic) and, when the generator runs, its buffer: the
        // largest buffer on all three beside the largest generator buffer.
        int bufferBudgetBlocks = 47;
        // Frames at the pace of the configured time base; off: a frame for
        // every read the host submits while acquisition runs.
        bool paced = true;
        // A kernel driver holds interface 0 until the host detaches it.
        bool kernelDriverBound = true;
        // Claiming interface 0 fails as busy, as when another program holds it.
        bool claimRefused = false;
        // The device node grants nobody access, as without a rule that gives
        // it to the user. Root overrides file modes: a root host is refused
        // only by a thread without that capability.
        bool accessDenied = false;
        // File to append the wire log to as text (empty: memory only).
        std::string wireLogFile;
    };

    enum class FrameFault {
        None,
        WrongFrameType,   // next oscilloscope frame starts with 'X'
        LyingHeader,      // next frame's header announces more samples than it carries
        ShortFrame        // next frame is cut in the middle
    };

    static std::string defaultIdentification();

    // Re-executes the current program with libumockdev-preload.so.0 in
    // LD_PRELOAD (after the sanitizer runtime when built with one) unless it
    // is there already. Call before any thread is started. Returns only when
    // the preload is in place; exits the process if the re-exec fails.
    static void ensurePreloaded(int argc, char **argv);
    // The same with the command line of /proc/self/cmdline, for use in a
    // static initialiser; returns true.
    static bool ensurePreloaded();

    SimulatedInstrument();
    explicit SimulatedInstrument(const Options &options);
    ~SimulatedInstrument();
    SimulatedInstrument(const SimulatedInstrument &) = delete;
    SimulatedInstrument &operator=(const SimulatedInstrument &) = delete;

    // Creates the testbed (sets UMOCKDEV_DIR in this process) and plugs the
    // device in. False with a reason in *error when it cannot.
    bool start(std::string *error = nullptr);
    // Plugs this instrument in at the next port of `first`'s bus, in its
    // testbed. Stop it before `first`.
    bool startBeside(SimulatedInstrument &first, std::string *error = nullptr);
    // Removes the testbed and its temporary folder. Also done by the destructor.
    void stop();
    bool isRunning() const;
    // Root folder of the testbed (the UMOCKDEV_DIR a child process needs).
    std::string testbedDir() const;

    // Knobs; they take effect at once.
    void setIdentification(const std::string &text);
    void setIdentificationLength(int bytes);
    // Bytes returned for READ_METER; 36 is correct, fewer give a short reply.
    void setMeterReplyLength(int bytes);
    void setHealthMask(uint8_t mask);
    void setBufferBudget(int blocks);
    void setPaced(bool paced);

    // Faults on demand.
    // Every 'B' request is answered [1, n] (not enough memory) while set.
    void setConfirmRefused(bool refused);
    // Bytes returned for 'B'; 2 is correct.
    void setConfirmReplyLength(int bytes);
    // The next vendor request with this bRequest (and wIndex, unless -1) is
    // never answered: its transfer stays pending until the host cancels it.
    void holdNextRequest(uint8_t request, int index = -1);
    // The next vendor request with this bRequest (and wIndex, unless -1) stalls.
    void stallNextRequest(uint8_t request, int index = -1);
    // Bulk OUT transfers fail (stall) while set.
    void setBulkOutFailing(bool failing);
    // As the options of the same names, from now on.
    void setClaimRefused(bool refused);
    void setAccessDenied(bool denied);
    void injectFrameFault(FrameFault fault);
    // The device disappears: reads in flight end with "no device", later
    // transfers fail, the device leaves the bus. replug() brings it back
    // with its power-on state.
    void unplug();
    bool replug(std::string *error = nullptr);
    bool isPlugged() const;

    // The instrument's state as the host configured it.
    std::array<int32_t, 36> configuration() const;
    int32_t configurationValue(int index) const;
    std::vector<int16_t> customWave() const;
    bool scopeRunning() const;
    bool snifferRunning() const;
    bool counterRunning() const;
    bool interfaceClaimed() const;
    // A host holds the device node open.
    bool deviceOpen() const;

    // Frames delivered on the bulk IN endpoint so far, and the last of them.
    uint64_t framesSent() const;
    std::vector<uint8_t> lastFrame() const;
    // Waits until at least `count` frames were delivered; false on time-out.
    bool waitForFrames(uint64_t count, int timeoutMs) const;

    // Every vendor request and bulk OUT block since start (or the last clear).
    std::vector<WireRecord> wireLog() const;
    // The control requests with this bRequest, in wire order.
    std::vector<WireRecord> controlRequests(uint8_t request) const;
    void clearWireLog();
    // Waits until the wire log holds a request with this bRequest (and
    // wIndex unless -1) at or after position `from`; returns its position
    // or -1 on time-out.
    int waitForRequest(uint8_t request, int index, int timeoutMs, size_t from = 0) const;

private:
    class Private;
    std::unique_ptr<Private> d;
};

#endif // SIMULATEDINSTRUMENT_H
