#ifndef GLOBALOPTIONS_H
#define GLOBALOPTIONS_H

#include "options.h"

class GlobalOptions : public Options
{
public:
    QString getName() const override;
    QString getCommonName() const override;
    QString getUiClassName() const override;
    QIcon getIcon() const override;

    // Logical dots per inch of the screen divided by 96, set by the main window.
    float scaleX = 1.0f;
    float scaleY = 1.0f;
};

#endif // GLOBALOPTIONS_H
