#ifndef COMMON_H
#define COMMON_H

#include <QString>
#include <QtGlobal>

// Organisation, domain, application name and version: they select the
// settings store and make the window title.
void applyApplicationIdentity();

// Build stamp yyMMddhhmm of this translation unit's compilation.
QString compilationTime();

#endif // COMMON_H
