#include "profilefolder.h"
#include "testmain.h"

#include <QDir>
#include <QFile>

ProfileFolder::~ProfileFolder()
{
    if (!startFolder.isEmpty())
        QDir::setCurrent(startFolder);
}

bool ProfileFolder::enter()
{
    if (!folder.isValid())
        return false;
    for (const QString name : {"hardware.xml", "vesksim.xml"}) {
        if (!QFile::copy(VeskTest::sourcePath("data/" + name), folder.filePath(name)))
            return false;
    }
    startFolder = QDir::currentPath();
    return QDir::setCurrent(folder.path());
}
