// Checks that a project read from a file holds only records the program could have written.
#pragma once

#include <QString>
#include <optional>

#include "core/project/sign_record.h"

namespace tablix {

// The first field of a project that no sign can hold.
struct RecordFault {
    int sign = 0;  // slot 1..20
    QString field; // named as in the project's JSON, e.g. "rowElements[4]" for row 5
    QString value;
};

// Magnitudes no sign maker's sign reaches and no dialog stores.
inline constexpr long double kMaxQuantity = 100000;
inline constexpr long double kMaxWidthCm = 100000; // 1 km, as far as the drawings go
inline constexpr long double kMaxExtraCost = 1e9;

// Every slot: layout 1..4, sign type 1..6, row codes from the element table (0, 1..21, 30..35,
// 40..45), row and lower marks 0 or 1, numbers finite. With `plausible`, also quantity and
// width from 0 to their limits, a price level not negative and an extra cost within ±kMaxExtraCost
// (quantity 0, fractional quantities and negative extra costs are what older files may hold).
std::optional<RecordFault> CheckProject(const SignSlotArray &signs, bool plausible = true);

// `message` with %1 the file name, %2 the sign, %3 the field and %4 its value (language entry 174).
QString RecordFaultText(const QString &message, const QString &fileName, const RecordFault &fault);

// The message where no language table is at hand (the command-line tool).
QString DefaultDamagedProjectMessage();

} // namespace tablix
