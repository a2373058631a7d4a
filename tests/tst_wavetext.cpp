#include "testmain.h"

#include "recordframes.h"
#include "wavetext.h"

#include <QBuffer>

namespace
{
WaveText::Frame frameWith(std::initializer_list<std::pair<int, QVector<double>>> traces)
{
    WaveText::Frame frame;
    for (const auto &trace : traces)
        frame.traces[size_t(trace.first)] = trace.second;
    return frame;
}
}

class TestWaveText : public QObject
{
    Q_OBJECT

private slots:
    void waveFileLayout()
    {
        const QString text = WaveText::waveFile(frameWith({{0, {700, 640.5}}}));
        QCOMPARE(text, QString("CH1,700,640.5,<*>\nCH2,<*>\nBit0,<*>\nBit1,<*>\nBit2,<*>\nBit3,<*>\n"
                               "Bit4,<*>\nBit5,<*>\nBit6,<*>\nBit7,"));
    }

    void numbersHaveSixSignificantDigits_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("large") << 1234567.0 << "1.23457e+06";
        QTest::newRow("fraction") << 640.123456 << "640.123";
        QTest::newRow("negative") << -3.5 << "-3.5";
        QTest::newRow("integer") << 1280.0 << "1280";
    }

    void numbersHaveSixSignificantDigits()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QVERIFY(WaveText::waveFile(frameWith({{9, {value}}})).endsWith("Bit7," + text + ","));
    }

    void waveFileRoundTrip()
    {
        const WaveText::Frame written = frameWith({{0, {700, 640.5}}, {1, {-2, 0, 1e-3}}, {2, {1, 1, 0}}, {9, {5}}});
        int missing = -1;
        QString error;
        const WaveText::Frame read = WaveText::parseWaveFile(WaveText::waveFile(written), &missing, &error);
        QCOMPARE(missing, 0);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        for (int trace = 0; trace < WaveText::traceCount; ++trace)
            QCOMPARE(read.traces[size_t(trace)], written.traces[size_t(trace)]);
    }

    void waveFileFromOtherSystems_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("missing");
        QTest::addColumn<QVector<double>>("ch1");
        QTest::addColumn<QVector<double>>("bit7");
        QTest::newRow("CRLF line ends") << "CH1,1,2,<*>\r\nCH2,<*>\r\nBit0,<*>\r\nBit1,<*>\r\nBit2,<*>\r\n"
                                           "Bit3,<*>\r\nBit4,<*>\r\nBit5,<*>\r\nBit6,<*>\r\nBit7,3,"
                                        << 0 << QVector<double>{1, 2} << QVector<double>{3};
        QTest::newRow("labels not checked") << "X,4,<*>Y,<*>A,<*>B,<*><*><*><*><*><*>Z,9,"
                                            << 0 << QVector<double>{4} << QVector<double>{9};
        QTest::newRow("unreadable number is 0") << "CH1,1,abc,3,<*>" << 8 << QVector<double>{1, 0, 3}
                                                << QVector<double>{};
        QTest::newRow("truncated file") << "CH1,7,8," << 9 << QVector<double>{7, 8} << QVector<double>{};
        QTest::newRow("empty file") << "" << 9 << QVector<double>{} << QVector<double>{};
        QTest::newRow("extra parts ignored") << "CH1,1,<*><*><*><*><*><*><*><*><*>Bit7,2,<*>junk,5,"
                                             << 0 << QVector<double>{1} << QVector<double>{2};
    }

    void waveFileFromOtherSystems()
    {
        QFETCH(QString, text);
        QFETCH(int, missing);
        QFETCH(QVector<double>, ch1);
        QFETCH(QVector<double>, bit7);
        int absent = -1;
        QString error;
        const WaveText::Frame frame = WaveText::parseWaveFile(text, &absent, &error);
        QCOMPARE(absent, missing);
        QCOMPARE(error, QString());
        QCOMPARE(frame.traces[0], ch1);
        QCOMPARE(frame.traces[9], bit7);
    }

    // A value that is not a finite number refuses a wave file and ends a
    // record at its frame; huge finite values are read as they are.
    void valuesThatAreNotFinite_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("refused");
        QTest::newRow("nan") << "nan" << true;
        QTest::newRow("inf") << "inf" << true;
        QTest::newRow("minus inf") << "-inf" << true;
        QTest::newRow("beyond double") << "1e400" << true;
        QTest::newRow("huge") << "1e300" << false;
        QTest::newRow("beyond int") << "3e9" << false;
    }

    void valuesThatAreNotFinite()
    {
        QFETCH(QString, value);
        QFETCH(bool, refused);
        const QString wave = "CH1,1,<*>\nCH2,2," + value + ",<*>";
        int missing = -1;
        QString error;
        const WaveText::Frame frame = WaveText::parseWaveFile(wave, &missing, &error);
        QCOMPARE(error, refused ? QString("trace CH2 holds a value that is not a finite number") : QString());
        QCOMPARE(frame.traces[0], refused ? QVector<double>{} : QVector<double>{1});
        if (!refused)
            QCOMPARE(frame.traces[1], (QVector<double>{2, value.toDouble()}));

        const QString good = WaveText::recordBlock(3, frameWith({{0, {1}}}));
        const QString record = good + "4<*>\nCH1,<*>\nCH2,<*>\nBit0,<*>\nBit1,<*>\nBit2,<*>\nBit3,<*>\nBit4,<*>\n"
                               "Bit5,<*>\nBit6,<*>\nBit7,5," + value + ",----------" + good;
        const QList<WaveText::RecordedFrame> frames = recordFrames(record.toUtf8(), &error);
        QCOMPARE(frames.size(), refused ? 1 : 3);
        QCOMPARE(error, refused ? QString("frame 2: trace Bit7 holds a value that is not a finite number") : QString());
    }

    void recordRoundTrip()
    {
        const WaveText::Frame first = frameWith({{0, {700, 640.5}}, {4, {1, 0}}});
        const WaveText::Frame second = frameWith({{1, {12}}, {9, {1234567}}});
        const QString text = WaveText::recordBlock(7, first) + WaveText::recordBlock(21, second);
        QVERIFY(text.startsWith("7<*>\nCH1,700,640.5,<*>\n"));
        QVERIFY(text.endsWith("Bit7,1.23457e+06,----------"));
        QString error;
        const QList<WaveText::RecordedFrame> frames = recordFrames(text.toUtf8(), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(frames.size(), 2);
        QCOMPARE(frames[0].sampling, 7);
        QCOMPARE(frames[1].sampling, 21);
        QCOMPARE(frames[0].frame.traces[0], first.traces[0]);
        QCOMPARE(frames[0].frame.traces[4], first.traces[4]);
        QCOMPARE(frames[1].frame.traces[1], second.traces[1]);
        QCOMPARE(frames[1].frame.traces[9], QVector<double>{1234570});
    }

    // A damaged record keeps the whole frames before the damage.
    void damagedRecord_data()
    {
        const QString good = WaveText::recordBlock(3, frameWith({{0, {1}}}));
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QString>("error");
        QTest::newRow("trailing line end") << good + "\n" << 1 << "";
        QTest::newRow("no separator") << good + good.left(good.size() - 10) << 1 << "frame 2 has no separator";
        QTest::newRow("missing traces") << good + "4<*>\nCH1,1,<*>\nCH2,----------" << 1
                                        << "frame 2 has 2 traces instead of 10";
        QTest::newRow("no time/div index") << "CH1,<*>\n----------" << 0 << "frame 1 has no time/div index";
        QTest::newRow("separator only") << QString("----------") << 0 << "frame 1 has no time/div index";
        QTest::newRow("text ends at a NUL") << good + QChar(0) + good << 1 << "";
        QTest::newRow("block too long") << good + "4<*>\n" + QString(RecordReader::maxBlockBytes + RecordReader::defaultChunkBytes, 'x') + "----------"
                                        << 1 << "frame 2 is longer than 8 MiB";
    }

    void damagedRecord()
    {
        QFETCH(QString, text);
        QFETCH(int, frames);
        QFETCH(QString, error);
        QString reason;
        QCOMPARE(recordFrames(text.toUtf8(), &reason).size(), frames);
        QCOMPARE(reason, error);
    }

    // Blocks and separators split anywhere between two reads of the file.
    void recordReadInAnyChunks_data()
    {
        QTest::addColumn<int>("chunkBytes");
        for (int bytes : {1, 2, 9, 10, 11, 64, RecordReader::defaultChunkBytes})
            QTest::addRow("%d bytes", bytes) << bytes;
    }
    void recordReadInAnyChunks()
    {
        QFETCH(int, chunkBytes);
        const QList<WaveText::Frame> written = {frameWith({{0, {700, -640.5}}, {9, {-1}}}),
                                                frameWith({{1, {-12, 3}}, {9, {1, 0}}}), frameWith({})};
        QString text;
        for (int at = 0; at < written.size(); ++at)
            text += WaveText::recordBlock(at, written.at(at)).replace("\n", "\r\n");
        QString error;
        const QList<WaveText::RecordedFrame> frames = recordFrames(text.toUtf8(), &error, chunkBytes);
        QCOMPARE(error, QString());
        QCOMPARE(frames.size(), written.size());
        for (int at = 0; at < written.size(); ++at) {
            QCOMPARE(frames.at(at).sampling, at);
            for (int trace = 0; trace < WaveText::traceCount; ++trace)
                QCOMPARE(frames.at(at).frame.traces[size_t(trace)], written.at(at).traces[size_t(trace)]);
        }
    }

    // The first pass refuses what would send the instrument an index it cannot
    // take, wherever it lies, and a file with nothing to play; damage ends the
    // frames that play, and what lies beyond it is never looked at.
    void recordFirstPass_data()
    {
        const QString frame = WaveText::recordBlock(3, frameWith({{0, {1}}}));
        const QString damaged = "4<*>\nCH1,1,<*>\nCH2,----------";
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<int>("played");
        QTest::addColumn<QString>("error");
        QTest::newRow("whole") << frame + frame + frame << "" << 3 << "";
        QTest::newRow("bad index last") << frame + frame + WaveText::recordBlock(22, frameWith({}))
                                        << "frame 3 has the time/div index 22, outside 0..21" << 0 << "";
        QTest::newRow("negative index") << frame + WaveText::recordBlock(-1, frameWith({})) + frame
                                        << "frame 2 has the time/div index -1, outside 0..21" << 0 << "";
        QTest::newRow("empty") << "" << "the file holds no frame" << 0 << "";
        QTest::newRow("line ends only") << "\r\n\n" << "the file holds no frame" << 0 << "";
        QTest::newRow("a wave file") << WaveText::waveFile(frameWith({{0, {1}}})) << "frame 1 has no separator"
                                     << 0 << "";
        QTest::newRow("no index first") << "CH1,<*>\n----------" + frame << "frame 1 has no time/div index" << 0
                                        << "";
        QTest::newRow("damage after two") << frame + frame + damaged << "" << 2
                                          << "frame 3 has 2 traces instead of 10";
        QTest::newRow("unended after one") << frame + "5<*>\nCH1," << "" << 1 << "frame 2 has no separator";
        QTest::newRow("bad index after the end") << frame + "x<*>----------" + WaveText::recordBlock(99, frameWith({}))
                                                 << "" << 1 << "frame 2 has no time/div index";
    }
    void recordFirstPass()
    {
        QFETCH(QString, text);
        QFETCH(QString, refusal);
        QFETCH(int, played);
        QFETCH(QString, error);
        QBuffer buffer;
        buffer.setData(text.toUtf8());
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        RecordReader reader(&buffer, 16);
        QString reason;
        RecordReader::Check result;
        while ((result = reader.check(1, &reason)) == RecordReader::Check::Pending) {
        }
        QCOMPARE(result, refusal.isEmpty() ? RecordReader::Check::Passed : RecordReader::Check::Refused);
        QCOMPARE(reason, refusal);
        WaveText::RecordedFrame frame;
        int frames = 0;
        while (reader.next(&frame))
            ++frames;
        QCOMPARE(frames, played);
        QCOMPARE(reader.error(), refusal.isEmpty() ? error : refusal);
    }
};

VESK_TEST_MAIN(TestWaveText)
#include "tst_wavetext.moc"
