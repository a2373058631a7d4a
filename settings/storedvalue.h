#ifndef STOREDVALUE_H
#define STOREDVALUE_H

#include <QString>

class QSettings;

// Reading typed values back from the settings store, where anything may
// have been left by hand. An odd value is reported under the owner's name
// ("<owner> settings: <key> is not ...") so a damaged store can be found.
namespace StoredValue {

// A value that is not a whole number reads as 0.
int readInt(const QSettings &settings, const QString &key, int current, const QString &owner);

// QVariant takes any non-empty text for true; only the forms a store writes
// count, anything else reads as false.
bool readBool(const QSettings &settings, const QString &key, bool current, const QString &owner);

} // namespace StoredValue

#endif // STOREDVALUE_H
