#ifndef SCOPEOPTIONS_H
#define SCOPEOPTIONS_H

#include "options.h"

// The oscilloscope's display choices kept outside its dock: each field is
// the index of its combo box on the settings page.
class ScopeOptions : public Options
{
public:
    QString getName() const override;
    QString getCommonName() const override;
    QString getUiClassName() const override;
    QIcon getIcon() const override;

    void writeToSettings(const QString &group) const;
    // Absent keys keep the current values. A value that is not a number
    // reads as 0, one outside its choices as the nearest choice: the page's
    // combo boxes and the theme switch know no other indexes.
    void readFromSettings(const QString &group);

    static constexpr int gridStyleCount = 4;          // No Grid, Dots, Lines, Full
    static constexpr int logicLabelPositionCount = 2; // Left, Right
    static constexpr int themeCount = 3;              // Dark, Light, Custom

    int gridStyle = 1;
    int logicLabelPosition = 0;
    int theme = 0;
};

#endif // SCOPEOPTIONS_H
