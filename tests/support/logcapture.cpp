#include "logcapture.h"

#include <mutex>

namespace {
std::mutex captureMutex;
QStringList *captured = nullptr;
}

LogCapture::LogCapture()
{
    std::lock_guard<std::mutex> lock(captureMutex);
    captured = new QStringList;
    previous = qInstallMessageHandler(&LogCapture::handler);
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(previous);
    std::lock_guard<std::mutex> lock(captureMutex);
    delete captured;
    captured = nullptr;
}

void LogCapture::handler(QtMsgType, const QMessageLogContext &, const QString &message)
{
    std::lock_guard<std::mutex> lock(captureMutex);
    if (captured)
        captured->append(message.trimmed());
}

QStringList LogCapture::messages() const
{
    std::lock_guard<std::mutex> lock(captureMutex);
    return *captured;
}

int LogCapture::count(const QString &text) const
{
    return int(messages().count(text));
}

int LogCapture::indexOf(const QString &text, int from) const
{
    return int(messages().indexOf(text, from));
}

void LogCapture::clear()
{
    std::lock_guard<std::mutex> lock(captureMutex);
    captured->clear();
}
