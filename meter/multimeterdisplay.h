#ifndef MULTIMETERDISPLAY_H
#define MULTIMETERDISPLAY_H

#include "multimetervaluemodel.h"

#include <QFont>
#include <QPixmap>
#include <QSizePolicy>
#include <QWidget>

class MultimeterDisplayOptions;
class QAction;
class QLineEdit;
class QMenu;
class QPushButton;

namespace Ui {
class MultimeterDisplay;
}

// Big-digit display of one reading in base units, with SI prefix, range
// indicator, accuracy, extremes, offset, hold, bar graph, four buttons and a
// context menu that copies the reading. Displays joined to the shared
// options follow their colours and fonts and open the settings on request.
class MultimeterDisplay : public QWidget
{
    Q_OBJECT

public:
    explicit MultimeterDisplay(QWidget *parent = nullptr);
    ~MultimeterDisplay() override;

    void setValue(double value);
    void setNaN();
    void setInfinity();
    void setUnit(const QString &unit);
    void setUnitPower(int power);
    void setPrecision(int precision);
    QString getCurrentUnit() const;

    void enableExtendedPrecision(bool enabled);
    void setExtendedPrecision(int digits);
    void setHold(bool on);

    void enableExtreme(bool enabled);
    void setExtreme(double min, double max);
    void clearExtreme();

    void enableOffset(bool enabled, double base);
    void setOffsetBase(double base);

    void setAccuracy(double absolute, double relativePercent);
    void setAccuracy(double absolute, const QString &relative);
    void setAccuracyVisible(bool visible);

    void setRange(double a, double b);
    void enableCheckRange(bool enabled);
    void setRangeExceeded(int status);

    void setAlarm(double criticalLow, double warningLow, double warningHigh, double criticalHigh);
    void enableAlarm(bool enabled);
    void setAlarmLevel(int level);
    int readAlarm() const;
    void refreshBackground();

    // Joins the shared options: configurationRequest goes to the receiver's
    // slot and the receiver's signal re-applies the options.
    void connectOptions(MultimeterDisplayOptions *sharedOptions, const QObject *receiver, const char *slot,
                        const char *signal);

    void setLabel(const QString &text);
    void setValueFont(const QString &family, int size);
    void setValueFontSize(int size);
    void setValueFontFamily(const QString &family);
    void setLabelFont(const QString &family, int size);
    void setLabelFontSize(int size);
    void setStretch(int label, int value, int unit, int accuracy);
    void setColor(const QString &colorName);
    void setBackgroundColor(const QString &colorName);
    void enableBargraph(bool enabled);
    void setButtonsVisible(bool visible);
    void enableButtons(bool enabled);
    void enableContexMenu(bool enabled);

    // Size N of the range icons (2N x N pixels) for a value font line height.
    static int rangeIconSize(int lineHeight);

public slots:
    void applyConfiguration();
    void editOffsetBase();

signals:
    void rangeExceeded(int status);
    void configurationRequest(QString component);

protected:
    void paintEvent(QPaintEvent *event) override;

private slots:
    void callSettings();
    void copyAsText();
    void copyAsImage();
    void copyAsDouble();
    void showContextMenu(const QPoint &position);
    void toolButtonHoldChanged();
    void toolButtonClearChanged();
    void toolButtonExtendChanged();
    void toolButtonOffsetChanged();
    void onLineEditBaseReturnPressed();
    void onLineEditBaseEditingFinished();

private:
    void prepareToolButton(QPushButton *button, const QString &text);
    void addContexMenu();
    void fillContextMenu(QMenu *menu);
    void showValue();
    void showExtreme();
    void showAccuracy();
    void showUnit();
    void showRangeExceeded(int status);
    void showAlarm(int level);
    void setPolicyRetain();
    void applyPolicy(const QSizePolicy &policy);
    QSize getLayoutSpace(const QFont &font) const;
    void scaleLayout();
    void scaleLayoutSpacing();
    void refreshStretch(int label, int value, int unit, int accuracy);
    void loadRangePixmap(const QSize &space);
    void putOnClipboard(const QString &text);

    Ui::MultimeterDisplay *ui;
    MultimeterValueModel model;

    QString labelText;
    QFont valueFont;
    QFont labelFont;
    QFont smallFont;
    QString foregroundColor;
    QString backgroundColor;
    QString warningColor = QStringLiteral("#f6f278");
    QString criticalColor = QStringLiteral("#f6b0b0");
    bool appendLabel = true;
    bool appendNewLine = true;
    bool buttonsEnabled = false;
    bool bargraphEnabled = false;
    bool contextMenuEnabled = false;
    int stretchLabel = 30;
    int stretchValue = 50;
    int stretchUnit = 15;
    int stretchAccuracy = 10;
    QSizePolicy sideLabelPolicy{QSizePolicy::Preferred, QSizePolicy::Fixed};
    QPixmap pixmapRangeOver;
    QPixmap pixmapRangeIn;
    QPixmap pixmapRangeBelow;
    QLineEdit *lineEditBase;
    QAction *settingsAction = nullptr;
    MultimeterDisplayOptions *options = nullptr;
};

#endif // MULTIMETERDISPLAY_H
