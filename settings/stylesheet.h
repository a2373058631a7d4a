#ifndef STYLESHEET_H
#define STYLESHEET_H

#include <QString>

namespace StyleSheet {

// The style sheet stored at the path, read as Latin-1 text up to its first
// zero byte; empty when the file cannot be read.
QString fromResource(const QString &path);

} // namespace StyleSheet

#endif // STYLESHEET_H
