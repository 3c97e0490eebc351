// The price list of any parameters at any percentage, as the window and `prices` show it.
#include "core/number/number_format.h"
#include "core/pricing/price_list.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tablix;
    fuzz::Input in(data, size);
    // The percentage first, as a stored value of any bits, then the parameters over the shipped ones.
    const Real48 percent = in.real();
    const bool polish = in.get<std::uint8_t>() & 1;
    ParameterRecord p = fuzz::ShippedParameters();
    in.bytes(&p, std::min(in.left(), sizeof p));
    const LanguageTable &language = fuzz::ShippedLanguage(polish);
    for (const long double factorWanted : {1.0L, percent.get() * 0.01L}) {
        Real48 factor;
        try {
            factor.set(factorWanted);
        } catch (const FloatingPointOverflow &) {
            continue;
        }
        for (const PriceListRow &row : PriceListRows(p, factor.get())) {
            if (row.elementRow < 0 || row.elementRow >= 23)
                __builtin_trap();
            (void)language.LanguageEntry(row.labelEntry);
            (void)FormatFixed(row.firstPrice, 0, 2);
            (void)FormatFixed(row.secondPrice, 10, 2);
        }
    }
    return 0;
}
