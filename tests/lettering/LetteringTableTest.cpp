// Lettering tables as spreadsheets and text editors write them, and every way one can be
// wrong, each reported with its line and column.

#include "lettering/LetteringTable.h"
#include "lettering/CsvReader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace qrb::test {
namespace {

LetteringTable csv(std::string_view text) {
    return LetteringTable::parse(text, ',', "rows.csv");
}

std::vector<std::uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(LetteringTable, QuotedFieldsHoldSeparatorsAndQuotes) {
    const LetteringTable table = csv("base,slot1,slot2\n"
                                     "1,\"Harbour, East\",\"say \"\"hi\"\"\"\n"
                                     "3,\"\",plain\n");
    ASSERT_EQ(table.rows().size(), 2u);
    EXPECT_EQ(table.rows()[0].texts[0], "Harbour, East");
    EXPECT_EQ(table.rows()[0].texts[1], "say \"hi\"");
    EXPECT_EQ(table.rows()[1].texts[0], "");
    EXPECT_TRUE(table.rows()[0].looks.empty()) << "no room taken for looks the table has not";
}

TEST(LetteringTable, ByteOrderMarkCrlfHeaderCaseAndTrailingBlankLines) {
    const LetteringTable table = csv("\xEF\xBB\xBF Base ,SLOT3,\tCopies\r\n"
                                     "2,x,3\r\n"
                                     ",,\r\n"
                                     "4,y,\r\n"
                                     "\r\n\r\n");
    ASSERT_EQ(table.rows().size(), 2u) << "the row of empty cells and blank lines are skipped";
    const LetteringRow& first = table.rows()[0];
    EXPECT_EQ(first.line, 2);
    EXPECT_EQ(first.base, 2);
    EXPECT_EQ(first.copies, 3);
    EXPECT_EQ(first.texts[2], "x") << "no carriage return left on the last cell";
    const LetteringRow& second = table.rows()[1];
    EXPECT_EQ(second.line, 4);
    EXPECT_EQ(second.copies, 1) << "an empty copies cell makes one tile";
    EXPECT_EQ(second.texts[0], std::nullopt) << "no column: the slot keeps its own text";
    EXPECT_EQ(second.texts[2], "y");
}

TEST(LetteringTable, NoCopiesMakesNoTileAndTheLastLineNeedsNoBreak) {
    const LetteringTable table = csv("base,copies\n1,0\n1,2");
    ASSERT_EQ(table.rows().size(), 2u);
    EXPECT_EQ(table.rows()[0].copies, 0);
    EXPECT_EQ(table.check(1, "in.qrb", 1), 2);
}

TEST(LetteringTable, TheFileNameChoosesTabsOrCommas) {
    TempDir dir;
    const std::string text = "base\tslot1\n1\tHarbour, East\n";
    const LetteringTable tabs = LetteringTable::read(writeFile(dir / "rows.TSV", bytesOf(text)));
    ASSERT_EQ(tabs.rows().size(), 1u);
    EXPECT_EQ(tabs.rows()[0].texts[0], "Harbour, East");
    EXPECT_EQ(tabs.name(), (dir / "rows.TSV").string());
    // The same text as CSV is one header cell with a tab in it.
    EXPECT_THROW(LetteringTable::read(writeFile(dir / "rows.csv", bytesOf(text))), TableError);
}

TEST(LetteringTable, AnyUnicodeTextBoxedLineBreaksAndIconMarkup) {
    const std::string longest(LetteringTable::kMaxTextCharacters, 'W');
    const LetteringTable table = csv("base,slot9,slot2,slot2_box\n"
                                     "1," +
                                     longest +
                                     ",\"Gain 2 {coin}.\r\nDraw.\rEnd\",56 x 30\n"
                                     "1,€ Straße ★ ⚔ 日本,{{literal}},\n");
    EXPECT_EQ(table.rows()[0].texts[8], longest);
    EXPECT_EQ(table.rows()[0].texts[1], "Gain 2 {coin}.\nDraw.\nEnd") << "breaks kept as \\n";
    EXPECT_EQ(table.rows()[0].box(1), (PixelSize{56, 30}));
    EXPECT_EQ(table.rows()[1].texts[8], "€ Straße ★ ⚔ 日本");
    EXPECT_EQ(table.rows()[1].box(1), std::nullopt);
    EXPECT_EQ(table.rows()[1].box(0), std::nullopt);
}

TEST(LetteringTable, PicturesFromFilesOrTilesWithTheirPointAndBox) {
    const LetteringTable table = csv("image2_size,image1,base,image1_at,image2\n"
                                     "64x40,art/a.png,1,\" -8, 12 \",#3\n"
                                     ",,2,,\n");
    const LetteringRow& first = table.rows()[0];
    ASSERT_EQ(first.pictures.size(), 9u);
    EXPECT_EQ(first.pictures[0], (RowPicture{"art/a.png", 0, -8, 12, std::nullopt}));
    EXPECT_EQ(first.pictures[1], (RowPicture{"#3", 3, 0, 0, PixelSize{64, 40}}));
    EXPECT_FALSE(first.pictures[2]);
    EXPECT_FALSE(table.rows()[1].pictures[0]);
    EXPECT_TRUE(csv("base,slot1\n1,a\n").rows()[0].pictures.empty());
}

struct BadTable {
    std::string name;
    std::string text;
    int line;
    std::string column;
    std::string says; // part of the message
};

class BadTables : public ::testing::TestWithParam<BadTable> {};

TEST_P(BadTables, NameTheLineAndTheColumn) {
    const BadTable& bad = GetParam();
    try {
        csv(bad.text);
        FAIL() << "accepted";
    } catch (const TableError& e) {
        EXPECT_EQ(e.line(), bad.line);
        EXPECT_EQ(e.column(), bad.column);
        const std::string what = e.what();
        EXPECT_EQ(what.rfind("rows.csv:" + std::to_string(bad.line) + ": ", 0), 0u) << what;
        EXPECT_NE(what.find(bad.says), std::string::npos) << what;
    }
}

const BadTable kBadTables[] = {
    {"Empty", "", 1, "", "the table is empty"},
    {"NoBaseColumn", "slot1\nx\n", 1, "base", "no base column"},
    {"UnknownColumn", "base,slot1,slot10\n", 1, "slot10", "column 3 \"slot10\" is not one of"},
    {"DuplicateColumn", "base,slot2, Slot2\n", 1, "slot2", "\"Slot2\" repeats column 2"},
    {"NamelessColumn", "base,,slot1\n", 1, "column 2", "column 2 has no name"},
    {"EmptyBase", "base,slot1\n,x\n", 2, "base", "base is empty"},
    {"BaseNotANumber", "base\n1\nabc\n", 3, "base", "base \"abc\" is not a tile number"},
    {"BaseZero", "base\n0\n", 2, "base", "base \"0\" is not a tile number"},
    {"BaseFraction", "base\n1.5\n", 2, "base", "\"1.5\""},
    {"BaseHuge", "base\n99999999999999999999\n", 2, "base", "is not a tile number"},
    {"CopiesNegative", "base,copies\n1,-1\n", 2, "copies", "copies \"-1\" is not a count"},
    {"CopiesBeyondALibrary", "base,copies\n1,40000\n", 2, "copies", "more than the 32767"},
    {"TooFewCells", "base,slot1\n1,a\n2\n", 3, "", "the row has 1 cells, the header 2"},
    {"TooManyCells", "base,slot1\n1,a,b\n", 2, "", "the row has 3 cells"},
    {"QuoteNeverClosed", "base,slot1\n1,\"abc\n2,x\n", 2, "slot1", "never closed"},
    {"TextAfterClosingQuote", "base,slot1\n1,\"ab\"c\n", 2, "slot1", "follows the closing quote"},
    {"QuoteInPlainField", "base,slot1\n1,5\" tile\n", 2, "slot1", "quote inside a field"},
    {"QuoteErrorInHeader", "base,\"slot1\n", 1, "column 2", "never closed"},
    // A slot text is printable characters, on one line unless the slot has a box.
    {"LineBreakInSlot", "base,slot1\n1,\"a\nb\"\nx,y\n", 2, "slot1",
     "slot1 holds a line break; a slot text is one line unless the slot has a box (slot1_box)"},
    {"LineBreakInARowWithoutABox", "base,slot1,slot1_box\n1,\"a\nb\",9x9\n1,\"a\nb\",\n", 4,
     "slot1", "holds a line break"},
    {"NulInSlot", "base,slot1\n1,ab" + std::string(1, '\0') + "c\n", 2, "slot1",
     "control character U+0000 at character 3"},
    {"TabInSlot", "base,slot1\n1,\"a\tb\"\n", 2, "slot1", "U+0009"},
    {"C1ControlInSlot", "base,slot1\n1,\xC2\x85\n", 2, "slot1", "U+0085 at character 1"},
    // Quoted input shows control characters escaped and is cut after 60 characters.
    {"EscapeInHeader", "base,\x1B[31mred\n", 1, "\x1b[31mred", "\"\\x1B[31mred\" is not one"},
    {"NulInHeader", "base,a" + std::string(1, '\0') + "b\n", 1, std::string("a\0b", 3),
     "column 2 \"a\\x00b\" is not one"},
    {"HugeHeader", "base," + std::string(100000, 'h') + "\n", 1, std::string(100000, 'h'),
     "\"" + std::string(60, 'h') + "...\" (100000 bytes) is not one"},
    {"TooLong", "base,slot1\n1," + std::string(4097, 'W') + "\n", 2, "slot1",
     "slot1 is 4097 characters long; a slot text may be at most 4096"},
    {"StarsCountOneEach",
     "base,slot1\n1," +
         [] {
             std::string stars;
             for (int i = 0; i < 4097; ++i)
                 stars += "★";
             return stars;
         }() +
         "\n",
     2, "slot1", "is 4097 characters long"},
    // Icons: {name}, and braces doubled.
    {"BraceNeverClosed", "base,slot1\n1,Gain {coin\n", 2, "slot1",
     "slot1: a { opens no icon; write {{ for a brace"},
    {"LoneClosingBrace", "base,slot3\n1,a } b\n", 2, "slot3", "write }} for a brace"},
    {"IconWithAPath", "base,slot1\n1,{../coin}\n", 2, "slot1", "icon name \"../coin\" is not"},
    {"EmptyIcon", "base,slot1\n1,{}\n", 2, "slot1", "icon name \"\" is not"},
    // Boxes and pictures.
    {"BoxWithoutHeight", "base,slot1_box\n1,56\n", 2, "slot1_box",
     "slot1_box \"56\" is not a box WxH"},
    {"BoxZero", "base,slot1_box\n1,0x10\n", 2, "slot1_box", "is not a box"},
    {"PictureTileZero", "base,image1\n1,#0\n", 2, "image1", "image1 \"#0\" is not a tile"},
    {"PicturePointOneNumber", "base,image1,image1_at\n1,a.png,5\n", 2, "image1_at",
     "is not a point X,Y"},
    {"PictureSizeNegative", "base,image3_size\n1,-4x4\n", 2, "image3_size", "is not a size WxH"},
    {"PictureTen", "base,image10\n", 1, "image10", "imageN, imageN_at, imageN_size"},
    // A slot's look: every bad value names its line and column.
    {"AlignUnknown", "base,slot1_align\n1,centre\n1,diagonal\n", 3, "slot1_align",
     "slot1_align \"diagonal\" is not an alignment"},
    {"AlignTwiceHorizontal", "base,slot2_align\n1,left right\n", 2, "slot2_align",
     "is not an alignment"},
    {"ColourShort", "base,slot3_colour\n1,#FFF\n", 2, "slot3_colour", "is not a colour #RRGGBB"},
    {"ColourNotHex", "base,slot3_color\n1,#GG0000\n", 2, "slot3_colour", "#GG0000"},
    {"SizeZero", "base,slot1_size\n1,0\n", 2, "slot1_size", "is not a size in points"},
    {"SizeHuge", "base,slot1_size\n1,1001\n", 2, "slot1_size", "at most 1000"},
    {"FontNotWindows1252", "base,slot9_font\n1,日本\n", 2, "slot9_font", "cannot hold"},
    {"BoldTwo", "base,slot1_bold\n1,2\n", 2, "slot1_bold", "slot1_bold \"2\" is not 0 or 1"},
    {"ItalicYes", "base,slot1_italic\n1,yes\n", 2, "slot1_italic", "is not 0 or 1"},
    {"OutlineNoWidth", "base,slot1_outline\n1,#FFFFFF\n", 2, "slot1_outline", "is not an outline"},
    {"OutlineTooWide", "base,slot1_outline\n1,#FFFFFF 9\n", 2, "slot1_outline",
     "width from 0 to 8"},
    {"FitNegative", "base,slot4_fit\n1,-1\n", 2, "slot4_fit", "slot4_fit \"-1\" is not a width"},
    {"LookOfSlotTen", "base,slot10_fit\n", 1, "slot10_fit", "is not one of"},
    {"LookTwice", "base,slot1_fit,SLOT1_FIT\n", 1, "slot1_fit", "repeats column 2"},
    {"NotUtf8",
     "base,slot1\n1,Stra\xDF"
     "e\n",
     2, "slot1", "slot1 is not UTF-8 text"},
};

INSTANTIATE_TEST_SUITE_P(LetteringTable, BadTables, ::testing::ValuesIn(kBadTables),
                         [](const auto& testCase) { return testCase.param.name; });

// A row's own look for a slot: each value given replaces the slot's, an empty cell keeps it.
TEST(LetteringTable, SlotLooksReplaceOnlyTheValuesTheRowGives) {
    const LetteringTable table =
        csv("base,slot1,Slot1_Align,slot1_colour,slot1_size,slot1_font,slot1_bold,slot1_italic,"
            "slot1_outline,slot1_fit,slot9_color\n"
            "1,A,Centre Middle,#ff8000,9.5,Liberation Serif,1,0,#FFFFFF  3,120,\n"
            "1,B,bottom,,,,,,,,#000080\n"
            "1,C,,,,,,,,,\n");
    ASSERT_EQ(table.rows().size(), 3u);
    TextStyle slot;
    slot.layout.horizontal = HorizontalAnchor::Right;
    slot.layout.vertical = VerticalAnchor::Top;
    slot.italic = true;

    TextStyle first = slot;
    table.rows()[0].looks[0].applyTo(first);
    EXPECT_EQ(first.layout.horizontal, HorizontalAnchor::Centre);
    EXPECT_EQ(first.layout.vertical, VerticalAnchor::Middle);
    EXPECT_EQ(first.textColour, rgbColour(0xFF, 0x80, 0x00));
    EXPECT_EQ(first.size, 9.5f);
    EXPECT_EQ(first.face, "Liberation Serif");
    EXPECT_TRUE(first.bold);
    EXPECT_FALSE(first.italic);
    EXPECT_EQ(first.layout.outlineColour, palette::White);
    EXPECT_EQ(first.layout.outlineWidth, 3);
    EXPECT_EQ(first.layout.fitWidth, 120);

    TextStyle second = slot;
    table.rows()[1].looks[0].applyTo(second);
    EXPECT_EQ(second.layout.horizontal, HorizontalAnchor::Right) << "only the vertical given";
    EXPECT_EQ(second.layout.vertical, VerticalAnchor::Bottom);
    TextStyle ninth;
    table.rows()[1].looks[8].applyTo(ninth);
    EXPECT_EQ(ninth.textColour, palette::DarkBlue);

    TextStyle third = slot;
    table.rows()[2].looks[0].applyTo(third);
    EXPECT_EQ(third, slot) << "empty cells keep the slot's own";
}

// A table saved as UTF-16 is named as such, read whole or as a stream.
TEST(LetteringTable, Utf16IsRefusedAsSuch) {
    TempDir dir;
    const std::string says = "the table is UTF-16; save it as UTF-8";
    for (const std::string& text :
         {std::string("\xFF\xFE"
                      "b\0a\0s\0e\0\n\0",
                      12),
          std::string("\xFE\xFF\0b\0a", 7), std::string("b\0a\0s\0e\0", 8)}) {
        try {
            csv(text);
            ADD_FAILURE() << "accepted";
        } catch (const TableError& e) {
            EXPECT_EQ(std::string(e.what()), "rows.csv:1: " + says);
        }
        writeFile(dir / "rows.csv", bytesOf(text));
        try {
            LetteringTable::forEachRow(dir / "rows.csv", [](const LetteringRow&) {});
            ADD_FAILURE() << "accepted";
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find(says), std::string::npos) << e.what();
        }
    }
}

