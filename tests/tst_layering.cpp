// The layers stay one-way: only the window's own member files (and the
// program entry that creates the window) include the window class or its
// form; every unit beneath it stays usable without a window.
#include "testmain.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

namespace {

const QStringList programFolders = {"app",      "mainwindow", "device",  "scope",     "meter",
                                    "settings", "python",     "widgets", "generator", "sniffer",
                                    "simulator"};

// Window members kept beside the units of another folder; their first line says so.
const QStringList membersOutsideWindowFolder = {"device/configencoders.cpp", "device/deviceconnection.cpp"};

bool includesWindow(const QString &source)
{
    static const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*["<](ui_)?veskinterface\.h[">])"),
                                            QRegularExpression::MultilineOption);
    return include.match(source).hasMatch();
}

bool definesWindowMembers(const QString &source)
{
    return source.contains(QStringLiteral("VeskInterface::"));
}

// Empty when the file may include what it includes, else the reason.
QString layeringFault(const QString &path, const QString &source)
{
    if (!includesWindow(source) || path == QLatin1String("app/main.cpp")
        || path == QLatin1String("mainwindow/veskinterface.h"))
        return QString();
    if (!definesWindowMembers(source))
        return path + QStringLiteral(": a unit includes the window or its form");
    if (!path.startsWith(QLatin1String("mainwindow/")) && !membersOutsideWindowFolder.contains(path))
        return path + QStringLiteral(": window members outside the window's folder and its listed files");
    return QString();
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestLayering : public QObject
{
    Q_OBJECT

private slots:
    void judgesIncludes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("fault");
        const QString member = QStringLiteral("#include \"veskinterface.h\"\nvoid VeskInterface::f() {}\n");
        QTest::newRow("unit including the window") << "scope/x.cpp" << "#include \"veskinterface.h\"\n" << true;
        QTest::newRow("unit including the form") << "meter/x.cpp" << "# include <ui_veskinterface.h>\n" << true;
        QTest::newRow("unit in the window folder") << "mainwindow/x.cpp" << "  #include \"ui_veskinterface.h\"\n" << true;
        QTest::newRow("window member") << "mainwindow/x.cpp" << member << false;
        QTest::newRow("listed device member") << "device/deviceconnection.cpp" << member << false;
        QTest::newRow("unlisted member elsewhere") << "python/x.cpp" << member << true;
        QTest::newRow("program entry") << "app/main.cpp" << "#include \"veskinterface.h\"\n" << false;
        QTest::newRow("other header") << "scope/x.cpp" << "#include \"veskinterfaceoptions.h\"\n" << false;
        QTest::newRow("mentioned in a comment") << "scope/x.cpp" << "// not veskinterface.h\n" << false;
    }

    void judgesIncludes()
    {
        QFETCH(QString, path);
        QFETCH(QString, source);
        QFETCH(bool, fault);
        QCOMPARE(!layeringFault(path, source).isEmpty(), fault);
    }

    void unitsDoNotIncludeTheWindow()
    {
        const QDir root(VeskTest::sourcePath(QString()));
        QStringList faults;
        int files = 0;
        for (const QString &folder : programFolders) {
            QDirIterator it(root.filePath(folder), {"*.cpp", "*.h"}, QDir::Files);
            while (it.hasNext()) {
                const QString path = it.next();
                const QString fault = layeringFault(root.relativeFilePath(path), readAll(path));
                if (!fault.isEmpty())
                    faults << fault;
                ++files;
            }
        }
        QVERIFY2(files > 100, "the program's sources were not found");
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void listedMembersSayWhatTheyAre()
    {
        for (const QString &path : membersOutsideWindowFolder) {
            const QString firstLine = readAll(VeskTest::sourcePath(path)).section(QLatin1Char('\n'), 0, 0);
            QVERIFY2(firstLine.contains(QLatin1String("VeskInterface")), qPrintable(path + ": " + firstLine));
        }
    }
};

VESK_TEST_MAIN(TestLayering)
#include "tst_layering.moc"
