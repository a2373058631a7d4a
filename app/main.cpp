#include "common.h"
#include "log.h"
#include "terminationsignals.h"
#include "veskinterface.h"

#include <QApplication>
#include <QSettings>
#include <QTextCodec>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    applyApplicationIdentity();
    auto *settings = new QSettings();
    startLogging(*settings);

    auto *application = new QApplication(argc, argv);
    // The docks' style sheets fix each widget's font before the pages reach
    // the window, so the form's 9 pt must be the default already: a desktop
    // with larger text would otherwise push the pages past the window.
    QFont formFont = QApplication::font();
    formFont.setPointSize(9);
    QApplication::setFont(formFont);
    auto *window = new VeskInterface(nullptr);
    // A termination signal closes the window as its close button does, so
    // the setup is saved and the instrument released. Until here the default
    // actions hold: nothing is open and nothing is worth saving yet.
    auto *termination = new TerminationSignals;
    termination->closeOnSignal(window);
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    if (settings->value(QStringLiteral("wasMaximized")).toBool())
        window->showMaximized();
    else
        window->show();

    const int exitCode = application->exec();
    delete termination;
    delete window;
    delete application;
    delete settings;
    return exitCode;
}
