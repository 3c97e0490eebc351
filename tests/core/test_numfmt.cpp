// Number formatting: every number the user reads, and the rounding of device coordinates.
#include <gtest/gtest.h>

#include "core/number/number_format.h"
#include "core/number/real48.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <utility>

using tablix::FormatFixed;

namespace {

// A value's 18 significant digits as an extended value prints them, with their exponent first so
// that magnitudes compare.
std::pair<int, std::string> Expansion(long double value)
{
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 17);
    const std::string text(buf, written.ptr);
    return {std::atoi(text.c_str() + text.find('e') + 1), text.substr(0, 1) + text.substr(2, 17)};
}

} // namespace

// Every value from hundreds of steps below a tie to hundreds above it is written as its 18-digit
// expansion rounds, half away from zero: 2.67499999999999998 is 2.67, 2.67499999999999999991 2.68.
TEST(FormatFixed, EveryStepAroundATieRoundsAsItsEighteenDigitExpansion)
{
    struct Tie {
        const char *tie;
        int decimals;
        const char *below, *above;
    };
    const Tie ties[] = {
        {"2.675", 2, "2.67", "2.68"},          {"-2.675", 2, "-2.67", "-2.68"},
        {"0.125", 2, "0.12", "0.13"},          {"9.995", 2, "9.99", "10.00"},
        {"999.5", 0, "999", "1000"},           {"0.0005", 3, "0.000", "0.001"},
        {"1234.5675", 3, "1234.567", "1234.568"}, {"12345678.125", 2, "12345678.12", "12345678.13"},
        {"98765432109.5", 0, "98765432109", "98765432110"}, {"-0.05", 1, "0.0", "-0.1"},
    };
    for (const Tie &t : ties) {
        long double start = 0;
        std::from_chars(t.tie, t.tie + std::strlen(t.tie), start);
        const auto tie = Expansion(start); // the nearest extended value prints as the tie itself
        std::string digits; // the tie's own digits, then zeros
        for (const char *c = t.tie; *c; ++c)
            if (*c >= '0' && *c <= '9' && (*c != '0' || !digits.empty()))
                digits += *c;
        ASSERT_EQ(tie.second, digits + std::string(18 - digits.size(), '0')) << t.tie;
        long double v = start;
        for (int k = 0; k < 400; ++k)
            v = std::nextafter(v, 0.0L);
        for (int k = -400; k <= 400; ++k, v = std::nextafter(v, start < 0 ? -1e30L : 1e30L)) {
            const char *expected = Expansion(v) >= tie ? t.above : t.below;
            ASSERT_EQ(FormatFixed(v, 0, t.decimals), expected) << t.tie << " step " << k;
            ASSERT_EQ(tablix::FormatFixedFromExpansion(v, 0, t.decimals), expected) << t.tie << " step " << k;
        }
    }
    EXPECT_EQ(FormatFixed(2.67499999999999998L, 0, 2), "2.67");
    EXPECT_EQ(FormatFixed(2.67499999999999999991L, 0, 2), "2.68");
    EXPECT_EQ(FormatFixed(2.674L, 0, 2), "2.67");
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
