#pragma once
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <optional>

// Answers the modal dialogs the code under test opens: a message box is
// noted ("title / text") and accepted; a file dialog gets the next queued
// answer (a path, or an empty string to cancel it); a text input dialog is
// noted ("title / label") and gets the next queued text, typed and
// accepted (std::nullopt, or none queued, cancels it).
class ModalAnswerer : public QObject
{
public:
    ModalAnswerer();

    QStringList fileAnswers;
    QStringList messages;
    QStringList fileDialogTitles;
    QList<std::optional<QString>> textAnswers;
    QStringList inputDialogs;

private:
    void answer();
    QTimer timer;
};
