#include "testmain.h"
#include "scopeframecheck.h"


Q_DECLARE_METATYPE(ScopeFrameCheck::Verdict)

namespace {

// A frame of `count` bytes whose header carries the given fields.
QByteArray frameBytes(int count, uint8_t tag, uint8_t mask, uint16_t samples, uint16_t start)
{
    QByteArray bytes(count, '\0');
    frameconfig_t header{};
    header.frameType = tag;
    header.frameNumber = 7;
    header.channelMask = mask;
    header.analogMask = mask & 3;
    header.samplesPerChannel = samples;
    header.timeBase = 7;
    header.startIndex = start;
    if (count >= int(ScopeFrame::headerSize))
        ScopeFrame::writeHeader(header, reinterpret_cast<unsigned char *>(bytes.data()));
    return bytes;
}

} // namespace

class TestScopeFrameCheck : public QObject
{
    Q_OBJECT
private slots:
    void expectedLength_data()
    {
        QTest::addColumn<bool>("ch1");
        QTest::addColumn<bool>("ch2");
        QTest::addColumn<bool>("logic");
        QTest::addColumn<int>("adcIndex");
        QTest::addColumn<int>("length");
        QTest::newRow("CH1, one block") << true << false << false << 0 << 304;
        QTest::newRow("all traces, 15 blocks") << true << true << true << 14 << 11568;
        QTest::newRow("CH2 and logic, 3 blocks") << false << true << true << 2 << 1584;
        QTest::newRow("no trace") << false << false << false << 5 << 48;
        // The device is never asked for more than 15 blocks, so neither is the frame.
        QTest::newRow("index beyond the device's blocks") << true << false << false << 20 << 3888;
        QTest::newRow("negative index") << true << false << false << -1 << 304;
    }
    void expectedLength()
    {
        QFETCH(bool, ch1);
        QFETCH(bool, ch2);
        QFETCH(bool, logic);
        QFETCH(int, adcIndex);
        QFETCH(int, length);
        QCOMPARE(ScopeFrameCheck::expectedLength(ch1, ch2, logic, adcIndex), length);
    }

    void check_data()
    {
        using V = ScopeFrameCheck::Verdict;
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<int>("expected");
        QTest::addColumn<ScopeFrameCheck::Verdict>("verdict");
        QTest::newRow("CH1, one block") << frameBytes(304, 'A', 1, 256, 0) << 304 << V::Accepted;
        QTest::newRow("one byte too many") << frameBytes(305, 'A', 1, 256, 0) << 304 << V::LengthMismatch;
        QTest::newRow("largest frame") << frameBytes(11568, 'A', 7, 3840, 3839) << 11568 << V::Accepted;
        QTest::newRow("no blocks") << frameBytes(48, 'A', 0, 256, 0) << 48 << V::Accepted;
        QTest::newRow("wrong tag") << frameBytes(304, 'B', 1, 256, 0) << 304 << V::InvalidTag;
        QTest::newRow("short read") << frameBytes(5, 'A', 1, 256, 0) << 5 << V::LengthMismatch;
        QTest::newRow("samples not whole blocks")
            << frameBytes(348, 'A', 1, 300, 0) << 348 << V::InconsistentHeader;
        QTest::newRow("no samples") << frameBytes(48, 'A', 1, 0, 0) << 48 << V::InconsistentHeader;
        QTest::newRow("sixteen blocks")
            << frameBytes(4144, 'A', 1, 4096, 0) << 4144 << V::InconsistentHeader;
        QTest::newRow("huge sample count")
            << frameBytes(304, 'A', 1, 0xFF00, 0) << 304 << V::InconsistentHeader;
        QTest::newRow("mask bit beyond logic")
            << frameBytes(304, 'A', 0x09, 256, 0) << 304 << V::InconsistentHeader;
        QTest::newRow("mask announces more blocks than sent")
            << frameBytes(560, 'A', 7, 256, 0) << 560 << V::InconsistentHeader;
        QTest::newRow("mask announces fewer blocks than sent")
            << frameBytes(560, 'A', 4, 256, 0) << 560 << V::InconsistentHeader;
        QTest::newRow("ring start at the end")
            << frameBytes(304, 'A', 1, 256, 256) << 304 << V::InconsistentHeader;
        QTest::newRow("ring start on the last sample")
            << frameBytes(304, 'A', 1, 256, 255) << 304 << V::Accepted;
    }
    void check()
    {
        QFETCH(QByteArray, frame);
        QFETCH(int, expected);
        QFETCH(ScopeFrameCheck::Verdict, verdict);
        const auto result = ScopeFrameCheck::check(
            reinterpret_cast<const unsigned char *>(frame.constData()), frame.size(), expected);
        QCOMPARE(result.verdict, verdict);
        switch (verdict) {
        case ScopeFrameCheck::Verdict::InvalidTag:
            QCOMPARE(result.message, QStringLiteral("Scope data: Invalide header"));
            break;
        case ScopeFrameCheck::Verdict::InconsistentHeader:
            QVERIFY(result.message.startsWith(QStringLiteral("Scope data: ")));
            break;
        default:
            QVERIFY(result.message.isEmpty());
        }
    }

    void emptyHeaderBytes()
    {
        const frameconfig_t header = ScopeFrameCheck::emptyHeader(false, true, true, 2, 9);
        unsigned char bytes[10];
        ScopeFrame::writeHeader(header, bytes);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(bytes), 10).toHex(' '),
                 QByteArray("41 00 00 06 02 00 03 09 00 00"));
    }

    void recordRoundTrip()
    {
        channela_t record{};
        record.control = 0x85;
        record.gain = 9;
        record.spare = 3;
        record.max = -2;
        record.min = -128;
        record.rms = -300;
        record.average = -32768;
        record.period = -123456;
        record.firstCrossing = 40000;
        record.secondCrossing = 65535;
        record.timeBase = 21;
        unsigned char bytes[18];
        ScopeFrame::writeRecord(record, bytes);
        // Little-endian on the wire whatever the host.
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(bytes) + 9, 4).toHex(),
                 QByteArray("c01dfeff"));
        const channela_t back = ScopeFrame::readRecord(bytes);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(&back), 18),
                 QByteArray(reinterpret_cast<const char *>(&record), 18));

        // Only the settings fields come across; the measured fields stay.
        channela_t kept = ScopeFrame::defaultRecord();
        ScopeFrame::readRecordSettings(&kept, bytes);
        QCOMPARE(int(kept.control), 0x85);
        QCOMPARE(int(kept.gain), 9);
        QCOMPARE(int(kept.spare), 3);
        QCOMPARE(int(kept.timeBase), 21);
        QCOMPARE(int(kept.max), 100);
        QCOMPARE(int(kept.min), -100);
        QCOMPARE(int(kept.rms), 0);
        QCOMPARE(int(kept.average), 0);
        QCOMPARE(int(kept.period), 0);
        QCOMPARE(int(kept.firstCrossing), 64);
        QCOMPARE(int(kept.secondCrossing), 128);
    }
};

VESK_TEST_MAIN(TestScopeFrameCheck)
#include "tst_scopeframecheck.moc"
