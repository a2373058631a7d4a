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
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &ScriptingConsole::updateEditable);
    connect(this, &QPlainTextEdit::selectionChanged, this, &ScriptingConsole::updateEditable);
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
    updateEditable();
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
    updateEditable();
}

// Only a cursor or a selection inside the input may edit: the mouse's
// cut, delete, paste and drag then cannot reach the prompt or the output.
void ScriptingConsole::updateEditable()
{
    const bool inInput = !busy && promptShown() && textCursor().selectionStart() >= inputStart();
    setTextInteractionFlags(inInput ? Qt::TextEditorInteraction
                                    : Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

// A selection reaching into the input shrinks to its input part; a cursor
// or selection elsewhere goes to the end of the input.
void ScriptingConsole::keepCursorInInput()
{
    QTextCursor cursor = textCursor();
    const int start = inputStart();
    if (cursor.selectionEnd() > start && cursor.selectionStart() < start) {
        const int end = cursor.selectionEnd();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
    } else if (cursor.selectionStart() < start) {
        cursor.movePosition(QTextCursor::End);
    }
    setTextCursor(cursor);
}

// Deletions backwards stop at the input's start.
void ScriptingConsole::deleteBackTo(QTextCursor::MoveOperation operation)
{
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        cursor.movePosition(operation, QTextCursor::KeepAnchor);
        if (cursor.position() < inputStart())
            cursor.setPosition(inputStart(), QTextCursor::KeepAnchor);
    }
    cursor.removeSelectedText();
    setTextCursor(cursor);
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
    // Ctrl+C copies while the prompt waits and interrupts running code.
    if (busy && event->matches(QKeySequence::Copy)) {
        emit interruptRequested();
        return;
    }
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
    case Qt::Key_Left:
        if (cursor.position() <= inputStart() && !cursor.hasSelection())
            return;
        Q_FALLTHROUGH();
    case Qt::Key_Right:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        QPlainTextEdit::keyPressEvent(event); // moving and selecting edit nothing
        return;
    default:
        break;
    }
    keepCursorInInput();
    if (event->matches(QKeySequence::DeleteCompleteLine)) {
        setInput(QString());
    } else if (event->matches(QKeySequence::DeleteStartOfWord)) {
        deleteBackTo(QTextCursor::PreviousWord);
    } else if (event->key() == Qt::Key_Backspace) {
        deleteBackTo(QTextCursor::PreviousCharacter);
    } else if (event->key() == Qt::Key_Tab) {
        insertPlainText(QStringLiteral("    "));
    } else {
        QPlainTextEdit::keyPressEvent(event);
    }
}

void ScriptingConsole::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText() || !promptShown() || busy)
        return;
    const QStringList lines = source->text().split(QLatin1Char('\n'));
    keepCursorInInput();
    for (int i = 0; i < lines.size(); ++i) {
        insertPlainText(lines.at(i));
        if (i + 1 < lines.size()) {
            submit();
            if (!promptShown())
                return;
        }
    }
}
