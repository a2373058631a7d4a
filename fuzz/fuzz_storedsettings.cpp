// The stored settings file as the readers meet it at start: the window's
// own keys and every component's options.
#include "fuzzinput.h"

#include "applicationsettings.h"
#include "multimeterdisplayoptions.h"
#include "pythonconsoleoptions.h"
#include "scopeoptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_storedsettings";
    static char *argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    static QTemporaryDir folder;
    static const bool prepared = [] {
        QCoreApplication::setOrganizationName(QStringLiteral("vesk.example"));
        QCoreApplication::setApplicationName(QStringLiteral("Vesk"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
        return folder.isValid();
    }();
    if (!prepared)
        return 0;
    const QString path = QSettings().fileName();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    ApplicationSettings::load();
    ScopeOptions scope;
    scope.readFromSettings(scope.getName());
    MultimeterDisplayOptions meter;
    meter.readFromSettings(meter.getName());
    PythonConsoleOptions console;
    console.readFromSettings(console.getName());
    QFile::remove(path);
    return 0;
}
