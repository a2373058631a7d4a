#include "testmain.h"
#include "fft.h"
#include "fftwindow.h"
#include "fftspectrum.h"

#include <QRandomGenerator>
#include <cmath>

Q_DECLARE_METATYPE(FftWindow::Type)

namespace {

QVector<complex> directDft(const QVector<complex> &in, bool inverse)
{
    const int n = in.size();
    QVector<complex> out(n);
    const double sign = inverse ? 1 : -1;
    for (int k = 0; k < n; ++k) {
        complex sum;
        for (int t = 0; t < n; ++t) {
            const double angle = sign * 2 * M_PI * double(k) * t / n;
            sum = sum + in[t] * complex(std::cos(angle), std::sin(angle));
        }
        out[k] = sum;
    }
    return out;
}

double largestError(const QVector<complex> &a, const QVector<complex> &b)
{
    double error = 0;
    for (int k = 0; k < a.size(); ++k)
        error = qMax(error, (a[k] - b[k]).abs());
    return error;
}

QVector<complex> randomSignal(int n, quint32 seed)
{
    QRandomGenerator random(seed);
    QVector<complex> signal(n);
    for (auto &value : signal)
        value = complex(random.bounded(256.0) - 128, random.bounded(256.0) - 128);
    return signal;
}

} // namespace

