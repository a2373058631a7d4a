#pragma once
#include "protocol.h"

#include <QEventLoop>
#include <QList>
#include <QStringList>
#include <QTimer>
#include <QtGlobal>

// The command line of the benchmarks that run once per time base:
// "--seconds N" per run and "--timebase T", repeatable.
struct TimeBaseRuns
{
    int seconds;
    QList<int> timeBases;

    static TimeBaseRuns fromArguments(const QStringList &args, int seconds, const QList<int> &timeBases)
    {
        TimeBaseRuns runs{seconds, {}};
        for (int i = 1; i < args.size(); ++i) {
            if (args.at(i) == QLatin1String("--seconds") && i + 1 < args.size())
                runs.seconds = qMax(1, args.at(++i).toInt());
            else if (args.at(i) == QLatin1String("--timebase") && i + 1 < args.size())
                runs.timeBases.append(qBound(0, args.at(++i).toInt(), int(SAMPLING_RATE_MAX)));
        }
        if (runs.timeBases.isEmpty())
            runs.timeBases = timeBases;
        return runs;
    }
};

// Lets the event loop run (timers, transfers, replots) for a while.
inline void runEventLoop(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
