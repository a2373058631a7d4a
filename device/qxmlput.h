#ifndef QXMLPUT_H
#define QXMLPUT_H

#include "qxmlputget.h"

#include <QBrush>
#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QDomDocument>
#include <QDomElement>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVector>

class QXmlGet;

// Cursor-based writer, the counterpart of QXmlGet. Every value becomes one new
// element appended under the current element; the setAttribute calls decorate
// the element written last (or the one just left by rise). Copies share the
// document.
class QXmlPut
{
public:
    explicit QXmlPut(const QString &rootTag);
    QXmlPut(const QString &rootTag, const QString &xmlVersion, const QString &encoding, bool standalone,
            const QString &docType = QString(), const QString &publicId = QString(),
            const QString &systemId = QString());
    explicit QXmlPut(const QXmlGet &reader);

    bool save(const QString &fileName, int indent = 2) const;
    QString toString(int indent = 2) const;

    void putComment(const QString &text);
    void putSingleTag(const QString &tag);
    void descend(const QString &tag);
    QXmlPut descended(const QString &tag);
    bool rise();
    bool goTo(QDomElement element);
    QXmlPut restricted();

    void putString(const QString &tag, const QString &value, bool asCData = false);
    void putInt(const QString &tag, int value);
    void putDouble(const QString &tag, double value);
    void putBool(const QString &tag, bool value, QXmlPutGet::BoolFormat format = QXmlPutGet::bfYesNo);
    void putDate(const QString &tag, const QDate &value);
    void putTime(const QString &tag, const QTime &value);
    void putDateTime(const QString &tag, const QDateTime &value);
    void putColor(const QString &tag, const QColor &value);
    void putIntVector(const QString &tag, const QVector<int> &value);
    void putDoubleVector(const QString &tag, const QVector<double> &value);
    void putBoolVector(const QString &tag, const QVector<bool> &value,
                       QXmlPutGet::BoolFormat format = QXmlPutGet::bfYesNo);
    void putStringList(const QString &tag, const QStringList &value, bool asCData = false);
    void putByteArray(const QString &tag, const QByteArray &value, int lineLength = 76, int compressionLevel = 0);
    void putImage(const QString &tag, const QImage &value, QString format = QStringLiteral("png"),
                  int lineLength = 76);
    void putFont(const QString &tag, const QFont &value);
    void putBrush(const QString &tag, const QBrush &value);
    void putPen(const QString &tag, const QPen &value);
    void putSize(const QString &tag, const QSize &value);
    void putPoint(const QString &tag, const QPoint &value);
    void putRect(const QString &tag, const QRect &value);
    void putSizeF(const QString &tag, const QSizeF &value);
    void putPointF(const QString &tag, const QPointF &value);
    void putRectF(const QString &tag, const QRectF &value);

    void setAttributeString(const QString &name, const QString &value);
    void setAttributeInt(const QString &name, int value);
    void setAttributeDouble(const QString &name, double value);
    void setAttributeBool(const QString &name, bool value, QXmlPutGet::BoolFormat format = QXmlPutGet::bfYesNo);
    void setAttributeColor(const QString &name, const QColor &value);
    void setAttributeIntVector(const QString &name, const QVector<int> &value);
    void setAttributeDoubleVector(const QString &name, const QVector<double> &value);
    void setAttributeBoolVector(const QString &name, const QVector<bool> &value,
                                QXmlPutGet::BoolFormat format = QXmlPutGet::bfYesNo);

    static QString colorToStr(const QColor &color);
    static QString boolToStr(bool value, QXmlPutGet::BoolFormat format = QXmlPutGet::bfYesNo);
    static QString intVectorToStr(const QVector<int> &value);
    static QString doubleVectorToStr(const QVector<double> &value);
    static QString boolVectorToStr(const QVector<bool> &value, QXmlPutGet::BoolFormat format = QXmlPutGet::bfYesNo);

private:
    void start(const QString &rootTag, const QString &docType, const QString &publicId, const QString &systemId);
    // Appends an empty element under the current one and makes it the last element.
    QDomElement appendElement(const QString &tag);
    void putText(const QString &tag, const QString &text);

    QDomDocument document;
    QDomElement topElement;
    QDomElement currentElement;
    QDomElement lastElement;
    QString declarationTarget;
    QString xmlVersion;
    QString encoding;
    bool standalone = false;

    friend class QXmlGet;
};

#endif // QXMLPUT_H
