// The prices of the price list, in the order the window shows them.
#include "core/pricing/price_list.h"
#include "core/params/language_entries.h"

namespace tablix {

std::array<PriceListRow, kPriceListRows> PriceListRows(const ParameterRecord &p, long double factor)
{
    // Left block top to bottom, then the right block.
    static constexpr std::pair<int, int> kLayout[kPriceListRows] = {
        {text::kSignType1, 0}, {text::kSignType2, 1}, {text::kPostsRowType1, 2}, {text::kPostsRowType2, 3},
        {text::kClosingProfile, 14}, {text::kElementRow12, 12}, {text::kSignType4, 13}, {text::kPanel1x13, 4},
        {text::kPanel2x13, 5}, {text::kPanel1x20, 6}, {text::kPanel2x20, 7}, {text::kPanel3x20, 8},
        {text::kPanel1x25, 9}, {text::kPanel4x25, 10}, {text::kFixedProfile, 22}, {text::kPanel1x50, 11},
        {text::kSignType5, 15}, {text::kSpecialProfile1, 16}, {text::kSpecialProfile2, 17},
        {text::kSpecialProfile3, 18}, {text::kSpecialProfile4, 19}, {text::kSpecialProfile5, 20},
        {text::kSpecialProfile6, 21},
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
