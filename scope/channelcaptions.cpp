#include "channelcaptions.h"

#include "protocol.h"
#include "scopevalues.h"

#include <QtGlobal>

namespace ChannelCaptions {

QString channelLabel(int channel, int ownControl, int otherControl, int gain)
{
    const QString own = QStringLiteral("CH%1").arg(channel);
    const QString other = QStringLiteral("CH%1").arg(channel == 1 ? 2 : 1);
    const bool otherInverted = otherControl & CHANNEL_INVERT;
    QString text = ((ownControl & CHANNEL_INVERT) ? QStringLiteral("-") : QStringLiteral(" ")) + own;
    if (ownControl & CHANNEL_MATH_ON) {
        // Subtracting an inverted channel adds it.
        if (ownControl & CHANNEL_MATH_SUBTRACT)
            text += (otherInverted ? QStringLiteral(" + ") : QStringLiteral(" - ")) + other;
        else if (ownControl & CHANNEL_MATH_MULTIPLY)
            text += (otherInverted ? QStringLiteral(" * -") : QStringLiteral(" * ")) + other;
    }
    const QStringList &captions = ScopeValues::gainTexts();
    return text + QStringLiteral(" = ") + captions.at(qBound(0, gain, int(captions.size()) - 1));
}

QString boxTitle(int channel, int gain, bool ac)
{
    const QStringList &titles = ScopeValues::gainBoxTitles();
    return QStringLiteral("Channel %1  ").arg(channel) + titles.at(qBound(0, gain, int(titles.size()) - 1))
           + (ac ? QStringLiteral(", AC ") : QStringLiteral(", AC/DC "));
}

RangeMarks rangeMarks(int gain, bool ac)
{
    RangeMarks marks;
    if (!ac) {
        marks.range24V = gain == 0;
        marks.range2V4 = gain == 3;
    }
    return marks;
}

} // namespace ChannelCaptions
