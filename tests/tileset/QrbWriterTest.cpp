#include "tileset/QrbWriter.h"
#include "support/QrbFixture.h"
#include "tileset/QrbReader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qrb {
namespace {

using test::FixtureImage;
using test::QrbFixture;

QrbFixture numberedTiles(int count) {
    QrbFixture lib;
    for (int i = 1; i <= count; ++i) {
        lib.addTile(std::uint32_t(i), FixtureImage::of(test::pattern(i + 1, 3, i)),
                    FixtureImage::of(test::pattern(1, i, i + 50)));
    }
    return lib;
}

TEST(QrbWriter, SubsetKeepsOrderAndClosesGaps) {
    const TileSet set = QrbReader::read(numberedTiles(5).bytes());
    const std::vector<int> chosen{1, 2, 4};
    std::vector<std::pair<int, int>> reports;
    std::ostringstream out;
    QrbWriter::write(out, set, chosen,
                     [&](int done, int total) { reports.emplace_back(done, total); });

    QrbFixture expected;
    for (int i : chosen) {
        expected.tiles.push_back(numberedTiles(5).tiles[std::size_t(i - 1)]);
    }
    const std::string bytes = out.str();
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), expected.bytes());
    // The bar runs over the whole set and jumps the tiles that are not written.
    EXPECT_EQ(reports, (std::vector<std::pair<int, int>>{{0, 5}, {1, 5}, {2, 5}, {4, 5}}));
    EXPECT_EQ(QrbWriter::toBytes(set, {}), QrbFixture{}.bytes()); // header with count 0
}

TEST(QrbWriter, RefusesBadSubsetsAndEmptyImagesBeforeWriting) {
    TileSet set = QrbReader::read(numberedTiles(3).bytes());
    for (const std::vector<int>& bad :
         {std::vector<int>{0}, {4}, {2, 1}, {1, 1}, {-1, 2}, {1, 2, 3, 4}}) {
        std::ostringstream out;
        EXPECT_THROW(QrbWriter::write(out, set, bad), std::invalid_argument);
        EXPECT_TRUE(out.str().empty());
    }
    set.tile(2).half = DibImage(0, 0);
    std::ostringstream out;
    EXPECT_THROW(QrbWriter::write(out, set), std::invalid_argument);
    EXPECT_TRUE(out.str().empty());
}

TEST(QrbWriter, EditedTilesAreWrittenFromTheirImagesNotTheRecordsOfTheLastRead) {
    TileSet set = QrbReader::read(numberedTiles(1).bytes());
    set.tile(1).full = test::pattern(7, 5, 9);
    set.tile(1).smallColour = 0x80000004;
    Tile added{test::pattern(3, 3, 1), test::pattern(2, 2, 2), 0x00ABCDEF};
    set.append(added);

    QrbFixture expected;
    expected.addTile(0x80000004, FixtureImage::of(test::pattern(7, 5, 9)),
                     FixtureImage::of(test::pattern(1, 1, 51)));
    expected.addTile(0x00ABCDEF, FixtureImage::of(test::pattern(3, 3, 1)),
                     FixtureImage::of(test::pattern(2, 2, 2)));
    EXPECT_EQ(QrbWriter::toBytes(set), expected.bytes());
    EXPECT_EQ(QrbWriter::fileSize(set), expected.bytes().size());
}

} // namespace
} // namespace qrb
