// Every number the user sees is written through FormatFixed.
#include "core/number/number_format.h"

#include "core/number/real48.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace tablix {

namespace {

// Right-aligns `size` characters ending at `end` into `out`.
void setPadded(FixedNumber &out, const char *begin, int size, int width)
{
    constexpr int kRoom = int(sizeof out.text);
    if (size > kRoom)
        size = kRoom;
    if (width > kRoom)
        width = kRoom;
    const int pad = width > size ? width - size : 0;
    std::memset(out.text, ' ', size_t(pad));
    std::memcpy(out.text + pad, begin, size_t(size));
    out.begin = 0;
    out.size = pad + size;
}

// Most numbers are nowhere near a tie, and then rounding the value itself gives the same digits
// as rounding its 18-digit expansion; only near-ties need the expansion. The library's rounding
// of long doubles is slow, so the integer part is taken through a double.
bool formatFast(long double value, int width, int decimals, FixedNumber &out)
{
    static constexpr long double kPowers[] = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L};
    if (decimals > 6)
        return false;
    if (value - value != 0)
        return false; // infinite or not a number
    const bool negative = value < 0;
    const long double scaled = (negative ? -value : value) * kPowers[decimals];
    // Below 1e11 the 18-digit expansion moves the value by less than the tie margin.
    if (scaled >= 1e11L)
        return false;

    // The integer part through a double, corrected by one where the double rounded up; the
    // fraction stays exact in extended precision.
    auto whole = static_cast<unsigned long long>(static_cast<double>(scaled));
    long double fraction = scaled - static_cast<long double>(whole);
    if (fraction < 0) {
        --whole;
        fraction += 1;
    }
    bool roundUp = fraction > 0.5L;
    if (std::fabs(fraction - 0.5L) < 1e-6L) {
        // Near a tie: the expansion keeps 18 - (integer digits) digits of the fraction and rounds
        // up to the tie from a hair below it.
        if (whole < 1)
            return false;
        static constexpr long double kHalfUnits[] = {5e-1L,  5e-2L,  5e-3L,  5e-4L,  5e-5L,  5e-6L,
                                                     5e-7L,  5e-8L,  5e-9L,  5e-10L, 5e-11L, 5e-12L,
                                                     5e-13L, 5e-14L, 5e-15L, 5e-16L, 5e-17L, 5e-18L};
        int digits = 0;
        for (auto w = whole; w != 0; w /= 10)
            ++digits;
        const long double threshold = 0.5L - kHalfUnits[18 - digits];
        // Within a few units in the last place of the scaling: take the long way.
        if (std::fabs(fraction - threshold) < scaled * 4e-19L)
            return false;
        roundUp = fraction >= threshold;
    }
    unsigned long long n = whole + (roundUp ? 1 : 0);
    // Written right to left straight into the result.
    char *const end = out.text + sizeof out.text;
    char *p = end;
    for (int i = 0; i < decimals; ++i) {
        *--p = char('0' + n % 10);
        n /= 10;
    }
    if (decimals > 0)
        *--p = '.';
    do {
        *--p = char('0' + n % 10);
        n /= 10;
    } while (n != 0);
    bool allZero = true;
    for (const char *q = p; q < end; ++q)
        if (*q != '0' && *q != '.')
            allZero = false;
    if (negative && !allZero)
        *--p = '-';
    const int room = int(sizeof out.text) - 1;
    const char *const padTo = end - (width < room ? width : room);
    while (p > padTo)
        *--p = ' ';
    out.begin = int(p - out.text);
    out.size = int(end - p);
    return true;
}

} // namespace

FixedNumber FormatFixedNumber(long double value, int width, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    FixedNumber n;
    if (!formatFast(value, width, decimals, n)) {
        const QByteArray slow = FormatFixedFromExpansion(value, width, decimals).toLatin1();
        setPadded(n, slow.constData(), int(slow.size()), 0);
    }
    return n;
}

QString FormatFixed(long double value, int width, int decimals)
{
    return FormatFixedNumber(value, width, decimals).view();
}

QString FormatFixedFromExpansion(long double value, int width, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    std::string text;
    if (std::isnan(value)) {
        text = "NAN";
    } else if (std::isinf(value)) {
        text = value < 0 ? "-INF" : "+INF";
    } else {
        // d.ddddddddddddddddde±x: 18 significant digits
        // to_chars, not printf: the C library's locale may write the point as a comma.
        char buf[64] = {};
        std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::scientific, 17);
        const bool negative = buf[0] == '-';
        const char *p = buf + (negative ? 1 : 0);
        std::string digits;
        digits += p[0];
        digits.append(p + 2, 17);
        int exponent = 0;
        const char *e = p + 20 + (p[20] == '+' ? 1 : 0);
        std::from_chars(e, buf + sizeof buf, exponent);

        // digits[i] has weight 10^(exponent - i); keep those of weight >= 10^-decimals.
        // Pad so that the integer part has at least one digit.
        int pointPos = exponent + 1; // digits before the decimal point
        if (pointPos < 1) {
            digits.insert(0, std::string(1 - pointPos, '0'));
            pointPos = 1;
        }
        const int keep = pointPos + decimals;
        if (int(digits.size()) < keep + 1)
            digits.append(keep + 1 - digits.size(), '0');
        const bool roundUp = digits[keep] >= '5';
        digits.resize(keep);
        if (roundUp) {
            int i = keep - 1;
            while (i >= 0 && digits[i] == '9') {
                digits[i] = '0';
                --i;
            }
            if (i >= 0) {
                ++digits[i];
            } else {
                digits.insert(0, 1, '1');
                ++pointPos;
            }
        }
        std::string intPart = digits.substr(0, pointPos);
        const std::string fracPart = digits.substr(pointPos);
        const auto firstNonZero = intPart.find_first_not_of('0');
        intPart = firstNonZero == std::string::npos ? "0" : intPart.substr(firstNonZero);
        const bool allZero = intPart == "0" && fracPart.find_first_not_of('0') == std::string::npos;
        text = (negative && !allZero ? "-" : "") + intPart;
        if (decimals > 0)
            text += "." + fracPart;
    }
    QString result = QString::fromLatin1(text.data(), qsizetype(text.size()));
    if (width > result.size())
        result.prepend(QString(width - result.size(), QLatin1Char(' ')));
    return result;
}

long long RoundEven(long double value)
{
    return std::llrint(value); // default rounding mode: to nearest, ties to even
}

QString WithDecimalSeparator(QString fixed, QChar separator)
{
    if (separator != QLatin1Char('.'))
        fixed.replace(QLatin1Char('.'), separator);
    return fixed;
}

QString FormatFixed(long double value, int width, int decimals, QChar separator)
{
    return WithDecimalSeparator(FormatFixed(value, width, decimals), separator);
}

} // namespace tablix
