#ifndef FFTWINDOW_H
#define FFTWINDOW_H

#include <QVector>

// Window weights of the spectrum, one per sample of the frame. The weights
// follow the frame size: asking for another size rebuilds them, so they can
// never be shorter than the samples they weight.
class FftWindow
{
public:
    enum Type { Rectangular, Hamming, Hann, Blackman };

    explicit FftWindow(Type type = Hann);

    Type type() const { return m_type; }
    void setType(Type type);

    // Weights for a frame of `size` samples.
    const QVector<double> &weights(int size);

    static QVector<double> build(Type type, int size);

private:
    Type m_type;
    QVector<double> m_weights;
};

#endif // FFTWINDOW_H
