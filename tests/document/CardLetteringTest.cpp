// Cards from a table: pictures per row (files and tiles, scaled into their boxes, each read
// once), icons in the text, braces, boxes whose text is cut, and errors that name the row
// and column before anything is made.

#include "document/LetteringArt.h"
#include "document/TableLettering.h"

#include "imaging/render/DibConversion.h"
#include "lettering/LetteringTable.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QImage>

#include <fstream>

namespace qrb::test {
namespace {

constexpr QRgb kRed = 0xFFFF0000;

class CardLettering : public ::testing::Test {
protected:
    CardLettering() {
        QImage white(64, 64, QImage::Format_RGB32);
        white.fill(Qt::white);
        tiles.append(Tile{toDibImage(white), DibImage(32, 32), 0});
        tiles.append(patternTile(64, 64, 2));
        QImage red(20, 10, QImage::Format_RGB32);
        red.fill(kRed);
        red.save(QString::fromStdString((dir / "red.png").string()));
        std::filesystem::create_directory(dir / "icons");
        QImage coin(8, 8, QImage::Format_ARGB32);
        coin.fill(kRed);
        coin.save(QString::fromStdString((dir / "icons" / "coin.png").string()));
        layout[0].text = "x";
        layout[0].position = "4,46";
        layout[0].style.size = 12;
    }

    LetteringTable table(const std::string& text) const {
        return LetteringTable::parse(text, ',', (dir / "rows.csv").string());
    }
    // The tiles of `text`, with the art read as a run reads it.
    LetteredTiles letter(const std::string& text, bool icons = true) {
        const LetteringTable rows = table(text);
        art.emplace(LetteringArt::forTable(rows, tiles,
                                           icons ? std::optional(dir / "icons") : std::nullopt,
                                           std::uint64_t(64) << 20));
        return *TableLettering(tiles, layout, {}, &*art).letterAll(rows);
    }
    // The error lettering `text` throws.
    TableError failure(const std::string& text, bool icons = true) {
        try {
            letter(text, icons);
        } catch (const TableError& e) {
            return e;
        }
        ADD_FAILURE() << "accepted: " << text;
        return TableError("", 0, "", "");
    }

