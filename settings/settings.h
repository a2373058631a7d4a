#ifndef SETTINGS_H
#define SETTINGS_H

#include <QDialog>
#include <QMap>
#include <QStringList>
#include <QVariant>

class GlobalSettings;
class MultimeterDisplaySettings;
class PythonConsoleSettings;
class ScopeSettings;

namespace Ui {
class Settings;
}

// The modal dialog that edits every component's options: the list of pages
// on the left, the chosen page under its name on the right. The pages edit
// copies; Apply and OK copy them into the options objects and announce it
// with applyRequest().
class Settings : public QDialog
{
    Q_OBJECT

public:
    // options: the main window's map from options class name to a variant
    // holding the object; item: getName() of the page to open at, the
    // first page when no page has that name.
    Settings(QWidget *parent, QMap<QString, QVariant *> *options, const QString &item);
    ~Settings() override;

signals:
    void applyRequest();

private slots:
    void on_listWidget_itemSelectionChanged();
    void on_pushButtonApply_clicked();
    void on_pushButtonOk_clicked();
    void on_pushButtonCancel_clicked();

private:
    template<typename OptionsType, typename PageType>
    PageType *addPage(QMap<QString, QVariant *> *options, const QString &key);

    Ui::Settings *ui;
    PythonConsoleSettings *pythonConsoleSettings = nullptr;
    ScopeSettings *scopeSettings = nullptr;
    MultimeterDisplaySettings *multimeterDisplaySettings = nullptr;
    GlobalSettings *globalSettings = nullptr;
    // getName() of the options edited on each list row.
    QStringList pageNames;
};

#endif // SETTINGS_H
