#include "testmain.h"
#include "logcapture.h"
#include "serialdeframer.h"

#include <QBuffer>

#include <vector>

namespace {

const QByteArray frameStart("\x0D\x0A\x46", 3);
const QByteArray streamStart("\x0D\x0A\x53", 3);
const QByteArray endMark("\x0A\x0D\x37", 3);

QByteArray body(int size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + seed) & 0x7F); // never a whole marker at a unit boundary
    return bytes;
}

QByteArray sample(char a, char b, char c)
{
    return QByteArray() + a + b + c;
}

// A deframer in the state a test names.
SerialDeframer deframerIn(const QString &start)
{
    SerialDeframer deframer;
    if (start == QLatin1String("frame hunting")) {
        deframer.setSamplingValue(20);
        deframer.setSamplingValue(5);
    } else if (start == QLatin1String("streamed hunting")) {
        deframer.setSamplingValue(11);
    }
    return deframer; // "fresh": as constructed, frame mode taking data at once
}

struct Run
{
    std::vector<int> deliveries;
    QByteArray output;
    qint64 left = 0;
};

Run runSteps(SerialDeframer &deframer, const QByteArray &input, int steps)
{
    QByteArray source = input;
    QBuffer buffer(&source);
    buffer.open(QIODevice::ReadOnly);
    Run run;
    run.output.fill('\xEE', SerialDeframer::OutputSize);
    for (int i = 0; i < steps; ++i)
        deframer.step(buffer, reinterpret_cast<unsigned char *>(run.output.data()),
                      [&run](int count) { run.deliveries.push_back(count); });
    run.left = buffer.bytesAvailable();
    return run;
}

} // namespace

class TestSerialDeframer : public QObject
{
    Q_OBJECT

private slots:
    void samplingValueChanges_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("primedSamples"); // stored after a start marker while at `first`
        QTest::addColumn<int>("second");
        QTest::addColumn<bool>("framingChanged");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("index");

