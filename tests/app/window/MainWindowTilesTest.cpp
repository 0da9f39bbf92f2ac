// Tile editing in the window, driven through the strip, the menus and the toolbar:
// selection into the editor, Create, Delete and Save selected tiles.

#include "imaging/HalfSize.h"
#include "imaging/render/DibConversion.h"
#include "support/ui/WindowFixture.h"
#include "tileset/LibraryFile.h"

namespace qrb::test {
namespace {

class TileEditing : public WindowFixture {
protected:
    QImage fullOf(int i) { return toQImage(window->document().tiles().tile(i).full); }
};

TEST_F(TileEditing, ClickFillsThePreviewsAndAClickOnTheCurrentTileDeselectsIt) {
    open(library("lib.qrb", 5, 40, 40));
    action(Command::AutoCreateFromWorkingTile)->trigger(); // previews shown
    press(3);
    EXPECT_EQ(ui().fullPreview->image(), fullOf(3));
    EXPECT_EQ(ui().halfPreview->image(), toQImage(window->document().tiles().tile(3).half));
    EXPECT_EQ(ui().smallColour->backColour(), 3u);

    press(5, Qt::ShiftModifier); // marks 3..5, the editor stays on tile 3
    EXPECT_EQ(window->document().strip().selectedTiles(), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(ui().workingTile->image(), fullOf(3));

    press(2);
    action(Command::SetBaseTile)->trigger();
    EXPECT_EQ(window->document().baseTile(), 2);
    EXPECT_EQ(window->document().strip().mark(1), palette::White);
    press(2); // deselected, but still in the editor
    EXPECT_EQ(window->document().currentTile(), 0);
    EXPECT_FALSE(action(Command::DeleteTile)->isEnabled());
    EXPECT_EQ(ui().workingTile->image(), fullOf(2));
}

TEST_F(TileEditing, CreateAppendsTheWorkingTileAndReturnsToTheBaseImage) {
    open(library("lib.qrb", 30, 40, 40));
    press(2);
    action(Command::FlipVertical)->trigger();
    const QImage made = ui().workingTile->image();
    ui().createButton->click();
    EXPECT_EQ(panel(1), "Tile 2 of 31");
    EXPECT_FALSE(window->document().isSaved());
    EXPECT_EQ(window->document().currentTile(), 2);
    EXPECT_EQ(fullOf(31), made);
    EXPECT_EQ(window->document().tiles().tile(31).half, halfSize(toDibImage(made)));
    EXPECT_EQ(window->document().tiles().tile(31).smallColour, 2u);
    EXPECT_EQ(window->document().strip().rowGeometry(31).fullTop,
              window->document().strip().rowGeometry(30).fullTop + 40 * 15 + 100);
    EXPECT_EQ(ui().stripBar->value(), ui().stripBar->maximum());
    EXPECT_EQ(ui().strip->rowsInView().second, 31);
    EXPECT_EQ(ui().workingTile->image(), fullOf(1)); // base tile 1 pasted back

    press(2); // no tile current: nothing is pasted back
    action(Command::FlipHorizontal)->trigger();
    const QImage second = ui().workingTile->image();
    action(Command::CreateTile)->trigger();
    EXPECT_EQ(window->document().tileCount(), 32);
    EXPECT_EQ(ui().workingTile->image(), second);
}

TEST_F(TileEditing, NextTileStartsFromTheBaseImageWithoutThePreviousLettering) {
    open(library("lib.qrb", 3, 40, 40));
    press(2);
    ui().textBox->setText("ONE");
    ui().placeButton->click();
    ui().xBar->setValue(10);
    ui().placeButton->click();
    ui().createButton->click();
    ASSERT_EQ(window->document().tileCount(), 4);
    EXPECT_EQ(ui().workingTile->image(), fullOf(1));

    ui().textBox->setText("TWO");
    ui().yBar->setValue(20);
    const QImage two = lettered(fullOf(1), "TWO", 0, 10, 20);
    EXPECT_EQ(ui().workingTile->image(), two);
    action(Command::CreateTile)->trigger();
    ASSERT_EQ(window->document().tileCount(), 5);
    EXPECT_EQ(fullOf(5), two);
}

TEST_F(TileEditing, CreateFromThePreviewsTakesThemAsTheyStand) {
    open(library("lib.qrb", 2, 40, 40));
    action(Command::AutoCreateFromWorkingTile)->trigger(); // the full image is the full preview
    action(Command::AutoCreateHalfTile)->trigger();        // the half image is the half preview
    press(2);
    action(Command::FlipVertical)->trigger(); // only the working tile changes
    ui().createButton->click();
    EXPECT_EQ(window->document().tiles().tile(3).full, window->document().tiles().tile(2).full);
    EXPECT_EQ(window->document().tiles().tile(3).half, window->document().tiles().tile(2).half);
}

TEST_F(TileEditing, DeleteButtonRemovesTheMarkedTilesAndTheLastDeleteEmptiesTheWindow) {
    open(library("lib.qrb", 5, 40, 40));
    const std::vector<Tile> t(window->document().tiles().tiles().begin(),
                              window->document().tiles().tiles().end());
    press(1); // tile 1 again: no tile current, tile 1 shows as the base tile
    press(2, Qt::ControlModifier);
    press(4, Qt::ControlModifier);
    ui().toolbarButton(20)->trigger();
    EXPECT_EQ(window->document().tiles().tiles(), (std::deque<Tile>{t[0], t[2], t[4]}));
    EXPECT_EQ(panel(1), "3 Tiles");
    EXPECT_FALSE(window->document().isSaved());
    EXPECT_EQ(window->document().strip().mark(2), palette::White); // the mark went with its tile

    for (int left = 3; left > 0; --left) {
        press(1);
        action(Command::DeleteTile)->trigger();
    }
    EXPECT_EQ(panel(1), "");
    EXPECT_TRUE(ui().workingTile->isHidden());
    EXPECT_FALSE(action(Command::Save)->isEnabled());
    for (int button : {2, 4, 5, 15, 16, 17, 18, 20})
        EXPECT_FALSE(ui().toolbarButton(button)->isEnabled()) << button;
    EXPECT_FALSE(window->document().isLibraryOpen());
    ui().createButton->click(); // nothing to create from
    EXPECT_EQ(window->document().tileCount(), 0);
}

TEST_F(TileEditing, DeleteSelectedLeavesTheEditorOnTheTileThatBecomesCurrentOrEmpty) {
    open(library("lib.qrb", 6, 40, 40));
    press(5);
    press(6, Qt::ShiftModifier);
    ui().toolbarButton(20)->trigger();
    EXPECT_EQ(window->document().currentTile(), 4);
    EXPECT_EQ(ui().workingTile->image(), fullOf(4));

    // Tiles 2 and 3 go and tile 1 is not made current: no tile is left in the editor.
    press(2);
    press(3, Qt::ControlModifier);
    ui().toolbarButton(20)->trigger();
    ASSERT_EQ(window->document().tileCount(), 2);
    EXPECT_EQ(window->document().currentTile(), 0);
    EXPECT_TRUE(ui().workingTile->isHidden());
    action(Command::Copy)->trigger();
    EXPECT_EQ(platform.clipboard->puts, 0);
    ui().createButton->click();
    EXPECT_EQ(window->document().tileCount(), 2);
}

TEST_F(TileEditing, SaveSelectedWritesTheMarkedTilesToAnotherFileOnly) {
    const auto path = library("lib.qrb", 4, 40, 40);
    open(path);
    const auto original = readFile(path);
    press(2, Qt::ControlModifier);
    press(4, Qt::ControlModifier);
    platform.dialogs->answers.push_back(q(dir / "part"));
    action(Command::SaveSelectedTilesAs)->trigger();
    EXPECT_EQ(platform.dialogs->requests.back().file.fileName, q(path));
    const std::deque<Tile>& t = window->document().tiles().tiles();
    EXPECT_EQ(LibraryFile::load(dir / "part.qrb").tiles(), (std::deque<Tile>{t[0], t[1], t[3]}));
    EXPECT_EQ(window->document().path(), q(path));
    EXPECT_TRUE(window->document().isSaved());

    // Over an existing file only after Yes; no marks give a library of no tiles, and the
    // library written over is no longer saved.
    press(1);
    platform.dialogs->answers.insert(platform.dialogs->answers.end(), {q(path), q(path)});
    platform.messages->answers = {false, true};
    action(Command::SaveSelectedTilesAs)->trigger();
    EXPECT_EQ(readFile(path), original);
    action(Command::SaveSelectedTilesAs)->trigger();
    EXPECT_EQ(readFile(path), (std::vector<std::uint8_t>{'Q', 'R', 'B', 'B', 0, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(window->document().isSaved());
}

} // namespace
} // namespace qrb::test
