#include "testmain.h"
#include "framehistory.h"
#include "framemeasurement.h"
#include "persistencegrid.h"
#include "persistenceshade.h"
#include "scopeframecheck.h"
#include "tracebuilder.h"
#include "tracereferences.h"

#include <cmath>

namespace {

// Recognisable samples: CH1 a ramp, CH2 a falling ramp, logic the index.
signed char ch1Sample(int i) { return static_cast<signed char>(i % 200 - 100); }
signed char ch2Sample(int i) { return static_cast<signed char>(50 - i % 100); }
unsigned char logicByte(int i) { return static_cast<unsigned char>(i * 7); }

struct Frame
{
    QByteArray bytes;
    const unsigned char *data() const { return reinterpret_cast<const unsigned char *>(bytes.constData()); }
    int size() const { return bytes.size(); }
};

Frame makeFrame(uint8_t mask, int blocks, uint16_t start = 0)
{
    const int n = blocks * 256;
    Frame frame;
    frame.bytes = QByteArray(int(ScopeFrame::frameLength(std::size_t(n), mask)), '\0');
    auto *bytes = reinterpret_cast<unsigned char *>(frame.bytes.data());
    frameconfig_t header{};
    header.frameType = 'A';
    header.channelMask = mask;
    header.samplesPerChannel = uint16_t(n);
    header.timeBase = 7;
    header.startIndex = start;
    ScopeFrame::writeHeader(header, bytes);
    for (int i = 0; i < n; ++i) {
        if (mask & 1)
            bytes[ScopeFrame::ch1BlockOffset() + i] = uint8_t(ch1Sample(i));
        if (mask & 2)
            bytes[ScopeFrame::ch2BlockOffset(n, mask) + i] = uint8_t(ch2Sample(i));
        if (mask & 4)
            bytes[ScopeFrame::logicBlockOffset(n, mask) + i] = logicByte(i);
    }
    return frame;
}

TraceBuilder::Settings settings()
{
    TraceBuilder::Settings s;
    s.ch1Position = 200;
    s.ch2Position = -100;
    s.logicPosition = -600;
    s.logicSize = 30;
    return s;
}

double analogY(signed char s, int position) { return 1.5625 * s + position + 640; }

TraceBuilder::Traces built(const unsigned char *frame, int size, const TraceBuilder::Settings &s)
{
    TraceBuilder::Traces traces;
    TraceBuilder::build(frame, size, s, &traces);
    return traces;
}

} // namespace

