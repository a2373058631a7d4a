// The plot's measuring cursors: time and voltage read-outs, the limits of
// both cursor pairs, the Track, Automatic and Manual horizontal cursors on a
// known frame, the read-out colours per measured channel, XY mode, the zero
// markers and the logic labels on their rows.
#include "testmain.h"
#include "scopeframefeeder.h"
#include "veskinterface.h"
#include "ui_veskinterface.h"

#include "cursorreadouts.h"
#include "scopeoptions.h"

#include <cmath>
#include <functional>

namespace {

const QString micro(QChar(0x00B5));

// One block of CH1 (and CH2 at half its value when asked) at a time/div
// index, with a gain-0 record for each channel.
QByteArray makeFrame(int timeBase, const std::function<int(int)> &ch1, bool withCh2 = false)
{
    ScopeFrameFeeder::FrameRecipe recipe;
    recipe.timeBase = timeBase;
    recipe.ch2 = withCh2;
    recipe.ch1Sample = ch1;
    recipe.ch2Sample = [ch1](int i) { return ch1(i) / 2; };
    channela_t record = ScopeFrame::defaultRecord();
    record.gain = 0;
    recipe.ch1Record = recipe.ch2Record = record;
    return ScopeFrameFeeder::makeFrame(recipe);
}

void show(VeskInterface &w, const QByteArray &bytes, bool withCh2 = false, bool meterOnDevice = false)
{
    w.mainMode = 0;
    w.ui->checkBoxmeterondev->setChecked(meterOnDevice);
    w.ui->checkBoxCH1Trace->setChecked(true);
    w.ui->checkBoxCH2Trace->setChecked(withCh2);
    w.ui->checkBoxCHDTrace->setChecked(false);
    {
        const QSignalBlocker blocker(w.ui->comboBoxADCBuffer);
        w.ui->comboBoxADCBuffer->setCurrentIndex(0);
    }
    ScopeFrameFeeder::deliver(w, bytes);
    ScopeFrameFeeder::tick(w);
}

void setChecked(QCheckBox *box, bool on)
{
    if (box->isChecked() != on)
        box->click();
}

// Pixel y of the line a sideways handle hangs out, x of an upright one's.
double lineY(QCPItemPixmap *handle)
{
    return handle->right->pixelPosition().y();
}

double lineX(QCPItemPixmap *handle)
{
    return handle->bottom->pixelPosition().x();
}

// Within a pixel: the handle's rectangle is whole pixels.
bool nearPixel(double actual, double expected)
{
    return qAbs(actual - expected) <= 1;
}

// The sample ramp of the known frame: -32 .. 31, again and again.
int ramp(int i)
{
    return i % 64 - 32;
}

} // namespace