// Read as a stream, a table gives the rows read() gives, however its records fall across
// the reader's chunks.
TEST(LetteringTable, StreamGivesTheRowsOfTheWholeTable) {
    TempDir dir;
    std::string text = "\xEF\xBB\xBF"
                       "base,slot1,copies\r\n";
    for (int i = 0; i < 20000; ++i)
        text += std::to_string(i % 7 + 1) + ",\"row, " + std::to_string(i) + "\"," +
                std::to_string(i % 3) + (i % 2 ? "\r\n" : "\n");
    writeFile(dir / "rows.csv", bytesOf(text));
    std::vector<LetteringRow> streamed;
    LetteringTable::forEachRow(dir / "rows.csv",
                               [&](const LetteringRow& row) { streamed.push_back(row); });
    EXPECT_EQ(streamed, csv(text).rows());
    ASSERT_EQ(streamed.size(), 20000u);
    EXPECT_EQ(streamed.back().line, 20001);
    EXPECT_EQ(streamed.back().texts[0], "row, 19999");
}

// However a stream's chunks cut the text (inside a quote, between CR and LF), its records
// are those of the whole text.
TEST(CsvReader, StreamInAnyChunksReadsAsTheWholeText) {
    const std::string text = "a,\"b,\"\"c\"\"\r\nd\"\r\n\r\ne,f\rg\n\"\",\"x\"\n";
    for (std::size_t chunk = 1; chunk <= text.size(); ++chunk) {
        CsvReader whole(text, ',');
        std::istringstream in(text);
        CsvReader streamed(in, ',', chunk);
        std::vector<std::string> a;
        std::vector<std::string> b;
        while (whole.next(a)) {
            ASSERT_TRUE(streamed.next(b)) << chunk;
            EXPECT_EQ(a, b) << chunk;
            EXPECT_EQ(whole.recordLine(), streamed.recordLine()) << chunk;
        }
        EXPECT_FALSE(streamed.next(b)) << chunk;
    }
}

