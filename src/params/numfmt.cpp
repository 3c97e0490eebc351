#include "params/numfmt.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tablix {

QString FormatFixed(long double value, int width, int decimals)
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
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17Le", value);
        const bool negative = buf[0] == '-';
        const char *p = buf + (negative ? 1 : 0);
        std::string digits;
        digits += p[0];
        digits.append(p + 2, 17);
        const int exponent = std::atoi(p + 20);

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
        result = QString(width - result.size(), QLatin1Char(' ')) + result;
    return result;
}

long long RoundEven(long double value)
{
    return std::llrint(value); // default rounding mode: to nearest, ties to even
}

} // namespace tablix
