#include "customtheme.h"

CustomTheme::CustomTheme(QWidget *parent)
    : QDialog(parent)
{
}

CustomColors *CustomTheme::colors()
{
    return &customColors;
}
