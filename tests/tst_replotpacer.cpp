// Redraws spaced to the screen refresh, on a clock the test moves by hand.
#include "testmain.h"
#include "replotpacer.h"

#include <QSignalSpy>

#include <limits>

class TestReplotPacer : public QObject
{
    Q_OBJECT

private slots:
    void periodFollowsTheRefreshRate_data()
    {
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("period");
        // Rounded up, so never more redraws than refreshes.
        QTest::newRow("60 Hz") << 60.0 << 17;
        QTest::newRow("144 Hz") << 144.0 << 7;
        QTest::newRow("50 Hz") << 50.0 << 20;
        QTest::newRow("above a kilohertz") << 5000.0 << 1;
        QTest::newRow("unknown rate") << 0.0 << 17;
        QTest::newRow("negative rate") << -30.0 << 17;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 17;
    }

    void periodFollowsTheRefreshRate()
    {
        QFETCH(double, rate);
        QFETCH(int, period);
        ReplotPacer pacer;
        pacer.setRefreshRate(rate);
        QCOMPARE(pacer.periodMs(), period);
    }

    void redrawWaitsForTheRestOfThePeriod_data()
    {
        QTest::addColumn<int>("sinceLastRedraw");
        QTest::addColumn<int>("wait");
        QTest::newRow("at once") << 0 << 17;
        QTest::newRow("within the period") << 5 << 12;
        QTest::newRow("at its end") << 17 << 0;
        QTest::newRow("long after") << 500 << 0;
        // A clock that went back never waits longer than one period.
        QTest::newRow("clock went back") << -100 << 17;
    }

    void redrawWaitsForTheRestOfThePeriod()
    {
        QFETCH(int, sinceLastRedraw);
        QFETCH(int, wait);
        qint64 now = 1000;
        ReplotPacer pacer([&now] { return now; });
        QSignalSpy redraws(&pacer, &ReplotPacer::replotDue);

        // The first request is served on the next pass of the event loop.
        pacer.request();
        QVERIFY(pacer.pending());
        QCOMPARE(pacer.pendingDelayMs(), 0);
        QTRY_COMPARE(redraws.count(), 1);
        QVERIFY(!pacer.pending());

        now += sinceLastRedraw;
        pacer.request();
        QVERIFY(pacer.pending());
        QCOMPARE(pacer.pendingDelayMs(), wait);
        QTRY_COMPARE(redraws.count(), 2);
    }

    void requestsWhileOneIsPendingJoinIt()
    {
        qint64 now = 0;
        ReplotPacer pacer([&now] { return now; });
        QSignalSpy redraws(&pacer, &ReplotPacer::replotDue);
        pacer.request();
        QTRY_COMPARE(redraws.count(), 1);

        for (int i = 0; i < 10; ++i) {
            now += 1;
            pacer.request();
        }
        // Later requests do not push the pending redraw back.
        QCOMPARE(pacer.pendingDelayMs(), 16);
        QTRY_COMPARE(redraws.count(), 2);
        QVERIFY(!pacer.pending());
        QCoreApplication::processEvents();
        QCOMPARE(redraws.count(), 2);

        // A request after the redraw is a new one.
        pacer.request();
        QVERIFY(pacer.pending());
        QTRY_COMPARE(redraws.count(), 3);
    }
};

VESK_TEST_MAIN(TestReplotPacer)
#include "tst_replotpacer.moc"
