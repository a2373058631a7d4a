#include "testmain.h"
#include "deviceinformation.h"
#include "hardwareprofile.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextBlock>
#include <QTextFragment>
#include <QTimer>

namespace {

const QByteArray header = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE VeskHardware>\n";

// M accepts hardware 1..3 and software 5..9; the other models test the odd shapes.
const QByteArray standardProfile = header + R"(<hardware>
  <M hardLo="1" hardHi="3" softLo="5" softHi="9" file="m.xml"/>
  <BARE file="m.xml"/>
  <NOFILE hardLo="0" hardHi="9" softLo="0" softHi="9"/>
  <LOST hardLo="0" hardHi="9" softLo="0" softHi="9" file="nowhere/lost.xml"/>
  <DIR hardLo="0" hardHi="9" softLo="0" softHi="9" file="."/>
  <TWICE hardLo="1" hardHi="1" softLo="1" softHi="1" file="m.xml"/>
  <TWICE hardLo="2" hardHi="2" softLo="2" softHi="2" file="m.xml"/>
</hardware>
)";

const QByteArray standardDescription = header + R"(<device>
  <info>
    <description>First line</description>
    <description><![CDATA[Second <line>]]></description>
  </info>
  <health>
    <status code="0">Supply</status>
    <status code="1">Reference</status>
  </health>
</device>
)";

} // namespace

