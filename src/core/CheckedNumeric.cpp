#include "core/CheckedNumeric.h"

#include <cmath>
#include <limits>

namespace qrb {

namespace {

template <typename Int> std::optional<Int> roundToEven(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    // Explicit ties-to-even, independent of the floating-point rounding mode.
    double rounded = std::floor(value);
    const double fraction = value - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0)) {
        rounded += 1.0;
    }
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
        return std::nullopt;
    }
    return static_cast<Int>(rounded);
}

} // namespace

std::optional<std::int16_t> tryToInt16(double value) {
    return roundToEven<std::int16_t>(value);
}

std::optional<std::int32_t> tryToInt32(double value) {
    return roundToEven<std::int32_t>(value);
}

std::int16_t toInt16(double value, const char* what) {
    if (auto v = tryToInt16(value)) {
        return *v;
    }
    throw NumericOverflow(std::string(what) + " does not fit a 16-bit number");
}

} // namespace qrb
