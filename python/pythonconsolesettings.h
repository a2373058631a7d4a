#ifndef PYTHONCONSOLESETTINGS_H
#define PYTHONCONSOLESETTINGS_H

#include <QWidget>

class ColorButton;
class PythonConsoleOptions;

namespace Ui {
class PythonConsoleSettings;
}

// Settings page of the Python console options: font, colours, default size
// and whether a new console takes the last size. It edits the widgets only;
// applyOptions copies them into the options object.
class PythonConsoleSettings : public QWidget
{
    Q_OBJECT

public:
    PythonConsoleSettings(QWidget *parent, PythonConsoleOptions *options);
    ~PythonConsoleSettings() override;

    void loadOptions();
    void applyOptions();

private slots:
    void on_colorButtonBackgroundColor_clicked();
    void on_colorButtonForegroundColor_clicked();

private:
    void chooseColor(ColorButton *button);

    Ui::PythonConsoleSettings *ui;
    PythonConsoleOptions *consoleOptions;
    QString shownFontFamily; // what the family combo showed after loadOptions
    const int spinBoxUnlimited = 999999; // spin box maximum where the options set none
    const QSize colorIconSize = QSize(44, 12);
};

#endif // PYTHONCONSOLESETTINGS_H
