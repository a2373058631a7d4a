#include "testmain.h"

#include "channelcaptions.h"
#include "collapsiblepanel.h"
#include "multimeterdisplay.h"
#include "scopevalues.h"
#include "ui_veskinterface.h"
#include "veskinterface.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabWidget>
#include <QTextStream>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <optional>

// The main window's form is checked against tables transcribed on their own
// (tests/data/form/*.tsv; the format is described at the top of each table),
// on a bare QMainWindow so that no slot and no restored setting has touched it.
class FormTest : public QObject
{
    Q_OBJECT

private slots:
    void startState_data();
    void startState();
    void comboListsSurviveSecondRetranslate();
    void radioButtonsAreExclusiveWithinTheirParent();
    void byNameSlotsHaveTheirSignals();
    void pagesFitTheWindow_data();
    void pagesFitTheWindow();
    void groupTitlesAreWhole_data();
    void groupTitlesAreWhole();
    void screenshots();
};

namespace {

const QStringList formAreas = {"frame", "oscilloscope", "options", "meter", "sniffer", "generator"};

struct Expectation
{
    QString source;   // file:line, for the report
    QString object;
    QString className;
    QString property; // empty: the row checks existence and class only
    QString value;
};

struct BareForm
{
    QMainWindow window;
    Ui_VeskInterface ui;
    BareForm() { ui.setupUi(&window); }
};

QString unquoted(const QString &field)
{
    if (field.size() < 2 || !field.startsWith('"') || !field.endsWith('"'))
        return field;
    QString text;
    const QString inner = field.mid(1, field.size() - 2);
    for (int i = 0; i < inner.size(); ++i) {
        if (inner[i] == '\\' && i + 1 < inner.size()) {
            ++i;
            text += inner[i] == 'n' ? QChar('\n') : inner[i];
        } else {
            text += inner[i];
        }
    }
    return text;
}

QVector<Expectation> readTable(const QString &area, QStringList *problems)
{
    QVector<Expectation> rows;
    const QString fileName = area + ".tsv";
    QFile file(VeskTest::sourcePath("tests/data/form/" + fileName));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *problems << fileName + ": cannot be read";
        return rows;
    }
    QTextStream in(&file);
    in.setCodec("UTF-8");
    for (int lineNumber = 1; !in.atEnd(); ++lineNumber) {
        const QString line = in.readLine();
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        const QStringList fields = line.split('\t');
        const QString source = QStringLiteral("%1:%2").arg(fileName).arg(lineNumber);
        if (fields.size() != 2 && fields.size() != 4) {
            *problems << source + ": expected 2 or 4 tab-separated fields";
            continue;
        }
        rows.append({source, fields[0], fields[1], fields.value(2), unquoted(fields.value(3))});
    }
    return rows;
}

bool insidePromotedWidget(const QObject *object, const QObject *root)
{
    for (const QObject *p = object->parent(); p && p != root; p = p->parent()) {
        if (qobject_cast<const MultimeterDisplay *>(p) || qobject_cast<const CollapsiblePanel *>(p))
            return true;
    }
    return false;
}

// Objects of the form by name; the promoted widgets' own children may reuse
// names of the form (their forms have labels too), so they do not count.
QList<QObject *> formObjects(QMainWindow &window, const QString &name)
{
    if (window.objectName() == name)
        return {&window};
    QList<QObject *> found;
    for (QObject *object : window.findChildren<QObject *>(name)) {
        if (!insidePromotedWidget(object, &window))
            found << object;
    }
    return found;
}

// The parent as the form sees it: pages of tab widgets and scroll-area
// contents sit inside Qt's internal containers, which are skipped.
QString namedParent(const QObject *object)
{
    for (const QObject *p = object->parent(); p; p = p->parent()) {
        if (p->objectName().startsWith("qt_"))
            continue;
        return p->objectName().isEmpty() ? QStringLiteral("<unnamed %1>").arg(p->metaObject()->className())
                                         : p->objectName();
    }
    return QStringLiteral("<none>");
}

