#include "fftwindow.h"

#include <cmath>

FftWindow::FftWindow(Type type) : m_type(type) {}

void FftWindow::setType(Type type)
{
    if (type == m_type)
        return;
    m_type = type;
    m_weights.clear();
}

const QVector<double> &FftWindow::weights(int size)
{
    if (m_weights.size() != size)
        m_weights = build(m_type, size);
    return m_weights;
}

QVector<double> FftWindow::build(Type type, int size)
{
    QVector<double> weights(qMax(size, 0), 1.0);
    // A single sample has no span to shape: it keeps its full weight.
    if (type == Rectangular || size < 2)
        return weights;
    const double span = size - 1;
    for (int i = 0; i < size; ++i) {
        const double angle = 2 * M_PI * i / span;
        switch (type) {
        case Hamming:
            weights[i] = 0.53836 - 0.46164 * std::cos(angle);
            break;
        case Hann:
            weights[i] = 0.5 * (1 - std::cos(angle));
            break;
        case Blackman:
            weights[i] = 0.42 - 0.5 * std::cos(angle) + 0.08 * std::cos(2 * angle);
            break;
        case Rectangular:
            break;
        }
    }
    return weights;
}
