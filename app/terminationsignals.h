#ifndef TERMINATIONSIGNALS_H
#define TERMINATIONSIGNALS_H

#include <QObject>

class QSocketNotifier;
class QWidget;

// Brings SIGTERM, SIGINT and SIGHUP to the GUI thread as the signal
// received(), so that the program can end through its orderly close. The
// handler only writes the signal's number into a socket pair; a notifier
// reads it in the event loop. A signal that arrives after the first (the
// close hangs, or the user insists) ends the process at once, by the
// default action of that signal.
//
// One object at a time; its destructor puts the default actions back.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // A signal closes the window as its close button does, logged first.
    void closeOnSignal(QWidget *window);

signals:
    void received(int signalNumber);

private slots:
    void readSignal();

private:
    QSocketNotifier *notifier = nullptr;
};

#endif // TERMINATIONSIGNALS_H
