#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <random>

#include "core/number/real48.h"

using tablix::FloatingPointOverflow;
using tablix::Real48;
using Bytes = std::array<std::uint8_t, 6>;

namespace {

Bytes store(long double v)
{
    Bytes b{};
    tablix::ExtendedToReal48(v, b.data());
    return b;
}

long double read(Bytes b)
{
    return tablix::Real48ToExtended(b.data());
}

} // namespace

TEST(Real48, WorkedExamplesBothWays)
{
    const std::pair<long double, Bytes> examples[] = {
        {1.0L, {0x81, 0, 0, 0, 0, 0}},
        {0.5L, {0x80, 0, 0, 0, 0, 0}},
        {3.0L, {0x82, 0, 0, 0, 0, 0x40}},
        {-2.5L, {0x82, 0, 0, 0, 0, 0xA0}},
        {100.0L, {0x87, 0, 0, 0, 0, 0x48}},
        {1000.0L, {0x8A, 0, 0, 0, 0, 0x7A}},
        {0.1L, {0x7D, 0xCD, 0xCC, 0xCC, 0xCC, 0x4C}},
    };
    for (const auto &[value, bytes] : examples) {
        EXPECT_EQ(store(value), bytes) << double(value);
        if (value != 0.1L) {
            EXPECT_EQ(read(bytes), value);
        }
    }
    // 0.1 rounds up on its way in, as a double shows.
    EXPECT_EQ(double(read({0x7D, 0xCD, 0xCC, 0xCC, 0xCC, 0x4C})), 0.10000000000002274);
}

TEST(Real48, ZeroExponentReadsAsZeroWhateverFollows)
{
    EXPECT_EQ(read({0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), 0.0L);
}

TEST(Real48, ZeroAndUnderflowStoreAsSixZeroBytesWithoutError)
{
    const Bytes zero{};
    EXPECT_EQ(store(0.0L), zero);
    EXPECT_EQ(store(-0.0L), zero);
    EXPECT_EQ(store(std::ldexp(1.0L, -129)), zero);
    EXPECT_EQ(store(-std::ldexp(1.0L, -200)), zero);
    EXPECT_EQ(store(std::numeric_limits<long double>::denorm_min()), zero);
    // The smallest magnitude the format holds.
    EXPECT_EQ(store(std::ldexp(1.0L, -128)), (Bytes{0x01, 0, 0, 0, 0, 0}));
    // Just below it, rounding brings the value up to it.
    EXPECT_EQ(store(std::ldexp(1.0L, -128) * (1 - std::ldexp(1.0L, -41))), (Bytes{0x01, 0, 0, 0, 0, 0}));
}

TEST(Real48, TiesRoundAwayFromZeroOnTheFirstDroppedBitOnly)
{
    const long double half = std::ldexp(1.0L, -40);
    EXPECT_EQ(store(1 + half), (Bytes{0x81, 0x01, 0, 0, 0, 0}));
    EXPECT_EQ(store(-(1 + half)), (Bytes{0x81, 0x01, 0, 0, 0, 0x80}));
    // Below a half: truncated.
    EXPECT_EQ(store(1 + half - std::ldexp(1.0L, -63)), (Bytes{0x81, 0, 0, 0, 0, 0}));
    // A carry through all fraction bits moves to the next exponent.
    EXPECT_EQ(store(2 - half), (Bytes{0x82, 0, 0, 0, 0, 0}));
}

TEST(Real48, OverflowFailsAndLeavesTheDestinationAlone)
{
    const long double largest = std::ldexp(2 - std::ldexp(1.0L, -39), 126);
    EXPECT_EQ(store(largest), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}));
    Real48 field;
    field.set(42);
    const Real48 before = field;
    // Just below 2^127, but its first dropped bit is 1: rounds to 2^127 and fails.
    EXPECT_THROW(field.set(std::ldexp(2 - std::ldexp(1.0L, -40), 126)), FloatingPointOverflow);
    EXPECT_THROW(field.set(std::ldexp(1.0L, 127)), FloatingPointOverflow);
    EXPECT_THROW(field.set(-1e300L), FloatingPointOverflow);
    EXPECT_THROW(field.set(std::numeric_limits<long double>::infinity()), FloatingPointOverflow);
    EXPECT_THROW(field.set(std::numeric_limits<long double>::quiet_NaN()), FloatingPointOverflow);
    EXPECT_EQ(field, before);
    try {
        field.set(1e39L);
    } catch (const FloatingPointOverflow &e) {
        EXPECT_STREQ(e.what(), "Floating point overflow");
    }
}

TEST(Real48, TenMillionRandomPatternsRoundTripByteForByte)
{
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 10'000'000; ++i) {
        const std::uint64_t r = random();
        Bytes b;
        std::memcpy(b.data(), &r, 6);
        const Bytes back = store(read(b));
        if (b[0] == 0) {
            ASSERT_EQ(back, Bytes{}) << i;
        } else {
            ASSERT_EQ(back, b) << i;
        }
    }
}

TEST(Real48, RegisterRoundingMatchesTheBytesEverywhere)
{
    std::mt19937_64 random(99);
    auto check = [](long double v) {
        long double viaBytes = 0;
        bool overflow = false;
        try {
            viaBytes = tablix::RoundToReal48ViaBytes(v);
        } catch (const FloatingPointOverflow &) {
            overflow = true;
        }
        if (overflow) {
            EXPECT_THROW(tablix::RoundToReal48(v), FloatingPointOverflow) << double(v);
        } else {
            const long double fast = tablix::RoundToReal48(v);
            ASSERT_TRUE(fast == viaBytes && std::signbit(fast) == std::signbit(viaBytes)) << double(v);
        }
    };
    for (int i = 0; i < 2'000'000; ++i) {
        long double v = std::ldexp(1.0L + std::ldexp(static_cast<long double>(random() >> 1), -63),
                                   int(random() % 280) - 140);
        switch (i % 4) {
        case 1: // an exact tie on the first dropped bit
            v = std::ldexp(std::floor(std::ldexp(v, 40 - std::ilogb(v))) + 0.5L, std::ilogb(v) - 40);
            break;
        case 2: // a hair either side of a tie
            v = std::ldexp(std::floor(std::ldexp(v, 40 - std::ilogb(v))) + 0.5L, std::ilogb(v) - 40)
                * (1 + ((random() & 1) ? 1 : -1) * std::ldexp(1.0L, -63));
            break;
        case 3: // sums of stored decimals, as the engine forms them
            v = tablix::RoundToReal48ViaBytes((random() % 100000) * 0.01L) + (random() % 1000) * 0.1L;
            break;
        }
        check((random() & 1) ? -v : v);
    }
    for (long double v : {0.0L, -0.0L, std::ldexp(1.0L, -128), std::ldexp(1.0L, -127), std::ldexp(1.0L, 126),
                          std::ldexp(2 - std::ldexp(1.0L, -40), 126), std::ldexp(1.0L, 127)})
        check(v);
}
