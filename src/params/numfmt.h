// Every number the user sees is written through FormatFixed.
#pragma once

#include <QString>

namespace tablix {

// Fixed notation, right-aligned in `width` characters (0 = no padding), `decimals` digits after
// the point. The value is first taken to 18 significant digits, as an extended value prints, then
// rounded half away from zero: 2.67499999999999999991 is written 2.68.
QString FormatFixed(long double value, int width, int decimals);

// Nearest integer, ties to the even neighbour (device coordinates, counts).
long long RoundEven(long double value);

} // namespace tablix
