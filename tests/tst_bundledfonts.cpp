// The font families the program names resolve to the bundled files, whatever
// the desktop has installed (scripts/test.sh installs the usual desktop fonts,
// among them faces that fontconfig prefers for these names).
#include "testmain.h"
#include "bundledfonts.h"

#include <QDataStream>
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

// A copy of the TrueType font whose naming table gives it the family name
// alone: the new table is put at the end and the directory pointed at it.
QByteArray renamed(const QByteArray &font, const QString &family)
{
    // Family, full name and PostScript name, each as Windows Unicode English,
    // all sharing one UTF-16 string (a data stream writes big-endian).
    const quint16 ids[] = {1, 4, 6};
    const quint16 count = sizeof ids / sizeof ids[0];
    QByteArray names;
    QDataStream table(&names, QIODevice::WriteOnly);
    table << quint16(0) << count << quint16(6 + 12 * count);
    for (quint16 id : ids)
        table << quint16(3) << quint16(1) << quint16(0x409) << id << quint16(2 * family.size()) << quint16(0);
    for (const QChar c : family)
        table << quint16(c.unicode());

    QByteArray copy = font;
    copy.append(QByteArray((4 - copy.size() % 4) % 4, '\0'));
    const quint32 offset = quint32(copy.size());
    copy += names;
    QDataStream directory(&copy, QIODevice::ReadWrite);
    quint32 version;
    quint16 tables;
    directory >> version >> tables;
    for (int i = 0; i < tables; ++i) {
        const qint64 record = 12 + 16 * i;
        directory.device()->seek(record);
        quint32 tag;
        directory >> tag;
        if (tag == 0x6e616d65) { // "name"
            directory.device()->seek(record + 8);
            directory << offset << quint32(names.size());
        }
    }
    return copy;
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

    // A family the desktop really has is found as it is, even under a name
    // the program maps: a user's pick is never replaced. The desktop's font
    // here is a bundled file registered anew under the mapped name.
    void installedFamiliesAreHonoured_data()
    {
        QTest::addColumn<QString>("family");
        for (const auto &named : BundledFonts::namedFamilies()) {
            // A generic name, which the desktop's font configuration resolves
            // before any family of that name is looked for.
            if (named.first == QLatin1String("Monospace"))
                continue;
            QTest::newRow(qPrintable(named.first)) << named.first;
        }
    }
    void installedFamiliesAreHonoured()
    {
        QFETCH(QString, family);
        QFile file(QStringLiteral(":/fonts/DejaVuSans.ttf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const int id = QFontDatabase::addApplicationFontFromData(renamed(file.readAll(), family));
        QVERIFY(id >= 0);
        QCOMPARE(QFontDatabase::applicationFontFamilies(id), QStringList(family));
        const QString found = QFontInfo(QFont(family, 15)).family();
        QFontDatabase::removeApplicationFont(id);
        QCOMPARE(found, family);
    }
};

VESK_TEST_MAIN(TestBundledFonts)
#include "tst_bundledfonts.moc"
