// The program as a user runs it, connected to the simulated instrument and
// ended by a termination signal: it closes as through the window's close
// button, saving the setup and releasing the instrument.
#include "usbtestmain.h"

#include "profilefolder.h"
#include "protocol.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <csignal>
#include <memory>

class TestProgramSignals : public QObject
{
    Q_OBJECT

private slots:
    void closesInOrder_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void closesInOrder()
    {
        QFETCH(int, signalNumber);
        ProfileFolder workFolder;
        QVERIFY(workFolder.enter());
        QTemporaryDir configHome;
        SimulatedInstrument instrument;
        std::string error;
        QVERIFY2(instrument.start(&error), error.c_str());

        QProcess program;
        // The simulator's testbed and preload reach the program through the environment.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", configHome.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(QDir::currentPath());
        program.start(qEnvironmentVariable("VESK_BINARY"), QStringList());
        QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
        // Connected: the settings went out and the instrument answered the last confirmed write.
        QVERIFY(instrument.waitForRequest(REQ_SET_CONFIG_CONFIRM, CFG_DAC_CONTROL, 30000) >= 0);
        QVERIFY(instrument.interfaceClaimed());
        const size_t connectedAt = instrument.wireLog().size();

        ::kill(pid_t(program.processId()), signalNumber);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);

        QFile log(QDir::current().filePath("vesk.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains("Application goes down"));
        // The setup was saved when closing: the store did not exist before.
        QSettings store(configHome.filePath("vesk.example/Vesk.conf"), QSettings::IniFormat);
        QVERIFY2(store.childGroups().contains("Trigger"), qPrintable(store.childGroups().join(',')));
        QCOMPARE(store.value("loggingLevel").toInt(), 2);
        // The instrument was told, and the interface released.
        QVERIFY(instrument.waitForRequest(REQ_DISCONNECT, -1, 0, connectedAt) >= 0);
        QVERIFY(!instrument.interfaceClaimed());
    }
};

VESK_USB_TEST_MAIN(TestProgramSignals)
#include "tst_programsignals.moc"
