#include "qxmlput.h"
#include "qxmlget.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QTextStream>

namespace {

template <typename T, typename Format>
QString vectorToText(const QVector<T> &values, Format format)
{
    QStringList parts;
    parts.reserve(values.size());
    for (const T &value : values)
        parts.append(format(value));
    return parts.join(QLatin1Char(';'));
}

QString doubleToText(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

QXmlPut::QXmlPut(const QString &rootTag)
    : declarationTarget(QStringLiteral("xml")),
      xmlVersion(QStringLiteral("1.0")),
      encoding(QStringLiteral("UTF-8"))
{
    if (rootTag.isEmpty())
        qDebug() << "QXmlPut::QXmlPut(const QString&)" << "root tag can't be empty";
    start(rootTag, QString(), QString(), QString());
}

QXmlPut::QXmlPut(const QString &rootTag, const QString &xmlVersion, const QString &encoding, bool standalone,
                 const QString &docType, const QString &publicId, const QString &systemId)
    : declarationTarget(QStringLiteral("xml")),
      xmlVersion(xmlVersion),
      encoding(encoding),
      standalone(standalone)
{
    static const char signature[] = "QXmlPut::QXmlPut(const QString&, const QString&, const QString&, bool, "
                                    "const QString&, const QString&, const QString&)";
    if (rootTag.isEmpty())
        qDebug() << signature << "rootTag can't be empty";
    if (xmlVersion.isEmpty())
        qDebug() << signature << "xmlVersion can't be empty";
    if (encoding.isEmpty())
        qDebug() << signature << "encoding can't be empty";
    start(rootTag, docType, publicId, systemId);
}

QXmlPut::QXmlPut(const QXmlGet &reader)
    : document(reader.document),
      topElement(reader.topElement),
      currentElement(reader.currentElement),
      lastElement(reader.foundElement),
      declarationTarget(reader.declarationTarget),
      xmlVersion(reader.xmlVersion),
      encoding(reader.encoding),
      standalone(reader.standalone)
{
}

void QXmlPut::start(const QString &rootTag, const QString &docType, const QString &publicId,
                    const QString &systemId)
{
    // A document keeps its type apart from its children, so it has to be born with it.
    document = docType.isEmpty()
                   ? QDomDocument(QString())
                   : QDomDocument(QDomImplementation().createDocumentType(docType, publicId, systemId));
    const QString declaration = standalone
                                    ? QStringLiteral("version=\"%1\" encoding=\"%2\" standalone=\"yes\"")
                                    : QStringLiteral("version=\"%1\" encoding=\"%2\"");
    document.appendChild(
        document.createProcessingInstruction(declarationTarget, declaration.arg(xmlVersion, encoding)));
    document.appendChild(document.createElement(rootTag));
    topElement = document.documentElement();
    currentElement = topElement;
    lastElement = topElement;
}

bool QXmlPut::save(const QString &fileName, int indent) const
{
    static const char signature[] = "bool QXmlPut::save(const QString&, int) const";
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qDebug() << signature << "Couldn't open file for writing:" << fileName;
        return false;
    }
    QTextStream stream(&file);
    document.save(stream, indent, QDomNode::EncodingFromDocument);
    stream.flush();
    file.close();
    // A full disk must not pass for a saved document.
    if (stream.status() != QTextStream::Ok || file.error() != QFileDevice::NoError) {
        qDebug() << signature << "Couldn't write file:" << fileName;
        return false;
    }
    return true;
}

QString QXmlPut::toString(int indent) const
{
    return document.toString(indent);
}

void QXmlPut::putComment(const QString &text)
{
    currentElement.appendChild(document.createComment(text));
}

void QXmlPut::putSingleTag(const QString &tag)
{
    appendElement(tag);
}

void QXmlPut::descend(const QString &tag)
{
    currentElement = appendElement(tag);
}

QXmlPut QXmlPut::descended(const QString &tag)
{
    QXmlPut copy(*this);
    copy.descend(tag);
    copy.topElement = copy.currentElement;
    lastElement = copy.currentElement;
    return copy;
}

bool QXmlPut::rise()
{
    const QDomElement parent = QXmlPutGet::riseTarget(currentElement, topElement, "bool QXmlPut::rise()");
    if (parent.isNull())
        return false;
    lastElement = currentElement;
    currentElement = parent;
    return true;
}

bool QXmlPut::goTo(QDomElement element)
{
    if (!QXmlPutGet::isWithin(element, topElement)) {
        qDebug() << "bool QXmlPut::goTo(QDomElement)" << "attempt to jump outside of allowed tree";
        return false;
    }
    currentElement = element;
    const QDomElement lastChild = element.lastChildElement();
    lastElement = lastChild.isNull() ? element : lastChild;
    return true;
}

QXmlPut QXmlPut::restricted()
{
    QXmlPut copy(*this);
    copy.topElement = currentElement;
    return copy;
}

QDomElement QXmlPut::appendElement(const QString &tag)
{
    lastElement = document.createElement(tag);
    currentElement.appendChild(lastElement);
    return lastElement;
}

void QXmlPut::putText(const QString &tag, const QString &text)
{
    appendElement(tag).appendChild(document.createTextNode(text));
}

void QXmlPut::putString(const QString &tag, const QString &value, bool asCData)
{
    if (!asCData) {
        putText(tag, value);
        return;
    }
    // A CDATA section cannot hold "]]>": end a section after each "]]" of one.
    static const QString terminator = QStringLiteral("]]>");
    QDomElement element = appendElement(tag);
    int cut = value.indexOf(terminator);
    if (cut < 0) {
        element.appendChild(document.createCDATASection(value));
        return;
    }
    element.appendChild(document.createCDATASection(value.left(cut + 2)));
    for (int next = value.indexOf(terminator, cut + 3); next >= 0; next = value.indexOf(terminator, cut + 3)) {
        element.appendChild(document.createCDATASection(value.mid(cut + 2, next - cut)));
        cut = next;
    }
    element.appendChild(document.createCDATASection(value.mid(cut + 2)));
}

void QXmlPut::putInt(const QString &tag, int value)
{
    putText(tag, QString::number(value, 10));
}

void QXmlPut::putDouble(const QString &tag, double value)
{
    putText(tag, doubleToText(value));
}

void QXmlPut::putBool(const QString &tag, bool value, QXmlPutGet::BoolFormat format)
{
    putText(tag, boolToStr(value, format));
}

void QXmlPut::putDate(const QString &tag, const QDate &value)
{
    putText(tag, value.toString(Qt::ISODate));
}

void QXmlPut::putTime(const QString &tag, const QTime &value)
{
    putText(tag, value.toString(Qt::ISODate));
}

void QXmlPut::putDateTime(const QString &tag, const QDateTime &value)
{
    putText(tag, value.toString(Qt::ISODate));
}

void QXmlPut::putColor(const QString &tag, const QColor &value)
{
    putText(tag, colorToStr(value));
}

void QXmlPut::putIntVector(const QString &tag, const QVector<int> &value)
{
    putText(tag, intVectorToStr(value));
}

void QXmlPut::putDoubleVector(const QString &tag, const QVector<double> &value)
{
    putText(tag, doubleVectorToStr(value));
}

void QXmlPut::putBoolVector(const QString &tag, const QVector<bool> &value, QXmlPutGet::BoolFormat format)
{
    putText(tag, boolVectorToStr(value, format));
}

void QXmlPut::putStringList(const QString &tag, const QStringList &value, bool asCData)
{
    descend(tag);
    for (const QString &item : value)
        putString(QStringLiteral("li"), item, asCData);
    rise();
}

void QXmlPut::putByteArray(const QString &tag, const QByteArray &value, int lineLength, int compressionLevel)
{
    QDomElement element = appendElement(tag);
    const int level = qMin(compressionLevel, 9);
    QByteArray data = value;
    if (level > 0) {
        element.setAttribute(QStringLiteral("compression"), QString::number(level));
        data = qCompress(value, level);
    }
    const QByteArray base64 = data.toBase64();
    // Below one character per line there are no lines to cut: keep it whole.
    const int step = lineLength >= 1 ? lineLength : qMax(base64.size(), 1);
    QByteArray text;
    text.reserve(base64.size() + base64.size() / step + 1);
    for (int position = 0; position < base64.size(); position += step) {
        text.append(base64.mid(position, step));
        text.append('\n');
    }
    element.appendChild(document.createCDATASection(QString::fromLatin1(text)));
}

void QXmlPut::putImage(const QString &tag, const QImage &value, QString format, int lineLength)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!value.save(&buffer, format.toLatin1().constData(), -1)) {
        qDebug() << "void QXmlPut::putImage(const QString&, const QImage&, QString, int)"
                 << "Couldn't write image to buffer with format" << format;
        return;
    }
    // JPEG is compressed already; deflating it again only costs time.
    const QString upper = format.toUpper();
    const int level = upper == QLatin1String("JPEG") || upper == QLatin1String("JPG") ? 0 : 9;
    putByteArray(tag, buffer.data(), lineLength, level);
    lastElement.setAttribute(QStringLiteral("format"), format);
}

