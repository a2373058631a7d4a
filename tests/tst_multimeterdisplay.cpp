#include "testmain.h"
#include "multimeterdisplay.h"
#include "multimeterdisplayoptions.h"

#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

// Stands in for the main window: it owns the request signal the displays
// follow and receives their settings requests.
class SettingsHost : public QObject
{
    Q_OBJECT

public:
    QStringList requests;

signals:
    void applyConfigurationRequest();

public slots:
    void callSettings(QString component) { requests << component; }
};

static QLabel *label(MultimeterDisplay &display, const char *name)
{
    return display.findChild<QLabel *>(QLatin1String(name));
}

static QString shownValue(MultimeterDisplay &display)
{
    return label(display, "labelValue")->text();
}

static QWidget *output(MultimeterDisplay &display)
{
    return display.findChild<QWidget *>(QStringLiteral("output"));
}

// Requests the context menu and returns its entries; triggers the entry
// named `trigger` while the menu is open.
static QStringList contextMenuEntries(MultimeterDisplay &display, const QString &trigger = QString())
{
    QStringList entries;
    QTimer inspect;
    inspect.setSingleShot(true);
    QObject::connect(&inspect, &QTimer::timeout, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *action : menu->actions()) {
            entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
            if (action->text() == trigger)
                action->trigger();
        }
        menu->close();
    });
    inspect.start(0);
    emit output(display)->customContextMenuRequested(QPoint(4, 4));
    inspect.stop();
    return entries;
}

class TestMultimeterDisplay : public QObject
{
    Q_OBJECT

private:
    MultimeterDisplayOptions options;
    SettingsHost host;

    void join(MultimeterDisplay &display)
    {
        display.connectOptions(&options, &host, SLOT(callSettings(QString)), SIGNAL(applyConfigurationRequest()));
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        // The range icons live in the program's resources, which a test
        // executable links only on request.
        Q_INIT_RESOURCE(vesk);
    }

    void init()
    {
        options = MultimeterDisplayOptions();
        host.requests.clear();
        QApplication::clipboard()->clear();
    }

    void startsAtZeroInRange()
    {
        MultimeterDisplay display;
        QCOMPARE(shownValue(display), QStringLiteral("0"));
        QVERIFY(!label(display, "labelRangeIn")->isHidden());
        QVERIFY(label(display, "labelRangeOver")->isHidden());
        QVERIFY(label(display, "labelValueMin")->isHidden());
        QVERIFY(label(display, "labelAccuracy")->isHidden());
        const QList<QPushButton *> buttons = display.findChildren<QPushButton *>();
        QCOMPARE(buttons.size(), 4);
        for (QPushButton *button : buttons)
            QVERIFY(button->isHidden());
        display.setButtonsVisible(true);
        for (QPushButton *button : buttons)
            QVERIFY(!button->isHidden());
    }

    void rangeCheckSignalsOnChangeOnly()
    {
        MultimeterDisplay display;
        QSignalSpy exceeded(&display, &MultimeterDisplay::rangeExceeded);
        display.setUnit(QStringLiteral("V"));
        display.setPrecision(-3);
        display.setRange(-24, 24);
        display.enableCheckRange(true);

        display.setValue(30);
        QCOMPARE(shownValue(display), QStringLiteral("24.000"));
        QVERIFY(!label(display, "labelRangeOver")->isHidden());
        QVERIFY(label(display, "labelRangeIn")->isHidden());
        display.setValue(30);
        display.setValue(0);
        display.setValue(-24);
        QCOMPARE(shownValue(display), QStringLiteral("-24.000"));
        QVERIFY(!label(display, "labelRangeBelow")->isHidden());
        QCOMPARE(exceeded.size(), 3);
        QCOMPARE(exceeded.at(0).at(0).toInt(), 1);
        QCOMPARE(exceeded.at(1).at(0).toInt(), 0);
        QCOMPARE(exceeded.at(2).at(0).toInt(), -1);

        // Without the check the indicator still follows, silently.
        display.enableCheckRange(false);
        display.setRangeExceeded(5);
        QVERIFY(!label(display, "labelRangeOver")->isHidden());
        QCOMPARE(exceeded.size(), 3);
    }

