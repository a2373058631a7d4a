#include "hardwareprofile.h"
#include "qxmlget.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

namespace {

const QString profileDocumentType = QStringLiteral("VeskHardware");

// A version that is not a decimal number counts as 0.
int versionNumber(const QString &field)
{
    bool ok = false;
    const int version = field.toInt(&ok, 10);
    return ok ? version : 0;
}

} // namespace

HardwareProfile::HardwareProfile(const QString &profilePath)
    : profilePath(profilePath)
{
}

int HardwareProfile::check(const QString &identification)
{
    noticeList.clear();
    descriptionPath.clear();
    const QString word = identification.section(QLatin1Char(' '), 0, 0);

    QXmlGet profile;
    profile.load(profilePath);
    if (profile.docType() != profileDocumentType)
        return reject(WrongDocumentType, QStringLiteral("Hardware"), QStringLiteral("Wrong doctype in hardware.xml!"));

    // A short word has no versions to read, and an empty model would match
    // any element, so neither names a device we know.
    const QStringList fields = word.split(QLatin1Char('.'));
    if (fields.size() < 3 || fields.at(0).isEmpty() || !profile.find(fields.at(0)))
        return reject(ModelUnknown, QStringLiteral("Hardware"),
                      QStringLiteral("hardware (") + word + QStringLiteral(") not suported"));

    const int hardLo = profile.getAttributeInt(QStringLiteral("hardLo"), 0);
    const int hardHi = profile.getAttributeInt(QStringLiteral("hardHi"), 0);
    const int softLo = profile.getAttributeInt(QStringLiteral("softLo"), 0);
    const int softHi = profile.getAttributeInt(QStringLiteral("softHi"), 0);
    const QString file = profile.getAttributeString(QStringLiteral("file"), QString());

    int result = Supported;
    const int hardware = versionNumber(fields.at(1));
    if (hardware < hardLo || hardware > hardHi) {
        noticeList.append({QStringLiteral("Hardware"),
                           QStringLiteral("Hardware version (") + word + QStringLiteral(") not supported")});
        result = HardwareVersionUnsupported;
    }
    const int software = versionNumber(fields.at(2));
    if (software < softLo || software > softHi) {
        noticeList.append({QStringLiteral("Software"),
                           QStringLiteral("Software version (") + word + QStringLiteral(") not supported")});
        result = SoftwareVersionUnsupported;
    }
    if (!QFileInfo(file).isFile())
        return reject(DescriptionFileMissing, QStringLiteral("Software"), QStringLiteral("Can't read file: ") + file);
    descriptionPath = file;
    return result;
}

const QVector<HardwareProfile::Notice> &HardwareProfile::notices() const
{
    return noticeList;
}

QString HardwareProfile::descriptionFile() const
{
    return descriptionPath;
}

void HardwareProfile::showNotices(QWidget *parent) const
{
    for (const Notice &notice : noticeList) {
        QMessageBox box(QMessageBox::Critical, notice.title, notice.text, QMessageBox::Ok, parent);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
}

int HardwareProfile::reject(int result, const QString &title, const QString &text)
{
    noticeList.append({title, text});
    return result;
}
