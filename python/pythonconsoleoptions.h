#ifndef PYTHONCONSOLEOPTIONS_H
#define PYTHONCONSOLEOPTIONS_H

#include "options.h"

class PythonConsoleOptions : public Options
{
public:
    QString getName() const override;
    QString getCommonName() const override;
    QString getUiClassName() const override;
    QIcon getIcon() const override;
};

#endif // PYTHONCONSOLEOPTIONS_H
