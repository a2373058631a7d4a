#include "testmain.h"
#include "applicationsettings.h"

#include <QSettings>

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

    void centring()
    {
        QCOMPARE(ApplicationSettings::centredPosition(QRect(0, 0, 1920, 1080), QSize(1024, 768)), QPoint(448, 156));
        QCOMPARE(ApplicationSettings::centredPosition(QRect(1920, 0, 1280, 1024), QSize(800, 600)), QPoint(2160, 212));
    }

    // Stored sizes against screens of every kind: smaller than the window,
    // with panels taking an edge, or left of or beside the primary one.
    void restoredGeometryKeepsTheTitleBarInReach_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<QRect>("geometry");
        const QSize docks(1100, 870);
        QTest::newRow("fits, centred") << QRect(0, 0, 1920, 1080) << QSize(1371, 966) << docks
                                       << QRect(274, 57, 1371, 966);
        QTest::newRow("panel on the left, centred") << QRect(64, 0, 1856, 1080) << QSize(1371, 966) << docks
                                                    << QRect(306, 57, 1371, 966);
        QTest::newRow("limited to the area") << QRect(0, 0, 1280, 960) << QSize(1371, 966) << docks
                                             << QRect(0, 0, 1280, 960);
        QTest::newRow("limited below a top panel") << QRect(0, 32, 1280, 928) << QSize(1371, 966) << docks
                                                   << QRect(0, 32, 1280, 928);
        QTest::newRow("docks too high") << QRect(0, 32, 1024, 668) << QSize(1371, 966) << docks
                                        << QRect(0, 32, 1100, 870);
        QTest::newRow("docks too wide") << QRect(64, 0, 960, 1080) << QSize(1371, 966) << docks
                                        << QRect(64, 0, 1100, 966);
        QTest::newRow("second screen, too small") << QRect(1920, 24, 1024, 744) << QSize(1371, 966) << docks
                                                  << QRect(1920, 24, 1100, 870);
        QTest::newRow("left of the primary") << QRect(-1280, 0, 1280, 1024) << QSize(1024, 768) << QSize(800, 600)
                                             << QRect(-1151, 128, 1024, 768);
    }
    void restoredGeometryKeepsTheTitleBarInReach()
    {
        QFETCH(QRect, area);
        QFETCH(QSize, stored);
        QFETCH(QSize, minimum);
        QFETCH(QRect, geometry);
        const QRect placed = ApplicationSettings::restoredGeometry(area, stored, minimum);
        QCOMPARE(placed, geometry);
        QVERIFY(area.contains(placed.topLeft()));
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
