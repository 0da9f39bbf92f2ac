#include "editing/StripModel.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace qrb {
namespace {

// A tile whose small colour names it, so moved tiles can be recognised.
Tile tile(ColourValue id, std::int32_t w = 40, std::int32_t h = 40) {
    return Tile{DibImage(w, h), DibImage(w / 2, h / 2), id};
}

TileSet tileSet(int n) {
    TileSet set;
    for (int i = 1; i <= n; ++i) {
        set.append(tile(static_cast<ColourValue>(i)));
    }
    return set;
}

// Marks as letters: w white, k black (base), b dark blue (selected).
std::string marks(const StripModel& m) {
    std::string s;
    for (int i = 1; i <= m.count(); ++i) {
        s += m.mark(i) == palette::White ? 'w' : m.mark(i) == palette::Black ? 'k' : 'b';
    }
    return s;
}

std::vector<ColourValue> ids(const StripModel& m) {
    std::vector<ColourValue> v;
    for (const Tile& t : m.tiles().tiles()) {
        v.push_back(t.smallColour);
    }
    return v;
}

// Runs presses written as "c3" (plain left click on 3), "s3" (Shift), "x3" (Ctrl),
// "o3" (another modifier combination) and "B" (Set as Base tile).
void run(StripModel& m, const std::string& script) {
    std::istringstream in(script);
    std::string step;
    while (in >> step) {
        if (step == "B") {
            m.setBaseTile();
            continue;
        }
        const int k = std::stoi(step.substr(1));
        const Modifiers mod = step[0] == 'c'   ? Modifiers::None
                              : step[0] == 's' ? Modifiers::Shift
                              : step[0] == 'x' ? Modifiers::Ctrl
                                               : Modifiers::Other;
        m.press(k, RowPart::Half, MouseButton::Left, mod);
    }
}

// Five tiles as an open leaves them: tile 1 base and current.
struct Opened {
    TileSet set = tileSet(5);
    StripModel model{set};
    Opened() { model.showSelectedTile(1); }
};

struct SelectionCase {
    std::string script, marks;
    int current, base;
    bool multi;
};

class Selection : public testing::TestWithParam<SelectionCase> {};

TEST_P(Selection, FollowsTheClickRules) {
    Opened o;
    run(o.model, GetParam().script);
    EXPECT_EQ(marks(o.model), GetParam().marks);
    EXPECT_EQ(o.model.currentTile(), GetParam().current);
    EXPECT_EQ(o.model.baseTile(), GetParam().base);
    EXPECT_EQ(o.model.multiSelect(), GetParam().multi);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Selection,
    testing::Values(SelectionCase{"", "bwwww", 1, 1, false},
                    SelectionCase{"c3", "kwbww", 3, 1, false},
                    SelectionCase{"c3 c3", "kwwww", 0, 1, false}, // second click deselects
                    SelectionCase{"c3 s5", "kwbbb", 3, 1, true},
                    SelectionCase{"c4 s2", "kbbbw", 4, 1, true},  // upwards
                    SelectionCase{"c1 s3", "bbbww", 0, 1, true},  // no current: from tile 1
                    SelectionCase{"c3 s3", "kwbww", 3, 1, false}, // on the current: nothing
                    SelectionCase{"c2 x4 s5", "kbbbb", 2, 1, true},
                    SelectionCase{"c3 x5 x3", "kwwwb", 3, 1, true},
                    SelectionCase{"c3 x1 x1", "wwbww", 3, 1, true}, // base loses its mark
                    SelectionCase{"c2 x1 x4 c5", "wwwwb", 5, 1, false},
                    SelectionCase{"c3 o4", "kwbww", 3, 1, false},
                    SelectionCase{"c3 B", "wwbww", 3, 3, false},
                    SelectionCase{"c3 B c4", "wwkbw", 4, 3, false},
                    SelectionCase{"c1 B", "wwwww", 0, 0, false}));

struct MenuCase {
    std::string script;
    int tile;
    RowPart part;
    Modifiers modifiers;
    bool shown, plural;
};

class RightClick : public testing::TestWithParam<MenuCase> {};

TEST_P(RightClick, ShowsTheMenuInTheRightForm) {
    Opened o;
    run(o.model, GetParam().script);
    const std::string before = marks(o.model);
    const PressOutcome out =
        o.model.press(GetParam().tile, GetParam().part, MouseButton::Right, GetParam().modifiers);
    EXPECT_EQ(marks(o.model), before);
    if (!GetParam().shown) {
        EXPECT_EQ(out.action, PressOutcome::Action::Nothing);
        return;
    }
    ASSERT_EQ(out.action, PressOutcome::Action::ShowContextMenu);
    const bool plural = GetParam().plural;
    EXPECT_EQ(out.menu,
              (TileMenuForm{!plural, !plural, plural,
                            plural ? kSaveSelectedTilesCaption : kSaveSelectedTileCaption}));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, RightClick,
    testing::Values(MenuCase{"", 1, RowPart::Small, Modifiers::None, true, false},
                    MenuCase{"", 2, RowPart::Full, Modifiers::None, false, false},   // white row
                    MenuCase{"c3", 1, RowPart::Full, Modifiers::Shift, true, false}, // black row
                    MenuCase{"c3", 1, RowPart::Half, Modifiers::None, false, false},
                    MenuCase{"c3", 1, RowPart::Frame, Modifiers::None, false, false},
                    MenuCase{"c3 x5", 5, RowPart::Frame, Modifiers::Ctrl, true, true},
                    MenuCase{"c3 x3", 1, RowPart::Full, Modifiers::None, true, true},
                    MenuCase{"c3", 3, RowPart::Full, Modifiers::Other, false, false}));

TEST(StripModel, PlainClickAsksToShowTheTileAndOtherButtonsOrMissingRowsDoNothing) {
    Opened o;
    using Action = PressOutcome::Action;
    EXPECT_EQ(o.model.press(2, RowPart::Full, MouseButton::Other, Modifiers::None).action,
              Action::Nothing);
    EXPECT_EQ(o.model.press(6, RowPart::Full, MouseButton::Left, Modifiers::None).action,
              Action::Nothing);
    const PressOutcome out = o.model.press(4, RowPart::Frame, MouseButton::Left, Modifiers::None);
    EXPECT_EQ(out.action, Action::ShowTile);
    EXPECT_EQ(out.tile, 4);
}

struct DeleteCase {
    std::string script;
    bool selected;                  // Delete selected tiles, else Delete Tile (the current tile)
    std::vector<ColourValue> tiles; // the small colours of the tiles left
    std::string marks;
    int current, base, shown;
};

class Deleting : public testing::TestWithParam<DeleteCase> {};

TEST_P(Deleting, MarksFollowTheirTiles) {
    Opened o;
    run(o.model, GetParam().script);
    const DeleteOutcome out =
        GetParam().selected ? o.model.deleteSelected() : o.model.deleteTile(o.model.currentTile());
    EXPECT_EQ(ids(o.model), GetParam().tiles);
    EXPECT_EQ(marks(o.model), GetParam().marks);
    EXPECT_EQ(o.model.currentTile(), GetParam().current);
    EXPECT_EQ(o.model.baseTile(), GetParam().base);
    EXPECT_EQ(out.showTile, GetParam().shown);
    EXPECT_EQ(out.removed, static_cast<int>(5 - GetParam().tiles.size()));
    EXPECT_EQ(out.becameEmpty, GetParam().tiles.empty());
    EXPECT_EQ(o.model.selectedTiles().size(),
              static_cast<std::size_t>(
                  std::count(GetParam().marks.begin(), GetParam().marks.end(), 'b')));
}

INSTANTIATE_TEST_SUITE_P(
    Walks, Deleting,
    testing::Values(
        DeleteCase{"c3", false, {1, 2, 4, 5}, "kwww", 0, 1, 0},
        DeleteCase{"c2 x4", true, {1, 3, 5}, "kww", 0, 1, 0},         // no stale mark on old 3
        DeleteCase{"c4 s5", true, {1, 2, 3}, "kwb", 3, 1, 3},         // tile before becomes current
        DeleteCase{"c3 B", false, {1, 2, 4, 5}, "kwww", 0, 1, 0},     // base deleted: tile 1
        DeleteCase{"c4 B c2", false, {1, 3, 4, 5}, "wwkw", 0, 3, 0},  // base moves up
        DeleteCase{"c3 B c3 x1 x3", true, {2, 4, 5}, "kww", 0, 1, 0}, // base and tile 1 go
        DeleteCase{"c2 x4", false, {1, 3, 4, 5}, "kwbw", 0, 1, 0},    // survivor keeps mark
        DeleteCase{"c1 x2 x2", true, {1, 2, 3, 4, 5}, "kwwww", 0, 1, 0}, // nothing marked
        DeleteCase{"c1", false, {1, 2, 3, 4, 5}, "kwwww", 0, 1, 0},      // no current tile
        DeleteCase{"c1 s5", true, {}, "", 0, 0, 0}));                    // every tile

TEST(StripModel, RowsAreLaidOutBelowEachOther) {
    TileSet set;
    set.append(tile(1, 40, 40));
    set.append(Tile{DibImage(50, 60), DibImage(24, 31), 2});
    StripModel m(set);
    const RowGeometry first = m.rowGeometry(1);
    EXPECT_EQ(first, (RowGeometry{-35, 700, 15, 30, 600, 600, 165, 700, 300, 300, 240, 1100, 150}));
    const RowGeometry second = m.rowGeometry(2);
    EXPECT_EQ(second.fullTop, 715);
    EXPECT_EQ(second.frameTop, first.frameTop + first.frameHeight);
    EXPECT_EQ(second.halfTop, 715 + 14 * 15); // (60 - 31) / 2 rounded down
    EXPECT_EQ(second.halfLeft, 850);
    EXPECT_EQ(second.smallLeft, 850 + 360 + 100);
    EXPECT_EQ(m.contentHeight(), 700 + 1000);

    EXPECT_EQ(m.rowAt(-36), 0);
    EXPECT_EQ(m.rowAt(-35), 1);
    EXPECT_EQ(m.rowAt(664), 1);
    EXPECT_EQ(m.rowAt(665), 2);
    EXPECT_EQ(m.rowAt(1665), 0);
    EXPECT_EQ(m.hitTest(30, 15), (RowHit{1, RowPart::Full}));
    EXPECT_EQ(m.hitTest(700, 165), (RowHit{1, RowPart::Half}));
    EXPECT_EQ(m.hitTest(1100, 240), (RowHit{1, RowPart::Small}));
    EXPECT_EQ(m.hitTest(650, 15), (RowHit{1, RowPart::Frame}));
}

TEST(StripModel, OpenAppendAndDeleteGiveTheSameLayout) {
    const std::vector<std::int32_t> heights{40, 64, 20, 100, 33};
    TileSet opened;
    for (std::int32_t h : heights) {
        opened.append(tile(1, 40, h));
    }
    StripModel reference(opened);

    TileSet edited;
    StripModel m(edited);
    m.appendTile(tile(9, 40, 77));
    for (std::int32_t h : heights) {
        m.appendTile(tile(1, 40, h));
    }
    m.appendTile(tile(9, 40, 55));
    m.deleteTile(1);
    m.deleteTile(6);
    m.replaceTile(3, tile(1, 40, 5));
    m.replaceTile(3, tile(1, 40, heights[2]));

    ASSERT_EQ(m.count(), reference.count());
    EXPECT_EQ(m.contentHeight(), reference.contentHeight());
    for (int i = 1; i <= m.count(); ++i) {
        EXPECT_EQ(m.rowGeometry(i), reference.rowGeometry(i)) << "row " << i;
    }
}

TEST(StripModel, ScrollSettings) {
    TileSet set = tileSet(5); // 40 x 40 tiles: 700 twips a row
    StripModel m(set);
    // Fits: disabled; the classic steps still come from tile 1.
    EXPECT_EQ(m.scrollSettings(3500), (ScrollSettings{false, 0, 700, 3500, 1}));
    // One row taller than the viewport.
    EXPECT_EQ(m.scrollSettings(2800), (ScrollSettings{true, 700, 700, 3500, 1}));
    TileSet none;
    EXPECT_EQ(StripModel(none).scrollSettings(2800), (ScrollSettings{false, -2800, 0, 0, 1}));
}

TEST(StripModel, LargestLibraryScrollsToEveryRow) {
    TileSet set;
    for (int i = 1; i <= TileSet::kMaxTiles; ++i) {
        set.append(tile(static_cast<ColourValue>(i)));
    }
    StripModel m(set);
    const ScrollSettings s = m.scrollSettings(6000);
    EXPECT_EQ(s, (ScrollSettings{true, 32767 * 700 - 6000, 700, 3500, 1}));
    // At the bottom, the last row is in view.
    EXPECT_EQ(m.rowAt(s.maximum + 6000 - 36), TileSet::kMaxTiles);
    EXPECT_EQ(m.rowGeometry(TileSet::kMaxTiles).fullTop, 15 + 32766 * 700);

    EXPECT_THROW(m.appendTile(tile(0)), std::length_error);
    EXPECT_EQ(m.count(), TileSet::kMaxTiles);
    m.deleteTile(1);
    EXPECT_EQ(m.appendTile(tile(0)), TileSet::kMaxTiles);
    EXPECT_EQ(m.rowGeometry(TileSet::kMaxTiles).fullTop, 15 + 32766 * 700);
}

} // namespace
} // namespace qrb

