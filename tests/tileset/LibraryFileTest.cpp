#include "tileset/LibraryFile.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "tileset/QrbWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <unistd.h>

namespace qrb {
namespace {

using test::QrbFixture;
using test::TempDir;

std::vector<std::uint8_t> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

QrbFixture threeTiles() {
    QrbFixture lib;
    lib.addSolidTile(0x000000FF, 40, 40, Rgb{255, 0, 0});
    lib.addSolidTile(0x00FF0000, 40, 40, Rgb{0, 0, 255});
    lib.addSolidTile(0x80000004, 48, 32, Rgb{0, 200, 0});
    return lib;
}

std::size_t filesIn(const std::filesystem::path& dir) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir),
                                                  std::filesystem::directory_iterator()));
}

TEST(LibraryFile, LoadsAndSavesTheSameBytes) {
    TempDir dir;
    const auto source = threeTiles().writeTo(dir / "in.qrb");
    std::vector<std::pair<int, int>> reports;
    const TileSet set =
        LibraryFile::load(source, [&](int done, int total) { reports.emplace_back(done, total); });
    EXPECT_EQ(set.count(), 3);
    EXPECT_EQ(reports.back(), std::make_pair(3, 3));

    LibraryFile::save(dir / "out.qrb", set);
    EXPECT_EQ(fileBytes(dir / "out.qrb"), fileBytes(source));
    EXPECT_EQ(filesIn(dir.path()), 2u); // no temporary file left behind
}

TEST(LibraryFile, SavingReplacesALongerFileCompletely) {
    TempDir dir;
    const auto path = threeTiles().writeTo(dir / "lib.qrb");
    const TileSet set = LibraryFile::load(path);
    const std::vector<int> second{2};
    LibraryFile::save(path, set, second);
    QrbFixture expected;
    expected.tiles.push_back(threeTiles().tiles[1]);
    EXPECT_EQ(fileBytes(path), expected.bytes());
}

TEST(LibraryFile, SavingKeepsThePermissionsOfTheReplacedFile) {
    TempDir dir;
    const auto path = threeTiles().writeTo(dir / "lib.qrb");
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    LibraryFile::save(path, LibraryFile::load(path));
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
}

TEST(LibraryFile, SavingThroughASymbolicLinkReplacesItsTarget) {
    TempDir dir;
    const auto real = threeTiles().writeTo(dir / "real.qrb");
    std::filesystem::create_symlink(real, dir / "link.qrb");
    const TileSet set = LibraryFile::load(real);
    const std::vector<int> first{1};
    LibraryFile::save(dir / "link.qrb", set, first);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.qrb"));
    EXPECT_EQ(LibraryFile::load(real).count(), 1);
}

// A save that fails must leave the old file exactly as it was and no temporary behind.
TEST(LibraryFile, FailedSaveLeavesTheOldFileIntact) {
    TempDir dir;
    const auto path = threeTiles().writeTo(dir / "lib.qrb");
    const auto before = fileBytes(path);
    TileSet set = LibraryFile::load(path);
    set.tile(3).full = DibImage(0, 0); // cannot be stored

    try {
        LibraryFile::save(path, set);
        FAIL() << "saved";
    } catch (const LibraryFileError& e) {
        EXPECT_EQ(e.path(), path);
        EXPECT_NE(std::string(e.what()).find("tile 3"), std::string::npos) << e.what();
    }
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(LibraryFile, SaveOverAFolderFailsAndSaysWhy) {
    TempDir dir;
    std::filesystem::create_directory(dir / "taken.qrb");
    const TileSet set = LibraryFile::load(threeTiles().writeTo(dir / "lib.qrb"));
    try {
        LibraryFile::save(dir / "taken.qrb", set);
        FAIL() << "saved";
    } catch (const LibraryFileError& e) {
        EXPECT_NE(std::string(e.what()).find("taken.qrb: cannot replace the file"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.qrb"));
    EXPECT_EQ(filesIn(dir.path()), 2u);
}

TEST(LibraryFile, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "folder permissions do not bind the super-user";
    }
    TempDir dir;
    std::filesystem::create_directory(dir / "ro");
    const auto path = threeTiles().writeTo(dir / "ro" / "lib.qrb");
    const auto before = fileBytes(path);
    std::filesystem::permissions(dir / "ro", std::filesystem::perms(0555));
    EXPECT_THROW(LibraryFile::save(path, LibraryFile::load(path)), LibraryFileError);
    EXPECT_EQ(fileBytes(path), before);
}

TEST(LibraryFile, LoadErrorsNameFileTileAndOffset) {
    TempDir dir;
    try {
        LibraryFile::load(dir / "missing.qrb");
        FAIL() << "loaded";
    } catch (const LibraryFileError& e) {
        EXPECT_EQ(std::string(e.what()),
                  (dir / "missing.qrb").string() + ": cannot open: No such file or directory");
        EXPECT_FALSE(e.tile().has_value());
    }

    auto bytes = threeTiles().bytes();
    bytes.resize(bytes.size() - 1);
    const auto cut = dir / "cut.qrb";
    std::ofstream(cut, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    const auto layout = threeTiles().layout();
    try {
        LibraryFile::load(cut);
        FAIL() << "loaded";
    } catch (const LibraryFileError& e) {
        EXPECT_EQ(e.tile(), 3);
        EXPECT_EQ(e.offset(), layout.tiles[2].half.pixels);
        const std::string start =
            cut.string() + ": tile 3, byte " + std::to_string(layout.tiles[2].half.pixels) + ": ";
        EXPECT_EQ(std::string(e.what()).rfind(start, 0), 0u) << e.what();
    }

    EXPECT_THROW(LibraryFile::load(dir.path()), LibraryFileError);
}

} // namespace
} // namespace qrb
