#ifndef SCOPEOPTIONS_H
#define SCOPEOPTIONS_H

#include "options.h"

class ScopeOptions : public Options
{
public:
    QString getName() const override;
    QString getCommonName() const override;
    QString getUiClassName() const override;
    QIcon getIcon() const override;

    int gridStyle = 1;
    int logicLabelPosition = 0;
    int theme = 0;
};

#endif // SCOPEOPTIONS_H
