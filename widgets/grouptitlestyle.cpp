#include "grouptitlestyle.h"

#include <QApplication>
#include <QStyleOption>

GroupTitleStyle::GroupTitleStyle(const QString &baseKey)
    : QProxyStyle(baseKey)
{
    // Known by the name of the style it wraps, as that style was.
    setObjectName(baseKey);
}

void GroupTitleStyle::install()
{
    if (qobject_cast<GroupTitleStyle *>(QApplication::style()))
        return;
    QApplication::setStyle(new GroupTitleStyle(QApplication::style()->objectName()));
}

QRect GroupTitleStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                                      SubControl subControl, const QWidget *widget) const
{
    QRect rect = QProxyStyle::subControlRect(control, option, subControl, widget);
    const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    if (control != CC_GroupBox || subControl != SC_GroupBoxLabel || !box || box->text.isEmpty())
        return rect;
    // Laid out as the title is drawn.
    const int width = box->fontMetrics.size(Qt::TextShowMnemonic, box->text).width();
    if (rect.width() >= width)
        return rect;
    if (box->direction == Qt::RightToLeft)
        rect.setLeft(rect.right() + 1 - width);
    else
        rect.setWidth(width);
    return rect;
}
