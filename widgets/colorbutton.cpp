#include "colorbutton.h"

#include <QPainter>
#include <QStyleOption>

ColorButton::ColorButton(QWidget *parent)
    : QPushButton(parent)
{
}

QColor ColorButton::currentColor() const
{
    return color;
}

void ColorButton::setCurrentColor(const QColor &color)
{
    this->color = color;
}

void ColorButton::paintEvent(QPaintEvent *)
{
    // The style sheet, not the push button bevel, draws frame and background.
    QStyleOption option;
    option.initFrom(this);
    if (isDown())
        option.state |= QStyle::State_Sunken;
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);

    QColor swatch = color;
    if (!isEnabled())
        swatch.setAlpha(50);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // One fill rather than fill plus outline: a translucent outline over the
    // fill would show a darker rim.
    painter.fillRect(margin, margin, width() - 2 * margin, height() - 2 * margin, swatch);
}