// The check of an instrument's identification against "hardware.xml", and
// the device information lines from its description file.
class TestHardwareProfile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir folder;
    QString startFolder;

    void writeFile(const QString &name, const QByteArray &content)
    {
        QFile::remove(name);
        if (content.isEmpty()) // no file at all
            return;
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write test file");
    }

    static QStringList noticeTexts(const HardwareProfile &profile)
    {
        QStringList texts;
        for (const HardwareProfile::Notice &notice : profile.notices())
            texts.append(notice.title + " / " + notice.text);
        return texts;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        // Both files are looked up in the working directory, as the program does.
        startFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));
    }

    void cleanupTestCase()
    {
        QDir::setCurrent(startFolder);
    }

    void resultCodes_data()
    {
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<QString>("identification");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("notices");

        const QByteArray std = standardProfile;
        QTest::newRow("within bounds") << std << "M.3.7" << 0 << QStringList();
        QTest::newRow("lower bounds are inclusive") << std << "M.1.5" << 0 << QStringList();
        QTest::newRow("upper bounds are inclusive") << std << "M.3.9" << 0 << QStringList();
        QTest::newRow("hardware too new") << std << "M.4.7" << 1
                                          << QStringList{"Hardware / Hardware version (M.4.7) not supported"};
        QTest::newRow("hardware too old") << std << "M.0.7" << 1
                                          << QStringList{"Hardware / Hardware version (M.0.7) not supported"};
        QTest::newRow("software too old") << std << "M.2.4" << 2
                                          << QStringList{"Software / Software version (M.2.4) not supported"};
        QTest::newRow("both, hardware first") << std << "M.4.10" << 2
                                              << QStringList{"Hardware / Hardware version (M.4.10) not supported",
                                                             "Software / Software version (M.4.10) not supported"};
        QTest::newRow("only the first word counts")
            << std << "M.4.7 serial <b>42</b>" << 1
            << QStringList{"Hardware / Hardware version (M.4.7) not supported"};
        QTest::newRow("further fields are ignored") << std << "M.2.6.99.x" << 0 << QStringList();
        QTest::newRow("no bounds accept only 0.0") << std << "BARE.0.0" << 0 << QStringList();
        QTest::newRow("no bounds reject 0.1") << std << "BARE.0.1" << 2
                                              << QStringList{"Software / Software version (BARE.0.1) not supported"};
        QTest::newRow("versions that are not numbers count as 0") << std << "BARE.x.-" << 0 << QStringList();
        QTest::newRow("only the first element of a model counts") << std << "TWICE.1.1" << 0 << QStringList();
        QTest::newRow("no file attribute") << std << "NOFILE.1.1" << 3
                                           << QStringList{"Software / Can't read file: "};
        QTest::newRow("file missing, after the version boxes")
            << std << "LOST.1.10" << 3
            << QStringList{"Software / Software version (LOST.1.10) not supported",
                           "Software / Can't read file: nowhere/lost.xml"};
        QTest::newRow("a folder is not a description file") << std << "DIR.1.1" << 3
                                                            << QStringList{"Software / Can't read file: ."};
        QTest::newRow("unknown model") << std << "X.1.1" << 4 << QStringList{"Hardware / hardware (X.1.1) not suported"};
        QTest::newRow("models compare case-sensitively") << std << "m.2.6" << 4
                                                         << QStringList{"Hardware / hardware (m.2.6) not suported"};
        QTest::newRow("two fields") << std << "M.2" << 4 << QStringList{"Hardware / hardware (M.2) not suported"};
        QTest::newRow("model alone") << std << "M" << 4 << QStringList{"Hardware / hardware (M) not suported"};
        QTest::newRow("empty model") << std << ".2.6" << 4 << QStringList{"Hardware / hardware (.2.6) not suported"};
        QTest::newRow("empty identification") << std << "" << 4 << QStringList{"Hardware / hardware () not suported"};
        QTest::newRow("leading blank leaves an empty word") << std << " M.2.6" << 4
                                                            << QStringList{"Hardware / hardware () not suported"};

        const QStringList wrongType{"Hardware / Wrong doctype in hardware.xml!"};
        QTest::newRow("no profile file") << QByteArray() << "M.2.6" << 5 << wrongType;
        QTest::newRow("no document type") << QByteArray("<hardware><M file=\"m.xml\"/></hardware>") << "M.0.0" << 5
                                          << wrongType;
        QTest::newRow("document type in lower case")
            << QByteArray("<!DOCTYPE veskhardware><hardware><M file=\"m.xml\"/></hardware>") << "M.0.0" << 5
            << wrongType;
        QTest::newRow("malformed profile") << QByteArray(header + "<hardware><M file=\"m.xml\"></hardware>")
                                           << "M.0.0" << 5 << wrongType;
    }
    void resultCodes()
    {
        QFETCH(QByteArray, profile);
        QFETCH(QString, identification);
        QFETCH(int, result);
        QFETCH(QStringList, notices);
        writeFile("hardware.xml", profile);
        writeFile("m.xml", standardDescription);

        HardwareProfile check;
        QCOMPARE(check.check(identification), result);
        QCOMPARE(noticeTexts(check), notices);
        QCOMPARE(check.descriptionFile(), result <= 2 ? QString("m.xml") : QString());
    }

    void checkStartsAfresh()
    {
        writeFile("hardware.xml", standardProfile);
        HardwareProfile check;
        QCOMPARE(check.check("M.4.10"), 2);
        QCOMPARE(check.check("M.2.6"), 0);
        QVERIFY(check.notices().isEmpty());
        QCOMPARE(check.descriptionFile(), QString("m.xml"));
        QCOMPARE(check.check("X.1.1"), 4);
        QCOMPARE(check.descriptionFile(), QString());
    }

    void deviceInformationLines_data()
    {
        QTest::addColumn<QByteArray>("description");
        QTest::addColumn<int>("mask");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("descriptions and health, mask 1")
            << standardDescription << 0x01
            << QStringList{"    First line", "    Second <line>", "Health status", "    Supply: OK",
                           "    Reference: Problem!"};
        const QByteArray codes = header + R"(<device><health>
            <status code="7">Seven</status>
            <status code="8">Eight</status>
            <status code="33">Thirty-three</status>
            <status code="-1">Minus one</status>
            <status code="-31">Minus thirty-one</status>
            <status>No code</status>
            <status code="x">Bad code</status>
            <status code="2"/>
        </health></device>)";
        QTest::newRow("every bit set") << codes << 0xff
                                       << QStringList{"Health status", "    Seven: OK", "    Eight: Problem!",
                                                      "    Thirty-three: OK", "    Minus one: Problem!",
                                                      "    Minus thirty-one: OK", "    No code: OK",
                                                      "    Bad code: OK", "    : OK"};
        QTest::newRow("only bit 0 set") << codes << 0x01
                                        << QStringList{"Health status", "    Seven: Problem!", "    Eight: Problem!",
                                                       "    Thirty-three: Problem!", "    Minus one: Problem!",
                                                       "    Minus thirty-one: Problem!", "    No code: OK",
                                                       "    Bad code: OK", "    : Problem!"};
        QTest::newRow("no info") << QByteArray(header + "<d><health><status code=\"0\">S</status></health></d>") << 1
                                 << QStringList{"Health status", "    S: OK"};
        QTest::newRow("no health") << QByteArray(header + "<d><info><description>D</description></info></d>") << 1
                                   << QStringList{"    D"};
        QTest::newRow("health before info is not seen")
            << QByteArray(header + "<d><health><status>S</status></health><info><description>D</description></info></d>")
            << 1 << QStringList{"    D"};
        QTest::newRow("empty health") << QByteArray(header + "<d><health/></d>") << 1 << QStringList{"Health status"};
        QTest::newRow("wrong document type")
            << QByteArray("<!DOCTYPE Other><d><info><description>D</description></info></d>") << 1 << QStringList();
        QTest::newRow("malformed") << QByteArray(header + "<d><info><description>D</info></d>") << 1 << QStringList();
        QTest::newRow("missing file") << QByteArray() << 1 << QStringList();
    }
    void deviceInformationLines()
    {
        QFETCH(QByteArray, description);
        QFETCH(int, mask);
        QFETCH(QStringList, lines);
        writeFile("description.xml", description);
        QCOMPARE(DeviceInformation::describe("description.xml", quint8(mask)), lines);
    }

    void paneShowsMarkupLiterally()
    {
        QTextBrowser pane;
        const QStringList lines{"Device connected: <b>M</b>.1.1 &amp; <img src=\"/etc/passwd\">",
                                "    <a href=\"x\">link</a>", "Health status"};
        for (const QString &line : lines)
            DeviceInformation::appendPlainText(&pane, line);
        QCOMPARE(pane.toPlainText(), lines.join('\n'));
        QCOMPARE(pane.document()->blockCount(), 3);
        for (QTextBlock block = pane.document()->begin(); block.isValid(); block = block.next()) {
            for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                QVERIFY(!format.isImageFormat());
                QVERIFY(!format.isAnchor());
                QCOMPARE(format.fontWeight(), int(QFont::Normal));
            }
        }
    }

    void noticesAreShownAsPlainTextInOrder()
    {
        writeFile("hardware.xml", standardProfile);
        HardwareProfile check;
        QCOMPARE(check.check("M.4.10<b>"), 2);

        QWidget window;
        QStringList shown;
        // Each box is modal; answer it from the event loop it runs.
        QTimer closer;
        closer.setInterval(10);
        connect(&closer, &QTimer::timeout, [&shown]() {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            shown.append(box->windowTitle() + " / " + box->text());
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->icon(), QMessageBox::Critical);
            QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
            box->button(QMessageBox::Ok)->click();
        });
        closer.start();
        check.showNotices(&window);
        QCOMPARE(shown, (QStringList{"Hardware / Hardware version (M.4.10<b>) not supported",
                                     "Software / Software version (M.4.10<b>) not supported"}));
    }

    void shippedFilesAcceptTheSimulatedInstrument()
    {
        for (const QString name : {"hardware.xml", "vesksim.xml"}) {
            QFile::remove(name);
            QVERIFY(QFile::copy(VeskTest::sourcePath("data/" + name), name));
        }
        HardwareProfile check;
        QCOMPARE(check.check("VESKSIM.1.1 simulated"), 0);
        QVERIFY(check.notices().isEmpty());
        QCOMPARE(check.check("VESKSIM.2.1"), 1);
        const QStringList lines = DeviceInformation::describe(check.descriptionFile(), 0x0f);
        QVERIFY(lines.size() > 2);
        const int healthLine = lines.indexOf("Health status");
        QVERIFY(healthLine > 0);
        for (int i = 0; i < lines.size(); ++i) {
            QVERIFY(lines.at(i) == "Health status" || lines.at(i).startsWith("    "));
            if (i > healthLine)
                QVERIFY2(lines.at(i).endsWith(": OK"), qPrintable(lines.at(i)));
        }
    }
};

VESK_TEST_MAIN(TestHardwareProfile)
#include "tst_hardwareprofile.moc"
