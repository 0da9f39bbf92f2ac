// Pictures in and out of the window: Import Images' choices (a sheet sliced, remembered for
// the next time and for drops), Copy Tile and Paste Tile carrying whole tiles, a picture
// pasted as a tile, and Export Deck Image's pages.

#include "app/ImportImagesCommand.h"
#include "imaging/render/DibConversion.h"
#include "support/ui/WindowFixture.h"

#include <QImage>

namespace qrb::test {
namespace {

class PicturesInOut : public WindowFixture {
protected:
    PicturesInOut() { ImportImagesCommand::rememberOptions({}); }
    ~PicturesInOut() override { ImportImagesCommand::rememberOptions({}); }
};

TEST_F(PicturesInOut, ASheetIsSlicedAndTheChoiceIsRemembered) {
    open(library("lib.qrb", 2, 8, 8));
    QImage sheet(8, 4, QImage::Format_RGB32);
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 4; ++y)
            sheet.setPixel(x, y, x < 4 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    sheet.save(q(dir / "sheet.png"));
    ImportOptions slice;
    slice.slice = SliceOptions{QSize(4, 4), 0, 0, false};
    platform.dialogs->answers.push_back(q(dir / "sheet.png"));
    platform.dialogs->importAnswers.push_back(slice);
    ui().importImages->trigger();
    ASSERT_EQ(window->tileCount(), 4);
    EXPECT_EQ(window->document().tiles().tile(2).smallColour, palette::Red);
    EXPECT_EQ(window->document().tiles().tile(3).smallColour, rgbColour(0, 0, 255));
    EXPECT_EQ(panel(5), QStringLiteral("Imported 2 tiles"));
    // The dialog asked about the picture with the choices last made (none yet).
    ASSERT_EQ(platform.dialogs->importRequests.size(), 1u);
    EXPECT_EQ(platform.dialogs->importRequests[0].paths, QStringList{q(dir / "sheet.png")});
    EXPECT_EQ(platform.dialogs->importRequests[0].options, ImportOptions{});

    // Next time the dialog starts from the slice; a cancelled dialog imports nothing.
    platform.dialogs->answers.push_back(q(dir / "sheet.png"));
    platform.dialogs->importAnswers.push_back(std::nullopt);
    ui().importImages->trigger();
    EXPECT_EQ(platform.dialogs->importRequests.back().options, slice);
    EXPECT_EQ(window->tileCount(), 4);
}

TEST_F(PicturesInOut, CopyTileAndPasteTileCarryWholeTiles) {
    open(library("lib.qrb", 3, 8, 6));
    press(2);
    ASSERT_EQ(ui().copyTile->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    ui().copyTile->trigger();
    const Tile copied = window->document().tiles().tile(2);
    EXPECT_FALSE(platform.clipboard->tiles().isEmpty());
    EXPECT_EQ(toDibImage(platform.clipboard->image()), copied.full); // for other programs

    // Another window takes it whole, after its current tile, as one step.
    Form2 other(platform.platform());
    other.document().newLibrary();
    QAction* paste = other.ui().pasteTile;
    ASSERT_TRUE(paste->isEnabled());
    paste->trigger();
    ASSERT_EQ(other.tileCount(), 1);
    EXPECT_EQ(other.document().tiles().tile(1), copied);
    EXPECT_EQ(other.document().undoText(), QStringLiteral("Paste Tile"));

    // A picture from another program becomes one tile.
    QImage picture(5, 3, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    platform.clipboard->setImage(picture);
    paste->trigger();
    ASSERT_EQ(other.tileCount(), 2);
    EXPECT_EQ(other.document().tiles().tile(2).smallColour, rgbColour(10, 200, 30));

    // Damaged tile bytes change nothing and say why.
    platform.clipboard->setTiles(QByteArray("QRBB\x01\x00", 6), picture);
    paste->trigger();
    EXPECT_EQ(other.tileCount(), 2);
    EXPECT_FALSE(platform.messages->shown.empty());
}

TEST_F(PicturesInOut, ExportDeckImageWritesEveryPage) {
    open(library("lib.qrb", 5, 10, 10));
    DeckOptions grid;
    grid.columns = 2;
    grid.rows = 1;
    platform.dialogs->deckAnswers.push_back(grid);
    platform.dialogs->answers.push_back(q(dir / "deck.png"));
    ASSERT_TRUE(ui().exportDeckImage->isEnabled());
    ui().exportDeckImage->trigger();
    for (const char* name : {"deck-1.png", "deck-2.png", "deck-3.png"})
        EXPECT_EQ(QImage(q(dir / name)).size(), QSize(20, 10)) << name;
    EXPECT_FALSE(std::filesystem::exists(dir / "deck-4.png"));
    EXPECT_TRUE(panel(5).startsWith(QStringLiteral("Wrote 3 deck images")));
}

} // namespace
} // namespace qrb::test
