#include "customcolors.h"

namespace {
const QString backgroundName = QStringLiteral("BACKGROUND");
}

CustomColors::CustomColors()
{
    colorMap.insert(QStringLiteral("CH1"), &ch1);
    colorMap.insert(QStringLiteral("CH1 REF"), &ch1ref);
    colorMap.insert(QStringLiteral("CH1 FFT"), &ch1fft);
    colorMap.insert(QStringLiteral("CH2"), &ch2);
    colorMap.insert(QStringLiteral("CH2 REF"), &ch2ref);
    colorMap.insert(QStringLiteral("CH2 FFT"), &ch2fft);
    colorMap.insert(QStringLiteral("GRID"), &grid);
    colorMap.insert(QStringLiteral("AXES"), &axes);
    for (int i = 0; i < 8; ++i) {
        const QString name = QStringLiteral("BIT %1").arg(i);
        colorMap.insert(name, &bit[i]);
        colorMap.insert(name + QStringLiteral(" REF"), &bitref[i]);
    }
    colorMap.insert(QStringLiteral("LABELS"), &label);
}

QColor CustomColors::colorAt(const QString &name) const
{
    if (name == backgroundName)
        return background.color();
    const QColor *field = colorMap.value(name, nullptr);
    return field ? *field : QColor();
}

void CustomColors::setColor(const QString &name, const QColor &color)
{
    if (name == backgroundName) {
        background.setColor(color);
        return;
    }
    if (QColor *field = colorMap.value(name, nullptr))
        *field = color;
}
