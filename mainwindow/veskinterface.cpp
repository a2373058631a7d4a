#include "veskinterface.h"

#include <QDebug>

VeskInterface::VeskInterface(QWidget *parent)
    : QMainWindow(parent)
{
}

VeskInterface::~VeskInterface() = default;

void VeskInterface::logToFile(const QString &text, int level)
{
    QMessageLogger logger(nullptr, 0, nullptr, "default");
    const QByteArray utf8 = text.toUtf8();
    switch (level) {
    case 0: logger.debug() << utf8.constData() << "\n"; break;
    case 1: logger.info() << utf8.constData() << "\n"; break;
    case 2: logger.warning() << utf8.constData() << "\n"; break;
    case 3:
    case 4: logger.critical() << utf8.constData() << "\n"; break;
    default: break;
    }
}
