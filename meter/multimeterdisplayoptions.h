#ifndef MULTIMETERDISPLAYOPTIONS_H
#define MULTIMETERDISPLAYOPTIONS_H

#include "options.h"

// Colours, fonts, Extend digits and clipboard choices shared by every
// multimeter display joined to the settings.
class MultimeterDisplayOptions : public Options
{
public:
    MultimeterDisplayOptions() = default;

    QString getName() const override;
    QString getCommonName() const override;
    QString getUiClassName() const override;
    QIcon getIcon() const override;

    void writeToSettings(const QString &group) const;
    // Absent keys keep the current values; nothing is range-checked here.
    void readFromSettings(const QString &group);
    // 1 for zero or less, otherwise at most maxExtendPrecision.
    int validateExtendPrecision(int value) const;

    QString foregroundColorName = QStringLiteral("#404040");
    QString backgroundColorName = QStringLiteral("#fafafa");
    QString warningColorName = QStringLiteral("#f6f278");
    QString criticalColorName = QStringLiteral("#f6b0b0");
    QString valueFontFamily = QStringLiteral("Consolas");
    QString labelFontFamily = QStringLiteral("Consolas");
    int extendPrecision = 3;
    bool appendLabel = true;
    bool appendNewLine = false;
    int maxExtendPrecision = 5; // not stored
};

#endif // MULTIMETERDISPLAYOPTIONS_H
