#ifndef COMMON_H
#define COMMON_H

#include <QString>
#include <QtGlobal>

class QSettings;

// Organisation, domain, application name and version: they select the
// settings store and make the window title.
void applyApplicationIdentity();

// Lowest message type written to the log: 0 debug, 1 info, 2 warning,
// 3 critical, 4 fatal. Set once at start-up, before the handler is installed.
extern int loggingLevel;

// Reads "loggingLevel", points standard error at "vesk.log" in the working
// directory (the null device when the log cannot be created, so descriptor 2
// never stays free) and installs the message handler.
void startLogging(QSettings &settings);

// The process-wide Qt message handler: one record per message.
void loggingOutput(QtMsgType type, const QMessageLogContext &context, const QString &message);

// Build stamp yyMMddhhmm of this translation unit's compilation.
QString compilationTime();

#endif // COMMON_H
