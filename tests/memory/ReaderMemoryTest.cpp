// Peak memory of reading libraries of packed palette images, which decode to many times
// their stored size: check and info decode nothing, a library over the budget is refused
// before any pixel is allocated, and one within it costs its pixels and little more.

#include "AllocationCounter.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "tileset/LibraryFile.h"

#include <gtest/gtest.h>

namespace qrb {
namespace {

using test::AllocationCounter;
using test::FixtureImage;

// Buffers, header records and messages: what a read may hold besides the pixels.
constexpr std::size_t kOverhead = 1 << 20;

// Bits per pixel and colours.
class ReaderMemory : public ::testing::TestWithParam<std::pair<std::uint16_t, int>> {};

TEST_P(ReaderMemory, StaysWithinThePixelsAndTheBudget) {
    const auto [bits, colours] = GetParam();
    test::TempDir dir;
    test::QrbFixture lib;
    lib.addTile(0, FixtureImage::of(test::fewColours(2048, 1024, colours), bits),
                FixtureImage::of(test::fewColours(1024, 512, colours), bits));
    const auto path = lib.writeTo(dir / "packed.qrb");
    const std::uint64_t pixels = (2048 * 3 * 1024) + (1024 * 3 * 512);

    {
        AllocationCounter counter;
        EXPECT_EQ(LibraryFile::inspect(path).decodedBytes, pixels);
        EXPECT_LT(counter.peak(), kOverhead);
    }
    {
        AllocationCounter counter;
        EXPECT_THROW(LibraryFile::load(path, {}, pixels - 1), LibraryFileError);
        EXPECT_LT(counter.peak(), kOverhead);
    }
    {
        AllocationCounter counter;
        const TileSet set = LibraryFile::load(path, {}, pixels);
        EXPECT_EQ(set.count(), 1);
        EXPECT_GE(counter.peak(), pixels);
        EXPECT_LT(counter.peak(), pixels + kOverhead);
    }
}

INSTANTIATE_TEST_SUITE_P(PaletteDepths, ReaderMemory,
                         ::testing::Values(std::pair(1, 2), std::pair(4, 16), std::pair(8, 4)),
                         [](const auto& testCase) { return std::to_string(testCase.param.first) + "bit"; });

} // namespace
} // namespace qrb
