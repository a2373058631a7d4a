#ifndef CLICKABLELABEL_H
#define CLICKABLELABEL_H

#include <QLabel>

// A label that reports any mouse press as clicked(); the press goes no
// further, neither to the label's own handling nor to its parent.
class ClickableLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClickableLabel(QWidget *parent = nullptr, Qt::WindowFlags f = Qt::WindowFlags());

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

#endif // CLICKABLELABEL_H