void QXmlPut::putFont(const QString &tag, const QFont &value)
{
    appendElement(tag).setAttribute(QStringLiteral("fontdescription"), value.toString());
}

void QXmlPut::putBrush(const QString &tag, const QBrush &value)
{
    QDomElement element = appendElement(tag);
    element.setAttribute(QStringLiteral("color"), colorToStr(value.color()));
    element.setAttribute(QStringLiteral("brushstyle"), QString::number(int(value.style())));
}

void QXmlPut::putPen(const QString &tag, const QPen &value)
{
    QDomElement element = appendElement(tag);
    element.setAttribute(QStringLiteral("color"), colorToStr(value.color()));
    element.setAttribute(QStringLiteral("penstyle"), QString::number(int(value.style())));
    element.setAttribute(QStringLiteral("width"), doubleToText(value.widthF()));
    if (value.style() == Qt::CustomDashLine) {
        element.setAttribute(QStringLiteral("dashpattern"), doubleVectorToStr(value.dashPattern()));
        element.setAttribute(QStringLiteral("dashoffset"), doubleToText(value.dashOffset()));
    }
    if (value.capStyle() != Qt::SquareCap)
        element.setAttribute(QStringLiteral("capstyle"), QString::number(int(value.capStyle())));
    if (value.joinStyle() != Qt::BevelJoin)
        element.setAttribute(QStringLiteral("joinstyle"), QString::number(int(value.joinStyle())));
    if (value.joinStyle() == Qt::MiterJoin)
        element.setAttribute(QStringLiteral("miterlimit"), doubleToText(value.miterLimit()));
}

