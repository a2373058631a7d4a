// vesk-sim: runs a program against the simulated instrument.
//
//   vesk-sim [options] -- PROGRAM ARGS...
//
// The program inherits UMOCKDEV_DIR and the umockdev preload and sees the
// instrument as if it were plugged in. vesk-sim ends when the program ends,
// with its exit status. SIGUSR1 unplugs the instrument, SIGUSR2 plugs it in
// again; SIGINT and SIGTERM are passed on to the program.

#include "simulatedinstrument.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

void usage(const char *self)
{
    std::fprintf(stderr,
                 "usage: %s [options] -- PROGRAM [ARGS...]\n"
                 "  --identification TEXT   identification reply (default \"%s\")\n"
                 "  --identification-length N  bytes of it sent (64 is correct)\n"
                 "  --health MASK           health mask, 0..255 (default 255)\n"
                 "  --budget BLOCKS         buffer memory in 256-sample blocks (default 47)\n"
                 "  --unpaced               a frame for every read, not at the time base's pace\n"
                 "  --refuse-confirm        answer every confirmed write with \"not enough memory\"\n"
                 "  --no-kernel-driver      no kernel driver holds the interface\n"
                 "  --refuse-claim          claiming the interface fails as busy\n"
                 "  --deny-access           the device node grants nobody access (root overrides it)\n"
                 "  --wire-log FILE         append every request and bulk block to FILE\n"
                 "signals: SIGUSR1 unplugs the instrument, SIGUSR2 plugs it in again\n",
                 self, SimulatedInstrument::defaultIdentification().c_str());
}

bool parseInt(const char *text, int low, int high, int *value)
{
    char *end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 0);
    if (errno || !end || *end || parsed < low || parsed > high)
        return false;
    *value = int(parsed);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    // The simulator needs the preload too: its uevents reach the program's
    // libudev only through the testbed the preload shows.
    SimulatedInstrument::ensurePreloaded(argc, argv);

    SimulatedInstrument::Options options;
    bool refuseConfirm = false;
    int first = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        int number = 0;
        if (arg == "--") {
            first = i + 1;
            break;
        } else if (arg == "--identification" && hasValue) {
            options.identification = argv[++i];
        } else if (arg == "--identification-length" && hasValue && parseInt(argv[i + 1], 0, 64, &number)) {
            options.identificationLength = number;
            ++i;
        } else if (arg == "--health" && hasValue && parseInt(argv[i + 1], 0, 255, &number)) {
            options.healthMask = uint8_t(number);
            ++i;
        } else if (arg == "--budget" && hasValue && parseInt(argv[i + 1], 0, 1000, &number)) {
            options.bufferBudgetBlocks = number;
            ++i;
        } else if (arg == "--unpaced") {
            options.paced = false;
        } else if (arg == "--refuse-confirm") {
            refuseConfirm = true;
        } else if (arg == "--no-kernel-driver") {
            options.kernelDriverBound = false;
        } else if (arg == "--refuse-claim") {
            options.claimRefused = true;
        } else if (arg == "--deny-access") {
            options.accessDenied = true;
        } else if (arg == "--wire-log" && hasValue) {
            options.wireLogFile = argv[++i];
        } else {
            std::fprintf(stderr, "vesk-sim: bad option or value: %s\n", arg.c_str());
            usage(argv[0]);
            return 2;
        }
    }
    if (first < 0 || first >= argc) {
        usage(argv[0]);
        return 2;
    }

    // Signals are taken one at a time by this thread; every other thread
    // (the simulator's) inherits the mask and never sees them.
    sigset_t handled;
    sigemptyset(&handled);
    for (int signo : {SIGCHLD, SIGUSR1, SIGUSR2, SIGINT, SIGTERM, SIGHUP})
        sigaddset(&handled, signo);
    pthread_sigmask(SIG_BLOCK, &handled, nullptr);

    SimulatedInstrument instrument(options);
    std::string error;
    if (!instrument.start(&error)) {
        std::fprintf(stderr, "vesk-sim: %s\n", error.c_str());
        return 1;
    }
    instrument.setConfirmRefused(refuseConfirm);
    std::fprintf(stderr, "vesk-sim: instrument on the simulated bus, UMOCKDEV_DIR=%s\n",
                 instrument.testbedDir().c_str());

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    pid_t child = -1;
    const int spawned = posix_spawnp(&child, argv[first], nullptr, &attributes, argv + first, environ);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        std::fprintf(stderr, "vesk-sim: cannot start %s: %s\n", argv[first], std::strerror(spawned));
        return 127;
    }

    int status = 0;
    for (;;) {
        int signo = 0;
        if (sigwait(&handled, &signo) != 0)
            continue;
        if (signo == SIGUSR1) {
            std::fprintf(stderr, "vesk-sim: unplug\n");
            instrument.unplug();
        } else if (signo == SIGUSR2) {
            std::fprintf(stderr, "vesk-sim: plug in\n");
            if (!instrument.replug(&error))
                std::fprintf(stderr, "vesk-sim: cannot plug in: %s\n", error.c_str());
        } else if (signo == SIGCHLD) {
            if (waitpid(child, &status, WNOHANG) == child)
                break;
        } else {
            // The testbed must outlive the program's open device node, so the
            // program goes first.
            kill(child, signo);
        }
    }
    instrument.stop();
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    std::fprintf(stderr, "vesk-sim: the program ended by signal %d\n", WTERMSIG(status));
    return 128 + WTERMSIG(status);
}
