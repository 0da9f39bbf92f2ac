// The tile strip's memory: row pixmaps are kept within a byte budget, the rows shown least
// recently going first.

#include "imaging/render/DibConversion.h"
#include "support/ui/WindowFixture.h"

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

} // namespace
} // namespace qrb::test