void QXmlPut::putSize(const QString &tag, const QSize &value)
{
    QDomElement element = appendElement(tag);
    element.setAttribute(QStringLiteral("width"), QString::number(value.width()));
    element.setAttribute(QStringLiteral("height"), QString::number(value.height()));
}

void QXmlPut::putPoint(const QString &tag, const QPoint &value)
{
    QDomElement element = appendElement(tag);
    element.setAttribute(QStringLiteral("x"), QString::number(value.x()));
    element.setAttribute(QStringLiteral("y"), QString::number(value.y()));
}

void QXmlPut::putRect(const QString &tag, const QRect &value)
{
    // Corners are inclusive: width() is right - left + 1.
    QDomElement element = appendElement(tag);
    element.setAttribute(QStringLiteral("left"), QString::number(value.left()));
    element.setAttribute(QStringLiteral("top"), QString::number(value.top()));
    element.setAttribute(QStringLiteral("width"), QString::number(value.width()));
    element.setAttribute(QStringLiteral("height"), QString::number(value.height()));
}

void QXmlPut::putSizeF(const QString &tag, const QSizeF &value)
{
    QDomElement element = appendElement(tag);
    element.setAttribute(QStringLiteral("width"), doubleToText(value.width()));
    element.setAttribute(QStringLiteral("height"), doubleToText(value.height()));
}

