#ifndef SCRIPTINGCONSOLE_H
#define SCRIPTINGCONSOLE_H

#include <QPlainTextEdit>
#include <QStringList>
#include <QTextCursor>

// The text area of the Python console: a prompt (">>> ", or "... " inside
// a block) on the last line, where only the input after it can be edited,
// whatever the selection and the key;
// Up and Down walk the typed lines; output goes above the prompt, errors in
// red. The text keeps the last maxLines lines, so a chatty script cannot
// fill the memory.
class ScriptingConsole : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit ScriptingConsole(QWidget *parent = nullptr);

    static constexpr int maxLines = 10000;

    // Empties the text and shows a fresh prompt.
    void clear();
    // A new prompt at the end unless one is shown; `continuation` asks for
    // the "... " prompt of an open block.
    void appendCommandPrompt(bool continuation = false);
    void appendOutput(const QString &text, bool isError);
    bool promptShown() const;
    QString currentInput() const;
    void setInput(const QString &text);
    // While code runs, typing is ignored and Ctrl+C asks for an interruption.
    void setBusy(bool busy);

signals:
    void lineEntered(const QString &line);
    void interruptRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    int inputStart() const;
    void updateEditable();
    void keepCursorInInput();
    void deleteBackTo(QTextCursor::MoveOperation operation);
    void removePrompt();
    void submit();

    QString prompt;           // the shown prompt; empty when none is shown
    bool continuation = false;
    bool promptOwnsLine = false; // the prompt started a line of its own
    bool busy = false;
    QStringList history;
    int historyIndex = 0;
    QString pendingInput;     // the unfinished line while walking the history
};

#endif // SCRIPTINGCONSOLE_H
