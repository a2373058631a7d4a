#ifndef CUSTOMTHEME_H
#define CUSTOMTHEME_H

#include "customcolors.h"

#include <QDialog>

// The custom colour theme dialog; it owns the one custom colour table.
class CustomTheme : public QDialog
{
    Q_OBJECT

public:
    explicit CustomTheme(QWidget *parent = nullptr);

    CustomColors *colors();

signals:
    void applyCustomTheme(int theme, CustomColors *colors);

private:
    CustomColors customColors;
};

#endif // CUSTOMTHEME_H
