#include "imaging/HalfSize.h"

#include <gtest/gtest.h>

namespace qrb {
namespace {

TEST(HalfSize, ReducesTheWholeImageNotItsCorner) {
    const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255};
    DibImage source(64, 48);
    for (std::int32_t y = 0; y < 48; ++y) {
        for (std::int32_t x = 0; x < 64; ++x) {
            source.setPixel(x, y, y < 24 ? (x < 32 ? red : green) : (x < 32 ? blue : white));
        }
    }
    const DibImage half = halfSize(source);
    ASSERT_EQ(half.width(), 32);
    ASSERT_EQ(half.height(), 24);
    EXPECT_EQ(half.pixel(0, 0), red);
    EXPECT_EQ(half.pixel(15, 11), red);
    EXPECT_EQ(half.pixel(16, 0), green);
    EXPECT_EQ(half.pixel(31, 11), green);
    EXPECT_EQ(half.pixel(0, 12), blue);
    EXPECT_EQ(half.pixel(31, 23), white);
}

TEST(HalfSize, AveragesEachBlock) {
    DibImage source(2, 2);
    source.setPixel(0, 0, Rgb{0, 10, 255});
    source.setPixel(1, 0, Rgb{1, 20, 255});
    source.setPixel(0, 1, Rgb{2, 30, 0});
    source.setPixel(1, 1, Rgb{3, 40, 0});
    EXPECT_EQ(halfSize(source).pixel(0, 0), (Rgb{2, 25, 128})); // 1.5 -> 2, 127.5 -> 128
}

TEST(HalfSize, OddSizesWeighCutPixelsByTheirCoveredPart) {
    // 61 x 61 black with a white last column and bottom row: each result pixel spans
    // 61/30 source pixels, so the last result column covers 30/61 of the white column.
    DibImage source(61, 61);
    for (std::int32_t i = 0; i < 61; ++i) {
        source.setPixel(60, i, Rgb{255, 255, 255});
        source.setPixel(i, 60, Rgb{255, 255, 255});
    }
    const DibImage half = halfSize(source);
    ASSERT_EQ(half.width(), 30);
    ASSERT_EQ(half.height(), 30);
    // Sizes round down but keep one pixel.
    EXPECT_EQ(halfDimension(1), 1);
    EXPECT_EQ(halfDimension(3), 1);
    EXPECT_EQ(half.pixel(0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(half.pixel(28, 5), (Rgb{0, 0, 0}));
    EXPECT_EQ(half.pixel(29, 5).red, 125); // 255 x 30/61
    EXPECT_EQ(half.pixel(5, 29).green, 125);
    EXPECT_EQ(half.pixel(29, 29).blue, 189); // 255 x (1 - (31/61)^2)
    EXPECT_EQ(half.bufferRow(0)[90], 0);     // padding: 90 bytes of pixels, stride 92
}

} // namespace
} // namespace qrb
