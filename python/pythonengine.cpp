// Python.h uses `slots` as a struct member; Qt's macro is hidden meanwhile.
#pragma push_macro("slots")
#undef slots
#include <pybind11/embed.h>
#pragma pop_macro("slots")

#include "pythonengine.h"
#include "scriptbinding.h"
#include "log.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>

#include <pthread.h>

namespace py = pybind11;

namespace {

// How often running code serves input: often enough for a prompt Ctrl+C,
// seldom enough to cost the code next to nothing.
constexpr std::chrono::milliseconds checkInterval(40);

// Wakes the watchdog when code starts to run. Never destroyed: the
// watchdog still waits on them while the process ends.
std::mutex &watchMutex = *new std::mutex;
std::condition_variable &watchWake = *new std::condition_variable;

// The watchdog's signal, sent to the GUI thread alone. Python runs its
// handler between two steps of the code, and a blocking call it breaks
// (sleep, select, a lock's wait) runs the handler and then resumes with the
// time left. Nothing else in the program uses a real-time signal.
int serveSignal()
{
    return SIGRTMIN;
}

// Python's main thread, the one that started the interpreter.
pthread_t guiThread;

// Event handlers run with the watchdog's signal held back, so the program's
// own code never sees a system call broken by it.
class ServeSignalHeld
{
public:
    ServeSignalHeld()
    {
        sigset_t held;
        sigemptyset(&held);
        sigaddset(&held, serveSignal());
        pthread_sigmask(SIG_BLOCK, &held, &previous);
    }
    ~ServeSignalHeld() { pthread_sigmask(SIG_SETMASK, &previous, nullptr); }
    ServeSignalHeld(const ServeSignalHeld &) = delete;
    ServeSignalHeld &operator=(const ServeSignalHeld &) = delete;

private:
    sigset_t previous;
};

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// sys.stdout and sys.stderr of the interpreter.
struct ConsoleStream
{
    bool isError = false;
};

// The interactive interpreter over __main__; made once, never released,
// as the interpreter itself is never shut down.
py::object *interactive = nullptr;

py::dict mainDict()
{
    return py::module_::import("__main__").attr("__dict__");
}

// Shows what a failed evaluation raised. SystemExit would otherwise end the
// whole program on the spot, without saving the setup or releasing the
// instrument.
void printException(py::error_already_set &error)
{
    if (error.matches(PyExc_SystemExit)) {
        const QString code = py::str(error.value()).cast<QString>();
        PythonEngine::instance()->emitOutput(
            QStringLiteral("SystemExit: %1 (scripts cannot end the program)\n").arg(code), true);
        return;
    }
    try {
        py::module_::import("traceback").attr("print_exception")(error.type(), error.value(), error.trace());
    } catch (py::error_already_set &nested) {
        PythonEngine::instance()->emitOutput(QString::fromUtf8(nested.what()) + QLatin1Char('\n'), true);
    }
}

} // namespace

PYBIND11_EMBEDDED_MODULE(_veskconsole, m)
{
    py::class_<ConsoleStream>(m, "ConsoleStream")
        .def("write",
             [](ConsoleStream &stream, const QString &text) {
                 PythonEngine::instance()->emitOutput(text, stream.isError);
                 return text.size();
             })
        .def("flush", [](ConsoleStream &) {})
        .def("isatty", [](ConsoleStream &) { return false; })
        .def_property_readonly("encoding", [](ConsoleStream &) { return "utf-8"; });
}

PythonEngine *PythonEngine::instance()
{
    // Lives as long as the process, like the interpreter it serves.
    static PythonEngine *engine = new PythonEngine;
    return engine;
}

bool PythonEngine::isRunning() const
{
    return Py_IsInitialized() != 0;
}

bool PythonEngine::isBusy() const
{
    return busyDepth > 0;
}

bool PythonEngine::start()
{
    if (isRunning())
        return true;
    if (startFailed)
        return false;
#if defined(__SANITIZE_ADDRESS__)
    // Python's own small-object arenas hide its objects from the leak
    // checker; with plain malloc it can follow them.
    PyPreConfig preConfig;
    PyPreConfig_InitIsolatedConfig(&preConfig);
    preConfig.allocator = PYMEM_ALLOCATOR_MALLOC;
    Py_PreInitialize(&preConfig);
#endif
    PyConfig config;
    // The interpreter of this program: no PYTHON* variables, no user site,
    // no site module, and signals stay with the application.
    PyConfig_InitIsolatedConfig(&config);
    config.install_signal_handlers = 0;
    config.site_import = 0;
    PyConfig_SetBytesString(&config, &config.home, VESK_PYTHON_HOME);
    try {
        py::initialize_interpreter(&config, 0, nullptr, false);
        py::module_::import("_veskconsole");
        py::module_ sys = py::module_::import("sys");
        sys.attr("stdout") = py::cast(ConsoleStream{false});
        sys.attr("stderr") = py::cast(ConsoleStream{true});
        // input() must not wait on the program's own standard input.
        sys.attr("stdin") = py::module_::import("io").attr("StringIO")("");
        interactive = new py::object(py::module_::import("code").attr("InteractiveConsole")(mainDict(), "<console>"));
        // Python installs the handler without SA_RESTART, and must: a wait
        // without a timeout (a lock, a socket read) would otherwise resume
        // inside the kernel and never come back to serve input.
        guiThread = pthread_self();
        py::module_::import("signal").attr("signal")(
            serveSignal(), py::cpp_function([](py::args) { PythonEngine::instance()->serveFromSignal(); }));
    } catch (const std::exception &error) {
        startFailed = true;
        logRecord(QStringLiteral("Python cannot start: %1").arg(QString::fromUtf8(error.what())), 3);
        return false;
    }
    // The GUI thread gives the lock back between evaluations, so threads a
    // script started may run meanwhile.
    PyEval_SaveThread();
    QCoreApplication::instance()->installEventFilter(this);
    // Lives as long as the process, like the interpreter.
    std::thread([this] { watch(); }).detach();
    return true;
}

