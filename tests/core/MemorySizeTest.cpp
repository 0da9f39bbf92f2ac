#include "core/MemorySize.h"

#include <gtest/gtest.h>

namespace qrb {
namespace {

TEST(MemorySize, ParsesBytesAndBinaryUnitsAndRefusesTheRest) {
    const std::pair<const char*, std::optional<std::uint64_t>> cases[] = {
        {"300000", 300000},
        {"64K", 65536},
        {"512M", 512ull << 20},
        {"2g", 2ull << 30},
        {"2GiB", 2ull << 30},
        {"16777215T", 16777215ull << 40},
        {"16777216T", {}},
        {"", {}},
        {"M", {}},
        {"-1", {}},
        {"1.5G", {}},
        {"2 G", {}},
        {"2GG", {}}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parseMemorySize(text), expected) << text;
    }
}

TEST(MemorySize, DescribesExactlyWhenTheUnitIsNotWhole) {
    EXPECT_EQ(describeMemorySize(1023), "1023 bytes");
    EXPECT_EQ(describeMemorySize(2ull << 30), "2 GiB");
    EXPECT_EQ(describeMemorySize((2ull << 30) + 1), "2.0 GiB (2147483649 bytes)");
}

} // namespace
} // namespace qrb
