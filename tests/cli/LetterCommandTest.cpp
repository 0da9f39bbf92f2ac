// qrbtool letter end to end: the tool run as a user runs it on a small library, its tiles
// compared byte for byte with what the editor's Create using position data makes of the
// same rows; every error names the row and column, exits 1 and writes nothing; and the tool
// needs no display.

#include "cli/ToolRun.h"
#include "document/Document.h"
#include "lettering/LetteringTable.h"
#include "support/QrbFixture.h"
#include "text/PositionDataFile.h"
#include "tileset/LibraryFile.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qrb::test {
namespace {

PositionSlot slot(
    const char* text, const char* position, const char* angle, float size,
    void (*style)(TextStyle&) = [](TextStyle&) {}) {
    PositionSlot s;
    s.text = text;
    s.position = position;
    s.angle = angle;
    s.style.size = size;
    style(s.style);
    return s;
}

// Angles 0, 37, 90, 180 and 359; sizes 6 to 72; every style; white text; positions at the
// edges, before the tile and past it; a position that is not a number; a face that no
// system has; slot 6 empty unless a row fills it.
PositionSlots layout() {
    PositionSlots all;
    all[0] = slot("Title", "2,3", "000", 12, [](TextStyle& s) { s.bold = true; });
    all[1] = slot("Cost", "-4,-5", "037", 6);
    all[2] = slot("Rules", "58,1", "090", 9, [](TextStyle& s) {
        s.italic = true;
        s.underline = true;
    });
    all[3] = slot("Edge", "30,63", "180", 18, [](TextStyle& s) {
        s.strikethrough = true;
        s.textColour = palette::White;
    });
    all[4] = slot("Big", "x,40", "359", 72, [](TextStyle& s) { s.face = "Nonesuch Sans"; });
    all[5] = slot("off the tile's right edge", "50,30", "000", 10);
    all[7] = slot("Corner", "63,63", "045", 8, [](TextStyle& s) {
        s.bold = s.italic = s.underline = s.strikethrough = true;
        s.textColour = palette::Red;
    });
    return all;
}

const char* const kRows = "\xEF\xBB\xBF"
                          "Base,SLOT1, slot2 ,slot7,copies\r\n"
                          "1,Harbour,3,,2\r\n"
                          "2,\"Market, small\",,\"two\r\nlines\",1\r\n"
                          "3,,,,1\r\n"
                          "\r\n"
                          "1,Ä€ ok,12,seven,0\r\n"
                          "2,Last,,,\r\n";

class LetterCommand : public ::testing::Test {
protected:
    LetterCommand() {
        TileSet tiles;
        const int sides[][2] = {{64, 64}, {48, 30}, {20, 20}};
        for (int i = 0; i < 3; ++i) {
            Tile tile;
            tile.full = pattern(sides[i][0], sides[i][1], i + 1);
            tile.half = pattern(sides[i][0] / 2, sides[i][1] / 2, i + 7);
            tile.smallColour = ColourValue(0x102030 * (i + 1));
            tiles.append(std::move(tile));
        }
        LibraryFile::save(dir / "in.qrb", tiles);
        PositionDataFile::write(dir / "layout.qpf", layout());
        write("rows.csv", kRows);
    }

    void write(const std::string& name, const std::string& text) const {
        std::ofstream(dir / name, std::ios::binary) << text;
    }

    // The tile the editor makes of `row`: the row's texts typed into the slot boxes, the
    // base tile picked, Create with "Create tile using position data" checked.
    Tile createdByHand(const LetteringRow& row) const {
        Document editor;
        editor.open(QString::fromStdString((dir / "in.qrb").string()));
        editor.loadPositionData(QString::fromStdString((dir / "layout.qpf").string()));
        Document::Options options = editor.options();
        options.createUsingPosition = true;
        editor.setOptions(options);
        for (std::size_t k = 0; k < LetteringRow::kSlots; ++k) {
            if (row.texts[k])
                editor.setSlotText(int(k), QString::fromStdString(*row.texts[k]));
        }
        editor.showSelectedTile(int(row.base));
        EXPECT_TRUE(editor.createTile());
        return editor.tiles().tile(editor.tileCount());
    }