TEST(LetteringTable, CheckNamesTheRowWhoseBaseIsBeyondTheLibrary) {
    const LetteringTable table = csv("base,slot1\n1,a\n3,b\n\n9,c\n");
    EXPECT_EQ(table.check(9, "in.qrb", 9), 3);
    try {
        table.check(3, "in.qrb", 3);
        FAIL() << "accepted";
    } catch (const TableError& e) {
        EXPECT_STREQ(e.what(), "rows.csv:5: base 9 is beyond the 3 tiles of in.qrb");
        EXPECT_EQ(e.column(), "base");
    }
    try {
        csv("base\n2\n").check(1, "one.qrb", 1);
        FAIL() << "accepted";
    } catch (const TableError& e) {
        EXPECT_STREQ(e.what(), "rows.csv:2: base 2 is beyond the 1 tile of one.qrb");
    }
}

TEST(LetteringTable, CheckNamesTheRowThatTakesTheLibraryPastItsLimit) {
    const LetteringTable table = csv("base,copies\n1,30000\n1,0\n1,2767\n");
    EXPECT_EQ(table.check(1, "in.qrb", 0), 32767) << "new tiles alone fit exactly";
    try {
        table.check(1, "in.qrb", 1);
        FAIL() << "accepted";
    } catch (const TableError& e) {
        EXPECT_EQ(e.line(), 4) << "32768 tiles with this row";
        EXPECT_NE(std::string(e.what()).find("32768 tiles"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace qrb::test
