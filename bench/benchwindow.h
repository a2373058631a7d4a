#pragma once
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>

// What the benchmarks that run the whole window share.

// Only critical lines reach stderr: the figures are the output, not the
// window's and the transport's log lines.
inline void keepOnlyCriticalMessages()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type >= QtCriticalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
}

// Closes every notice (no instrument found, say): it would wait for a click
// that never comes.
class NoticeCloser
{
public:
    NoticeCloser()
    {
        QObject::connect(&timer, &QTimer::timeout, [] {
            if (QWidget *notice = QApplication::activeModalWidget())
                notice->close();
        });
        timer.start(1000);
    }

private:
    QTimer timer;
};
