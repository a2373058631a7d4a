#pragma once
#include <QObject>
#include <QStringList>
#include <QTimer>

// Answers the modal dialogs the code under test opens: a message box is
// noted ("title / text") and accepted; a file dialog gets the next queued
// answer (a path, or an empty string to cancel it).
class ModalAnswerer : public QObject
{
public:
    ModalAnswerer();

    QStringList fileAnswers;
    QStringList messages;
    QStringList fileDialogTitles;

private:
    void answer();
    QTimer timer;
};
