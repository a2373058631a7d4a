// Plot themes and the re-application of the oscilloscope's options.
#include "veskinterface.h"

#include "scopeoptions.h"

void VeskInterface::applyScopeConfiguration()
{
    displayThemeChanged(scopeOptions->theme);
    logicLabelPositionSet(scopeOptions->logicLabelPosition);
    displayGridStyleChanged(scopeOptions->gridStyle);
    replotRequest = true;
}

void VeskInterface::displayThemeChanged(int theme)
{
    if (startingUp)
        return;
    if (theme == 2)
        customTheme.show();
    else
        setTheme(theme, nullptr);
}

void VeskInterface::setTheme(int theme, CustomColors *colors)
{
    Q_UNUSED(theme)
    Q_UNUSED(colors)
    // Pens and colours come with the plot themes.
}

void VeskInterface::logicLabelPositionSet(int position)
{
    Q_UNUSED(position)
    // Logic labels come with the plot items.
}

void VeskInterface::displayGridStyleChanged(int style)
{
    Q_UNUSED(style)
    // Grid styles come with the plot view.
}
