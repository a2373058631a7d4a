#include "testmain.h"
#include "bargraph.h"

#include <QLabel>

// The graph's children in creation order: the tick label, then the low and
// the high mask.
struct Masks
{
    QLabel *low;
    QLabel *high;
};

static Masks masksOf(BarGraph &graph)
{
    const QList<QLabel *> labels = graph.findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    return Masks{labels.value(1), labels.value(2)};
}

class TestBarGraph : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("axisWidth");
        QTest::addColumn<int>("offset");

        // 65 ticks of 2 px with 64 gaps of 1 px, centred in 200 px.
        QTest::newRow("200 px") << 200 << 15 << 194 << 4;
        QTest::newRow("one step fits exactly") << 27 << 1 << 26 << 1;
        // Too narrow for one group: still one minor tick per group, the scale overhangs.
        QTest::newRow("narrower than a group") << 10 << 1 << 26 << -7;
    }

    void geometry()
    {
        QFETCH(int, width);
        QFETCH(int, step);
        QFETCH(int, axisWidth);
        QFETCH(int, offset);
        BarGraph graph;
        const BarGraph::Axis axis{6, 10, 2, Qt::black, Qt::white, true};
        QCOMPARE(graph.getTickStep(width, axis), step);
        QCOMPARE(graph.getAxisWidth(step, axis), axisWidth);
        QCOMPARE(graph.getOffset(width, axis), offset);
    }

    void masks_data()
    {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("lowShown");
        QTest::addColumn<int>("lowRight");
        QTest::addColumn<bool>("highShown");
        QTest::addColumn<int>("highLeft");

        // 200 px wide: first tick centre 4, span 192, zero tick right edge 101.
        QTest::newRow("positive range, half way") << 0.0 << 100.0 << 50.0 << false << 0 << true << 101;
        QTest::newRow("positive range, at the top") << 0.0 << 100.0 << 100.0 << false << 0 << true << 197;
        QTest::newRow("positive range, clamped below") << 10.0 << 100.0 << -3.0 << false << 0 << true << 5;
        QTest::newRow("centred, zero") << -24.0 << 24.0 << 0.0 << true << 98 << true << 101;
        QTest::newRow("centred, half up") << -24.0 << 24.0 << 12.0 << true << 98 << true << 149;
        QTest::newRow("centred, half down") << -24.0 << 24.0 << -12.0 << true << 50 << true << 101;
        QTest::newRow("centred, clamped beyond the top") << -24.0 << 24.0 << 99.0 << true << 98 << true << 197;
        // The range gives no scale: the whole scale stays visible.
        QTest::newRow("empty range") << 5.0 << 5.0 << 5.0 << false << 0 << false << 0;
        QTest::newRow("empty range at zero") << 0.0 << 0.0 << 0.0 << false << 0 << false << 0;
        // No positive half: it is masked from the zero tick on.
        QTest::newRow("range ending at zero, value zero") << -5.0 << 0.0 << 0.0 << true << 98 << true << 101;
        QTest::newRow("range ending at zero, value below") << -5.0 << 0.0 << -5.0 << true << 2 << true << 101;
    }

    void masks()
    {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(double, value);
        QFETCH(bool, lowShown);
        QFETCH(bool, highShown);
        QFETCH(int, lowRight);
        QFETCH(int, highLeft);

        BarGraph graph;
        graph.resize(200, 10);
        graph.show();
        graph.setRange(min, max);
        graph.setValue(value);

        const Masks masks = masksOf(graph);
        QCOMPARE(!masks.low->isHidden(), lowShown);
        QCOMPARE(!masks.high->isHidden(), highShown);
        if (lowShown) {
            QCOMPARE(masks.low->geometry().left(), 0);
            QCOMPARE(masks.low->geometry().right(), lowRight);
        }
        if (highShown) {
            const QRect high = masks.high->geometry();
            QCOMPARE(high.left(), highLeft);
            QCOMPARE(high.width(), 200);
            QCOMPARE(high.top(), 0);
            QCOMPARE(high.bottom(), 9);
        }
    }

    void rangeIsSortedAndValueFollowsIt()
    {
        BarGraph graph;
        graph.resize(200, 10);
        graph.setRange(5, -5);
        graph.setValue(10); // clamped to 5, the top of the centred scale
        QCOMPARE(masksOf(graph).high->geometry().left(), 197);

        graph.setRange(-1, 1); // re-clamps the stored value
        QCOMPARE(masksOf(graph).high->geometry().left(), 197);

        graph.setValue(qQNaN()); // not a reading: the bar stays
        QCOMPARE(masksOf(graph).high->geometry().left(), 197);
    }

    void masksUseTheBackgroundWithAlpha()
    {
        BarGraph graph;
        graph.resize(200, 10);
        graph.setBackgroundColor(QColor(0x12, 0x34, 0x56));
        QCOMPARE(masksOf(graph).high->styleSheet(), QStringLiteral("QLabel {background-color: #dc123456;}"));
        QCOMPARE(graph.addTransparency(QStringLiteral("#abcdef")), QStringLiteral("#dcabcdef"));
    }

    void sizeHintsFollowTheTicks()
    {
        BarGraph graph;
        QCOMPARE(graph.sizeHint(), QSize(100 + 202, 10));
        QCOMPARE(graph.minimumSizeHint(), QSize(18 + 8, 10));
        graph.setTickWidth(0); // stored as one pixel
        QCOMPARE(graph.sizeHint(), QSize(100 + 101, 10));
        graph.setMinorTick(14);
        QCOMPARE(graph.minimumSizeHint(), QSize(9 + 8, 14));
    }

    void ticksAreDrawnInTheBarColour()
    {
        BarGraph graph;
        graph.resize(200, 10);
        graph.show(); // the scale is drawn on the first resize
        graph.setBarColor(Qt::red);
        const QLabel *axis = graph.findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly).value(0);
        const QImage ticks = axis->pixmap(Qt::ReturnByValue).toImage();
        QCOMPARE(ticks.size(), QSize(200, 10));
        // Rising ticks: the first (major) tick fills the whole height at x 3..4,
        // a minor tick only the lower six rows.
        QCOMPARE(ticks.pixelColor(3, 0), QColor(Qt::red));
        QCOMPARE(ticks.pixelColor(3, 9), QColor(Qt::red));
        QCOMPARE(ticks.pixelColor(6, 2).alpha(), 0);
        QCOMPARE(ticks.pixelColor(6, 8), QColor(Qt::red));
        QCOMPARE(ticks.pixelColor(5, 5).alpha(), 0); // the gap
        QCOMPARE(graph.minimumHeight(), 10);
    }
};

VESK_TEST_MAIN(TestBarGraph)
#include "tst_bargraph.moc"
