#include "core/MemorySize.h"

#include <gtest/gtest.h>

namespace qrb {
namespace {

TEST(MemorySize, ParsesBytesAndBinaryUnits) {
    const std::pair<const char*, std::optional<std::uint64_t>> cases[] = {
        {"0", 0},
        {"300000", 300000},
        {"64K", 65536},
        {"512M", 512ull << 20},
        {"2g", 2ull << 30},
        {"2GB", 2ull << 30},
        {"2GiB", 2ull << 30},
        {"1T", 1ull << 40},
        {"16777215T", 16777215ull << 40},
        {"16777216T", std::nullopt}, // beyond 64 bits
        {"", std::nullopt},
        {"M", std::nullopt},
        {"-1", std::nullopt},
        {"1.5G", std::nullopt},
        {"2 G", std::nullopt},
        {"2X", std::nullopt},
        {"2GG", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parseMemorySize(text), expected) << text;
    }
}

TEST(MemorySize, DescribesExactlyWhenTheUnitIsNotWhole) {
    EXPECT_EQ(describeMemorySize(1), "1 byte");
    EXPECT_EQ(describeMemorySize(1023), "1023 bytes");
    EXPECT_EQ(describeMemorySize(48ull << 20), "48 MiB");
    EXPECT_EQ(describeMemorySize(2ull << 30), "2 GiB");
    EXPECT_EQ(describeMemorySize((2ull << 30) + 1), "2.0 GiB (2147483649 bytes)");
    EXPECT_EQ(describeMemorySize(3354624), "3.2 MiB (3354624 bytes)");
}

TEST(MemorySize, DefaultBudgetIsAtMostTwoGiB) {
    EXPECT_GT(defaultMemoryBudget(), 0u);
    EXPECT_LE(defaultMemoryBudget(), 2ull << 30);
}

} // namespace
} // namespace qrb