class TestScopeCursors : public QObject
{
    Q_OBJECT

private slots:
    void timeReadouts_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("timeBase");
        QTest::addColumn<QString>("delta");
        QTest::addColumn<QString>("frequency");
        QTest::newRow("2ms/div, 64 samples") << 64 << 192 << 8 << "ΔT =  8.000 ms" << "1/ΔT =  125.0 Hz";
        QTest::newRow("B left of A") << 192 << 64 << 8 << "ΔT =  8.000 ms" << "1/ΔT =  125.0 Hz";
        QTest::newRow("half samples truncated") << 65 << 193 << 8 << "ΔT =  8.000 ms" << "1/ΔT =  125.0 Hz";
        QTest::newRow("8µs/div") << 0 << 32 << 0 << "ΔT =  8.000 " + micro + "s" << "1/ΔT =  125.0 kHz";
        QTest::newRow("1s/div") << 8 << 328 << 16 << "ΔT =  10.00 s" << "1/ΔT =  100.0 mHz";
        QTest::newRow("one place: no frequency") << 100 << 100 << 8 << "ΔT =  0.000 ms" << "1/ΔT =  -- Hz";
        QTest::newRow("within one sample") << 100 << 101 << 3 << "ΔT =  0.000 " + micro + "s"
                                           << "1/ΔT =  -- kHz";
    }
    void timeReadouts()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, timeBase);
        const CursorReadouts::TimeTexts texts = CursorReadouts::timeTexts(a, b, timeBase);
        QTEST(texts.delta, "delta");
        QTEST(texts.frequency, "frequency");
    }

    void voltReadouts_data()
    {
        QTest::addColumn<int>("levelA");
        QTest::addColumn<int>("levelB");
        QTest::addColumn<int>("gain");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("delta");
        QTest::newRow("8V/div, one division each way") << 64 << -64 << 0 << "Va =  8.00 V" << "Vb = -8.00 V"
                                                       << "ΔV =  16.0 V";
        QTest::newRow("50mV/div") << 32 << 0 << 7 << "Va =  25.0 mV" << "Vb =  0.00 mV" << "ΔV =  25.0 mV";
        QTest::newRow("B above A") << -10 << 118 << 6 << "Va = -0.02 V" << "Vb =  0.18 V" << "ΔV = -0.20 V";
        QTest::newRow("no gain reads as the last range") << 64 << 0 << 10 << "Va =  12.5 mV" << "Vb =  0.00 mV"
                                                         << "ΔV =  12.5 mV";
    }
    void voltReadouts()
    {
        QFETCH(int, levelA);
        QFETCH(int, levelB);
        QFETCH(int, gain);
        const CursorReadouts::VoltTexts texts = CursorReadouts::voltTexts(levelA, levelB, gain);
        QTEST(texts.a, "a");
        QTEST(texts.b, "b");
        QTEST(texts.delta, "delta");
    }

    void horizontalLimits_data()
    {
        QTest::addColumn<int>("coordinate");
        QTest::addColumn<int>("zeroLine");
        QTest::addColumn<int>("kept");
        QTest::newRow("far above the trace") << 5000 << 640 << 896;
        QTest::newRow("far below the trace") << -50 << 640 << 384;
        QTest::newRow("near the top") << 1280 << 1152 << 1272;
        QTest::newRow("near the bottom") << 0 << 128 << 8;
        QTest::newRow("inside") << 700 << 640 << 700;
    }
    void horizontalLimits()
    {
        QFETCH(int, coordinate);
        QFETCH(int, zeroLine);
        QTEST(CursorReadouts::clampHorizontal(coordinate, zeroLine, 1280), "kept");
    }

    // A loaded trace may hold any finite value; the level taken from it stays on the plot.
    void levelsFromTraceValues_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("level");
        QTest::newRow("on the plot") << 700.7 << 60;
        QTest::newRow("beyond int") << 3e9 << 640;
        QTest::newRow("huge negative") << -1e300 << -640;
    }
    void levelsFromTraceValues()
    {
        QFETCH(double, value);
        QTEST(CursorReadouts::traceLevel(value, 640, 1280), "level");
    }

    // The read-outs of a known frame: time between the vertical cursors at
    // the frame's time base, volts of the horizontal cursors at its gain.
    void readoutsOfAKnownFrame()
    {
        VeskInterface w;
        w.ui->comboBoxScopeCursorsHorizontalType->setCurrentIndex(2); // Manual
        w.ui->comboBoxScopeCursorsChannel->setCurrentIndex(0);
        setChecked(w.ui->checkBoxCursorVertical, true);
        setChecked(w.ui->checkBoxScopeCursorsHorizontal, true);
        w.vCursorAPosition = 64;
        w.vCursorBPosition = 192;
        w.hCursorCh1AValue = 64;
        w.hCursorCh1BValue = -64;
        const QByteArray bytes = makeFrame(8, ramp);
        show(w, bytes);
        QCOMPARE(w.vCursorDeltaLabel->text(), QStringLiteral("ΔT =  8.000 ms"));
        QCOMPARE(w.vCursorFrequencyLabel->text(), QStringLiteral("1/ΔT =  125.0 Hz"));
        QCOMPARE(w.hCursorALabel->text(), QStringLiteral("Va =  8.00 V"));
        QCOMPARE(w.hCursorBLabel->text(), QStringLiteral("Vb = -8.00 V"));
        QCOMPARE(w.hCursorDeltaLabel->text(), QStringLiteral("ΔV =  16.0 V"));
        for (QCPAbstractItem *item : std::initializer_list<QCPAbstractItem *>{
                 w.vCursorAHandle, w.vCursorBLine, w.vCursorDeltaLabel, w.hCursorAHandle, w.hCursorBLine,
                 w.hCursorDeltaLabel})
            QVERIFY(item->visible());
        QVERIFY(!w.cursorTracers[0]->visible());

        // Cursors on one spot: a time of zero has no frequency.
        w.vCursorBPosition = 64;
        w.replotRequest = true;
        QVERIFY(QMetaObject::invokeMethod(&w, "dataShow", Qt::DirectConnection));
        QCOMPARE(w.vCursorFrequencyLabel->text(), QStringLiteral("1/ΔT =  -- Hz"));
    }

    // Automatic puts A and B on the trace's highest and lowest points; Track
    // puts them where the time cursors cross the trace; Manual leaves them.
    void horizontalCursorTypes_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("channel");
        QTest::addColumn<int>("levelA");
        QTest::addColumn<int>("levelB");
        // The ramp spans -32 .. 31 raw, 1.5625 plot units each; CH2 carries half of it.
        QTest::newRow("Automatic on CH1") << 1 << 0 << 48 << -50;
        QTest::newRow("Automatic on CH2") << 1 << 1 << 23 << -25;
        // Time cursors at samples 32 (raw 0) and 50 (raw 18: 28.125 units).
        QTest::newRow("Track on CH1") << 0 << 0 << 0 << 28;
        QTest::newRow("Track on CH2") << 0 << 1 << 0 << 14;
        QTest::newRow("Manual") << 2 << 0 << 7 << -9;
    }
    void horizontalCursorTypes()
    {
        QFETCH(int, type);
        QFETCH(int, channel);
        VeskInterface w;
        w.ui->comboBoxScopeCursorsHorizontalType->setCurrentIndex(type);
        w.ui->comboBoxScopeCursorsChannel->setCurrentIndex(channel);
        setChecked(w.ui->checkBoxScopeCursorsHorizontal, true);
        int &levelA = channel == 0 ? w.hCursorCh1AValue : w.hCursorCh2AValue;
        int &levelB = channel == 0 ? w.hCursorCh1BValue : w.hCursorCh2BValue;
        levelA = 7;
        levelB = -9;
        w.ui->ch1PositionSlider->setValue(100);
        w.ui->ch2PositionSlider->setValue(-100);
        w.vCursorAPosition = 64;
        w.vCursorBPosition = 100;
        const QByteArray bytes = makeFrame(8, ramp, true);
        show(w, bytes, true);
        QTEST(levelA, "levelA");
        QTEST(levelB, "levelB");
        const int zero = channel == 0 ? w.ch1Position : w.ch2Position;
        QCPAxis *y = w.ui->plotterWidget->yAxis;
        QCOMPARE(w.hCursorAHandle->topLeft->pixelPosition().x(), 14.0);
        QVERIFY(nearPixel(lineY(w.hCursorAHandle), y->coordToPixel(zero + levelA)));
        QVERIFY(nearPixel(lineY(w.hCursorBHandle), y->coordToPixel(zero + levelB)));
        // Only the measured channel's tracers show, and only while tracking.
        for (int i = 0; i < 4; ++i)
            QCOMPARE(w.cursorTracers[i]->visible(), type == 0 && i / 2 == channel);
    }

    void draggedHorizontalCursorStaysNearItsTrace()
    {
        VeskInterface w;
        w.ui->comboBoxScopeCursorsChannel->setCurrentIndex(0);
        w.ui->ch1PositionSlider->setValue(-100);
        w.hCursorAPosition = 5000;
        w.hCursorRefreshA();
        QCOMPARE(w.hCursorAPosition, w.ch1Position + 256);
        QCOMPARE(w.hCursorCh1AValue, 256);
        w.hCursorBPosition = -5000;
        w.hCursorRefreshB();
        QCOMPARE(w.hCursorBPosition, w.ch1Position - 256);
        QCOMPARE(w.hCursorCh1BValue, -256);
        QVERIFY(nearPixel(lineY(w.hCursorBHandle), w.ui->plotterWidget->yAxis->coordToPixel(w.ch1Position - 256)));
    }

    // A smaller frame narrows the range the time cursors may take.
    void verticalCursorsStayInsideTheFrame()
    {
        VeskInterface w;
        w.ui->comboBoxScopeCursorsHorizontalType->setCurrentIndex(2); // Manual
        setChecked(w.ui->checkBoxCursorVertical, true);
        w.vCursorAPosition = 2;
        w.vCursorBPosition = 1400;
        const QByteArray bytes = makeFrame(8, ramp);
        show(w, bytes);
        QCOMPARE(w.vCursorAPosition, 8);
        QCOMPARE(w.vCursorBPosition, 504);
        QVERIFY(nearPixel(lineX(w.vCursorBHandle), w.ui->plotterWidget->xAxis->coordToPixel(504)));
        QCOMPARE(w.vCursorBHandle->topLeft->pixelPosition().y(), 12.0);
    }

    // On a narrow plot the time read-outs reach far to the left: wherever a
    // time cursor stands, its handle leaves their digits clear.
    void timeReadoutsClearOfTheHandles()
    {
        VeskInterface w;
        w.ui->comboBoxScopeCursorsHorizontalType->setCurrentIndex(2); // Manual
        setChecked(w.ui->checkBoxCursorVertical, true);
        w.vCursorAPosition = 64;
        w.vCursorBPosition = 192;
        show(w, makeFrame(8, ramp));
        QCustomPlot *plot = w.ui->plotterWidget;
        plot->setFixedWidth(265);
        w.resize(1366, 768);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(plot->width(), 265);
        // The view spans the frame, so the cursors may stand anywhere across it.
        plot->xAxis->setRange(0, 512);
        plot->replot();
        const auto textRect = [](const QCPItemText *text) {
            return QRectF(text->topLeft->pixelPosition(), text->bottomRight->pixelPosition());
        };
        for (int position = w.vCursorRangeMin; position <= w.vCursorRangeMax; position += 8) {
            w.vCursorAPosition = position;
            w.vCursorRefresh();
            const QRectF handle(w.vCursorAHandle->topLeft->pixelPosition(), w.vCursorAHandle->pixmap().size());
            for (const QCPItemText *readout : {w.vCursorDeltaLabel, w.vCursorFrequencyLabel})
                QVERIFY2(!textRect(readout).intersects(handle),
                         qPrintable(QStringLiteral("\"%1\" under the handle at %2").arg(readout->text()).arg(position)));
        }
    }

    // Automatic time cursors stand on the instrument's crossings, one period
    // apart. Where a crossing lies in the first or last four samples, which
    // a cursor may not reach, the pair moves in whole and keeps the period.
    void automaticTimeCursorsSpanThePeriod_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        // One block: the cursors may take plot x 8 .. 504, samples 4 .. 252.
        QTest::newRow("first crossing at 0") << 0 << 13 << 8 << 34;
        QTest::newRow("first crossing at 1") << 1 << 13 << 8 << 32;
        QTest::newRow("first crossing at 2") << 2 << 15 << 8 << 34;
        QTest::newRow("first crossing at 3") << 3 << 16 << 8 << 34;
        QTest::newRow("first crossing at 4") << 4 << 16 << 8 << 32;
        QTest::newRow("second crossing at 252") << 239 << 252 << 478 << 504;
        QTest::newRow("second crossing at 253") << 240 << 253 << 478 << 504;
        QTest::newRow("second crossing at 255") << 242 << 255 << 478 << 504;
        QTest::newRow("a period longer than the range") << 2 << 254 << 8 << 504;
    }
    void automaticTimeCursorsSpanThePeriod()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        VeskInterface w;
        w.ui->comboBoxScopeCursorsHorizontalType->setCurrentIndex(1); // Automatic
        w.ui->comboBoxScopeCursorsChannel->setCurrentIndex(0);
        setChecked(w.ui->checkBoxCursorVertical, true);
        ScopeFrameFeeder::FrameRecipe recipe;
        channela_t record = ScopeFrame::defaultRecord();
        record.period = (second - first) * 100;
        record.firstCrossing = uint16_t(first);
        record.secondCrossing = uint16_t(second);
        recipe.ch1Record = record;
        const QByteArray bytes = ScopeFrameFeeder::makeFrame(recipe);
        show(w, bytes, false, true);
        QTEST(w.vCursorAPosition, "a");
        QTEST(w.vCursorBPosition, "b");
        QVERIFY(nearPixel(lineX(w.vCursorAHandle), w.ui->plotterWidget->xAxis->coordToPixel(w.vCursorAPosition)));
        QVERIFY(nearPixel(lineX(w.vCursorBHandle), w.ui->plotterWidget->xAxis->coordToPixel(w.vCursorBPosition)));
    }

    void readoutsTakeTheMeasuredChannelsColour()
    {
        VeskInterface w;
        w.ui->comboBoxScopeCursorsChannel->setCurrentIndex(1);
        const QColor ch2 = w.ch2Pen.color();
        QVERIFY(ch2 != w.ch1Pen.color());
        for (QCPItemText *label : {w.vCursorDeltaLabel, w.vCursorFrequencyLabel, w.hCursorALabel,
                                   w.hCursorBLabel, w.hCursorDeltaLabel})
            QCOMPARE(label->color(), ch2);
        QCOMPARE(w.hCursorChannel, 1);
        w.ui->comboBoxScopeCursorsChannel->setCurrentIndex(0);
        QCOMPARE(w.hCursorALabel->color(), w.ch1Pen.color());
        QCOMPARE(w.vCursorDeltaLabel->color(), w.ch1Pen.color());
    }

    void trackingTurnsTheTimeCursorsOn()
    {
        VeskInterface w;
        w.ui->comboBoxScopeCursorsHorizontalType->setCurrentIndex(1);
        setChecked(w.ui->checkBoxCursorVertical, false);
        QVERIFY(!w.vCursorVisible);
        w.ui->comboBoxScopeCursorsHorizontalType->setCurrentIndex(0);
        QVERIFY(w.ui->checkBoxCursorVertical->isChecked());
        QVERIFY(w.vCursorVisible && w.vCursorAHandle->visible() && w.vCursorFrequencyLabel->visible());
    }

    // XY mode has no time axis, and CH1 lies on x: the time cursors are off
    // and horizontal cursors on CH1 hidden; CH1's zero marker stands on top.
    void xyMode()
    {
        VeskInterface w;
        w.ui->comboBoxScopeCursorsChannel->setCurrentIndex(0);
        setChecked(w.ui->checkBoxCursorVertical, true);
        setChecked(w.ui->checkBoxScopeCursorsHorizontal, true);
        setChecked(w.ui->xyMode, true);
        const QByteArray bytes = makeFrame(8, ramp);
        show(w, bytes);
        QVERIFY(!w.vCursorVisible && !w.vCursorBHandle->visible() && !w.vCursorDeltaLabel->visible());
        QVERIFY(!w.hCursorAHandle->visible() && !w.hCursorALabel->visible());
        QVERIFY(w.ch1ZeroVerticalHead->visible() && w.ch1ZeroIndicatorLines[1]->visible());
        QVERIFY(!w.ch1ZeroHead->visible() && !w.ch1ZeroIndicatorLines[0]->visible());
        QVERIFY(nearPixel(lineX(w.ch1ZeroVerticalHead), w.ui->plotterWidget->xAxis->coordToPixel(w.xyZeroKey())));

        // CH2 keeps its horizontal cursors in XY mode.
        w.ui->comboBoxScopeCursorsChannel->setCurrentIndex(1);
        QVERIFY(w.hCursorVisible);

        setChecked(w.ui->xyMode, false);
        w.replotRequest = true;
        QVERIFY(QMetaObject::invokeMethod(&w, "dataShow", Qt::DirectConnection));
        QVERIFY(w.ch1ZeroHead->visible() && !w.ch1ZeroVerticalHead->visible());
    }

    void logicLabelsOnTheirRows_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("side");
        QTest::newRow("left, thin traces") << 0 << -600 << 0;
        QTest::newRow("right, tall traces") << 44 << -200 << 1;
    }
    void logicLabelsOnTheirRows()
    {
        QFETCH(int, size);
        QFETCH(int, position);
        QFETCH(int, side);
        VeskInterface w;
        w.scopeOptions->logicLabelPosition = side;
        w.ui->chdSizeSlider->setValue(size);
        w.ui->chdPositionSlider->setValue(position);
        w.logicLabelsRefresh();
        const QRect rect = w.ui->plotterWidget->axisRect()->rect();
        const double x = w.ui->plotterWidget->xAxis->coordToPixel(w.logicLabels[0]->position->coords().x());
        QCOMPARE(qRound(x), side == 0 ? rect.left() + 46 : rect.right() - 50);
        for (int bit = 0; bit < 8; ++bit) {
            const double bottom = bit * (size + 20) + position + 640;
            QCOMPARE(w.logicLabels[bit]->position->coords().y(), bottom + size / 6 + 5);
        }
    }

    void screenshotWithCursors()
    {
        VeskInterface w;
        w.resize(1280, 800);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.ui->plotterWidget->xAxis->setRange(0, 512);
        w.ui->plotterWidget->yAxis->setRange(320, 960);
        w.ui->comboBoxScopeCursorsHorizontalType->setCurrentIndex(0); // Track
        w.ui->comboBoxScopeCursorsChannel->setCurrentIndex(0);
        setChecked(w.ui->checkBoxCursorVertical, true);
        setChecked(w.ui->checkBoxScopeCursorsHorizontal, true);
        w.vCursorAPosition = 100;
        w.vCursorBPosition = 300;
        const QByteArray bytes =
            makeFrame(8, [](int i) { return int(std::lround(80 * std::sin(2 * M_PI * i / 128.0))); });
        show(w, bytes);
        QCoreApplication::processEvents();
        w.ui->plotterWidget->replot();
        QVERIFY(w.vCursorDeltaLabel->visible() && w.hCursorALabel->visible() && w.cursorTracers[1]->visible());
        QVERIFY(w.grab().toImage().save(VeskTest::artifactPath(QStringLiteral("scope-cursors.png"))));
    }
};

VESK_TEST_MAIN(TestScopeCursors)
#include "tst_scopecursors.moc"
