// Tile > Letter from table...: the preview shows the tiles the rows make, and Letter appends
// those very tiles as one step that Undo takes back whole; a cancel or a bad table leaves the
// library as it was and says why.

#include "document/TableLettering.h"
#include "app/LetterPreviewDialog.h"
#include "app/TableLetteringCommand.h"
#include "imaging/render/DibConversion.h"
#include "lettering/LetteringTable.h"
#include "support/ui/WindowFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include <fstream>

namespace qrb::test {
namespace {

class LetterFromTableWindow : public WindowFixture {
protected:
    // Picks a table holding `text` in the file dialog of Tile > Letter from table...; the
    // preview, if it opens.
    LetterPreviewDialog* preview(const std::string& text) {
        std::ofstream(dir / "rows.csv", std::ios::binary) << text;
        platform.dialogs->answers.push_back(q(dir / "rows.csv"));
        ui().letterFromTable->trigger();
        return window->tableLettering().preview();
    }
    // The same, and Letter in the preview.
    void letter(const std::string& text) {
        if (LetterPreviewDialog* shown = preview(text))
            shown->letterButton->click();
    }
    const std::deque<Tile>& tiles() { return window->document().tiles().tiles(); }
};

TEST_F(LetterFromTableWindow, AppendsTheRowsTilesAsOneStepThatUndoTakesBackWhole) {
    EXPECT_FALSE(ui().letterFromTable->isEnabled()) << "no library is open";
    open(library("lib.qrb", 3, 40, 40));
    ui().slotTexts[0]->setText("Stored"); // the table's slot1 replaces it
    ui().slotTexts[1]->setText("Kept");   // no column: stays on every tile
    const std::deque<Tile> before = tiles();

    letter("base,slot1,copies\r\n1,One,1\r\n2,\"Two, too\",2\r\n3,,1\r\n");
    ASSERT_EQ(window->tileCount(), 7);
    EXPECT_EQ(panel(1), "Tile 1 of 7");
    EXPECT_TRUE(platform.messages->shown.empty());
    Document reference;
    reference.openTiles(window->document().tiles(), "lib.qrb");
    reference.setSlotText(1, "Kept");
    const LetteringTable rows = LetteringTable::read(dir / "rows.csv");
    const std::vector<Tile> expected = reference.tableLettering(rows).letterAll(rows)->tiles;
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), tiles().begin() + 3));

    EXPECT_EQ(ui().undo->text(), "&Undo Letter from Table");
    ui().undo->trigger();
    EXPECT_EQ(tiles(), before);
    EXPECT_TRUE(window->document().isSaved());
    EXPECT_EQ(ui().undo->text(), "&Undo Slot Text") << "the whole batch was one step";
    ui().redo->trigger();
    EXPECT_EQ(window->tileCount(), 7);
}

TEST_F(LetterFromTableWindow, CancelOrABadTableLeavesTheLibraryAsItWasAndSaysWhy) {
    open(library("lib.qrb", 3, 30, 30));
    const std::deque<Tile> before = tiles();
    std::string many = "base,slot1\n";
    for (int i = 0; i < 500; ++i)
        many += "2,Label " + std::to_string(i) + "\n";
    platform.progress->cancelAtReport = 2;
    letter(many);
    EXPECT_EQ(platform.progress->runs.at(1).reports.size(), 2u) << "went on after Cancel";
    platform.progress->cancelAtReport.reset();

    letter("base,slot1\n1,a\n9,b\n");
    letter("base,slot1,slot3x\n1,a,b\n");
    letter("base,copies\n1,0\n");
    platform.dialogs->answers.push_back(std::nullopt); // a cancelled dialog says nothing
    ui().letterFromTable->trigger();

    const char* const said[] = {
        "cancelled; the library is as it was",
        "the library is as it was.\n\n%1:3: base 9 is beyond the 3 tiles of lib.qrb",
        "the library is as it was.\n\n%1:1: column 3 \"slot3x\" is not one of",
        "rows.csv has no row that makes a tile",
    };
    ASSERT_EQ(platform.messages->shown.size(), std::size(said));
    for (std::size_t i = 0; i < std::size(said); ++i) {
        const QString text = platform.messages->shown[i].text;
        EXPECT_TRUE(text.contains(QString::fromUtf8(said[i]).replace("%1", q(dir / "rows.csv"))))
            << text.toStdString();
    }
    EXPECT_EQ(tiles(), before);
    EXPECT_FALSE(ui().undo->isEnabled());
}

