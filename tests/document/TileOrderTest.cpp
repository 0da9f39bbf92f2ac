// Reordering, duplicating, replacing and importing tiles: the marks, the current and the
// base tile follow their tiles, and imported pictures become the tiles paste would make.

#include "document/Document.h"

#include "imaging/HalfSize.h"
#include "imaging/render/DibConversion.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QFile>

namespace qrb::test {
namespace {

// Tiles 1..n, each with its own pattern and its number as the small colour.
TileSet numbered(int n) {
    TileSet set;
    for (int i = 1; i <= n; ++i) {
        Tile t = patternTile(8 + i, 8, i);
        t.smallColour = ColourValue(i);
        set.append(std::move(t));
    }
    return set;
}

// The tiles' numbers as they were first made, in strip order.
std::vector<int> order(const Document& d) {
    std::vector<int> o;
    for (const Tile& t : d.tiles().tiles())
        o.push_back(int(t.smallColour));
    return o;
}

class TileOrder : public ::testing::Test {
protected:
    TileOrder() { doc.openTiles(numbered(6), QStringLiteral("lib.qrb")); }
    void mark(int tile) { doc.press(tile, RowPart::Full, MouseButton::Left, Modifiers::Ctrl); }
    Document doc;
};

TEST_F(TileOrder, MarkedTilesMoveTogetherAndStopAtTheEnds) {
    doc.showSelectedTile(5);
    doc.setBaseTile();
    doc.showSelectedTile(2);
    mark(3);
    mark(6);
    ASSERT_EQ(doc.strip().selectedTiles(), (std::vector<int>{2, 3, 6}));

    EXPECT_TRUE(doc.moveTiles(Document::TileMove::Down));
    EXPECT_EQ(order(doc), (std::vector<int>{1, 4, 2, 3, 5, 6}));
    EXPECT_EQ(doc.strip().selectedTiles(), (std::vector<int>{3, 4, 6}));
    EXPECT_EQ(doc.currentTile(), 3);
    EXPECT_EQ(doc.baseTile(), 5);
    EXPECT_EQ(doc.strip().mark(5), palette::Black);

    EXPECT_TRUE(doc.moveTiles(Document::TileMove::ToStart));
    EXPECT_EQ(order(doc), (std::vector<int>{2, 3, 6, 1, 4, 5}));
    EXPECT_EQ(doc.currentTile(), 1);
    EXPECT_EQ(doc.baseTile(), 6);
    EXPECT_FALSE(doc.canMoveTiles(Document::TileMove::Up));
    EXPECT_FALSE(doc.moveTiles(Document::TileMove::Up));
    EXPECT_FALSE(doc.moveTiles(Document::TileMove::ToStart));

    EXPECT_TRUE(doc.moveTiles(Document::TileMove::ToEnd));
    EXPECT_EQ(order(doc), (std::vector<int>{1, 4, 5, 2, 3, 6}));
    EXPECT_EQ(doc.baseTile(), 3);
    EXPECT_EQ(doc.undoText(), QStringLiteral("Move Tile to End"));
}

TEST_F(TileOrder, RowsFollowTheirTilesAfterMovesAndTheirUndo) {
    doc.moveTile(1, 6);
    doc.moveTile(4, 2);
    doc.undo();
    doc.redo();
    // The strip's geometry is the geometry of the tiles in their new order.
    Twips top = strip::kFirstFullTop;
    for (int i = 1; i <= doc.tileCount(); ++i) {
        const RowGeometry g = doc.strip().rowGeometry(i);
        EXPECT_EQ(g.fullTop, top) << "row " << i;
        EXPECT_EQ(g.fullWidth, Twips{doc.tiles().tile(i).full.width()} * strip::kTwipsPerPixel);
        top += g.fullHeight + strip::kRowGap;
    }
    EXPECT_THROW(doc.moveTile(0, 3), Refusal);
    EXPECT_THROW(doc.moveTile(2, 7), Refusal);
    EXPECT_FALSE(doc.moveTile(3, 3));
}

TEST_F(TileOrder, DroppedTilesLandInTheGapTheyWereDroppedOn) {
    ASSERT_TRUE(doc.dropTiles({1, 2}, 5)); // between tiles 4 and 5
    EXPECT_EQ(order(doc), (std::vector<int>{3, 4, 1, 2, 5, 6}));
    ASSERT_TRUE(doc.dropTiles({6}, 1));
    EXPECT_EQ(order(doc), (std::vector<int>{6, 3, 4, 1, 2, 5}));
    EXPECT_FALSE(doc.dropTiles({2}, 3)); // just after itself: nothing moves
    EXPECT_FALSE(doc.dropTiles({2}, 2));
    EXPECT_TRUE(doc.dropTiles({2}, 7));
    EXPECT_EQ(order(doc), (std::vector<int>{6, 4, 1, 2, 5, 3}));
}

TEST_F(TileOrder, DuplicateGoesRightAfterAndReplaceKeepsThePlace) {
    doc.showSelectedTile(4);
    ASSERT_TRUE(doc.duplicateTile());
    EXPECT_EQ(order(doc), (std::vector<int>{1, 2, 3, 4, 4, 5, 6}));
    EXPECT_EQ(doc.currentTile(), 4);

    doc.paste(QImage(QSize(30, 12), QImage::Format_RGB32));
    ASSERT_TRUE(doc.replaceTile());
    EXPECT_EQ(doc.tileCount(), 7);
    EXPECT_EQ(doc.tiles().tile(4).full.width(), 30);
    EXPECT_EQ(doc.tiles().tile(4).half, halfSize(doc.tiles().tile(4).full));
    EXPECT_EQ(doc.strip().rowGeometry(5).fullTop - doc.strip().rowGeometry(4).fullTop,
              12 * strip::kTwipsPerPixel + strip::kRowGap);
}

TEST(NewLibrary, CreateWorksOnAnEmptyLibraryOnceTheWorkingTileHasAPicture) {
    Document doc;
    doc.newLibrary();
    EXPECT_TRUE(doc.isLibraryOpen());
    EXPECT_EQ(doc.tileCount(), 0);
    EXPECT_TRUE(doc.path().isEmpty());
    EXPECT_FALSE(doc.createTile());
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(doc.paste(picture));
    ASSERT_TRUE(doc.createTile());
    EXPECT_EQ(doc.tileCount(), 1);
    EXPECT_FALSE(doc.isSaved());
}

// ---- Import ---------------------------------------------------------------------------

class Import : public ::testing::Test {
protected:
    QString write(const char* name, const QImage& image) {
        const QString path = QString::fromStdString((dir / name).string());
        EXPECT_TRUE(image.save(path));
        return path;
    }
    TempDir dir;
};

TEST_F(Import, TransparencyOddSizesAndOnePixelBecomeTilesAfterTheCurrentTile) {
    Document doc;
    doc.openTiles(numbered(3), QStringLiteral("lib.qrb"));
    doc.showSelectedTile(2);
    // Half transparent red over white, and a fully transparent column.
    QImage clear(5, 3, QImage::Format_ARGB32);
    clear.fill(QColor(255, 0, 0, 128));
    for (int y = 0; y < 3; ++y)
        clear.setPixelColor(0, y, Qt::transparent);
    QImage one(1, 1, QImage::Format_RGB32);
    one.fill(QColor(10, 20, 30));
    const QStringList paths = {write("a.png", clear), write("b.bmp", one)};

    const std::optional<PictureImport> result = doc.importPictures(paths);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->refused.empty());
    EXPECT_EQ(order(doc).size(), 5u);
    const Tile& a = doc.tiles().tile(3);
    EXPECT_EQ(a.full.pixel(0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(a.full.pixel(1, 0), (Rgb{255, 127, 127}));
    EXPECT_EQ(a.half.width(), 2);
    EXPECT_EQ(a.half, halfSize(a.full));
    // (4 x (255,127,127) + white) / 5 per row.
    EXPECT_EQ(a.smallColour, rgbColour(255, 153, 153));
    const Tile& b = doc.tiles().tile(4);
    EXPECT_EQ(b.half.width(), 1);
    EXPECT_EQ(b.smallColour, rgbColour(10, 20, 30));
    EXPECT_EQ(doc.tiles().tile(5).smallColour, 3u);
    EXPECT_EQ(doc.undoText(), QStringLiteral("Import Images"));
    doc.undo();
    EXPECT_EQ(doc.tileCount(), 3);
    EXPECT_EQ(doc.currentTile(), 2);
}

TEST_F(Import, BadPicturesAreNamedAndTheOthersImported) {
    Document doc;
    doc.newLibrary();
    QImage good(4, 4, QImage::Format_RGB32);
    good.fill(Qt::green);
    const QString ok1 = write("one.png", good);
    const QString damaged = QString::fromStdString((dir / "broken.png").string());
    {
        QFile in(ok1);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        QFile out(damaged);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(in.read(30)); // a PNG cut short
    }
    const QString ok2 = write("two.png", good);
    const QString missing = QString::fromStdString((dir / "gone.png").string());

    const std::optional<PictureImport> result = doc.importPictures({ok1, damaged, missing, ok2});
    ASSERT_TRUE(result);
    EXPECT_EQ(doc.tileCount(), 2);
    ASSERT_EQ(result->refused.size(), 2u);
    EXPECT_EQ(result->refused[0].path, damaged);
    EXPECT_EQ(result->refused[1].path, missing);
    EXPECT_TRUE(result->summary().startsWith(QStringLiteral("broken.png: ")));

    // Over the memory budget: refused by size, before anything is decoded.
    const std::optional<PictureImport> tight = doc.importPictures({ok1}, doc.pixelBytes() + 10);
    ASSERT_TRUE(tight);
    EXPECT_EQ(tight->refused.size(), 1u);
    EXPECT_EQ(doc.tileCount(), 2);

    // A stop requested imports nothing.
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(doc.importPictures({ok1}, defaultMemoryBudget(), {}, stop.get_token()));
    EXPECT_EQ(doc.tileCount(), 2);
}

TEST_F(Import, PicturesPastTheLastTileTheLibraryCanHoldAreRefused) {
    TileSet set;
    const Tile tile = patternTile(2, 2, 1);
    for (int i = 1; i < TileSet::kMaxTiles; ++i)
        set.append(tile);
    Document doc;
    doc.openTiles(std::move(set), QStringLiteral("full.qrb"));
    QImage good(3, 3, QImage::Format_RGB32);
    good.fill(Qt::red);
    const std::optional<PictureImport> result =
        doc.importPictures({write("a.png", good), write("b.png", good)});
    ASSERT_TRUE(result);
    EXPECT_EQ(doc.tileCount(), TileSet::kMaxTiles);
    ASSERT_EQ(result->refused.size(), 1u);
    EXPECT_TRUE(result->refused[0].path.endsWith(QStringLiteral("b.png")));
    EXPECT_EQ(doc.tiles().tile(2).smallColour, palette::Red);
    EXPECT_EQ(doc.tiles().tile(3).full, tile.full);
}

} // namespace
} // namespace qrb::test
