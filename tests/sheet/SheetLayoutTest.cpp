#include "sheet/SheetLayout.h"
#include "sheet/SheetError.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

namespace qrb {
namespace {

using ::testing::HasSubstr;

// `count` tiles of `width` x `height` pixels.
TileSet library(int count, int width = 40, int height = 40) {
    TileSet set;
    for (int i = 0; i < count; ++i) {
        set.append({DibImage(width, height), DibImage(width / 2, height / 2), 0});
    }
    return set;
}

std::string messageOf(const SheetOptions& options, const SheetArt& art) {
    try {
        layOutSheet(options, art);
    } catch (const SheetError& e) {
        return e.what();
    }
    return "no error";
}

void expectRect(const RectMm& r, double x, double y, double w, double h) {
    EXPECT_NEAR(r.x, x, 1e-9);
    EXPECT_NEAR(r.y, y, 1e-9);
    EXPECT_NEAR(r.width, w, 1e-9);
    EXPECT_NEAR(r.height, h, 1e-9);
}

struct GridCase {
    const char* name;
    PageSize page;
    PageOrientation orientation;
    double gap;
    double bleed;
    int columns;
    int rows;
};

class SheetGrid : public ::testing::TestWithParam<GridCase> {};

// 25 mm tiles, 10 mm margins.
TEST_P(SheetGrid, FillsThePageInsideTheMargins) {
    const GridCase& c = GetParam();
    const TileSet set = library(200);
    SheetOptions options;
    options.page = c.page;
    options.orientation = c.orientation;
    options.gap = c.gap;
    options.bleed = c.bleed;
    const SheetLayout layout = layOutSheet(options, SheetArt(set));
    EXPECT_EQ(layout.columns, c.columns);
    EXPECT_EQ(layout.rows, c.rows);
    // Every tile with its bleed stays inside the margins.
    for (const SheetPage& page : layout.pages) {
        for (const SheetItem& item : page.items) {
            EXPECT_GE(item.bleed.left(), 10 - 1e-9);
            EXPECT_GE(item.bleed.top(), 10 - 1e-9);
            EXPECT_LE(item.bleed.right(), layout.page.width - 10 + 1e-9);
            EXPECT_LE(item.bleed.bottom(), layout.page.height - 10 + 1e-9);
        }
    }
}

constexpr auto P = PageOrientation::Portrait;
constexpr auto L = PageOrientation::Landscape;

INSTANTIATE_TEST_SUITE_P(
    Counts, SheetGrid,
    ::testing::Values(GridCase{"A4Portrait", PageSize::a4(), P, 0, 0, 7, 11},
                      GridCase{"A4Landscape", PageSize::a4(), L, 0, 0, 11, 7},
                      GridCase{"A4PortraitGap2", PageSize::a4(), P, 2, 0, 7, 10},
                      GridCase{"A4LandscapeGap2", PageSize::a4(), L, 2, 0, 10, 7},
                      GridCase{"A4PortraitBleed1", PageSize::a4(), P, 0, 1, 7, 10},
                      GridCase{"A4LandscapeBleed3", PageSize::a4(), L, 0, 3, 8, 6},
                      GridCase{"A4PortraitGap5Bleed1", PageSize::a4(), P, 5, 1, 6, 9},
                      GridCase{"LetterPortrait", PageSize::letter(), P, 0, 0, 7, 10},
                      GridCase{"LetterLandscape", PageSize::letter(), L, 0, 0, 10, 7},
                      GridCase{"LetterPortraitGap2", PageSize::letter(), P, 2, 0, 7, 9},
                      GridCase{"LetterLandscapeGap2", PageSize::letter(), L, 2, 0, 9, 7},
                      GridCase{"LetterPortraitBleed1", PageSize::letter(), P, 0, 1, 7, 9},
                      GridCase{"LetterLandscapeBleed3", PageSize::letter(), L, 0, 3, 8, 6}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(SheetLayout, TilesThatExactlyFillThePageAllFit) {
    // 1.5-inch tiles on Letter with quarter-inch margins: 7 rows make exactly 10.5 inches,
    // though 279.4 - 2 x 6.35 over 38.1 comes out a hair below 7 in floating point.
    const TileSet set = library(8);
    SheetOptions options;
    options.page = PageSize::letter();
    options.margins = SheetMargins::uniform(6.35);
    options.tileWidth = 38.1;
    EXPECT_EQ(layOutSheet(options, SheetArt(set)).rows, 7);
    // With gaps: 17 half-inch tiles and 16 eighth-inch gaps.
    options.tileWidth = 12.7;
    options.gap = 3.175;
    EXPECT_EQ(layOutSheet(options, SheetArt(set)).rows, 17);
}

TEST(SheetLayout, FirstAndLastTileOfAPage) {
    const TileSet set = library(150);
    SheetOptions options;
    options.gap = 2;
    SheetLayout layout = layOutSheet(options, SheetArt(set));
    ASSERT_EQ(layout.tilesPerPage(), 70);
    expectRect(layout.pages[0].items.front().trim, 10, 10, 25, 25);
    expectRect(layout.pages[0].items.back().trim, 10 + 6 * 27, 10 + 9 * 27, 25, 25);
    // The next page starts again at the top left: tiles 141..150 in rows of 7.
    const SheetItem& last = layout.pages[2].items.back();
    EXPECT_EQ(last.tile, 150);
    expectRect(last.trim, 10 + 2 * 27, 10 + 27, 25, 25);

    // Bleed moves the grid in by the bleed and keeps tiles twice the bleed apart.
    options.gap = 0;
    options.bleed = 1.5;
    layout = layOutSheet(options, SheetArt(set));
    ASSERT_EQ(layout.tilesPerPage(), 6 * 9);
    expectRect(layout.pages[0].items.front().bleed, 10, 10, 28, 28);
    expectRect(layout.pages[0].items.back().trim, 11.5 + 5 * 28, 11.5 + 8 * 28, 25, 25);
}

TEST(SheetLayout, KeepsEachTilesProportions) {
    TileSet set = library(1, 40, 20);
    set.append({DibImage(30, 60), DibImage(15, 30), 0});
    SheetOptions options;
    options.tileWidth = 30;
    const SheetLayout layout = layOutSheet(options, SheetArt(set));
    const auto& items = layout.pages[0].items;
    expectRect(items[0].trim, 10, 10, 30, 15);
    expectRect(items[1].trim, 40, 10, 30, 60);
    // Rows are as high as the tallest tile: 277 / 60.
    EXPECT_EQ(layout.rows, 4);
}

TEST(SheetLayout, TileListsAndCopies) {
    const TileSet set = library(5);
    SheetOptions options;
    options.tiles = {4, 2, 4};
    options.copies = 2;
    const SheetLayout layout = layOutSheet(options, SheetArt(set));
    std::vector<int> printed;
    for (const SheetItem& item : layout.pages[0].items) {
        printed.push_back(item.tile);
    }
    EXPECT_EQ(printed, (std::vector<int>{4, 4, 2, 2, 4, 4}));

    options.tiles = {2, 6};
    EXPECT_EQ(messageOf(options, SheetArt(set)), "there is no tile 6: the library has 5 tiles");
}

TEST(SheetLayout, BackPagesMirrorTheColumns) {
    const TileSet fronts = library(6);
    const TileSet backs = library(6);
    SheetArt art(fronts);
    art.setBackLibrary(backs);
    SheetOptions options;
    options.page = PageSize{"", {120, 200}}; // 4 columns of 25 mm in 100 mm
    options.backs = true;
    const SheetLayout layout = layOutSheet(options, art);
    ASSERT_EQ(layout.columns, 4);
    ASSERT_EQ(layout.pages.size(), 2u);

    // Read left to right, the back page shows 4 3 2 1 / . . 6 5.
    std::vector<int> readingOrder(8, 0);
    for (const SheetItem& item : layout.pages[1].items) {
        readingOrder[static_cast<std::size_t>(item.row * 4 + item.column)] = item.tile;
    }
    EXPECT_EQ(readingOrder, (std::vector<int>{4, 3, 2, 1, 0, 0, 6, 5}));
    // Each back lies exactly behind its front when the sheet turns over its side edge.
    for (std::size_t i = 0; i < 6; ++i) {
        const RectMm& f = layout.pages[0].items[i].trim;
        const RectMm& b = layout.pages[1].items[i].trim;
        EXPECT_NEAR(b.left(), 120 - f.right(), 1e-9);
        EXPECT_NEAR(b.top(), f.top(), 1e-9);
    }

    options.backOffset = {1.5, -0.5};
    options.bleed = 1;
    const SheetLayout shifted = layOutSheet(options, art);
    const SheetItem& f = shifted.pages[0].items[0];
    const SheetItem& b = shifted.pages[1].items[0];
    expectRect(b.trim, 120 - f.trim.right() + 1.5, f.trim.top() - 0.5, 25, 25);
    expectRect(b.bleed, b.trim.x - 1, b.trim.y - 1, 27, 27);
}

TEST(SheetLayout, EveryPrintedTileNeedsABack) {
    const TileSet fronts = library(3);
    SheetOptions options;
    options.backs = true;
    EXPECT_EQ(messageOf(options, SheetArt(fronts)),
              "backs were asked for, but no backs were given");

    const TileSet two = library(2);
    SheetArt art(fronts);
    art.setBackLibrary(two);
    EXPECT_EQ(messageOf(options, art), "tile 3 has no back: the library of backs has 2 tiles");
    // One back tile backs every front.
    const TileSet one = library(1, 10, 10);
    art.setBackLibrary(one);
    EXPECT_EQ(&art.back(3), &one.tile(1).full);
}

TEST(SheetLayout, NoTileFitsIsAClearError) {
    const TileSet set = library(2);
    SheetOptions options;
    options.tileWidth = 300;
    EXPECT_EQ(messageOf(options, SheetArt(set)),
              "no tile fits: a 300 x 300 mm tile, but the page leaves 190 x 277 mm inside its "
              "margins");
    // 190 mm is exactly the room across; its bleed is not.
    options.tileWidth = 190;
    EXPECT_EQ(layOutSheet(options, SheetArt(set)).columns, 1);
    options.bleed = 0.5;
    EXPECT_EQ(messageOf(options, SheetArt(set)),
              "no tile fits: a 190 x 190 mm tile with 0.5 mm bleed needs 191 x 191 mm, but the "
              "page leaves 190 x 277 mm inside its margins");
}

TEST(SheetLayout, RefusesOptionsOutOfRange) {
    const TileSet set = library(2);
    const auto refused = [&](auto change, const std::string& fragment) {
        SheetOptions options;
        change(options);
        EXPECT_THAT(messageOf(options, SheetArt(set)), HasSubstr(fragment));
    };
    refused([](SheetOptions& o) { o.gap = -1; }, "the gap must be 0 mm or more, not -1 mm");
    refused([](SheetOptions& o) { o.margins = SheetMargins::uniform(105); },
            "the margins leave nothing of the 210 x 297 mm page");
    refused([](SheetOptions& o) { o.copies = 0; }, "copies must be between 1 and 1000, not 0");
    refused([](SheetOptions& o) { o.backOffset = {0, 400}; }, "back offset must stay within");

    const TileSet flat = library(1, 16000, 10);
    EXPECT_EQ(messageOf(SheetOptions{}, SheetArt(flat)),
              "tile 1 would print only 0.02 mm high at 25 mm wide; choose a larger tile size");
}

bool crosses(const LineMm& line, const RectMm& r) {
    const double half = SheetLayout::kHairline / 2;
    const double left = std::min(line.from.x, line.to.x) - half;
    const double right = std::max(line.from.x, line.to.x) + half;
    const double top = std::min(line.from.y, line.to.y) - half;
    const double bottom = std::max(line.from.y, line.to.y) + half;
    return left < r.right() && right > r.left() && top < r.bottom() && bottom > r.top();
}

class SheetMarks : public ::testing::TestWithParam<CutMarks> {};

TEST_P(SheetMarks, MarkEveryCutLineAndNeverCrossATile) {
    const TileSet set = library(30);
    for (double gap : {0.0, 3.0}) {
        for (double bleed : {0.0, 2.0}) {
            SheetOptions options;
            options.marks = GetParam();
            options.gap = gap;
            options.bleed = bleed;
            options.margins = SheetMargins::uniform(8);
            options.page = PageSize{"", {150, 150}};
            const SheetLayout layout = layOutSheet(options, SheetArt(set));
            for (const SheetPage& page : layout.pages) {
                // Cut lines to the micrometre: neighbours' edges may differ in the last bit.
                const auto micrometres = [](double mm) { return std::llround(mm * 1000); };
                std::set<long long> cutX;
                std::set<long long> markedX;
                for (const SheetItem& item : page.items) {
                    cutX.insert({micrometres(item.trim.left()), micrometres(item.trim.right())});
                }
                for (const LineMm& mark : page.marks) {
                    for (const SheetItem& item : page.items) {
                        EXPECT_FALSE(crosses(mark, item.bleed))
                            << "gap " << gap << " bleed " << bleed;
                    }
                    for (const PointMm& p : {mark.from, mark.to}) {
                        EXPECT_TRUE(p.x >= 0 && p.x <= 150 && p.y >= 0 && p.y <= 150);
                    }
                    if (mark.from.x == mark.to.x) {
                        markedX.insert(micrometres(mark.from.x));
                    }
                }
                EXPECT_EQ(markedX, cutX) << "gap " << gap << " bleed " << bleed;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, SheetMarks, ::testing::Values(CutMarks::Corners, CutMarks::Full),
                         [](const auto& testCase) {
                             return testCase.param == CutMarks::Corners ? "Corners" : "Full";
                         });

TEST(SheetLayout, CalibrationCrossesLieBehindEachOther) {
    SheetOptions options;
    options.calibration = true;
    options.backOffset = {0.5, -1};
    const TileSet none;
    const SheetLayout layout = layOutSheet(options, SheetArt(none));
    ASSERT_EQ(layout.pages.size(), 2u);
    const SheetPage& front = layout.pages[0];
    const SheetPage& back = layout.pages[1];
    // Five crosses of two arms each; the back adds a 20-tick scale to every arm.
    ASSERT_EQ(front.marks.size(), 10u);
    ASSERT_EQ(back.marks.size(), 5u * (2 + 40));
    // The centre cross, and behind it (mirrored, then moved) the back's.
    EXPECT_EQ(front.marks[0], (LineMm{{95, 148.5}, {115, 148.5}}));
    EXPECT_EQ(back.marks[0], (LineMm{{95.5, 147.5}, {115.5, 147.5}}));
    // A corner cross mirrors to the other side.
    const LineMm& corner = front.marks[2];
    const LineMm& behind = back.marks[42];
    EXPECT_NEAR(behind.from.x, 210 - corner.to.x + 0.5, 1e-9);
    EXPECT_NEAR(behind.from.y, corner.from.y - 1, 1e-9);

    options.margins = SheetMargins::uniform(96);
    EXPECT_THAT(messageOf(options, SheetArt(none)), HasSubstr("no room for the calibration"));
}

} // namespace
} // namespace qrb
