#ifndef BARGRAPH_H
#define BARGRAPH_H

#include <QColor>
#include <QString>
#include <QWidget>

class QLabel;
class QPainter;

// Analogue scale under the digits of a multimeter display. It draws a row of
// ticks and dims the part of the scale beyond the value with two
// semi-transparent masks, so the fully visible ticks form the bar. A range
// reaching below zero centres the scale on zero.
class BarGraph : public QWidget
{
    Q_OBJECT

public:
    struct Axis
    {
        int minorTick;
        int majorTick;
        int tickWidth;
        QColor barColor;
        QColor backgroundColor;
        bool majorTickRising;
    };

    struct Bar
    {
        double min;
        double max;
        double value;
    };

    explicit BarGraph(QWidget *parent = nullptr);

    void setValue(double newValue);
    void setRange(double a, double b);
    void setBarColor(const QColor &color);
    void setBackgroundColor(const QColor &color);
    void setMinorTick(int length);
    void setMajorTick(int length);
    void setTickWidth(int width);
    void setMajorTickRising(bool rising);

    // Stored for callers that configure alarms; nothing draws them.
    void setAlarmVisible(bool visible);
    void setAlarmColors(const QColor &warning, const QColor &critical);
    void setAlarm(double criticalLow, double warningLow, double warningHigh, double criticalHigh);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Geometry of a scale drawn across the given width.
    int getTickStep(int width, const Axis &axis) const;
    int getOffset(int width, const Axis &axis) const;
    int getAxisWidth(int step, const Axis &axis) const;
    int getBarWidth(const Axis &axis) const;

    // "#rrggbb" becomes "#aarrggbb" with the mask alpha.
    QString addTransparency(const QString &colorName) const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    Axis currentAxis() const;
    Bar currentBar() const;
    void drawAxis();
    void drawAxis(const Axis &axis, int width);
    void drawBar();
    void drawBar(int width, const Axis &axis, const Bar &bar);
    void drawTick(QPainter *painter, int index, int length, const Axis &axis, int offset);

    int tickSpacing = 1;
    QString alphaText = QStringLiteral("dc");
    int minorTick = 6;
    int majorTick = 10;
    int tickWidth = 2;
    QColor barColor;
    QColor backgroundColor;
    bool majorTickRising = true;
    double min = 0.0;
    double max = 100.0;
    double value = 0.0;

    bool alarmVisible = false;
    QColor warningColor = QColor(QStringLiteral("#f6f278"));
    QColor criticalColor = QColor(QStringLiteral("#f6b0b0"));
    double alarmCriticalLow = 10.0;
    double alarmWarningLow = 20.0;
    double alarmWarningHigh = 80.0;
    double alarmCriticalHigh = 90.0;

    QLabel *axisLabel;
    QLabel *maskLow;
    QLabel *maskHigh;
};

#endif // BARGRAPH_H