    TempDir dir;
    TileSet tiles;
    PositionSlots layout;
    std::optional<LetteringArt> art;
};

TEST_F(CardLettering, PicturesFromFilesAndTilesLieUnderTheTextScaledAndCentredInTheirBoxes) {
    const LetteredTiles made = letter("base,image1,image1_at,image1_size,image2\n"
                                      "1,red.png,\"4,4\",40x40,\n"
                                      "1,#2,\"-32,0\",,\n"
                                      "1,red.png,\"100,90\",,#2\n");
    ASSERT_EQ(made.tiles.size(), 3u);
    const QImage scaled = toQImage(made.tiles[0].full);
    // 20 x 10 into 40 x 40: 40 x 20, centred down by 10.
    for (const QPoint p : {QPoint(4, 14), QPoint(43, 33)})
        EXPECT_EQ(scaled.pixel(p), kRed) << p.x() << "," << p.y();
    for (const QPoint p : {QPoint(4, 13), QPoint(44, 33), QPoint(40, 34)})
        EXPECT_NE(scaled.pixel(p), kRed) << p.x() << "," << p.y();

    // Tile 2 at its own size, half of it off the tile to the left, under the text.
    const QImage tile2 = toQImage(tiles.tile(2).full);
    const QImage half = toQImage(made.tiles[1].full);
    EXPECT_EQ(half.copy(0, 0, 32, 44), tile2.copy(32, 0, 32, 44));
    EXPECT_NE(half.copy(0, 44, 20, 20), tile2.copy(32, 44, 20, 20)) << "the slot's text is over it";
    // image2 over image1, in the order of their numbers.
    EXPECT_EQ(toQImage(made.tiles[2].full).copy(20, 0, 44, 40), tile2.copy(20, 0, 44, 40));
    EXPECT_EQ(art->filesDecoded(), 1) << "red.png read once for both rows";
}

TEST_F(CardLettering, EachPictureFileIsDecodedOnceHoweverManyRowsUseIt) {
    std::string text = "base,image1,image1_size,slot1\n";
    for (int i = 0; i < 50; ++i)
        text +=
            "1,red.png," + std::string(i % 2 ? "30x30" : "") + ",Row " + std::to_string(i) + "\n";
    const LetteredTiles made = letter(text);
    EXPECT_EQ(made.tiles.size(), 50u);
    EXPECT_EQ(art->filesDecoded(), 1);
    ASSERT_TRUE(art->base(1)) << "the base tile is converted once for all its rows";
    EXPECT_EQ(*art->base(1), toQImage(tiles.tile(1).full));
    EXPECT_FALSE(art->base(2)) << "no row starts from tile 2";
}

TEST_F(CardLettering, IconsAreDrawnAndDoubledBracesAreBraces) {
    const LetteredTiles made = letter("base,slot1,slot1_box\n"
                                      "1,Gain {coin},60x30\n"
                                      "1,{{coin}},\n"
                                      "1,{coin},\n");
    const QImage boxed = toQImage(made.tiles[0].full);
    int red = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            red += boxed.pixel(x, y) == kRed;
    EXPECT_GT(red, 20) << "the icon is drawn, scaled to the line";
    EXPECT_GT(toQImage(made.tiles[2].full).pixel(5, 8), 0u);

    // "{{coin}}" is the text "{coin}", drawn as any one-line text is.
    PositionSlots typed = layout;
    typed[0].text = "{coin}";
    const LetteringTable plain = table("base\n1\n");
    EXPECT_EQ(made.tiles[1], TableLettering(tiles, typed).letter(plain.rows()[0]));
}

TEST_F(CardLettering, TextCutAtItsBoxNamesItsRow) {
    const LetteredTiles made = letter("base,slot1,slot1_box\n"
                                      "1,Fits,60x30\n"
                                      "1,\"Far too much text for a box this small, even at six "
                                      "points\",30x8\n"
                                      "1,Also fits,60x30\n");
    EXPECT_EQ(made.overflowingLines, std::vector<int>{3});
}

TEST_F(CardLettering, AMissingIconOrPictureOrAPointOffTheTileNamesRowAndColumn) {
    const struct {
        std::string table;
        bool icons;
        int line;
        std::string column, says;
    } cases[] = {
        {"base,slot2\n1,ok\n1,Gain {gem}\n", true, 3, "slot2", "no icon \"gem\": "},
        {"base,slot1\n1,{coin}\n", false, 2, "slot1", "needs a folder of icons"},
        {"base,image1\n1,red.png\n1,missing.png\n", true, 3, "image1", "missing.png cannot be "},
        {"base,image4\n1,rows.csv\n", true, 2, "image4", "not a picture that can be read"},
        {"base,image1\n2,#3\n", true, 2, "image1", "#3 is beyond the 2 tiles"},
        {"base,image1,image1_at\n1,red.png,\"129,0\"\n", true, 2, "image1_at",
         "image1_at 129,0 is too far off the tile: X from -64 to 128"},
    };
    std::ofstream(dir / "rows.csv") << "not a picture";
    for (const auto& c : cases) {
        const TableError e = failure(c.table, c.icons);
        EXPECT_EQ(e.line(), c.line) << c.table;
        EXPECT_EQ(e.column(), c.column) << c.table;
        EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
    }
    EXPECT_NE(std::string(failure("base,slot2\n1,{gem}\n").what())
                  .find((dir / "icons" / "gem.png").string()),
              std::string::npos)
        << "the missing file is named";
}

// Rows lettered on several threads: the tiles and the overflowing rows of one thread, in
// the same order; a failing row is named as one thread names it, however many rows after
// it were lettered first.
TEST_F(CardLettering, OnSeveralThreadsTheTilesAreThoseOfOneThread) {
    std::string text = "base,slot1,slot1_box,image1,image1_at,copies\n";
    for (int i = 1; i <= 400; ++i)
        text += std::to_string(i % 2 + 1) + ",\"Card " + std::to_string(i) +
                (i % 5 == 0 ? " with text far too long for its box {coin}" : " {coin}") +
                "\",30x12," + (i % 3 == 0 ? "red.png,\"" + std::to_string(i % 40) + ",4\"" : ",") +
                "," + std::to_string(i % 4 == 0 ? 2 : 1) + "\n";
    const LetteringTable rows = table(text);
    art.emplace(LetteringArt::forTable(rows, tiles, dir / "icons", std::uint64_t(64) << 20));
    const TableLettering lettering(tiles, layout, {}, &*art);
    const LetteredTiles one = *lettering.letterAll(rows, {}, {}, 1);
    ASSERT_EQ(one.tiles.size(), 500u);
    ASSERT_FALSE(one.overflowingLines.empty());
    for (const int threads : {2, 5}) {
        const LetteredTiles several = *lettering.letterAll(rows, {}, {}, threads);
        EXPECT_TRUE(several.tiles == one.tiles) << threads << " threads";
        EXPECT_EQ(several.overflowingLines, one.overflowingLines) << threads << " threads";
    }

    std::string failing = "base,slot1,image1,image1_at\n";
    for (int row = 1; row <= 1000; ++row)
        failing += "1,Row " + std::to_string(row) + ",red.png,\"" +
                   (row == 900 || row == 990 ? "500" : "3") + ",0\"\n";
    const LetteringTable bad = table(failing);
    art.emplace(LetteringArt::forTable(bad, tiles, std::nullopt, std::uint64_t(64) << 20));
    for (const int threads : {1, 4}) {
        try {
            TableLettering(tiles, layout, {}, &*art).letterAll(bad, {}, {}, threads);
            ADD_FAILURE() << "accepted";
        } catch (const TableError& e) {
            EXPECT_EQ(e.line(), 901) << "row 900, under the header; " << threads << " threads";
            EXPECT_EQ(e.column(), "image1_at");
        }
    }
}

} // namespace
} // namespace qrb::test
