#include <gtest/gtest.h>

#include "core/number/number_format.h"
#include "core/number/real48.h"

#include <cmath>
#include <random>

using tablix::FormatFixed;

TEST(FormatFixed, RoundsTheEighteenDigitExpansionHalfAwayFromZero)
{
    EXPECT_EQ(FormatFixed(2.67499999999999999991L, 0, 2), "2.68");
    EXPECT_EQ(FormatFixed(2.675L, 0, 2), "2.68");
    EXPECT_EQ(FormatFixed(-2.675L, 0, 2), "-2.68");
    EXPECT_EQ(FormatFixed(2.674L, 0, 2), "2.67");
    EXPECT_EQ(FormatFixed(0.125L, 0, 2), "0.13");
    EXPECT_EQ(FormatFixed(9.995L, 0, 2), "10.00");
    EXPECT_EQ(FormatFixed(999.5L, 0, 0), "1000");
    // A stored 0.1 prints as a user typed it.
    EXPECT_EQ(FormatFixed(tablix::RoundToReal48(0.1L), 0, 4), "0.1000");
}

TEST(FormatFixed, WidthPadsOnTheLeftAndNeverCuts)
{
    EXPECT_EQ(FormatFixed(12.5L, 10, 2), "     12.50");
    EXPECT_EQ(FormatFixed(-12.5L, 10, 2), "    -12.50");
    EXPECT_EQ(FormatFixed(123456789012.0L, 5, 2), "123456789012.00");
    EXPECT_EQ(FormatFixed(1200, 0, 2), "1200.00");
}

TEST(FormatFixed, SmallAndZeroValues)
{
    EXPECT_EQ(FormatFixed(0, 0, 2), "0.00");
    EXPECT_EQ(FormatFixed(-0.0L, 0, 2), "0.00");
    EXPECT_EQ(FormatFixed(-0.001L, 0, 2), "0.00");
    EXPECT_EQ(FormatFixed(0.005L, 0, 2), "0.01");
    EXPECT_EQ(FormatFixed(1e-30L, 0, 4), "0.0000");
    EXPECT_EQ(FormatFixed(1.7e38L, 0, 0), "170000000000000000000000000000000000000");
}

TEST(RoundEven, TiesGoToTheEvenNeighbour)
{
    EXPECT_EQ(tablix::RoundEven(0.5L), 0);
    EXPECT_EQ(tablix::RoundEven(1.5L), 2);
    EXPECT_EQ(tablix::RoundEven(2.5L), 2);
    EXPECT_EQ(tablix::RoundEven(-2.5L), -2);
    EXPECT_EQ(tablix::RoundEven(2.5000001L), 3);
}

TEST(FormatFixed, ShortcutAgreesWithTheFullExpansion)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> magnitude(-12, 16);
    for (int i = 0; i < 300000; ++i) {
        const int decimals = int(random() % 5);
        long double v = std::pow(10.0L, magnitude(random)) * ((random() & 1) ? -1 : 1);
        if (i % 3 == 0) // values a hair from a tie, as sums of stored amounts land
            v = (std::round(v * 1000) + 0.5L) / std::pow(10.0L, decimals) * (1 + ((random() % 3) - 1.0L) * 1e-19L);
        ASSERT_EQ(FormatFixed(v, 10, decimals), tablix::FormatFixedFromExpansion(v, 10, decimals))
            << double(v) << " " << decimals;
    }
}
