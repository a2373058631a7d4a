#ifndef QXMLPUTGET_H
#define QXMLPUTGET_H

#include <QDomElement>
#include <QFlags>

// Shared by the XML reader and writer: the text forms a boolean may take.
namespace QXmlPutGet {

enum BoolFormat {
    bfYesNo = 1,     // "yes" / "no"
    bfTrueFalse = 2, // "true" / "false"
    bfOneZero = 4    // "1" / "0"
};
Q_DECLARE_FLAGS(BoolFormats, BoolFormat)

// Cursor moves both share. The element a cursor at `current` rises to, or a
// null element (with the reason logged under `signature`) when it may not.
QDomElement riseTarget(const QDomElement &current, const QDomElement &top, const char *signature);
// Whether `element` lies in the tree below `top`, `top` included.
bool isWithin(QDomElement element, const QDomElement &top);

} // namespace QXmlPutGet

Q_DECLARE_OPERATORS_FOR_FLAGS(QXmlPutGet::BoolFormats)

#endif // QXMLPUTGET_H