void QXmlPut::putPointF(const QString &tag, const QPointF &value)
{
    QDomElement element = appendElement(tag);
    element.setAttribute(QStringLiteral("x"), doubleToText(value.x()));
    element.setAttribute(QStringLiteral("y"), doubleToText(value.y()));
}

void QXmlPut::putRectF(const QString &tag, const QRectF &value)
{
    QDomElement element = appendElement(tag);
    element.setAttribute(QStringLiteral("left"), doubleToText(value.x()));
    element.setAttribute(QStringLiteral("top"), doubleToText(value.y()));
    element.setAttribute(QStringLiteral("width"), doubleToText(value.width()));
    element.setAttribute(QStringLiteral("height"), doubleToText(value.height()));
}

void QXmlPut::setAttributeString(const QString &name, const QString &value)
{
    lastElement.setAttribute(name, value);
}

void QXmlPut::setAttributeInt(const QString &name, int value)
{
    lastElement.setAttribute(name, QString::number(value, 10));
}

void QXmlPut::setAttributeDouble(const QString &name, double value)
{
    lastElement.setAttribute(name, doubleToText(value));
}

void QXmlPut::setAttributeBool(const QString &name, bool value, QXmlPutGet::BoolFormat format)
{
    lastElement.setAttribute(name, boolToStr(value, format));
}

void QXmlPut::setAttributeColor(const QString &name, const QColor &value)
{
    lastElement.setAttribute(name, colorToStr(value));
}

void QXmlPut::setAttributeIntVector(const QString &name, const QVector<int> &value)
{
    lastElement.setAttribute(name, intVectorToStr(value));
}

void QXmlPut::setAttributeDoubleVector(const QString &name, const QVector<double> &value)
{
    lastElement.setAttribute(name, doubleVectorToStr(value));
}

void QXmlPut::setAttributeBoolVector(const QString &name, const QVector<bool> &value, QXmlPutGet::BoolFormat format)
{
    lastElement.setAttribute(name, boolVectorToStr(value, format));
}

QString QXmlPut::colorToStr(const QColor &color)
{
    QString text = color.name();
    if (color.alpha() < 255)
        text += QStringLiteral("%1").arg(color.alpha(), 2, 16, QLatin1Char('0'));
    return text;
}

QString QXmlPut::boolToStr(bool value, QXmlPutGet::BoolFormat format)
{
    switch (format) {
    case QXmlPutGet::bfYesNo:
        break;
    case QXmlPutGet::bfTrueFalse:
        return value ? QStringLiteral("true") : QStringLiteral("false");
    case QXmlPutGet::bfOneZero:
        return value ? QStringLiteral("1") : QStringLiteral("0");
    default:
        qDebug() << "static QString QXmlPut::boolToStr(bool, QXmlPutGet::BoolFormat)"
                 << "Invalid QXmlPutGet::BoolFormat format, using bfYesNo" << int(format);
        break;
    }
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

QString QXmlPut::intVectorToStr(const QVector<int> &value)
{
    return vectorToText(value, [](int item) { return QString::number(item, 10); });
}

QString QXmlPut::doubleVectorToStr(const QVector<double> &value)
{
    return vectorToText(value, doubleToText);
}

QString QXmlPut::boolVectorToStr(const QVector<bool> &value, QXmlPutGet::BoolFormat format)
{
    return vectorToText(value, [format](bool item) { return boolToStr(item, format); });
}
