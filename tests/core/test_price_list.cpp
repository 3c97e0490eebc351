// The price list rows: the order of the window, the percentage applied, the formatted prices.
#include <gtest/gtest.h>

#include "support/fixtures.h"
#include "core/number/number_format.h"
#include "core/pricing/price_list.h"
#include "core/params/language_entries.h"

using namespace tablix;

TEST(PriceList, WindowOrderAndPercentage)
{
    ParameterRecord p = fixtures::ShippedParameters();
    fixtures::StepElementRows(p);
    const auto list = PriceListRows(p, 1);
    EXPECT_EQ(list[0].labelEntry, text::kSignType1);
    EXPECT_EQ(list[4].elementRow, 14);
    EXPECT_EQ(list[14].labelEntry, text::kFixedProfile);
    EXPECT_EQ(list[15].labelEntry, text::kPanel1x50);
    EXPECT_EQ(list[22].elementRow, 21);
    EXPECT_EQ(FormatFixed(list[4].firstPrice, 0, 2), "114.00");
    EXPECT_EQ(FormatFixed(list[4].secondPrice, 0, 2), "214.00");

    const auto eighty = PriceListRows(p, RoundToReal48(80 * 0.01L));
    EXPECT_EQ(FormatFixed(eighty[0].firstPrice, 0, 2), "80.00"); // 100 at 80 percent
    ParameterRecord zero{};
    EXPECT_EQ(FormatFixed(PriceListRows(zero, 0.8L)[3].secondPrice, 0, 2), "0.00");
}
