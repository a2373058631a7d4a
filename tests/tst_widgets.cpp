#include "testmain.h"
#include "clickablelabel.h"
#include "collapsiblepanel.h"
#include "colorbutton.h"
#include "tabrelayoutfilter.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPaintEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *toggleOf(CollapsiblePanel &panel)
{
    return panel.findChild<QToolButton *>("__qt__passive_toggleButton");
}

QCheckBox *checkBoxOf(CollapsiblePanel &panel)
{
    return panel.findChild<QCheckBox *>("__qt__passive_comboBox");
}

QLabel *textLabelOf(CollapsiblePanel &panel)
{
    return panel.findChild<QLabel *>("__qt__passive_text");
}

QIcon foldIcon()
{
    QPixmap off(16, 16), on(16, 16);
    off.fill(Qt::red);
    on.fill(Qt::green);
    QIcon icon;
    icon.addPixmap(off, QIcon::Normal, QIcon::Off);
    icon.addPixmap(on, QIcon::Normal, QIcon::On);
    return icon;
}

// Counts the presses that travel on from a child.
class PressCounter : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        ++presses;
        QWidget::mousePressEvent(event);
    }
};

// Counts paint events of the watched widget.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Unites the areas painted on the watched widget.
class PaintedArea : public QObject
{
public:
    QRegion area;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            area += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

// What a colour with alpha looks like painted over an opaque background.
QColor over(const QColor &color, const QColor &background)
{
    const double a = color.alphaF();
    return QColor::fromRgbF(color.redF() * a + background.redF() * (1 - a),
                            color.greenF() * a + background.greenF() * (1 - a),
                            color.blueF() * a + background.blueF() * (1 - a));
}

bool near(QColor actual, QColor expected)
{
    const int tolerance = 3;
    return qAbs(actual.red() - expected.red()) <= tolerance
        && qAbs(actual.green() - expected.green()) <= tolerance
        && qAbs(actual.blue() - expected.blue()) <= tolerance
        && qAbs(actual.alpha() - expected.alpha()) <= tolerance;
}

// A window holding tab widgets within tab widgets, each filtered, with a
// reading on two inner pages and a plain outer page to hide them behind.
struct NestedTabs
{
    QWidget window;
    QTabWidget *outer = new QTabWidget;
    QTabWidget *inner = new QTabWidget;
    QLabel *shownReading = new QLabel(QStringLiteral("0.57 mV"));
    QLabel *hiddenReading = new QLabel(QStringLiteral("0.57 mV"));

    NestedTabs()
    {
        auto *windowLayout = new QVBoxLayout(&window);
        windowLayout->addWidget(outer);
        for (QLabel *reading : {shownReading, hiddenReading}) {
            auto *page = new QWidget;
            auto *pageLayout = new QVBoxLayout(page);
            pageLayout->addWidget(reading);
            inner->addTab(page, QStringLiteral("Reading"));
        }
        outer->addTab(inner, QStringLiteral("Meter"));
        outer->addTab(new QWidget, QStringLiteral("Other"));
        TabRelayoutFilter::install(outer);
        TabRelayoutFilter::install(inner);
    }
};

} // namespace

