#pragma once
#include <QString>
#include <QTemporaryDir>

// A temporary working folder holding the shipped hardware profile: the
// program reads "hardware.xml" from its working folder. enter() makes it
// current; the folder left is current again once the object is gone.
class ProfileFolder
{
public:
    ProfileFolder() = default;
    ~ProfileFolder();
    ProfileFolder(const ProfileFolder &) = delete;
    ProfileFolder &operator=(const ProfileFolder &) = delete;

    bool enter();

private:
    QTemporaryDir folder;
    QString startFolder;
};
