// The 6-byte floating-point format of every stored number, and its two conversions.
#pragma once

#include <cfloat>
#include <cstdint>
#include <cstring>
#include <stdexcept>

static_assert(LDBL_MANT_DIG == 64, "Real48 conversion needs the 80-bit extended long double");

namespace tablix {

// Raised when a value is too large for the 6-byte format; the destination keeps its old value.
class FloatingPointOverflow : public std::runtime_error {
public:
    FloatingPointOverflow() : std::runtime_error("Floating point overflow") {}
};

struct Real48 {
    std::uint8_t bytes[6] = {0, 0, 0, 0, 0, 0};

    long double get() const;
    // Rounds to Real48; throws FloatingPointOverflow and leaves the bytes untouched.
    void set(long double value);

    bool operator==(const Real48 &) const = default;
};
static_assert(sizeof(Real48) == 6 && alignof(Real48) == 1);

long double Real48ToExtended(const std::uint8_t bytes[6]);
// Throws FloatingPointOverflow; on failure nothing is written.
void ExtendedToReal48(long double value, std::uint8_t out[6]);

// Rounds a value to what storing it would keep.
long double RoundToReal48(long double value);

// Hot in every computation, so defined here to be inlined.


namespace detail {

constexpr int kBiasDifference = 16383 - 129;

struct ExtendedBits {
    std::uint64_t mantissa;
    std::uint16_t signExponent;
};

inline ExtendedBits bitsOf(long double v)
{
    unsigned char raw[sizeof(long double)];
    std::memcpy(raw, &v, sizeof raw);
    ExtendedBits b;
    std::memcpy(&b.mantissa, raw, 8);
    std::memcpy(&b.signExponent, raw + 8, 2);
    return b;
}

} // namespace detail

// Every value of the format is exactly a double; building the double's bits is much cheaper
// than building an 80-bit value in memory.
inline long double Real48ToExtended(const std::uint8_t b[6])
{
    if (b[0] == 0)
        return 0.0L;
    const std::uint64_t fraction = (std::uint64_t(b[5] & 0x7F) << 32) | (std::uint64_t(b[4]) << 24)
                                   | (std::uint64_t(b[3]) << 16) | (std::uint64_t(b[2]) << 8) | b[1];
    const std::uint64_t bits = (std::uint64_t(b[5] >> 7) << 63) | (std::uint64_t(b[0] - 129 + 1023) << 52)
                               | (fraction << 13);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

inline void ExtendedToReal48(long double value, std::uint8_t out[6])
{
    const detail::ExtendedBits x = detail::bitsOf(value);
    const bool negative = (x.signExponent & 0x8000) != 0;
    int exponent = x.signExponent & 0x7FFF;

    // The leading bit and 39 fraction bits as one 40-bit integer; rounding looks at bit 23 only.
    std::uint64_t kept = x.mantissa >> 24;
    if ((x.mantissa >> 23) & 1)
        ++kept;
    if (kept >> 40) {
        kept >>= 1;
        ++exponent;
    }

    const int e48 = exponent - detail::kBiasDifference;
    if (e48 <= 0) {
        std::memset(out, 0, 6);
        return;
    }
    if (e48 >= 256)
        throw FloatingPointOverflow();

    const std::uint64_t fraction = kept & ((std::uint64_t{1} << 39) - 1);
    out[0] = std::uint8_t(e48);
    out[1] = std::uint8_t(fraction);
    out[2] = std::uint8_t(fraction >> 8);
    out[3] = std::uint8_t(fraction >> 16);
    out[4] = std::uint8_t(fraction >> 24);
    out[5] = std::uint8_t(((fraction >> 32) & 0x7F) | (negative ? 0x80 : 0));
}

// Through the bytes: exact for every value, but slow where a value is stored and read at once.
inline long double RoundToReal48ViaBytes(long double value)
{
    std::uint8_t b[6];
    ExtendedToReal48(value, b);
    return Real48ToExtended(b);
}

// The same result without an 80-bit store: the value is rounded to a double, whose bits are
// rounded to 40 with integer operations; the part lost to the double decides only exact-looking
// ties. Values outside the double's normal range take the byte path.
inline double RoundToReal48AsDouble(long double value)
{
    const double high = static_cast<double>(value);
    std::uint64_t bits;
    std::memcpy(&bits, &high, sizeof bits);
    const int exponent = int((bits >> 52) & 0x7FF);
    if (exponent == 0 || exponent == 0x7FF)
        return value == 0 ? 0.0 : static_cast<double>(RoundToReal48ViaBytes(value));
    // The 13 bits below the 40 kept ones; 0x1000 is exactly half of the last kept bit.
    const std::uint64_t dropped = bits & 0x1FFF;
    bool up = dropped > 0x1000;
    if (dropped == 0x1000) {
        const long double rest = value - static_cast<long double>(high); // exact
        up = value < 0 ? rest <= 0 : rest >= 0;
    }
    std::uint64_t rounded = bits & ~std::uint64_t{0x1FFF};
    if (up)
        rounded += 0x2000; // a carry into the exponent is the right result
    const int e48 = int((rounded >> 52) & 0x7FF) - 1023 + 129;
    if (e48 <= 0)
        return 0.0;
    if (e48 >= 256)
        throw FloatingPointOverflow();
    double d;
    std::memcpy(&d, &rounded, sizeof d);
    return d;
}

inline long double RoundToReal48(long double value)
{
    return RoundToReal48AsDouble(value);
}

// A value held with the precision of the stored format, for results that are never written
// to a file; reading and writing it costs no conversion through bytes.
struct Real48Value {
    double value = 0;

    long double get() const { return value; }
    void set(long double v) { value = RoundToReal48AsDouble(v); }
    void set(const Real48 &stored) { value = stored.get(); }

    bool operator==(const Real48Value &other) const { return value == other.value; }
};

inline long double Real48::get() const
{
    return Real48ToExtended(bytes);
}

inline void Real48::set(long double value)
{
    ExtendedToReal48(value, bytes);
}

} // namespace tablix
