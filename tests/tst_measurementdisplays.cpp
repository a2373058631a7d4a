#include "testmain.h"
#include "multimeterdisplay.h"
#include "veskinterface.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

static QString text(MultimeterDisplay *display, const char *labelName)
{
    return display->findChild<QLabel *>(QLatin1String(labelName))->text();
}

static bool joined(MultimeterDisplay *display)
{
    const QList<QAction *> actions = display->findChildren<QAction *>();
    return std::any_of(actions.begin(), actions.end(),
                       [](QAction *action) { return action->text() == QLatin1String("&Settings..."); });
}

class TestMeasurementDisplays : public QObject
{
    Q_OBJECT

private:
    VeskInterface *window = nullptr;

    MultimeterDisplay *display(const QString &name)
    {
        return window->findChild<MultimeterDisplay *>(name);
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        window = new VeskInterface;
    }

    void cleanupTestCase()
    {
        delete window;
    }

    void configured_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<double>("reading");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("accuracy"); // empty when hidden
        QTest::addColumn<bool>("buttons");

        QTest::newRow("scope Vpp") << "multimeterdisplayVppCh2" << "Vpp" << "V" << 1.234 << "1.23" << "" << false;
        QTest::newRow("scope frequency") << "multimeterdisplayFreqCh1" << "Frequency" << "kHz" << 12345.678
                                         << "12.3457" << "" << false;
        QTest::newRow("counter frequency") << "multimeterdisplayFrequencyValue" << "Frequency" << "Hz" << 1000.0
                                           << "1000.00" << "\u00b11.05 Hz" << true;
        QTest::newRow("duty, unchecked range") << "multimeterdisplayDutyValue" << "Duty" << "%" << 150.0 << "150.00"
                                               << "\u00b10.01 %" << true;
        QTest::newRow("period") << "multimeterdisplayPeriodValue" << "Period" << "\u00b5s" << 1e-3 << "1000.00"
                                << "\u00b10.11 \u00b5s" << true;
        QTest::newRow("pulse count") << "multimeterdisplayCounter" << "Counter" << "k" << 123456.0 << "123.456"
                                     << "" << true;
        QTest::newRow("DC held at the limit") << "multimeterdisplayCh2DC" << "" << "V" << 30.0 << "24.000"
                                              << "\u00b10.240 V" << true;
        QTest::newRow("AC RMS unchecked") << "multimeterdisplayCh1RMS" << "RMS" << "V" << 30.0 << "30.000"
                                          << "\u00b10.300 V" << false;
        QTest::newRow("AC Vpp") << "multimeterdisplayCh2Vpp" << "Vpp" << "V" << 0.49 << "0.49" << "\u00b10.00 V"
                                << true;
        QTest::newRow("AC frequency") << "multimeterdisplayCh2Frequency" << "Frequency" << "kHz" << 800.0 << "0.800"
                                      << "\u00b10.001 kHz" << true;
        QTest::newRow("generator") << "multimeterdisplayAWGFrequency" << "Effective frequency" << "Hz" << 12345.67
                                   << "12345.67" << "" << false;
    }

    void configured()
    {
        QFETCH(QString, name);
        QFETCH(QString, label);
        QFETCH(QString, unit);
        QFETCH(double, reading);
        QFETCH(QString, shown);
        QFETCH(QString, accuracy);
        QFETCH(bool, buttons);

        MultimeterDisplay *d = display(name);
        QVERIFY2(d, qPrintable(name));
        d->setValue(reading);
        QCOMPARE(text(d, "labelLabel"), label);
        QCOMPARE(d->getCurrentUnit(), unit);
        QCOMPARE(text(d, "labelValue"), shown);
        auto *accuracyLabel = d->findChild<QLabel *>(QStringLiteral("labelAccuracy"));
        QCOMPARE(accuracyLabel->isHidden(), accuracy.isEmpty());
        if (!accuracy.isEmpty())
            QCOMPARE(accuracyLabel->text(), accuracy);
        QCOMPARE(!d->findChild<QPushButton *>(QStringLiteral("toolButtonHold"))->isHidden(), buttons);
    }

    void nineteenFollowTheSharedOptions()
    {
        const QStringList joinedNames = {
            "multimeterdisplayFrequencyValue", "multimeterdisplayDutyValue", "multimeterdisplayDutyValue_s",
            "multimeterdisplayPeriodValue",    "multimeterdisplayCounter",   "multimeterdisplayCh1DC",
            "multimeterdisplayCh2DC",          "multimeterdisplayCh1Vpp",    "multimeterdisplayCh1Max",
            "multimeterdisplayCh1Min",         "multimeterdisplayCh1RMS",    "multimeterdisplayCh1Average",
            "multimeterdisplayCh1Frequency",   "multimeterdisplayCh2Vpp",    "multimeterdisplayCh2Max",
            "multimeterdisplayCh2Min",         "multimeterdisplayCh2RMS",    "multimeterdisplayCh2Average",
            "multimeterdisplayCh2Frequency",
        };
        QVERIFY(QMetaObject::invokeMethod(window, "applyConfigurationRequest"));

        const QList<MultimeterDisplay *> displays = window->findChildren<MultimeterDisplay *>();
        QCOMPARE(displays.size(), 32);
        int joinedCount = 0;
        for (MultimeterDisplay *d : displays) {
            const bool expected = joinedNames.contains(d->objectName());
            QVERIFY2(joined(d) == expected, qPrintable(d->objectName()));
            // The default text colour of the options reaches only the joined ones.
            const QString style = d->findChild<QLabel *>(QStringLiteral("labelValue"))->styleSheet();
            QVERIFY2(style.contains(QLatin1String("#404040")) == expected, qPrintable(d->objectName()));
            joinedCount += expected ? 1 : 0;
        }
        QCOMPARE(joinedCount, 19);
    }
};

VESK_TEST_MAIN(TestMeasurementDisplays)
#include "tst_measurementdisplays.moc"
