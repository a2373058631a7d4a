#include "testmain.h"
#include "qxmlget.h"

#include <QTemporaryDir>

namespace {

const char *const fixture =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE VeskTest PUBLIC \"-//Vesk//Test\" \"vesktest.dtd\">\n"
    "<root version=\"3\">\n"
    "  <list><li>a</li><li>b</li><li>c</li><other>skipped</other></list>\n"
    "  <group name=\"g1\"><item>1</item><item><inner><item>deep</item></inner></item></group>\n"
    "  <group name=\"g2\"/>\n"
    "  <mixed><![CDATA[one]]>text<![CDATA[two]]></mixed>\n"
    "  <commented><!--note-->5</commented>\n"
    "  <nested><child>5</child></nested>\n"
    "  <empty/>\n"
    "</root>\n";

const char riseAtTop[] = "bool QXmlGet::rise() attept to rise beyond allowed node";

} // namespace

// The cursor reader: finding, moving, getters and the handling of bad input.
class TestXmlReader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir folder;

    static QXmlGet loadedFixture()
    {
        QXmlGet reader;
        if (!reader.fromString(QString::fromUtf8(fixture)))
            qFatal("fixture does not parse");
        return reader;
    }

    QString writeFile(const QString &name, const QByteArray &content)
    {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write test file");
        return file.fileName();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
    }

    void freshReaderReadsTheDocumentElement()
    {
        QXmlGet reader = loadedFixture();
        QCOMPARE(reader.docType(), QString("VeskTest"));
        QCOMPARE(reader.publicId(), QString("-//Vesk//Test"));
        QCOMPARE(reader.systemId(), QString("vesktest.dtd"));
        QCOMPARE(reader.tagName(), QString("root"));
        QCOMPARE(reader.getAttributeString("version"), QString("3"));

        QTest::ignoreMessage(QtDebugMsg, "void QXmlGet::descend() Descended into own parent, possibly missing a rise()");
        reader.descend();
        QVERIFY(reader.find("list")); // still searching the document element's children
        QTest::ignoreMessage(QtDebugMsg, riseAtTop);
        QVERIFY(!reader.rise());
    }

    void failedFindKeepsTheFoundElement()
    {
        QXmlGet reader = loadedFixture();
        QVERIFY(reader.find("group"));
        QVERIFY(!reader.find("absent"));
        QCOMPARE(reader.getAttributeString("name"), QString("g1"));
        QVERIFY(reader.find(QString())); // an empty tag takes any element
        QCOMPARE(reader.tagName(), QString("list"));
    }

    void findNextRunsThroughAndStartsOver()
    {
        QXmlGet reader = loadedFixture();
        QVERIFY(reader.findAndDescend("list"));
        QStringList seen;
        while (reader.findNext("li"))
            seen.append(reader.getString());
        QCOMPARE(seen, (QStringList{"a", "b", "c"}));
        QCOMPARE(reader.tagName(), QString("list")); // reset: nothing found
        QVERIFY(reader.findNext("li"));
        QCOMPARE(reader.getString(), QString("a"));
        reader.findReset();
        QCOMPARE(reader.tagName(), QString("list"));
    }

    void riseContinuesWithTheNextSibling()
    {
        QXmlGet reader = loadedFixture();
        QVERIFY(reader.findNextAndDescend("group"));
        QVERIFY(reader.findNext("item"));
        QVERIFY(reader.rise());
        QCOMPARE(reader.getAttributeString("name"), QString("g1")); // the element left is found
        QVERIFY(reader.findNext("group"));
        QCOMPARE(reader.getAttributeString("name"), QString("g2"));
        QVERIFY(!reader.findNext("group"));

        QTest::ignoreMessage(QtDebugMsg, riseAtTop);
        QVERIFY(!reader.rise());
        QVERIFY(reader.find("group"));
        QCOMPARE(reader.getAttributeString("name"), QString("g1"));
    }

    void goToMakesTheLastChildFound()
    {
        QDomDocument document;
        QVERIFY(document.setContent(QString::fromUtf8(fixture)));
        QXmlGet reader(document);
        const QDomElement group = document.documentElement().firstChildElement("group");
        QVERIFY(reader.goTo(group));
        QVERIFY(reader.hasChildren()); // the second item, which holds "inner"
        QCOMPARE(reader.tagName(), QString("item"));
        QVERIFY(!reader.findNext("item")); // nothing follows the last child
        QVERIFY(reader.findNext("item"));
        QCOMPARE(reader.getInt(), 1);

        QVERIFY(reader.goTo(document.documentElement().firstChildElement("empty")));
        QCOMPARE(reader.tagName(), QString("empty")); // no children: nothing found

        QDomDocument other;
        QVERIFY(other.setContent(QString::fromUtf8(fixture)));
        QTest::ignoreMessage(QtDebugMsg, "bool QXmlGet::goTo(QDomElement) attempt to jump outside of allowed tree");
        QVERIFY(!reader.goTo(other.documentElement()));
        QTest::ignoreMessage(QtDebugMsg, "bool QXmlGet::goTo(QDomElement) attempt to jump outside of allowed tree");
        QVERIFY(!reader.goTo(QDomElement()));
        QCOMPARE(reader.tagName(), QString("empty"));
    }

    void copiesCannotLeaveTheirSubtree()
    {
        QDomDocument document;
        QVERIFY(document.setContent(QString::fromUtf8(fixture)));
        QXmlGet reader(document);
        QVERIFY(reader.find("group"));
        QXmlGet inside = reader.descended();
        QVERIFY(inside.findNextAndDescend("item"));
        QVERIFY(inside.rise());
        QTest::ignoreMessage(QtDebugMsg, riseAtTop);
        QVERIFY(!inside.rise());
        QTest::ignoreMessage(QtDebugMsg, "bool QXmlGet::goTo(QDomElement) attempt to jump outside of allowed tree");
        QVERIFY(!inside.goTo(document.documentElement().firstChildElement("list")));
        QCOMPARE(reader.tagName(), QString("group")); // the original did not move

        QVERIFY(reader.findAndDescend("group"));
        QVERIFY(reader.findAndDescend("item"));
        QXmlGet confined = reader.restricted();
        QTest::ignoreMessage(QtDebugMsg, riseAtTop);
        QVERIFY(!confined.rise());
        QVERIFY(reader.rise());
    }

    void childCountDeepAndDirect()
    {
        QXmlGet reader = loadedFixture();
        QVERIFY(reader.find("group"));
        QCOMPARE(reader.childCount("item"), 3);
        QCOMPARE(reader.childCount(), 2);
        QVERIFY(reader.hasChildren());
        QVERIFY(reader.find("empty"));
        QVERIFY(!reader.hasChildren());
        QCOMPARE(reader.childCount(), 0);
    }

    void textGettersNeedATextFirstChild()
    {
        QXmlGet reader = loadedFixture();
        QVERIFY(reader.find("nested"));
        QCOMPARE(reader.getInt(-1), -1); // first child is an element
        QCOMPARE(reader.getString("default"), QString("default"));
        QVERIFY(reader.find("commented"));
        QCOMPARE(reader.getInt(-1), -1); // first child is a comment
        QVERIFY(reader.find("empty"));
        QCOMPARE(reader.getInt(-1), -1);
        QCOMPARE(reader.getString("default"), QString("default"));
        QVERIFY(reader.find("mixed"));
        QCOMPARE(reader.getString(), QString("onetwo")); // the CDATA parts only
    }

    void stringListNeedsAFoundElement()
    {
        QXmlGet reader = loadedFixture();
        QCOMPARE(reader.getStringList({"default"}), QStringList{"default"});
        QVERIFY(reader.find("list")); // the cursor did not move
        QCOMPARE(reader.getStringList(), (QStringList{"a", "b", "c"}));
        QCOMPARE(reader.tagName(), QString("list"));
        QVERIFY(reader.findNext("group"));
    }

    void missingFileLeavesEverythingAlone()
    {
        QXmlGet reader = loadedFixture();
        QVERIFY(reader.find("group"));
        const QString missing = folder.filePath("missing.xml");
        QString message = "untouched";
        int line = -7;
        int column = -7;
        QTest::ignoreMessage(QtDebugMsg, qPrintable("bool QXmlGet::load(const QString&, QString*, int*, int*) "
                                                    "Couldn't read from file: \"" + missing + "\""));
        QVERIFY(!reader.load(missing, &message, &line, &column));
        QCOMPARE(message, QString("untouched"));
        QCOMPARE(line, -7);
        QCOMPARE(column, -7);
        QCOMPARE(reader.getAttributeString("name"), QString("g1"));
        QCOMPARE(reader.docType(), QString("VeskTest"));
    }

    void fileLoadsWithItsDeclaredEncoding()
    {
        const QString path = writeFile("latin1.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                                                     "<r><t>Gr\xfc\xdf</t></r>");
        QXmlGet reader;
        QVERIFY(reader.load(path));
        QVERIFY(reader.find("t"));
        QCOMPARE(reader.getString(), QString::fromUtf8("Gr\u00fc\u00df"));
    }

    void malformedInputIsRefused_data()
    {
        QTest::addColumn<QByteArray>("content");
        QByteArray deep;
        for (int i = 0; i < 200000; ++i)
            deep += "<a>";
        for (int i = 0; i < 200000; ++i)
            deep += "</a>";
        QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY l0 \"lol\">";
        for (int i = 1; i < 10; ++i) {
            laughs += "<!ENTITY l" + QByteArray::number(i) + " \"";
            for (int j = 0; j < 10; ++j)
                laughs += "&l" + QByteArray::number(i - 1) + ";";
            laughs += "\">";
        }
        laughs += "]><l>&l9;</l>";
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("truncated") << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE VeskHardware><root><a>");
        QTest::newRow("mismatched tags") << QByteArray("<root><a></b></root>");
        QTest::newRow("binary") << QByteArray("\x00\x01\xff\xfe<\x00r>", 8);
        QTest::newRow("two roots") << QByteArray("<a/><b/>");
        QTest::newRow("unterminated attribute") << QByteArray("<root a=\"1><b/></root>");
        QTest::newRow("undeclared entity") << QByteArray("<root>&nope;</root>");
        QTest::newRow("entity expansion bomb") << laughs;
        QTest::newRow("200000 levels of nesting") << deep;
    }
    void malformedInputIsRefused()
    {
        QFETCH(QByteArray, content);
        const QString path = writeFile("bad.xml", content);
        QXmlGet reader = loadedFixture();
        QVERIFY(reader.find("group"));
        QString message;
        int line = -1;
        int column = -1;
        QVERIFY(!reader.load(path, &message, &line, &column));
        QVERIFY(!message.isEmpty());
        QVERIFY(line >= 0);
        QVERIFY(column >= 0);
        // The previous document and cursor survive.
        QCOMPARE(reader.docType(), QString("VeskTest"));
        QCOMPARE(reader.getAttributeString("name"), QString("g1"));

        QXmlGet fresh;
        QVERIFY(!fresh.fromString(QString::fromLatin1(content)));
        QCOMPARE(fresh.docType(), QString());
        QCOMPARE(fresh.getInt(4), 4);
        QVERIFY(!fresh.find(QString()));
    }

    void oversizedFileIsRefusedUnread()
    {
        QFile file(folder.filePath("huge.xml"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write("<r>") == 3);
        QVERIFY(file.resize(QXmlGet::maxFileSize + 1));
        file.close();
        QXmlGet reader;
        QString message = "untouched";
        QTest::ignoreMessage(QtDebugMsg, qPrintable("bool QXmlGet::load(const QString&, QString*, int*, int*) "
                                                    "File larger than 16 MiB, not read: \"" + file.fileName() + "\""));
        QVERIFY(!reader.load(file.fileName(), &message));
        QCOMPARE(message, QString("untouched"));
        QCOMPARE(reader.docType(), QString());
    }

    void nullDocumentAndEmptyReader()
    {
        QTest::ignoreMessage(QtDebugMsg, "QXmlGet::QXmlGet(QDomDocument) Attempt to open a QDomDocument that is null");
        QXmlGet fromNull{QDomDocument()};
        QCOMPARE(fromNull.getString("d"), QString("d"));
        QXmlGet empty;
        QCOMPARE(empty.docType(), QString());
        QCOMPARE(empty.getAttributeInt("x", 3), 3);
        QVERIFY(!empty.findNext("x"));
        QCOMPARE(empty.getStringList({"d"}), QStringList{"d"});
    }
};

VESK_TEST_MAIN(TestXmlReader)
#include "tst_xmlreader.moc"
