#ifndef CUSTOMCOLORS_H
#define CUSTOMCOLORS_H

#include <QBrush>
#include <QColor>
#include <QMap>
#include <QString>

// Colours of the custom theme, as fields and by display name. The map points
// into the object itself, so a table is never copied: it travels by pointer.
class CustomColors
{
public:
    CustomColors();
    CustomColors(const CustomColors &) = delete;
    CustomColors &operator=(const CustomColors &) = delete;

    QColor colorAt(const QString &name) const;
    void setColor(const QString &name, const QColor &color);

    QColor ch1;
    QColor ch1ref;
    QColor ch2;
    QColor ch2ref;
    QColor ch1fft;
    QColor ch2fft;
    QColor bit[8];
    QColor bitref[8];
    QColor axes;
    QColor grid;
    QColor label;
    QBrush background;
    QMap<QString, QColor *> colorMap;
};

#endif // CUSTOMCOLORS_H
