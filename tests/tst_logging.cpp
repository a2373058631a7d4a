// The log file as a user finds it: each case runs this executable again as a
// child process in a fresh working directory with its own settings store,
// because logging reopens the process's standard error.
#include "testmain.h"
#include "common.h"
#include "log.h"
#include "veskinterface.h"

#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

namespace {

const char childFlag[] = "--log-child";

// ---- child side ----

void logEveryType()
{
    qDebug("plain debug");
    qInfo("plain info");
    qWarning("plain warning");
    qCritical("plain critical");
    for (int level : {-1, 0, 1, 2, 3, 4, 5})
        VeskInterface::logToFile(QStringLiteral("logToFile level %1").arg(level), level);
}

void logFromTwoThreads()
{
    auto writer = [](char tag) {
        for (int i = 0; i < 500; ++i)
            VeskInterface::logToFile(QStringLiteral("thread %1 record %2 %3").arg(tag).arg(i).arg(QString(40, QLatin1Char(tag))), 2);
    };
    QThread *first = QThread::create(writer, 'a');
    QThread *second = QThread::create(writer, 'b');
    first->start();
    second->start();
    first->wait();
    second->wait();
    delete first;
    delete second;
}

int runChild(int argc, char **argv, const QString &scenario)
{
    applyApplicationIdentity();
    QSettings settings;
    startLogging(settings);
    QCoreApplication app(argc, argv);
    if (scenario == QLatin1String("types")) {
        logEveryType();
    } else if (scenario == QLatin1String("threads")) {
        logFromTwoThreads();
    } else if (scenario == QLatin1String("fatal")) {
        qFatal("fatal record");
    } else if (scenario == QLatin1String("descriptor")) {
        // Where descriptor 2 points, for the parent to check.
        const QString target = QFileInfo(QStringLiteral("/proc/self/fd/2")).symLinkTarget();
        std::printf("%s\n", qPrintable(target));
        qWarning("still running");
    }
    return 0;
}

// ---- parent side ----

struct ChildRun
{
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::NormalExit;
    QString log;
    QString output;
};

class LogFixture
{
public:
    LogFixture()
    {
        QDir(workDir.path()).mkpath(QStringLiteral("config/vesk.example"));
    }

    void storeSettings(const QString &iniBody)
    {
        QFile conf(workDir.filePath(QStringLiteral("config/vesk.example/Vesk.conf")));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("[General]\n" + iniBody.toUtf8() + "\n");
    }

    QString path(const QString &name) const { return workDir.filePath(name); }

    ChildRun run(const QString &scenario)
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), workDir.filePath(QStringLiteral("config")));
        child.setProcessEnvironment(env);
        child.setWorkingDirectory(workDir.path());
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(childFlag), scenario});
        ChildRun result;
        if (!child.waitForFinished(60000))
            return result;
        result.exitCode = child.exitCode();
        result.exitStatus = child.exitStatus();
        result.output = QString::fromLocal8Bit(child.readAllStandardOutput());
        QFile log(workDir.filePath(QStringLiteral("vesk.log")));
        if (log.open(QIODevice::ReadOnly))
            result.log = QString::fromLocal8Bit(log.readAll());
        return result;
    }

private:
    QTemporaryDir workDir;
};

const QString stamp = QStringLiteral("\\[\\d{4}\\.\\d{2}\\.\\d{2} \\d{2}:\\d{2}:\\d{2}:\\d{3}\\]");

} // namespace

