#include "testmain.h"

#include "wavetext.h"

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
        const QList<WaveText::RecordedFrame> frames = WaveText::parseRecordFile(record, &error);
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
        const QList<WaveText::RecordedFrame> frames = WaveText::parseRecordFile(text, &error);
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
    }

    void damagedRecord()
    {
        QFETCH(QString, text);
        QFETCH(int, frames);
        QFETCH(QString, error);
        QString reason;
        QCOMPARE(WaveText::parseRecordFile(text, &reason).size(), frames);
        QCOMPARE(reason, error);
    }
};

VESK_TEST_MAIN(TestWaveText)
#include "tst_wavetext.moc"
