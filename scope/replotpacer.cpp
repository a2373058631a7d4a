#include "replotpacer.h"

#include <QElapsedTimer>

#include <cmath>

ReplotPacer::ReplotPacer(Clock clock, QObject *parent)
    : QObject(parent), m_clock(std::move(clock))
{
    if (!m_clock) {
        auto started = std::make_shared<QElapsedTimer>();
        started->start();
        m_clock = [started] { return started->elapsed(); };
    }
    m_timer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early, a little above the rate.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ReplotPacer::fire);
    setRefreshRate(60);
}

void ReplotPacer::setRefreshRate(double perSecond)
{
    if (!(perSecond > 0))
        perSecond = 60;
    // Rounded up: never more redraws than refreshes.
    m_periodMs = qMax(1, int(std::ceil(1000.0 / perSecond)));
}

void ReplotPacer::request()
{
    if (m_timer.isActive())
        return;
    const qint64 wait = m_drawn ? m_lastDraw + m_periodMs - m_clock() : 0;
    m_timer.start(int(qBound<qint64>(0, wait, m_periodMs)));
}

void ReplotPacer::fire()
{
    m_lastDraw = m_clock();
    m_drawn = true;
    emit replotDue();
}
