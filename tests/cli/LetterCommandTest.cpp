// qrbtool letter run as a user runs it: its tiles are byte for byte what the editor's Create
// using position data makes of the same rows; an error names the row and column, exits 1
// and writes nothing; no display is needed.

#include "cli/ToolRun.h"
#include "document/Document.h"
#include "document/LetteringArt.h"
#include "document/TableLettering.h"
#include "lettering/LetteringTable.h"
#include "support/LetteringLayout.h"
#include "support/QrbFixture.h"
#include "text/PositionDataFile.h"
#include "tileset/LibraryFile.h"

#include <gtest/gtest.h>

#include <QImage>

#include <array>
#include <fstream>
#include <functional>
#include <sys/resource.h>

namespace qrb::test {
namespace {

class LetterCommand : public ::testing::Test {
protected:
    LetterCommand() {
        TileSet tiles;
        for (const auto& [w, h, seed] : {std::array{64, 64, 1}, {48, 30, 2}, {20, 20, 3}})
            tiles.append(Tile{pattern(w, h, seed), pattern(w / 2, h / 2, seed), ColourValue(seed)});
        LibraryFile::save(dir / "in.qrb", tiles);
        PositionDataFile::write(dir / "layout.qpf", letteringLayout());
        write("\xEF\xBB\xBF"
              "Base, SLOT1 ,slot2,slot8,copies\r\n1,Harbour,3,,2\r\n"
              "2,\"Market, small\",,\"two lines\",1\r\n3,,,,1\r\n\r\n1,Ä€,1,6,0\r\n2,Last,,,\r\n");
    }

    void write(const std::string& text) const {
        std::ofstream(dir / "rows.csv", std::ios::binary) << text;
    }

    // The editor: POSITIONS loaded, the row's texts typed into the slot boxes, its base tile
    // picked, Create with "Create tile using position data" checked.
    Tile created(const LetteringRow& row, const char* positions = "layout.qpf") const {
        Document editor;
        editor.open(QString::fromStdString((dir / "in.qrb").string()));
        editor.loadPositionData(QString::fromStdString((dir / positions).string()));
        editor.setOptions({true, true, true, true});
        for (std::size_t k = 0; k < LetteringRow::kSlots; ++k) {
            if (row.texts[k])
                editor.setSlotText(int(k), QString::fromStdString(*row.texts[k]));
        }
        editor.showSelectedTile(int(row.base));
        editor.createTile();
        return editor.tiles().tile(editor.tileCount());
    }

