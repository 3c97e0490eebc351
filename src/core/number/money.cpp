// Amounts of money in whole cents: exact parsing, products, tax and grouped formatting.
#include "core/number/money.h"

#include <cstdlib>

namespace tablix {

namespace {

// Products of cents and rates checked before they are narrowed.
__extension__ typedef __int128 Wide;

// n / d rounded half away from zero, for d > 0; the operands stay far below 2^63 / 10^4.
Cents DivideHalfAway(Wide n, Wide d)
{
    const Wide magnitude = (n < 0 ? -n : n);
    const Wide q = (2 * magnitude + d) / (2 * d);
    return Cents(n < 0 ? -q : q);
}

} // namespace

std::optional<Cents> CentsFromDecimalText(const QString &raw)
{
    const QString text = raw.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+') || text[i] == QChar(0x2212)))
        negative = text[i++] != QLatin1Char('+');
    Wide whole = 0;
    int wholeDigits = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
        whole = whole * 10 + (text[i].unicode() - '0');
        if (++wholeDigits > 15)
            return std::nullopt;
    }
    int decimals[3] = {0, 0, 0};
    int decimalDigits = 0;
    if (i < text.size() && (text[i] == QLatin1Char('.') || text[i] == QLatin1Char(','))) {
        for (++i; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i, ++decimalDigits) {
            const int d = text[i].unicode() - '0';
            if (decimalDigits < 3)
                decimals[decimalDigits] = d;
        }
    }
    if (i != text.size() || (wholeDigits == 0 && decimalDigits == 0))
        return std::nullopt;
    Wide cents = whole * 100 + decimals[0] * 10 + decimals[1];
    if (decimals[2] >= 5) // half a cent or more: away from zero
        ++cents;
    if (cents > kMaxCents)
        return std::nullopt;
    return Cents(negative ? -cents : cents);
}

std::optional<Cents> MultiplyCents(Cents unit, std::int64_t quantity)
{
    const Wide product = Wide(unit) * quantity;
    if (product > kMaxCents || product < -Wide(kMaxCents))
        return std::nullopt;
    return Cents(product);
}

Cents TaxOfNet(Cents net, int rateHundredths)
{
    return DivideHalfAway(Wide(net) * rateHundredths, 10000);
}

Cents TaxInGross(Cents gross, int rateHundredths)
{
    return DivideHalfAway(Wide(gross) * rateHundredths, 10000 + Wide(rateHundredths));
}

QString FormatCents(Cents amount, QChar decimal, QChar group)
{
    const bool negative = amount < 0;
    const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(amount) : static_cast<unsigned long long>(amount);
    const QString digits = QString::number(magnitude / 100);
    QString whole;
    const bool grouped = !group.isNull() && group != decimal;
    for (qsizetype k = 0; k < digits.size(); ++k) {
        if (grouped && k > 0 && (digits.size() - k) % 3 == 0)
            whole += group;
        whole += digits[k];
    }
    const unsigned long long cents = magnitude % 100;
    return (negative ? QStringLiteral("-") : QString()) + whole + decimal + QLatin1Char(char('0' + cents / 10)) +
           QLatin1Char(char('0' + cents % 10));
}

QString FormatRate(int rateHundredths, QChar decimal)
{
    QString text = QString::number(rateHundredths / 100);
    const int fraction = std::abs(rateHundredths % 100);
    if (fraction != 0) {
        text += decimal + QString::number(fraction / 10);
        if (fraction % 10 != 0)
            text += QString::number(fraction % 10);
    }
    return text;
}

} // namespace tablix
