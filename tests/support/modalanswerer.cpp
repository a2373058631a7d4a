#include "modalanswerer.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

ModalAnswerer::ModalAnswerer()
{
    connect(&timer, &QTimer::timeout, this, &ModalAnswerer::answer);
    timer.start(20);
}

void ModalAnswerer::answer()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        messages.append(box->windowTitle() + QStringLiteral(" / ") + box->text());
        box->done(QMessageBox::Ok);
    } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
        fileDialogTitles.append(dialog->windowTitle());
        const QString path = fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
        if (path.isEmpty()) {
            dialog->reject();
        } else {
            // Typed as a user would: a folder dialog answers with its
            // folder, a file dialog with the name in its line edit.
            const QFileInfo answer(path);
            dialog->setDirectory(answer.isDir() ? path : answer.absolutePath());
            if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")); name && !answer.isDir())
                name->setText(path);
            static_cast<QDialog *>(dialog)->accept();   // QFileDialog hides it
        }
    } else if (auto *input = qobject_cast<QInputDialog *>(modal)) {
        inputDialogs.append(input->windowTitle() + QStringLiteral(" / ") + input->labelText());
        const std::optional<QString> text = textAnswers.isEmpty() ? std::nullopt : textAnswers.takeFirst();
        if (text) {
            input->setTextValue(*text);
            input->accept();
        } else {
            input->reject();
        }
    }
}
