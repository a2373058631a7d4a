#include "qxmlputget.h"

#include <QDebug>

namespace QXmlPutGet {

QDomElement riseTarget(const QDomElement &current, const QDomElement &top, const char *signature)
{
    if (current == top) {
        qDebug() << signature << "attept to rise beyond allowed node";
        return QDomElement();
    }
    const QDomNode parent = current.parentNode();
    if (parent.isNull()) {
        qDebug() << signature << "Attempt to rise above document node";
        return QDomElement();
    }
    if (!parent.isElement()) {
        qDebug() << signature << "Attempt to rise into non-element node";
        return QDomElement();
    }
    return parent.toElement();
}

bool isWithin(QDomElement element, const QDomElement &top)
{
    while (!element.isNull() && element != top)
        element = element.parentNode().toElement();
    return !element.isNull();
}

} // namespace QXmlPutGet
