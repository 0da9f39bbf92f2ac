#pragma once
// Conversions into the program's 16-bit counts, indices, positions, angles and scroll
// values. They round half to even and fail instead of wrapping.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace qrb {

// Thrown when a value does not fit the type it is converted to.
class NumericOverflow : public std::overflow_error {
public:
    explicit NumericOverflow(const std::string& what) : std::overflow_error(what) {}
};

// Nearest integer, ties to even (2.5 -> 2, 3.5 -> 4, -0.5 -> 0). Empty when the value
// is not finite or does not fit a signed 16-bit integer.
std::optional<std::int16_t> tryToInt16(double value);

// As tryToInt16, but throws NumericOverflow naming `what` when the value does not fit.
std::int16_t toInt16(double value, const char* what = "value");

// Nearest integer, ties to even, for any finite value in the 32-bit range; empty otherwise.
std::optional<std::int32_t> tryToInt32(double value);

} // namespace qrb
