#include "testmain.h"
#include "common.h"

#include <QDir>
#include <QTemporaryDir>

namespace VeskTest {

void prepareEnvironment()
{
    static QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        static QTemporaryDir runtimeDir;
        QFile::setPermissions(runtimeDir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    }
    applyApplicationIdentity();
}

QString sourcePath(const QString &relative)
{
    const QString root = qEnvironmentVariable("VESK_SOURCE_DIR", QStringLiteral(VESK_DEFAULT_SOURCE_DIR));
    return QDir(root).filePath(relative);
}

QString artifactPath(const QString &fileName)
{
    const QString root = qEnvironmentVariable("VESK_ARTIFACTS", QDir::tempPath());
    QDir().mkpath(root);
    return QDir(root).filePath(fileName);
}

} // namespace VeskTest
