#include "testmain.h"
#include "colorbutton.h"
#include "multimeterdisplayoptions.h"
#include "multimeterdisplaysettings.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QSettings>

static const QString group = QStringLiteral("MultimeterDisplay");

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

class TestMultimeterDisplayOptions : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings().remove(group);
    }

    void identity()
    {
        const MultimeterDisplayOptions options;
        QCOMPARE(options.getName(), group);
        QCOMPARE(options.getCommonName(), QStringLiteral("Multimeter display"));
        QCOMPARE(options.getUiClassName(), QStringLiteral("MultimeterDisplaySettings"));
    }

    void emptyStoreKeepsTheDefaults()
    {
        MultimeterDisplayOptions options;
        options.readFromSettings(group);
        QCOMPARE(options.foregroundColorName, QStringLiteral("#404040"));
        QCOMPARE(options.backgroundColorName, QStringLiteral("#fafafa"));
        QCOMPARE(options.warningColorName, QStringLiteral("#f6f278"));
        QCOMPARE(options.criticalColorName, QStringLiteral("#f6b0b0"));
        QCOMPARE(options.valueFontFamily, QStringLiteral("Consolas"));
        QCOMPARE(options.labelFontFamily, QStringLiteral("Consolas"));
        QCOMPARE(options.extendPrecision, 3);
        QCOMPARE(options.appendLabel, true);
        QCOMPARE(options.appendNewLine, false);
        QVERIFY(QSettings().childGroups().isEmpty()); // reading writes nothing
    }

    void roundTrip()
    {
        MultimeterDisplayOptions written;
        written.foregroundColorName = QStringLiteral("#010203");
        written.backgroundColorName = QStringLiteral("#040506");
        written.warningColorName = QStringLiteral("#070809");
        written.criticalColorName = QStringLiteral("#0a0b0c");
        written.valueFontFamily = QStringLiteral("DejaVu Sans Mono");
        written.labelFontFamily = QStringLiteral("DejaVu Sans");
        written.extendPrecision = 4;
        written.appendLabel = false;
        written.appendNewLine = true;
        written.maxExtendPrecision = 9;
        written.writeToSettings(group);

        QSettings settings;
        settings.beginGroup(group);
        QCOMPARE(settings.childKeys().size(), 9); // the bound is not stored
        QCOMPARE(settings.value("extendPrecision").toInt(), 4);
        QCOMPARE(settings.value("valueFontFamily").toString(), QStringLiteral("DejaVu Sans Mono"));

        MultimeterDisplayOptions read;
        read.readFromSettings(group);
        QCOMPARE(read.foregroundColorName, written.foregroundColorName);
        QCOMPARE(read.backgroundColorName, written.backgroundColorName);
        QCOMPARE(read.warningColorName, written.warningColorName);
        QCOMPARE(read.criticalColorName, written.criticalColorName);
        QCOMPARE(read.valueFontFamily, written.valueFontFamily);
        QCOMPARE(read.labelFontFamily, written.labelFontFamily);
        QCOMPARE(read.extendPrecision, 4);
        QCOMPARE(read.appendLabel, false);
        QCOMPARE(read.appendNewLine, true);
        QCOMPARE(read.maxExtendPrecision, 5);
    }

    void oddStoredValues()
    {
        {
            QSettings settings;
            settings.beginGroup(group);
            settings.setValue("extendPrecision", "many");
            settings.setValue("appendLabel", "maybe");
            settings.setValue("appendNewLine", "true");
            settings.setValue("foregroundColorName", "not a colour");
        }
        MultimeterDisplayOptions options;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("extendPrecision.*not a number"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("appendLabel.*not a boolean"));
        options.readFromSettings(group);
        QCOMPARE(options.extendPrecision, 0);
        QCOMPARE(options.appendLabel, false);
        QCOMPARE(options.appendNewLine, true);
        QCOMPARE(options.foregroundColorName, QStringLiteral("not a colour")); // taken as it is
        QCOMPARE(options.backgroundColorName, QStringLiteral("#fafafa"));
        QCOMPARE(options.validateExtendPrecision(options.extendPrecision), 1);
    }

    void validateExtendPrecision_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("used");
        QTest::newRow("negative") << -4 << 1;
        QTest::newRow("zero") << 0 << 1;
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("largest") << 5 << 5;
        QTest::newRow("too many") << 6 << 5;
    }

    void validateExtendPrecision()
    {
        QFETCH(int, stored);
        QFETCH(int, used);
        QCOMPARE(MultimeterDisplayOptions().validateExtendPrecision(stored), used);
    }

    void pageShowsAndAppliesTheOptions()
    {
        MultimeterDisplayOptions options;
        options.valueFontFamily = QStringLiteral("DejaVu Sans Mono");
        options.labelFontFamily = QStringLiteral("DejaVu Sans Mono");
        options.backgroundColorName = QStringLiteral("#ABCDEF"); // upper case as a user might store it
        MultimeterDisplaySettings page(nullptr, &options);

        auto *precision = page.findChild<QComboBox *>(QStringLiteral("comboBoxExtendPrecision"));
        QCOMPARE(precision->currentText(), QStringLiteral("3"));
        QVERIFY(page.findChild<QCheckBox *>(QStringLiteral("checkBoxAppendLabel"))->isChecked());
        QVERIFY(!page.findChild<QCheckBox *>(QStringLiteral("checkBoxAppenNewLine"))->isChecked());
        auto *warning = page.findChild<ColorButton *>(QStringLiteral("pushButtonWarningColor"));
        QCOMPARE(warning->currentColor(), QColor("#f6f278"));
        QCOMPARE(warning->iconSize(), QSize(44, 12));

        page.applyOptions(); // unchanged widgets give the same values back
        QCOMPARE(options.valueFontFamily, QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(options.backgroundColorName, QStringLiteral("#abcdef"));
        QCOMPARE(options.foregroundColorName, QStringLiteral("#404040"));
        QCOMPARE(options.extendPrecision, 3);
        QCOMPARE(options.appendLabel, true);
        QCOMPARE(options.appendNewLine, false);
    }

    void pageShowsTwoForAnUnofferedPrecision_data()
    {
        QTest::addColumn<int>("stored");
        QTest::newRow("zero") << 0;
        QTest::newRow("too many") << 7;
    }

    void pageShowsTwoForAnUnofferedPrecision()
    {
        QFETCH(int, stored);
        MultimeterDisplayOptions options;
        options.extendPrecision = stored;
        MultimeterDisplaySettings page(nullptr, &options);
        QCOMPARE(page.findChild<QComboBox *>(QStringLiteral("comboBoxExtendPrecision"))->currentText(),
                 QStringLiteral("2"));
        QCOMPARE(options.extendPrecision, stored); // the page edits a copy
        page.applyOptions();
        QCOMPARE(options.extendPrecision, 2);
    }

    void colourChoice()
    {
        MultimeterDisplayOptions options;
        MultimeterDisplaySettings page(nullptr, &options);
        auto *critical = page.findChild<ColorButton *>(QStringLiteral("pushButtonCriticalColor"));

        answerColorDialog(QColor()); // cancelled
        critical->click();
        QCOMPARE(critical->currentColor(), QColor("#f6b0b0"));

        answerColorDialog(QColor("#123456"));
        critical->click();
        QCOMPARE(critical->currentColor(), QColor("#123456"));
        QCOMPARE(options.criticalColorName, QStringLiteral("#f6b0b0")); // until applied
        page.applyOptions();
        QCOMPARE(options.criticalColorName, QStringLiteral("#123456"));
    }
};

VESK_TEST_MAIN(TestMultimeterDisplayOptions)
#include "tst_multimeterdisplayoptions.moc"
