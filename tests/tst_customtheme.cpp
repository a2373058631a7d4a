// The custom colour theme: its defaults, colours picked in the dialog and
// kept in the settings store, damaged stored values, the dialog's buttons,
// and the plot drawn in the custom colours.
#include "testmain.h"
#include "logcapture.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "customtheme.h"
#include "scopeoptions.h"
#include "settings.h"

#include <QColorDialog>
#include <QComboBox>
#include <QSettings>
#include <QSignalSpy>

Q_DECLARE_METATYPE(CustomColors *)

namespace {

const QColor green(75, 229, 28);

QStringList allNames()
{
    QStringList names = {"CH1", "CH1 REF", "CH1 FFT", "CH2", "CH2 REF", "CH2 FFT", "GRID", "AXES"};
    for (int i = 0; i < 8; ++i)
        names << QStringLiteral("BIT %1").arg(i);
    for (int i = 0; i < 8; ++i)
        names << QStringLiteral("BIT %1 REF").arg(i);
    return names << "BACKGROUND" << "LABELS";
}

void clearStore()
{
    QSettings settings;
    settings.clear();
    settings.sync();
}

// Picks the theme on the Settings dialog's Oscilloscope page and presses OK.
void chooseThemeInSettings(VeskInterface &window, const QString &theme)
{
    QTimer::singleShot(0, [theme] {
        auto *dialog = qobject_cast<Settings *>(QApplication::activeModalWidget());
        QVERIFY2(dialog, "no modal Settings dialog");
        auto *themes = dialog->findChild<QComboBox *>("comboBoxTheme");
        QVERIFY(themes);
        themes->setCurrentIndex(themes->findText(theme));
        dialog->findChild<QPushButton *>("pushButtonOk")->click();
    });
    QMetaObject::invokeMethod(&window, "callSettings", Q_ARG(QString, QStringLiteral("Oscilloscope")));
}

QPushButton *colorButton(CustomTheme &dialog, const QString &name)
{
    for (QPushButton *button : dialog.findChildren<QPushButton *>())
        if (button->text() == name)
            return button;
    return nullptr;
}

QColor swatch(QAbstractButton *button)
{
    return button->icon().pixmap(24, 24).toImage().pixelColor(12, 12);
}

QColorDialog *picker()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<QColorDialog *>(widget))
            return dialog;
    return nullptr;
}

// Presses a colour button and answers the picker it opens with the colour,
// or cancels the picker when the colour is invalid.
void pick(CustomTheme &dialog, const QString &name, const QColor &color)
{
    QColorDialog *colorDialog = picker();
    QVERIFY(colorDialog);
    // Platform pickers run outside Qt's widgets, where no test can answer them.
    colorDialog->setOption(QColorDialog::DontUseNativeDialog);
    bool answered = false;
    QTimer::singleShot(0, colorDialog, [&] {
        answered = colorDialog->isVisible();
        if (color.isValid()) {
            colorDialog->setCurrentColor(color);
            colorDialog->accept();
        } else {
            colorDialog->reject();
        }
    });
    QPushButton *button = colorButton(dialog, name);
    QVERIFY(button);
    button->click();
    QVERIFY(answered);
}

} // namespace