QTabWidget *enclosingTabWidget(const QObject *page)
{
    for (QObject *p = page->parent(); p; p = p->parent()) {
        if (auto *tabs = qobject_cast<QTabWidget *>(p))
            return tabs;
    }
    return nullptr;
}

QString menuEntries(const QWidget *menu)
{
    QStringList entries;
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator())
            entries << "-";
        else
            entries << (action->menu() ? action->menu()->objectName() : action->objectName());
    }
    return entries.join('|');
}

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// Properties the tables use that are not Qt properties of the object.
// Returns false when the name is not one of them.
bool derivedProperty(QObject *object, const QString &property, QString *actual)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (property == "parent") {
        *actual = namedParent(object);
    } else if (property == "tabIndex" || property == "tabText") {
        QTabWidget *tabs = enclosingTabWidget(object);
        const int index = tabs && widget ? tabs->indexOf(widget) : -1;
        if (index < 0)
            *actual = QStringLiteral("<not a tab page>");
        else
            *actual = property == "tabIndex" ? QString::number(index) : tabs->tabText(index);
    } else if (property == "items") {
        auto *combo = qobject_cast<QComboBox *>(object);
        QStringList items;
        for (int i = 0; combo && i < combo->count(); ++i)
            items << combo->itemText(i);
        *actual = combo ? items.join('|') : QStringLiteral("<not a combo box>");
    } else if (property == "entries") {
        *actual = widget ? menuEntries(widget) : QStringLiteral("<not a widget>");
    } else if (property == "sizePolicy") {
        const QMetaEnum policy = QMetaEnum::fromType<QSizePolicy::Policy>();
        *actual = widget ? QStringLiteral("%1/%2")
                               .arg(policy.valueToKey(widget->sizePolicy().horizontalPolicy()),
                                    policy.valueToKey(widget->sizePolicy().verticalPolicy()))
                         : QStringLiteral("<not a widget>");
    } else if (property == "pointSize" || property == "bold" || property == "family") {
        const QFont font = object->property("font").value<QFont>();
        if (property == "pointSize")
            *actual = QString::number(font.pointSize());
        else if (property == "bold")
            *actual = boolText(font.bold());
        else
            *actual = font.family();
    } else if (property == "selfEnabled") {
        *actual = widget ? boolText(!widget->testAttribute(Qt::WA_ForceDisabled)) : QStringLiteral("<not a widget>");
    } else if (property == "hidden") {
        *actual = widget ? boolText(widget->isHidden()) : QStringLiteral("<not a widget>");
    } else if (property == "dockArea") {
        auto *dock = qobject_cast<QDockWidget *>(object);
        auto *window = dock ? qobject_cast<QMainWindow *>(dock->parentWidget()) : nullptr;
        *actual = window ? QMetaEnum::fromType<Qt::DockWidgetArea>().valueToKey(window->dockWidgetArea(dock))
                         : QStringLiteral("<not docked>");
    } else {
        return false;
    }
    return true;
}

// Compares one Qt property with its expected text; on a mismatch *shown gets
// the actual value in the table's notation.
bool qtPropertyMatches(QObject *object, const QString &property, const QString &expected, QString *shown)
{
    const QMetaObject *meta = object->metaObject();
    const int index = meta->indexOfProperty(property.toLatin1().constData());
    const QVariant value = index >= 0 ? meta->property(index).read(object)
                                      : object->property(property.toLatin1().constData());
    if (!value.isValid()) {
        *shown = QStringLiteral("<no such property>");
        return false;
    }
    if (index >= 0 && meta->property(index).isEnumType()) {
        const QMetaEnum enumerator = meta->property(index).enumerator();
        const int actual = value.toInt();
        bool known = false;
        const int wanted = enumerator.isFlag() ? enumerator.keysToValue(expected.toLatin1().constData(), &known)
                                               : enumerator.keyToValue(expected.toLatin1().constData(), &known);
        *shown = enumerator.isFlag() ? QString::fromLatin1(enumerator.valueToKeys(actual))
                                     : QString::fromLatin1(enumerator.valueToKey(actual));
        if (!known)
            *shown += QStringLiteral(" (and the expected key is unknown)");
        return known && actual == wanted;
    }
    switch (value.userType()) {
    case QMetaType::Bool:
        *shown = boolText(value.toBool());
        return *shown == expected;
    case QMetaType::Double:
    case QMetaType::Float: {
        const double actual = value.toDouble();
        bool ok = false;
        const double wanted = expected.toDouble(&ok);
        *shown = QString::number(actual, 'g', 12);
        return ok && std::abs(actual - wanted) <= 1e-9 * std::max(1.0, std::abs(wanted));
    }
    case QMetaType::QSize: {
        const QSize size = value.toSize();
        *shown = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        return *shown == expected;
    }
    case QMetaType::QKeySequence:
        *shown = value.value<QKeySequence>().toString(QKeySequence::PortableText);
        return *shown == expected;
    default:
        if (!value.canConvert<QString>()) {
            *shown = QStringLiteral("<%1 cannot be compared>").arg(value.typeName());
            return false;
        }
        *shown = value.toString();
        return *shown == expected;
    }
}

