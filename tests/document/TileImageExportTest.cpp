// Export Images: the chosen tiles' pictures read back pixel for pixel, named by their
// tile numbers, and nothing replaced when one file cannot be written.

#include "document/TileImageExport.h"

#include "imaging/render/DibConversion.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "tileset/BmpWriter.h"

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <numeric>

namespace qrb::test {
namespace {

TileSet threeTiles() {
    TileSet set;
    set.append(patternTile(7, 5, 1));
    set.append(patternTile(16, 16, 2));
    set.append(patternTile(3, 9, 3));
    return set;
}

TEST(TileImageExport, PngFullAndHalfImagesCarryTheTileNumbers) {
    TempDir dir;
    const TileSet set = threeTiles();
    const ImageExport png{ImageFormat::Png, true};
    const auto written = *png.write(set, {1, 3}, dir / "castle.PNG");
    ASSERT_EQ(written.size(), 4u);
    EXPECT_EQ(written[0], dir / "castle1.png");
    EXPECT_EQ(written[1], dir / "castle1_half.png");
    EXPECT_EQ(written[3], dir / "castle3_half.png");
    EXPECT_FALSE(std::filesystem::exists(dir / "castle2.png"));
    for (const auto& [file, image] :
         {std::pair{written[0], &set.tile(1).full}, std::pair{written[3], &set.tile(3).half}}) {
        const QImage back(QString::fromStdString(file.string()));
        ASSERT_FALSE(back.isNull()) << file;
        EXPECT_EQ(toDibImage(back), *image) << file;
    }
}

TEST(TileImageExport, BmpIsTheBitmapOfCreateBitmapsAndAFailureWritesNothing) {
    TempDir dir;
    const TileSet set = threeTiles();
    const ImageExport bmp{ImageFormat::Bmp, false};
    ASSERT_EQ(bmp.write(set, {2}, dir / "t.bmp")->size(), 1u);
    EXPECT_EQ(readFile(dir / "t2.bmp"), BmpWriter::toBytes(set.tile(2).full));

    // A folder where tile 3's file should go: tile 1's file is not written either.
    std::filesystem::create_directory(dir / "u3.bmp");
    EXPECT_THROW(bmp.write(set, {1, 3}, dir / "u"), FileError);
    EXPECT_FALSE(std::filesystem::exists(dir / "u1.bmp"));
}

// Cancel midway, or a file that cannot be written late in a long export on several
// threads: no file is left, and the error names that file.
TEST(TileImageExport, CancelOrALateFailureOnSeveralThreadsLeavesNoFile) {
    TempDir dir;
    TileSet set;
    for (int i = 1; i <= 1000; ++i)
        set.append(patternTile(4 + i % 5, 3 + i % 4, i));
    std::vector<int> all(1000);
    std::iota(all.begin(), all.end(), 1);
    ImageExport png{ImageFormat::Png, false};
    png.threads = 4;

    std::stop_source stop;
    const auto cancelHalfway = [&](int done, int total) {
        if (done == total / 2)
            stop.request_stop();
    };
    EXPECT_FALSE(png.write(set, all, dir / "t", cancelHalfway, stop.get_token()));
    EXPECT_EQ(dir.entries(), 0u);

    std::filesystem::create_directory(dir / "t900.png");
    try {
        png.write(set, all, dir / "t");
        ADD_FAILURE() << "written";
    } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir / "t900.png");
    }
    EXPECT_EQ(dir.entries(), 1u) << "only the folder";
}

} // namespace
} // namespace qrb::test
