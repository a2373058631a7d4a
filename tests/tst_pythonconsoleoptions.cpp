// The console options: defaults, the stored group and damaged values in
// it, the size limits, and the settings page that edits a copy.
#include "testmain.h"
#include "colorbutton.h"
#include "pythonconsoleoptions.h"
#include "pythonconsolesettings.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QSettings>
#include <QSpinBox>

static const QString group = QStringLiteral("PythonConsole");

// Answers the next modal colour dialog: accepts it with `color`, or
// cancels it when `color` is invalid.
static void answerColorDialog(const QColor &color)
{
    QTimer::singleShot(0, [color] {
        auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        if (color.isValid()) {
            dialog->setCurrentColor(color);
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
}

class TestPythonConsoleOptions : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings().remove(group);
    }

    void identity()
    {
        const PythonConsoleOptions options;
        QCOMPARE(options.getName(), group);
        QCOMPARE(options.getCommonName(), QStringLiteral("Python console"));
        QCOMPARE(options.getUiClassName(), QStringLiteral("PythonConsoleSettings"));
        QVERIFY(!options.getIcon().isNull());
    }

    void emptyStoreKeepsTheDefaults()
    {
        PythonConsoleOptions options;
        options.readFromSettings(group);
        QCOMPARE(options.fontFamily, QStringLiteral("Courier New"));
        QCOMPARE(options.fontSize, 10);
        QCOMPARE(options.sizeWidthDefault, 120);
        QCOMPARE(options.sizeHeightDefault, 20);
        QCOMPARE(options.sizeWidth, 0);
        QCOMPARE(options.sizeHeight, 0);
        QCOMPARE(options.restoreSize, false);
        QCOMPARE(options.colorName, QStringLiteral("#62f033"));
        QCOMPARE(options.backgroundColorName, QStringLiteral("#000000"));
        QCOMPARE(options.validateSizeWidth(1), 40);
        QCOMPARE(options.validateSizeWidth(5000), 999);
        QCOMPARE(options.validateSizeHeight(0), 1);
        QCOMPARE(options.validateSizeHeight(5000), 999);
        QVERIFY(QSettings().childGroups().isEmpty()); // reading writes nothing
    }

    void roundTrip()
    {
        PythonConsoleOptions written;
        written.fontFamily = QStringLiteral("DejaVu Sans Mono");
        written.fontSize = 14;
        written.sizeWidthMinimum = 20;
        written.sizeWidthDefault = 100;
        written.sizeWidthMaximum = 0;
        written.sizeHeightMinimum = 5;
        written.sizeHeightDefault = 30;
        written.sizeHeightMaximum = 60;
        written.sizeWidth = 87;
        written.sizeHeight = 33;
        written.restoreSize = true;
        written.colorName = QStringLiteral("#010203");
        written.backgroundColorName = QStringLiteral("#fefdfc");
        written.writeToSettings(group);

        QSettings settings;
        settings.beginGroup(group);
        QCOMPARE(settings.childKeys().size(), 13);
        QCOMPARE(settings.value("sizeWidth").toInt(), 87);
        QCOMPARE(settings.value("restoreSize").toBool(), true);

        PythonConsoleOptions read;
        read.readFromSettings(group);
        QCOMPARE(read.fontFamily, written.fontFamily);
        QCOMPARE(read.fontSize, 14);
        QCOMPARE(read.sizeWidthMinimum, 20);
        QCOMPARE(read.sizeWidthDefault, 100);
        QCOMPARE(read.sizeWidthMaximum, 0);
        QCOMPARE(read.sizeHeightMinimum, 5);
        QCOMPARE(read.sizeHeightDefault, 30);
        QCOMPARE(read.sizeHeightMaximum, 60);
        QCOMPARE(read.sizeWidth, 87);
        QCOMPARE(read.sizeHeight, 33);
        QCOMPARE(read.restoreSize, true);
        QCOMPARE(read.colorName, written.colorName);
        QCOMPARE(read.backgroundColorName, written.backgroundColorName);
    }

    // What a hand-edited store may hold; sizes feed pixel arithmetic and
    // colours a style sheet, so neither is taken as it is.
    void oddStoredValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QVariant>("read");
        QTest::addColumn<int>("warnings");

        QTest::newRow("text for a size means no saved size") << "sizeWidth" << QVariant("abc") << QVariant(0) << 1;
        QTest::newRow("negative size") << "sizeHeight" << QVariant(-5) << QVariant(0) << 1;
        QTest::newRow("huge maximum") << "sizeWidthMaximum" << QVariant(2000000000)
                                      << QVariant(PythonConsoleOptions::maxCells) << 1;
        QTest::newRow("largest size the page offers") << "sizeWidthDefault" << QVariant(999999) << QVariant(999999) << 0;
        QTest::newRow("text for the font size") << "fontSize" << QVariant("big") << QVariant(10) << 2;
        QTest::newRow("zero points") << "fontSize" << QVariant(0) << QVariant(10) << 1;
        QTest::newRow("size off the page's list") << "fontSize" << QVariant(13) << QVariant(13) << 0;
        QTest::newRow("colour by name") << "colorName" << QVariant("red") << QVariant("#ff0000") << 0;
        QTest::newRow("style sheet text for a colour") << "backgroundColorName" << QVariant("red; } QWidget { color: red")
                                                       << QVariant("#000000") << 1;
        QTest::newRow("unknown word for a flag") << "restoreSize" << QVariant("maybe") << QVariant(false) << 1;
        QTest::newRow("number for a flag") << "restoreSize" << QVariant("1") << QVariant(true) << 0;
    }
    void oddStoredValues()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QVariant, read);
        QFETCH(int, warnings);
        {
            QSettings settings;
            settings.beginGroup(group);
            settings.setValue(key, stored);
        }
        for (int i = 0; i < warnings; ++i)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Python console settings: ") + key));
        PythonConsoleOptions options;
        options.readFromSettings(group);
        const QMap<QString, QVariant> fields = {
            {"sizeWidth", options.sizeWidth},
            {"sizeHeight", options.sizeHeight},
            {"sizeWidthMaximum", options.sizeWidthMaximum},
            {"sizeWidthDefault", options.sizeWidthDefault},
            {"fontSize", options.fontSize},
            {"colorName", options.colorName},
            {"backgroundColorName", options.backgroundColorName},
            {"restoreSize", options.restoreSize},
        };
        QCOMPARE(fields.value(key), read);
    }

    void validateSize_data()
    {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("valid");
        QTest::newRow("below the minimum") << 40 << 999 << 10 << 40;
        QTest::newRow("inside") << 40 << 999 << 120 << 120;
        QTest::newRow("above the maximum") << 40 << 999 << 1200 << 999;
        QTest::newRow("no maximum") << 40 << 0 << 50000 << 50000;
        QTest::newRow("crossed limits give the maximum") << 100 << 50 << 70 << 50;
        QTest::newRow("crossed limits, value below both") << 100 << 50 << 10 << 50;
    }
    void validateSize()
    {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, value);
        QFETCH(int, valid);
        PythonConsoleOptions options;
        options.sizeWidthMinimum = minimum;
        options.sizeWidthMaximum = maximum;
        options.sizeHeightMinimum = minimum;
        options.sizeHeightMaximum = maximum;
        QCOMPARE(options.validateSizeWidth(value), valid);
        QCOMPARE(options.validateSizeHeight(value), valid);
    }

    void pageShowsAndAppliesTheOptions()
    {
        PythonConsoleOptions options;
        options.fontFamily = QStringLiteral("DejaVu Sans Mono");
        options.fontSize = 14;
        options.sizeWidthDefault = 90;
        options.restoreSize = true;
        options.sizeWidth = 77;
        options.sizeHeightMaximum = 0;
        options.backgroundColorName = QStringLiteral("#ABCDEF"); // upper case as a user might store it
        PythonConsoleSettings page(nullptr, &options);

        auto *width = page.findChild<QSpinBox *>(QStringLiteral("spinBoxDefaultConsoleWidth"));
        auto *height = page.findChild<QSpinBox *>(QStringLiteral("spinBoxDefaultConsoleHeight"));
        QCOMPARE(width->value(), 90);
        QCOMPARE(width->minimum(), 40);
        QCOMPARE(width->maximum(), 999);
        QCOMPARE(height->value(), 20);
        QCOMPARE(height->maximum(), 999999); // no maximum stored
        QCOMPARE(page.findChild<QComboBox *>(QStringLiteral("comboBoxFontSize"))->currentText(), QStringLiteral("14"));
        QVERIFY(page.findChild<QCheckBox *>(QStringLiteral("checkBoxRestoreSize"))->isChecked());
        auto *foreground = page.findChild<ColorButton *>(QStringLiteral("colorButtonForegroundColor"));
        QCOMPARE(foreground->currentColor(), QColor("#62f033"));
        QCOMPARE(foreground->iconSize(), QSize(44, 12));

        width->setValue(5000); // beyond the maximum: the spin box holds it at 999
        height->setValue(300);
        page.findChild<QCheckBox *>(QStringLiteral("checkBoxRestoreSize"))->setChecked(false);
        QCOMPARE(options.sizeWidthDefault, 90); // the page edits a copy
        page.applyOptions();
        QCOMPARE(options.sizeWidthDefault, 999);
        QCOMPARE(options.sizeHeightDefault, 300);
        QCOMPARE(options.restoreSize, false);
        QCOMPARE(options.fontSize, 14);
        QCOMPARE(options.backgroundColorName, QStringLiteral("#abcdef"));
        QCOMPARE(options.colorName, QStringLiteral("#62f033"));
        // Fields without a control stay as they were.
        QCOMPARE(options.sizeWidth, 77);
        QCOMPARE(options.sizeHeightMaximum, 0);
        QCOMPARE(options.sizeWidthMinimum, 40);
    }

    void pageShowsTenForAnUnofferedFontSize()
    {
        PythonConsoleOptions options;
        options.fontSize = 13;
        PythonConsoleSettings page(nullptr, &options);
        QCOMPARE(page.findChild<QComboBox *>(QStringLiteral("comboBoxFontSize"))->currentText(), QStringLiteral("10"));
        page.applyOptions();
        QCOMPARE(options.fontSize, 10);
    }

    // The family list holds installed monospaced fonts only: applying the
    // page must not swap a stored family the list cannot show for whatever
    // the list happens to show, but a family the user picks is taken.
    void fontFamilyChangesOnlyWhenPicked()
    {
        PythonConsoleOptions options;
        options.fontFamily = QStringLiteral("No Such Family Anywhere");
        PythonConsoleSettings page(nullptr, &options);
        page.applyOptions();
        QCOMPARE(options.fontFamily, QStringLiteral("No Such Family Anywhere"));

        auto *families = page.findChild<QFontComboBox *>(QStringLiteral("fontComboBoxFamily"));
        QVERIFY(families->count() > 1);
        const int other = families->currentIndex() == 0 ? 1 : 0;
        families->setCurrentIndex(other);
        page.applyOptions();
        QCOMPARE(options.fontFamily, families->currentFont().family());
    }

    void colourChoice()
    {
        PythonConsoleOptions options;
        PythonConsoleSettings page(nullptr, &options);
        auto *background = page.findChild<ColorButton *>(QStringLiteral("colorButtonBackgroundColor"));

        answerColorDialog(QColor()); // cancelled
        background->click();
        QCOMPARE(background->currentColor(), QColor("#000000"));

        answerColorDialog(QColor("#123456"));
        background->click();
        QCOMPARE(background->currentColor(), QColor("#123456"));
        QCOMPARE(options.backgroundColorName, QStringLiteral("#000000")); // until applied
        page.applyOptions();
        QCOMPARE(options.backgroundColorName, QStringLiteral("#123456"));
    }
};

VESK_TEST_MAIN(TestPythonConsoleOptions)
#include "tst_pythonconsoleoptions.moc"