void PythonEngine::watch()
{
    std::unique_lock<std::mutex> lock(watchMutex);
    for (;;) {
        watchWake.wait(lock, [this] { return running.load(); });
        watchWake.wait_for(lock, checkInterval);
        if (running)
            pthread_kill(guiThread, serveSignal());
    }
}

void PythonEngine::serveFromSignal()
{
    if (!running)
        return;
    if (!interruptWanted)
        serveInput();
    raiseInterrupt();
}

void PythonEngine::setInputWindow(QObject *window)
{
    inputWindow = window;
}

void PythonEngine::requestInterrupt()
{
    if (!running)
        return;
    interruptWanted = true;
    // On the GUI thread the asking code returns to the handler, or the
    // next signal comes.
    if (!pthread_equal(pthread_self(), guiThread))
        pthread_kill(guiThread, serveSignal());
}

bool PythonEngine::serveInput()
{
    // Timers would start the data and meter work the running code owns;
    // a script reaches them through vesk.refresh() alone.
    if (!serving && QThread::currentThread() == QCoreApplication::instance()->thread()) {
        const ServeSignalHeld held;
        serving = true;
        QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers);
        serving = false;
    }
    return interruptWanted;
}

void PythonEngine::serveAll()
{
    const bool wasHeld = isBusy();
    if (wasHeld)
        emit deviceWorkHeld(false);
    {
        const ServeSignalHeld held;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    if (wasHeld && isBusy())
        emit deviceWorkHeld(true);
}

void PythonEngine::raiseInterrupt()
{
    if (interruptWanted.exchange(false)) {
        PyErr_SetNone(PyExc_KeyboardInterrupt);
        throw py::error_already_set();
    }
}

bool PythonEngine::eventFilter(QObject *watched, QEvent *event)
{
    // Windows pass their input on to their widgets, where it is judged.
    if (!serving || watched->isWindowType() || !isUserInput(event->type()))
        return false;
    for (QObject *owner = watched; owner; owner = owner->parent()) {
        if (owner == inputWindow)
            return false;
    }
    return true;
}

void PythonEngine::enterCode()
{
    if (busyDepth++ > 0)
        return;
    interruptWanted = false;
    {
        std::lock_guard<std::mutex> lock(watchMutex);
        running = true;
    }
    watchWake.notify_one();
    emit deviceWorkHeld(true);
}

void PythonEngine::leaveCode()
{
    if (--busyDepth > 0)
        return;
    {
        // The watchdog sends no signal after this.
        std::lock_guard<std::mutex> lock(watchMutex);
        running = false;
    }
    // A late Ctrl+C must not hit the next statement.
    interruptWanted = false;
    emit deviceWorkHeld(false);
    emit finished();
}

bool PythonEngine::runCode(const QString &code, const QString &fileName)
{
    if (!start())
        return false;
    py::gil_scoped_acquire gil;
    enterCode();
    bool ok = true;
    try {
        py::object builtins = py::module_::import("builtins");
        py::object compiled = builtins.attr("compile")(code, fileName, "exec");
        builtins.attr("exec")(compiled, mainDict());
    } catch (py::error_already_set &error) {
        printException(error);
        ok = false;
    }
    leaveCode();
    return ok;
}

bool PythonEngine::pushLine(const QString &line)
{
    if (!start())
        return false;
    py::gil_scoped_acquire gil;
    enterCode();
    bool more = false;
    try {
        // The interactive interpreter prints its own tracebacks; only
        // SystemExit comes out.
        more = interactive->attr("push")(line).cast<bool>();
    } catch (py::error_already_set &error) {
        printException(error);
        interactive->attr("resetbuffer")();
    }
    leaveCode();
    return more;
}

void PythonEngine::addObject(const QString &name, QObject *object)
{
    if (!start())
        return;
    py::gil_scoped_acquire gil;
    try {
        mainDict()[py::cast(name)] = ScriptBinding::wrap(object);
    } catch (py::error_already_set &error) {
        printException(error);
    }
}

void PythonEngine::emitOutput(const QString &text, bool isError)
{
    emit output(text, isError);
}
