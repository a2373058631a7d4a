#include "testmain.h"
#include "configencoding.h"
#include "protocol.h"

#include <cmath>

using namespace ConfigEncoding;

class TestConfigEncoding : public QObject
{
    Q_OBJECT

private slots:
    void channelBits()
    {
        QCOMPARE(int(channelControls({})), 0);
        ChannelControls all{true, true, true, true, true, true, true};
        QCOMPARE(int(channelControls(all)), 0x7F);   // bit 7 always clear
        ChannelControls traceAndAc;
        traceAndAc.trace = true;
        traceAndAc.acCoupling = true;
        QCOMPARE(int(channelControls(traceAndAc)), 0x03);
        ChannelControls mathMultiply;
        mathMultiply.math = true;
        mathMultiply.multiply = true;
        QCOMPARE(int(channelControls(mathMultiply)), 0x50);
        QCOMPARE(int(logicControls(true, true)), 0x05);
        QCOMPARE(int(logicControls(false, true)), 0x04);
        QCOMPARE(int(logicBits({true, false, false, false, false, false, false, true})), 0x81);
    }

    void trigger_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("expected");
        QTest::newRow("rising edge, auto") << "auto" << "rising" << 0x88;
        QTest::newRow("negative slope, single") << "single" << "negative" << 0x34;
        QTest::newRow("window, normal") << "normal" << "window" << 0x42;
        QTest::newRow("falling edge, free") << "free" << "falling" << 0x91;
        QTest::newRow("positive slope, normal") << "normal" << "positive" << 0x22;
        QTest::newRow("dual edge reads as no mode bits") << "free" << "dual" << 0x01;
    }
    void trigger()
    {
        QFETCH(QString, type);
        QFETCH(QString, mode);
        QFETCH(int, expected);
        TriggerButtons b;
        b.free = type == "free";
        b.normal = type == "normal";
        b.single = type == "single";
        b.automatic = type == "auto";
        b.risingEdge = mode == "rising";
        b.fallingEdge = mode == "falling";
        b.positiveSlope = mode == "positive";
        b.negativeSlope = mode == "negative";
        b.window = mode == "window";
        QCOMPARE(int(triggerControls(b)), expected);
    }

    void sources()
    {
        std::array<bool, 10> none{};
        QCOMPARE(sourceCode(none, counterInputWhenNone), 10);
        QCOMPARE(sourceCode(none, gateSourceWhenNone), 0);
        std::array<bool, 10> bit3{};
        bit3[3] = true;
        QCOMPARE(sourceCode(bit3, 0), 5);
        std::array<bool, 10> schmittAndExt{};
        schmittAndExt[8] = schmittAndExt[9] = true;
        QCOMPARE(sourceCode(schmittAndExt, 0), 10);   // EXT is tested first
        std::array<bool, 10> schmitt{};
        schmitt[9] = true;
        QCOMPARE(sourceCode(schmitt, 0), 11);
    }

    void smallBytes()
    {
        QCOMPARE(int(mixedControls(true, false, true, true, true)), 0x1D);
        QCOMPARE(int(meterFrequencyControl(true, true)), 0x09);
        QCOMPARE(int(snifferUsart(7, 4)), 39);   // 115200 baud, 9 data bits
        SnifferOptions odd;
        odd.parityIndex = 2;
        odd.stopBitsIndex = 1;
        odd.cpolIndex = 1;
        QCOMPARE(int(snifferOptions(odd)), 0x47);
        SnifferOptions even;
        even.parityIndex = 1;
        even.ssInvertIndex = 1;
        even.cphaIndex = 1;
        even.synchro = true;
        even.parallelInvert = true;
        QCOMPARE(int(snifferOptions(even)), 0xB9);
    }

    void sweep()
    {
        SweepButtons b;
        b.pingPong = true;
        b.frequency = true;
        QCOMPARE(int(sweepControls(b)), 2);   // panel unchecked: no sweep target
        b.enabled = true;
        QCOMPARE(int(sweepControls(b)), 6);
        SweepButtons all{true, true, true, true, true, true, true};
        QCOMPARE(int(sweepControls(all)), 0x3F);
    }

    void wave()
    {
        const WaveChoice none = waveType({});
        QCOMPARE(none.code, 0);
        QVERIFY(none.name.isEmpty());
        std::array<bool, 8> constantAndSine{};
        constantAndSine[0] = constantAndSine[5] = true;
        QCOMPARE(waveType(constantAndSine).code, 5);
        QCOMPARE(waveType(constantAndSine).name, QString("Constant"));
        std::array<bool, 8> white{};
        white[7] = true;
        QCOMPARE(waveType(white).code, 6);
        QCOMPARE(waveType(white).name, QString("White Noise"));
    }

    void limits_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<qlonglong>("value");
        QTest::addColumn<qlonglong>("expected");
        QTest::newRow("offset -200") << "offset" << -200LL << 129LL;
        QTest::newRow("offset 127") << "offset" << 127LL << 127LL;
        QTest::newRow("offset -1") << "offset" << -1LL << 255LL;
        QTest::newRow("amplitude 500") << "amplitude" << 500LL << 232LL;
        QTest::newRow("amplitude -3") << "amplitude" << -3LL << 0LL;
        QTest::newRow("speed 0") << "speed" << 0LL << 1LL;
        QTest::newRow("speed 128") << "speed" << 128LL << 127LL;
        QTest::newRow("duty 0") << "duty" << 0LL << 1LL;
        QTest::newRow("duty 300") << "duty" << 300LL << 255LL;
        QTest::newRow("frequency 10") << "frequency" << 10LL << 48LL;
        QTest::newRow("frequency huge") << "frequency" << (1LL << 40) << 12500000LL;
        QTest::newRow("constant -29696") << "constant" << -29696LL << -29696LL;
        QTest::newRow("constant wraps to 16 bits") << "constant" << 70000LL << 4464LL;
    }
    void limits()
    {
        QFETCH(QString, item);
        QFETCH(qlonglong, value);
        QFETCH(qlonglong, expected);
        qlonglong actual = 0;
        if (item == "offset")
            actual = waveOffset(int(value));
        else if (item == "amplitude")
            actual = waveAmplitude(int(value));
        else if (item == "speed")
            actual = sweepSpeed(int(value));
        else if (item == "duty")
            actual = waveDuty(int(value));
        else if (item == "frequency")
            actual = waveFrequency(value);
        else if (item == "constant")
            actual = waveConstantLevel(int(value));
        QCOMPARE(actual, expected);
    }

    void autoTriggerSteps_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<int>("expected");
        QTest::newRow("shortest time-out") << 0.16384 << 3;
        QTest::newRow("longest time-out") << 10.4858 << 255;
        QTest::newRow("decimal just below a whole step") << 0.28672 << 6;
        QTest::newRow("decimal just above a whole step") << 0.2048 << 4;
    }
    void autoTriggerSteps()
    {
        QFETCH(double, seconds);
        QTEST(autoTrigger(seconds), "expected");
    }

    // Every value the five-decimal spin box can hold maps to its own step.
    void autoTriggerEverySpinBoxStep()
    {
        for (int step = 0; step <= 252; ++step) {
            const double seconds = std::round((0.16384 + step * 0.04096) * 1e5) / 1e5;
            QCOMPARE(autoTrigger(seconds), step + 3);
        }
    }

    void bufferLengths()
    {
        QCOMPARE(bufferBlocks(-1, CH_BLOCKS_MAX), 1);
        QCOMPARE(bufferBlocks(0, CH_BLOCKS_MAX), 1);
        QCOMPARE(bufferBlocks(20, CH_BLOCKS_MAX), 15);
        QCOMPARE(bufferBlocks(5, DAC_BLOCKS_MAX), 2);
        QCOMPARE(bufferSizeTexts(2), (QStringList{"256", "512"}));
        QCOMPARE(bufferSizeTexts(0), QStringList{"256"});
        QCOMPARE(bufferSizeTexts(15).last(), QStringLiteral("3840"));
        QCOMPARE(bufferSizeTexts(15).size(), 15);
    }
};

VESK_TEST_MAIN(TestConfigEncoding)
#include "tst_configencoding.moc"
