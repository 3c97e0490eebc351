#include "params/real48.h"

#include <cstring>

namespace tablix {

namespace {

constexpr int kBiasDifference = 16383 - 129;

struct ExtendedBits {
    std::uint64_t mantissa;
    std::uint16_t signExponent;
};

ExtendedBits bitsOf(long double v)
{
    unsigned char raw[sizeof(long double)];
    std::memcpy(raw, &v, sizeof raw);
    ExtendedBits b;
    std::memcpy(&b.mantissa, raw, 8);
    std::memcpy(&b.signExponent, raw + 8, 2);
    return b;
}

long double fromBits(std::uint64_t mantissa, std::uint16_t signExponent)
{
    unsigned char raw[sizeof(long double)] = {};
    std::memcpy(raw, &mantissa, 8);
    std::memcpy(raw + 8, &signExponent, 2);
    long double v;
    std::memcpy(&v, raw, sizeof v);
    return v;
}

} // namespace

long double Real48ToExtended(const std::uint8_t b[6])
{
    if (b[0] == 0)
        return 0.0L;
    std::uint64_t m = (std::uint64_t{1} << 63)
                      | (std::uint64_t(b[5] & 0x7F) << 56)
                      | (std::uint64_t(b[4]) << 48)
                      | (std::uint64_t(b[3]) << 40)
                      | (std::uint64_t(b[2]) << 32)
                      | (std::uint64_t(b[1]) << 24);
    auto se = std::uint16_t(b[0] + kBiasDifference);
    if (b[5] & 0x80)
        se |= 0x8000;
    return fromBits(m, se);
}

void ExtendedToReal48(long double value, std::uint8_t out[6])
{
    const ExtendedBits x = bitsOf(value);
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

    const int e48 = exponent - kBiasDifference;
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

long double RoundToReal48(long double value)
{
    std::uint8_t b[6];
    ExtendedToReal48(value, b);
    return Real48ToExtended(b);
}

long double Real48::get() const
{
    return Real48ToExtended(bytes);
}

void Real48::set(long double value)
{
    ExtendedToReal48(value, bytes);
}

} // namespace tablix
