#include "clickablelabel.h"

#include <QMouseEvent>

ClickableLabel::ClickableLabel(QWidget *parent, Qt::WindowFlags f)
    : QLabel(parent, f)
{
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit clicked();
}
