#ifndef HARDWAREPROFILE_H
#define HARDWAREPROFILE_H

#include <QString>
#include <QVector>

class QWidget;

// Decides from the instrument's identification string whether the program
// supports it: the model must have an element in the hardware profile file
// and both versions must lie within that element's inclusive bounds. The
// outcome is a result code, the notices to show the user in order, and the
// description file to fill the device information from.
class HardwareProfile
{
public:
    enum Result {
        Supported = 0,
        HardwareVersionUnsupported = 1,
        SoftwareVersionUnsupported = 2,
        DescriptionFileMissing = 3,
        ModelUnknown = 4,
        WrongDocumentType = 5
    };

    struct Notice {
        QString title; // "Hardware" or "Software"
        QString text;
    };

    explicit HardwareProfile(const QString &profilePath = QStringLiteral("hardware.xml"));

    // Only the identification's first blank-separated word counts: model,
    // hardware version and software version joined by ".".
    int check(const QString &identification);

    const QVector<Notice> &notices() const;
    // Set for results 0, 1 and 2 only: the model's existing description file.
    QString descriptionFile() const;

    // One modal critical box per notice, in order; the texts may come from
    // the device, so they are shown as plain text.
    void showNotices(QWidget *parent) const;

private:
    int reject(int result, const QString &title, const QString &text);

    QString profilePath;
    QVector<Notice> noticeList;
    QString descriptionPath;
};

#endif // HARDWAREPROFILE_H