class TestLogging : public QObject
{
    Q_OBJECT

private slots:
    void levelFilter_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("written");
        const QStringList all{"Debug", "Info", "Warning", "Critical"};
        QTest::newRow("absent") << QString() << all;
        QTest::newRow("negative") << QString("loggingLevel=-1") << all;
        QTest::newRow("0") << QString("loggingLevel=0") << all;
        QTest::newRow("1") << QString("loggingLevel=1") << QStringList{"Info", "Warning", "Critical"};
        QTest::newRow("2") << QString("loggingLevel=2") << QStringList{"Warning", "Critical"};
        QTest::newRow("3") << QString("loggingLevel=3") << QStringList{"Critical"};
        QTest::newRow("4") << QString("loggingLevel=4") << QStringList();
        QTest::newRow("5") << QString("loggingLevel=5") << QStringList();
        QTest::newRow("not a number") << QString("loggingLevel=abc") << all;
    }
    void levelFilter()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, written);
        LogFixture fixture;
        if (!stored.isEmpty())
            fixture.storeSettings(stored);
        const ChildRun run = fixture.run("types");
        QCOMPARE(run.exitCode, 0);
        const QMap<QString, QString> plain{{"Debug", "plain debug"}, {"Info", "plain info"},
                                           {"Warning", "plain warning"}, {"Critical", "plain critical"}};
        for (auto it = plain.cbegin(); it != plain.cend(); ++it) {
            const bool present = run.log.contains(QStringLiteral("] %1: %2 ((null):0, (null))").arg(it.key(), it.value()));
            QVERIFY2(present == written.contains(it.key()), qPrintable(it.key() + " in:\n" + run.log));
        }
        // logToFile: 0 debug, 1 info, 2 warning, 3 and 4 critical, others nothing.
        const QStringList levelTypes{"Debug", "Info", "Warning", "Critical", "Critical"};
        for (int level = 0; level <= 4; ++level) {
            const QString record = QStringLiteral("] %1: logToFile level %2 \n").arg(levelTypes[level]).arg(level);
            QVERIFY2(run.log.contains(record) == written.contains(levelTypes[level]), qPrintable(record));
        }
        QVERIFY(!run.log.contains("logToFile level -1"));
        QVERIFY(!run.log.contains("logToFile level 5"));
    }

    void recordShape()
    {
        LogFixture fixture;
        const ChildRun run = fixture.run("types");
        // A logToFile record spans two lines: the text and a blank, then the
        // position part with absent file and function.
        const QRegularExpression twoLines("^" + stamp + " Warning: logToFile level 2 \\n \\(\\(null\\):0, \\(null\\)\\)$",
                                          QRegularExpression::MultilineOption);
        QVERIFY2(twoLines.match(run.log).hasMatch(), qPrintable(run.log));
        const QRegularExpression oneLine("^" + stamp + " Info: plain info \\(\\(null\\):0, \\(null\\)\\)$",
                                         QRegularExpression::MultilineOption);
        QVERIFY2(oneLine.match(run.log).hasMatch(), qPrintable(run.log));
        // Records keep the order they were made in.
        QVERIFY(run.log.indexOf("plain debug") < run.log.indexOf("plain critical"));
        QVERIFY(run.log.indexOf("plain critical") < run.log.indexOf("logToFile level 0"));
    }

    void logHoldsOnlyTheLatestRun()
    {
        LogFixture fixture;
        QFile old(fixture.path("vesk.log"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("a record of an earlier run\n");
        old.close();
        const ChildRun run = fixture.run("types");
        QVERIFY(!run.log.contains("earlier run"));
        QVERIFY(run.log.contains("plain warning"));
    }

    void fatalAborts_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("recordWritten");
        QTest::newRow("written at 4") << QString("loggingLevel=4") << true;
        QTest::newRow("silent at 5") << QString("loggingLevel=5") << false;
    }
    void fatalAborts()
    {
        QFETCH(QString, stored);
        QFETCH(bool, recordWritten);
        LogFixture fixture;
        fixture.storeSettings(stored);
        const ChildRun run = fixture.run("fatal");
        QCOMPARE(run.exitStatus, QProcess::CrashExit);
        QCOMPARE(run.exitCode, int(SIGABRT));
        QCOMPARE(run.log.contains(QRegularExpression(stamp + " Fatal: fatal record \\(\\(null\\):0, \\(null\\)\\)")), recordWritten);
    }

    void threadsNeverInterleave()
    {
        LogFixture fixture;
        const ChildRun run = fixture.run("threads");
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.log.split('\n', Qt::SkipEmptyParts);
        const QRegularExpression textLine("^" + stamp + " Warning: thread ([ab]) record \\d+ ([ab]){40} $");
        const QRegularExpression positionLine("^ \\(\\(null\\):0, \\(null\\)\\)$");
        int records = 0;
        for (int i = 0; i < lines.size(); ++i) {
            const QRegularExpressionMatch match = textLine.match(lines[i]);
            if (!match.hasMatch())
                continue;
            QCOMPARE(match.captured(1), match.captured(2));
            QVERIFY2(i + 1 < lines.size() && positionLine.match(lines[i + 1]).hasMatch(), qPrintable(lines.value(i + 1)));
            ++records;
        }
        QCOMPARE(records, 1000);
    }

    void unwritableLogKeepsDescriptorTwoTaken()
    {
        LogFixture fixture;
        QVERIFY(QDir().mkpath(fixture.path("vesk.log")));   // a folder where the file would go
        const ChildRun run = fixture.run("descriptor");
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.output.trimmed(), QString("/dev/null"));
    }
};

int main(int argc, char *argv[])
{
    if (argc >= 3 && qstrcmp(argv[1], childFlag) == 0)
        return runChild(argc, argv, QString::fromLatin1(argv[2]));
    VeskTest::prepareEnvironment();
    QCoreApplication app(argc, argv);
    TestLogging test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_logging.moc"
