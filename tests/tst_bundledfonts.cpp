// The font families the program names resolve to the bundled files, whatever
// the desktop has installed (scripts/test.sh installs the usual desktop fonts,
// among them faces that fontconfig prefers for these names).
#include "testmain.h"
#include "bundledfonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>

namespace {

// The header table carries the file's revision and build dates: equal tables
// mean the bundled file or an identical copy of it.
QByteArray headTable(const QRawFont &font)
{
    return font.fontTable("head");
}

QByteArray bundledHead(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return headTable(QRawFont(file.readAll(), 12));
}

} // namespace

class TestBundledFonts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        BundledFonts::install();
    }

    // Each named family in the weights the program asks for: the form's
    // labels and headers are bold, the plot's read-outs demi-bold.
    void namedFamiliesResolveToBundledFiles_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("weight");
        QTest::addColumn<QString>("file");

        QTest::newRow("form") << "MS Shell Dlg 2" << int(QFont::Normal) << ":/fonts/DejaVuSans.ttf";
        QTest::newRow("form, bold") << "MS Shell Dlg 2" << int(QFont::Bold) << ":/fonts/DejaVuSans-Bold.ttf";
        QTest::newRow("displays") << "Consolas" << int(QFont::Normal) << ":/fonts/SourceCodeVariable-Roman.ttf";
        QTest::newRow("console") << "Courier New" << int(QFont::Normal) << ":/fonts/cour.ttf";
        QTest::newRow("console overlay") << "Monospace" << int(QFont::Normal) << ":/fonts/SourceCodeVariable-Roman.ttf";
        QTest::newRow("plot read-outs") << "Courier New" << int(QFont::DemiBold) << ":/fonts/LiberationMono-Bold.ttf";
        QTest::newRow("sniffer views") << "Courier" << int(QFont::Normal) << ":/fonts/cour.ttf";
    }
    void namedFamiliesResolveToBundledFiles()
    {
        QFETCH(QString, family);
        QFETCH(int, weight);
        QFETCH(QString, file);
        const QFont font(family, 18, weight);
        const QByteArray expected = bundledHead(file);
        QVERIFY(!expected.isEmpty());
        QVERIFY2(headTable(QRawFont::fromFont(font)) == expected,
                 qPrintable(QStringLiteral("%1 resolves to %2 %3").arg(family, QFontInfo(font).family(),
                                                                        QFontInfo(font).styleName())));
    }

    // Every family of the table is one the bundle holds, so a new named
    // family cannot be mapped onto a font that only some desktops have.
    void mappingTargetsAreBundled()
    {
        QStringList bundled;
        for (const QString &path : BundledFonts::files()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            bundled << QRawFont(file.readAll(), 12).familyName();
        }
        for (const auto &named : BundledFonts::namedFamilies()) {
            QVERIFY2(bundled.contains(named.second), qPrintable(named.second));
        }
    }

    // A family that exists is found as it is: a user's pick is never replaced.
    void installedFamiliesAreHonoured()
    {
        for (const QString &family : {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")})
            QCOMPARE(QFontInfo(QFont(family, 12)).family(), family);
        QVERIFY(QFont::substitutes("DejaVu Sans Mono").isEmpty());
    }
};

VESK_TEST_MAIN(TestBundledFonts)
#include "tst_bundledfonts.moc"
