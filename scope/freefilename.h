#ifndef FREEFILENAME_H
#define FREEFILENAME_H

#include <QString>

// Names made from the time of day repeat (two saves in one second, the same
// time another day): a name already taken in the folder gets "-2", "-3", ...
// before its extension, so a save never replaces an earlier file.
namespace FreeFileName
{
// `name` itself when `folder` has no entry of that name, else the first free
// numbered form of it.
QString in(const QString &folder, const QString &name);
}

#endif // FREEFILENAME_H
