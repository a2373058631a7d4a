#ifndef GLOBALSETTINGS_H
#define GLOBALSETTINGS_H

#include <QWidget>

class GlobalOptions;

namespace Ui {
class GlobalSettings;
}

// Settings page of the options that belong to no single component. None of
// them is edited by the user yet, so the page only says so.
class GlobalSettings : public QWidget
{
    Q_OBJECT

public:
    GlobalSettings(QWidget *parent, GlobalOptions *options);
    ~GlobalSettings() override;

    void loadOptions();
    void applyOptions();

private:
    Ui::GlobalSettings *ui;
    GlobalOptions *options;
};

#endif // GLOBALSETTINGS_H