class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void newPanel()
    {
        CollapsiblePanel panel(nullptr);
        QSignalSpy collapsedSpy(&panel, &CollapsiblePanel::collapsedChanged);
        QSignalSpy checkedSpy(&panel, &CollapsiblePanel::checkedChanged);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));

        QVERIFY(toggleOf(panel));
        QVERIFY(checkBoxOf(panel));
        QVERIFY(panel.findChild<QLabel *>("__qt__passive_label"));
        QVERIFY(textLabelOf(panel));
        QVERIFY(panel.isCollapsed());
        QVERIFY(panel.isCheckable());
        QVERIFY(!panel.isChecked());
        QVERIFY(checkBoxOf(panel)->isVisible());
        QVERIFY(textLabelOf(panel)->isVisible());
        QCOMPARE(toggleOf(panel)->arrowType(), Qt::DownArrow);
        QVERIFY(panel.title().isEmpty());
        QVERIFY(panel.text().isEmpty());
        QCOMPARE(collapsedSpy.count(), 0);
        QCOMPARE(checkedSpy.count(), 0);
    }

    void propertiesInOrder()
    {
        const QMetaObject &meta = CollapsiblePanel::staticMetaObject;
        QStringList names;
        for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
            const QMetaProperty property = meta.property(i);
            QVERIFY(property.isWritable() && property.isDesignable() && property.isStored());
            names << property.name();
        }
        QCOMPARE(names, QStringList({"title", "checkable", "checked", "icon", "iconSize",
                                     "collapsed", "text"}));
        QCOMPARE(meta.property(meta.indexOfProperty("checked")).notifySignal().name(),
                 QByteArray("checkedChanged"));
        QCOMPARE(meta.property(meta.indexOfProperty("collapsed")).notifySignal().name(),
                 QByteArray("collapsedChanged"));
    }

    void foldState_data()
    {
        QTest::addColumn<bool>("startCollapsed");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("announced");
        QTest::addColumn<Qt::ArrowType>("arrow");

        QTest::newRow("collapse while collapsed still announces") << true << "collapse" << true << Qt::DownArrow;
        QTest::newRow("expand while expanded still announces") << false << "expand" << false << Qt::UpArrow;
        QTest::newRow("expand") << true << "expand" << false << Qt::UpArrow;
        QTest::newRow("collapse") << false << "collapse" << true << Qt::DownArrow;
        QTest::newRow("update re-announces collapsed") << true << "update" << true << Qt::DownArrow;
        QTest::newRow("update re-announces expanded") << false << "update" << false << Qt::UpArrow;
        QTest::newRow("click unfolds") << true << "click" << false << Qt::UpArrow;
        QTest::newRow("click folds") << false << "click" << true << Qt::DownArrow;
    }

    void foldState()
    {
        QFETCH(bool, startCollapsed);
        QFETCH(QString, action);
        QFETCH(bool, announced);
        QFETCH(Qt::ArrowType, arrow);

        CollapsiblePanel panel(nullptr);
        panel.setCollapsed(startCollapsed);
        QSignalSpy spy(&panel, &CollapsiblePanel::collapsedChanged);

        if (action == "collapse")
            panel.setCollapsed(true);
        else if (action == "expand")
            panel.setCollapsed(false);
        else if (action == "update")
            panel.update();
        else
            toggleOf(panel)->click();

        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), announced);
        QCOMPARE(panel.isCollapsed(), announced);
        QCOMPARE(panel.property("collapsed").toBool(), announced);
        QCOMPARE(toggleOf(panel)->arrowType(), arrow);
    }

    void checkState_data()
    {
        QTest::addColumn<bool>("checkable");
        QTest::addColumn<bool>("startChecked");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("announced");

        QTest::newRow("check") << true << false << "check" << true;
        QTest::newRow("uncheck") << true << true << "uncheck" << false;
        QTest::newRow("check while checked still announces") << true << true << "check" << true;
        QTest::newRow("uncheck while unchecked still announces") << true << false << "uncheck" << false;
        QTest::newRow("click checks") << true << false << "click" << true;
        QTest::newRow("click unchecks") << true << true << "click" << false;
        // The box refuses the change, so the panel must not claim it.
        QTest::newRow("not checkable refuses check") << false << false << "check" << false;
    }

    void checkState()
    {
        QFETCH(bool, checkable);
        QFETCH(bool, startChecked);
        QFETCH(QString, action);
        QFETCH(bool, announced);

        CollapsiblePanel panel(nullptr);
        panel.setChecked(startChecked);
        panel.setCheckable(checkable);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QSignalSpy spy(&panel, &CollapsiblePanel::checkedChanged);

        if (action == "check")
            panel.setChecked(true);
        else if (action == "uncheck")
            panel.setChecked(false);
        else
            QTest::mouseClick(checkBoxOf(panel), Qt::LeftButton);

        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), announced);
        QCOMPARE(panel.isChecked(), announced);
    }

    void checkableHidesBox()
    {
        CollapsiblePanel panel(nullptr);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));

        panel.setCheckable(false);
        QVERIFY(!checkBoxOf(panel)->isVisible());
        QVERIFY(!panel.isCheckable());
        panel.setCheckable(true);
        QVERIFY(checkBoxOf(panel)->isVisible());
        QVERIFY(panel.isCheckable());

        // Re-enabling keeps the state the box holds.
        panel.setChecked(true);
        QSignalSpy spy(&panel, &CollapsiblePanel::checkedChanged);
        panel.setCheckable(true);
        QVERIFY(panel.isChecked());
        QCOMPARE(spy.count(), 0);

        // The box cannot stay checked once it is not checkable; the panel
        // says so instead of leaving listeners with a stale state.
        panel.setCheckable(false);
        QVERIFY(!panel.isChecked());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toBool(), false);
        panel.setCheckable(false);
        QCOMPARE(spy.count(), 1);
    }

    void iconRule_data()
    {
        QTest::addColumn<bool>("withIcon");
        QTest::addColumn<bool>("collapsed");
        QTest::addColumn<Qt::ArrowType>("arrow");

        QTest::newRow("no icon, expanded") << false << false << Qt::UpArrow;
        QTest::newRow("no icon, collapsed") << false << true << Qt::DownArrow;
        QTest::newRow("icon, expanded") << true << false << Qt::NoArrow;
        QTest::newRow("icon, collapsed") << true << true << Qt::NoArrow;
    }

    void iconRule()
    {
        QFETCH(bool, withIcon);
        QFETCH(bool, collapsed);
        QFETCH(Qt::ArrowType, arrow);

        CollapsiblePanel panel(nullptr);
        // Start from the opposite icon so the rule has to change the arrow.
        panel.setIcon(withIcon ? QIcon() : foldIcon());
        panel.setCollapsed(collapsed);
        panel.setIcon(withIcon ? foldIcon() : QIcon());
        QCOMPARE(toggleOf(panel)->arrowType(), arrow);
        QCOMPARE(panel.icon().isNull(), !withIcon);

        // The arrow follows later fold changes too.
        panel.setCollapsed(!collapsed);
        const Qt::ArrowType followed = withIcon ? Qt::NoArrow : (collapsed ? Qt::UpArrow : Qt::DownArrow);
        QCOMPARE(toggleOf(panel)->arrowType(), followed);
    }

    void textsAndVisibility()
    {
        CollapsiblePanel panel(nullptr);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));

        panel.setTitle("Sweep");
        panel.setText("1000.00Hz ");
        QCOMPARE(panel.title(), QString("Sweep"));
        QCOMPARE(panel.text(), QString("1000.00Hz "));
        QCOMPARE(panel.findChild<QLabel *>("__qt__passive_label")->text(), QString("Sweep"));

        panel.setTextVisible(false);
        QVERIFY(!textLabelOf(panel)->isVisible());
        QCOMPARE(panel.text(), QString("1000.00Hz "));
        panel.setTextVisible(true);
        QVERIFY(textLabelOf(panel)->isVisible());
    }

    void panelPaintsStyleSheetBackground()
    {
        CollapsiblePanel panel(nullptr);
        panel.setStyleSheet("CollapsiblePanel { background-color: rgb(10, 120, 200); }");
        panel.resize(200, 30);
        const QImage image = panel.grab().toImage();
        QCOMPARE(image.pixelColor(image.width() / 2, image.height() / 2), QColor(10, 120, 200));
    }

    // The header as the main window shows it: a style sheet of its own
    // under a window that carries the theme's.
    void themedHeaderDrawsCheckBoxAndKeepsFont()
    {
        QWidget window;
        auto *panel = new CollapsiblePanel(&window);
        QFont bold = panel->font();
        bold.setBold(true);
        panel->setFont(bold);
        panel->setStyleSheet("padding-right: 0px;");
        panel->setCheckable(true);
        panel->setTitle("Sweep");
        panel->setGeometry(0, 0, 200, 24);
        QFile theme(":/themes/theme-win.qss");
        QVERIFY(theme.open(QIODevice::ReadOnly));
        window.setStyleSheet(QString::fromLatin1(theme.readAll()));
        window.resize(200, 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QCheckBox *box = checkBoxOf(*panel);
        const QRect boxArea(box->mapTo(panel, QPoint(0, 0)), box->size());
        const QImage withBox = panel->grab(boxArea).toImage();
        box->hide();
        const QImage withoutBox = panel->grab(boxArea).toImage();
        QVERIFY2(withBox != withoutBox, "the unchecked box is not drawn");

        auto *title = panel->findChild<QLabel *>("__qt__passive_label");
        QVERIFY(title->font().bold());
        QVERIFY(textLabelOf(*panel)->font().bold());
        // Later changes of the panel's font still reach the labels.
        bold.setItalic(true);
        panel->setFont(bold);
        QVERIFY(title->font().italic());
        QVERIFY(textLabelOf(*panel)->font().italic());
    }

    void clickableLabel_data()
    {
        QTest::addColumn<int>("pressed");
        QTest::newRow("left") << int(Qt::LeftButton);
        QTest::newRow("right") << int(Qt::RightButton);
        QTest::newRow("middle") << int(Qt::MiddleButton);
    }

    void clickableLabel()
    {
        QFETCH(int, pressed);
        const auto button = Qt::MouseButton(pressed);
        PressCounter parent;
        auto *label = new ClickableLabel(&parent);
        label->setText("0.000");
        label->resize(60, 20);
        parent.resize(100, 40);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QSignalSpy spy(label, &ClickableLabel::clicked);

        QTest::mousePress(label, button, Qt::NoModifier, QPoint(10, 10));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(parent.presses, 0);
        QTest::mouseRelease(label, button, Qt::NoModifier, QPoint(10, 10));
        QCOMPARE(spy.count(), 1);
    }

    void colorButtonSwatch_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<int>("alpha");

        QTest::newRow("enabled") << true << QColor(30, 160, 90) << 255;
        QTest::newRow("disabled") << false << QColor(30, 160, 90) << 50;
        QTest::newRow("enabled, translucent colour") << true << QColor(200, 40, 10, 128) << 128;
    }

    void colorButtonSwatch()
    {
        QFETCH(bool, enabled);
        QFETCH(QColor, color);
        QFETCH(int, alpha);

        ColorButton button(nullptr);
        QVERIFY(!button.currentColor().isValid());
        button.setCurrentColor(color);
        QCOMPARE(button.currentColor(), color);
        button.setEnabled(enabled);
        button.resize(40, 20);
        const QImage image = button.grab().toImage();
        QCOMPARE(image.size(), QSize(40, 20));

        QColor painted = color;
        painted.setAlpha(alpha);
        const QColor expected = over(painted, image.pixelColor(0, 0));
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 40; ++x) {
                const bool inside = x >= 6 && x <= 33 && y >= 6 && y <= 13;
                const QColor pixel = image.pixelColor(x, y);
                if (inside)
                    QVERIFY2(near(pixel, expected), qPrintable(QString("pixel %1,%2 is %3")
                                                                   .arg(x).arg(y).arg(pixel.name(QColor::HexArgb))));
                else
                    QVERIFY2(!near(pixel, expected), qPrintable(QString("pixel %1,%2 outside the swatch")
                                                                    .arg(x).arg(y)));
            }
        }
    }

    void colorButtonStyleSheetStates_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("down");
        QTest::addColumn<QColor>("frame");

        QTest::newRow("normal") << true << false << QColor(0, 0, 255);
        QTest::newRow("pressed") << true << true << QColor(0, 255, 0);
        QTest::newRow("disabled") << false << false << QColor(255, 0, 0);
    }

    void colorButtonStyleSheetStates()
    {
        QFETCH(bool, enabled);
        QFETCH(bool, down);
        QFETCH(QColor, frame);

        ColorButton button(nullptr);
        button.setStyleSheet("ColorButton { background-color: rgb(0, 0, 255); }"
                             "ColorButton:pressed { background-color: rgb(0, 255, 0); }"
                             "ColorButton:disabled { background-color: rgb(255, 0, 0); }");
        button.setCurrentColor(Qt::white);
        button.setEnabled(enabled);
        button.setDown(down);
        button.resize(40, 20);
        const QImage image = button.grab().toImage();
        QCOMPARE(image.pixelColor(2, 2), frame);
        const QColor swatch(255, 255, 255, enabled ? 255 : 50);
        QVERIFY(near(image.pixelColor(20, 10), over(swatch, frame)));
    }

    void tabWidgetNotRepaintedForSameSizeReading()
    {
        NestedTabs tabs;
        tabs.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs.window));
        QTest::qWait(50);
        // The tab widgets show through the reading and paint behind it.
        PaintedArea outerArea, innerArea;
        tabs.outer->installEventFilter(&outerArea);
        tabs.inner->installEventFilter(&innerArea);

        const QSize hint = tabs.shownReading->sizeHint();
        for (const char *text : {"0.58 mV", "0.59 mV", "0.58 mV"}) {
            tabs.shownReading->setText(QString::fromLatin1(text));
            QCOMPARE(tabs.shownReading->sizeHint(), hint);
            QTest::qWait(20);
        }
        const QRect reading = tabs.shownReading->rect();
        const QRect onInner(tabs.shownReading->mapTo(tabs.inner, reading.topLeft()), reading.size());
        const QRect onOuter(tabs.shownReading->mapTo(tabs.outer, reading.topLeft()), reading.size());
        QVERIFY(!innerArea.area.isEmpty());
        QVERIFY2((innerArea.area - onInner).isEmpty(), "inner tabs repainted beyond the reading");
        QVERIFY2((outerArea.area - onOuter).isEmpty(), "outer tabs repainted beyond the reading");
        QCOMPARE(tabs.shownReading->text(), QStringLiteral("0.58 mV"));
    }

    // Where the reading is when it grows, and which page shows it after.
    void tabWidgetGivesGrownReadingRoom_data()
    {
        QTest::addColumn<bool>("onHiddenInnerPage");
        QTest::addColumn<bool>("outerPageHidden");

        QTest::newRow("shown page") << false << false;
        QTest::newRow("hidden inner page") << true << false;
        QTest::newRow("inner tabs hidden") << false << true;
        QTest::newRow("both hidden") << true << true;
    }

    void tabWidgetGivesGrownReadingRoom()
    {
        QFETCH(bool, onHiddenInnerPage);
        QFETCH(bool, outerPageHidden);
        NestedTabs tabs;
        tabs.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs.window));
        QTest::qWait(50);
        if (outerPageHidden)
            tabs.outer->setCurrentIndex(1);
        QTest::qWait(20);

        QLabel *reading = onHiddenInnerPage ? tabs.hiddenReading : tabs.shownReading;
        reading->setText(QStringLiteral("-10.57 mV, grown well past the width the window had"));
        QTest::qWait(20);
        tabs.outer->setCurrentIndex(0);
        tabs.inner->setCurrentIndex(onHiddenInnerPage ? 1 : 0);

        QTRY_VERIFY(reading->isVisible());
        QTRY_VERIFY(reading->width() >= reading->sizeHint().width());
        QVERIFY(tabs.window.width() > reading->sizeHint().width());
    }

    void colorButtonSetColorDoesNotRepaint()
    {
        ColorButton button(nullptr);
        button.resize(40, 20);
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QCoreApplication::processEvents();
        PaintCounter counter;
        button.installEventFilter(&counter);

        button.setCurrentColor(Qt::yellow);
        QTest::qWait(50);
        QCOMPARE(counter.paints, 0);

        button.repaint();
        QCOMPARE(counter.paints, 1);
        QCOMPARE(button.grab().toImage().pixelColor(20, 10), QColor(Qt::yellow));
    }
};

VESK_TEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
