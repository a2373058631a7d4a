#ifndef QXMLPUTGET_H
#define QXMLPUTGET_H

#include <QFlags>

// Shared by the XML reader and writer: the text forms a boolean may take.
namespace QXmlPutGet {

enum BoolFormat {
    bfYesNo = 1,     // "yes" / "no"
    bfTrueFalse = 2, // "true" / "false"
    bfOneZero = 4    // "1" / "0"
};
Q_DECLARE_FLAGS(BoolFormats, BoolFormat)

} // namespace QXmlPutGet

Q_DECLARE_OPERATORS_FOR_FLAGS(QXmlPutGet::BoolFormats)

#endif // QXMLPUTGET_H
