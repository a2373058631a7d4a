#include "qxmlget.h"

#include <QtEndian>
#include "qxmlput.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cctype>

namespace {

// Hex digits only: toInt(…, 16) alone would also take a sign or blanks.
int hexDigitsValue(const QString &digits, bool *ok)
{
    for (const QChar c : digits) {
        if (c.unicode() > 0x7f || !isxdigit(c.unicode())) {
            *ok = false;
            return 0;
        }
    }
    return digits.toInt(ok, 16);
}

// Splits at ";" and converts every part; one bad part spoils the whole text.
template <typename T, typename Convert>
QVector<T> textToVector(const QString &text, bool *ok, Convert convert)
{
    QVector<T> result;
    bool allValid = true;
    for (const QString &part : text.split(QLatin1Char(';'), Qt::KeepEmptyParts)) {
        bool partValid = false;
        const T value = convert(part, &partValid);
        if (!partValid) {
            allValid = false;
            result.clear();
            break;
        }
        result.append(value);
    }
    if (ok)
        *ok = allValid;
    return result;
}

// Styles outside these sets would be out of range for the enumerations.
bool isPenStyle(int style)
{
    return style >= Qt::NoPen && style <= Qt::CustomDashLine;
}

bool isCapStyle(int style)
{
    return style == Qt::FlatCap || style == Qt::SquareCap || style == Qt::RoundCap;
}

bool isJoinStyle(int style)
{
    return style == Qt::MiterJoin || style == Qt::BevelJoin || style == Qt::RoundJoin || style == Qt::SvgMiterJoin;
}

// Gradient and texture styles need data the brush form does not carry.
bool isPatternBrushStyle(int style)
{
    return style >= Qt::NoBrush && style <= Qt::DiagCrossPattern;
}

// The DOM parser recurses once per nesting level and runs out of stack on
// hostile documents, so nesting is measured first by the iterative reader.
constexpr int maxNestingDepth = 256;

template <typename Content>
bool parseDocument(const Content &content, QDomDocument *document, QString *errorMsg, int *errorLine,
                   int *errorColumn)
{
    QXmlStreamReader scanner(content);
    int depth = 0;
    while (!scanner.atEnd()) {
        const QXmlStreamReader::TokenType token = scanner.readNext();
        if (token == QXmlStreamReader::StartElement && ++depth > maxNestingDepth)
            scanner.raiseError(QStringLiteral("Elements nested deeper than %1 levels").arg(maxNestingDepth));
        else if (token == QXmlStreamReader::EndElement)
            --depth;
    }
    if (scanner.hasError()) {
        if (errorMsg)
            *errorMsg = scanner.errorString();
        if (errorLine)
            *errorLine = int(scanner.lineNumber());
        if (errorColumn)
            *errorColumn = int(scanner.columnNumber());
        return false;
    }
    return document->setContent(content, false, errorMsg, errorLine, errorColumn);
}

} // namespace

QXmlGet::QXmlGet() = default;

QXmlGet::QXmlGet(QDomDocument doc)
    : document(doc)
{
    if (document.isNull()) {
        qDebug() << "QXmlGet::QXmlGet(QDomDocument)" << "Attempt to open a QDomDocument that is null";
        return;
    }
    const QDomNode first = document.firstChild();
    if (first.isProcessingInstruction()) {
        const QDomProcessingInstruction declaration = first.toProcessingInstruction();
        declarationTarget = declaration.target();
        static const QRegularExpression pseudoAttribute(
            QStringLiteral("(version|encoding|standalone) *= *(?:\"|')([^\"' ]*)(?:\"|')"));
        QRegularExpressionMatchIterator matches = pseudoAttribute.globalMatch(declaration.data());
        while (matches.hasNext()) {
            const QRegularExpressionMatch match = matches.next();
            const QString name = match.captured(1);
            if (name == QLatin1String("version"))
                xmlVersion = match.captured(2);
            else if (name == QLatin1String("encoding"))
                encoding = match.captured(2);
            else
                standalone = match.captured(2) == QLatin1String("yes");
        }
    }
    topElement = document.documentElement();
    currentElement = topElement;
    foundElement = topElement;
}

