#include "testmain.h"
#include "about.h"
#include "globaloptions.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The tests take the program's objects from a static archive, where
        // nothing else refers to the resource initialiser.
        Q_INIT_RESOURCE(vesk);
    }

    void scaling_data()
    {
        QTest::addColumn<float>("scaleX");
        QTest::addColumn<float>("scaleY");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<QSize>("size");

        QTest::newRow("96 dpi") << 1.0f << 1.0f << QSize(460, 620) << QSize(530, 680);
        // The minimum grows the dialog to 575 wide before the resize scales it.
        QTest::newRow("wider only") << 1.25f << 1.0f << QSize(575, 620) << QSize(718, 680);
        QTest::newRow("144 dpi") << 1.5f << 1.5f << QSize(690, 930) << QSize(1035, 1395);
    }

    void scaling()
    {
        QFETCH(float, scaleX);
        QFETCH(float, scaleY);
        QFETCH(QSize, minimum);
        QFETCH(QSize, size);

        GlobalOptions options;
        options.scaleX = scaleX;
        options.scaleY = scaleY;
        About about(nullptr, &options);
        QCOMPARE(about.minimumSize(), minimum);
        QCOMPARE(about.size(), size);
    }

    void texts()
    {
        GlobalOptions options;
        QWidget window;
        About about(&window, &options);

        QCOMPARE(about.parentWidget(), &window);
        QCOMPARE(about.windowTitle(), QString("Vesk - About"));
        QVERIFY(!(about.windowFlags() & Qt::WindowContextHelpButtonHint));
        QCOMPARE(about.windowModality(), Qt::ApplicationModal);

        const QString version = about.findChild<QLabel *>("labelVersion")->text();
        const QRegularExpression pattern("^version: 1\\.2\\.\\d{10} with Qt (\\S+)$");
        const QRegularExpressionMatch match = pattern.match(version);
        QVERIFY2(match.hasMatch(), qPrintable(version));
        QCOMPARE(match.captured(1), QString(QT_VERSION_STR));

        QVERIFY(!about.findChild<QLabel *>("labelIcon")->pixmap(Qt::ReturnByValue).isNull());
        QVERIFY(!about.findChild<QLabel *>("labelName")->pixmap(Qt::ReturnByValue).isNull());

        const QString credits = about.findChild<QLabel *>("labelAuthor")->text();
        QVERIFY(credits.contains("Copyright &copy; 2026 the Vesk developers"));
        for (const char *library : {"Qt " QT_VERSION_STR, "QCustomPlot", "libusb-1.0", "CPython", "pybind11"})
            QVERIFY2(credits.contains(library), library);
        QVERIFY(!credits.contains("http"));

        QVERIFY(about.findChild<QLabel *>("labelLicenseTyp")->text().contains("GNU General Public License"));
        auto *licence = about.findChild<QPlainTextEdit *>("plainTextEditLicenseText");
        QVERIFY(licence->isReadOnly());
        const QString text = licence->toPlainText();
        QVERIFY(text.contains("GNU GENERAL PUBLIC LICENSE"));
        QVERIFY(text.contains("Version 3, 29 June 2007"));
        QVERIFY(text.contains("END OF TERMS AND CONDITIONS"));

        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        about.grab().save(VeskTest::artifactPath("about.png"));
    }

    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("closeForm") << "closeForm";
        QTest::newRow("Close button") << "button";
        QTest::newRow("Escape") << "escape";
    }

    void closing()
    {
        QFETCH(QString, how);
        GlobalOptions options;
        About about(nullptr, &options);

        QTimer::singleShot(0, &about, [&] {
            if (how == "closeForm")
                about.closeForm();
            else if (how == "button")
                QTest::mouseClick(about.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Close),
                                  Qt::LeftButton);
            else
                QTest::keyClick(&about, Qt::Key_Escape);
        });
        // A fallback so a broken close ends the test instead of hanging it.
        QTimer::singleShot(5000, &about, [&] { about.done(42); });
        QCOMPARE(about.exec(), int(QDialog::Rejected));
        QVERIFY(!about.isVisible());
    }
};

VESK_TEST_MAIN(TestAbout)
#include "tst_about.moc"