QString quotedForReport(const QString &text)
{
    QString escaped = text;
    escaped.replace('\n', "\\n");
    return '"' + escaped + '"';
}

// Every mismatch between the window and the rows, one line each.
QStringList mismatches(QMainWindow &window, const QVector<Expectation> &rows)
{
    QStringList report;
    QSet<QString> reportedObjects; // a missing object, or one of the wrong class, is reported once
    for (const Expectation &row : rows) {
        const QList<QObject *> found = formObjects(window, row.object);
        if (found.size() != 1) {
            if (!reportedObjects.contains(row.object))
                report << QStringLiteral("%1: %2 %3").arg(row.source, row.object,
                                                           found.isEmpty() ? QStringLiteral("is missing")
                                                                           : QStringLiteral("exists %1 times").arg(found.size()));
            reportedObjects.insert(row.object);
            continue;
        }
        QObject *object = found.first();
        if (!object->inherits(row.className.toLatin1().constData())) {
            if (!reportedObjects.contains(row.object))
                report << QStringLiteral("%1: %2 is a %3, expected %4")
                              .arg(row.source, row.object, object->metaObject()->className(), row.className);
            reportedObjects.insert(row.object);
            continue;
        }
        if (row.property.isEmpty())
            continue;
        QString actual;
        const bool matches = derivedProperty(object, row.property, &actual)
                                 ? actual == row.value
                                 : qtPropertyMatches(object, row.property, row.value, &actual);
        if (!matches)
            report << QStringLiteral("%1: %2.%3 is %4, expected %5")
                          .arg(row.source, row.object, row.property, quotedForReport(actual), quotedForReport(row.value));
    }
    return report;
}

// Qt Test cuts long failure messages, so every line goes to the log first.
void verifyNoMismatches(const QStringList &report)
{
    for (const QString &line : report)
        qWarning().noquote() << line;
    QVERIFY2(report.isEmpty(), qPrintable(QStringLiteral("%1 problems, listed above").arg(report.size())));
}

// The signal that connectSlotsByName would pick for this slot on this object:
// the exact signature, else a signal of that name taking at least the slot's arguments.
bool hasMatchingSignal(const QObject *object, const QByteArray &signalName, const QList<QByteArray> &slotParameters)
{
    const QMetaObject *meta = object->metaObject();
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() != QMetaMethod::Signal || method.name() != signalName)
            continue;
        if (method.parameterTypes().mid(0, slotParameters.size()) == slotParameters)
            return true;
    }
    return false;
}

// The main window shown at the given size, every collapsible section unfolded
// so that their frames are laid out too.
void showUnfolded(VeskInterface &window, const QSize &size)
{
    window.resize(size);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (CollapsiblePanel *panel : window.findChildren<CollapsiblePanel *>())
        panel->setCollapsed(false);
    QCoreApplication::processEvents();
}

