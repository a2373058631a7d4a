#include "log.h"

#include <QDateTime>
#include <QMessageLogger>
#include <QMutex>
#include <QSettings>
#include <QTextCodec>

#include <cstdio>
#include <cstdlib>

int loggingLevel = 0;

namespace {
constexpr char stampFormat[] = "yyyy.MM.dd hh:mm:ss:zzz";
}

void startLogging(QSettings &settings)
{
    loggingLevel = settings.value(QStringLiteral("loggingLevel"), 0).toInt();
    // Every record's stream and text use the locale's codec, which Qt builds
    // at first use without a lock: built here, before any thread can log.
    QTextCodec::codecForLocale();
    // Likewise the local time zone and the stamp's format: two threads making
    // the first stamp at once could get an empty one.
    QDateTime::currentDateTime().toString(QLatin1String(stampFormat));
    if (!std::freopen("vesk.log", "w", stderr))
        std::freopen("/dev/null", "w", stderr);
    std::setvbuf(stderr, nullptr, _IONBF, 0);
    qInstallMessageHandler(loggingOutput);
}

namespace {

struct RecordFormat
{
    int threshold;
    const char *format;
};

bool recordFormatFor(QtMsgType type, RecordFormat &out)
{
    switch (type) {
    case QtDebugMsg: out = {0, "[%s] Debug: %s (%s:%u, %s)\n"}; return true;
    case QtInfoMsg: out = {1, "[%s] Info: %s (%s:%u, %s)\n"}; return true;
    case QtWarningMsg: out = {2, "[%s] Warning: %s (%s:%u, %s)\n"}; return true;
    case QtCriticalMsg: out = {3, "[%s] Critical: %s (%s:%u, %s)\n"}; return true;
    case QtFatalMsg: out = {4, "[%s] Fatal: %s (%s:%u, %s)\n"}; return true;
    }
    return false;
}

const char *orNull(const char *text)
{
    return text ? text : "(null)";
}

} // namespace

void loggingOutput(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QByteArray text = message.toLocal8Bit();
    const QByteArray stamp = QDateTime::currentDateTime().toString(QLatin1String(stampFormat)).toUtf8();

    static QMutex mutex;
    mutex.lock();
    RecordFormat record;
    if (recordFormatFor(type, record) && loggingLevel <= record.threshold) {
        std::fprintf(stderr, record.format, stamp.constData(), text.constData(), orNull(context.file),
                     static_cast<unsigned>(context.line), orNull(context.function));
        std::fflush(stderr);
    }
    if (type == QtFatalMsg)
        std::abort();
    mutex.unlock();
}

void logRecord(const QString &text, int level)
{
    QMessageLogger logger(nullptr, 0, nullptr, "default");
    const QByteArray utf8 = text.toUtf8();
    switch (level) {
    case 0: logger.debug() << utf8.constData() << "\n"; break;
    case 1: logger.info() << utf8.constData() << "\n"; break;
    case 2: logger.warning() << utf8.constData() << "\n"; break;
    case 3:
    case 4: logger.critical() << utf8.constData() << "\n"; break;
    default: break;
    }
}
