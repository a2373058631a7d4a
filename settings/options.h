#ifndef OPTIONS_H
#define OPTIONS_H

#include <QIcon>
#include <QString>

// Identity of a component's adjustable values: its settings group and page
// key (getName), its entry in the settings page list (getCommonName,
// getIcon) and the page that edits it (getUiClassName).
class Options
{
public:
    Options() = default;
    virtual ~Options() = default;

    virtual QString getName() const;
    virtual QString getCommonName() const;
    virtual QString getUiClassName() const;
    virtual QIcon getIcon() const;
};

#endif // OPTIONS_H