    TempDir dir;
};

TEST_F(LetterCommand, TilesHaveThePixelsOfCreateUsingPositionDataAfterInsTiles) {
    const Result r = run(dir, {"letter", "--json", "in.qrb", "layout.qpf", "rows.csv", "out.qrb"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "") << "no progress when the error output is not a terminal";
    EXPECT_TRUE(r.out.starts_with("{\"rows\": 5, \"tiles_lettered\": 5, \"tiles_written\": 8, "
                                  "\"milliseconds\": "))
        << r.out;
    EXPECT_NE(r.out.find("{\"face\": \"Nonesuch Sans\", \"drawn_with\": "), std::string::npos)
        << r.out;

    const TileSet in = LibraryFile::load(dir / "in.qrb");
    const TileSet out = LibraryFile::load(dir / "out.qrb");
    ASSERT_EQ(out.count(), 8);
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(out.tile(i) == in.tile(i)) << "IN's tile " << i << " changed";
    int made = 3;
    const LetteringTable table = LetteringTable::read(dir / "rows.csv");
    for (const LetteringRow& row : table.rows()) {
        const Tile expected = createdByHand(row);
        for (int copy = 0; copy < row.copies; ++copy) {
            const Tile& tile = out.tile(++made);
            EXPECT_TRUE(tile.full == expected.full) << "line " << row.line;
            EXPECT_TRUE(tile.half == expected.half) << "line " << row.line;
            EXPECT_EQ(tile.smallColour, in.tile(int(row.base)).smallColour);
        }
    }

    const Result onlyNew =
        run(dir, {"letter", "in.qrb", "layout.qpf", "rows.csv", "new.qrb", "--only-new"});
    ASSERT_EQ(onlyNew.code, 0) << onlyNew.err;
    EXPECT_TRUE(onlyNew.out.starts_with(
        "lettered 5 tiles from 5 rows of rows.csv; wrote 5 tiles to new.qrb\n"))
        << onlyNew.out;
    EXPECT_NE(onlyNew.out.find("\nnote: the face Nonesuch Sans is not installed; drawn with "),
              std::string::npos);
    const TileSet fresh = LibraryFile::load(dir / "new.qrb");
    ASSERT_EQ(fresh.count(), 5);
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(fresh.tile(i) == out.tile(3 + i)) << i;
}

TEST_F(LetterCommand, AnyErrorNamesRowAndColumnExitsOneAndWritesNothing) {
    write("short.qrb", "QRBB");
    std::vector<std::uint8_t> qpf = readFile(dir / "layout.qpf");
    qpf[0] = 200; // slot 0's text claims 200 bytes of a 128-byte record
    writeFile(dir / "bad.qpf", qpf);
    const std::string longText(127, 'x');
    const struct {
        std::string table;
        std::vector<std::string> files; // IN and POSITIONS
        std::string error;
    } cases[] = {
        {"base,slot1,slot10\n1,a,b\n",
         {},
         "error: rows.csv:1: column 3 \"slot10\" is not one of base, slot1 to slot9, copies"},
        {"slot1\nA\n", {}, "error: rows.csv:1: the table has no base column"},
        {"base,slot1\n1,a\n9,b\n", {}, "error: rows.csv:3: base 9 is beyond the 3 tiles of in.qrb"},
        {"base,slot1\n1,a\n,b\n", {}, "error: rows.csv:3: base is empty"},
        {"base,slot1\n2,\xE6\x97\xA5\n",
         {},
         "error: rows.csv:2: slot1 holds \"\xE6\x97\xA5\", which a position data file cannot hold"},
        {"base,slot2\n1," + longText + "\n", {}, "error: rows.csv:2: slot2 is 127 characters long"},
        {"base,slot1\n1,\"open\n2,b\n", {}, "error: rows.csv:2: slot1: "},
        {"base,copies\n1,32760\n2,5\n",
         {},
         "error: rows.csv:3: with this row the library would hold 32768 tiles"},
        {"base,slot1\n1,a\n", {"short.qrb", "layout.qpf"}, "error: short.qrb: "},
        {"base,slot1\n1,a\n", {"in.qrb", "bad.qpf"}, "error: bad.qpf: "},
        {"base,slot1\n1,a\n", {"in.qrb", "missing.qpf"}, "error: missing.qpf: "},
    };
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    writeFile(dir / "out.qrb", old);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.table);
        write("rows.csv", c.table);
        const std::size_t files = dir.entries();
        const std::string in = c.files.empty() ? "in.qrb" : c.files[0];
        const std::string positions = c.files.empty() ? "layout.qpf" : c.files[1];
        const Result r = run(dir, {"letter", in, positions, "rows.csv", "out.qrb"});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.starts_with(c.error)) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(readFile(dir / "out.qrb"), old);
        EXPECT_EQ(dir.entries(), files) << "a file was left behind";
    }

    // New tiles that would take IN past the limit fit when they are written alone.
    TileSet tiny;
    for (int i = 0; i < 3; ++i)
        tiny.append(Tile{pattern(2, 2, i), pattern(1, 1, i), 0});
    LibraryFile::save(dir / "tiny.qrb", tiny);
    write("rows.csv", "base,copies\n1,32760\n2,5\n");
    EXPECT_EQ(
        run(dir, {"letter", "--only-new", "tiny.qrb", "layout.qpf", "rows.csv", "out.qrb"}).code,
        0);
    EXPECT_EQ(LibraryFile::inspect(dir / "out.qrb").count(), 32765);

    // OUT over the table or the position data would destroy them.
    const std::vector<std::uint8_t> table = readFile(dir / "rows.csv");
    const Result overTable = run(dir, {"letter", "in.qrb", "layout.qpf", "rows.csv", "./rows.csv"});
    EXPECT_EQ(overTable.code, 2);
    EXPECT_TRUE(overTable.err.starts_with("error: OUT ./rows.csv is the table")) << overTable.err;
    EXPECT_EQ(readFile(dir / "rows.csv"), table);
    EXPECT_EQ(run(dir, {"letter", "in.qrb", "layout.qpf", "rows.csv", "layout.qpf"}).code, 2);
    EXPECT_EQ(readFile(dir / "layout.qpf").size(), PositionDataFile::kFileSize);
}

TEST_F(LetterCommand, NeedsNoDisplayAndTheHelpDescribesTheTable) {
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb";
    const Result r =
        run(dir, {"letter", "in.qrb", "layout.qpf", "rows.csv", "in.qrb"}, ".out", noDisplay);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(LibraryFile::load(dir / "in.qrb").count(), 8) << "IN grew in place";
    EXPECT_EQ(run(dir, {"check", "in.qrb"}, ".out", noDisplay).out, "ok: 8 tiles\n");

    const Result help = run(dir, {"letter", "--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* part : {"qrbtool letter [--max-memory SIZE] [--only-new] [--json] IN.qrb "
                             "POSITIONS.qpf TABLE OUT.qrb",
                             "  base,slot1,slot2,copies\n  1,Harbour,3,2\n", "slot1..slot9"})
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
    EXPECT_NE(run(dir, {"--help"}).out.find("letter [--max-memory SIZE] [--only-new]"),
              std::string::npos);
}

} // namespace
} // namespace qrb::test
