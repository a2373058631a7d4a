#ifndef MULTIMETERDISPLAYSETTINGS_H
#define MULTIMETERDISPLAYSETTINGS_H

#include <QWidget>

class ColorButton;
class MultimeterDisplayOptions;

namespace Ui {
class MultimeterDisplaySettings;
}

// Settings page of the shared multimeter display options. It edits the
// widgets only; applyOptions copies them into the options object.
class MultimeterDisplaySettings : public QWidget
{
    Q_OBJECT

public:
    MultimeterDisplaySettings(QWidget *parent, MultimeterDisplayOptions *options);
    ~MultimeterDisplaySettings() override;

    void loadOptions();
    void applyOptions();

private slots:
    void on_pushButtonBackgroundColor_clicked();
    void on_pushButtonForegroundColor_clicked();
    void on_pushButtonWarningColor_clicked();
    void on_pushButtonCriticalColor_clicked();

private:
    void chooseColor(ColorButton *button);

    Ui::MultimeterDisplaySettings *ui;
    MultimeterDisplayOptions *options;
};

#endif // MULTIMETERDISPLAYSETTINGS_H