// Calls visit with a name for each page of the main tab widget and for each
// page of the tab widgets inside it, each shown in turn.
void forEachPage(QTabWidget *pages, const QStringList &pageNames,
                 const std::function<void(const QString &)> &visit)
{
    for (int index = 0; index < pages->count(); ++index) {
        pages->setCurrentIndex(index);
        QCoreApplication::processEvents();
        visit(pageNames[index]);
        for (QTabWidget *inner : pages->widget(index)->findChildren<QTabWidget *>()) {
            const int shown = inner->currentIndex();
            for (int innerIndex = 0; innerIndex < inner->count(); ++innerIndex) {
                inner->setCurrentIndex(innerIndex);
                QCoreApplication::processEvents();
                visit(pageNames[index] + '-' + inner->tabText(innerIndex).trimmed().toLower());
            }
            inner->setCurrentIndex(shown);
        }
    }
}

// The part of the widget its ancestors leave visible, in window coordinates
// (a child may reach past its parent's edge and be cut off there on purpose).
// Seen through scroll areas, the viewports' edges do not count: they move.
QRect shownArea(const QWidget *widget, const QWidget *window, bool throughScrollAreas = false)
{
    QRect area(widget->mapTo(window, QPoint(0, 0)), widget->size());
    for (const QWidget *p = widget->parentWidget(); p && p != window; p = p->parentWidget()) {
        if (!throughScrollAreas || p->objectName() != "qt_scrollarea_viewport")
            area &= QRect(p->mapTo(window, QPoint(0, 0)), p->size());
    }
    return area;
}

// Scrolls each scroll area that holds the widget, innermost first, as a user
// would to bring it into view: all of it where it fits, else its top-left
// part. Only a scroll bar that is shown can be moved. Returns how much of it
// the viewports can show at most, or an invalid size when no scroll area
// holds it.
QSize scrollIntoView(QWidget *widget, const QWidget *window)
{
    const auto bringIn = [](QScrollBar *bar, int start, int length, int visible) {
        if (!bar->isVisible())
            return;
        if (start + length > bar->value() + visible)
            bar->setValue(start + length - visible);
        if (start < bar->value())
            bar->setValue(start);
    };
    QSize room;
    for (QWidget *p = widget->parentWidget(); p; p = p->parentWidget()) {
        auto *area = qobject_cast<QScrollArea *>(p);
        if (!area || !area->widget() || !area->widget()->isAncestorOf(widget))
            continue;
        const QRect part = shownArea(widget, window, true);
        const QPoint corner = area->widget()->mapFrom(window, part.topLeft());
        const QSize viewport = area->viewport()->size();
        bringIn(area->horizontalScrollBar(), corner.x(), part.width(), viewport.width());
        bringIn(area->verticalScrollBar(), corner.y(), part.height(), viewport.height());
        room = (room.isValid() ? room : part.size()).boundedTo(viewport);
    }
    return room;
}

// Room the widget has for its one-line text; nothing when it has no such
// text (word-wrapped, rich or pixmap labels; tool buttons, which draw
// arrows). A group box's title is drawn clipped to the room the style gives
// it.
std::optional<QSize> textRoom(const QWidget *widget, QString *text)
{
    if (auto *label = qobject_cast<const QLabel *>(widget)) {
        *text = label->text();
        if (label->wordWrap() || Qt::mightBeRichText(*text) || !label->pixmap(Qt::ReturnByValue).isNull())
            return std::nullopt;
        return QSize(label->contentsRect().width() - 2 * label->margin() - qMax(0, label->indent()),
                     label->contentsRect().height());
    }
    if (auto *box = qobject_cast<const QGroupBox *>(widget)) {
        // Trailing blanks may be cut unseen.
        *text = box->title().remove('&');
        while (text->endsWith(' '))
            text->chop(1);
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.textAlignment = box->alignment();
        option.lineWidth = 1;
        option.features = box->isFlat() ? QStyleOptionFrame::Flat : QStyleOptionFrame::None;
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        if (box->isCheckable())
            option.subControls |= QStyle::SC_GroupBoxCheckBox;
        const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        return title.intersected(box->rect()).size();
    }
    auto *button = qobject_cast<const QAbstractButton *>(widget);
    if (!button || qobject_cast<const QToolButton *>(widget))
        return std::nullopt;
    *text = button->text().remove('&');
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    const QStyle::SubElement contents = qobject_cast<const QPushButton *>(widget) ? QStyle::SE_PushButtonContents
                                        : qobject_cast<const QRadioButton *>(widget) ? QStyle::SE_RadioButtonContents
                                                                                     : QStyle::SE_CheckBoxContents;
    int room = button->style()->subElementRect(contents, &option, button).width();
    if (!button->icon().isNull())
        room -= button->iconSize().width() + 4;
    return QSize(room, button->contentsRect().height());
}

