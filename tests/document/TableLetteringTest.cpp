// Lettering from a table: each tile has exactly the pixels Create using position data gives
// for the same slots and base tile, and the whole batch is one undo step that a cancel or
// an error never leaves half done.

#include "document/Document.h"

#include "lettering/LetteringTable.h"
#include "support/LetteringLayout.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "text/PositionDataFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace qrb::test {
namespace {

// Square, wide, tiny (everything runs off it) and odd-sized tiles.
TileSet library() {
    TileSet set;
    set.append(patternTile(64, 64, 1));
    set.append(patternTile(48, 30, 2));
    set.append(patternTile(20, 20, 3));
    set.append(patternTile(61, 61, 4));
    return set;
}

// slot1 is slot 0, slot2 slot 1, slot8 slot 7; the other slots keep their own texts.
const char* const kTable = "base,slot1,slot2,slot8,copies\n"
                           "1,Row one,,new,1\n"
                           "3,tiny,Harbour Road 12 East,,2\n"
                           "2,ÄÖÜ €,x,,\n"
                           "4,a,b,c,0\n"
                           "4,,,,1\n"
                           "1,\"two lines\",\" \",\"slot 7 at 35,35\",1\n";

class LetterFromTable : public ::testing::Test {
protected:
    LetterFromTable() {
        PositionDataFile::write(qpf, letteringLayout());
        prepare(doc);
    }

    // As a user would: open the library, move the text somewhere, load the position data.
    void prepare(Document& d) const {
        d.openTiles(library(), QStringLiteral("in.qrb"));
        d.setX(50);
        d.setY(45);
        d.loadPositionData(QString::fromStdString(qpf.string()));
        Document::Options options = d.options();
        options.createUsingPosition = true;
        d.setOptions(options);
    }

    TempDir dir;
    std::filesystem::path qpf = dir / "layout.qpf";
    Document doc;
};

TEST_F(LetterFromTable, EveryTileHasThePixelsCreateGivesForItsRow) {
    const LetteringTable table = LetteringTable::parse(kTable, ',', "rows.csv");
    ASSERT_EQ(doc.letterFromTable(table), 6);
    ASSERT_EQ(doc.tileCount(), 4 + 6);

    int made = 4;
    for (const LetteringRow& row : table.rows()) {
        // The same row by hand: its texts into the slots, pick the base tile, Create.
        Document byHand;
        prepare(byHand);
        for (std::size_t k = 0; k < LetteringRow::kSlots; ++k) {
            if (row.texts[k])
                byHand.setSlotText(int(k), QString::fromStdString(*row.texts[k]));
        }
        byHand.showSelectedTile(int(row.base));
        ASSERT_TRUE(byHand.createTile());
        const Tile& expected = byHand.tiles().tile(5);
        for (int copy = 0; copy < row.copies; ++copy) {
            const Tile& tile = doc.tiles().tile(++made);
            EXPECT_TRUE(tile.full == expected.full) << "line " << row.line << ", copy " << copy;
            EXPECT_TRUE(tile.half == expected.half) << "line " << row.line;
            EXPECT_EQ(tile.smallColour, doc.tiles().tile(int(row.base)).smallColour);
            EXPECT_FALSE(tile.full == doc.tiles().tile(int(row.base)).full)
                << "line " << row.line << " left its base tile bare";
        }
    }
}

TEST_F(LetterFromTable, IsOneStepThatUndoRemovesWhole) {
    std::string text = "base,slot1,copies\n";
    for (int i = 1; i <= 150; ++i)
        text += std::to_string(i % 4 + 1) + ",Label " + std::to_string(i) + "," +
                std::to_string(i % 3) + "\n";
    const LetteringTable table = LetteringTable::parse(text, ',', "rows.csv");
    doc.press(2, RowPart::Full, MouseButton::Left, Modifiers::Ctrl);
    const std::deque<Tile> before = doc.tiles().tiles();
    const StripModel::Selection selection = doc.strip().selection();
    const WorkingTile working = doc.working();
    const std::size_t steps = doc.history().size();

    ASSERT_EQ(doc.letterFromTable(table), 150);
    const std::deque<Tile> after = doc.tiles().tiles();
    EXPECT_EQ(doc.history().size(), steps + 1);
    EXPECT_EQ(doc.undoText(), QStringLiteral("Letter from Table"));
    EXPECT_FALSE(doc.isSaved());
    EXPECT_TRUE(doc.working() == working) << "the editor's own tile is left alone";

    doc.undo();
    EXPECT_EQ(doc.tiles().tiles(), before);
    EXPECT_EQ(doc.strip().selection(), selection);
    EXPECT_TRUE(doc.isSaved());
    doc.redo();
    EXPECT_EQ(doc.tiles().tiles(), after);
}

TEST_F(LetterFromTable, CancelOrAnErrorLeavesTheLibraryAsItWas) {
    const std::deque<Tile> before = doc.tiles().tiles();
    const std::size_t steps = doc.history().size();

    std::string text = "base,slot1\n";
    for (int i = 0; i < 300; ++i)
        text += "1,Label " + std::to_string(i) + "\n";
    const LetteringTable table = LetteringTable::parse(text, ',', "rows.csv");
    std::stop_source stop;
    std::vector<int> reports;
    const auto cancelAtFirstReport = [&](int done, int total) {
        EXPECT_EQ(total, 300);
        reports.push_back(done);
        stop.request_stop();
    };
    EXPECT_FALSE(doc.letterFromTable(table, cancelAtFirstReport, stop.get_token()));
    EXPECT_EQ(reports.size(), 1u);

    const LetteringTable beyond =
        LetteringTable::parse("base,slot1\n1,a\n\n5,b\n", ',', "rows.csv");
    try {
        doc.letterFromTable(beyond);
        ADD_FAILURE() << "accepted";
    } catch (const TableError& e) {
        EXPECT_STREQ(e.what(), "rows.csv:4: base 5 is beyond the 4 tiles of in.qrb");
    }
    EXPECT_EQ(doc.tiles().tiles(), before);
    EXPECT_EQ(doc.history().size(), steps);
    EXPECT_TRUE(doc.isSaved());

    // Run to the end, progress climbs to the whole.
    reports.clear();
    doc.letterFromTable(table, [&](int done, int) { reports.push_back(done); });
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_LE(reports.size(), 101u);
    EXPECT_EQ(reports.back(), 300);
}

} // namespace
} // namespace qrb::test
