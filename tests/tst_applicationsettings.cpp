#include "testmain.h"
#include "applicationsettings.h"
#include "windowplacement.h"

#include <QMargins>
#include <QSettings>

Q_DECLARE_METATYPE(QMargins)

class TestApplicationSettings : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings().clear();
    }

    void freshStoreGivesDefaults()
    {
        const ApplicationSettings stored = ApplicationSettings::load();
        QVERIFY(!stored.size.isValid());
        QVERIFY(!stored.hasWindowSize());
        QCOMPARE(stored.theme, 0);
        QCOMPARE(stored.defaultDir, QDir::homePath());
    }

    void storedValuesAreRead()
    {
        QSettings settings;
        settings.setValue("size", QSize(1024, 768));
        settings.setValue("theme", 1);
        settings.setValue("defaultDir", "/tmp/waves");
        settings.sync();
        const ApplicationSettings stored = ApplicationSettings::load();
        QCOMPARE(stored.size, QSize(1024, 768));
        QVERIFY(stored.hasWindowSize());
        QCOMPARE(stored.theme, 1);
        QCOMPARE(stored.defaultDir, QString("/tmp/waves"));
    }

    void sizeIsNotAppliedWhenMaximisedOrOdd_data()
    {
        QTest::addColumn<QVariant>("size");
        QTest::addColumn<bool>("maximized");
        QTest::newRow("maximised") << QVariant(QSize(1024, 768)) << true;
        QTest::newRow("zero width") << QVariant(QSize(0, 768)) << false;
        QTest::newRow("negative height") << QVariant(QSize(800, -2)) << false;
        QTest::newRow("not a size") << QVariant(QString("huge")) << false;
    }
    void sizeIsNotAppliedWhenMaximisedOrOdd()
    {
        QFETCH(QVariant, size);
        QFETCH(bool, maximized);
        QSettings settings;
        settings.setValue("size", size);
        settings.setValue("wasMaximized", maximized);
        settings.sync();
        QVERIFY(!ApplicationSettings::load().hasWindowSize());
    }

    // The window restored at a stored size, or at the form's on a first
    // start: held to the screen's free area less the window's frame, never
    // below the window's minimum, and centred, so that the whole frame lies in
    // the area. The frame's size reaches the program only once the window is
    // shown; before, it is taken as none.
    void restoredGeometryKeepsTheFrameOnTheScreen_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QMargins>("frame");
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<QRect>("geometry");
        const QMargins none;
        const QMargins framed(4, 28, 4, 4);
        QTest::newRow("1024 x 768 on 1920 x 1080") << QRect(0, 0, 1920, 1080) << none << QSize(1024, 768)
                                                   << QRect(448, 156, 1024, 768);
        QTest::newRow("the same, framed") << QRect(0, 0, 1920, 1080) << framed << QSize(1024, 768)
                                          << QRect(452, 184, 1024, 768);
        QTest::newRow("larger than 1366 x 768") << QRect(0, 0, 1366, 768) << framed << QSize(1600, 1000)
                                                << QRect(4, 28, 1358, 736);
        QTest::newRow("larger than 1366 x 768, frame unknown") << QRect(0, 0, 1366, 768) << none
                                                               << QSize(1600, 1000) << QRect(0, 0, 1366, 768);
        QTest::newRow("the form's size on 1366 x 768, thin frame") << QRect(0, 0, 1366, 768) << QMargins(1, 22, 1, 5)
                                                                 << QSize(1371, 966) << QRect(1, 22, 1364, 741);
        QTest::newRow("larger than 1280 x 800") << QRect(0, 0, 1280, 800) << framed << QSize(1371, 966)
                                                << QRect(4, 28, 1272, 768);
        QTest::newRow("larger than 1024 x 768") << QRect(0, 0, 1024, 768) << framed << QSize(1280, 1024)
                                                << QRect(4, 28, 1016, 736);
        QTest::newRow("too wide only") << QRect(0, 0, 1280, 800) << framed << QSize(1600, 600)
                                       << QRect(4, 128, 1272, 600);
        QTest::newRow("panel at the top") << QRect(0, 32, 1366, 736) << framed << QSize(1024, 768)
                                          << QRect(175, 60, 1024, 704);
        QTest::newRow("panel on the left") << QRect(64, 0, 1856, 1080) << none << QSize(1024, 768)
                                           << QRect(480, 156, 1024, 768);
        QTest::newRow("second screen") << QRect(1920, 0, 1366, 768) << framed << QSize(1024, 768)
                                       << QRect(2095, 28, 1024, 736);
        QTest::newRow("left of the primary") << QRect(-1280, 0, 1280, 1024) << none << QSize(1024, 768)
                                             << QRect(-1151, 128, 1024, 768);
        QTest::newRow("below the minimum") << QRect(0, 0, 1920, 1080) << framed << QSize(640, 240)
                                           << QRect(564, 408, 800, 320);
        QTest::newRow("screen below the minimum") << QRect(0, 0, 800, 600) << QMargins(2, 2, 2, 2)
                                                  << QSize(1024, 768) << QRect(2, 2, 800, 596);
    }
    void restoredGeometryKeepsTheFrameOnTheScreen()
    {
        QFETCH(QRect, area);
        QFETCH(QMargins, frame);
        QFETCH(QSize, stored);
        QFETCH(QRect, geometry);
        const QSize formMinimum(800, 320);
        QCOMPARE(WindowPlacement::fitted(area, stored, formMinimum, frame), geometry);
    }

    void loggingLevelStoredOnlyWhenAbsentOrNegative_data()
    {
        QTest::addColumn<QVariant>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("absent") << QVariant() << 2;
        QTest::newRow("negative") << QVariant(-3) << 2;
        QTest::newRow("zero kept") << QVariant(0) << 0;
        QTest::newRow("four kept") << QVariant(4) << 4;
        QTest::newRow("text reads as zero, kept") << QVariant(QString("abc")) << 0;
    }
    void loggingLevelStoredOnlyWhenAbsentOrNegative()
    {
        QFETCH(QVariant, before);
        QFETCH(int, after);
        if (before.isValid()) {
            QSettings settings;
            settings.setValue("loggingLevel", before);
        }
        ApplicationSettings::save(QSize(900, 700), false, "/data");
        QSettings settings;
        QCOMPARE(settings.value("loggingLevel").toInt(), after);
        QCOMPARE(settings.value("size").toSize(), QSize(900, 700));
        QCOMPARE(settings.value("wasMaximized").toBool(), false);
        QCOMPARE(settings.value("defaultDir").toString(), QString("/data"));
    }
};

VESK_TEST_MAIN(TestApplicationSettings)
#include "tst_applicationsettings.moc"
