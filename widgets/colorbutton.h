#ifndef COLORBUTTON_H
#define COLORBUTTON_H

#include <QColor>
#include <QPushButton>

// A push button that shows a swatch of its colour in place of a text.
class ColorButton : public QPushButton
{
    Q_OBJECT

public:
    explicit ColorButton(QWidget *parent = nullptr);

    QColor currentColor() const;
    // Stores the colour only; the swatch shows it at the next paint.
    void setCurrentColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const int margin = 6; // inset of the swatch from every edge
    QColor color;
};

#endif // COLORBUTTON_H