class TestCustomTheme : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qRegisterMetaType<CustomColors *>();
    }

    void init()
    {
        clearStore();
    }

    void idealForegroundColor_data()
    {
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QString>("foreground");
        QTest::newRow("black") << QColor(Qt::black) << "#ffffff";
        QTest::newRow("white") << QColor(Qt::white) << "#000000";
        QTest::newRow("yellow") << QColor(255, 255, 0) << "#000000";
        QTest::newRow("blue") << QColor(0, 0, 255) << "#ffffff";
        QTest::newRow("luma 150.8 truncates to 150") << QColor(0, 255, 10) << "#ffffff";
        QTest::newRow("luma 151.9") << QColor(0, 255, 20) << "#000000";
    }
    void idealForegroundColor()
    {
        QFETCH(QColor, background);
        QFETCH(QString, foreground);
        QCOMPARE(CustomTheme::idealForegroundColor(background), foreground);
    }

    void freshStoreGivesTheDefaults_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("CH1") << "CH1" << green;
        QTest::newRow("CH1 FFT") << "CH1 FFT" << green;
        QTest::newRow("CH2 is red, unlike the dark theme") << "CH2" << QColor(Qt::red);
        QTest::newRow("CH2 FFT") << "CH2 FFT" << QColor(Qt::red);
        QTest::newRow("CH1 REF") << "CH1 REF" << QColor(Qt::red);
        QTest::newRow("CH2 REF") << "CH2 REF" << green;
        QTest::newRow("LABELS") << "LABELS" << green;
        QTest::newRow("BIT 0") << "BIT 0" << QColor(255, 4, 4);
        QTest::newRow("BIT 3") << "BIT 3" << QColor(225, 34, 4);
        QTest::newRow("BIT 7") << "BIT 7" << QColor(185, 74, 4);
        for (int k = 0; k < 8; ++k) {
            const QString name = QStringLiteral("BIT %1 REF").arg(k);
            QTest::newRow(qPrintable(name)) << name << QColor(Qt::blue);
        }
        QTest::newRow("AXES") << "AXES" << QColor(Qt::white);
        QTest::newRow("GRID") << "GRID" << QColor(140, 140, 140);
        QTest::newRow("BACKGROUND") << "BACKGROUND" << QColor(Qt::black);
    }
    void freshStoreGivesTheDefaults()
    {
        QFETCH(QString, name);
        QFETCH(QColor, expected);
        CustomTheme dialog;
        QCOMPARE(dialog.colors()->colorAt(name), expected);
        QCOMPARE(swatch(colorButton(dialog, name)), expected);
        QCOMPARE(dialog.colors()->background.style(), Qt::SolidPattern);
    }

    void dialogForm()
    {
        CustomTheme dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Custom Theme"));
        QCOMPARE(dialog.size(), QSize(725, 227));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
        QVERIFY(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMinMaxButtonsHint));
        QStringList texts;
        for (QPushButton *button : dialog.findChildren<QPushButton *>())
            texts << button->text();
        QStringList expected = allNames() << "Cancel" << "Apply";
        texts.sort();
        expected.sort();
        QCOMPARE(texts, expected);
        QVERIFY(dialog.findChild<QPushButton *>("applyButton")->isDefault());
    }

    // Every entry edited, applied, stored as #rrggbb text and read back by a
    // new dialog, as the next start makes it.
    void appliedColoursAreStoredAndReadBack()
    {
        QHash<QString, QColor> edited;
        {
            CustomTheme dialog;
            int n = 0;
            for (const QString &name : allNames()) {
                ++n;
                edited.insert(name, QColor(n, 255 - n, 3 * n));
                dialog.colors()->setColor(name, edited.value(name));
            }
            dialog.findChild<QPushButton *>("applyButton")->click();
        }
        QSettings settings;
        QCOMPARE(settings.value("isThemeSet").toInt(), 509);
        QCOMPARE(settings.value("ch1").toString(), edited.value("CH1").name());
        QCOMPARE(settings.value("bitref7").toString(), edited.value("BIT 7 REF").name());
        QCOMPARE(settings.value("label").toString(), edited.value("LABELS").name());
        QCOMPARE(settings.value("background").toString(), edited.value("BACKGROUND").name());

        CustomTheme reread;
        for (const QString &name : allNames()) {
            QCOMPARE(reread.colors()->colorAt(name), edited.value(name));
            QCOMPARE(swatch(colorButton(reread, name)), edited.value(name));
        }
        QCOMPARE(reread.colors()->background.style(), Qt::SolidPattern);
    }

    void oddStoredValues_data()
    {
        QTest::addColumn<QVariant>("mark");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("expected");
        QTest::addColumn<bool>("warned");
        QTest::newRow("stored colour") << QVariant(509) << "ch1" << QVariant("#123456") << "CH1"
                                       << QColor(18, 52, 86) << false;
        QTest::newRow("colour name") << QVariant(509) << "grid" << QVariant("yellow") << "GRID"
                                     << QColor(Qt::yellow) << false;
        QTest::newRow("mark 508: keys ignored") << QVariant(508) << "ch1" << QVariant("#123456") << "CH1"
                                                << green << false;
        QTest::newRow("mark is text") << QVariant("yes") << "ch1" << QVariant("#123456") << "CH1" << green
                                      << false;
        QTest::newRow("not a colour") << QVariant(509) << "ch2" << QVariant("reddish") << "CH2"
                                      << QColor(Qt::red) << true;
        QTest::newRow("short hex") << QVariant(509) << "axes" << QVariant("#12") << "AXES" << QColor(Qt::white)
                                   << true;
        QTest::newRow("empty") << QVariant(509) << "background" << QVariant("") << "BACKGROUND"
                               << QColor(Qt::black) << true;
        QTest::newRow("number") << QVariant(509) << "bit4" << QVariant(42) << "BIT 4" << QColor(215, 44, 4)
                                << true;
        QTest::newRow("list") << QVariant(509) << "bitref2" << QVariant(QStringList{"#ff0000", "#00ff00"})
                              << "BIT 2 REF" << QColor(Qt::blue) << true;
    }
    // A damaged store starts with a complete table: what cannot be read
    // keeps its default, and the other entries are not disturbed.
    void oddStoredValues()
    {
        QFETCH(QVariant, mark);
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QString, name);
        QFETCH(QColor, expected);
        QFETCH(bool, warned);
        {
            QSettings settings;
            settings.setValue("isThemeSet", mark);
            settings.setValue(key, stored);
        }
        LogCapture log;
        CustomTheme dialog;
        QCOMPARE(dialog.colors()->colorAt(name), expected);
        QCOMPARE(swatch(colorButton(dialog, name)), expected);
        QCOMPARE(dialog.colors()->colorAt("LABELS"), green);
        QCOMPARE(dialog.colors()->colorAt("BIT 7"), QColor(185, 74, 4));
        QCOMPARE(dialog.colors()->background.style(), Qt::SolidPattern);
        const QStringList warnings = log.messages().filter("Custom theme: stored " + key);
        QCOMPARE(warnings.size(), warned ? 1 : 0);
    }

    void pickingChangesOneEntryAndItsSwatch()
    {
        CustomTheme dialog;
        QHash<QString, QColor> before;
        for (const QString &name : allNames())
            before.insert(name, dialog.colors()->colorAt(name));
        const QColor chosen(10, 200, 90);
        pick(dialog, "BIT 2 REF", chosen);
        for (const QString &name : allNames()) {
            const QColor expected = name == "BIT 2 REF" ? chosen : before.value(name);
            QCOMPARE(dialog.colors()->colorAt(name), expected);
            QCOMPARE(swatch(colorButton(dialog, name)), expected);
        }

        // A cancelled picker changes nothing; the picker offered the entry's colour.
        pick(dialog, "BACKGROUND", QColor());
        QCOMPARE(picker()->currentColor(), QColor(Qt::black));
        QCOMPARE(dialog.colors()->colorAt("BACKGROUND"), QColor(Qt::black));

        // The background keeps its solid fill when it gets a new colour.
        pick(dialog, "BACKGROUND", QColor(240, 240, 230));
        QCOMPARE(dialog.colors()->background.color(), QColor(240, 240, 230));
        QCOMPARE(dialog.colors()->background.style(), Qt::SolidPattern);
    }

    void dialogButtons_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("applied");
        QTest::newRow("Apply") << "applyButton" << true;
        QTest::newRow("Cancel") << "cancelButton" << false;
        QTest::newRow("title bar close") << "close" << false;
        QTest::newRow("Escape") << "escape" << false;
    }
    void dialogButtons()
    {
        QFETCH(QString, how);
        QFETCH(bool, applied);
        CustomTheme dialog;
        QSignalSpy spy(&dialog, &CustomTheme::applyCustomTheme);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QColor chosen(1, 2, 3);
        dialog.colors()->setColor("CH1", chosen);
        if (how == "close")
            dialog.close();
        else if (how == "escape")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.findChild<QPushButton *>(how)->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(spy.count(), applied ? 1 : 0);
        if (applied) {
            QCOMPARE(spy.at(0).at(0).toInt(), 2);
            QCOMPARE(spy.at(0).at(1).value<CustomColors *>(), dialog.colors());
        }
        // Not applied: nothing is stored, and the choice waits in the table
        // until the next reload replaces it.
        QCOMPARE(QSettings().contains("isThemeSet"), applied);
        QCOMPARE(dialog.colors()->colorAt("CH1"), chosen);
        dialog.loadTheme();
        QCOMPARE(dialog.colors()->colorAt("CH1"), applied ? chosen : green);
    }

    // Apply colours the plot: traces, references, persistence, logic bits,
    // spectra, grid, axes, background, read-outs and the channel swatches.
    void applyingColoursThePlot()
    {
        VeskInterface w;
        w.scopeOptions->theme = 2;
        CustomColors *table = w.customTheme.colors();
        const QColor ch1(10, 20, 30), ch2(200, 100, 50), ch2ref(1, 2, 3), ch2fft(5, 6, 7), bit5(70, 80, 90),
            bit5ref(90, 80, 70), grid(33, 44, 55), axes(111, 122, 133), label(250, 240, 10),
            background(20, 0, 60);
        table->setColor("CH1", ch1);
        table->setColor("CH2", ch2);
        table->setColor("CH2 REF", ch2ref);
        table->setColor("CH2 FFT", ch2fft);
        table->setColor("BIT 5", bit5);
        table->setColor("BIT 5 REF", bit5ref);
        table->setColor("GRID", grid);
        table->setColor("AXES", axes);
        table->setColor("LABELS", label);
        table->setColor("BACKGROUND", background);
        w.customTheme.findChild<QPushButton *>("applyButton")->click();

        QCOMPARE(w.ch1Graph->pen().color(), ch1);
        QCOMPARE(w.ch1Graph->pen().widthF(), 2.0);
        QCOMPARE(w.ch1Graph->pen().capStyle(), Qt::SquareCap);
        QCOMPARE(w.ch2Graph->pen().color(), ch2);
        QCOMPARE(w.ch1RefGraph->pen().color(), QColor(Qt::red));
        QCOMPARE(w.ch2RefGraph->pen().color(), ch2ref);
        QCOMPARE(w.fftCh1Graph->pen().color(), green);
        QCOMPARE(w.fftCh2Graph->pen().color(), ch2fft);
        QCOMPARE(w.logicGraphs[5]->pen().color(), bit5);
        QCOMPARE(w.logicGraphs[5]->pen().widthF(), 1.5);
        QCOMPARE(w.logicGraphs2[5]->pen(), w.logicPens[5]);
        QCOMPARE(w.logicRefGraphs[5]->pen().color(), bit5ref);
        QCOMPARE(w.logicGraphs[0]->pen().color(), QColor(255, 4, 4));
        // Persistence levels carry the hue of their trace.
        QCOMPARE(w.ch2PersistenceGraphs[4]->pen().color().hslHue(), ch2.hslHue());
        QCOMPARE(w.ch2PersistenceGraphs[0]->pen().width(), 1);
        QCOMPARE(w.ch2PersistenceGraphs[4]->pen().width(), 0);
        QCPAxis *right = w.ui->plotterWidget->yAxis2;
        QCOMPARE(right->basePen().color(), axes);
        QCOMPARE(w.ui->plotterWidget->xAxis->subTickPen().color(), axes);
        QCOMPARE(w.ui->plotterWidget->xAxis->grid()->pen().color(), grid);
        QCOMPARE(w.hCursorBLabel->color(), label);
        QCOMPARE(w.vCursorFrequencyLabel->color(), label);
        QCOMPARE(w.ui->ch1ColorLabel->styleSheet(), QStringLiteral("QLabel { background-color : #0a141e; }"));
        QCOMPARE(w.ui->ch2ColorLabel->styleSheet(), QStringLiteral("QLabel { background-color : #c86432; }"));
        w.ui->plotterWidget->resize(400, 300);
        QCOMPARE(w.ui->plotterWidget->toPixmap(400, 300).toImage().pixelColor(1, 1), background);
    }

    // Applying the custom theme keeps the user's grid style, as applying
    // the options does for the other themes.
    void applyKeepsTheGridStyle_data()
    {
        QTest::addColumn<int>("gridStyle");
        QTest::addColumn<Qt::PenStyle>("penStyle");
        QTest::newRow("No Grid") << 0 << Qt::NoPen;
        QTest::newRow("Dots") << 1 << Qt::DotLine;
        QTest::newRow("Lines") << 2 << Qt::SolidLine;
    }
    void applyKeepsTheGridStyle()
    {
        QFETCH(int, gridStyle);
        QFETCH(Qt::PenStyle, penStyle);
        VeskInterface w;
        w.scopeOptions->theme = 2;
        w.scopeOptions->gridStyle = gridStyle;
        emit w.applyConfigurationRequest(); // opens the dialog
        w.customTheme.findChild<QPushButton *>("applyButton")->click();
        QCOMPARE(w.ui->plotterWidget->yAxis->grid()->pen().style(), penStyle);
        QCOMPARE(w.ui->plotterWidget->yAxis->grid()->pen().color(), QColor(140, 140, 140));
    }

    // The persistence fading follows the intensity slider through a theme
    // change, towards the custom background's side: white on a light one.
    void persistenceFadesTowardsTheBackground_data()
    {
        QTest::addColumn<QColor>("background");
        QTest::addColumn<bool>("towardsWhite");
        QTest::newRow("black") << QColor(Qt::black) << false;
        QTest::newRow("white") << QColor(Qt::white) << true;
        QTest::newRow("pale yellow") << QColor(255, 255, 200) << true;
        QTest::newRow("navy") << QColor(0, 0, 128) << false;
    }
    void persistenceFadesTowardsTheBackground()
    {
        QFETCH(QColor, background);
        QFETCH(bool, towardsWhite);
        VeskInterface w;
        w.scopeOptions->theme = 2;
        w.ui->intensitySlider->setValue(10);
        w.customTheme.colors()->setColor("BACKGROUND", background);
        w.customTheme.findChild<QPushButton *>("applyButton")->click();
        const double lightness = w.ch1PersistenceGraphs[0]->pen().color().lightnessF();
        QVERIFY2(towardsWhite ? lightness > 0.9 : lightness < 0.1, qPrintable(QString::number(lightness)));
    }

    void choosingTheCustomThemeOpensTheDialog()
    {
        {
            QSettings settings;
            settings.setValue("isThemeSet", 509);
            settings.setValue("ch1", "#102030");
        }
        VeskInterface w;
        const QColor plotCh1 = w.ch1Graph->pen().color();
        w.customTheme.colors()->setColor("CH1", Qt::yellow); // picked earlier, never applied

        w.scopeOptions->theme = 2;
        w.startingUp = true;
        emit w.applyConfigurationRequest();
        QVERIFY(!w.customTheme.isVisible());

        w.startingUp = false;
        QMetaObject::invokeMethod(&w, "applyModuleConfiguration"); // the Settings dialog's Apply
        QVERIFY(w.customTheme.isVisible());
        QCOMPARE(w.customTheme.colors()->colorAt("CH1"), QColor(0x10, 0x20, 0x30));
        QCOMPARE(w.ch1Graph->pen().color(), plotCh1);
        w.customTheme.findChild<QPushButton *>("cancelButton")->click();
        QCOMPARE(w.ch1Graph->pen().color(), plotCh1);
    }

    void customThemeWithoutTableKeepsThePens()
    {
        VeskInterface w;
        emit w.customTheme.applyCustomTheme(2, nullptr);
        QCOMPARE(w.ch2Graph->pen().color(), QColor(150, 150, 150));
        QCOMPARE(w.ui->plotterWidget->xAxis->basePen().color(), QColor(Qt::white));
    }

    // With the custom theme in force when the plot is set up, the stored
    // colours are drawn at once, without the dialog's Apply.
    void storedCustomThemeDrawsAtStart()
    {
        {
            QSettings settings;
            settings.setValue("theme", 2);
            settings.setValue("isThemeSet", 509);
            settings.setValue("ch2", "#0000ff");
            settings.setValue("background", "#ffffff");
            settings.setValue("axes", "#ff00ff");
        }
        VeskInterface w;
        QCOMPARE(w.ch2Graph->pen().color(), QColor(Qt::blue));
        QCOMPARE(w.ui->plotterWidget->xAxis->basePen().color(), QColor(Qt::magenta));
        QCOMPARE(w.ch1Graph->pen().color(), green);
        w.ui->plotterWidget->resize(400, 300);
        QCOMPARE(w.ui->plotterWidget->toPixmap(400, 300).toImage().pixelColor(1, 1), QColor(Qt::white));
        QVERIFY(!w.customTheme.isVisible());
    }

    // Without stored colours the dialog opens during start-up; it is kept
    // above the window, which is shown after it and would otherwise cover it.
    void dialogAtStartStaysAboveTheWindow()
    {
        QSettings().setValue("theme", 2);
        VeskInterface w;
        QVERIFY(w.customTheme.isVisible());
        QVERIFY(w.customTheme.isWindow());
        w.show();
        QVERIFY(w.customTheme.windowHandle());
        QCOMPARE(w.customTheme.windowHandle()->transientParent(), w.windowHandle());
        w.customTheme.hide();
    }

    // As a user goes: Custom picked in the Settings dialog opens the colour
    // dialog, whose Apply draws and stores the colours; closing stores the
    // theme. The next start, and every connect, draw them without the
    // dialog; picking Custom anew in the Settings dialog opens it again.
    void customThemeComesBackWithoutItsDialog()
    {
        const QColor ch1(12, 34, 56), background(240, 230, 200);
        {
            VeskInterface first;
            QVERIFY(!first.customTheme.isVisible());
            chooseThemeInSettings(first, "Custom");
            QVERIFY(first.customTheme.isVisible());
            first.customTheme.colors()->setColor("CH1", ch1);
            first.customTheme.colors()->setColor("BACKGROUND", background);
            first.customTheme.findChild<QPushButton *>("applyButton")->click();
            QCOMPARE(first.ch1Graph->pen().color(), ch1);
            QMetaObject::invokeMethod(&first, "saveAppSettings");
        }

        VeskInterface w;
        QVERIFY(!w.customTheme.isVisible());
        QCOMPARE(w.ch1Graph->pen().color(), ch1);
        QCOMPARE(w.ui->ch1ColorLabel->styleSheet(), QStringLiteral("QLabel { background-color : #0c2238; }"));
        w.ui->plotterWidget->resize(400, 300);
        QCOMPARE(w.ui->plotterWidget->toPixmap(400, 300).toImage().pixelColor(1, 1), background);

        QMetaObject::invokeMethod(&w, "deviceSettingsSendBulk"); // the settings a connect sends
        QVERIFY(!w.customTheme.isVisible());
        QCOMPARE(w.ch1Graph->pen().color(), ch1);

        chooseThemeInSettings(w, "Dark");
        QVERIFY(!w.customTheme.isVisible());
        QCOMPARE(w.ch1Graph->pen().color(), green);
        chooseThemeInSettings(w, "Custom");
        QVERIFY(w.customTheme.isVisible());
        QCOMPARE(w.ch1Graph->pen().color(), green); // until the dialog's Apply
        QCOMPARE(w.customTheme.colors()->colorAt("CH1"), ch1);
        w.customTheme.findChild<QPushButton *>("cancelButton")->click();
    }
};

VESK_TEST_MAIN(TestCustomTheme)
#include "tst_customtheme.moc"
