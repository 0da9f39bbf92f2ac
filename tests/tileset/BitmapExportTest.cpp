#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "tileset/BitmapExporter.h"
#include "tileset/BmpWriter.h"
#include "tileset/QrbReader.h"

#include <gtest/gtest.h>

#include <fstream>

namespace qrb {
namespace {

using test::TempDir;

std::uint32_t u32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}

TEST(BmpWriter, WritesAStandard24BitBottomUpFile) {
    const DibImage image = test::pattern(5, 3, 4); // stride 16: one pad byte per row
    const auto bytes = BmpWriter::toBytes(image);
    ASSERT_EQ(bytes.size(), 14u + 40u + 16u * 3u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(u32At(bytes, 2), bytes.size());
    EXPECT_EQ(u32At(bytes, 6), 0u);
    EXPECT_EQ(u32At(bytes, 10), 54u);
    EXPECT_EQ(u32At(bytes, 14), 40u);
    EXPECT_EQ(u32At(bytes, 18), 5u);
    EXPECT_EQ(u32At(bytes, 22), 3u);             // positive: bottom row first
    EXPECT_EQ(u32At(bytes, 26), 1u | 24u << 16); // planes, bits per pixel
    EXPECT_EQ(u32At(bytes, 30), 0u);             // uncompressed
    EXPECT_EQ(u32At(bytes, 34), 48u);            // image size
    const Rgb bottomLeft = image.pixel(0, 2);
    EXPECT_EQ(bytes[54], bottomLeft.blue);
    EXPECT_EQ(bytes[56], bottomLeft.red);
    EXPECT_TRUE(std::equal(image.bytes().begin(), image.bytes().end(), bytes.begin() + 54));
    EXPECT_THROW(BmpWriter::toBytes(DibImage(0, 4)), std::invalid_argument);
}

TEST(BitmapExporter, PrefixDropsATrailingBmpInAnyCase) {
    EXPECT_EQ(BitmapExporter::prefixFor("dir/castle"), "dir/castle");
    EXPECT_EQ(BitmapExporter::prefixFor("dir/castle.bmp"), "dir/castle");
    EXPECT_EQ(BitmapExporter::prefixFor("castle.BMP"), "castle");
    EXPECT_EQ(BitmapExporter::prefixFor("tiles.Bmp"), "tiles");
    EXPECT_EQ(BitmapExporter::prefixFor("tiles.bmp.bmp"), "tiles.bmp");
    EXPECT_EQ(BitmapExporter::prefixFor("tiles.bmpx"), "tiles.bmpx");
    EXPECT_EQ(BitmapExporter::prefixFor("bmp"), "bmp");
    EXPECT_EQ(BitmapExporter::fileNameFor("set", 10), "set10.bmp");
}

TEST(BitmapExporter, WritesOneNumberedFilePerTileReplacingOldOnes) {
    test::QrbFixture lib;
    for (int i = 1; i <= 12; ++i) {
        lib.addTile(0, test::FixtureImage::of(test::pattern(i, 2, i)),
                    test::FixtureImage::of(test::pattern(1, 1, 0)));
    }
    const TileSet set = QrbReader::read(lib.bytes());
    TempDir dir;
    std::ofstream(dir / "set3.bmp") << "old content";
    std::vector<std::pair<int, int>> reports;
    BitmapExporter::exportAll(set, dir / "set.BMP",
                              [&](int done, int total) { reports.emplace_back(done, total); });

    for (int i = 1; i <= 12; ++i) {
        EXPECT_EQ(test::readFile(dir / ("set" + std::to_string(i) + ".bmp")),
                  BmpWriter::toBytes(set.tile(i).full));
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "set01.bmp"));
    EXPECT_EQ(reports.size(), 13u);
    EXPECT_EQ(reports.back(), std::make_pair(12, 12));
}

// All or none: a bitmap that cannot be written (a folder in its place) leaves every file
// as it was and no temporary behind.
TEST(BitmapExporter, ABitmapThatCannotBeWrittenReplacesNone) {
    test::QrbFixture lib;
    lib.addSolidTile(0, 4, 4, Rgb{1, 2, 3})
        .addSolidTile(0, 4, 4, Rgb{4, 5, 6})
        .addSolidTile(0, 4, 4, Rgb{7, 8, 9});
    const TileSet set = QrbReader::read(lib.bytes());
    TempDir dir;
    std::ofstream(dir / "t1.bmp") << "old";
    std::filesystem::create_directory(dir / "t2.bmp");
    try {
        BitmapExporter::exportAll(set, dir / "t");
        FAIL() << "exported";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir / "t2.bmp");
        EXPECT_NE(std::string(e.what()).find("nothing was exported"), std::string::npos);
    }
    EXPECT_EQ(test::readFile(dir / "t1.bmp"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_FALSE(std::filesystem::exists(dir / "t3.bmp"));
    EXPECT_EQ(dir.entries(), 2u);
}

} // namespace
} // namespace qrb
