#include "terminationsignals.h"

#include "log.h"

#include <QDebug>
#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int handledSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Written by the constructor before the handler is installed; the handler
// only reads the descriptor and sets the flag.
int socketPair[2] = {-1, -1};
volatile sig_atomic_t signalSeen = 0;

void onSignal(int signalNumber)
{
    if (signalSeen) {
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
        return;
    }
    signalSeen = 1;
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    // A full socket cannot happen: only the first signal writes.
    [[maybe_unused]] const ssize_t written = ::write(socketPair[0], &number, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, socketPair) != 0) {
        qWarning() << "Termination signals: no socket pair, a signal ends the program without the orderly close";
        socketPair[0] = socketPair[1] = -1;
        return;
    }
    signalSeen = 0;
    notifier = new QSocketNotifier(socketPair[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume: the rest of the program need not expect EINTR.
    action.sa_flags = SA_RESTART;
    for (int signalNumber : handledSignals)
        sigaction(signalNumber, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (socketPair[0] < 0)
        return;
    for (int signalNumber : handledSignals)
        std::signal(signalNumber, SIG_DFL);
    delete notifier;
    ::close(socketPair[0]);
    ::close(socketPair[1]);
    socketPair[0] = socketPair[1] = -1;
}

void TerminationSignals::closeOnSignal(QWidget *window)
{
    connect(this, &TerminationSignals::received, window, [window](int signalNumber) {
        logRecord(QStringLiteral("Signal %1 (%2) received: closing the window")
                      .arg(signalNumber)
                      .arg(QString::fromLocal8Bit(strsignal(signalNumber))),
                  2);
        window->close();
    });
}

void TerminationSignals::readSignal()
{
    unsigned char number = 0;
    if (::read(socketPair[1], &number, 1) == 1)
        emit received(number);
}