QXmlGet::QXmlGet(const QXmlPut &writer)
    : document(writer.document),
      topElement(writer.topElement),
      currentElement(writer.currentElement),
      foundElement(writer.lastElement),
      declarationTarget(writer.declarationTarget),
      xmlVersion(writer.xmlVersion),
      encoding(writer.encoding),
      standalone(writer.standalone)
{
}

bool QXmlGet::load(const QString &fileName, QString *errorMsg, int *errorLine, int *errorColumn)
{
    static const char signature[] = "bool QXmlGet::load(const QString&, QString*, int*, int*)";
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << signature << "Couldn't read from file:" << fileName;
        return false;
    }
    // Read in chunks so that endless devices are cut off at the limit too.
    QByteArray data;
    char chunk[64 * 1024];
    while (data.size() <= maxFileSize) {
        const qint64 count = file.read(chunk, sizeof chunk);
        if (count <= 0)
            break;
        data.append(chunk, int(count));
    }
    file.close();
    if (data.size() > maxFileSize) {
        qDebug() << signature << "File larger than 16 MiB, not read:" << fileName;
        return false;
    }
    QDomDocument parsed;
    if (!parseDocument(data, &parsed, errorMsg, errorLine, errorColumn))
        return false;
    *this = QXmlGet(parsed);
    return true;
}

bool QXmlGet::fromString(const QString &text, QString *errorMsg, int *errorLine, int *errorColumn)
{
    QDomDocument parsed;
    if (!parseDocument(text, &parsed, errorMsg, errorLine, errorColumn))
        return false;
    *this = QXmlGet(parsed);
    return true;
}

QString QXmlGet::docType() const
{
    return document.doctype().name();
}

QString QXmlGet::publicId() const
{
    return document.doctype().publicId();
}

QString QXmlGet::systemId() const
{
    return document.doctype().systemId();
}

bool QXmlGet::find(const QString &tag)
{
    const QDomElement candidate = currentElement.firstChildElement(tag);
    if (candidate.isNull())
        return false;
    foundElement = candidate;
    return true;
}

bool QXmlGet::findNext(const QString &tag)
{
    const QDomElement candidate = foundElement == currentElement ? currentElement.firstChildElement(tag)
                                                                 : foundElement.nextSiblingElement(tag);
    if (candidate.isNull()) {
        foundElement = currentElement;
        return false;
    }
    foundElement = candidate;
    return true;
}

void QXmlGet::findReset()
{
    foundElement = currentElement;
}

bool QXmlGet::findAndDescend(const QString &tag)
{
    if (!find(tag))
        return false;
    descend();
    return true;
}

bool QXmlGet::findNextAndDescend(const QString &tag)
{
    if (!findNext(tag))
        return false;
    descend();
    return true;
}

void QXmlGet::descend()
{
    if (foundElement == currentElement)
        qDebug() << "void QXmlGet::descend()" << "Descended into own parent, possibly missing a rise()";
    currentElement = foundElement;
}

QXmlGet QXmlGet::descended()
{
    QXmlGet copy(*this);
    copy.descend();
    copy.topElement = copy.currentElement;
    return copy;
}

bool QXmlGet::rise()
{
    const QDomElement parent = QXmlPutGet::riseTarget(currentElement, topElement, "bool QXmlGet::rise()");
    if (parent.isNull())
        return false;
    foundElement = currentElement;
    currentElement = parent;
    return true;
}

bool QXmlGet::goTo(QDomElement element)
{
    if (!QXmlPutGet::isWithin(element, topElement)) {
        qDebug() << "bool QXmlGet::goTo(QDomElement)" << "attempt to jump outside of allowed tree";
        return false;
    }
    currentElement = element;
    const QDomElement lastChild = element.lastChildElement();
    foundElement = lastChild.isNull() ? element : lastChild;
    return true;
}

