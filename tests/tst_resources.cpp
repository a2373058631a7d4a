#include "testmain.h"
#include "collapsiblepanel.h"
#include "colorbutton.h"

#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QRawFont>
#include <QRegularExpression>

namespace {

// Pixmaps the forms, the plot and the settings pages load by fixed name.
const char *const fixedIcons[] = {
    "app-name.png", "ico48.png", "ico_gimp.png",
    "item_console.png", "item_global.png", "item_multimeter.png", "item_oscilloscope.png", "item_unknown.png",
    "menu_clear.png", "menu_console.png", "menu_exit.png", "menu_openfile.png", "menu_settings.png",
    "ico-record.png", "ico-record-active.png", "ico-save.png", "ico-screenshot.png",
    "led-on.png", "led-off.png", "fold.png", "unfold.png",
    "rising.png", "falling.png", "dual.png", "slopepositive.png", "slopenegative.png", "window.png",
    "xy.png", "roll.png", "elastic.png", "wave-big.png", "wave-small.png",
    "lowintense.png", "veryintense.png", "shortdecay.png", "longdecay.png", "colorgradient.png",
    "HcursorCA.png", "HcursorCB.png", "VcursorC.png",
    "chan1-zero.png", "chan1v-zero.png", "chan2-zero.png", "chanL-zero.png",
    "sine.png", "triangle.png", "expo.png", "square.png", "noise.png",
    "sweeprising.png", "sweeppong.png", "sweepfalling.png", "period.png", "pulse.png",
    "mmd_rangein.png",
};

// Trigger marker names, indexed by trigger mode, in green ("g.png") and red ("r.png").
const char *const triggerNames[] = {"rising", "falling", "dual", "positive", "negative", "window1", "window2"};

// Range arrow sizes of the multimeter display; each picture is 2N x N.
const int rangeSizes[] = {12, 14, 16, 20, 24, 28, 32, 40, 48, 56, 64, 72};

QString readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = file.readAll();
    return QString::fromLatin1(bytes.left(bytes.indexOf('\0') < 0 ? bytes.size() : bytes.indexOf('\0')));
}

QStringList parseWarnings;