class TestFft : public QObject
{
    Q_OBJECT
private slots:
    void refusesBadArguments_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("nullData");
        QTest::newRow("no points") << 0 << false;
        QTest::newRow("three points") << 3 << false;
        QTest::newRow("768 points") << 768 << false;
        QTest::newRow("null data") << 8 << true;
    }
    void refusesBadArguments()
    {
        QFETCH(int, size);
        QFETCH(bool, nullData);
        const QVector<complex> original = randomSignal(qMax(size, 1), 3);
        QVector<complex> data = original;
        QVector<complex> out(data.size(), complex(-1, -1));
        complex *in = nullData ? nullptr : data.data();
        QVERIFY(!CFFT::Forward(in, unsigned(size)));
        QVERIFY(!CFFT::Inverse(in, unsigned(size), true));
        QVERIFY(!CFFT::Forward(in, out.data(), unsigned(size)));
        QVERIFY(!CFFT::Inverse(in, out.data(), unsigned(size), false));
        QVERIFY(!CFFT::Forward(data.data(), nullptr, unsigned(size)));
        QVERIFY(data == original);
        QVERIFY(out == QVector<complex>(data.size(), complex(-1, -1)));
    }

    void matchesDirectTransform_data()
    {
        QTest::addColumn<int>("size");
        for (int size = 1; size <= 1024; size *= 2)
            QTest::addRow("%d points", size) << size;
    }
    void matchesDirectTransform()
    {
        QFETCH(int, size);
        const QVector<complex> signal = randomSignal(size, quint32(size));
        const QVector<complex> expected = directDft(signal, false);
        const double tolerance = 1e-9 * 128 * size;

        QVector<complex> outOfPlace(size);
        QVERIFY(CFFT::Forward(signal.constData(), outOfPlace.data(), unsigned(size)));
        QVERIFY2(largestError(outOfPlace, expected) < tolerance, "out of place");

        QVector<complex> inPlace = signal;
        QVERIFY(CFFT::Forward(inPlace.data(), unsigned(size)));
        QVERIFY2(largestError(inPlace, expected) < tolerance, "in place");

        QVector<complex> unscaled(size);
        QVERIFY(CFFT::Inverse(expected.constData(), unscaled.data(), unsigned(size), false));
        QVERIFY2(largestError(unscaled, directDft(expected, true)) < tolerance * size, "inverse");

        QVERIFY(CFFT::Inverse(inPlace.data(), unsigned(size), true));
        QVERIFY2(largestError(inPlace, signal) < tolerance, "round trip");
    }

    void knownTransforms()
    {
        QVector<complex> impulse(8);
        impulse[0] = complex(1);
        QVERIFY(CFFT::Forward(impulse.data(), 8));
        for (const complex &bin : impulse)
            QVERIFY(largestError({bin}, {complex(1)}) < 1e-12);

        QVector<complex> constant(256, complex(1));
        QVERIFY(CFFT::Forward(constant.data(), 256));
        QVERIFY(std::fabs(constant[0].re() - 256) < 1e-9);
        for (int k = 1; k < 256; ++k)
            QVERIFY2(constant[k].abs() < 1e-9, qPrintable(QString::number(k)));
    }

    void windowWeights_data()
    {
        QTest::addColumn<FftWindow::Type>("type");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("weight");
        QTest::newRow("rectangular") << FftWindow::Rectangular << 768 << 0 << 1.0;
        QTest::newRow("Hann start") << FftWindow::Hann << 768 << 0 << 0.0;
        QTest::newRow("Hann end") << FftWindow::Hann << 768 << 767 << 0.0;
        QTest::newRow("Hann quarter") << FftWindow::Hann << 5 << 1 << 0.5;
        QTest::newRow("Hann centre") << FftWindow::Hann << 5 << 2 << 1.0;
        QTest::newRow("Hamming start") << FftWindow::Hamming << 256 << 0 << 0.07672;
        QTest::newRow("Hamming centre") << FftWindow::Hamming << 5 << 2 << 1.0;
        QTest::newRow("Blackman start") << FftWindow::Blackman << 256 << 0 << 0.0;
        QTest::newRow("Blackman centre") << FftWindow::Blackman << 5 << 2 << 1.0;
        QTest::newRow("single sample") << FftWindow::Blackman << 1 << 0 << 1.0;
    }
    void windowWeights()
    {
        QFETCH(FftWindow::Type, type);
        QFETCH(int, size);
        QFETCH(int, index);
        QFETCH(double, weight);
        const QVector<double> weights = FftWindow::build(type, size);
        QCOMPARE(weights.size(), size);
        QVERIFY2(std::fabs(weights[index] - weight) < 1e-12, qPrintable(QString::number(weights[index])));
        for (int i = 0; i < size; ++i)
            QVERIFY(std::fabs(weights[i] - weights[size - 1 - i]) < 1e-12);
    }

    void hannPeaksInTheMiddleOfTheFrame()
    {
        const QVector<double> weights = FftWindow::build(FftWindow::Hann, 768);
        QVERIFY(weights[383] > 0.99999 && weights[383] == weights[384]);
        QVERIFY(weights[255] < weights[383]);
    }

    void windowFollowsFrameSize()
    {
        FftWindow window(FftWindow::Hann);
        QCOMPARE(window.weights(768).size(), 768);
        // A larger frame without a window change still gets a weight per sample.
        QCOMPARE(window.weights(3840).size(), 3840);
        QCOMPARE(window.weights(3840).at(0), 0.0);
        window.setType(FftWindow::Rectangular);
        QCOMPARE(window.weights(3840).at(0), 1.0);
        QCOMPARE(window.weights(256).size(), 256);
    }

    void spectrumScaling_data()
    {
        QTest::addColumn<bool>("logarithmic");
        QTest::addColumn<double>("bin0");
        const double magnitude = std::sqrt(2.0) * 2560;
        QTest::newRow("linear") << false << 0.05 * magnitude;
        QTest::newRow("logarithmic") << true << 16 * std::log2(magnitude);
    }
    void spectrumScaling()
    {
        QFETCH(bool, logarithmic);
        QFETCH(double, bin0);
        const QVector<signed char> ch1(768, 10);
        Spectrum::Settings settings;
        settings.logarithmic = logarithmic;
        const auto traces = Spectrum::compute(ch1.constData(), nullptr, ch1.size(),
                                              FftWindow::build(FftWindow::Rectangular, 768), settings);
        QCOMPARE(traces.keys.size(), 128);
        QCOMPARE(traces.keys.last(), 254.0);
        QCOMPARE(traces.ch1.size(), 128);
        QVERIFY(std::fabs(traces.ch1[0] - bin0) < 1e-6);
        QVERIFY(std::fabs(traces.ch1[0] - (logarithmic ? 189.1 : 181.0)) < 0.1);
        // Empty bins are drawn at the bottom, never at minus infinity.
        for (int j = 1; j < 128; ++j)
            QVERIFY2(std::isfinite(traces.ch1[j]) && std::fabs(traces.ch1[j]) < 1e-6,
                     qPrintable(QString::number(traces.ch1[j])));
        QVERIFY(traces.ch2.isEmpty());
    }

    void spectrumChannels_data()
    {
        QTest::addColumn<bool>("complexInput");
        QTest::addColumn<bool>("showCh1");
        QTest::addColumn<bool>("showCh2");
        QTest::addColumn<bool>("ch2Present");
        QTest::addColumn<int>("ch1Bins");
        QTest::addColumn<int>("ch2Bins");
        QTest::newRow("both channels") << false << true << true << true << 128 << 128;
        QTest::newRow("CH2 only") << false << false << true << true << 0 << 128;
        QTest::newRow("CH2 block absent") << false << true << true << false << 128 << 0;
        QTest::newRow("complex input") << true << false << true << true << 128 << 0;
        QTest::newRow("complex input without CH2") << true << true << true << false << 128 << 0;
    }
    void spectrumChannels()
    {
        QFETCH(bool, complexInput);
        QFETCH(bool, showCh1);
        QFETCH(bool, showCh2);
        QFETCH(bool, ch2Present);
        QFETCH(int, ch1Bins);
        QFETCH(int, ch2Bins);
        QVector<signed char> ch1(256), ch2(256);
        for (int i = 0; i < 256; ++i) {
            ch1[i] = static_cast<signed char>(std::lround(100 * std::cos(2 * M_PI * 8 * i / 256)));
            ch2[i] = static_cast<signed char>(std::lround(100 * std::sin(2 * M_PI * 8 * i / 256)));
        }
        Spectrum::Settings settings;
        settings.complexInput = complexInput;
        settings.ch1 = showCh1;
        settings.ch2 = showCh2;
        const auto traces = Spectrum::compute(ch1.constData(), ch2Present ? ch2.constData() : nullptr,
                                              256, FftWindow::build(FftWindow::Rectangular, 256),
                                              settings);
        QCOMPARE(traces.ch1.size(), ch1Bins);
        QCOMPARE(traces.ch2.size(), ch2Bins);
        if (complexInput && ch2Present) {
            // cos + j sin turns one way only: all energy in bin 8.
            QVERIFY(traces.ch1[8] > 0.05 * 25000);
            QVERIFY(traces.ch1[120] < 1);
        }
    }

    void complexInputStartsAtRingStart_data()
    {
        QTest::addColumn<int>("ringStart");
        QTest::addColumn<int>("firstBin");
        QTest::newRow("no ring") << 0 << 0;
        QTest::newRow("ring start 150") << 150 << 150;
        QTest::newRow("ring start beyond the transform") << 300 << 0;
    }
    void complexInputStartsAtRingStart()
    {
        QFETCH(int, ringStart);
        QFETCH(int, firstBin);
        QVector<signed char> ch1(256), ch2(256);
        QVector<complex> bins(256);
        for (int i = 0; i < 256; ++i) {
            ch1[i] = static_cast<signed char>(QRandomGenerator::global()->bounded(-100, 100));
            ch2[i] = static_cast<signed char>(QRandomGenerator::global()->bounded(-100, 100));
            bins[i] = complex(ch1[i], ch2[i]);
        }
        QVERIFY(CFFT::Forward(bins.data(), 256));
        Spectrum::Settings settings;
        settings.complexInput = true;
        settings.ringStart = ringStart;
        const auto traces = Spectrum::compute(ch1.constData(), ch2.constData(), 256,
                                              FftWindow::build(FftWindow::Rectangular, 256), settings);
        QCOMPARE(traces.ch1.size(), 128);
        for (int j = 0; j < 128; ++j)
            QCOMPARE(traces.ch1[j], Spectrum::scaled(bins[(firstBin + j) % 256].abs(), false));
    }
};

VESK_TEST_MAIN(TestFft)
#include "tst_fft.moc"
