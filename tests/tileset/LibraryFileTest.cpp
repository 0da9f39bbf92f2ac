#include "tileset/LibraryFile.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "tileset/QrbReader.h"
#include "tileset/QrbWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

namespace qrb {
namespace {

using test::QrbFixture;
using test::readFile;
using test::TempDir;

QrbFixture threeTiles() {
    QrbFixture lib;
    lib.addSolidTile(0x000000FF, 40, 40, Rgb{255, 0, 0});
    lib.addSolidTile(0x00FF0000, 40, 40, Rgb{0, 0, 255});
    lib.addSolidTile(0x80000004, 48, 32, Rgb{0, 200, 0});
    return lib;
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
    EXPECT_EQ(readFile(dir / "out.qrb"), readFile(source));
    EXPECT_EQ(dir.entries(), 2u); // no temporary file left behind
}

TEST(LibraryFile, SavingReplacesALongerFileCompletelyKeepingItsPermissions) {
    TempDir dir;
    const auto path = threeTiles().writeTo(dir / "lib.qrb");
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    const std::vector<int> second{2};
    LibraryFile::save(path, LibraryFile::load(path), second);
    QrbFixture expected;
    expected.tiles.push_back(threeTiles().tiles[1]);
    EXPECT_EQ(readFile(path), expected.bytes());
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
}

TEST(LibraryFile, SavingThroughASymbolicLinkReplacesItsTarget) {
    TempDir dir;
    const auto real = threeTiles().writeTo(dir / "real.qrb");
    std::filesystem::create_symlink(real, dir / "link.qrb");
    const std::vector<int> first{1};
    LibraryFile::save(dir / "link.qrb", LibraryFile::load(real), first);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.qrb"));
    EXPECT_EQ(LibraryFile::load(real).count(), 1);
}

// A save that fails must leave the old file exactly as it was and no temporary behind.
TEST(LibraryFile, FailedSaveLeavesTheOldFileIntact) {
    TempDir dir;
    const auto path = threeTiles().writeTo(dir / "lib.qrb");
    const auto before = readFile(path);
    TileSet set = LibraryFile::load(path);
    set.tile(3).full = DibImage(0, 0); // cannot be stored
    try {
        LibraryFile::save(path, set);
        FAIL() << "saved";
    } catch (const LibraryFileError& e) {
        EXPECT_EQ(e.path(), path);
        EXPECT_NE(std::string(e.what()).find("tile 3"), std::string::npos) << e.what();
    }
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(dir.entries(), 1u);
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
    EXPECT_EQ(dir.entries(), 2u);
}

TEST(LibraryFile, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "folder permissions do not bind the super-user";
    }
    TempDir dir;
    std::filesystem::create_directory(dir / "ro");
    const auto path = threeTiles().writeTo(dir / "ro" / "lib.qrb");
    const auto before = readFile(path);
    std::filesystem::permissions(dir / "ro", std::filesystem::perms(0555));
    EXPECT_THROW(LibraryFile::save(path, LibraryFile::load(path)), LibraryFileError);
    EXPECT_EQ(readFile(path), before);
}

// A save hands the rows to the file a few hundred tiles at a time, straight from the images:
// every batch and a selection of tiles must read back as they were.
TEST(LibraryFile, SavesManyTilesAndASelectionThatReadBackTheSame) {
    TempDir dir;
    TileSet set;
    for (int i = 1; i <= 600; ++i)
        set.append(test::patternTile(3 + i % 7, 2 + i % 5, i));
    LibraryFile::save(dir / "all.qrb", set);
    EXPECT_EQ(std::filesystem::file_size(dir / "all.qrb"), QrbWriter::fileSize(set));
    EXPECT_EQ(LibraryFile::load(dir / "all.qrb").tiles(), set.tiles());

    const std::vector<int> some{1, 256, 257, 600};
    LibraryFile::save(dir / "some.qrb", set, some);
    const TileSet read = LibraryFile::load(dir / "some.qrb");
    ASSERT_EQ(read.count(), 4);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(read.tile(k + 1), set.tile(some[std::size_t(k)]));
}

// A save the system stops part way (here at a file size limit) fails, says why, and leaves
// the old file and no temporary.
TEST(LibraryFile, ASaveThatCannotWriteEveryByteFailsAndKeepsTheOldFile) {
    TempDir dir;
    const auto path = threeTiles().writeTo(dir / "lib.qrb");
    const auto before = readFile(path);
    TileSet set = LibraryFile::load(path);
    for (int i = 0; i < 3; ++i)
        set.append(set.tile(1 + i));
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit kept = limit;
    limit.rlim_cur = before.size() + 1000;
    const auto ignored = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    std::string message;
    try {
        LibraryFile::save(path, set);
    } catch (const LibraryFileError& e) {
        message = e.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &kept);
    std::signal(SIGXFSZ, ignored);
    EXPECT_EQ(message, path.string() + ": cannot write: " + std::strerror(EFBIG));
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(dir.entries(), 1u);
}

// The message for a missing file is checked end to end through qrbtool.
TEST(LibraryFile, LoadErrorsNameFileTileAndOffset) {
    TempDir dir;
    auto bytes = threeTiles().bytes();
    bytes.resize(bytes.size() - 1);
    const auto cut = test::writeFile(dir / "cut.qrb", bytes);
    const std::size_t offset = threeTiles().layout().tiles[2].half.pixels;
    std::string loadMessage;
    try {
        LibraryFile::load(cut);
        FAIL() << "loaded";
    } catch (const LibraryFileError& e) {
        EXPECT_EQ(e.tile(), 3);
        EXPECT_EQ(e.offset(), offset);
        const std::string start = cut.string() + ": tile 3, byte " + std::to_string(offset) + ": ";
        EXPECT_EQ(std::string(e.what()).rfind(start, 0), 0u) << e.what();
        loadMessage = e.what();
    }
    // check and info, which read no pixels, say the same.
    try {
        LibraryFile::inspect(cut);
        FAIL() << "inspected";
    } catch (const LibraryFileError& e) {
        EXPECT_EQ(e.what(), loadMessage);
    }
    EXPECT_THROW(LibraryFile::load(dir / "missing.qrb"), LibraryFileError);
    EXPECT_THROW(LibraryFile::load(dir.path()), LibraryFileError);
}

// An open library owns its pixels: whatever happens to its file afterwards -- replaced by
// our own save or another program's, truncated or rewritten in place -- the tiles stay as
// they were read, and saving them gives the original bytes.
enum class Meddling { SaveOver, ReplaceByRename, Truncate, RewriteInPlace };

class FileChangedBehindUs : public ::testing::TestWithParam<Meddling> {};

TEST_P(FileChangedBehindUs, TheOpenLibraryKeepsItsPixels) {
    TempDir dir;
    QrbFixture lib = threeTiles();
    lib.addTile(7, test::FixtureImage::of(test::pattern(300, 200, 5)),
                test::FixtureImage::of(test::pattern(150, 100, 6)));
    const auto path = lib.writeTo(dir / "lib.qrb");
    const auto original = readFile(path);
    const TileSet set = LibraryFile::load(path);

    QrbFixture other;
    other.addSolidTile(1, 300, 200, Rgb{1, 1, 1});
    switch (GetParam()) {
    case Meddling::SaveOver:
        LibraryFile::save(path, LibraryFile::load(other.writeTo(dir / "other.qrb")));
        break;
    case Meddling::ReplaceByRename:
        std::filesystem::rename(other.writeTo(dir / "other.qrb"), path);
        break;
    case Meddling::Truncate:
        std::filesystem::resize_file(path, 10);
        break;
    case Meddling::RewriteInPlace: {
        std::vector<std::uint8_t> junk(original.size(), 0x5A);
        std::FILE* f = std::fopen(path.c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(std::fwrite(junk.data(), 1, junk.size(), f), junk.size());
        std::fclose(f);
        break;
    }
    }

    EXPECT_EQ(set.tile(4).full, test::pattern(300, 200, 5));
    EXPECT_EQ(set.tile(4).half, test::pattern(150, 100, 6));
    LibraryFile::save(dir / "again.qrb", set);
    EXPECT_EQ(readFile(dir / "again.qrb"), original);
}

INSTANTIATE_TEST_SUITE_P(Ways, FileChangedBehindUs,
                         ::testing::Values(Meddling::SaveOver, Meddling::ReplaceByRename,
                                           Meddling::Truncate, Meddling::RewriteInPlace));

// Runs `change` once, where the reader has checked the library's structure and read no
// pixel yet.
class AtPassBoundary {
public:
    explicit AtPassBoundary(std::function<void()> change) : change_(std::move(change)) {
        QrbReader::passBoundaryForTesting() = [this] {
            if (!fired_) {
                fired_ = true;
                change_();
            }
        };
    }
    ~AtPassBoundary() { QrbReader::passBoundaryForTesting() = {}; }
    bool fired() const { return fired_; }

private:
    std::function<void()> change_;
    bool fired_ = false;
};

// The reader trusts the sizes of its first pass when it reads the pixels, so a file that
// another program changes between the passes must be refused, never read half old and
// half new or past what the first pass counted.
enum class Between { Nothing, SaveOver, ReplaceByRename, Truncate, Grow, RewriteSameBytes };

class FileChangedBetweenPasses : public ::testing::TestWithParam<Between> {};

TEST_P(FileChangedBetweenPasses, IsRefusedByLoadAndConvert) {
    TempDir dir;
    const auto path = threeTiles().writeTo(dir / "lib.qrb");
    const auto original = readFile(path);
    QrbFixture other;
    other.addSolidTile(1, 80, 80, Rgb{1, 1, 1});
    const auto otherPath = other.writeTo(dir / "other.qrb");
    const auto change = [&] {
        switch (GetParam()) {
        case Between::Nothing:
            break;
        case Between::SaveOver:
            LibraryFile::save(path, LibraryFile::load(otherPath));
            break;
        case Between::ReplaceByRename:
            std::filesystem::copy_file(otherPath, dir / "moved.qrb");
            std::filesystem::rename(dir / "moved.qrb", path);
            break;
        case Between::Truncate:
            std::filesystem::resize_file(path, original.size() / 2);
            break;
        case Between::Grow:
            std::filesystem::resize_file(path, original.size() + 4096);
            break;
        case Between::RewriteSameBytes:
            // Same size and bytes: only the file's times say it was written.
            test::writeFile(path, original);
            break;
        }
    };
    const bool refused = GetParam() != Between::Nothing;

    for (const bool tileByTile : {false, true}) {
        test::writeFile(path, original);
        const auto out = dir / "out.qrb";
        std::filesystem::remove(out);
        // Timestamps of a file system may be coarse: a write within the same tick of the
        // clock must still be seen as a change.
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) -
                                                   std::chrono::seconds(10));
        AtPassBoundary boundary(change);
        try {
            if (tileByTile)
                EXPECT_EQ(LibraryFile::convert(path, out), 3);
            else
                EXPECT_EQ(LibraryFile::load(path).count(), 3);
            EXPECT_FALSE(refused) << "read a library that changed";
        } catch (const LibraryFileError& e) {
            EXPECT_TRUE(refused) << e.what();
            EXPECT_STREQ(e.what(),
                         (path.string() + ": the library changed while it was read").c_str());
            EXPECT_FALSE(std::filesystem::exists(out));
        }
        EXPECT_TRUE(boundary.fired());
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, FileChangedBetweenPasses,
                         ::testing::Values(Between::Nothing, Between::SaveOver,
                                           Between::ReplaceByRename, Between::Truncate,
                                           Between::Grow, Between::RewriteSameBytes));

} // namespace
} // namespace qrb