// What a user would see cut off on the page now shown: texts wider than
// their widget, fixed-height widgets pressed below their size hint, widgets
// reaching past the window, and widgets that no scrolling brings wholly into
// view where a scroll area holds them.
QStringList layoutDefects(QWidget &window, const QString &page)
{
    QStringList report;
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        if (!widget->isVisible() || widget->objectName().startsWith("qt_"))
            continue;
        const QString where = QStringLiteral("%1: %2 (%3)").arg(page, widget->objectName(), widget->metaObject()->className());
        const QSize room = scrollIntoView(widget, &window);
        const QRect area = shownArea(widget, &window);
        if (!area.isEmpty() && !window.rect().contains(area))
            report << where + " reaches past the window";
        if (room.isValid() && !room.isEmpty() && (area.width() < room.width() || area.height() < room.height()))
            report << where + QStringLiteral(" shows %1x%2 of %3x%4 when scrolled to")
                                  .arg(area.width()).arg(area.height()).arg(room.width()).arg(room.height());
        if (widget->sizePolicy().verticalPolicy() == QSizePolicy::Fixed && widget->height() < widget->sizeHint().height())
            report << where + QStringLiteral(" is %1 px high, its content needs %2").arg(widget->height()).arg(widget->sizeHint().height());
        QString text;
        const std::optional<QSize> textArea = textRoom(widget, &text);
        if (!textArea || text.trimmed().isEmpty())
            continue;
        const QFontMetrics metrics = widget->fontMetrics();
        if (metrics.horizontalAdvance(text) > textArea->width() || metrics.height() > textArea->height())
            report << where + QStringLiteral(" cuts its text \"%1\"").arg(text);
    }
    return report;
}

} // namespace

void FormTest::startState_data()
{
    QTest::addColumn<QString>("area");
    for (const QString &area : formAreas)
        QTest::newRow(qPrintable(area)) << area;
}

void FormTest::startState()
{
    QFETCH(QString, area);
    QStringList problems;
    const QVector<Expectation> rows = readTable(area, &problems);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    QVERIFY(!rows.isEmpty());

    BareForm form;
    verifyNoMismatches(mismatches(form.window, rows));
}

void FormTest::comboListsSurviveSecondRetranslate()
{
    QStringList problems;
    QVector<Expectation> itemRows;
    for (const QString &area : formAreas) {
        for (const Expectation &row : readTable(area, &problems)) {
            if (row.property == "items")
                itemRows << row;
        }
    }
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    QVERIFY(!itemRows.isEmpty());

    BareForm form;
    form.ui.retranslateUi(&form.window);
    verifyNoMismatches(mismatches(form.window, itemRows));
}

// The form uses no button groups: each set of radio buttons is made by their
// common parent, so checking one clears its siblings and nothing else.
void FormTest::radioButtonsAreExclusiveWithinTheirParent()
{
    BareForm form;
    QList<QRadioButton *> radios;
    for (QRadioButton *radio : form.window.findChildren<QRadioButton *>()) {
        if (!insidePromotedWidget(radio, &form.window))
            radios << radio;
    }
    QVERIFY(!radios.isEmpty());

    QStringList report;
    for (QRadioButton *chosen : radios) {
        if (chosen->group() || !chosen->autoExclusive()) {
            report << chosen->objectName() + ": in a button group or not auto-exclusive";
            continue;
        }
        QHash<QRadioButton *, bool> before;
        for (QRadioButton *radio : radios)
            before.insert(radio, radio->isChecked());
        chosen->setChecked(true);
        for (QRadioButton *radio : radios) {
            const bool sibling = radio != chosen && radio->parent() == chosen->parent();
            const bool expected = radio == chosen || (!sibling && before.value(radio));
            if (radio->isChecked() != expected)
                report << QStringLiteral("checking %1 left %2 %3").arg(chosen->objectName(), radio->objectName(),
                                                                        radio->isChecked() ? "checked" : "unchecked");
        }
    }
    verifyNoMismatches(report);
}