class TestTraceBuilder : public QObject
{
    Q_OBJECT
private slots:
    void layouts_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("blocks");
        for (int mask = 0; mask <= 7; ++mask)
            for (int blocks : {1, 3, 15})
                QTest::addRow("mask %d, %d blocks", mask, blocks) << mask << blocks;
    }
    void layouts()
    {
        QFETCH(int, mask);
        QFETCH(int, blocks);
        const Frame frame = makeFrame(uint8_t(mask), blocks);
        const TraceBuilder::Traces traces = built(frame.data(), frame.size(), settings());
        const int n = blocks * 256;
        QVERIFY(traces.valid);
        QCOMPARE(traces.sampleCount, n);
        QCOMPARE(traces.keys.size(), n);
        QCOMPARE(traces.ch1.size(), mask & 1 ? n : 0);
        QCOMPARE(traces.ch2.size(), mask & 2 ? n : 0);
        for (int bit = 0; bit < 8; ++bit) {
            QCOMPARE(traces.logicLevels[bit].size(), mask & 4 ? n : 0);
            QCOMPARE(traces.logicBaselines[bit].size(), mask & 4 ? n : 0);
        }
        for (int k : {0, 1, 255, n / 2 + 3, n - 1}) {
            QCOMPARE(traces.keys[k], 2.0 * k);
            if (mask & 1)
                QCOMPARE(traces.ch1[k], analogY(ch1Sample(k), 200));
            if (mask & 2)
                QCOMPARE(traces.ch2[k], analogY(ch2Sample(k), -100));
            if (mask & 4) {
                for (int bit = 0; bit < 8; ++bit) {
                    // Base lines 50 apart (size 30 + 20) from 640 - 600; a set bit 10 + 30 above.
                    const double line = bit * 50 + 40;
                    const bool set = (logicByte(k) >> bit) & 1;
                    QCOMPARE(traces.logicLevels[bit][k], set ? line + 40 : line);
                    QCOMPARE(traces.logicBaselines[bit][k], line - 1);
                }
            }
        }
    }

    // One Traces is filled frame after frame: nothing of an earlier frame
    // may survive into a later one, and copies taken from it stay as they were.
    void reusedTracesMatchFreshOnes()
    {
        TraceBuilder::Settings roll = settings();
        roll.rollMode = true;
        const Frame all = makeFrame(7, 15, 33);
        const Frame logicOnly = makeFrame(4, 1);
        const Frame ch2Only = makeFrame(2, 3, 5);
        Frame lying = makeFrame(1, 1);
        lying.bytes[6] = 2;
        TraceBuilder::Traces reused;
        QVector<double> keptCh1;
        for (const Frame *frame :
             std::initializer_list<const Frame *>{&all, &logicOnly, &all, &lying, &ch2Only}) {
            QCOMPARE(TraceBuilder::build(frame->data(), frame->size(), roll, &reused),
                     frame != &lying);
            const TraceBuilder::Traces fresh = built(frame->data(), frame->size(), roll);
            QCOMPARE(reused.valid, fresh.valid);
            QCOMPARE(reused.sampleCount, fresh.sampleCount);
            QCOMPARE(reused.ringStart, fresh.ringStart);
            QCOMPARE(reused.hasCh1, fresh.hasCh1);
            QCOMPARE(reused.hasCh2, fresh.hasCh2);
            QCOMPARE(reused.hasLogic, fresh.hasLogic);
            QCOMPARE(reused.keys, fresh.keys);
            QCOMPARE(reused.ch1, fresh.ch1);
            QCOMPARE(reused.ch2, fresh.ch2);
            QCOMPARE(reused.logicLevels, fresh.logicLevels);
            QCOMPARE(reused.logicBaselines, fresh.logicBaselines);
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(&reused.ch1Record), 18),
                     QByteArray(reinterpret_cast<const char *>(&fresh.ch1Record), 18));
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(&reused.ch2Record), 18),
                     QByteArray(reinterpret_cast<const char *>(&fresh.ch2Record), 18));
            QCOMPARE(reused.ch2MaxY, fresh.ch2MaxY);
            if (frame == &all)
                keptCh1 = reused.ch1;
        }
        QCOMPARE(keptCh1, built(all.data(), all.size(), roll).ch1);
    }

    void extremesOfTheBlock()
    {
        const Frame frame = makeFrame(3, 3);
        const TraceBuilder::Traces traces = built(frame.data(), frame.size(), settings());
        QCOMPARE(int(traces.ch1Record.min), -100);
        QCOMPARE(int(traces.ch1Record.max), 99);
        QCOMPARE(traces.ch1MinY, analogY(-100, 200));
        QCOMPARE(traces.ch1MaxY, analogY(99, 200));
        QCOMPARE(int(traces.ch2Record.min), -49);
        QCOMPARE(int(traces.ch2Record.max), 50);
        QCOMPARE(traces.ch2MaxY, analogY(50, -100));
        // The rest of the working records are the defaults.
        QCOMPARE(int(traces.ch1Record.firstCrossing), 64);
        QCOMPARE(int(traces.ch1Record.timeBase), 1);
    }

    void rollModeStartsAtTheRingStart_data()
    {
        QTest::addColumn<bool>("roll");
        QTest::addColumn<int>("firstSample");
        QTest::newRow("roll mode") << true << 100;
        QTest::newRow("roll mode off") << false << 0;
    }
    void rollModeStartsAtTheRingStart()
    {
        QFETCH(bool, roll);
        QFETCH(int, firstSample);
        const Frame frame = makeFrame(5, 1, 100);
        TraceBuilder::Settings s = settings();
        s.rollMode = roll;
        const TraceBuilder::Traces traces = built(frame.data(), frame.size(), s);
        QCOMPARE(traces.ringStart, firstSample);
        for (int k : {0, 155, 156, 255}) {
            const int sample = (firstSample + k) % 256;
            QCOMPARE(traces.keys[k], 2.0 * k);
            QCOMPARE(traces.ch1[k], analogY(ch1Sample(sample), 200));
            QCOMPARE(traces.logicLevels[0][k], logicByte(sample) & 1 ? 80.0 : 40.0);
        }
    }

    void xyModeDrawsAgainstCh1_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("roll");
        QTest::newRow("both channels") << 3 << 0 << false;
        QTest::newRow("both channels, rolling") << 3 << 17 << true;
        QTest::newRow("no CH1") << 2 << 0 << false;
    }
    void xyModeDrawsAgainstCh1()
    {
        QFETCH(int, mask);
        QFETCH(int, start);
        QFETCH(bool, roll);
        const Frame frame = makeFrame(uint8_t(mask), 1, uint16_t(start));
        TraceBuilder::Settings s = settings();
        s.xyMode = true;
        s.rollMode = roll;
        const TraceBuilder::Traces traces = built(frame.data(), frame.size(), s);
        if (!(mask & 1)) {
            // Nothing to draw against: no keys rather than bytes of another block.
            QVERIFY(traces.keys.isEmpty());
            return;
        }
        QCOMPARE(traces.keys.size(), 256);
        for (int k : {0, 99, 255}) {
            const int sample = (start + k) % 256;
            QCOMPARE(traces.keys[k], ch1Sample(sample) + 255.0);
            QCOMPARE(traces.ch2[k], analogY(ch2Sample(sample), -100));
        }
    }

    void unreadableHeadersDrawNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("size");
        Frame good = makeFrame(7, 1);
        auto patch = [&](int offset, QByteArray value) {
            QByteArray bytes = good.bytes;
            bytes.replace(offset, value.size(), value);
            return bytes;
        };
        QTest::newRow("more samples than the buffer") << patch(5, QByteArray("\x00\xff", 2)) << good.size();
        QTest::newRow("no samples") << patch(5, QByteArray("\x00\x00", 2)) << good.size();
        QTest::newRow("ring start beyond the block") << patch(8, QByteArray("\x00\x01", 2)) << good.size();
        QTest::newRow("unknown block bit") << patch(3, QByteArray("\x0f", 1)) << good.size();
        QTest::newRow("frame longer than the bytes") << good.bytes << good.size() - 1;
        QTest::newRow("not even a header") << good.bytes << 9;
    }
    void unreadableHeadersDrawNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, size);
        const TraceBuilder::Traces traces = built(reinterpret_cast<const unsigned char *>(bytes.constData()),
                                                size, settings());
        QVERIFY(!traces.valid);
        QVERIFY(traces.keys.isEmpty() && traces.ch1.isEmpty() && traces.ch2.isEmpty());
        QVERIFY(traces.logicLevels[0].isEmpty());
    }

    void emptyCacheDrawsFlatTraces()
    {
        QByteArray cache(int(ScopeFrame::bufferSize), '\0');
        auto *bytes = reinterpret_cast<unsigned char *>(cache.data());
        ScopeFrame::writeHeader(ScopeFrameCheck::emptyHeader(true, false, true, 2, 8), bytes);
        const TraceBuilder::Traces traces = built(bytes, cache.size(), settings());
        QVERIFY(traces.valid);
        QCOMPARE(traces.ch1, QVector<double>(768, 840));
        QVERIFY(traces.ch2.isEmpty());
        QCOMPARE(traces.logicLevels[7], QVector<double>(768, 7 * 50 + 40));
    }

    void measurements_data()
    {
        QTest::addColumn<bool>("onDevice");
        QTest::newRow("measured on the device") << true;
        QTest::newRow("measured from the samples") << false;
    }
    void measurements()
    {
        QFETCH(bool, onDevice);
        // CH1 a square of period 40, CH2 flat; the device's records say otherwise.
        Frame frame = makeFrame(3, 3);
        auto *bytes = reinterpret_cast<unsigned char *>(frame.bytes.data());
        for (int i = 0; i < 768; ++i) {
            bytes[10 + i] = uint8_t(i % 40 < 20 ? 80 : -80);
            bytes[10 + 768 + i] = uint8_t(12);
        }
        channela_t device = ScopeFrame::defaultRecord();
        device.control = 0x41;
        device.gain = 6;
        device.rms = 1234;
        device.period = 777;
        device.timeBase = 9;
        ScopeFrame::writeRecord(device, bytes + ScopeFrame::ch1RecordOffset(768, 3));
        device.gain = 2;
        ScopeFrame::writeRecord(device, bytes + ScopeFrame::ch2RecordOffset(768, 3));

        TraceBuilder::Traces traces = built(frame.data(), frame.size(), settings());
        FrameMeasurement::measure(frame.data(), onDevice, &traces);
        const channela_t &ch1 = traces.ch1Record;
        const channela_t &ch2 = traces.ch2Record;
        QCOMPARE(int(ch1.control), 0x41);
        QCOMPARE(int(ch1.gain), 6);
        QCOMPARE(int(ch1.timeBase), 9);
        QCOMPARE(int(ch2.gain), 2);
        if (onDevice) {
            QCOMPARE(int(ch1.period), 777);
            QCOMPARE(int(ch1.rms), 1234);
            QCOMPARE(int(ch1.max), 100);
            return;
        }
        QCOMPARE(int(ch1.period), 4000);
        QCOMPARE(ch1.secondCrossing - ch1.firstCrossing, 40);
        QCOMPARE(int(ch1.average), 0);
        QCOMPARE(int(ch1.rms), 80 * 128);
        QCOMPARE(int(ch1.max), 80);
        QCOMPARE(int(ch1.min), -80);
        QCOMPARE(int(ch2.period), 0);
        QCOMPARE(int(ch2.average), 12 * 128);

        const auto ch1Readings = FrameMeasurement::readings(ch1);
        // 0.1 V/div, 64 plot units per division, 1.5625 plot units per raw unit.
        QCOMPARE(ch1Readings.vpp, 0.1 * 160 * 1.5625 / 64);
        QCOMPARE(ch1Readings.rms, 0.1 * 80 * 1.5625 / 64);
        // 40 samples at 5 ms/div (16 samples per division): 12.5 ms.
        QCOMPARE(ch1Readings.frequency, 80.0);
        QVERIFY(std::isnan(FrameMeasurement::readings(ch2).frequency));
        channela_t topBitSet = ch1;
        topBitSet.period = int32_t(0x80000010u);
        QVERIFY(std::isnan(FrameMeasurement::readings(topBitSet).frequency));
    }

    void crossingCursors_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<int>("ringStart");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::newRow("no ring") << 4000 << 0 << 10 << 50 << 20 << 100;
        QTest::newRow("crossings before the ring start") << 4000 << 100 << 10 << 50 << 332 << 412;
        QTest::newRow("crossings after the ring start") << 4000 << 100 << 150 << 190 << 100 << 180;
        QTest::newRow("no period") << 0 << 0 << 10 << 50 << -1 << -1;
        // The cursors may take plot x 8 .. 504: a pair reaching out moves in whole.
        QTest::newRow("first crossing at the first sample") << 1300 << 0 << 0 << 13 << 8 << 34;
        QTest::newRow("second crossing at the last sample") << 1300 << 0 << 242 << 255 << 478 << 504;
        QTest::newRow("roll: the ring puts it at the end") << 1300 << 100 << 84 << 97 << 478 << 504;
        QTest::newRow("a pair wider than the range stays") << 25200 << 0 << 2 << 254 << 4 << 508;
    }
    void crossingCursors()
    {
        QFETCH(int, period);
        QFETCH(int, ringStart);
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(int, a);
        QFETCH(int, b);
        channela_t record = ScopeFrame::defaultRecord();
        record.period = period;
        record.firstCrossing = uint16_t(first);
        record.secondCrossing = uint16_t(second);
        int positionA = -1, positionB = -1;
        QCOMPARE(TraceBuilder::crossingCursorPositions(record, ringStart, 256, 8, 504, &positionA, &positionB),
                 period != 0);
        QCOMPARE(positionA, a);
        QCOMPARE(positionB, b);
    }

    void fadingHistoryKeepsTheLastFrames()
    {
        FrameHistory history;
        for (int frame = 1; frame <= 5; ++frame)
            history.append(QVector<double>(4, frame), 3);
        QCOMPARE(history.size(), 3);
        QCOMPARE(history.frames().first().first(), 3.0);
        QCOMPARE(history.frames().last().first(), 5.0);
        history.append(QVector<double>(4, 6), 1);
        QCOMPARE(history.size(), 1);
        QCOMPARE(history.frames().first().first(), 6.0);
        for (int frame = 0; frame < 50; ++frame)
            history.append(QVector<double>(4, frame), 1000);
        QCOMPARE(history.size(), FrameHistory::maxDepth);
        history.append(QVector<double>(4, 0), 0);
        QCOMPARE(history.size(), 0);
    }

    void persistenceShade_data()
    {
        QTest::addColumn<int>("theme");
        QTest::addColumn<int>("intensity");
        QTest::addColumn<double>("lightness");
        // Trace lightness 0.6: 0 keeps it, 10 goes to 0.05 (or its mirror on a light theme).
        QTest::newRow("dark, 0") << 0 << 0 << 0.6;
        QTest::newRow("dark, 5") << 0 << 5 << 0.325;
        QTest::newRow("dark, 10") << 0 << 10 << 0.05;
        QTest::newRow("light, 0") << 1 << 0 << 0.4;
        QTest::newRow("light, 10") << 1 << 10 << 0.95;
        QTest::newRow("custom follows dark") << 2 << 10 << 0.05;
        QTest::newRow("stored value beyond the slider") << 0 << 99 << 0.05;
        QTest::newRow("negative stored value") << 1 << -4 << 0.4;
    }
    void persistenceShade()
    {
        QFETCH(int, theme);
        QFETCH(int, intensity);
        QFETCH(double, lightness);
        QVERIFY(std::fabs(PersistenceShade::lightness(0.6, intensity, theme) - lightness) < 1e-12);
        const QColor trace = QColor::fromHslF(0.3, 0.5, 0.6);
        const QColor faded = PersistenceShade::faded(QColor::fromHslF(0.7, 0.8, 0.2), trace, intensity, theme);
        QVERIFY(faded.isValid());
        QVERIFY(std::fabs(faded.hslHueF() - 0.7) < 0.01);
        QVERIFY(std::fabs(faded.hslSaturationF() - 0.8) < 0.01);
        QVERIFY(std::fabs(faded.lightnessF() - lightness) < 0.01);
        QCOMPARE(faded.alphaF(), 1.0);
    }

    // Gathered persistence keeps each trace as its graph joins the points:
    // no gap along a steep edge, steps turning halfway, impulses from 0,
    // a break at a missing value, nothing kept outside the extent.
    void persistenceGrid_data()
    {
        const double nan = std::nan("");
        QTest::addColumn<int>("style");
        QTest::addColumn<QVector<QPointF>>("points");
        QTest::addColumn<QVector<QPointF>>("filled");
        QTest::addColumn<QVector<QPointF>>("empty");
        QTest::newRow("steep line") << int(QCPGraph::lsLine) << QVector<QPointF>{{100, 100}, {102, 900}}
                                    << QVector<QPointF>{{100, 100}, {100.5, 300}, {101, 500}, {102, 900}}
                                    << QVector<QPointF>{{100, 900}, {102, 100}, {101, 901}};
        QTest::newRow("centred steps") << int(QCPGraph::lsStepCenter) << QVector<QPointF>{{100, 100}, {102, 300}}
                                       << QVector<QPointF>{{100.5, 100}, {101, 200}, {101.5, 300}}
                                       << QVector<QPointF>{{100, 300}, {102, 100}, {101, 350}};
        QTest::newRow("impulse") << int(QCPGraph::lsImpulse) << QVector<QPointF>{{50, 400}}
                                 << QVector<QPointF>{{50, 0}, {50, 200}, {50, 400}}
                                 << QVector<QPointF>{{50, 401}, {51, 200}};
        QTest::newRow("bare points") << int(QCPGraph::lsNone) << QVector<QPointF>{{10, 10}, {20, 20}}
                                     << QVector<QPointF>{{10, 10}, {20, 20}} << QVector<QPointF>{{15, 15}};
        QTest::newRow("missing value breaks the line")
            << int(QCPGraph::lsLine) << QVector<QPointF>{{10, 10}, {12, nan}, {14, 30}}
            << QVector<QPointF>{{10, 10}, {14, 30}} << QVector<QPointF>{{12, 20}, {11, 15}};
        QTest::newRow("clipped to the extent")
            << int(QCPGraph::lsLine) << QVector<QPointF>{{-1e9, 5}, {10, 5}, {20, 1e9}}
            << QVector<QPointF>{{0, 5}, {10, 5}, {10, 1280}} << QVector<QPointF>{{20, 1280}, {1536, 1280}};
    }
    void persistenceGrid()
    {
        QFETCH(int, style);
        QFETCH(QVector<QPointF>, points);
        QFETCH(QVector<QPointF>, filled);
        QFETCH(QVector<QPointF>, empty);
        PersistenceGrid grid;
        grid.reset(1536, 1280);
        QVERIFY(grid.isEmpty());
        QCPGraphDataContainer data;
        for (const QPointF &point : points)
            data.add(QCPGraphData(point.x(), point.y()));
        grid.add(3, QCPGraph::LineStyle(style), data);
        for (const QPointF &point : filled)
            QVERIFY2(grid.idAt(point.x(), point.y()) == 3, qPrintable(QStringLiteral("%1, %2 not kept").arg(point.x()).arg(point.y())));
        for (const QPointF &point : empty)
            QVERIFY2(grid.idAt(point.x(), point.y()) == 0, qPrintable(QStringLiteral("%1, %2 kept").arg(point.x()).arg(point.y())));

        // Painted at any scale, every kept cell shows: here the whole extent
        // in 100 x 80 pixels, the later trace on top where two cross.
        QCPGraphDataContainer across;
        across.add(QCPGraphData(0, 640));
        across.add(QCPGraphData(1536, 640));
        grid.add(1, QCPGraph::lsLine, across);
        QImage image(100, 80, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        PersistenceGrid::Mapping mapping;
        mapping.keyScale = 100.0 / 1536;
        mapping.valueOffset = 80;
        mapping.valueScale = -80.0 / 1280;
        grid.paint(&image, mapping, {0, qRgb(255, 0, 0), 0, qRgb(0, 0, 255)});
        for (const QPointF &point : filled) {
            const QPoint pixel(qMin(99, int(point.x() * mapping.keyScale)), qMin(79, int(80 - point.y() / 16)));
            QCOMPARE(image.pixel(pixel), point.y() == 640 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
        }
        QCOMPARE(image.pixel(50, 40), qRgb(255, 0, 0));
    }

    void references()
    {
        QCOMPARE(TraceReferences::analogCaptureRange(200, 1280), qMakePair(-72, 952));
        QCOMPARE(TraceReferences::logicCaptureRange(-600, 1280), qMakePair(608, 1632));
        const Frame frame = makeFrame(7, 1);
        const TraceBuilder::Traces traces = built(frame.data(), frame.size(), settings());
        TraceReferences references;
        references.capture(traces);
        QCOMPARE(references.ch1(0), traces.ch1);
        QCOMPARE(references.ch2(-5).first(), traces.ch2.first() - 5);
        QCOMPARE(references.logic(3, 10).last(), traces.logicLevels[3].last() + 10);
        QVERIFY(references.logic(8, 0).isEmpty());
        // A later frame does not move what was captured.
        const Frame logicOnly = makeFrame(4, 1);
        const TraceBuilder::Traces later = built(logicOnly.data(), logicOnly.size(), settings());
        QCOMPARE(references.ch1(0), traces.ch1);
        references.capture(later);
        QVERIFY(references.ch1(0).isEmpty());
    }
};

VESK_TEST_MAIN(TestTraceBuilder)
#include "tst_tracebuilder.moc"
