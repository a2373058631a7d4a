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