    void buttonsDriveHoldOffsetAndExtend()
    {
        MultimeterDisplay display;
        join(display);
        emit host.applyConfigurationRequest(); // Extend gives three digits
        display.setUnit(QStringLiteral("V"));
        display.setPrecision(-3);
        display.setButtonsVisible(true);
        display.setValue(5.0);
        auto *hold = display.findChild<QPushButton *>(QStringLiteral("toolButtonHold"));
        auto *offset = display.findChild<QPushButton *>(QStringLiteral("toolButtonOffset"));
        auto *extend = display.findChild<QPushButton *>(QStringLiteral("toolButtonExtend"));

        offset->click();
        QCOMPARE(shownValue(display), QStringLiteral("0.000"));
        QLabel *base = label(display, "labelOffsetBase");
        QVERIFY(!base->isHidden());
        QCOMPARE(base->text(), QStringLiteral("base: 5.000 V"));

        hold->click();
        display.setValue(7.0);
        QCOMPARE(shownValue(display), QStringLiteral("0.000"));
        display.setNaN(); // marks pass the hold
        QCOMPARE(shownValue(display), QStringLiteral("NaN  "));
        hold->click();
        display.setValue(7.25);
        QCOMPARE(shownValue(display), QStringLiteral("2.250"));

        extend->click();
        QCOMPARE(shownValue(display), QStringLiteral("2.250000"));
        offset->click();
        QVERIFY(base->isHidden());
        QCOMPARE(shownValue(display), QStringLiteral("7.250000"));
    }

    void baseEditorSetsTheBaseInThePrefix()
    {
        MultimeterDisplay display;
        display.setUnit(QStringLiteral("V"));
        display.setUnitPower(-3);
        display.setPrecision(-3);
        display.resize(500, 120);
        display.show();
        display.setValue(0.75);
        display.enableOffset(true, 0.5);
        QCOMPARE(shownValue(display), QStringLiteral("250"));

        display.editOffsetBase();
        auto *editor = display.findChild<QLineEdit *>();
        QVERIFY(!editor->isHidden());
        QCOMPARE(editor->text(), QStringLiteral("500"));
        editor->setText(QStringLiteral("700"));
        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(editor->isHidden());
        QCOMPARE(shownValue(display), QStringLiteral("50"));
        QCOMPARE(label(display, "labelOffsetBase")->text(), QStringLiteral("base: 700 mV"));
    }

    void extremesFollowTheReadings()
    {
        MultimeterDisplay display;
        display.setUnit(QStringLiteral("V"));
        display.setPrecision(-1);
        display.setValue(2);
        display.enableExtreme(true);
        for (double v : {3.0, 1.0, 4.0})
            display.setValue(v);
        QVERIFY(!label(display, "labelValueMin")->isHidden());
        QCOMPARE(label(display, "labelValueMin")->text(), QStringLiteral("min: 1.0 V"));
        QCOMPARE(label(display, "labelValueMax")->text(), QStringLiteral("max: 4.0 V"));
        // Hidden extremes keep their room while they are on.
        QVERIFY(label(display, "labelValueMin")->sizePolicy().retainSizeWhenHidden());
        display.enableExtreme(false);
        QVERIFY(label(display, "labelValueMin")->isHidden());
        QVERIFY(!label(display, "labelValueMin")->sizePolicy().retainSizeWhenHidden());
    }

    void copyAsText_data()
    {
        QTest::addColumn<bool>("appendLabel");
        QTest::addColumn<bool>("appendNewLine");
        QTest::addColumn<QString>("text");

        QTest::newRow("defaults") << true << false << "Vpp = 1.25 V";
        QTest::newRow("no label") << false << false << "1.25 V";
        QTest::newRow("new line") << true << true << "Vpp = 1.25 V\n";
    }

    void copyAsText()
    {
        QFETCH(bool, appendLabel);
        QFETCH(bool, appendNewLine);
        QFETCH(QString, text);
        options.appendLabel = appendLabel;
        options.appendNewLine = appendNewLine;
        MultimeterDisplay display;
        join(display);
        emit host.applyConfigurationRequest();
        display.setLabel(QStringLiteral("Vpp"));
        display.setUnit(QStringLiteral("V"));
        display.setPrecision(-2);
        display.setValue(1.25);
        QVERIFY(QMetaObject::invokeMethod(&display, "copyAsText"));
        QCOMPARE(QApplication::clipboard()->text(), text);
    }

