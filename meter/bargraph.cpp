#include "bargraph.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace {

QLabel *makePassiveLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QStringLiteral("__qt__passive_label"));
    label->setFrameShape(QFrame::NoFrame);
    label->setLineWidth(0);
    return label;
}

// Pixel positions come from doubles truncated toward zero.
int truncated(double x)
{
    return static_cast<int>(std::trunc(x));
}

} // namespace

BarGraph::BarGraph(QWidget *parent)
    : QWidget(parent)
{
    barColor = palette().color(QPalette::WindowText);
    backgroundColor = palette().color(QPalette::Base);

    // Created in this order so that the masks lie above the ticks.
    axisLabel = makePassiveLabel(this);
    axisLabel->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    axisLabel->setAttribute(Qt::WA_TranslucentBackground);
    maskLow = makePassiveLabel(this);
    maskHigh = makePassiveLabel(this);

    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground);
    setContentsMargins(0, 0, 0, 0);
}

void BarGraph::setValue(double newValue)
{
    // The display never forwards a non-finite reading; keep the last one.
    if (!std::isfinite(newValue))
        return;
    value = std::clamp(newValue, min, max);
    drawBar();
}

void BarGraph::setRange(double a, double b)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        return;
    min = std::min(a, b);
    max = std::max(a, b);
    setValue(value);
}

void BarGraph::setBarColor(const QColor &color)
{
    barColor = color;
    drawAxis();
}

void BarGraph::setBackgroundColor(const QColor &color)
{
    backgroundColor = color;
    drawBar();
}

void BarGraph::setMinorTick(int length)
{
    minorTick = length;
    drawAxis();
}

void BarGraph::setMajorTick(int length)
{
    majorTick = length;
    drawAxis();
}

void BarGraph::setTickWidth(int width)
{
    tickWidth = width > 0 ? width : 1;
    drawAxis();
}

void BarGraph::setMajorTickRising(bool rising)
{
    majorTickRising = rising;
    drawAxis();
}

void BarGraph::setAlarmVisible(bool visible)
{
    alarmVisible = visible;
}

void BarGraph::setAlarmColors(const QColor &warning, const QColor &critical)
{
    warningColor = warning;
    criticalColor = critical;
}

void BarGraph::setAlarm(double criticalLow, double warningLow, double warningHigh, double criticalHigh)
{
    alarmCriticalLow = criticalLow;
    alarmWarningLow = warningLow;
    alarmWarningHigh = warningHigh;
    alarmCriticalHigh = criticalHigh;
}

QSize BarGraph::sizeHint() const
{
    return QSize(tickSpacing * 100 + tickWidth * 101, std::max(minorTick, majorTick));
}

QSize BarGraph::minimumSizeHint() const
{
    return QSize(tickWidth * 9 + tickSpacing * 8, std::max(minorTick, majorTick));
}

int BarGraph::getTickStep(int width, const Axis &axis) const
{
    const int t = axis.tickWidth;
    const int p = tickSpacing;
    return std::max(1, (width - 5 * t - 4 * p - 1) / (4 * (p + t)));
}

int BarGraph::getOffset(int width, const Axis &axis) const
{
    const int s = getTickStep(width, axis);
    return (width - getAxisWidth(s, axis)) / 2 + axis.tickWidth / 2;
}

int BarGraph::getAxisWidth(int step, const Axis &axis) const
{
    return (4 * step + 5) * axis.tickWidth + (4 * step + 4) * tickSpacing;
}

int BarGraph::getBarWidth(const Axis &axis) const
{
    return std::max(axis.minorTick, axis.majorTick);
}

QString BarGraph::addTransparency(const QString &colorName) const
{
    QString name = colorName;
    return name.insert(1, alphaText);
}

void BarGraph::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    axisLabel->setGeometry(rect());
    drawAxis();
}

BarGraph::Axis BarGraph::currentAxis() const
{
    return Axis{minorTick, majorTick, tickWidth, barColor, backgroundColor, majorTickRising};
}

BarGraph::Bar BarGraph::currentBar() const
{
    return Bar{min, max, value};
}

void BarGraph::drawAxis()
{
    drawAxis(currentAxis(), width());
}

void BarGraph::drawAxis(const Axis &axis, int width)
{
    if (axisLabel->size().isEmpty())
        return; // nothing to draw before the first resize

    QPixmap pixmap(axisLabel->size());
    pixmap.fill(QColor(QStringLiteral("transparent")));
    {
        QPainter painter(&pixmap);
        painter.setPen(QPen(QBrush(axis.barColor, Qt::SolidPattern), axis.tickWidth, Qt::SolidLine,
                            Qt::FlatCap, Qt::BevelJoin));
        const int step = getTickStep(width, axis);
        const int offset = getOffset(width, axis);
        int index = 0;
        for (int group = 0; group < 4; ++group) {
            drawTick(&painter, index++, axis.majorTick, axis, offset);
            for (int minor = 0; minor < step; ++minor)
                drawTick(&painter, index++, axis.minorTick, axis, offset);
        }
        drawTick(&painter, index, axis.majorTick, axis, offset);
    }

    drawBar(width, axis, currentBar());
    axisLabel->setPixmap(pixmap);
    setMinimumHeight(getBarWidth(axis));
}

void BarGraph::drawBar()
{
    drawBar(width(), currentAxis(), currentBar());
}

void BarGraph::drawBar(int width, const Axis &axis, const Bar &bar)
{
    const QString style = QStringLiteral("QLabel {background-color: ")
        + addTransparency(axis.backgroundColor.name()) + QStringLiteral(";}");
    maskLow->setStyleSheet(style);
    maskHigh->setStyleSheet(style);

    const int t = axis.tickWidth;
    const int p = tickSpacing;
    const int s = getTickStep(width, axis);
    const int offset = getOffset(width, axis);
    const int bottom = getBarWidth(axis) - 1;
    const int span = (4 * s + 5) * t + (4 * s + 4) * p - t; // first to last tick centre

    auto cover = [bottom](QLabel *mask, int from, int to) {
        mask->setGeometry(QRect(QPoint(from, 0), QPoint(to, bottom)));
        mask->show();
    };

    if (bar.min >= 0) {
        maskLow->hide();
        if (bar.max == bar.min) {
            // An empty range has nothing to scale: show the whole scale.
            maskHigh->hide();
            return;
        }
        const int a = (t + 1) / 2 + offset + truncated((bar.value - bar.min) * span / (bar.max - bar.min));
        cover(maskHigh, a, a + width - 1);
        return;
    }

    const int centre = offset + ((4 * s + 4) * p + 1 + (4 * s + 5) * t) / 2; // right edge of the zero tick
    const int half = span / 2;
    if (bar.value >= 0) {
        // With max at zero the positive half is empty: mask all of it.
        const int a = (bar.max > 0 ? truncated(bar.value * half / bar.max) : 0) + centre;
        cover(maskHigh, a, a + width - 1);
        cover(maskLow, 0, centre - t - 1);
    } else {
        cover(maskHigh, centre, centre + width - 1);
        cover(maskLow, 0, centre - t - truncated(half * bar.value / bar.min) - 1);
    }
}

void BarGraph::drawTick(QPainter *painter, int index, int length, const Axis &axis, int offset)
{
    const int x = offset + index * (tickSpacing + axis.tickWidth);
    if (axis.majorTickRising) {
        const int h = getBarWidth(axis);
        painter->drawLine(x, h - length, x, h);
    } else {
        painter->drawLine(x, 0, x, length);
    }
}
