#ifndef COMPLEX_H
#define COMPLEX_H

// Element of the spectrum's work arrays: real part, then imaginary part.
class complex
{
public:
    constexpr complex() = default;
    constexpr complex(double re, double im = 0) : m_re(re), m_im(im) {}

    static const complex i;
    static const complex j;

    constexpr double re() const { return m_re; }
    constexpr double im() const { return m_im; }
    double norm() const { return m_re * m_re + m_im * m_im; }
    double abs() const;

    constexpr complex operator+(const complex &other) const
    {
        return complex(m_re + other.m_re, m_im + other.m_im);
    }
    constexpr complex operator-(const complex &other) const
    {
        return complex(m_re - other.m_re, m_im - other.m_im);
    }
    constexpr complex operator*(const complex &other) const
    {
        return complex(m_re * other.m_re - m_im * other.m_im, m_re * other.m_im + m_im * other.m_re);
    }
    constexpr complex operator*(double factor) const
    {
        return complex(m_re * factor, m_im * factor);
    }
    complex &operator*=(double factor)
    {
        m_re *= factor;
        m_im *= factor;
        return *this;
    }
    constexpr bool operator==(const complex &other) const
    {
        return m_re == other.m_re && m_im == other.m_im;
    }
    constexpr bool operator!=(const complex &other) const { return !(*this == other); }

private:
    double m_re = 0;
    double m_im = 0;
};

#endif // COMPLEX_H
