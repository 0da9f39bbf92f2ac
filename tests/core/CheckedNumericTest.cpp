#include "core/CheckedNumeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace qrb {
namespace {

TEST(CheckedNumeric, RoundsHalfToEven) {
    const std::pair<double, int> cases[] = {
        {2.5, 2},  {3.5, 4},   {-0.5, 0},        {-1.5, -2},         {0.49, 0},
        {1.51, 2}, {-2.5, -2}, {32767.4, 32767}, {-32768.5, -32768}, {7.0, 7}};
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(tryToInt16(value), std::optional<std::int16_t>(expected)) << value;
    }
}

TEST(CheckedNumeric, FailsInsteadOfWrapping) {
    for (double value :
         {32767.5, 32768.0, -32769.0, -32768.6, 1e9, std::numeric_limits<double>::quiet_NaN(),
          std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(tryToInt16(value).has_value()) << value;
    }
    EXPECT_THROW(toInt16(40000.0, "scroll range"), NumericOverflow);
    EXPECT_EQ(tryToInt32(2147483647.4), 2147483647);
    EXPECT_FALSE(tryToInt32(2147483647.5).has_value());
}

} // namespace
} // namespace qrb
