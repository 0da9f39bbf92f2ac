// The tile strip: its memory (row pixmaps kept within a byte budget, the rows shown least
// recently going first), the row each key chooses and the row part each press reports.

#include "imaging/render/DibConversion.h"
#include "support/ui/WindowFixture.h"

#include <QTest>

#include <vector>

namespace qrb::test {
namespace {

using Strip = WindowFixture;

TEST_F(Strip, ScrollingThroughALargeLibraryKeepsThePixmapCacheWithinItsBudget) {
    EXPECT_EQ(ui().strip->cacheBudget(), TileStrip::kDefaultCacheBytes);
    open(library("lib.qrb", 300, 64, 64));
    const qsizetype row = 64 * 64 * 4 + 32 * 32 * 4; // full and half pixmaps, 32 bits
    ui().strip->setCacheBudget(10 * row);

    QScrollBar* bar = ui().stripBar;
    for (int value = 0; value < bar->maximum(); value += bar->pageStep() / 2) {
        bar->setValue(value);
        ui().strip->grab();
        ASSERT_LE(ui().strip->cachedBytes(), 10 * row) << value;
    }
    bar->setValue(bar->maximum());
    ui().strip->grab();
    EXPECT_EQ(ui().strip->cachedRows(), 10);
    EXPECT_TRUE(ui().strip->isCached(300));
    EXPECT_FALSE(ui().strip->isCached(1));

    // A row larger than the whole budget is still drawn, a part at a time, and not kept.
    ui().strip->setCacheBudget(row / 2);
    bar->setValue(0);
    ui().strip->grab(); // the scroll reaches the strip on its first paint
    const QImage shown = ui().strip->grab().toImage();
    EXPECT_EQ(ui().strip->cachedBytes(), 0);
    const RowGeometry g = window->document().strip().rowGeometry(1);
    const QImage tile = toQImage(window->document().tiles().tile(1).full);
    for (const QPoint p : {QPoint(1, 1), QPoint(50, 9), QPoint(7, 60)}) {
        EXPECT_EQ(
            shown.pixel(int(g.fullLeft / 15) + p.x(), ui().strip->toPixelsY(g.fullTop) + p.y()),
            tile.pixel(p))
            << p.x() << "," << p.y();
    }
}

// What the strip asked for, in order: a key's choice, a move of the focus alone, a press.
struct StripRequests {
    explicit StripRequests(TileStrip* strip) {
        QObject::connect(strip, &TileStrip::keyChoseRow, strip, [this](int tile, Modifiers m) {
            chosen.push_back({tile, m});
        });
        QObject::connect(strip, &TileStrip::focusRowMoved, strip,
                         [this](int tile) { moved.push_back(tile); });
        QObject::connect(strip, &TileStrip::rowPressed, strip,
                         [this](int tile, RowPart part, MouseButton button, Modifiers m, QPoint) {
                             pressed.push_back({tile, part, button, m});
                         });
    }
    struct Choice {
        int tile;
        Modifiers modifiers;
        bool operator==(const Choice&) const = default;
    };
    struct Press {
        int tile;
        RowPart part;
        MouseButton button;
        Modifiers modifiers;
        bool operator==(const Press&) const = default;
    };
    std::vector<Choice> chosen;
    std::vector<int> moved;
    std::vector<Press> pressed;
};

TEST_F(Strip, KeysChooseRowsWithinTheLibraryAndCtrlMovesOnlyTheFocus) {
    open(library("lib.qrb", 30, 32, 32));
    TileStrip* strip = ui().strip;
    strip->setFocus();
    StripRequests asked(strip);
    using C = StripRequests::Choice;

    QTest::keyClick(strip, Qt::Key_End);
    QTest::keyClick(strip, Qt::Key_Down); // past the last row: stays there
    QTest::keyClick(strip, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(strip, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(strip, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(strip, Qt::Key_Up);                        // before the first row: stays there
    QTest::keyClick(strip, Qt::Key_Home, Qt::ControlModifier); // Ctrl+Home chooses
    QTest::keyClick(strip, Qt::Key_Down, Qt::AltModifier);     // not the strip's key
    EXPECT_EQ(asked.chosen, (std::vector<C>{{30, Modifiers::None},
                                            {30, Modifiers::None},
                                            {1, Modifiers::Shift},
                                            {1, Modifiers::None},
                                            {1, Modifiers::None}}));
    EXPECT_EQ(asked.moved, (std::vector<int>{29, 28}));

    // A page down and back up returns to the first row, and a page is more than a row.
    asked.chosen.clear();
    QTest::keyClick(strip, Qt::Key_PageDown);
    QTest::keyClick(strip, Qt::Key_PageUp);
    ASSERT_EQ(asked.chosen.size(), 2U);
    EXPECT_GT(asked.chosen[0].tile, 2);
    EXPECT_EQ(asked.chosen[1].tile, 1);
}

TEST_F(Strip, APressReportsTheRowAndThePartUnderIt) {
    open(library("lib.qrb", 4, 32, 32));
    TileStrip* strip = ui().strip;
    StripRequests asked(strip);
    using P = StripRequests::Press;
    const RowGeometry g = window->document().strip().rowGeometry(3);
    auto at = [&](Twips left, Twips width, Twips top, Twips height) {
        return QPoint(int((left + width / 2) / strip::kTwipsPerPixel) - strip->contentLeft(),
                      strip->toPixelsY(top + height / 2));
    };
    QTest::mouseClick(strip, Qt::LeftButton, {},
                      at(g.fullLeft, g.fullWidth, g.fullTop, g.fullHeight));
    QTest::mouseClick(strip, Qt::LeftButton, Qt::ShiftModifier,
                      at(g.halfLeft, g.halfWidth, g.halfTop, g.halfHeight));
    QTest::mouseClick(strip, Qt::RightButton, Qt::ControlModifier,
                      at(g.smallLeft, g.smallSize, g.smallTop, g.smallSize));
    // Below the last row there is nothing to press.
    QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(5, strip->height() - 2));
    EXPECT_EQ(asked.pressed,
              (std::vector<P>{{3, RowPart::Full, MouseButton::Left, Modifiers::None},
                              {3, RowPart::Half, MouseButton::Left, Modifiers::Shift},
                              {3, RowPart::Small, MouseButton::Right, Modifiers::Ctrl}}));
}

} // namespace
} // namespace qrb::test
