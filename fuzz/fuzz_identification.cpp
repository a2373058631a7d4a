// The instrument's identification against a hardware profile, and the
// description the profile names. Input: the health byte, the identification
// line, then the profile and the description separated by a NUL byte.
#include "fuzzinput.h"

#include "deviceinformation.h"
#include "hardwareprofile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace
{
void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    // Profiles name their description relative to the working folder.
    static QTemporaryDir folder;
    static const bool entered = QDir::setCurrent(folder.path());
    if (!entered)
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(data + 1), int(size - 1));
    const int lineEnd = input.indexOf('\n');
    const QByteArray identification = lineEnd < 0 ? input : input.left(lineEnd);
    const QByteArray files = lineEnd < 0 ? QByteArray() : input.mid(lineEnd + 1);
    const int nul = files.indexOf('\0');
    writeFile(QStringLiteral("hardware.xml"), nul < 0 ? files : files.left(nul));
    writeFile(QStringLiteral("d.xml"), nul < 0 ? QByteArray() : files.mid(nul + 1));
    HardwareProfile profile(QStringLiteral("hardware.xml"));
    profile.check(QString::fromLatin1(identification));
    profile.notices();
    if (!profile.descriptionFile().isEmpty())
        DeviceInformation::describe(profile.descriptionFile(), data[0]);
    return 0;
}
