#pragma once
#include "timebaseruns.h"
#include "veskinterface.h"

#include <QApplication>
#include <QTemporaryDir>
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

// A settings store of the run's own, so the window starts at the set-up of a
// fresh store; made before the application, which reads the variable.
class FreshSettingsStore
{
public:
    FreshSettingsStore() { qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit()); }

private:
    QTemporaryDir dir;
};

// Shows the window at the size the figures are taken at and lets its own
// connection and delayed scope start run first; whether it connected.
inline bool showAndConnect(VeskInterface &w)
{
    w.resize(1371, 966);
    w.show();
    runEventLoop(3500);
    return w.libUsbDevice.connected;
}
