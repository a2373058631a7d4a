#ifndef GROUPTITLESTYLE_H
#define GROUPTITLESTYLE_H

#include <QProxyStyle>

// The desktop's style, with group-box titles given room for the whole text.
// Some styles size a title by its glyphs' ink but draw it laid out by
// advances, clipped to that size: with some fonts (Noto Sans at 9 pt, for
// one) the last letter of a title is cut. Here the title's room is never
// less than its laid-out width.
class GroupTitleStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // Makes the application's style one of these, wrapping the style it has;
    // once is enough, later calls change nothing.
    static void install();

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                         const QWidget *widget = nullptr) const override;

private:
    explicit GroupTitleStyle(const QString &baseKey);
};

#endif // GROUPTITLESTYLE_H
