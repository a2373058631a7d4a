#include "testmain.h"
#include "qxmlget.h"
#include "qxmlput.h"

#include <QDomCDATASection>

// Text forms of values in XML documents, both directions.
class TestXmlValues : public QObject
{
    Q_OBJECT

private:
    // Reader positioned on the one value element the writer wrote.
    static QXmlGet readBack(const QXmlPut &writer)
    {
        QXmlGet reader;
        if (!reader.fromString(writer.toString()))
            qFatal("writer produced unreadable XML");
        reader.findNext(QString());
        return reader;
    }

    // The document must outlive the element handles taken from it.
    static QDomDocument parsed(const QXmlPut &writer)
    {
        QDomDocument document;
        document.setContent(writer.toString(-1));
        return document;
    }

private slots:
    void colorWrittenAndReadBack_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QString>("text");
        QTest::newRow("opaque stays seven characters") << QColor(0x12, 0x34, 0xab) << "#1234ab";
        QTest::newRow("alpha 128") << QColor(0x12, 0x34, 0xab, 128) << "#1234ab80";
        QTest::newRow("alpha 5 keeps two digits") << QColor(0x12, 0x34, 0xab, 5) << "#1234ab05";
        QTest::newRow("fully transparent") << QColor(0, 0, 0, 0) << "#00000000";
    }
    void colorWrittenAndReadBack()
    {
        QFETCH(QColor, color);
        QFETCH(QString, text);
        QCOMPARE(QXmlPut::colorToStr(color), text);
        bool ok = false;
        const QColor back = QXmlGet::strToColor(text, &ok);
        QVERIFY(ok);
        QCOMPARE(back.rgba(), color.rgba());
    }

    void colorParsed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QRgb>("rgba");
        QTest::newRow("#rgba, alpha digit times 17") << "#f008" << true << qRgba(0xff, 0, 0, 136);
        QTest::newRow("#rrggbbaa") << "#12345678" << true << qRgba(0x12, 0x34, 0x56, 0x78);
        QTest::newRow("alpha ff is opaque") << "#ff0000ff" << true << qRgba(0xff, 0, 0, 255);
        QTest::newRow("#rgb") << "#abc" << true << qRgba(0xaa, 0xbb, 0xcc, 255);
        QTest::newRow("colour name") << "steelblue" << true << QColor("steelblue").rgba();
        QTest::newRow("alpha not hexadecimal") << "#abcdefgh" << false << QRgb(0);
        QTest::newRow("signed alpha") << "#123456-1" << false << QRgb(0);
        QTest::newRow("alpha with a blank") << "#123456 1" << false << QRgb(0);
        QTest::newRow("colour part not a colour") << "#zzzzzz80" << false << QRgb(0);
        QTest::newRow("unknown name") << "notacolour" << false << QRgb(0);
        QTest::newRow("empty") << "" << false << QRgb(0);
        QTest::newRow("seventeen characters") << "#1234567890abcdef" << false << QRgb(0);
    }
    void colorParsed()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QRgb, rgba);
        bool ok = !valid;
        const QColor color = QXmlGet::strToColor(text, &ok);
        QCOMPARE(ok, valid);
        QCOMPARE(color.isValid(), valid);
        if (valid)
            QCOMPARE(color.rgba(), rgba);
        QCOMPARE(QXmlGet::strToColor(text).isValid(), valid); // the flag is optional
    }

    void booleanParsed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("formats");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<bool>("value");
        const int all = QXmlPutGet::bfYesNo | QXmlPutGet::bfTrueFalse | QXmlPutGet::bfOneZero;
        QTest::newRow("Yes, case ignored") << "Yes" << int(QXmlPutGet::bfYesNo) << true << true;
        QTest::newRow("true outside the set") << "true" << int(QXmlPutGet::bfYesNo) << false << false;
        QTest::newRow("0 with every format") << "0" << all << true << false;
        QTest::newRow("FALSE") << "FALSE" << int(QXmlPutGet::bfTrueFalse) << true << false;
        QTest::newRow("1 without bfOneZero") << "1" << int(QXmlPutGet::bfYesNo | QXmlPutGet::bfTrueFalse) << false
                                             << false;
        QTest::newRow("blanks are not trimmed") << " yes" << all << false << false;
        QTest::newRow("empty") << "" << all << false << false;
    }
    void booleanParsed()
    {
        QFETCH(QString, text);
        QFETCH(int, formats);
        QFETCH(bool, valid);
        QFETCH(bool, value);
        bool ok = !valid;
        QCOMPARE(QXmlGet::strToBool(text, &ok, QXmlPutGet::BoolFormats(formats)), value);
        QCOMPARE(ok, valid);
    }

    void booleanWritten()
    {
        QCOMPARE(QXmlPut::boolToStr(true, QXmlPutGet::bfYesNo), QString("yes"));
        QCOMPARE(QXmlPut::boolToStr(false, QXmlPutGet::bfTrueFalse), QString("false"));
        QCOMPARE(QXmlPut::boolToStr(true, QXmlPutGet::bfOneZero), QString("1"));
        QTest::ignoreMessage(QtDebugMsg, "static QString QXmlPut::boolToStr(bool, QXmlPutGet::BoolFormat) "
                                         "Invalid QXmlPutGet::BoolFormat format, using bfYesNo 3");
        QCOMPARE(QXmlPut::boolToStr(false, QXmlPutGet::BoolFormat(3)), QString("no"));
    }

    void vectorParsed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QVector<int>>("values");
        QTest::newRow("three items") << "3;-1;7" << true << QVector<int>{3, -1, 7};
        QTest::newRow("one item") << "42" << true << QVector<int>{42};
        QTest::newRow("empty text is one empty part") << "" << false << QVector<int>();
        QTest::newRow("empty part in the middle") << "1;;2" << false << QVector<int>();
        QTest::newRow("trailing separator") << "1;2;" << false << QVector<int>();
        QTest::newRow("not a number") << "1;x" << false << QVector<int>();
        QTest::newRow("not decimal") << "0x10" << false << QVector<int>();
    }
    void vectorParsed()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QVector<int>, values);
        bool ok = !valid;
        QCOMPARE(QXmlGet::strToIntVector(text, &ok), values);
        QCOMPARE(ok, valid);

        // The getters fall back to the caller's default on the same texts.
        QXmlPut writer("root");
        writer.putString("v", text);
        writer.setAttributeString("a", text);
        const QXmlGet reader = readBack(writer);
        const QVector<int> fallback{99};
        QCOMPARE(reader.getIntVector(fallback), valid ? values : fallback);
        QCOMPARE(reader.getAttributeIntVector("a", fallback), valid ? values : fallback);
    }

    void vectorsOfEveryKindRoundTrip()
    {
        QXmlPut writer("root");
        writer.putIntVector("ints", {1, -2, 300});
        writer.putDoubleVector("doubles", {0.5, -1e-3, 1234567});
        writer.putBoolVector("bools", {true, false}, QXmlPutGet::bfOneZero);
        writer.putIntVector("none", {});
        writer.setAttributeBoolVector("flags", {false, true}, QXmlPutGet::bfTrueFalse);
        QVERIFY(writer.toString().contains("<ints>1;-2;300</ints>"));
        QVERIFY(writer.toString().contains("<doubles>0.5;-0.001;1.23457e+06</doubles>"));
        QVERIFY(writer.toString().contains("flags=\"false;true\""));

        QXmlGet reader(writer);
        QVERIFY(reader.find("ints"));
        QCOMPARE(reader.getIntVector(), (QVector<int>{1, -2, 300}));
        QVERIFY(reader.find("doubles"));
        QCOMPARE(reader.getDoubleVector(), (QVector<double>{0.5, -1e-3, 1234570}));
        QVERIFY(reader.find("bools"));
        QCOMPARE(reader.getBoolVector(), (QVector<bool>{true, false}));
        QVERIFY(reader.find("none"));
        QCOMPARE(reader.getIntVector({7}), QVector<int>{7}); // an empty vector does not come back
        QCOMPARE(reader.getAttributeBoolVector("flags", {}, QXmlPutGet::bfTrueFalse), (QVector<bool>{false, true}));
        QCOMPARE(reader.getAttributeBoolVector("flags", {true}, QXmlPutGet::bfYesNo), QVector<bool>{true});
    }

    void scalarsRoundTrip()
    {
        const QDateTime moment(QDate(2024, 2, 29), QTime(23, 59, 58));
        QXmlPut writer("root");
        writer.putInt("int", -42);
        writer.putDouble("big", 1234567);
        writer.putDouble("tenth", 0.1);
        writer.putBool("bool", true, QXmlPutGet::bfTrueFalse);
        writer.putDate("date", moment.date());
        writer.putTime("time", moment.time());
        writer.putDateTime("moment", moment);
        writer.putColor("color", QColor(1, 2, 3, 4));
        writer.setAttributeDouble("scale", 2.5);
        writer.setAttributeInt("count", 7);
        const QString text = writer.toString();
        QVERIFY(text.contains("<big>1.23457e+06</big>"));
        QVERIFY(text.contains("<tenth>0.1</tenth>"));
        QVERIFY(text.contains("<date>2024-02-29</date>"));
        QVERIFY(text.contains("<time>23:59:58</time>"));
        QVERIFY(text.contains("<moment>2024-02-29T23:59:58</moment>"));
        QVERIFY(text.contains(">#01020304</color>"));

        QXmlGet reader(writer);
        QVERIFY(reader.find("int"));
        QCOMPARE(reader.getInt(), -42);
        QVERIFY(reader.find("big"));
        QCOMPARE(reader.getDouble(), 1234570.0);
        QVERIFY(reader.find("bool"));
        QCOMPARE(reader.getBool(false), true);
        QVERIFY(reader.find("date"));
        QCOMPARE(reader.getDate(), moment.date());
        QVERIFY(reader.find("time"));
        QCOMPARE(reader.getTime(), moment.time());
        QVERIFY(reader.find("moment"));
        QCOMPARE(reader.getDateTime(), moment);
        QVERIFY(reader.find("color"));
        QCOMPARE(reader.getColor().rgba(), qRgba(1, 2, 3, 4));
        QCOMPARE(reader.getAttributeDouble("scale"), 2.5);
        QCOMPARE(reader.getAttributeInt("count"), 7);
    }

    void unreadableScalarsGiveTheDefault_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("word") << "abc";
        QTest::newRow("empty") << "";
        QTest::newRow("month 13") << "2024-13-45";
    }
    void unreadableScalarsGiveTheDefault()
    {
        QFETCH(QString, text);
        QXmlPut writer("root");
        writer.putString("v", text);
        writer.setAttributeString("a", text);
        const QXmlGet reader = readBack(writer);
        QCOMPARE(reader.getInt(5), 5);
        QCOMPARE(reader.getDouble(2.5), 2.5);
        QCOMPARE(reader.getBool(true), true);
        QCOMPARE(reader.getDate(QDate(2000, 1, 1)), QDate(2000, 1, 1));
        QCOMPARE(reader.getTime(QTime(1, 2)), QTime(1, 2));
        QCOMPARE(reader.getColor(Qt::red), QColor(Qt::red));
        QCOMPARE(reader.getAttributeInt("a", 5), 5);
        QCOMPARE(reader.getAttributeBool("a", true), true);
        QCOMPARE(reader.getAttributeColor("a", Qt::red), QColor(Qt::red));
        QCOMPARE(reader.getAttributeInt("missing", 5), 5);
    }

    void cdataIsCutAtTerminators_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("sections");
        QTest::newRow("none") << "plain <b>&amp;" << QStringList{"plain <b>&amp;"};
        QTest::newRow("one") << "a]]>b" << QStringList{"a]]", ">b"};
        QTest::newRow("two") << "a]]>b]]>c" << QStringList{"a]]", ">b]]", ">c"};
        QTest::newRow("adjacent") << "]]>]]>" << QStringList{"]]", ">]]", ">"};
        QTest::newRow("empty") << "" << QStringList{""};
    }
    void cdataIsCutAtTerminators()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, sections);
        QXmlPut writer("root");
        writer.putString("s", text, true);

        QStringList written;
        const QDomDocument document = parsed(writer);
        for (QDomNode node = document.documentElement().firstChildElement().firstChild(); !node.isNull(); node = node.nextSibling()) {
            QVERIFY(node.isCDATASection());
            written.append(node.nodeValue());
        }
        QCOMPARE(written, sections);
        QCOMPARE(readBack(writer).getString(), text);
    }

    void byteArrayLinesAndCompression_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("lineLength");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("compression");
        QTest::addColumn<QVector<int>>("lineLengths");
        QTest::newRow("100 bytes, lines of 76") << 100 << 76 << 0 << QString() << QVector<int>{76, 60};
        QTest::newRow("exact multiple") << 57 << 76 << 0 << QString() << QVector<int>{76};
        QTest::newRow("no line length keeps one line") << 100 << 0 << 0 << QString() << QVector<int>{136};
        QTest::newRow("empty") << 0 << 76 << 0 << QString() << QVector<int>{};
        QTest::newRow("level 12 is stored as 9") << 100 << 1000 << 12 << "9" << QVector<int>();
        QTest::newRow("level 3") << 100 << 1000 << 3 << "3" << QVector<int>();
    }
    void byteArrayLinesAndCompression()
    {
        QFETCH(int, size);
        QFETCH(int, lineLength);
        QFETCH(int, level);
        QFETCH(QString, compression);
        QFETCH(QVector<int>, lineLengths);
        QByteArray data;
        for (int i = 0; i < size; ++i)
            data.append(char(i * 7));
        QXmlPut writer("root");
        writer.putByteArray("b", data, lineLength, level);

        const QDomDocument document = parsed(writer);
        const QDomElement element = document.documentElement().firstChildElement();
        QCOMPARE(element.attribute("compression"), compression);
        QCOMPARE(element.hasAttribute("compression"), !compression.isEmpty());
        QVERIFY(element.firstChild().isCDATASection());
        QCOMPARE(element.childNodes().count(), 1);
        const QString text = element.firstChild().nodeValue();
        if (level == 0) {
            QVector<int> lines;
            for (const QString &line : text.split('\n'))
                lines.append(line.size());
            QCOMPARE(lines.takeLast(), 0); // every line ends in a line feed
            QCOMPARE(lines, lineLengths);
        }
        QCOMPARE(readBack(writer).getByteArray("default"), data);
    }

    void byteArrayNotInCdataGivesTheDefault()
    {
        QXmlGet reader;
        QVERIFY(reader.fromString("<r><b>AAEC</b><c compression=\"9\"><![CDATA[bm90IHpsaWI=]]></c></r>"));
        QVERIFY(reader.find("b"));
        QCOMPARE(reader.getByteArray("default"), QByteArray("default"));
        QVERIFY(reader.find("c"));
        QCOMPARE(reader.getByteArray("default"), QByteArray()); // undecodable payload
    }

    // The unpacked size a compressed element declares is bounded like a
    // whole document; a payload that claims more is not unpacked.
    void compressedSizeIsBounded_data()
    {
        QTest::addColumn<quint32>("declared");
        QTest::addColumn<bool>("unpacked");
        QTest::newRow("true size") << quint32(0) << true;
        QTest::newRow("at the limit") << quint32(QXmlGet::maxFileSize) << true;
        QTest::newRow("above the limit") << quint32(QXmlGet::maxFileSize + 1) << false;
        QTest::newRow("four GiB") << quint32(0xFFFFFFFF) << false;
    }

    void compressedSizeIsBounded()
    {
        QFETCH(quint32, declared);
        QFETCH(bool, unpacked);
        const QByteArray data(1000, 'x');
        QByteArray packed = qCompress(data);
        if (declared > 0)
            qToBigEndian(declared, packed.data());
        QXmlGet reader;
        QVERIFY(reader.fromString("<r><c compression=\"9\"><![CDATA[" + QString::fromLatin1(packed.toBase64())
                                  + "]]></c></r>"));
        QVERIFY(reader.find("c"));
        QCOMPARE(reader.getByteArray("default"), unpacked ? data : QByteArray());
    }

    void geometryRoundTrips()
    {
        const QRect rect(QPoint(10, 20), QPoint(19, 29));
        QXmlPut writer("root");
        writer.putRect("rect", rect);
        writer.putSize("size", QSize(3, -4));
        writer.putPoint("point", QPoint(-5, 6));
        writer.putRectF("rectf", QRectF(0.5, 1.5, 2.25, 3));
        writer.putSizeF("sizef", QSizeF(0.125, 8));
        writer.putPointF("pointf", QPointF(-0.5, 1e-3));
        const QDomDocument document = parsed(writer);
        const QDomElement rectElement = document.documentElement().firstChildElement("rect");
        QCOMPARE(rectElement.attribute("left"), QString("10"));
        QCOMPARE(rectElement.attribute("top"), QString("20"));
        QCOMPARE(rectElement.attribute("width"), QString("10"));
        QCOMPARE(rectElement.attribute("height"), QString("10"));

        QXmlGet reader(writer);
        QVERIFY(reader.find("rect"));
        QCOMPARE(reader.getRect(), rect);
        QVERIFY(reader.find("size"));
        QCOMPARE(reader.getSize(), QSize(3, -4));
        QVERIFY(reader.find("point"));
        QCOMPARE(reader.getPoint(), QPoint(-5, 6));
        QVERIFY(reader.find("rectf"));
        QCOMPARE(reader.getRectF(), QRectF(0.5, 1.5, 2.25, 3));
        QVERIFY(reader.find("sizef"));
        QCOMPARE(reader.getSizeF(), QSizeF(0.125, 8));
        QVERIFY(reader.find("pointf"));
        QCOMPARE(reader.getPointF(), QPointF(-0.5, 1e-3));
    }

    void geometryNeedsEveryAttribute()
    {
        QXmlGet reader;
        QVERIFY(reader.fromString("<r><rect left=\"1\" top=\"2\" width=\"3\"/><point x=\"1\" y=\"z\"/></r>"));
        QVERIFY(reader.find("rect"));
        QCOMPARE(reader.getRect(QRect(7, 7, 7, 7)), QRect(7, 7, 7, 7));
        QCOMPARE(reader.getRectF(QRectF(7, 7, 7, 7)), QRectF(7, 7, 7, 7));
        QVERIFY(reader.find("point"));
        QCOMPARE(reader.getPoint(QPoint(9, 9)), QPoint(1, 0)); // present but unreadable reads as 0
    }

    void penRoundTrips()
    {
        QPen dashed(QColor(10, 20, 30, 40), 2.5, Qt::CustomDashLine, Qt::RoundCap, Qt::MiterJoin);
        dashed.setDashPattern({4, 2, 1, 2});
        dashed.setDashOffset(1.5);
        dashed.setMiterLimit(3);
        const QPen plain(Qt::blue, 1, Qt::DotLine);
        QXmlPut writer("root");
        writer.putPen("dashed", dashed);
        writer.putPen("plain", plain);
        QDomDocument document;
        QVERIFY(document.setContent(writer.toString()));
        const QDomElement dashedElement = document.documentElement().firstChildElement("dashed");
        QCOMPARE(dashedElement.attribute("dashpattern"), QString("4;2;1;2"));
        QCOMPARE(dashedElement.attribute("miterlimit"), QString("3"));
        const QDomElement plainElement = document.documentElement().firstChildElement("plain");
        QCOMPARE(plainElement.attribute("penstyle"), QString("3"));
        for (const char *absent : {"dashpattern", "dashoffset", "capstyle", "joinstyle", "miterlimit"})
            QVERIFY2(!plainElement.hasAttribute(absent), absent);

        QXmlGet reader(writer);
        QVERIFY(reader.find("dashed"));
        const QPen dashedBack = reader.getPen();
        QCOMPARE(dashedBack.color().rgba(), dashed.color().rgba());
        QCOMPARE(dashedBack.style(), Qt::CustomDashLine);
        QCOMPARE(dashedBack.widthF(), 2.5);
        QCOMPARE(dashedBack.dashPattern(), dashed.dashPattern());
        QCOMPARE(dashedBack.dashOffset(), 1.5);
        QCOMPARE(dashedBack.capStyle(), Qt::RoundCap);
        QCOMPARE(dashedBack.joinStyle(), Qt::MiterJoin);
        QCOMPARE(dashedBack.miterLimit(), 3.0);
        QVERIFY(reader.find("plain"));
        const QPen defaultPen(Qt::black, 0, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
        const QPen plainBack = reader.getPen(defaultPen);
        QCOMPARE(plainBack.style(), Qt::DotLine);
        // Square cap and bevel join were left out, so they come from the default pen.
        QCOMPARE(plainBack.capStyle(), Qt::FlatCap);
        QCOMPARE(plainBack.joinStyle(), Qt::RoundJoin);
    }

    void penAttributesThatCannotBeUsedKeepTheDefault_data()
    {
        QTest::addColumn<QString>("attributes");
        QTest::newRow("custom dash without a pattern") << "penstyle=\"6\"";
        QTest::newRow("custom dash with an empty pattern") << "penstyle=\"6\" dashpattern=\"\"";
        QTest::newRow("style out of range") << "penstyle=\"99\" capstyle=\"7\" joinstyle=\"-1\"";
        QTest::newRow("unreadable texts") << "color=\"#12\" penstyle=\"x\" width=\"y\" miterlimit=\"z\"";
    }
    void penAttributesThatCannotBeUsedKeepTheDefault()
    {
        QFETCH(QString, attributes);
        const QPen defaultPen(Qt::green, 3, Qt::DashDotLine, Qt::RoundCap, Qt::MiterJoin);
        QXmlGet reader;
        QVERIFY(reader.fromString("<r><pen " + attributes + "/></r>"));
        QVERIFY(reader.find("pen"));
        const QPen pen = reader.getPen(defaultPen);
        QCOMPARE(pen.style(), defaultPen.style());
        QCOMPARE(pen.color(), defaultPen.color());
        QCOMPARE(pen.widthF(), defaultPen.widthF());
        QCOMPARE(pen.capStyle(), defaultPen.capStyle());
        QCOMPARE(pen.joinStyle(), defaultPen.joinStyle());
        QCOMPARE(pen.miterLimit(), defaultPen.miterLimit());
    }

    void brushAndFontRoundTrip()
    {
        QFont font("DejaVu Sans", 13);
        font.setBold(true);
        QXmlPut writer("root");
        writer.putBrush("brush", QBrush(QColor(1, 2, 3, 200), Qt::Dense4Pattern));
        writer.putFont("font", font);
        QXmlGet reader(writer);
        QVERIFY(reader.find("brush"));
        const QBrush brush = reader.getBrush();
        QCOMPARE(brush.style(), Qt::Dense4Pattern);
        QCOMPARE(brush.color().rgba(), qRgba(1, 2, 3, 200));
        QVERIFY(reader.find("font"));
        QCOMPARE(reader.getFont(), font);

        QVERIFY(reader.fromString("<r><brush color=\"nope\" brushstyle=\"999\"/><font/></r>"));
        QVERIFY(reader.find("brush"));
        const QBrush fallback(Qt::red, Qt::CrossPattern);
        QCOMPARE(reader.getBrush(fallback), fallback);
        QVERIFY(reader.find("font"));
        QCOMPARE(reader.getFont(font), font);
    }

    void imageFormats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("compression");
        QTest::newRow("png is deflated") << "png" << "9";
        QTest::newRow("jpg is stored as it is") << "jpg" << "";
        QTest::newRow("JPEG in capitals too") << "JPEG" << "";
    }
    void imageFormats()
    {
        QFETCH(QString, format);
        QFETCH(QString, compression);
        QImage image(8, 4, QImage::Format_RGB32);
        image.fill(QColor(200, 100, 50));
        QXmlPut writer("root");
        writer.putImage("image", image, format, 64);

        const QDomDocument document = parsed(writer);
        const QDomElement element = document.documentElement().firstChildElement();
        QCOMPARE(element.attribute("format"), format);
        QCOMPARE(element.attribute("compression"), compression);
        const QImage back = readBack(writer).getImage();
        QCOMPARE(back.size(), image.size());
        if (format == "png")
            QCOMPARE(back.convertToFormat(QImage::Format_RGB32), image);
    }

    void imageThatCannotBeEncodedWritesNothing()
    {
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(Qt::white);
        QXmlPut writer("root");
        QTest::ignoreMessage(QtDebugMsg, "void QXmlPut::putImage(const QString&, const QImage&, QString, int) "
                                         "Couldn't write image to buffer with format \"nosuchformat\"");
        writer.putImage("image", image, "nosuchformat");
        QVERIFY(parsed(writer).documentElement().firstChildElement().isNull());

        QXmlGet reader;
        QVERIFY(reader.fromString("<r><i><![CDATA[AAAA]]></i><j format=\"png\"><![CDATA[AAAA]]></j></r>"));
        const QImage fallback(1, 1, QImage::Format_Mono);
        QVERIFY(reader.find("i"));
        QCOMPARE(reader.getImage(fallback), fallback); // no format
        QVERIFY(reader.find("j"));
        QCOMPARE(reader.getImage(fallback), fallback); // not a png
    }

    void stringListRoundTrip()
    {
        QXmlPut writer("root");
        writer.putStringList("list", {"one", "a]]>b", ""}, true);
        writer.setAttributeInt("n", 3);
        writer.putStringList("empty", {});
        QVERIFY(writer.toString().contains("<empty/>"));
        QXmlGet reader(writer);
        QVERIFY(reader.find("list"));
        QCOMPARE(reader.getAttributeInt("n"), 3);
        QCOMPARE(reader.getStringList(), (QStringList{"one", "a]]>b", ""}));
        QVERIFY(reader.find("empty"));
        QCOMPARE(reader.getStringList({"x"}), QStringList());
    }
};

VESK_TEST_MAIN(TestXmlValues)
#include "tst_xmlvalues.moc"