TEST_F(LetterFromTableWindow, ThePreviewShowsEachRowsTileAsItIsAppended) {
    open(library("lib.qrb", 2, 40, 40));
    LetterPreviewDialog* shown =
        preview("base,slot1,copies\n1,One,1\n2,Skipped,0\n2,\"Two, twice\",2\n1,Three,1\n");
    ASSERT_TRUE(shown);
    EXPECT_EQ(window->tileCount(), 2) << "nothing appended before Letter";
    ASSERT_EQ(shown->rowCount(), 3) << "the row of no copies makes no tile";
    EXPECT_EQ(shown->rowLabel->text(), "Row 1 of 3 (line 2)");
    EXPECT_FALSE(shown->previous->isEnabled());
    std::vector<QImage> previewed;
    for (int i = 0; i < 3; ++i) {
        previewed.push_back(shown->shownTile());
        EXPECT_EQ(shown->picture->pixmap().size(), QSize(40, 40) * window->workingTile().zoom());
        shown->next->click();
    }
    EXPECT_EQ(shown->rowLabel->text(), "Row 3 of 3 (line 5)");
    EXPECT_FALSE(shown->next->isEnabled());
    shown->previous->click();
    EXPECT_EQ(shown->rowLabel->text(), "Row 2 of 3 (line 4, 2 copies)");

    shown->letterButton->click();
    ASSERT_EQ(window->tileCount(), 2 + 4);
    const std::size_t firstTiles[] = {2, 3, 5};
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(toQImage(tiles()[firstTiles[i]].full), previewed[i]) << "row " << i + 1;
    EXPECT_EQ(tiles()[3], tiles()[4]) << "the second copy";
    EXPECT_EQ(ui().undo->text(), "&Undo Letter from Table");
}

TEST_F(LetterFromTableWindow, AnIconNeedsItsFolderWhichIsChosenInThePreviewAndRemembered) {
    open(library("lib.qrb", 1, 40, 40));
    QSettings().remove("lettering/iconFolder");
    std::filesystem::create_directory(dir / "icons");
    QImage coin(8, 8, QImage::Format_RGB32);
    coin.fill(Qt::red);
    coin.save(q(dir / "icons" / "coin.png"));

    const std::string table = "base,slot1\n1,Gain {coin}\n";
    LetterPreviewDialog* shown = preview(table);
    ASSERT_TRUE(shown);
    EXPECT_FALSE(shown->letterButton->isEnabled());
    EXPECT_TRUE(shown->notes->text().contains("slot1: the icon {coin} needs a folder of icons"))
        << shown->notes->text().toStdString();
    platform.dialogs->answers.push_back(q(dir / "icons"));
    shown->chooseIcons->click();
    EXPECT_EQ(shown->icons->text(), q(dir / "icons"));
    EXPECT_TRUE(shown->letterButton->isEnabled()) << shown->notes->text().toStdString();
    EXPECT_TRUE(shown->notes->text().isEmpty());
    shown->reject();

    // The next run starts with the folder.
    shown = preview(table);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->icons->text(), q(dir / "icons"));
    shown->letterButton->click();
    EXPECT_EQ(window->tileCount(), 2);
    QSettings().remove("lettering/iconFolder");
}

} // namespace
} // namespace qrb::test
