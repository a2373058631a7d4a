#ifndef QXMLGET_H
#define QXMLGET_H

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

#include <initializer_list>

class QXmlPut;

// Cursor-based reader over a DOM document. find/findNext pick a child of the
// current element, descend/rise move the cursor, and the typed getters read
// the found element, returning the caller's default whenever the value is
// missing or not in its text form. Copies share the document.
class QXmlGet
{
public:
    // Largest file load() accepts; bigger ones are refused unread.
    static constexpr qint64 maxFileSize = 16 * 1024 * 1024;

    QXmlGet();
    explicit QXmlGet(QDomDocument document);
    explicit QXmlGet(const QXmlPut &writer);

    bool load(const QString &fileName, QString *errorMsg = nullptr, int *errorLine = nullptr,
              int *errorColumn = nullptr);
    bool fromString(const QString &text, QString *errorMsg = nullptr, int *errorLine = nullptr,
                    int *errorColumn = nullptr);

    QString docType() const;
    QString publicId() const;
    QString systemId() const;

    bool find(const QString &tag);
    bool findNext(const QString &tag);
    void findReset();
    bool findAndDescend(const QString &tag);
    bool findNextAndDescend(const QString &tag);
    void descend();
    QXmlGet descended();
    bool rise();
    bool goTo(QDomElement element);
    QXmlGet restricted();

    QString tagName() const;
    bool hasAttribute(const QString &name) const;
    bool hasChildren() const;
    int childCount(const QString &tag = QString()) const;

    QString getString(const QString &defaultValue = QString()) const;
    int getInt(int defaultValue = 0) const;
    double getDouble(double defaultValue = 0.0) const;
    bool getBool(bool defaultValue = false, QXmlPutGet::BoolFormats formats = allBoolFormats) const;
    QDate getDate(const QDate &defaultValue = QDate()) const;
    QTime getTime(const QTime &defaultValue = QTime()) const;
    QDateTime getDateTime(const QDateTime &defaultValue = QDateTime()) const;
    QColor getColor(const QColor &defaultValue = QColor()) const;
    QVector<int> getIntVector(const QVector<int> &defaultValue = QVector<int>()) const;
    QVector<double> getDoubleVector(const QVector<double> &defaultValue = QVector<double>()) const;
    QVector<bool> getBoolVector(const QVector<bool> &defaultValue = QVector<bool>(),
                                QXmlPutGet::BoolFormats formats = allBoolFormats) const;

    QString getAttributeString(const QString &name, const QString &defaultValue = QString()) const;
    int getAttributeInt(const QString &name, int defaultValue = 0) const;
    double getAttributeDouble(const QString &name, double defaultValue = 0.0) const;
    bool getAttributeBool(const QString &name, bool defaultValue = false,
                          QXmlPutGet::BoolFormats formats = allBoolFormats) const;
    QColor getAttributeColor(const QString &name, const QColor &defaultValue = QColor()) const;
    QVector<int> getAttributeIntVector(const QString &name,
                                       const QVector<int> &defaultValue = QVector<int>()) const;
    QVector<double> getAttributeDoubleVector(const QString &name,
                                             const QVector<double> &defaultValue = QVector<double>()) const;
    QVector<bool> getAttributeBoolVector(const QString &name, const QVector<bool> &defaultValue = QVector<bool>(),
                                         QXmlPutGet::BoolFormats formats = allBoolFormats) const;

    QByteArray getByteArray(const QByteArray &defaultValue = QByteArray()) const;
    QImage getImage(const QImage &defaultValue = QImage()) const;
    QFont getFont(const QFont &defaultValue = QFont()) const;
    QSize getSize(const QSize &defaultValue = QSize()) const;
    QPoint getPoint(const QPoint &defaultValue = QPoint()) const;
    QRect getRect(const QRect &defaultValue = QRect()) const;
    QSizeF getSizeF(const QSizeF &defaultValue = QSizeF()) const;
    QPointF getPointF(const QPointF &defaultValue = QPointF()) const;
    QRectF getRectF(const QRectF &defaultValue = QRectF()) const;
    QBrush getBrush(const QBrush &defaultValue = QBrush()) const;
    QPen getPen(const QPen &defaultValue = QPen()) const;

    QStringList getStringList(const QStringList &defaultValue = QStringList());

    static bool strToBool(const QString &text, bool *ok = nullptr,
                          QXmlPutGet::BoolFormats formats = allBoolFormats);
    static QColor strToColor(const QString &text, bool *ok = nullptr);
    static QVector<int> strToIntVector(const QString &text, bool *ok = nullptr);
    static QVector<double> strToDoubleVector(const QString &text, bool *ok = nullptr);
    static QVector<bool> strToBoolVector(const QString &text, bool *ok = nullptr,
                                         QXmlPutGet::BoolFormats formats = allBoolFormats);

private:
    static constexpr QXmlPutGet::BoolFormats allBoolFormats =
        QXmlPutGet::bfYesNo | QXmlPutGet::bfTrueFalse | QXmlPutGet::bfOneZero;

    // Text of the found element when its first child is a text node.
    bool elementText(QString *text) const;
    // True when every named attribute is present on the found element.
    bool hasAttributes(std::initializer_list<const char *> names) const;

    QDomDocument document;
    QDomElement topElement;
    QDomElement currentElement;
    QDomElement foundElement;
    QString declarationTarget;
    QString xmlVersion;
    QString encoding;
    bool standalone = false;

    friend class QXmlPut;
};

#endif // QXMLGET_H
