#ifndef DEVICEINFORMATION_H
#define DEVICEINFORMATION_H

#include <QString>
#include <QStringList>

class QTextBrowser;

// The device information pane's lines: the description file's texts and the
// instrument's health items judged by its health mask.
class DeviceInformation
{
public:
    // Four-blank-indented descriptions, then "Health status" and one line per
    // status item, ": OK" when its bit of the mask is set. Nothing when the
    // file cannot be read or is not a "VeskHardware" document.
    static QStringList describe(const QString &descriptionPath, quint8 healthMask);

    // Appends text as one paragraph of the pane. Text from the device or from
    // files must never be taken for markup, so it is inserted literally.
    static void appendPlainText(QTextBrowser *pane, const QString &text);
};

#endif // DEVICEINFORMATION_H