    void copyAsDouble_data()
    {
        QTest::addColumn<bool>("extend");
        QTest::addColumn<bool>("appendNewLine");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("number");

        QTest::newRow("reading in seconds") << false << false << "" << "0.00100000";
        QTest::newRow("extended") << true << false << "" << "0.00100000000";
        QTest::newRow("new line") << false << true << "" << "0.00100000\n";
        // What the screen shows, never the last finite reading.
        QTest::newRow("not a number") << false << false << "nan" << "NaN";
        QTest::newRow("infinity") << false << true << "inf" << "\u00b1\u221e\n";
    }

    void copyAsDouble()
    {
        QFETCH(bool, extend);
        QFETCH(bool, appendNewLine);
        QFETCH(QString, mark);
        QFETCH(QString, number);
        options.appendNewLine = appendNewLine;
        MultimeterDisplay display;
        join(display);
        emit host.applyConfigurationRequest(); // three extra digits
        display.setLabel(QStringLiteral("Period"));
        display.setUnit(QStringLiteral("s"));
        display.setUnitPower(-6);
        display.setPrecision(-8);
        display.setValue(1e-3);
        display.enableOffset(true, 4e-4); // the copy is the raw reading
        display.enableExtendedPrecision(extend);
        if (mark == QLatin1String("nan"))
            display.setNaN();
        else if (mark == QLatin1String("inf"))
            display.setInfinity();
        QVERIFY(QMetaObject::invokeMethod(&display, "copyAsDouble"));
        QCOMPARE(QApplication::clipboard()->text(), number);
    }

    void copyAsImage_data()
    {
        QTest::addColumn<bool>("appendLabel");
        QTest::newRow("whole display") << true;
        QTest::newRow("panel only") << false;
    }

    void copyAsImage()
    {
        QFETCH(bool, appendLabel);
        options.appendLabel = appendLabel;
        MultimeterDisplay display;
        join(display);
        emit host.applyConfigurationRequest();
        display.setLabel(QStringLiteral("Duty"));
        display.resize(480, 120);
        display.show();
        QVERIFY(QTest::qWaitForWindowExposed(&display));
        QVERIFY(QMetaObject::invokeMethod(&display, "copyAsImage"));
        const QImage image = QApplication::clipboard()->image();
        const QSize expected = appendLabel ? display.size() : output(display)->size();
        QCOMPARE(image.size(), expected);
        QVERIFY(output(display)->width() < display.width());
    }

    void contextMenu()
    {
        MultimeterDisplay plain;
        QVERIFY(contextMenuEntries(plain).isEmpty()); // off until enabled
        plain.enableContexMenu(true);
        const QStringList copies = {"Copy as text", "Copy as image", "Copy as double"};
        QCOMPARE(contextMenuEntries(plain), copies);

        MultimeterDisplay joined;
        join(joined);
        joined.enableContexMenu(true);
        const int actionsBefore = joined.findChildren<QAction *>().size();
        const QStringList withSettings = copies + QStringList{"-", "&Settings..."};
        QCOMPARE(contextMenuEntries(joined), withSettings);
        contextMenuEntries(joined, QStringLiteral("&Settings..."));
        QCOMPARE(host.requests, QStringList{"MultimeterDisplay"});
        // Repeated requests reuse the one Settings entry.
        QCOMPARE(joined.findChildren<QAction *>().size(), actionsBefore);
        auto *settings = joined.findChildren<QAction *>().value(0);
        QCOMPARE(settings->shortcut(), QKeySequence(QKeySequence::Save));
        QCOMPARE(settings->shortcutContext(), Qt::ApplicationShortcut);

        joined.enableContexMenu(false);
        QVERIFY(contextMenuEntries(joined).isEmpty());
    }

