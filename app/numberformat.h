#ifndef NUMBERFORMAT_H
#define NUMBERFORMAT_H

#include <QString>
#include <QtGlobal>

// Value formatting and mapping shared by the read-outs. The three digit
// formatters keep a sign column: a blank stands where a minus would, so
// positive and negative values line up.
namespace NumberFormat {

QString get4Digits(double number);
QString get3Digits(double number);
QString getDigitsPrecision(double number, int prec);
// Strips leading zeros (despite the name), keeping one before a separator.
QString removeTrailingZeros(const QString &text);
// The printable bytes (code 32 and above, as Latin-1), trimmed.
QString getStringFromUnsignedChar(const unsigned char *data, int length);
int dataValueRangeTrunk(int value, int low, int high);
int dataValueRangeTrunk64(qint64 value, qint64 low, qint64 high);
// Truncated toward zero and held to the int range; NaN is 0.
int saturatedInt(double value);
int mathRoundTo(double value, int step);
int mapRange(int value, int inEnd, int inStart, int outStart, int outEnd);
double mapRangeF(double value, double inEnd, double inStart, double outStart, double outEnd);

} // namespace NumberFormat

#endif // NUMBERFORMAT_H
