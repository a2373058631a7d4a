#ifndef REPLOTPACER_H
#define REPLOTPACER_H

#include <QObject>
#include <QTimer>

#include <functional>

// Spaces the plot's redraws out to at most one per screen refresh. A request
// is answered on the next event-loop pass when the last redraw is a refresh
// period old, else once that period is over; requests meanwhile join the one
// pending, so the redraw shows whatever was processed last.
class ReplotPacer : public QObject
{
    Q_OBJECT

public:
    // Monotonic milliseconds; the steady clock when none is given.
    using Clock = std::function<qint64()>;

    explicit ReplotPacer(Clock clock = Clock(), QObject *parent = nullptr);

    // Screen refreshes per second; rates of zero or below keep 60.
    void setRefreshRate(double perSecond);
    int periodMs() const { return m_periodMs; }

    void request();
    bool pending() const { return m_timer.isActive(); }
    // How long the pending redraw was set to wait when it was asked for.
    int pendingDelayMs() const { return m_timer.interval(); }

signals:
    void replotDue();

private:
    void fire();

    QTimer m_timer;
    Clock m_clock;
    int m_periodMs = 17;
    qint64 m_lastDraw = 0;
    bool m_drawn = false;
};

#endif // REPLOTPACER_H