namespace qrb {
namespace {

// Moves keep each tile's mark, and the current and base tile point at the same tiles.
TEST(StripModel, MovesCarryMarksCurrentAndBaseWithTheirTiles) {
    TileSet set = tileSet(6);
    StripModel m(set);
    run(m, "c5 B c2 x3");
    ASSERT_EQ(marks(m), "wbbwkw");
    m.moveTiles({2, 3}, {5, 6});
    EXPECT_EQ(ids(m), (std::vector<ColourValue>{1, 4, 5, 6, 2, 3}));
    EXPECT_EQ(marks(m), "wwkwbb");
    EXPECT_EQ(m.currentTile(), 5);
    EXPECT_EQ(m.baseTile(), 3);
    EXPECT_EQ(StripModel::movedNumber(1, {2, 3}, {5, 6}), 1);
    EXPECT_EQ(StripModel::movedNumber(6, {6}, {1}), 1);
    EXPECT_EQ(StripModel::movedNumber(1, {6}, {1}), 2);
}

// Past the few tiles moved one by one: the marks and rows go in one pass each.
TEST(StripModel, ManyTilesMoveInOnePassWithTheirMarks) {
    TileSet set;
    for (int i = 1; i <= 300; ++i) {
        set.append(tile(static_cast<ColourValue>(i), 10, 10 + i % 7));
    }
    StripModel m(set);
    std::vector<int> from;
    std::vector<int> to;
    for (int i = 1; i <= 100; ++i) {
        from.push_back(3 * i - 1);
        to.push_back(200 + i);
    }
    run(m, "x4 x8");
    m.moveTiles(from, to);
    EXPECT_EQ(ids(m)[200], 2u);
    EXPECT_EQ(ids(m)[0], 1u);
    EXPECT_EQ(ids(m)[1], 3u);
    EXPECT_EQ(m.selectedTiles(), (std::vector<int>{3, 203}));
    Twips top = m.rowGeometry(1).fullTop;
    for (int i = 1; i < 300; ++i) {
        top += m.rowGeometry(i).fullHeight + strip::kRowGap;
        ASSERT_EQ(m.rowGeometry(i + 1).fullTop, top) << i;
    }
}

TEST(StripModel, DropGapsLieBetweenRowHalves) {
    TileSet set = tileSet(3);
    StripModel m(set);
    const RowGeometry second = m.rowGeometry(2);
    EXPECT_EQ(m.gapAt(-500), 1);
    EXPECT_EQ(m.gapAt(second.frameTop + 10), 2);
    EXPECT_EQ(m.gapAt(second.frameTop + second.frameHeight - 10), 3);
    EXPECT_EQ(m.gapAt(m.contentHeight() + 1000), 4);
    EXPECT_EQ(m.gapTop(2), second.frameTop);
    EXPECT_EQ(m.gapTop(4), m.rowGeometry(3).frameTop + m.rowGeometry(3).frameHeight);
}

} // namespace
} // namespace qrb
