// The 6-byte floating-point format of every stored number, and its two conversions.
#pragma once

#include <cfloat>
#include <cstdint>
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

} // namespace tablix
