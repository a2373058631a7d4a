#ifndef LOG_H
#define LOG_H

#include <QString>
#include <QtGlobal>

class QSettings;

// The program's log, "vesk.log" in the working directory: the file, the
// level filter and the record format. Every part of the program logs
// through Qt's message functions or logRecord; nothing writes the file
// directly.

// Lowest message type written to the log: 0 debug, 1 info, 2 warning,
// 3 critical, 4 fatal. Set once at start-up, before the handler is installed.
extern int loggingLevel;

// Reads "loggingLevel", points standard error at "vesk.log" in the working
// directory (the null device when the log cannot be created, so descriptor 2
// never stays free) and installs the message handler.
void startLogging(QSettings &settings);

// The process-wide Qt message handler: one record per message.
void loggingOutput(QtMsgType type, const QMessageLogContext &context, const QString &message);

// A text at a level 0..4 (3 and 4 both critical; others write nothing),
// ended by a line break of its own, so its record takes two lines.
void logRecord(const QString &text, int level);

#endif // LOG_H
