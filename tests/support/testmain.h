#pragma once
#include <QApplication>
#include <QtTest>

// QTEST_MAIN with the application identity the program uses, the offscreen
// platform when no display is configured, and one widget font everywhere so
// that screenshots compare across platforms.
#define VESK_TEST_MAIN(TestObject)                                                   \
    int main(int argc, char *argv[])                                                 \
    {                                                                                \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")                           \
            && qEnvironmentVariableIsEmpty("DISPLAY"))                               \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                 \
        VeskTest::prepareEnvironment();                                              \
        QApplication app(argc, argv);                                                \
        QApplication::setFont(QFont("DejaVu Sans", 9));                              \
        TestObject tc;                                                               \
        QTEST_SET_MAIN_SOURCE_PATH                                                   \
        return QTest::qExec(&tc, argc, argv);                                        \
    }

namespace VeskTest {
// Application identity as the program sets it, and a private settings store
// (XDG_CONFIG_HOME in a temporary folder) so tests never see a user's settings.
void prepareEnvironment();
// Folder the sources' test data live in.
QString sourcePath(const QString &relative);
// Folder where tests leave screenshots and other artefacts for CI.
QString artifactPath(const QString &fileName);
}