QXmlGet QXmlGet::restricted()
{
    QXmlGet copy(*this);
    copy.topElement = currentElement;
    return copy;
}

QString QXmlGet::tagName() const
{
    return foundElement.tagName();
}

bool QXmlGet::hasAttribute(const QString &name) const
{
    return foundElement.hasAttribute(name);
}

bool QXmlGet::hasChildren() const
{
    return !foundElement.firstChildElement().isNull();
}

int QXmlGet::childCount(const QString &tag) const
{
    if (!tag.isEmpty())
        return foundElement.elementsByTagName(tag).count();
    int count = 0;
    for (QDomElement child = foundElement.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        ++count;
    return count;
}

bool QXmlGet::elementText(QString *text) const
{
    const QDomNode first = foundElement.firstChild();
    if (first.isNull() || !first.isText())
        return false;
    *text = first.nodeValue();
    return true;
}

bool QXmlGet::hasAttributes(std::initializer_list<const char *> names) const
{
    for (const char *name : names) {
        if (!foundElement.hasAttribute(QLatin1String(name)))
            return false;
    }
    return true;
}

QString QXmlGet::getString(const QString &defaultValue) const
{
    const QDomNode first = foundElement.firstChild();
    if (first.isCDATASection()) {
        QString joined;
        for (QDomNode node = first; !node.isNull(); node = node.nextSibling()) {
            if (node.isCDATASection())
                joined += node.nodeValue();
        }
        return joined;
    }
    if (first.isText())
        return first.nodeValue();
    return defaultValue;
}

int QXmlGet::getInt(int defaultValue) const
{
    QString text;
    bool ok = false;
    const int value = elementText(&text) ? text.toInt(&ok, 10) : 0;
    return ok ? value : defaultValue;
}

double QXmlGet::getDouble(double defaultValue) const
{
    QString text;
    bool ok = false;
    const double value = elementText(&text) ? text.toDouble(&ok) : 0.0;
    return ok ? value : defaultValue;
}

bool QXmlGet::getBool(bool defaultValue, QXmlPutGet::BoolFormats formats) const
{
    QString text;
    bool ok = false;
    const bool value = elementText(&text) ? strToBool(text, &ok, formats) : false;
    return ok ? value : defaultValue;
}

QDate QXmlGet::getDate(const QDate &defaultValue) const
{
    QString text;
    if (!elementText(&text))
        return defaultValue;
    const QDate value = QDate::fromString(text, Qt::ISODate);
    return value.isValid() ? value : defaultValue;
}

QTime QXmlGet::getTime(const QTime &defaultValue) const
{
    QString text;
    if (!elementText(&text))
        return defaultValue;
    const QTime value = QTime::fromString(text, Qt::ISODate);
    return value.isValid() ? value : defaultValue;
}

QDateTime QXmlGet::getDateTime(const QDateTime &defaultValue) const
{
    QString text;
    if (!elementText(&text))
        return defaultValue;
    const QDateTime value = QDateTime::fromString(text, Qt::ISODate);
    return value.isValid() ? value : defaultValue;
}

QColor QXmlGet::getColor(const QColor &defaultValue) const
{
    QString text;
    bool ok = false;
    const QColor value = elementText(&text) ? strToColor(text, &ok) : QColor();
    return ok ? value : defaultValue;
}

QVector<int> QXmlGet::getIntVector(const QVector<int> &defaultValue) const
{
    QString text;
    bool ok = false;
    const QVector<int> value = elementText(&text) ? strToIntVector(text, &ok) : QVector<int>();
    return ok ? value : defaultValue;
}

QVector<double> QXmlGet::getDoubleVector(const QVector<double> &defaultValue) const
{
    QString text;
    bool ok = false;
    const QVector<double> value = elementText(&text) ? strToDoubleVector(text, &ok) : QVector<double>();
    return ok ? value : defaultValue;
}

QVector<bool> QXmlGet::getBoolVector(const QVector<bool> &defaultValue, QXmlPutGet::BoolFormats formats) const
{
    QString text;
    bool ok = false;
    const QVector<bool> value = elementText(&text) ? strToBoolVector(text, &ok, formats) : QVector<bool>();
    return ok ? value : defaultValue;
}

QString QXmlGet::getAttributeString(const QString &name, const QString &defaultValue) const
{
    return foundElement.hasAttribute(name) ? foundElement.attribute(name) : defaultValue;
}

int QXmlGet::getAttributeInt(const QString &name, int defaultValue) const
{
    bool ok = false;
    const int value = foundElement.attribute(name).toInt(&ok, 10);
    return foundElement.hasAttribute(name) && ok ? value : defaultValue;
}

double QXmlGet::getAttributeDouble(const QString &name, double defaultValue) const
{
    bool ok = false;
    const double value = foundElement.attribute(name).toDouble(&ok);
    return foundElement.hasAttribute(name) && ok ? value : defaultValue;
}

bool QXmlGet::getAttributeBool(const QString &name, bool defaultValue, QXmlPutGet::BoolFormats formats) const
{
    bool ok = false;
    const bool value = strToBool(foundElement.attribute(name), &ok, formats);
    return foundElement.hasAttribute(name) && ok ? value : defaultValue;
}

QColor QXmlGet::getAttributeColor(const QString &name, const QColor &defaultValue) const
{
    bool ok = false;
    const QColor value = strToColor(foundElement.attribute(name), &ok);
    return foundElement.hasAttribute(name) && ok ? value : defaultValue;
}

QVector<int> QXmlGet::getAttributeIntVector(const QString &name, const QVector<int> &defaultValue) const
{
    bool ok = false;
    const QVector<int> value = strToIntVector(foundElement.attribute(name), &ok);
    return foundElement.hasAttribute(name) && ok ? value : defaultValue;
}

QVector<double> QXmlGet::getAttributeDoubleVector(const QString &name, const QVector<double> &defaultValue) const
{
    bool ok = false;
    const QVector<double> value = strToDoubleVector(foundElement.attribute(name), &ok);
    return foundElement.hasAttribute(name) && ok ? value : defaultValue;
}

QVector<bool> QXmlGet::getAttributeBoolVector(const QString &name, const QVector<bool> &defaultValue,
                                              QXmlPutGet::BoolFormats formats) const
{
    bool ok = false;
    const QVector<bool> value = strToBoolVector(foundElement.attribute(name), &ok, formats);
    return foundElement.hasAttribute(name) && ok ? value : defaultValue;
}

QByteArray QXmlGet::getByteArray(const QByteArray &defaultValue) const
{
    const int compression = getAttributeInt(QStringLiteral("compression"), 0);
    const QDomNode first = foundElement.firstChild();
    if (!first.isCDATASection())
        return defaultValue;
    QByteArray base64 = first.nodeValue().toLatin1();
    base64.replace('\n', QByteArray());
    const QByteArray data = QByteArray::fromBase64(base64);
    if (compression <= 0)
        return data;
    // The first four bytes declare the unpacked size (big-endian); no
    // element may unpack to more than a whole document may hold. Refused
    // like any undecodable payload.
    if (data.size() >= 4 && qFromBigEndian<quint32>(data.constData()) > quint32(maxFileSize))
        return QByteArray();
    return qUncompress(data);
}

QImage QXmlGet::getImage(const QImage &defaultValue) const
{
    if (!foundElement.hasAttribute(QStringLiteral("format")))
        return defaultValue;
    const QByteArray format = foundElement.attribute(QStringLiteral("format")).toLatin1();
    QBuffer buffer;
    buffer.setData(getByteArray(QByteArray()));
    buffer.open(QIODevice::ReadOnly);
    QImage image;
    if (!image.load(&buffer, format.constData()))
        return defaultValue;
    return image;
}

QFont QXmlGet::getFont(const QFont &defaultValue) const
{
    QFont font(defaultValue);
    if (foundElement.hasAttribute(QStringLiteral("fontdescription")))
        font.fromString(foundElement.attribute(QStringLiteral("fontdescription")));
    return font;
}

QSize QXmlGet::getSize(const QSize &defaultValue) const
{
    if (!hasAttributes({"width", "height"}))
        return defaultValue;
    return QSize(getAttributeInt(QStringLiteral("width"), 0), getAttributeInt(QStringLiteral("height"), 0));
}

QPoint QXmlGet::getPoint(const QPoint &defaultValue) const
{
    if (!hasAttributes({"x", "y"}))
        return defaultValue;
    return QPoint(getAttributeInt(QStringLiteral("x"), 0), getAttributeInt(QStringLiteral("y"), 0));
}

QRect QXmlGet::getRect(const QRect &defaultValue) const
{
    if (!hasAttributes({"left", "top", "width", "height"}))
        return defaultValue;
    // QRect(x, y, w, h) gives right = left + width - 1, bottom = top + height - 1.
    return QRect(getAttributeInt(QStringLiteral("left"), 0), getAttributeInt(QStringLiteral("top"), 0),
                 getAttributeInt(QStringLiteral("width"), 0), getAttributeInt(QStringLiteral("height"), 0));
}

QSizeF QXmlGet::getSizeF(const QSizeF &defaultValue) const
{
    if (!hasAttributes({"width", "height"}))
        return defaultValue;
    return QSizeF(getAttributeDouble(QStringLiteral("width"), 0.0), getAttributeDouble(QStringLiteral("height"), 0.0));
}

QPointF QXmlGet::getPointF(const QPointF &defaultValue) const
{
    if (!hasAttributes({"x", "y"}))
        return defaultValue;
    return QPointF(getAttributeDouble(QStringLiteral("x"), 0.0), getAttributeDouble(QStringLiteral("y"), 0.0));
}

QRectF QXmlGet::getRectF(const QRectF &defaultValue) const
{
    if (!hasAttributes({"left", "top", "width", "height"}))
        return defaultValue;
    return QRectF(getAttributeDouble(QStringLiteral("left"), 0.0), getAttributeDouble(QStringLiteral("top"), 0.0),
                  getAttributeDouble(QStringLiteral("width"), 0.0), getAttributeDouble(QStringLiteral("height"), 0.0));
}

QBrush QXmlGet::getBrush(const QBrush &defaultValue) const
{
    QBrush brush(defaultValue);
    bool ok = false;
    if (foundElement.hasAttribute(QStringLiteral("color"))) {
        const QColor color = strToColor(foundElement.attribute(QStringLiteral("color")), &ok);
        if (ok)
            brush.setColor(color);
    }
    if (foundElement.hasAttribute(QStringLiteral("brushstyle"))) {
        const int style = foundElement.attribute(QStringLiteral("brushstyle")).toInt(&ok, 10);
        if (ok && isPatternBrushStyle(style))
            brush.setStyle(Qt::BrushStyle(style));
    }
    return brush;
}

QPen QXmlGet::getPen(const QPen &defaultValue) const
{
    QPen pen(defaultValue);
    bool ok = false;
    if (foundElement.hasAttribute(QStringLiteral("color"))) {
        const QColor color = strToColor(foundElement.attribute(QStringLiteral("color")), &ok);
        if (ok)
            pen.setColor(color);
    }
    if (foundElement.hasAttribute(QStringLiteral("penstyle"))) {
        const int style = foundElement.attribute(QStringLiteral("penstyle")).toInt(&ok, 10);
        if (ok && isPenStyle(style))
            pen.setStyle(Qt::PenStyle(style));
    }
    if (foundElement.hasAttribute(QStringLiteral("width"))) {
        const double width = foundElement.attribute(QStringLiteral("width")).toDouble(&ok);
        if (ok)
            pen.setWidthF(width);
    }
    if (pen.style() == Qt::CustomDashLine) {
        const QVector<double> pattern = getAttributeDoubleVector(QStringLiteral("dashpattern"), QVector<double>());
        if (pattern.isEmpty()) {
            pen.setStyle(defaultValue.style());
        } else {
            pen.setDashPattern(pattern);
            if (foundElement.hasAttribute(QStringLiteral("dashoffset"))) {
                const double offset = foundElement.attribute(QStringLiteral("dashoffset")).toDouble(&ok);
                if (ok)
                    pen.setDashOffset(offset);
            }
        }
    }
    if (foundElement.hasAttribute(QStringLiteral("capstyle"))) {
        const int style = foundElement.attribute(QStringLiteral("capstyle")).toInt(&ok, 10);
        if (ok && isCapStyle(style))
            pen.setCapStyle(Qt::PenCapStyle(style));
    }
    if (foundElement.hasAttribute(QStringLiteral("joinstyle"))) {
        const int style = foundElement.attribute(QStringLiteral("joinstyle")).toInt(&ok, 10);
        if (ok && isJoinStyle(style))
            pen.setJoinStyle(Qt::PenJoinStyle(style));
    }
    if (foundElement.hasAttribute(QStringLiteral("miterlimit"))) {
        const double limit = foundElement.attribute(QStringLiteral("miterlimit")).toDouble(&ok);
        if (ok)
            pen.setMiterLimit(limit);
    }
    return pen;
}

QStringList QXmlGet::getStringList(const QStringList &defaultValue)
{
    if (foundElement == currentElement)
        return defaultValue;
    descend();
    QStringList list;
    while (findNext(QStringLiteral("li")))
        list.append(getString(QString()));
    rise();
    return list;
}

bool QXmlGet::strToBool(const QString &text, bool *ok, QXmlPutGet::BoolFormats formats)
{
    const QString lower = text.toLower();
    bool valid = true;
    bool value = false;
    if (formats.testFlag(QXmlPutGet::bfYesNo) && (lower == QLatin1String("yes") || lower == QLatin1String("no")))
        value = lower == QLatin1String("yes");
    else if (formats.testFlag(QXmlPutGet::bfTrueFalse)
             && (lower == QLatin1String("true") || lower == QLatin1String("false")))
        value = lower == QLatin1String("true");
    else if (formats.testFlag(QXmlPutGet::bfOneZero) && (lower == QLatin1String("1") || lower == QLatin1String("0")))
        value = lower == QLatin1String("1");
    else
        valid = false;
    if (ok)
        *ok = valid;
    return value;
}

QColor QXmlGet::strToColor(const QString &text, bool *ok)
{
    bool valid = true;
    int alpha = 255;
    QString colorText = text;
    if (text.startsWith(QLatin1Char('#')) && text.length() == 5) {
        alpha = hexDigitsValue(text.right(1), &valid) * 255 / 15;
        colorText = text.left(4);
    } else if (text.startsWith(QLatin1Char('#')) && text.length() == 9) {
        alpha = hexDigitsValue(text.right(2), &valid);
        colorText = text.left(7);
    }
    QColor color;
    if (valid) {
        color.setNamedColor(colorText);
        valid = color.isValid();
    }
    if (!valid)
        color = QColor();
    else if (alpha <= 254)
        color.setAlpha(alpha);
    if (ok)
        *ok = valid;
    return color;
}

QVector<int> QXmlGet::strToIntVector(const QString &text, bool *ok)
{
    return textToVector<int>(text, ok, [](const QString &part, bool *partOk) { return part.toInt(partOk, 10); });
}

QVector<double> QXmlGet::strToDoubleVector(const QString &text, bool *ok)
{
    return textToVector<double>(text, ok, [](const QString &part, bool *partOk) { return part.toDouble(partOk); });
}

QVector<bool> QXmlGet::strToBoolVector(const QString &text, bool *ok, QXmlPutGet::BoolFormats formats)
{
    return textToVector<bool>(text, ok, [formats](const QString &part, bool *partOk) {
        return strToBool(part, partOk, formats);
    });
}
