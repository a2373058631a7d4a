#ifndef CUSTOMTHEME_H
#define CUSTOMTHEME_H

#include "customcolors.h"

#include <QButtonGroup>
#include <QDialog>
#include <QIcon>

class QAbstractButton;
class QColorDialog;
class Ui_CustomTheme;

// The custom colour theme dialog; it owns the one custom colour table, keeps
// it in the application settings and hands it to the plot on Apply.
class CustomTheme : public QDialog
{
    Q_OBJECT

public:
    explicit CustomTheme(QWidget *parent = nullptr);
    ~CustomTheme() override;

    CustomColors *colors();

    // Stored set over the defaults; a stored entry that names no colour
    // keeps its default.
    void loadTheme();
    void loadDefaultTheme();
    void saveTheme();
    // Whether a colour set is stored (the dialog's Apply stores it).
    static bool hasStoredTheme();
    void colorizeButtons();

    static QIcon prepareIcon(const QColor &color);
    // "#ffffff" or "#000000", whichever reads better on the colour.
    static QString idealForegroundColor(const QColor &color);

signals:
    void applyCustomTheme(int theme, CustomColors *colors);

private slots:
    void on_applyButton_clicked();
    void on_cancelButton_clicked();
    void onButtonClicked(QAbstractButton *button);

private:
    void prepareButtons();
    static QString colorName(QAbstractButton *button);

    Ui_CustomTheme *ui;
    QColorDialog *colorDialog;
    CustomColors customColors;
    QButtonGroup buttonGroup;
};

#endif // CUSTOMTHEME_H