    TempDir dir;
};

TEST_F(LetterCommand, TilesHaveThePixelsOfCreateUsingPositionDataAfterInsTiles) {
    const Result r = run(dir, {"letter", "--json", "in.qrb", "layout.qpf", "rows.csv", "out.qrb"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "") << "no progress when the error output is not a terminal";
    EXPECT_TRUE(r.out.starts_with(
        R"({"rows": 5, "tiles_lettered": 5, "tiles_written": 8, "milliseconds": )"));
    EXPECT_NE(r.out.find(R"({"face": "Nonesuch Sans", "drawn_with": ")"), std::string::npos);

    const TileSet in = LibraryFile::load(dir / "in.qrb");
    const TileSet out = LibraryFile::load(dir / "out.qrb");
    ASSERT_EQ(out.count(), 8);
    EXPECT_TRUE(std::equal(in.tiles().begin(), in.tiles().end(), out.tiles().begin()));
    const LetteringTable table = LetteringTable::read(dir / "rows.csv");
    int made = 3;
    for (const LetteringRow& row : table.rows()) {
        const Tile expected = created(row);
        for (int copy = 0; copy < row.copies; ++copy)
            EXPECT_TRUE(out.tile(++made) == expected) << "line " << row.line;
    }

    ASSERT_EQ(
        run(dir, {"letter", "in.qrb", "layout.qpf", "rows.csv", "new.qrb", "--only-new"}).code, 0);
    const TileSet fresh = LibraryFile::load(dir / "new.qrb");
    EXPECT_TRUE(std::equal(fresh.tiles().begin(), fresh.tiles().end(), out.tiles().begin() + 3,
                           out.tiles().end()));
}

// Anchors at every angle, fit widths, outlines, shadows and the rows' own looks: the same
// pixels as the editor's Create with the row's looks stored in the slots.
TEST_F(LetterCommand, LaidOutSlotsAndRowLooksHaveThePixelsOfCreate) {
    const PositionSlots laid = laidOutLettering();
    PositionDataFile::write(dir / "laid.qpf", laid);
    write("base,slot1,slot1_align,slot1_outline,slot2_fit,slot4_colour,slot4_size,slot4_font,"
          "slot4_bold,slot4_italic,slot6_align\n"
          "1,Market and harbour,,,,,,,,,\n"
          "1,Market,right bottom,#0000FF 4,20,#00FF00,11,Liberation Serif,1,1,centre\n"
          "2,Tiny,center,#FFFFFF 0,,,,,,,middle\n");
    // What the user would have stored in the slots to make each row by hand.
    const std::function<void(PositionSlots&)> looks[] = {
        [](PositionSlots&) {},
        [](PositionSlots& s) {
            s[0].style.layout.horizontal = HorizontalAnchor::Right;
            s[0].style.layout.vertical = VerticalAnchor::Bottom;
            s[0].style.layout.outlineColour = rgbColour(0, 0, 255);
            s[0].style.layout.outlineWidth = 4;
            s[1].style.layout.fitWidth = 20;
            s[3].style.textColour = rgbColour(0, 255, 0);
            s[3].style.size = 11;
            s[3].style.face = "Liberation Serif";
            s[3].style.bold = s[3].style.italic = true;
            s[5].style.layout.horizontal = HorizontalAnchor::Centre;
        },
        [](PositionSlots& s) {
            s[0].style.layout.horizontal = HorizontalAnchor::Centre;
            s[0].style.layout.outlineWidth = 0;
            s[5].style.layout.vertical = VerticalAnchor::Middle;
        },
    };
    ASSERT_EQ(run(dir, {"letter", "--only-new", "in.qrb", "laid.qpf", "rows.csv", "out.qrb"}).code,
              0);
    const TileSet out = LibraryFile::load(dir / "out.qrb");
    const LetteringTable table = LetteringTable::read(dir / "rows.csv");
    ASSERT_EQ(out.count(), 3);
    for (int i = 0; i < 3; ++i) {
        PositionSlots stored = laid;
        looks[i](stored);
        PositionDataFile::write(dir / "row.qpf", stored);
        const Tile expected = created(table.rows()[std::size_t(i)], "row.qpf");
        EXPECT_TRUE(out.tile(i + 1) == expected) << "row " << i + 1;
        if (i > 0) {
            EXPECT_FALSE(out.tile(i + 1) == created(table.rows()[std::size_t(i)], "laid.qpf"))
                << "row " << i + 1 << "'s looks were not used";
        }
    }
}

TEST_F(LetterCommand, AnErrorNamesRowAndColumnExitsOneAndWritesNothing) {
    std::ofstream(dir / "short.qrb") << "QRBB";
    const struct {
        const char *table, *in, *positions, *error;
    } cases[] = {
        {"base,slot1\n1,a\n9,b\n", "in.qrb", "layout.qpf",
         "error: rows.csv:3: base 9 is beyond the 3 tiles of in.qrb\n"},
        {"base,slot1\n1,ok\n2,Gain {gem}\n", "in.qrb", "layout.qpf",
         "error: rows.csv:3: slot1: the icon {gem} needs a folder of icons, and none was "
         "chosen\n"},
        {"base,image1\n1,art/none.png\n", "in.qrb", "layout.qpf", "error: rows.csv:2: image1: "},
        {"base,copies\n1,32760\n2,5\n", "in.qrb", "layout.qpf",
         "error: rows.csv:3: with this row the library would hold 32768 tiles"},
        {"base\n1\n", "short.qrb", "layout.qpf", "error: short.qrb: "},
        {"base\n1\n", "in.qrb", "missing.qpf", "error: missing.qpf: "},
        {"base,slot1,slot1_outline\n1,a,#FFFFFF 2\n2,b,white 2\n", "in.qrb", "layout.qpf",
         "error: rows.csv:3: slot1_outline \"white 2\" is not an outline"},
    };
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    writeFile(dir / "out.qrb", old);
    for (const auto& c : cases) {
        write(c.table);
        const std::size_t files = dir.entries();
        const Result r = run(dir, {"letter", c.in, c.positions, "rows.csv", "out.qrb"});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.starts_with(c.error)) << r.err;
        EXPECT_EQ(readFile(dir / "out.qrb"), old);
        EXPECT_EQ(dir.entries(), files) << "a file was left behind";
    }
    // Past the limit with IN's tiles, within it alone.
    TileSet tiny;
    for (int i = 0; i < 3; ++i)
        tiny.append(Tile{pattern(2, 2, i), pattern(1, 1, i), 0});
    LibraryFile::save(dir / "tiny.qrb", tiny);
    write("base,copies\n1,32760\n2,5\n");
    EXPECT_EQ(
        run(dir, {"letter", "--only-new", "tiny.qrb", "layout.qpf", "rows.csv", "out.qrb"}).code,
        0);
    EXPECT_EQ(LibraryFile::inspect(dir / "out.qrb").count(), 32765);

    // OUT over the table or the position data would destroy them.
    EXPECT_EQ(run(dir, {"letter", "in.qrb", "layout.qpf", "rows.csv", "./rows.csv"}).code, 2);
    EXPECT_EQ(run(dir, {"letter", "in.qrb", "layout.qpf", "rows.csv", "layout.qpf"}).code, 2);
    EXPECT_EQ(LetteringTable::read(dir / "rows.csv").rows().at(1).copies, 5);
    EXPECT_EQ(readFile(dir / "layout.qpf").size(), PositionDataFile::kFileSize);
}

// Lettering into IN itself must never leave it with fewer tiles: a table that letters
// nothing is an error, and --only-new over IN (however it is spelled) is refused.
TEST_F(LetterCommand, NothingToLetterOrOnlyNewOverInIsRefused) {
    const std::vector<std::uint8_t> before = readFile(dir / "in.qrb");
    std::filesystem::create_symlink("in.qrb", dir / "link.qrb");
    for (const char* table : {"base,slot1\n", "base,copies\n1,0\n2,0\n"}) {
        write(table);
        const Result r = run(dir, {"letter", "in.qrb", "layout.qpf", "rows.csv", "in.qrb"});
        EXPECT_EQ(r.code, 1) << table;
        EXPECT_TRUE(r.err.starts_with("error: rows.csv: it")) << r.err;
        EXPECT_NE(r.err.find(" to letter"), std::string::npos) << r.err;
        EXPECT_TRUE(r.err.ends_with("; nothing was written\n")) << r.err;
    }
    write("base,slot1\n1,a\n");
    for (const char* out : {"in.qrb", "./in.qrb", "link.qrb"}) {
        const Result r =
            run(dir, {"letter", "--only-new", "in.qrb", "layout.qpf", "rows.csv", out});
        EXPECT_EQ(r.code, 2) << out;
        EXPECT_NE(r.err.find("would lose IN's tiles"), std::string::npos) << r.err;
    }
    EXPECT_EQ(readFile(dir / "in.qrb"), before);
    // Without --only-new the library grows in place.
    ASSERT_EQ(run(dir, {"letter", "in.qrb", "layout.qpf", "rows.csv", "link.qrb"}).code, 0);
    EXPECT_EQ(LibraryFile::inspect(dir / "in.qrb").count(), 4);
}

// A card: a picture, a title, rules wrapping in a box with an icon, a cost symbol outside
// Windows-1252; the tiles are the document's lettering of the same rows, and the summary
// names the row whose text was cut and the character no font draws.
TEST_F(LetterCommand, CardsWithPicturesIconsAndBoxesAreTheDocumentsAndTheSummaryNamesWhatWasLost) {
    std::filesystem::create_directories(dir / "icons");
    std::filesystem::create_directories(dir / "art");
    QImage coin(16, 16, QImage::Format_ARGB32);
    coin.fill(Qt::transparent);
    coin.setPixel(8, 8, qRgb(200, 160, 0));
    coin.save(QString::fromStdString((dir / "icons" / "coin.png").string()));
    QImage art(30, 20, QImage::Format_RGB32);
    art.fill(Qt::darkGreen);
    art.save(QString::fromStdString((dir / "art" / "harbour.png").string()));
    write("base,slot1,slot2,slot2_box,slot3,image1,image1_at,image1_size\n"
          "1,Harbour,\"Gain 2 {coin}.\nDraw a card.\",56x24,★ 3,art/harbour.png,\"4,14\",56x26\n"
          "2,Market,\"Far too many rules for so small a box, even at six points\",20x6,⚔,"
          "art/harbour.png,,\n"
          "3,Odd,\"Gain \xF4\x8F\xBF\xBD {{and}} {coin}\",40x40,♥,#1,\"-2,-2\",\n");
    const Result r = run(dir, {"letter", "--json", "--icons", "icons", "--only-new", "in.qrb",
                               "layout.qpf", "rows.csv", "out.qrb"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find(R"("overflowing_rows": [4], )"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(R"("undrawable_characters": [{"character": "U+10FFFD", "line": 5, )"
                         R"("column": "slot2"}], "pictures_decoded": 2})"),
              std::string::npos)
        << r.out;

    const TileSet in = LibraryFile::load(dir / "in.qrb");
    const LetteringTable table = LetteringTable::read(dir / "rows.csv");
    const LetteringArt cards =
        LetteringArt::forTable(table, in, dir / "icons", std::uint64_t(64) << 20);
    const std::vector<Tile> expected =
        TableLettering(in, PositionDataFile::read(dir / "layout.qpf"), {}, &cards)
            .letterAll(table)
            ->tiles;
    const TileSet out = LibraryFile::load(dir / "out.qrb");
    EXPECT_TRUE(
        std::equal(expected.begin(), expected.end(), out.tiles().begin(), out.tiles().end()));

    const Result said =
        run(dir, {"letter", "--icons", "icons", "in.qrb", "layout.qpf", "rows.csv", "out.qrb"});
    EXPECT_NE(said.out.find("note: 1 row's text did not fit its box at 6 points and was cut "
                            "(line 4)\nnote: no installed font draws U+10FFFD (line 5, slot2)"),
              std::string::npos)
        << said.out;
}

// Peak memory of the whole qrbtool run: memory holds IN and one new tile whatever the
// number of rows and tiles. Measured as the largest resident size of this test's child
// processes (an upper bound: it includes this test's own), nothing timed.
std::uint64_t childrenPeakBytes() {
    struct rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return std::uint64_t(usage.ru_maxrss) * 1024;
}

TEST_F(LetterCommand, FortyLargeTilesAreWrittenAsTheyAreMade) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    // The sanitizers' shadow memory (and quarantine) make a program's memory another size.
    GTEST_SKIP() << "memory sizes are not measured under a sanitizer";
#endif
    TileSet base;
    base.append(Tile{pattern(2048, 2048, 7), pattern(1024, 1024, 7), 0});
    LibraryFile::save(dir / "large.qrb", base);
    std::string table = "base,slot1\n";
    for (int i = 0; i < 40; ++i)
        table += "1,Row " + std::to_string(i) + "\n";
    write(table);
    const Result r =
        run(dir, {"letter", "--only-new", "large.qrb", "layout.qpf", "rows.csv", "out.qrb"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(LibraryFile::inspect(dir / "out.qrb").count(), 40);
    // Forty lettered tiles alone are 630 MB.
    EXPECT_LT(childrenPeakBytes(), std::uint64_t(200) << 20);
}

// --max-memory covers IN and the tile being lettered, not only the reading of IN.
TEST_F(LetterCommand, TheMemoryLimitCoversTheTileBeingLettered) {
    const Result refused =
        run(dir, {"letter", "--max-memory", "1M", "in.qrb", "layout.qpf", "rows.csv", "out.qrb"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.starts_with("error: in.qrb: its images need ")) << refused.err;
    EXPECT_NE(refused.err.find(" once read and lettering one tile 1.0 MiB (1081344 bytes), more "
                               "than the limit of 1 MiB"),
              std::string::npos)
        << refused.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "out.qrb"));
    EXPECT_EQ(
        run(dir, {"letter", "--max-memory", "2M", "in.qrb", "layout.qpf", "rows.csv", "out.qrb"})
            .code,
        0);
}

TEST_F(LetterCommand, AMillionRowTableIsReadAsAStream) {
#ifdef __SANITIZE_THREAD__
    // A million rows through the thread sanitizer's checks outlast the run's minute; the
    // rows are read on one thread, which the other builds check.
    GTEST_SKIP() << "too slow under the thread sanitizer";
#endif
    std::string table = "base,slot2,copies\n";
    table.reserve(table.size() + 4'000'100);
    for (int i = 0; i < 1'000'000; ++i)
        table += "1,,0\n";
    table += "2,last,1\n";
    write(table);
    const Result r =
        run(dir, {"letter", "--only-new", "in.qrb", "layout.qpf", "rows.csv", "out.qrb"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with(
        "lettered 1 tile from 1000001 rows of rows.csv; wrote 1 tiles to out.qrb\n"))
        << r.out;
    EXPECT_LT(childrenPeakBytes(), std::uint64_t(150) << 20);
}

// Rows lettered ahead on several threads: the file of one thread, byte for byte; the
// first failing row in order is named and nothing is written, whatever the threads.
TEST_F(LetterCommand, AnyNumberOfJobsWritesTheFileOfOne) {
    QImage red(12, 6, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(QString::fromStdString((dir / "red.png").string())));
    std::string table = "base,slot1,slot8,image1,image1_at,copies\n";
    for (int row = 1; row <= 600; ++row)
        table += std::to_string(row % 3 + 1) + ",Row " + std::to_string(row) + "," +
                 (row % 4 ? "" : "\"two, words\"") + ",red.png,\"" + std::to_string(row % 30) +
                 ",2\"," + std::to_string(row % 7 ? 1 : 2) + "\n";
    write(table);
    const auto letter = [&](const char* jobs, const char* out) {
        return run(dir, {"letter", "--jobs", jobs, "in.qrb", "layout.qpf", "rows.csv", out});
    };
    ASSERT_EQ(letter("1", "one.qrb").code, 0);
    for (const char* jobs : {"2", "7"}) {
        const Result r = letter(jobs, "several.qrb");
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(readFile(dir / "several.qrb"), readFile(dir / "one.qrb")) << jobs << " jobs";
    }

    table = "base,slot1,image1,image1_at\n";
    for (int row = 1; row <= 1000; ++row)
        table += "1,Row " + std::to_string(row) + ",red.png,\"" +
                 (row == 900 || row == 995 ? "900" : "1") + ",0\"\n";
    write(table);
    for (const char* jobs : {"1", "4"}) {
        const std::size_t files = dir.entries();
        const Result r = letter(jobs, "bad.qrb");
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.starts_with("error: rows.csv:901: ")) << r.err;
        EXPECT_NE(r.err.find("900,0 is too far off the tile"), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "bad.qrb"));
        EXPECT_EQ(dir.entries(), files) << "a file was left behind";
    }
    EXPECT_EQ(letter("0", "bad.qrb").code, 2) << "at least one job";
}

TEST_F(LetterCommand, NeedsNoDisplayAndTheHelpShowsATable) {
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb";
    const Result r =
        run(dir, {"letter", "in.qrb", "layout.qpf", "rows.csv", "in.qrb"}, ".out", noDisplay);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(run(dir, {"check", "in.qrb"}, ".out", noDisplay).out, "ok: 8 tiles\n");

    const Result help = run(dir, {"letter", "-h"});
    EXPECT_EQ(help.code, 0);
    for (const char* part : {"qrbtool letter [--max-memory SIZE] [--jobs N] [--only-new] [--icons "
                             "DIR] [--json] IN.qrb "
                             "POSITIONS.qpf TABLE OUT.qrb",
                             "  base,slot1,slot2,copies\n  1,Harbour,3,2\n"})
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
}

} // namespace
} // namespace qrb::test
