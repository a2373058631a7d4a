#ifndef SCOPESETTINGS_H
#define SCOPESETTINGS_H

#include <QWidget>

class ScopeOptions;

namespace Ui {
class ScopeSettings;
}

// Settings page of the oscilloscope's display options. It edits the combo
// boxes only; applyOptions copies them into the options object.
class ScopeSettings : public QWidget
{
    Q_OBJECT

public:
    ScopeSettings(QWidget *parent, ScopeOptions *options);
    ~ScopeSettings() override;

    void loadOptions();
    void applyOptions();

private:
    Ui::ScopeSettings *ui;
    ScopeOptions *options;
};

#endif // SCOPESETTINGS_H
