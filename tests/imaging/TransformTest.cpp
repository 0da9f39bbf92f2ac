#include "imaging/Transform.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace qrb {
namespace {

// Pixels by display rows, top row first, one letter per pixel.
DibImage picture(const std::vector<std::string>& rows) {
    DibImage image(static_cast<std::int32_t>(rows[0].size()),
                   static_cast<std::int32_t>(rows.size()));
    for (std::int32_t y = 0; y < image.height(); ++y) {
        for (std::int32_t x = 0; x < image.width(); ++x) {
            const auto c = static_cast<std::uint8_t>(
                rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
            image.setPixel(
                x, y, Rgb{c, static_cast<std::uint8_t>(c + 1), static_cast<std::uint8_t>(c + 2)});
        }
    }
    return image;
}

DibImage randomImage(std::int32_t w, std::int32_t h, unsigned seed) {
    DibImage image(w, h);
    std::mt19937 gen(seed);
    for (std::int32_t y = 0; y < h; ++y) {
        for (std::int32_t x = 0; x < w; ++x) {
            image.setPixel(x, y,
                           Rgb{static_cast<std::uint8_t>(gen()), static_cast<std::uint8_t>(gen()),
                               static_cast<std::uint8_t>(gen())});
        }
    }
    return image;
}

struct TableCase {
    TransformKind kind;
    std::vector<std::string> expected;
};

class TwoByTwo : public testing::TestWithParam<TableCase> {};

TEST_P(TwoByTwo, MovesEveryPixelToItsPlace) {
    const DibImage source = picture({"pq", "st"});
    EXPECT_EQ(transformed(source, GetParam().kind), picture(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Kinds, TwoByTwo,
                         testing::Values(TableCase{TransformKind::RotateLeft, {"qt", "ps"}},
                                         TableCase{TransformKind::RotateRight, {"sp", "tq"}},
                                         TableCase{TransformKind::FlipVertical, {"st", "pq"}},
                                         TableCase{TransformKind::FlipHorizontal, {"qp", "ts"}}));

TEST(Transform, TurnsAndFlipsUndoThemselvesAtAnySize) {
    using K = TransformKind;
    for (auto [w, h] : {std::pair{7, 7}, std::pair{5, 3}, std::pair{1, 4}}) {
        const DibImage source = randomImage(w, h, static_cast<unsigned>(w * 10 + h));
        DibImage turned = source;
        for (int i = 0; i < 4; ++i) {
            turned = transformed(turned, K::RotateLeft);
        }
        EXPECT_EQ(turned, source);
        EXPECT_EQ(transformed(transformed(source, K::RotateLeft), K::RotateRight), source);
        for (K flip : {K::FlipVertical, K::FlipHorizontal}) {
            EXPECT_EQ(transformed(transformed(source, flip), flip), source);
        }
    }
}

TEST(Transform, NonSquareTurnsSwapTheSides) {
    const DibImage source = picture({"abc", "def"});
    EXPECT_EQ(transformed(source, TransformKind::RotateLeft), picture({"cf", "be", "ad"}));
    EXPECT_EQ(transformed(source, TransformKind::RotateRight), picture({"da", "eb", "fc"}));
}

TEST(Transform, PaddingOfTheResultIsZero) {
    // Width 5: stride 16, byte 15 of every row is padding.
    DibImage source = randomImage(5, 5, 7);
    for (std::int32_t r = 0; r < 5; ++r) {
        source.bufferRow(r)[15] = 0xAB;
    }
    for (TransformKind kind : {TransformKind::RotateLeft, TransformKind::RotateRight,
                               TransformKind::FlipVertical, TransformKind::FlipHorizontal}) {
        const DibImage result = transformed(source, kind);
        for (std::int32_t r = 0; r < result.height(); ++r) {
            EXPECT_EQ(result.bufferRow(r)[15], 0)
                << "kind " << static_cast<int>(kind) << " row " << r;
        }
    }
}

} // namespace
} // namespace qrb
