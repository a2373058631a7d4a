#ifndef MULTIMETERDISPLAYOPTIONS_H
#define MULTIMETERDISPLAYOPTIONS_H

#include "options.h"

class MultimeterDisplayOptions : public Options
{
public:
    QString getName() const override;
    QString getCommonName() const override;
    QString getUiClassName() const override;
    QIcon getIcon() const override;
};

#endif // MULTIMETERDISPLAYOPTIONS_H
