// The prices of the price list, in the order the window shows them.
#pragma once

#include <QString>
#include <array>

#include "core/params/parameters.h"

namespace tablix {

struct PriceListRow {
    int labelEntry;  // language entry naming the element
    int elementRow;  // row of the parameter record's element table
    long double firstPrice;  // family B
    long double secondPrice; // family A
};

inline constexpr int kPriceListRows = 23;

// Each price multiplied by `factor` (1 for list prices, percent × 0.01 otherwise).
std::array<PriceListRow, kPriceListRows> PriceListRows(const ParameterRecord &p, long double factor);

} // namespace tablix
