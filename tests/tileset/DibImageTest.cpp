#include "tileset/DibImage.h"
#include "support/QrbFixture.h"
#include "tileset/QrbReader.h"

#include <gtest/gtest.h>

#include <functional>

namespace qrb {
namespace {

// Every way of writing to an image; each must give the written image rows of its own.
using Write = std::function<void(DibImage&)>;

class DibImageWrite : public ::testing::TestWithParam<std::pair<const char*, Write>> {};

TEST_P(DibImageWrite, ChangesOnlyTheImageWrittenNeverACopy) {
    const Write& write = GetParam().second;
    const DibImage original = test::pattern(5, 3, 1);
    DibImage copy = original;
    DibImage second = copy;
    EXPECT_TRUE(copy.sharesPixelsWith(original));

    write(copy);
    EXPECT_EQ(original, test::pattern(5, 3, 1));
    EXPECT_EQ(second, original);
    EXPECT_NE(copy, original);
    EXPECT_EQ(copy.pixel(0, 0), (Rgb{1, 2, 3}));

    // The first image, written after its copy went its own way, changes alone as well.
    write(second);
    EXPECT_EQ(original, test::pattern(5, 3, 1));
}

INSTANTIATE_TEST_SUITE_P(
    Accessors, DibImageWrite,
    ::testing::Values(std::pair<const char*, Write>{"setPixel",
                                                    [](DibImage& i) {
                                                        i.setPixel(0, 0, Rgb{1, 2, 3});
                                                    }},
                      std::pair<const char*, Write>{"scanLine",
                                                    [](DibImage& i) {
                                                        std::uint8_t* p = i.scanLine(0);
                                                        p[0] = 3, p[1] = 2, p[2] = 1;
                                                    }},
                      std::pair<const char*, Write>{"bufferRow",
                                                    [](DibImage& i) {
                                                        std::uint8_t* p =
                                                            i.bufferRow(i.height() - 1);
                                                        p[0] = 3, p[1] = 2, p[2] = 1;
                                                    }},
                      std::pair<const char*, Write>{"bytes",
                                                    [](DibImage& i) {
                                                        auto b = i.bytes();
                                                        const std::size_t top =
                                                            (i.height() - 1) * i.stride();
                                                        b[top] = 3, b[top + 1] = 2, b[top + 2] = 1;
                                                    }}),
    [](const auto& testCase) { return std::string(testCase.param.first); });

// The images of a library that was read share their memory; an edit of one tile must not
// reach its neighbours, nor a snapshot taken before the edit.
TEST(DibImage, TilesReadTogetherAreEditedApart) {
    test::QrbFixture lib;
    lib.addTile(1, test::FixtureImage::of(test::pattern(7, 4, 1)),
                test::FixtureImage::of(test::pattern(3, 2, 2)));
    lib.addTile(2, test::FixtureImage::of(test::pattern(7, 4, 3)),
                test::FixtureImage::of(test::pattern(3, 2, 4), 8));
    TileSet set = QrbReader::read(lib.bytes());
    const Tile snapshot = set.tile(1);

    for (std::int32_t y = 0; y < 4; ++y) {
        for (std::int32_t x = 0; x < 7; ++x) {
            set.tile(1).full.setPixel(x, y, Rgb{9, 9, 9});
        }
    }
    set.tile(1).half.bytes()[0] = 77;

    EXPECT_EQ(snapshot.full, test::pattern(7, 4, 1));
    EXPECT_EQ(snapshot.half, test::pattern(3, 2, 2));
    EXPECT_EQ(set.tile(2).full, test::pattern(7, 4, 3));
    EXPECT_EQ(set.tile(2).half, test::FixtureImage::of(test::pattern(3, 2, 4), 8).expected());
    EXPECT_EQ(set.tile(1).full, DibImage::filled(7, 4, Rgb{9, 9, 9}));
}

TEST(DibImage, ComparesSizeAndBytes) {
    EXPECT_EQ(DibImage(), DibImage(0, 0));
    EXPECT_EQ(DibImage(2, 2), DibImage::filled(2, 2, Rgb{}));
    EXPECT_NE(DibImage(2, 3), DibImage(3, 2)); // same number of bytes, other shape
    EXPECT_THROW(DibImage(2, 2, PixelArena::single(15, true)), std::invalid_argument);
}

} // namespace
} // namespace qrb