void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg)
        parseWarnings << message;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The tests take the program's objects from a static archive, where
        // nothing else refers to the resource initialiser.
        Q_INIT_RESOURCE(vesk);
    }

    void icons_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");

        for (const char *name : fixedIcons)
            QTest::newRow(name) << QString(":/icons/") + name << QSize();
        for (const char *name : triggerNames) {
            const QString green = ":/icons/" + QString(name) + "g.png";
            const QString red = ":/icons/" + QString(name) + "r.png";
            QTest::newRow(qPrintable(green)) << green << QSize();
            QTest::newRow(qPrintable(red)) << red << QSize();
        }
        for (int n : rangeSizes) {
            const QString below = ":/icons/mmd_rangebelow_" + QString::number(n) + ".png";
            const QString over = ":/icons/mmd_rangeover_" + QString::number(n) + ".png";
            QTest::newRow(qPrintable(below)) << below << QSize(2 * n, n);
            QTest::newRow(qPrintable(over)) << over << QSize(2 * n, n);
        }
        QTest::newRow("in-range picture") << ":/icons/mmd_rangein.png" << QSize(768, 384);
        QTest::newRow("about icon") << ":/icons/ico48.png" << QSize(48, 48);
        QTest::newRow("about name") << ":/icons/app-name.png" << QSize(72, 48);
    }

    void icons()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);

        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QVERIFY(image.hasAlphaChannel());
        if (size.isValid())
            QCOMPARE(image.size(), size);

        // Not blank: something is drawn and something is left clear.
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                drawn += qAlpha(image.pixel(x, y)) > 0;
        QVERIFY(drawn > 0);
        QVERIFY(drawn < image.width() * image.height());
    }

    void everyIconIsListed()
    {
        // A picture in the collection that no table names is dead weight or a
        // name the program spells differently.
        QSet<QString> listed;
        for (const char *name : fixedIcons)
            listed << name;
        for (const char *name : triggerNames)
            listed << QString(name) + "g.png" << QString(name) + "r.png";
        for (int n : rangeSizes)
            listed << QString("mmd_rangebelow_%1.png").arg(n) << QString("mmd_rangeover_%1.png").arg(n);
        const QStringList present = QDir(":/icons").entryList(QDir::Files);
        QCOMPARE(QSet<QString>(present.begin(), present.end()), listed);
    }

    void fonts_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("fixedPitch");

        QTest::newRow("cour") << ":/fonts/cour.ttf" << false << true;
        QTest::newRow("italic") << ":/fonts/SourceCodeVariable-Italic.ttf" << true << true;
        QTest::newRow("roman") << ":/fonts/SourceCodeVariable-Roman.ttf" << false << true;
        QTest::newRow("sans") << ":/fonts/DejaVuSans.ttf" << false << false;
        QTest::newRow("sans bold") << ":/fonts/DejaVuSans-Bold.ttf" << false << false;
        QTest::newRow("mono bold") << ":/fonts/LiberationMono-Bold.ttf" << false << true;
    }

    void fonts()
    {
        QFETCH(QString, path);
        QFETCH(bool, italic);
        QFETCH(bool, fixedPitch);

        const int id = QFontDatabase::addApplicationFont(path);
        QVERIFY2(id >= 0, qPrintable(path));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        QCOMPARE(families.size(), 1);

        QCOMPARE(QFontDatabase().isFixedPitch(families.first()), fixedPitch);

        // The file itself, not whatever the system adds to the family.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QRawFont raw(file.readAll(), 12);
        QVERIFY(raw.isValid());
        QCOMPARE(raw.style() != QFont::StyleNormal, italic);
    }

    void styleSheets()
    {
        const QString win = readAll(":/themes/theme-win.qss");
        const QString linuxSheet = readAll(":/themes/theme-linux.qss");
        const QString mac = readAll(":/themes/theme-mac.qss");
        QVERIFY(win.contains("CollapsiblePanel"));
        QVERIFY(win.contains("ColorButton:pressed"));
        QVERIFY(win.contains("ColorButton:disabled"));
        QCOMPARE(linuxSheet, win);
        QVERIFY(QFile::exists(":/themes/theme-mac.qss"));
        QString macRules = mac;
        macRules.remove(QRegularExpression("/\\*.*?\\*/", QRegularExpression::DotMatchesEverythingOption));
        QVERIFY(macRules.trimmed().isEmpty());
    }

    void styleSheetPaintsWidgets()
    {
        parseWarnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);

        QWidget window;
        window.setStyleSheet(readAll(":/themes/theme-win.qss"));
        auto *panel = new CollapsiblePanel(&window);
        panel->setGeometry(0, 0, 200, 30);
        panel->setTitle("Sweep");
        panel->setText("1000.00Hz ");
        panel->setIcon(QIcon(":/icons/fold.png"));
        auto *enabled = new ColorButton(&window);
        enabled->setGeometry(0, 40, 40, 20);
        auto *disabled = new ColorButton(&window);
        disabled->setGeometry(0, 70, 40, 20);
        disabled->setEnabled(false);
        const QImage panelImage = panel->grab().toImage();
        const QImage enabledImage = enabled->grab().toImage();
        const QImage disabledImage = disabled->grab().toImage();
        enabled->setCurrentColor(QColor(224, 78, 78));
        window.resize(220, 100);
        window.grab().save(VeskTest::artifactPath("theme-widgets.png"));

        qInstallMessageHandler(previous);
        QVERIFY2(parseWarnings.isEmpty(), qPrintable(parseWarnings.join('\n')));

        // A vertical gradient: the header is lighter at the top than at the bottom.
        QVERIFY(panelImage.pixelColor(100, 3).lightness() > panelImage.pixelColor(100, 26).lightness());
        // The disabled variant is painted differently from the normal one
        // (compared beside the swatch, inside the border).
        QVERIFY(enabledImage.pixelColor(3, 15) != disabledImage.pixelColor(3, 15));
    }

    void licenceText()
    {
        const QString text = readAll(":/license/COPYING");
        QVERIFY(text.startsWith(QString(" ").repeated(20) + "GNU GENERAL PUBLIC LICENSE"));
        QVERIFY(text.contains("Version 3, 29 June 2007"));
        QVERIFY(text.contains("END OF TERMS AND CONDITIONS"));
    }
};

VESK_TEST_MAIN(TestResources)
#include "tst_resources.moc"
