// Every number the user sees is written through FormatFixed.
#pragma once

#include <QString>

namespace tablix {

// Fixed notation, right-aligned in `width` characters (0 = no padding), `decimals` digits after
// the point. The value is first taken to 18 significant digits, as an extended value prints, then
// rounded half away from zero: 2.67499999999999999991 is written 2.68.
QString FormatFixed(long double value, int width, int decimals);

// The same text without an allocation, for texts built from many numbers.
struct FixedNumber {
    char text[80];
    int begin = 0;
    int size = 0;
    QLatin1String view() const { return QLatin1String(text + begin, size); }
};
FixedNumber FormatFixedNumber(long double value, int width, int decimals);

// The same through the full 18-digit expansion, whatever the value; FormatFixed takes a shortcut
// where the result cannot differ.
QString FormatFixedFromExpansion(long double value, int width, int decimals);

// The same with `separator` in place of the decimal point, as the language writes decimals.
QString FormatFixed(long double value, int width, int decimals, QChar separator);
// A number written by the functions above, its point replaced by `separator`.
QString WithDecimalSeparator(QString fixed, QChar separator);

// Nearest integer, ties to the even neighbour (device coordinates, counts).
long long RoundEven(long double value);

} // namespace tablix