void FormTest::byNameSlotsHaveTheirSignals()
{
    VeskInterface window;
    const QList<QObject *> objects = QList<QObject *>{&window} + window.findChildren<QObject *>();

    QStringList report;
    int slotCount = 0;
    const QMetaObject *meta = window.metaObject();
    for (int i = VeskInterface::staticMetaObject.methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        const QByteArray name = method.name();
        // As connectSlotsByName: "on_" + object name + "_" + signal name; a
        // name without a second underscore is an ordinary slot.
        if (!name.startsWith("on_") || name.lastIndexOf('_') <= 3 || (method.attributes() & QMetaMethod::Cloned))
            continue;
        ++slotCount;
        bool connected = false;
        for (const QObject *object : objects) {
            const QByteArray objectName = object->objectName().toLatin1();
            if (objectName.isEmpty() || !name.startsWith("on_" + objectName + "_"))
                continue;
            const QByteArray signalName = name.mid(3 + objectName.size() + 1);
            if (hasMatchingSignal(object, signalName, method.parameterTypes())) {
                connected = true;
                break;
            }
        }
        if (!connected)
            report << QString::fromLatin1(method.methodSignature()) + ": no object of that name with that signal";
    }
    QVERIFY(slotCount > 0);
    verifyNoMismatches(report);
}

// Every page and inner page under each theme, the generator's sections
// unfolded, in a window of a roomy desktop and of the two common laptop
// screens: nothing may be cut off or pushed out of the window, and where the
// docks are short of room every control scrolls into view. With room to
// spare the scope dock looks as without its scroll area: no scroll bar, the
// tab widget filling it.
void FormTest::pagesFitTheWindow_data()
{
    QTest::addColumn<QString>("styleSheet");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("roomy");
    for (const char *theme : {"win", "linux", "mac"}) {
        const QString sheet = QStringLiteral(":/themes/theme-%1.qss").arg(theme);
        QTest::addRow("%s 1600x1000", theme) << sheet << QSize(1600, 1000) << true;
        QTest::addRow("%s 1366x768", theme) << sheet << QSize(1366, 768) << false;
        QTest::addRow("%s 1280x800", theme) << sheet << QSize(1280, 800) << false;
    }
}

void FormTest::pagesFitTheWindow()
{
    QFETCH(QString, styleSheet);
    QFETCH(QSize, size);
    QFETCH(bool, roomy);
    QFile sheet(styleSheet);
    QVERIFY(sheet.open(QIODevice::ReadOnly));
    VeskInterface window;
    window.setStyleSheet(QString::fromLatin1(sheet.readAll()));
    showUnfolded(window, size);
    QCOMPARE(window.size(), size);
    auto *pages = window.findChild<QTabWidget *>("mainTabWidget");
    auto *scopeScroll = window.findChild<QScrollArea *>("scrollArea_scope");
    auto *scopeDock = window.findChild<QDockWidget *>("dockWidget_scope");
    QVERIFY(pages && scopeScroll && scopeDock);
    QCOMPARE(scopeScroll->widget(), pages);
    if (roomy)
        QCOMPARE(scopeDock->width(), BareForm().ui.dockWidget_scope->minimumWidth());

    QStringList report;
    forEachPage(pages, {"oscilloscope", "meter", "sniffer", "options"}, [&](const QString &page) {
        if (roomy && (scopeScroll->horizontalScrollBar()->isVisible() || scopeScroll->verticalScrollBar()->isVisible()
                      || pages->size() != scopeScroll->size()))
            report << QStringLiteral("%1: the scope dock scrolls, its tab widget %2x%3 in %4x%5")
                          .arg(page).arg(pages->width()).arg(pages->height())
                          .arg(scopeScroll->width()).arg(scopeScroll->height());
        report << layoutDefects(window, page);
    });
    verifyNoMismatches(report);
}

