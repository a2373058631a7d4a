#ifndef VESKINTERFACE_H
#define VESKINTERFACE_H

#include <QMainWindow>

class VeskInterface : public QMainWindow
{
    Q_OBJECT

public:
    explicit VeskInterface(QWidget *parent = nullptr);
    ~VeskInterface() override;

    static void logToFile(const QString &text, int level);
};

#endif // VESKINTERFACE_H
