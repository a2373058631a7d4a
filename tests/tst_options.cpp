#include "testmain.h"
#include "globaloptions.h"
#include "multimeterdisplayoptions.h"
#include "pythonconsoleoptions.h"
#include "scopeoptions.h"
#include "scopeplot.h"

#include <memory>

Q_DECLARE_METATYPE(std::shared_ptr<Options>)

// Options identity, and the plot widget's resize notification.
class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void identity_data()
    {
        QTest::addColumn<std::shared_ptr<Options>>("options");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("commonName");
        QTest::addColumn<QString>("uiClassName");
        QTest::addColumn<QString>("icon");
        QTest::newRow("base") << std::shared_ptr<Options>(new Options) << "Set_short_name" << "Set common name"
                              << "UiClassName" << ":/icons/item_unknown.png";
        QTest::newRow("scope") << std::shared_ptr<Options>(new ScopeOptions) << "Oscilloscope" << "Oscilloscope"
                               << "ScopeSettings" << ":/icons/item_oscilloscope.png";
        QTest::newRow("meter") << std::shared_ptr<Options>(new MultimeterDisplayOptions) << "MultimeterDisplay"
                               << "Multimeter display" << "MultimeterDisplaySettings" << ":/icons/item_multimeter.png";
        QTest::newRow("global") << std::shared_ptr<Options>(new GlobalOptions) << "Global" << "Global"
                                << "GlobalSettings" << ":/icons/item_global.png";
        QTest::newRow("console") << std::shared_ptr<Options>(new PythonConsoleOptions) << "PythonConsole"
                                 << "Python console" << "PythonConsoleSettings" << ":/icons/item_console.png";
    }
    void identity()
    {
        QFETCH(std::shared_ptr<Options>, options);
        QFETCH(QString, name);
        QFETCH(QString, commonName);
        QFETCH(QString, uiClassName);
        QFETCH(QString, icon);
        QCOMPARE(options->getName(), name);
        QCOMPARE(options->getCommonName(), commonName);
        QCOMPARE(options->getUiClassName(), uiClassName);
        const QImage expected = QPixmap(icon).toImage();
        QVERIFY2(!expected.isNull(), qPrintable(icon));
        const QImage actual = options->getIcon().pixmap(expected.size()).toImage();
        QCOMPARE(actual.convertToFormat(QImage::Format_ARGB32), expected.convertToFormat(QImage::Format_ARGB32));
    }

    void plotAnnouncesResizeAfterItsReplot()
    {
        ScopePlot plot;
        plot.resize(400, 300);
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));
        QStringList events;
        QRect viewportAtSignal;
        connect(&plot, &QCustomPlot::afterReplot, this, [&events] { events << "replot"; });
        connect(&plot, &ScopePlot::sizeChanged, this, [&] {
            events << "size";
            viewportAtSignal = plot.viewport();
        });
        plot.resize(640, 480);
        QTRY_VERIFY(events.contains("size"));
        QVERIFY(events.indexOf("replot") >= 0 && events.indexOf("replot") < events.indexOf("size"));
        QCOMPARE(viewportAtSignal, QRect(0, 0, 640, 480));
    }
};

VESK_TEST_MAIN(TestOptions)
#include "tst_options.moc"
