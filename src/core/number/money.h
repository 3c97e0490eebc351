// Amounts of money in whole cents, so that the quote's sums add up exactly as printed.
#pragma once

#include <QChar>
#include <QString>
#include <cstdint>
#include <optional>

namespace tablix {

using Cents = std::int64_t;

// Amounts beyond this are refused rather than risk overflowing a product or a sum.
inline constexpr Cents kMaxCents = Cents(1'000'000'000'000'000); // 10^13 units of the currency

// A decimal text such as "116.00", "-3.5" or "+1234.567" (a "." or a "," before the decimals),
// rounded half away from zero to the cent; nothing when it is no such number or out of range.
std::optional<Cents> CentsFromDecimalText(const QString &text);

// quantity × unit, nothing when the product would pass kMaxCents.
std::optional<Cents> MultiplyCents(Cents unit, std::int64_t quantity);

// A rate in hundredths of a percent (2300 = 23 %) of `amount`, rounded half away from zero.
Cents TaxOfNet(Cents net, int rateHundredths);
// The tax held in a gross amount at that rate: gross × r / (100 % + r), rounded the same way.
Cents TaxInGross(Cents gross, int rateHundredths);

// "1,116.91" or "1 116,91": the decimals after `decimal`, groups of three before it separated by
// `group` (none when group is null or the same as decimal).
QString FormatCents(Cents amount, QChar decimal, QChar group);

// A rate in hundredths of a percent as its shortest decimal: "23", "8.5", "0".
QString FormatRate(int rateHundredths, QChar decimal);

} // namespace tablix
