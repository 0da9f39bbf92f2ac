// The window on small screens and with large tiles: it opens whole on the screen, scrolls
// its client area rather than letting controls overlap, shows a large working tile from
// its top-left corner, and scrolls the strip sideways to wide rows.

#include "app/WindowPlacement.h"
#include "imaging/render/DibConversion.h"
#include "support/ui/WindowFixture.h"
#include "text/render/QtConversions.h"
#include "text/render/modRotateText.h"

#include <QScrollArea>

namespace qrb::test {
namespace {

struct PlacementCase {
    const char* screen;
    QSize wanted, minimum;
    QRect available;
    QRect placed; // frame's top-left, window size
};
void PrintTo(const PlacementCase& c, std::ostream* os) {
    *os << c.screen;
}

class Placement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, WindowOpensWholeOnTheFreeAreaOfTheScreen) {
    const PlacementCase& c = GetParam();
    EXPECT_EQ(placedWindow(c.wanted, c.minimum, kUsualWindowFrame, c.available), c.placed);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, Placement,
    ::testing::Values(
        // Room enough: centred, frame included.
        PlacementCase{
            "1920 x 1080", {800, 610}, {400, 300}, {0, 0, 1920, 1080}, {552, 215, 800, 610}},
        // A 1280 x 800 screen at scale factor 2, with a panel above: shrunk to fit.
        PlacementCase{
            "640 x 400 at scale 2", {800, 610}, {400, 300}, {0, 15, 640, 385}, {0, 15, 624, 345}},
        // A second screen to the right.
        PlacementCase{
            "second screen", {800, 610}, {400, 300}, {1920, 0, 1280, 1024}, {2152, 187, 800, 610}},
        // Smaller than the window's minimum: the minimum, from the top-left corner.
        PlacementCase{"320 x 240", {800, 610}, {400, 300}, {0, 0, 320, 240}, {0, 0, 400, 300}}));

using Fit = WindowFixture;

TEST_F(Fit, SmallWindowScrollsTheClientAreaInsteadOfOverlapping) {
    const QSize least = ui().client->minimumSize();
    EXPECT_LE(ui().slotGroup->y() + TextPlacementPanel::kSlotGroupMinimum,
              least.height() - ui().statusPanels->height());
    window->resize(500, 400);
    QCoreApplication::sendPostedEvents(); // the scroll area lays itself out
    EXPECT_EQ(ui().client->height(), least.height());
    // The slots scroll in their own group, which ends above the status bar.
    EXPECT_LE(ui().slotGroup->y() + ui().slotGroup->height(),
              least.height() - ui().statusPanels->height());
    auto* scroller = window->findChild<QScrollArea*>("clientScroller");
    ASSERT_NE(scroller, nullptr);
    EXPECT_EQ(scroller->verticalScrollBar()->maximum(),
              least.height() - scroller->viewport()->height());
    EXPECT_GE(ui().stripFrame->height(), 100);

    // The toolbar and the status bar stay in view, wherever the client area is scrolled.
    const int S = ui().statusPanels->height();
    QScrollBar* bar = scroller->verticalScrollBar();
    EXPECT_EQ(ui().statusPanels->y() + S, scroller->viewport()->height());
    EXPECT_EQ(ui().mainToolBar->y(), 0);
    bar->setValue(bar->maximum());
    EXPECT_EQ(ui().statusPanels->y(), least.height() - S);
    EXPECT_EQ(ui().mainToolBar->y(), bar->maximum());
    EXPECT_EQ(ui().progressBar->y(), ui().statusPanels->y() + 2);
    EXPECT_LE(ui().slotGroup->y() + ui().slotGroup->height(), ui().statusPanels->y());
}

// However far the client area is scrolled, the strip and its bar lie between the toolbar
// and the status bar in view: the strip's own bar reaches its last row.
TEST_F(Fit, TheStripEndsInsideTheWindowWhereverTheClientAreaIsScrolled) {
    open(library("lib.qrb", 30, 40, 40));
    window->resize(800, 420);
    QCoreApplication::sendPostedEvents();
    auto* scroller = window->findChild<QScrollArea*>("clientScroller");
    QScrollBar* outer = scroller->verticalScrollBar();
    ASSERT_GT(outer->maximum(), 0);
    for (const int at : {0, outer->maximum()}) {
        SCOPED_TRACE(at);
        outer->setValue(at);
        const int top = at;
        const int bottom = at + scroller->viewport()->height();
        for (const QWidget* w : {static_cast<const QWidget*>(ui().stripFrame),
                                 static_cast<const QWidget*>(ui().stripBar)}) {
            EXPECT_GE(w->y(), top + ui().mainToolBar->height()) << w->objectName().toStdString();
            EXPECT_LE(w->y() + w->height(), bottom - ui().statusPanels->height())
                << w->objectName().toStdString();
        }
        // The last row comes into view with the strip's own bar.
        ui().stripBar->setValue(ui().stripBar->maximum());
        const auto [first, last] = ui().strip->rowsInView();
        EXPECT_EQ(last, 30) << first;
    }
}

TEST_F(Fit, WorkingTileLargerThanItsFrameScrollsFromItsTopLeftCorner) {
    open(library("big.qrb", 1, 300, 300));
    const QRect frame = ui().tileFrames[0]->geometry();
    EXPECT_EQ(inClient(ui().workingTileView), frame.adjusted(1, 1, -1, -1));
    EXPECT_EQ(inClient(ui().workingTile).topLeft(), frame.topLeft() + QPoint(1, 1));
    QCoreApplication::sendPostedEvents(); // the view lays itself out
    EXPECT_GT(ui().workingTileView->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(ui().workingTileView->verticalScrollBar()->maximum(), 0);
    // Positions are still the tile's own pixels.
    EXPECT_EQ(ui().xBar->maximum(), 300);
    EXPECT_EQ(ui().tileSizeLabel->text(), "300, 300");

    // A tile that fits is centred in its frame again.
    QImage small(40, 40, QImage::Format_RGB32);
    small.fill(Qt::yellow);
    platform.clipboard->setImage(small);
    ui().paste->trigger();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(inClient(ui().workingTile).center(), frame.center());
    EXPECT_EQ(ui().workingTileView->horizontalScrollBar()->maximum(), 0);
}

TEST_F(Fit, StripScrollsSidewaysToRowsWiderThanItself) {
    open(library("wide.qrb", 3, 256, 40));
    resizeClient(560, 600);
    const int fullHeight = 600 - ui().stripFrame->y() - ui().statusPanels->height();
    ASSERT_FALSE(ui().stripSideways->isHidden());
    EXPECT_EQ(ui().stripFrame->height() + ui().stripSideways->height(), fullHeight);
    EXPECT_EQ(ui().stripSideways->maximum(),
              ui().strip->contentWidth() - ui().stripFrame->contentsRect().width());

    // Scrolled to the end, the small-colour square of row 1 is in view.
    ui().stripSideways->setValue(ui().stripSideways->maximum());
    const RowGeometry g = window->document().strip().rowGeometry(1);
    const QImage shown = ui().strip->grab().toImage();
    const int x = int(g.smallLeft / 15) - ui().strip->contentLeft() + 2;
    ASSERT_LT(x, shown.width());
    EXPECT_EQ(QColor(shown.pixel(x, ui().strip->toPixelsY(g.smallTop) + 2)),
              toQColor(window->document().tiles().tile(1).smallColour));

    resizeClient(1000, 600); // room again: no sideways bar
    EXPECT_TRUE(ui().stripSideways->isHidden());
    EXPECT_EQ(ui().stripFrame->height(), fullHeight);
}

TEST_F(Fit, SidewaysBarFollowsTheWidestRowThroughCreateAndDelete) {
    open(library("narrow.qrb", 2, 40, 40));
    resizeClient(560, 600);
    EXPECT_TRUE(ui().stripSideways->isHidden());
    QImage wide(300, 20, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    platform.clipboard->setImage(wide);
    ui().paste->trigger();
    ui().createButton->click();
    EXPECT_FALSE(ui().stripSideways->isHidden());
    press(3);
    ui().deleteTile->trigger();
    EXPECT_TRUE(ui().stripSideways->isHidden());
}

} // namespace
} // namespace qrb::test
