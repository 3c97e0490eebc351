#include "core/pricing/price_list.h"

namespace tablix {

std::array<PriceListRow, kPriceListRows> PriceListRows(const ParameterRecord &p, long double factor)
{
    // Left block top to bottom, then the right block.
    static constexpr std::pair<int, int> kLayout[kPriceListRows] = {
        {41, 0},  {42, 1},  {43, 2},  {44, 3},  {45, 14}, {208, 12}, {209, 13}, {46, 4},
        {47, 5},  {48, 6},  {49, 7},  {50, 8},  {51, 9},  {52, 10},  {233, 22}, {53, 11},
        {210, 15}, {211, 16}, {212, 17}, {213, 18}, {214, 19}, {215, 20}, {216, 21},
    };
    std::array<PriceListRow, kPriceListRows> rows{};
    for (int i = 0; i < kPriceListRows; ++i) {
        const auto [entry, row] = kLayout[i];
        const ElementTypeRow &e = p.elementRows[row];
        rows[size_t(i)] = {entry, row, e.priceB.get() * factor, e.priceA.get() * factor};
    }
    return rows;
}

} // namespace tablix