    void appliesTheSharedOptions()
    {
        options.foregroundColorName = QStringLiteral("#112233");
        options.backgroundColorName = QStringLiteral("#445566");
        options.valueFontFamily = QStringLiteral("DejaVu Sans Mono");
        options.labelFontFamily = QStringLiteral("DejaVu Sans");
        options.extendPrecision = 9; // more than the display offers
        MultimeterDisplay joined;
        join(joined);
        joined.setValueFontSize(20);
        joined.setLabelFontSize(12);
        joined.setPrecision(-2);
        joined.setValue(1);
        MultimeterDisplay alone;

        emit host.applyConfigurationRequest();

        QCOMPARE(label(joined, "labelValue")->styleSheet(), QStringLiteral("QLabel:enabled {color: #112233;}"));
        QCOMPARE(output(joined)->styleSheet(), QStringLiteral("background-color: #445566;"));
        QCOMPARE(label(joined, "labelValue")->font().family(), QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(label(joined, "labelValue")->font().pointSize(), 20);
        QCOMPARE(label(joined, "labelAccuracy")->font().pointSize(), 8);
        QCOMPARE(label(joined, "labelLabel")->font().family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(label(joined, "labelLabel")->font().pointSize(), 12);
        joined.enableExtendedPrecision(true);
        QCOMPARE(shownValue(joined), QStringLiteral("1.0000000"));

        QVERIFY(label(alone, "labelValue")->styleSheet().isEmpty());
        alone.enableExtendedPrecision(true); // keeps its two digits
        QCOMPARE(shownValue(alone), QStringLiteral("0.00"));
    }

    void smallFontKeepsItsSizeForTinyValueFonts()
    {
        MultimeterDisplay display;
        display.setValueFont(QStringLiteral("DejaVu Sans Mono"), 20);
        display.setValueFontSize(2); // 0.8 points has no size
        QCOMPARE(label(display, "labelValue")->font().pointSize(), 2);
        QCOMPARE(label(display, "labelValueMin")->font().pointSize(), 8);
    }

    void rangeIconSize_data()
    {
        QTest::addColumn<int>("lineHeight");
        QTest::addColumn<int>("size");

        QTest::newRow("tiny font") << 4 << 12;
        QTest::newRow("exact entry") << 24 << 12;
        QTest::newRow("40 px") << 40 << 20;
        QTest::newRow("41 px") << 41 << 20;
        QTest::newRow("42 px") << 42 << 24;
        QTest::newRow("largest entry") << 145 << 72;
        QTest::newRow("beyond the table") << 400 << 72;
    }

    void rangeIconSize()
    {
        QFETCH(int, lineHeight);
        QFETCH(int, size);
        QCOMPARE(MultimeterDisplay::rangeIconSize(lineHeight), size);
    }

    void rangeIconsFollowTheValueFont_data()
    {
        QTest::addColumn<int>("pointSize");
        QTest::newRow("small") << 9;
        QTest::newRow("meter") << 22;
        QTest::newRow("huge") << 80;
    }

    void rangeIconsFollowTheValueFont()
    {
        QFETCH(int, pointSize);
        MultimeterDisplay display;
        display.setValueFont(QStringLiteral("DejaVu Sans Mono"), pointSize);
        const int n = MultimeterDisplay::rangeIconSize(QFontMetrics(QFont("DejaVu Sans Mono", pointSize)).height());
        for (const char *name : {"labelRangeOver", "labelRangeIn", "labelRangeBelow"})
            QCOMPARE(label(display, name)->pixmap(Qt::ReturnByValue).size(), QSize(2 * n, n));
    }

    void stretchFollowsLabelAndAccuracy()
    {
        MultimeterDisplay display;
        auto *layout = display.findChild<QHBoxLayout *>(QStringLiteral("layout"));
        display.setValueFontSize(9); // rescales with an empty label
        QCOMPARE(layout->stretch(0), 0);
        QCOMPARE(layout->stretch(1), 65);
        QCOMPARE(layout->spacing(), 0);

        display.setAccuracyVisible(true);
        display.setLabel(QStringLiteral("Vpp"));
        QCOMPARE(layout->stretch(0), 30);
        QCOMPARE(layout->stretch(1), 75);
        QVERIFY(layout->spacing() > 0);

        display.setAccuracyVisible(false); // waits for the next rescale
        QCOMPARE(layout->stretch(1), 75);
        display.setLabel(QStringLiteral("Vpp"));
        QCOMPARE(layout->stretch(1), 65);

        display.setStretch(40, 50, 15, 10);
        QCOMPARE(layout->stretch(0), 40);
        QCOMPARE(layout->stretch(1), 75);
    }
};

VESK_TEST_MAIN(TestMultimeterDisplay)
#include "tst_multimeterdisplay.moc"
