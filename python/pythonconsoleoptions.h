#ifndef PYTHONCONSOLEOPTIONS_H
#define PYTHONCONSOLEOPTIONS_H

#include "options.h"

// Font, colours and size of the Python console, the size counted in
// character cells. A limit of 0 means no maximum on that side.
class PythonConsoleOptions : public Options
{
public:
    QString getName() const override;
    QString getCommonName() const override;
    QString getUiClassName() const override;
    QIcon getIcon() const override;

    // The larger of the minimum and the value, then the maximum when it is
    // set and smaller (so the maximum wins when the limits cross).
    int validateSizeWidth(int columns) const;
    int validateSizeHeight(int rows) const;

    void writeToSettings(const QString &group) const;
    // Absent keys keep the current values. Odd stored values are reported
    // and replaced: a size or limit outside 0..maxCells is brought to that
    // range, a font size outside 1..maxFontSize and a colour that is no
    // colour keep the current value.
    void readFromSettings(const QString &group);

    static constexpr int maxCells = 999999;  // the settings page's "no maximum"
    static constexpr int maxFontSize = 400;

    QString fontFamily = QStringLiteral("Courier New");
    int fontSize = 10;
    int sizeWidthMinimum = 40;
    int sizeWidthDefault = 120;
    int sizeWidthMaximum = 999;
    int sizeHeightMinimum = 1;
    int sizeHeightDefault = 20;
    int sizeHeightMaximum = 999;
    int sizeWidth = 0;  // last width in columns, 0 = none yet
    int sizeHeight = 0; // last height in rows, 0 = none yet
    bool restoreSize = false;
    QString colorName = QStringLiteral("#62f033");
    QString backgroundColorName = QStringLiteral("#000000");
};

#endif // PYTHONCONSOLEOPTIONS_H
