// Letter from table in the window: the table is picked with the file dialog, the tiles are
// appended as one step that Undo takes back whole, and a cancel or a bad table leaves the
// library as it was with a message that says why.

#include "document/TableLettering.h"
#include "lettering/LetteringTable.h"
#include "support/ui/WindowFixture.h"

#include <fstream>

namespace qrb::test {
namespace {

class LetterFromTableWindow : public WindowFixture {
protected:
    std::filesystem::path table(const std::string& name, const std::string& text) {
        const std::filesystem::path path = dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Picks `path` in the table dialog of Tile > Letter from table...
    void letter(const std::filesystem::path& path) {
        platform.dialogs->answers.push_back(q(path));
        ui().mnuLetterFromTable->trigger();
    }

    const std::deque<Tile>& tiles() { return window->document().tiles().tiles(); }
};

TEST_F(LetterFromTableWindow, AppendsEveryRowsTilesAsOneStepThatUndoTakesBackWhole) {
    EXPECT_FALSE(ui().mnuLetterFromTable->isEnabled()) << "no library is open";
    open(library("lib.qrb", 3, 40, 40));
    EXPECT_TRUE(ui().mnuLetterFromTable->isEnabled());
    // The slot boxes as the user fills them; slot 2 has no column and keeps its text.
    ui().Text1[0]->setText("Stored");
    ui().Text1[1]->setText("Kept");
    const std::deque<Tile> before = tiles();

    letter(table("rows.csv", "base,slot1,copies\r\n1,One,1\r\n2,\"Two, too\",2\r\n3,,1\r\n"));
    ASSERT_EQ(window->TileCount(), 7);
    EXPECT_EQ(panel(1), "7 Tiles");
    EXPECT_TRUE(platform.messages->shown.empty());
    const ScriptedDialogs::Request& asked = platform.dialogs->requests.back();
    EXPECT_EQ(asked.kind, ScriptedDialogs::Kind::Open);
    EXPECT_TRUE(asked.file.filter.contains("*.tsv"));
    ASSERT_EQ(platform.progress->runs.size(), 1u);
    EXPECT_EQ(platform.progress->runs[0].reports.back(), std::make_pair(4, 4));

    // The same tiles as the document letters from the same slots.
    Document reference;
    reference.openTiles(window->document().tiles(), "lib.qrb");
    reference.setSlotText(1, "Kept");
    const LetteringTable rows = LetteringTable::read(dir / "rows.csv");
    const std::vector<Tile> expected = *reference.tableLettering(rows).letterAll(rows);
    ASSERT_EQ(expected.size(), 4u);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(tiles()[3 + i], expected[i]) << "new tile " << i + 1;
    EXPECT_FALSE(tiles()[3].full == before[0].full) << "left bare";

    EXPECT_EQ(ui().mnuUndo->text(), "&Undo Letter from Table");
    ui().mnuUndo->trigger();
    EXPECT_EQ(tiles(), before);
    EXPECT_EQ(panel(1), "3 Tiles");
    EXPECT_TRUE(window->document().isSaved());
    EXPECT_FALSE(ui().mnuUndo->isEnabled()) << "the whole batch was one step";
    ui().mnuRedo->trigger();
    EXPECT_EQ(window->TileCount(), 7);
}

TEST_F(LetterFromTableWindow, CancelLeavesTheLibraryAsItWasAndSaysSo) {
    open(library("lib.qrb", 2, 30, 30));
    const std::deque<Tile> before = tiles();
    std::string text = "base,slot1\n";
    for (int i = 0; i < 500; ++i)
        text += "2,Label " + std::to_string(i) + "\n";
    platform.progress->cancelAtReport = 2;
    letter(table("many.csv", text));

    EXPECT_EQ(platform.progress->runs.at(0).reports.size(), 2u) << "stopped at Cancel";
    EXPECT_EQ(tiles(), before);
    EXPECT_FALSE(ui().mnuUndo->isEnabled());
    EXPECT_TRUE(window->document().isSaved());
    EXPECT_EQ(platform.messages->count("cancelled; the library is as it was"), 1);

    // A cancelled file dialog: nothing runs and nothing is said.
    platform.dialogs->answers.push_back(std::nullopt);
    ui().mnuLetterFromTable->trigger();
    EXPECT_EQ(platform.progress->runs.size(), 1u);
    EXPECT_EQ(platform.messages->shown.size(), 1u);
}

TEST_F(LetterFromTableWindow, ABadTableLeavesTheLibraryAsItWasAndNamesLineAndColumn) {
    open(library("lib.qrb", 3, 30, 30));
    const std::deque<Tile> before = tiles();
    const struct {
        const char* text;
        const char* says;
    } cases[] = {
        {"base,slot1\n1,a\n9,b\n", "bad.csv:3: base 9 is beyond the 3 tiles of lib.qrb"},
        {"base,slot1,slot3x\n1,a,b\n", "bad.csv:1: column 3 \"slot3x\" is not one of"},
        {"base,slot1\n1,a\n2,\xE6\x97\xA5\n", "bad.csv:3: slot1 holds \"\xE6\x97\xA5\""},
        {"slot1\nA\n", "bad.csv:1: the table has no base column"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        platform.messages->shown.clear();
        letter(table("bad.csv", c.text));
        ASSERT_EQ(platform.messages->shown.size(), 1u);
        const QString said = platform.messages->shown[0].text;
        EXPECT_TRUE(said.contains("the library is as it was")) << said.toStdString();
        EXPECT_TRUE(said.contains(QString::fromUtf8(c.says))) << said.toStdString();
        EXPECT_EQ(tiles(), before);
        EXPECT_FALSE(ui().mnuUndo->isEnabled());
    }

    // A table that makes no tile says so rather than appearing to do nothing.
    platform.messages->shown.clear();
    letter(table("none.csv", "base,copies\n1,0\n"));
    EXPECT_EQ(platform.messages->count("has no row that makes a tile"), 1);
    EXPECT_EQ(tiles(), before);
}

} // namespace
} // namespace qrb::test
