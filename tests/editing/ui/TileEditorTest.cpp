// Tile editing in the window, driven through the strip, the menus and the toolbar:
// selection into the editor, Create, Delete and Save selected tiles.

#include "imaging/HalfSize.h"
#include "support/ui/WindowFixture.h"
#include "tileset/LibraryFile.h"
#include "tileset/ui/DibConversion.h"

namespace qrb::test {
namespace {

class TileEditing : public WindowFixture {
protected:
    // A press on a part of row i, as the mouse gives it.
    void press(int i, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButton button = Qt::LeftButton) {
        const RowGeometry g = window->strip().rowGeometry(i);
        const QPoint at(int((g.fullLeft + g.fullWidth / 2) / 15),
                        window->ui().Picture1->toPixelsY(g.fullTop + g.fullHeight / 2));
        click(window->ui().Picture1, at, button, modifiers);
    }
    QImage fullOf(int i) { return toQImage(window->tileSet().tile(i).full); }
    const Form2::Controls& ui() const { return window->ui(); }
};

TEST_F(TileEditing, ClickLoadsTheTileIntoEditorAndPreviewsAndShiftMarksARange) {
    open(library("lib.qrb", 5, 40, 40));
    ui().mnuAutoCreateFromWorking->trigger(); // previews shown
    press(3);
    EXPECT_EQ(window->CurrentTile(), 3);
    EXPECT_EQ(ui().pctWorkingTile->image(), fullOf(3));
    EXPECT_EQ(ui().pctUndoBuffer->image(), fullOf(3));
    EXPECT_EQ(ui().pctPreviewFull->image(), fullOf(3));
    EXPECT_EQ(ui().pctPreviewHalf->image(), toQImage(window->tileSet().tile(3).half));
    EXPECT_EQ(ui().pctPreviewHalf->size(), QSize(20, 20));
    EXPECT_EQ(ui().shpPreviewSmall->backColour(), 3u);
    EXPECT_FALSE(ui().pctPreviewHalf->isHidden());

    // Shift marks from the current tile down to the pressed one; the editor stays.
    press(5, Qt::ShiftModifier);
    EXPECT_EQ(window->strip().selectedTiles(), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(window->CurrentTile(), 3);
    EXPECT_EQ(ui().pctWorkingTile->image(), fullOf(3));

    // Set as Base tile on a plain selection: tile 1's black mark moves to tile 2.
    press(2);
    ui().mnuSetBaseTile->trigger();
    EXPECT_EQ(window->BaseTile(), 2);
    EXPECT_EQ(window->strip().mark(1), palette::White);
    press(4);
    EXPECT_EQ(window->strip().mark(2), palette::Black);
}

TEST_F(TileEditing, CreateAppendsTheWorkingTileAndReturnsToTheBaseImage) {
    open(library("lib.qrb", 30, 40, 40));
    press(2);
    ui().mnuFlipVertical->trigger();
    const QImage made = ui().pctWorkingTile->image();
    ASSERT_NE(made, fullOf(2));

    ui().cmdCreate->click();
    EXPECT_EQ(window->TileCount(), 31);
    EXPECT_EQ(panel(1), "31 Tiles");
    EXPECT_FALSE(window->state().IsSaved);
    EXPECT_EQ(window->CurrentTile(), 2); // the new tile is not selected
    EXPECT_EQ(fullOf(31), made);
    EXPECT_EQ(window->tileSet().tile(31).half, halfSize(toDibImage(made)));
    EXPECT_EQ(window->tileSet().tile(31).smallColour, 2u);
    const RowGeometry before = window->strip().rowGeometry(30);
    EXPECT_EQ(window->strip().rowGeometry(31).fullTop, before.fullTop + 600 + 100);
    EXPECT_EQ(ui().VScroll1->value(), ui().VScroll1->maximum());
    EXPECT_EQ(ui().Picture1->rowsInView().second, 31);
    // Base tile 1's image is back in the editor for the next tile.
    EXPECT_EQ(ui().pctWorkingTile->image(), fullOf(1));

    // Without a current tile nothing is pasted back.
    press(2); // deselects
    ui().mnuFlipHorizontal->trigger();
    const QImage second = ui().pctWorkingTile->image();
    ui().mnuCreateTile->trigger();
    EXPECT_EQ(window->TileCount(), 32);
    EXPECT_EQ(ui().pctWorkingTile->image(), second);
}

TEST_F(TileEditing, CreateFromPreviewsTakesThemAsTheyStand) {
    open(library("lib.qrb", 2, 40, 40));
    ui().mnuAutoCreateFromWorking->trigger(); // off: the full image is the full preview
    ui().mnuCreateHalfTile->trigger();        // off: the half image is the half preview
    press(2);
    ui().mnuFlipVertical->trigger(); // only the working tile changes
    ui().cmdCreate->click();
    EXPECT_EQ(window->tileSet().tile(3).full, window->tileSet().tile(2).full);
    EXPECT_EQ(window->tileSet().tile(3).half, window->tileSet().tile(2).half);
}

TEST_F(TileEditing, DeleteWalksLeaveTheRightTilesAndMarks) {
    open(library("lib.qrb", 5, 40, 40));
    const Tile t1 = window->tileSet().tile(1), t3 = window->tileSet().tile(3),
               t5 = window->tileSet().tile(5);
    press(1); // tile 1 clicked again: no tile current, tile 1 shows as the base tile
    press(2, Qt::ControlModifier);
    press(4, Qt::ControlModifier);
    ui().toolbarButton(20)->trigger();
    ASSERT_EQ(window->TileCount(), 3);
    EXPECT_EQ(window->tileSet().tile(1), t1);
    EXPECT_EQ(window->tileSet().tile(2), t3);
    EXPECT_EQ(window->tileSet().tile(3), t5);
    EXPECT_EQ(panel(1), "3 Tiles");
    EXPECT_FALSE(window->state().IsSaved);
    // The marks went with their tiles: the tiles that moved up do not look selected.
    EXPECT_EQ(window->strip().mark(1), palette::Black);
    EXPECT_EQ(window->strip().mark(2), palette::White);
    EXPECT_EQ(window->strip().mark(3), palette::White);

    // Delete Tile on the current tile; then the last tiles one by one.
    press(2);
    ui().mnuDeleteTile->trigger();
    EXPECT_EQ(window->TileCount(), 2);
    EXPECT_EQ(window->CurrentTile(), 0);
    ui().toolbarButton(20)->trigger(); // nothing current, nothing marked
    EXPECT_EQ(window->TileCount(), 2);
    for (int left = 2; left > 0; --left) {
        press(1);
        window->runHandler("mnuDeleteTilemnu_Click");
    }
    EXPECT_EQ(window->TileCount(), 0);
    EXPECT_EQ(panel(1), "");
    EXPECT_TRUE(ui().pctWorkingTile->isHidden());
    EXPECT_FALSE(ui().mnuSave->isEnabled());
    EXPECT_FALSE(ui().mnuSaveAs->isEnabled());
    EXPECT_FALSE(window->state().IsLibraryOpen);
    ui().cmdCreate->click(); // nothing to create from
    EXPECT_EQ(window->TileCount(), 0);
}

TEST_F(TileEditing, SaveSelectedWritesTheMarkedTilesToAnotherFileOnly) {
    const auto path = library("lib.qrb", 4, 40, 40);
    open(path);
    const auto original = bytesOf(path);
    press(2, Qt::ControlModifier);
    press(4, Qt::ControlModifier);
    platform.dialogs->answers.push_back(q(dir / "part"));
    ui().mnuSaveTilesAs->trigger();
    EXPECT_EQ(platform.dialogs->requests.back().file.title, "Save QRB file as ...");
    EXPECT_EQ(platform.dialogs->requests.back().file.fileName, q(path));

    const TileSet part = LibraryFile::load(dir / "part.qrb");
    ASSERT_EQ(part.count(), 3);
    EXPECT_EQ(part.tile(1), window->tileSet().tile(1));
    EXPECT_EQ(part.tile(2), window->tileSet().tile(2));
    EXPECT_EQ(part.tile(3), window->tileSet().tile(4));
    // The library stays the library.
    EXPECT_EQ(window->currentPath(), q(path));
    EXPECT_EQ(window->windowTitle(), "QRB Text Editor - " + q(path));
    EXPECT_TRUE(window->state().IsSaved);

    // Replacing an existing file is asked first; No writes nothing.
    press(1); // plain click on the current tile: deselected, no mark left but the base
    ASSERT_TRUE(window->strip().selectedTiles().empty());
    platform.dialogs->answers.push_back(q(path));
    platform.messages->answers.push_back(false);
    ui().mnuSaveTilesAs->trigger();
    EXPECT_EQ(bytesOf(path), original);
    // Yes gives a library of no tiles, and the library in memory is no longer saved.
    platform.dialogs->answers.push_back(q(path));
    platform.messages->answers.push_back(true);
    ui().mnuSaveTilesAs->trigger();
    EXPECT_EQ(bytesOf(path), (std::vector<std::uint8_t>{'Q', 'R', 'B', 'B', 0, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(window->state().IsSaved);
    EXPECT_EQ(window->TileCount(), 4);
}

} // namespace
} // namespace qrb::test
