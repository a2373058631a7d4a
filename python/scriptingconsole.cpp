#include "scriptingconsole.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>

ScriptingConsole::ScriptingConsole(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setUndoRedoEnabled(false);
    setWordWrapMode(QTextOption::WrapAnywhere);
    setMaximumBlockCount(maxLines);
}

void ScriptingConsole::clear()
{
    QPlainTextEdit::clear();
    prompt.clear();
    appendCommandPrompt(continuation);
}

bool ScriptingConsole::promptShown() const
{
    return !prompt.isEmpty();
}

// The prompt always sits at the start of the last line, so its place
// survives the oldest lines being dropped.
int ScriptingConsole::inputStart() const
{
    return document()->lastBlock().position() + prompt.size();
}

void ScriptingConsole::appendCommandPrompt(bool continuationPrompt)
{
    if (promptShown())
        return;
    continuation = continuationPrompt;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    promptOwnsLine = !document()->lastBlock().text().isEmpty();
    if (promptOwnsLine)
        cursor.insertBlock();
    prompt = continuation ? QStringLiteral("... ") : QStringLiteral(">>> ");
    cursor.insertText(prompt, QTextCharFormat());
    setTextCursor(cursor);
    ensureCursorVisible();
}

QString ScriptingConsole::currentInput() const
{
    if (!promptShown())
        return QString();
    return document()->lastBlock().text().mid(prompt.size());
}

void ScriptingConsole::setInput(const QString &text)
{
    if (!promptShown())
        return;
    QTextCursor cursor(document());
    cursor.setPosition(inputStart());
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.insertText(text, QTextCharFormat());
    setTextCursor(cursor);
}

void ScriptingConsole::setBusy(bool running)
{
    busy = running;
}

void ScriptingConsole::removePrompt()
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    if (promptOwnsLine)
        cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    prompt.clear();
}

void ScriptingConsole::appendOutput(const QString &text, bool isError)
{
    // Output while a prompt waits (a script run from the menu) goes above
    // it; the prompt comes back with the pending input.
    const bool hadPrompt = promptShown();
    const QString input = currentInput();
    const bool wasContinuation = continuation;
    if (hadPrompt)
        removePrompt();
    QTextCharFormat format;
    if (isError)
        format.setForeground(QColor(QStringLiteral("#ff5050")));
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text, format);
    if (hadPrompt) {
        appendCommandPrompt(wasContinuation);
        setInput(input);
    }
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void ScriptingConsole::submit()
{
    const QString line = currentInput();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    prompt.clear();
    promptOwnsLine = false;
    if (!line.trimmed().isEmpty() && (history.isEmpty() || history.last() != line))
        history << line;
    historyIndex = history.size();
    pendingInput.clear();
    emit lineEntered(line); // the receiver runs it and shows the next prompt
}

void ScriptingConsole::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    if (busy || !promptShown())
        return;
    QTextCursor cursor = textCursor();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        submit();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (history.isEmpty())
            return;
        if (historyIndex == history.size())
            pendingInput = currentInput();
        historyIndex = qBound(0, historyIndex + (event->key() == Qt::Key_Up ? -1 : 1), history.size());
        setInput(historyIndex == history.size() ? pendingInput : history.at(historyIndex));
        return;
    case Qt::Key_Home:
        cursor.setPosition(inputStart(), event->modifiers() & Qt::ShiftModifier ? QTextCursor::KeepAnchor
                                                                                : QTextCursor::MoveAnchor);
        setTextCursor(cursor);
        return;
    case Qt::Key_Tab:
        if (cursor.position() < inputStart())
            moveCursor(QTextCursor::End);
        insertPlainText(QStringLiteral("    "));
        return;
    case Qt::Key_Backspace:
    case Qt::Key_Left:
        if (cursor.position() <= inputStart() && !cursor.hasSelection())
            return;
        break;
    default:
        break;
    }
    // Editing outside the input line moves to its end first.
    if (cursor.selectionStart() < inputStart() || cursor.position() < inputStart()) {
        cursor.movePosition(QTextCursor::End);
        setTextCursor(cursor);
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ScriptingConsole::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText() || !promptShown() || busy)
        return;
    const QStringList lines = source->text().split(QLatin1Char('\n'));
    moveCursor(QTextCursor::End);
    for (int i = 0; i < lines.size(); ++i) {
        insertPlainText(lines.at(i));
        if (i + 1 < lines.size()) {
            submit();
            if (!promptShown())
                return;
        }
    }
}
