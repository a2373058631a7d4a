#ifndef SCOPEPLOT_H
#define SCOPEPLOT_H

#include <qcustomplot.h>

// The oscilloscope's plot widget: QCustomPlot with a notification after a
// resize, once the plot has been redrawn at its new size, so that read-outs
// anchored to the widget's edges can be placed again.
class ScopePlot : public QCustomPlot
{
    Q_OBJECT

public:
    explicit ScopePlot(QWidget *parent = nullptr);

signals:
    void sizeChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;
};

#endif // SCOPEPLOT_H
