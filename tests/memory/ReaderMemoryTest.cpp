// Peak memory of reading libraries of packed palette images, which decode to many times
// their stored size: check and info decode nothing, a library over the budget is refused
// before any pixel is allocated, and one within it costs its pixels and little more.

#include "AllocationCounter.h"
#include "lettering/LetteringTable.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "tileset/LibraryFile.h"

#include <gtest/gtest.h>

#include <fstream>

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
                         [](const auto& testCase) {
                             return std::to_string(testCase.param.first) + "bit";
                         });

// A truncated library is refused before anything is allocated for its images, whatever
// its size against the budget.
TEST(ReaderMemory, ATruncatedLibraryIsRefusedBeforeAnyPixelIsAllocated) {
    test::TempDir dir;
    test::QrbFixture lib;
    lib.addTile(0, FixtureImage::of(test::fewColours(2048, 1024, 2), 1),
                FixtureImage::of(test::fewColours(1024, 512, 2), 1));
    std::vector<std::uint8_t> bytes = lib.bytes();
    bytes.pop_back();
    test::writeFile(dir / "short.qrb", bytes);
    AllocationCounter counter;
    EXPECT_THROW(LibraryFile::load(dir / "short.qrb"), LibraryFileError);
    EXPECT_LT(counter.peak(), kOverhead);
}

// A table is read a row at a time: a million rows cost what one does.
TEST(TableMemory, AMillionRowsCostWhatOneRowDoes) {
    test::TempDir dir;
    {
        std::ofstream out(dir / "rows.csv", std::ios::binary);
        out << "base,slot1,copies\n";
        for (int i = 0; i < 1'000'000; ++i)
            out << "1,,0\n";
    }
    AllocationCounter counter;
    std::size_t rows = 0;
    LetteringTable::forEachRow(dir / "rows.csv", [&](const LetteringRow&) { ++rows; });
    EXPECT_EQ(rows, 1'000'000u);
    EXPECT_LT(counter.peak(), kOverhead);
}

// convert holds one tile at a time, however many the library has, and writes the same
// bytes as a load and a save.
TEST(ConvertMemory, HoldsOneTileAtATime) {
    test::TempDir dir;
    test::QrbFixture lib;
    for (int i = 0; i < 100; ++i) {
        lib.addTile(std::uint32_t(i), FixtureImage::of(test::pattern(128, 128, i)),
                    FixtureImage::of(test::fewColours(64, 64, 200, i), 8));
    }
    const auto path = lib.writeTo(dir / "many.qrb");
    const std::uint64_t oneTile = (128 * 3 * 128) + (64 * 3 * 64);

    AllocationCounter counter;
    EXPECT_EQ(LibraryFile::convert(path, dir / "out.qrb"), 100);
    // Stream buffers and one tile; the library's pixels are 100 tiles.
    EXPECT_LT(counter.peak(), kOverhead + oneTile);
    LibraryFile::save(dir / "saved.qrb", LibraryFile::load(path));
    EXPECT_EQ(test::readFile(dir / "out.qrb"), test::readFile(dir / "saved.qrb"));
}

} // namespace
} // namespace qrb
