#include "testmain.h"
#include "qxmlget.h"
#include "qxmlput.h"

#include <QTemporaryDir>

// The cursor writer: declaration, nesting, attributes, shared documents, saving.
class TestXmlWriter : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir folder;

    static QString readFile(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        return QString::fromUtf8(file.readAll());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
    }

    void declarationAndDocumentType_data()
    {
        QTest::addColumn<bool>("fullForm");
        QTest::addColumn<bool>("standalone");
        QTest::addColumn<QString>("docType");
        QTest::addColumn<QString>("expected");
        QTest::newRow("root tag only") << false << false << QString()
                                       << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root/>\n";
        QTest::newRow("standalone") << true << true << QString()
                                    << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<root/>\n";
        QTest::newRow("document type") << true << false << "VeskHardware"
                                       << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                          "<!DOCTYPE VeskHardware>\n<root/>\n";
    }
    void declarationAndDocumentType()
    {
        QFETCH(bool, fullForm);
        QFETCH(bool, standalone);
        QFETCH(QString, docType);
        QFETCH(QString, expected);
        const QXmlPut writer = fullForm ? QXmlPut("root", "1.0", "UTF-8", standalone, docType) : QXmlPut("root");
        const QString path = folder.filePath(QString("declaration-%1.xml").arg(QTest::currentDataTag()));
        QVERIFY(writer.save(path, 1));
        QCOMPARE(readFile(path), expected);

        QXmlGet reader;
        QVERIFY(reader.load(path));
        QCOMPARE(reader.docType(), docType);
        QCOMPARE(reader.tagName(), QString("root"));
    }

    void documentTypeIdentifiersAreWritten()
    {
        QXmlPut writer("root", "1.0", "UTF-8", false, "VeskTest", "-//Vesk//Test", "vesktest.dtd");
        QXmlGet reader;
        QVERIFY(reader.fromString(writer.toString()));
        QCOMPARE(reader.docType(), QString("VeskTest"));
        QCOMPARE(reader.publicId(), QString("-//Vesk//Test"));
        QCOMPARE(reader.systemId(), QString("vesktest.dtd"));

        QXmlPut noType("root", "1.0", "UTF-8", false, QString(), "-//ignored", "ignored.dtd");
        QVERIFY(!noType.toString().contains("DOCTYPE"));
    }

    void emptyConstructorArgumentsAreLogged()
    {
        QTest::ignoreMessage(QtDebugMsg, "QXmlPut::QXmlPut(const QString&) root tag can't be empty");
        QXmlPut shortForm{QString()};
        const char signature[] = "QXmlPut::QXmlPut(const QString&, const QString&, const QString&, bool, "
                                 "const QString&, const QString&, const QString&) ";
        QTest::ignoreMessage(QtDebugMsg, qPrintable(signature + QString("rootTag can't be empty")));
        QTest::ignoreMessage(QtDebugMsg, qPrintable(signature + QString("xmlVersion can't be empty")));
        QTest::ignoreMessage(QtDebugMsg, qPrintable(signature + QString("encoding can't be empty")));
        QXmlPut fullForm(QString(), QString(), QString(), false);
    }

    void attributesGoToTheElementWrittenOrLeftLast()
    {
        QXmlPut writer("root");
        writer.descend("a");
        writer.putInt("b", 1);
        QVERIFY(writer.rise());
        writer.setAttributeInt("n", 2);
        writer.putSingleTag("single");
        writer.setAttributeString("s", "x");
        writer.putString("value", "v");
        writer.putComment("between");
        writer.setAttributeBool("flag", true);
        // Declarations and comments end their line even without indentation.
        QCOMPARE(writer.toString(-1).remove('\n'), QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                                              "<root><a n=\"2\"><b>1</b></a><single s=\"x\"/>"
                                              "<value flag=\"yes\">v</value><!--between--></root>"));
    }

    void riseStopsAtTheTopOfTheWriter()
    {
        QXmlPut writer("root");
        QTest::ignoreMessage(QtDebugMsg, "bool QXmlPut::rise() attept to rise beyond allowed node");
        QVERIFY(!writer.rise());
        writer.putInt("after", 1); // the cursor stayed at the root
        QVERIFY(writer.toString(-1).endsWith("<root><after>1</after></root>"));
    }

    void descendedWriterFillsItsOwnElement()
    {
        QXmlPut writer("root");
        QXmlPut section = writer.descended("section");
        writer.setAttributeString("by", "parent"); // the new element is the parent's last element
        section.putInt("inner", 1);
        writer.putInt("outer", 2);
        section.putInt("inner", 3);
        QTest::ignoreMessage(QtDebugMsg, "bool QXmlPut::rise() attept to rise beyond allowed node");
        QVERIFY(!section.rise());
        QVERIFY(writer.toString(-1).endsWith(
            "<root><section by=\"parent\"><inner>1</inner><inner>3</inner></section><outer>2</outer></root>"));

        QXmlPut confined = writer.restricted();
        confined.descend("deeper");
        QVERIFY(confined.rise());
        QTest::ignoreMessage(QtDebugMsg, "bool QXmlPut::rise() attept to rise beyond allowed node");
        QVERIFY(!confined.rise());
    }

    void writerAndReaderShareOneDocument()
    {
        QXmlGet reader;
        QVERIFY(reader.fromString("<root><config><a>1</a></config><tail/></root>"));
        QVERIFY(reader.findAndDescend("config"));
        QXmlPut writer(reader);
        writer.putInt("b", 2);
        writer.setAttributeString("new", "yes");

        QVERIFY(reader.findNext("b")); // the reader sees the appended element
        QCOMPARE(reader.getInt(), 2);
        QXmlGet fromWriter(writer);
        QCOMPARE(fromWriter.tagName(), QString("b"));
        QCOMPARE(fromWriter.getAttributeString("new"), QString("yes"));
        QVERIFY(writer.toString(-1).endsWith("<root><config><a>1</a><b new=\"yes\">2</b></config><tail/></root>"));
    }

    void goToAppendsAfterExistingChildren()
    {
        QDomDocument document;
        QVERIFY(document.setContent(QString("<root><list><x/><y/></list><other/></root>")));
        QXmlGet reader(document);
        QXmlPut writer(reader);
        const QDomElement list = document.documentElement().firstChildElement("list");
        QVERIFY(writer.goTo(list));
        writer.setAttributeInt("last", 1); // lands on y, the last child
        writer.putSingleTag("z");
        QVERIFY(writer.toString(-1).endsWith("<root><list><x/><y last=\"1\"/><z/></list><other/></root>"));

        QXmlPut confined = writer.restricted();
        QTest::ignoreMessage(QtDebugMsg, "bool QXmlPut::goTo(QDomElement) attempt to jump outside of allowed tree");
        QVERIFY(!confined.goTo(document.documentElement().firstChildElement("other")));
    }

    void saveReportsFailureAndRepeatsExactly()
    {
        QXmlPut writer("root", "1.0", "UTF-8", false, "VeskHardware");
        writer.putString("text", QString::fromUtf8("\u00b5s <&>"));
        writer.putStringList("list", {"a", "b"});

        const QString unreachable = folder.filePath("missing/dir/out.xml");
        QTest::ignoreMessage(QtDebugMsg, qPrintable("bool QXmlPut::save(const QString&, int) const "
                                                    "Couldn't open file for writing: \"" + unreachable + "\""));
        QVERIFY(!writer.save(unreachable));

        const QString path = folder.filePath("saved.xml");
        QVERIFY(writer.save(path, 4));
        const QString first = readFile(path);
        QVERIFY(writer.save(path, 4));
        QCOMPARE(readFile(path), first);
        QVERIFY(first.contains("\n    <list>\n        <li>a</li>"));

        QXmlGet reader;
        QVERIFY(reader.load(path));
        QCOMPARE(reader.docType(), QString("VeskHardware"));
        QVERIFY(reader.find("text"));
        QCOMPARE(reader.getString(), QString::fromUtf8("\u00b5s <&>"));
    }

    void saveIntoAFullDeviceFails()
    {
        if (!QFile::exists("/dev/full"))
            QSKIP("no /dev/full on this system");
        QXmlPut writer("root");
        QTest::ignoreMessage(QtDebugMsg, "bool QXmlPut::save(const QString&, int) const "
                                         "Couldn't write file: \"/dev/full\"");
        QVERIFY(!writer.save("/dev/full"));
    }
};

VESK_TEST_MAIN(TestXmlWriter)
#include "tst_xmlwriter.moc"
