// Termination signals reach the event loop as one Qt signal; a second one
// while the program closes ends it at once.
#include "testmain.h"
#include "terminationsignals.h"

#include <QProcess>
#include <QSignalSpy>

#include <csignal>

namespace {

const char childFlag[] = "--signal-child";

// Child side: the first signal starts a close that a second signal
// interrupts; the child reports when that close would have finished.
int runChild(int argc, char **argv, int signalNumber)
{
    QCoreApplication app(argc, argv);
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &app, [signalNumber](int) {
        std::raise(signalNumber);
        std::printf("close finished\n");
        QCoreApplication::exit(0);
    });
    std::raise(signalNumber);
    return app.exec();
}

} // namespace

class TestTerminationSignals : public QObject
{
    Q_OBJECT

private slots:
    void firstSignalReachesTheEventLoop_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }

    // The first signal arrives in the event loop, once, with its number.
    void firstSignalReachesTheEventLoop()
    {
        QFETCH(int, signalNumber);
        TerminationSignals termination;
        QSignalSpy received(&termination, &TerminationSignals::received);
        std::raise(signalNumber);
        QVERIFY(received.wait(5000));
        QTest::qWait(50);
        QCOMPARE(received.count(), 1);
        QCOMPARE(received.at(0).at(0).toInt(), signalNumber);
    }

    void secondSignalEndsAtOnce_data() { firstSignalReachesTheEventLoop_data(); }
    void secondSignalEndsAtOnce()
    {
        QFETCH(int, signalNumber);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QString::fromLatin1(childFlag), QString::number(signalNumber)});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(child.exitCode(), signalNumber);
        QVERIFY(!child.readAllStandardOutput().contains("close finished"));
    }
};

int main(int argc, char *argv[])
{
    if (argc >= 3 && qstrcmp(argv[1], childFlag) == 0)
        return runChild(argc, argv, QByteArray(argv[2]).toInt());
    VeskTest::prepareEnvironment();
    QCoreApplication app(argc, argv);
    TestTerminationSignals test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_terminationsignals.moc"