// Some fonts' glyphs reach less far than their text advances: a title sized
// by its glyphs loses its last letter. Every group box of the form, in the
// form's font and in others, and the channels' meter boxes with each title
// they take.
void FormTest::groupTitlesAreWhole_data()
{
    QTest::addColumn<QFont>("font");
    QTest::newRow("form's font") << QFont(QStringLiteral("MS Shell Dlg 2"), 9);
    QTest::newRow("sans 8 pt") << QFont(QStringLiteral("DejaVu Sans"), 8);
    QTest::newRow("mono 10 pt") << QFont(QStringLiteral("Courier New"), 10);
    QTest::newRow("mono 12 pt") << QFont(QStringLiteral("Courier New"), 12);
}

void FormTest::groupTitlesAreWhole()
{
    QFETCH(QFont, font);
    VeskInterface window;
    showUnfolded(window, QSize(1600, 1000));
    QStringList channelTitles;
    for (int channel = 1; channel <= 2; ++channel) {
        for (int gain = 0; gain < ScopeValues::gainBoxTitles().size(); ++gain) {
            for (bool ac : {false, true})
                channelTitles << ChannelCaptions::boxTitle(channel, gain, ac);
        }
    }
    for (QGroupBox *box : window.findChildren<QGroupBox *>())
        box->setFont(font);
    QStringList report;
    forEachPage(window.findChild<QTabWidget *>("mainTabWidget"), {"oscilloscope", "meter", "sniffer", "options"},
                [&](const QString &page) {
        for (QGroupBox *box : window.findChildren<QGroupBox *>()) {
            if (!box->isVisible())
                continue;
            const QStringList titles =
                box->objectName().startsWith(QLatin1String("groupBoxCH")) ? channelTitles : QStringList{box->title()};
            for (const QString &title : titles) {
                box->setTitle(title);
                QString text;
                const QSize room = *textRoom(box, &text);
                const int width = box->fontMetrics().horizontalAdvance(text);
                if (width > room.width())
                    report << QStringLiteral("%1: %2 cuts its title \"%3\": %4 px for %5")
                                  .arg(page, box->objectName(), text).arg(room.width()).arg(width);
            }
        }
    });
    verifyNoMismatches(report);
}

void FormTest::screenshots()
{
    VeskInterface window;
    // The form's own window size.
    showUnfolded(window, QSize(1371, 966));
    auto *pages = window.findChild<QTabWidget *>("mainTabWidget");
    auto *generatorDock = window.findChild<QDockWidget *>("dockWidget_awg");
    QVERIFY(pages && generatorDock);

    const QStringList pageNames = {"oscilloscope", "meter", "sniffer", "options"};
    QCOMPARE(pages->count(), pageNames.size());
    QStringList failed;
    forEachPage(pages, pageNames, [&](const QString &page) {
        const QString path = VeskTest::artifactPath("form-" + page + ".png");
        if (!window.grab().save(path))
            failed << path;
    });
    const QString path = VeskTest::artifactPath("form-generator.png");
    if (!generatorDock->grab().save(path))
        failed << path;

    for (QMenu *menu : {window.findChild<QMenu *>("menuMain"), window.findChild<QMenu *>("menuHelp")}) {
        QVERIFY(menu);
        menu->popup(window.mapToGlobal(QPoint(0, 0)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        const QString menuPath = VeskTest::artifactPath("form-" + menu->objectName() + ".png");
        if (!menu->grab().save(menuPath))
            failed << menuPath;
        menu->hide();
    }
    QVERIFY2(failed.isEmpty(), qPrintable(failed.join(", ")));
}

VESK_TEST_MAIN(FormTest)
#include "tst_form.moc"
