#pragma once
#include <QString>
#include <QStringList>
#include <QtGlobal>

// Collects every Qt log message (any thread) while it exists, instead of
// writing them out. Messages are kept trimmed, as the log shows them.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QStringList messages() const;
    // How many messages equal text exactly.
    int count(const QString &text) const;
    // Position of the first message equal to text at or after from, or -1.
    int indexOf(const QString &text, int from = 0) const;
    void clear();

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &message);
    QtMessageHandler previous;
};