        QTest::newRow("10 to 11 enters streamed mode") << 10 << 0 << 11 << true << 0 << 0;
        QTest::newRow("20 to 5 enters frame mode, index kept") << 20 << 2 << 5 << true << 0 << 2;
        QTest::newRow("20 to 30 resets nothing") << 20 << 2 << 30 << false << 1 << 2;
        QTest::newRow("10 to 10 resets nothing") << 10 << 0 << 10 << false << 1 << 0;
    }
    void samplingValueChanges()
    {
        QFETCH(int, first);
        QFETCH(int, primedSamples);
        QFETCH(int, second);

        SerialDeframer deframer;
        deframer.setSamplingValue(first);
        if (primedSamples > 0) {
            QByteArray input = streamStart;
            for (int i = 0; i < primedSamples; ++i)
                input += sample(1, 2, 3);
            runSteps(deframer, input, 1);
            QCOMPARE(deframer.sampleIndex(), primedSamples);
        }
        QTEST(deframer.setSamplingValue(second), "framingChanged");
        QCOMPARE(deframer.samplingValue(), second);
        QTEST(deframer.frameState(), "state");
        QTEST(deframer.sampleIndex(), "index");
    }

    void frameMode_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QByteArray>("delivered"); // the body, when one frame is expected
        QTest::addColumn<int>("state");
        QTest::addColumn<qint64>("left");

        const QByteArray payload = body(768, 3);
        QTest::newRow("aligned frame")
            << "frame hunting" << frameStart + payload + endMark << 3 << 1 << payload << 0 << qint64(0);
        QTest::newRow("two frames, one per three ticks")
            << "frame hunting" << frameStart + payload + endMark + frameStart + body(768, 5) + endMark
            << 6 << 2 << QByteArray() << 0 << qint64(0);
        // The hunt moves in whole units and so misses a marker one byte off.
        QTest::newRow("stray byte before the start marker")
            << "frame hunting" << "x" + frameStart + payload + endMark << 3 << 0 << QByteArray() << 0 << qint64(1);
        QTest::newRow("body not complete yet")
            << "frame hunting" << frameStart + payload.left(700) << 3 << 0 << QByteArray() << 1 << qint64(700);
        QTest::newRow("fresh deframer takes a body without a marker")
            << "fresh" << payload << 1 << 1 << payload << 2 << qint64(0);
        QTest::newRow("junk before the end marker is skipped")
            << "frame hunting" << frameStart + payload + sample(1, 2, 3) + endMark << 4 << 1 << payload << 0 << qint64(0);
        // The trailer hunt reads one unit per tick: 18 ticks take 54 of the
        // 771 bytes that follow the first body, and no second frame starts.
        QTest::newRow("missing end marker keeps hunting it")
            << "frame hunting" << frameStart + payload + frameStart + payload << 20 << 1 << payload << 2 << qint64(717);
    }
    void frameMode()
    {
        QFETCH(QString, start);
        QFETCH(QByteArray, input);
        QFETCH(int, steps);
        QFETCH(int, frames);
        QFETCH(QByteArray, delivered);

        SerialDeframer deframer = deframerIn(start);
        const Run run = runSteps(deframer, input, steps);
        QCOMPARE(run.deliveries, std::vector<int>(size_t(frames), SerialDeframer::FrameDeliverySize));
        if (!delivered.isEmpty()) {
            QCOMPARE(run.output.left(768), delivered);
            QCOMPARE(run.output.mid(768, 2), QByteArray(2, '\0'));
        }
        QTEST(deframer.frameState(), "state");
        QTEST(run.left, "left");
    }

    void streamedMode_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("samples");
        QTest::addColumn<QByteArray>("plane0"); // first bytes of each plane
        QTest::addColumn<QByteArray>("plane1");
        QTest::addColumn<QByteArray>("plane2");
        QTest::addColumn<int>("index");
        QTest::addColumn<qint64>("left");

        QTest::newRow("end marker restarts the planes")
            << streamStart + sample(1, 2, 3) + sample(4, 5, 6) + endMark + sample(7, 8, 9) << 1 << 3
            << QByteArray("\x07\x04", 2) << QByteArray("\x08\x05", 2) << QByteArray("\x09\x06", 2) << 1 << qint64(0);
        QTest::newRow("samples before the start marker are dropped")
            << sample(1, 2, 3) + sample(4, 5, 6) + streamStart + sample(7, 8, 9) << 1 << 1
            << QByteArray("\x07") << QByteArray("\x08") << QByteArray("\x09") << 1 << qint64(0);
        QTest::newRow("only whole units are read")
            << streamStart + sample(1, 2, 3) + sample(4, 5, 6) + "\x0A" << 1 << 2
            << QByteArray("\x01\x04", 2) << QByteArray("\x02\x05", 2) << QByteArray("\x03\x06", 2) << 2 << qint64(1);
    }
    void streamedMode()
    {
        QFETCH(QByteArray, input);
        QFETCH(int, steps);
        QFETCH(int, samples);
        QFETCH(QByteArray, plane0);
        QFETCH(QByteArray, plane1);
        QFETCH(QByteArray, plane2);

        SerialDeframer deframer = deframerIn(QStringLiteral("streamed hunting"));
        const Run run = runSteps(deframer, input, steps);
        QCOMPARE(run.deliveries, std::vector<int>(size_t(samples), SerialDeframer::UnitSize));
        QCOMPARE(run.output.mid(0, plane0.size()), plane0);
        QCOMPARE(run.output.mid(256, plane1.size()), plane1);
        QCOMPARE(run.output.mid(512, plane2.size()), plane2);
        QTEST(deframer.sampleIndex(), "index");
        QTEST(run.left, "left");
    }

    // More samples than a plane holds, without a marker: the planes fill up,
    // the rest is dropped with one warning, and the next marker starts over.
    void streamedModeKeepsWithinThePlanes()
    {
        LogCapture log;
        SerialDeframer deframer = deframerIn(QStringLiteral("streamed hunting"));
        QByteArray input = streamStart;
        for (int i = 0; i < 300; ++i)
            input += sample(char(i & 0x3F), 0x20, char(0x40 + (i & 0x1F)));
        input += endMark + sample(0x11, 0x12, 0x13);
        const Run run = runSteps(deframer, input, 3);

        QCOMPARE(run.deliveries.size(), size_t(SerialDeframer::PlaneSize + 1));
        QCOMPARE(deframer.sampleIndex(), 1);
        QCOMPARE(run.output.at(0), '\x11');
        QCOMPARE(run.output.at(255), char(255 & 0x3F));
        QCOMPARE(run.output.at(3 * 256 - 1), char(0x40 + (255 & 0x1F)));
        QCOMPARE(run.output.mid(768), QByteArray(2, '\xEE')); // nothing beyond the planes
        QCOMPARE(log.messages().filter(QStringLiteral("samples without a marker")).size(), 1);
    }
};

VESK_TEST_MAIN(TestSerialDeframer)
#include "tst_serialdeframer.moc"
