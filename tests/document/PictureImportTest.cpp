// Import's per-file work and deck images: --fit's three modes, sprite sheets sliced with
// margin and spacing (empty cells left out), a library's tiles taken whole, and decks with
// a hidden card over several pages.

#include "document/PictureImport.h"
#include "document/DeckImage.h"
#include "document/Document.h"
#include "imaging/HalfSize.h"
#include "imaging/render/DibConversion.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "tileset/LibraryFile.h"

#include <QImage>

#include <gtest/gtest.h>

#include <stop_token>

namespace qrb::test {
namespace {

class Tiles : public ::testing::Test {
protected:
    QString save(const char* name, const QImage& image) {
        const QString path = QString::fromStdString((dir / name).string());
        EXPECT_TRUE(image.save(path));
        return path;
    }
    static QRgb at(const Tile& tile, int x, int y) { return toQImage(tile.full).pixel(x, y); }
    TempDir dir;
};

// 40 x 20: the left half red, the right half blue.
QImage halves() {
    QImage image(40, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y, x < 20 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    return image;
}

TEST_F(Tiles, FitContainsCoversOrStretches) {
    const QString path = save("wide.png", halves());
    ImportOptions options;
    options.background = QColor(16, 32, 48);
    options.fit = FitOptions{QSize(10, 10), FitMode::Contain};
    const Tile contained = tilesFromFile(path, options, UINT64_MAX).at(0);
    ASSERT_EQ(contained.full.width(), 10);
    ASSERT_EQ(contained.full.height(), 10);
    // 10 x 5 in the middle, the background above and below.
    EXPECT_EQ(at(contained, 5, 1), qRgb(16, 32, 48));
    EXPECT_EQ(at(contained, 1, 4), qRgb(255, 0, 0));
    EXPECT_EQ(at(contained, 8, 5), qRgb(0, 0, 255));
    EXPECT_EQ(at(contained, 5, 8), qRgb(16, 32, 48));
    EXPECT_EQ(contained.half, halfSize(contained.full));

    options.fit->mode = FitMode::Cover; // the middle 20 x 20, half red, half blue
    const Tile covered = tilesFromFile(path, options, UINT64_MAX).at(0);
    EXPECT_EQ(at(covered, 1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(at(covered, 8, 9), qRgb(0, 0, 255));

    options.fit = FitOptions{QSize(8, 3), FitMode::Stretch};
    const Tile stretched = tilesFromFile(path, options, UINT64_MAX).at(0);
    EXPECT_EQ(stretched.full.width(), 8);
    EXPECT_EQ(at(stretched, 0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(at(stretched, 7, 2), qRgb(0, 0, 255));
}

TEST_F(Tiles, ShrinkingAveragesTheAreaEachPixelCovers) {
    // Stripes one pixel wide, red and blue, shrunk to a quarter: every pixel a mix.
    QImage stripes(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            stripes.setPixel(x, y, x % 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    ImportOptions options;
    options.fit = FitOptions{QSize(4, 4), FitMode::Stretch};
    const Tile tile = tilesFromFile(save("stripes.png", stripes), options, UINT64_MAX).at(0);
    for (int x = 0; x < 4; ++x) {
        EXPECT_NEAR(qRed(at(tile, x, 2)), 128, 3);
        EXPECT_NEAR(qBlue(at(tile, x, 2)), 128, 3);
    }
}

TEST_F(Tiles, SheetsAreSlicedWithMarginAndSpacingAndEmptyCellsLeftOut) {
    // 3 x 2 cells of 5 x 4, a margin of 2 and spacing of 1, the gaps grey; cell (1, 0)
    // transparent and cell (2, 1) white (the background): left out with skipEmpty.
    const int m = 2, s = 1, w = 5, h = 4;
    QImage sheet(2 * m + 3 * w + 2 * s + 3, 2 * m + 2 * h + s, QImage::Format_ARGB32);
    sheet.fill(qRgb(128, 128, 128));
    auto colour = [](int c, int r) { return qRgb(40 * c + 10, 100 * r + 20, 77); };
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    sheet.setPixel(m + c * (w + s) + x, m + r * (h + s) + y,
                                   c == 1 && r == 0   ? qRgba(0, 0, 0, 0)
                                   : c == 2 && r == 1 ? qRgb(255, 255, 255)
                                                      : colour(c, r));
    const QString path = save("sheet.png", sheet);
    ImportOptions options;
    options.slice = SliceOptions{QSize(w, h), m, s, false};
    const std::vector<Tile> all = tilesFromFile(path, options, UINT64_MAX);
    ASSERT_EQ(all.size(), 6u); // the 3 extra columns hold no whole cell
    for (const Tile& tile : all) {
        EXPECT_EQ(tile.full.width(), w);
        EXPECT_EQ(tile.full.height(), h);
    }
    EXPECT_EQ(at(all[0], 0, 0), colour(0, 0));
    EXPECT_EQ(at(all[0], w - 1, h - 1), colour(0, 0)); // no grey of the gaps
    EXPECT_EQ(at(all[1], 2, 2), qRgb(255, 255, 255));  // transparent over white
    EXPECT_EQ(at(all[3], 4, 3), colour(0, 1));
    EXPECT_EQ(all[3].smallColour, rgbColour(10, 120, 77));

    options.slice->skipEmpty = true;
    const std::vector<Tile> some = tilesFromFile(path, options, UINT64_MAX);
    ASSERT_EQ(some.size(), 4u);
    EXPECT_EQ(at(some[1], 0, 0), colour(2, 0));
    EXPECT_EQ(at(some[3], 0, 0), colour(1, 1));

    // Fitted cells, and a sheet too small for one cell.
    options.fit = FitOptions{QSize(10, 8), FitMode::Stretch};
    EXPECT_EQ(tilesFromFile(path, options, UINT64_MAX).at(0).full.width(), 10);
    options.slice->cell = QSize(100, 100);
    EXPECT_THROW(tilesFromFile(path, options, UINT64_MAX), std::exception);
}

TEST_F(Tiles, ALibraryGivesItsTilesWholeAndReadPicturesNamesTheRefused) {
    TileSet set;
    for (int i = 1; i <= 3; ++i) {
        Tile t = patternTile(5 + i, 4, i);
        t.smallColour = 0x80000005; // a system colour, kept as stored
        set.append(std::move(t));
    }
    LibraryFile::save(dir / "other.qrb", set);
    const QString library = QString::fromStdString((dir / "other.qrb").string());
    const QString picture = save("one.png", halves());
    const QString fifo = QString::fromStdString((dir / "gone.png").string());
    const std::optional<PictureImport> read =
        readPictures({picture, library, fifo}, {}, TileSet::kMaxTiles, UINT64_MAX);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->tiles.size(), 4u);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(read->tiles[std::size_t(i)], set.tile(i));
    ASSERT_EQ(read->refused.size(), 1u);
    EXPECT_EQ(read->refused[0].path, fifo);

    // A sheet whose cells would take the library past its last tile is refused whole.
    ImportOptions options;
    options.slice = SliceOptions{QSize(1, 1), 0, 0, false};
    const std::optional<PictureImport> full = readPictures({picture}, options, 100, UINT64_MAX);
    ASSERT_TRUE(full);
    EXPECT_TRUE(full->tiles.empty());
    EXPECT_EQ(full->refused.size(), 1u);
}

// Sixty files of many sizes and kinds -- PNG with and without transparency, JPEG, BMP,
// a library, a damaged picture -- for reading on several threads.
class ManyFiles : public Tiles {
protected:
    ManyFiles() {
        TileSet set;
        for (int i = 1; i <= 4; ++i)
            set.append(patternTile(7 + i, 6, i));
        LibraryFile::save(dir / "lib.qrb", set);
        for (int i = 0; i < 60; ++i) {
            const QString name = QStringLiteral("p%1").arg(i);
            if (i == 20) {
                paths << QString::fromStdString((dir / "lib.qrb").string());
                continue;
            }
            if (i == 45) { // a PNG cut short
                std::vector<std::uint8_t> bytes = readFile(dir / "p1.png");
                bytes.resize(bytes.size() / 2);
                writeFile(dir / "cut.png", bytes);
                paths << QString::fromStdString((dir / "cut.png").string());
                continue;
            }
            // Sizes that go up and down, so that small pictures may still fit once a
            // large one no longer does.
            const int w = 3 + (i * 37) % 90;
            const int h = 2 + (i * 23) % 70;
            QImage image(w, h, i % 3 == 0 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    image.setPixel(x, y,
                                   qRgba((x * 7 + i) & 255, (y * 5) & 255, (x ^ y) & 255,
                                         i % 3 == 0 ? (x * 9) & 255 : 255));
            const char* format = i % 5 == 4 ? "jpg" : i % 5 == 2 ? "bmp" : "png";
            paths << save((name + QLatin1Char('.') + QLatin1String(format)).toUtf8().constData(),
                          image);
        }
    }
    static void expectSame(const PictureImport& one, const PictureImport& several, int threads) {
        ASSERT_EQ(several.tiles.size(), one.tiles.size()) << threads << " threads";
        for (std::size_t i = 0; i < one.tiles.size(); ++i)
            ASSERT_EQ(several.tiles[i], one.tiles[i]) << "tile " << i << ", " << threads;
        ASSERT_EQ(several.refused.size(), one.refused.size()) << threads << " threads";
        for (std::size_t i = 0; i < one.refused.size(); ++i) {
            EXPECT_EQ(several.refused[i].path, one.refused[i].path) << threads << " threads";
            EXPECT_EQ(several.refused[i].reason, one.refused[i].reason) << threads << " threads";
        }
    }
    QStringList paths;
};

// The memory left to a file is what the files before it left, and a refusal quotes it: on
// any number of threads the tiles and the refusals are those of one, in order.
TEST_F(ManyFiles, SeveralThreadsGiveTheTilesAndRefusalsOfOne) {
    const std::optional<PictureImport> whole =
        readPictures(paths, {}, TileSet::kMaxTiles, UINT64_MAX, {}, {}, 1);
    ASSERT_TRUE(whole);
    ASSERT_EQ(whole->refused.size(), 1u) << "the damaged picture";
    // A budget that runs out half way through.
    std::uint64_t half = 0;
    for (std::size_t i = 0; i < whole->tiles.size() / 2; ++i)
        half += whole->tiles[i].full.byteCount() + whole->tiles[i].half.byteCount();
    for (const std::uint64_t budget : {UINT64_MAX, half, half / 3}) {
        const std::optional<PictureImport> one =
            readPictures(paths, {}, TileSet::kMaxTiles, budget, {}, {}, 1);
        ASSERT_TRUE(one);
        if (budget != UINT64_MAX) {
            EXPECT_GT(one->refused.size(), 5u);
            EXPECT_GT(one->tiles.size(), 5u);
        }
        for (const int threads : {2, 3, 8}) {
            const std::optional<PictureImport> several =
                readPictures(paths, {}, TileSet::kMaxTiles, budget, {}, {}, threads);
            ASSERT_TRUE(several);
            expectSame(*one, *several, threads);
        }
    }
    // Room for fewer tiles than the files make: the same file is the first refused.
    const std::optional<PictureImport> one = readPictures(paths, {}, 30, UINT64_MAX, {}, {}, 1);
    const std::optional<PictureImport> several = readPictures(paths, {}, 30, UINT64_MAX, {}, {}, 4);
    ASSERT_TRUE(one && several);
    expectSame(*one, *several, 4);
}

// Cancel part way keeps nothing, on any number of threads, and the library is as it was.
TEST_F(ManyFiles, CancelMidwayKeepsNothing) {
    for (const int threads : {1, 4}) {
        std::stop_source stop;
        int reported = 0;
        const auto progress = [&](int done, int) {
            reported = int(done);
            if (done == 25)
                stop.request_stop();
        };
        EXPECT_FALSE(readPictures(paths, {}, TileSet::kMaxTiles, UINT64_MAX, progress,
                                  stop.get_token(), threads));
        EXPECT_EQ(reported, 25) << threads << " threads";

        Document document;
        document.open(paths[20]);
        std::stop_source cancel;
        EXPECT_FALSE(document.importPictures(
            paths, UINT64_MAX,
            [&](int done, int) {
                if (done == 10)
                    cancel.request_stop();
            },
            cancel.get_token()));
        EXPECT_EQ(document.tileCount(), 4);
        EXPECT_FALSE(document.canUndo());
    }
}

// Tiles of distinct colours and sizes for decks.
TileSet deckTiles(int count) {
    TileSet set;
    for (int i = 1; i <= count; ++i) {
        Tile t;
        t.full = DibImage::filled(10 + i % 3, 12, Rgb{std::uint8_t(i * 10), 0, 0});
        t.half = halfSize(t.full);
        set.append(std::move(t));
    }
    return set;
}

TEST(Deck, PagesOfAGridWithAHiddenCardAllOrNone) {
    const TileSet set = deckTiles(15);
    DeckOptions options;
    options.columns = 4;
    options.rows = 2;
    options.hidden = 15;
    const DeckLayout layout = deckLayout(set, options);
    EXPECT_EQ(layout.cell, QSize(12, 12)); // the largest tile
    EXPECT_EQ(layout.cardsPerPage, 7);
    EXPECT_EQ(layout.pages(), 3);
    const QImage second = deckPage(set, options, layout, 1);
    ASSERT_EQ(second.size(), QSize(48, 24));
    EXPECT_EQ(second.pixel(6, 6), qRgb(8 * 10, 0, 0));        // tile 8 opens page 2
    EXPECT_EQ(second.pixel(36 + 6, 12 + 6), qRgb(150, 0, 0)); // the hidden card, last cell
    const QImage third = deckPage(set, options, layout, 2);
    EXPECT_EQ(third.pixel(6, 6), qRgb(150, 0, 0));          // tile 15 itself
    EXPECT_EQ(third.pixel(12 + 6, 6), qRgb(255, 255, 255)); // then empty cells

    TempDir dir;
    const std::vector<std::filesystem::path> names = writeDeck(set, options, dir / "deck.PNG");
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0].filename(), "deck-1.PNG");
    EXPECT_EQ(QImage(QString::fromStdString(names[2].string())).size(), QSize(48, 24));
    EXPECT_EQ(deckFileNames(dir / "one.png", 1).at(0).filename(), "one.png");

    // A page larger than the largest side: the cells shrink, keeping their shape.
    options.maxSize = 24;
    options.cell = QSize(30, 20);
    const DeckLayout small = deckLayout(set, options);
    EXPECT_EQ(small.cell, QSize(6, 4));
    EXPECT_LE(small.pageSize(4, 2).width(), 24);

    options.tiles = {3, 16};
    EXPECT_THROW(deckLayout(set, options), std::invalid_argument);
    options.tiles.clear();
    options.columns = options.rows = 1;
    EXPECT_THROW(deckLayout(set, options), std::invalid_argument);
}

} // namespace
} // namespace qrb::test
