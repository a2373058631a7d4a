#ifndef ABOUT_H
#define ABOUT_H

#include <QDialog>

class GlobalOptions;
class Ui_About;

// The About box: icon and name, version line, credits and the licence.
class About : public QDialog
{
    Q_OBJECT

public:
    // options supplies the display scale; it is read only here.
    About(QWidget *parent, GlobalOptions *options);
    ~About() override;

    // Presses Close, as a user would.
    void closeForm();

private:
    Ui_About *ui;
};

#endif // ABOUT_H
