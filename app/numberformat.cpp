#include "numberformat.h"

#include <cmath>
#include <limits>

namespace NumberFormat {

namespace {

QString withSignColumn(double number, int decimals)
{
    const QString sign = number < 0 ? QString() : QStringLiteral(" ");
    return sign + QString::number(number, 'f', decimals);
}

} // namespace

QString get4Digits(double number)
{
    int decimals = 3;
    if (number >= 1000 || number <= -1000)
        decimals = 0;
    else if (number >= 100 || number <= -100)
        decimals = 1;
    else if (number >= 10 || number <= -10)
        decimals = 2;
    return withSignColumn(number, decimals);
}

QString get3Digits(double number)
{
    int decimals = 2;
    if (number >= 100 || number <= -100)
        decimals = 0;
    else if (number >= 10 || number <= -10)
        decimals = 1;
    return withSignColumn(number, decimals);
}

QString getDigitsPrecision(double number, int prec)
{
    return withSignColumn(number, prec);
}

QString removeTrailingZeros(const QString &text)
{
    if (text.size() < 2)
        return text;
    for (int i = 0; i < text.size() - 1; ++i) {
        const QChar next = text.at(i + 1);
        if (text.at(i) != QLatin1Char('0') || next == QLatin1Char('.') || next == QLatin1Char(','))
            return text.mid(i);
    }
    return text;
}

QString getStringFromUnsignedChar(const unsigned char *data, int length)
{
    QString text;
    for (int i = 0; i < length; ++i) {
        if (data[i] >= 32)
            text.append(QChar::fromLatin1(static_cast<char>(data[i])));
    }
    return text.trimmed();
}

int dataValueRangeTrunk(int value, int low, int high)
{
    if (value > high)
        return high;
    if (value < low)
        return low;
    return value;
}

int dataValueRangeTrunk64(qint64 value, qint64 low, qint64 high)
{
    if (value > high)
        return static_cast<int>(high);
    if (value < low)
        return static_cast<int>(low);
    return static_cast<int>(value);
}

int saturatedInt(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(qBound(double(std::numeric_limits<int>::min()), value,
                                   double(std::numeric_limits<int>::max())));
}

int mathRoundTo(double value, int step)
{
    return saturatedInt(std::round(value / step) * step);
}

int mapRange(int value, int inEnd, int inStart, int outStart, int outEnd)
{
    // In long double: the product of two int spans overflows even 64 bits.
    const long double product = (static_cast<long double>(value) - inStart) * (static_cast<long double>(outStart) - outEnd);
    const long double mapped = outStart - product / (static_cast<long double>(inEnd) - inStart);
    return saturatedInt(double(mapped));
}

double mapRangeF(double value, double inEnd, double inStart, double outStart, double outEnd)
{
    return outStart - ((value - inStart) * (outStart - outEnd)) / (inEnd - inStart);
}

} // namespace NumberFormat
