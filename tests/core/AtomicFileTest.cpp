#include "core/AtomicFile.h"
#include "core/FileError.h"
#include "support/SpecialFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace qrb {
namespace {

using test::TempDir;

std::string contentOf(const std::filesystem::path& path) {
    const auto bytes = test::readFile(path);
    return {bytes.begin(), bytes.end()};
}

void replace(const std::filesystem::path& target, const std::string& content,
             AtomicFile::Options options = {}) {
    AtomicFile file(target, options);
    file.stream() << content;
    file.commit();
}

std::vector<std::string> namesIn(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A rename over a FIFO or a device would swap the special file for a plain one (as root,
// /dev/null itself); a folder cannot be renamed over at all.
TEST(AtomicFile, RefusesToReplaceWhatIsNotARegularFileAlsoThroughALink) {
    TempDir dir;
    for (const auto& special : test::specialFiles()) {
        const auto path = dir / special.name;
        if (!special.make(path)) {
            continue;
        }
        const auto type = std::filesystem::status(path).type();
        std::filesystem::create_symlink(path, dir / (special.name + "-link"));
        for (const auto& given : {path, dir / (special.name + "-link")}) {
            try {
                replace(given, "new");
                ADD_FAILURE() << given << " replaced";
            } catch (const FileError& e) {
                EXPECT_EQ(e.path(), given);
                EXPECT_EQ(e.reason(), special.name == "folder"
                                          ? "cannot replace the file: it is a folder"
                                          : "cannot replace the file: it is not a regular file");
            }
        }
        EXPECT_EQ(std::filesystem::status(path).type(), type) << special.name;
    }
    for (const auto& name : namesIn(dir)) {
        EXPECT_EQ(name.find(".XX"), std::string::npos) << name; // no temporary left
    }
}

TEST(AtomicFile, FollowsADanglingLinkToWhereItPointsAndRefusesALoop) {
    TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    std::filesystem::create_symlink("sub/new.qrb", dir / "dangling");
    std::filesystem::create_symlink("dangling", dir / "chain");
    replace(dir / "chain", "made");
    EXPECT_EQ(contentOf(dir / "sub" / "new.qrb"), "made");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "chain"));

    std::filesystem::create_symlink("b", dir / "a");
    std::filesystem::create_symlink("a", dir / "b");
    try {
        replace(dir / "a", "never");
        ADD_FAILURE() << "replaced a loop";
    } catch (const FileError& e) {
        EXPECT_EQ(e.reason(), "cannot replace the file: the symbolic links form a loop");
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "a"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "b"));
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"a", "b", "chain", "dangling", "sub"}));
}

// Names up to the 255-byte limit save, with either kind of temporary; the temporary's
// borrowed name is cut at a character boundary.
struct LongName {
    bool unnamed;
    std::size_t bytes;
};

class AtomicFileLongName : public ::testing::TestWithParam<LongName> {};

TEST_P(AtomicFileLongName, Saves) {
    const auto [unnamed, bytes] = GetParam();
    std::string name = (bytes % 2) ? "a" : "";
    while (name.size() + 4 < bytes) {
        name += "\xC3\xBC"; // u with diaeresis
    }
    name += ".qrb";
    ASSERT_EQ(name.size(), bytes);
    TempDir dir;
    replace(dir / name, "old", {.unnamedTemporary = unnamed});
    replace(dir / name, "new", {.unnamedTemporary = unnamed});
    EXPECT_EQ(contentOf(dir / name), "new");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{name});
}

INSTANTIATE_TEST_SUITE_P(UpToTheLimit, AtomicFileLongName,
                         ::testing::Values(LongName{true, 251}, LongName{false, 247},
                                           LongName{false, 248}, LongName{false, 251},
                                           LongName{false, 255}),
                         [](const auto& info) {
                             return std::string(info.param.unnamed ? "Unnamed" : "Named") +
                                    std::to_string(info.param.bytes);
                         });

// Named temporaries left by killed writers go on the next save of the same file once they
// are a day old; nothing else is touched.
TEST(AtomicFile, RemovesDayOldTemporariesOfTheSameTargetOnly) {
    TempDir dir;
    const auto twoDaysAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
    const std::vector<std::string> stale{".lib.qrb.Ab12Cd", ".lib.qrb.zzzzzz"};
    const std::vector<std::string> kept{".other.qrb.Ab12Cd", ".lib.qrb.Ab12C", ".lib.qrb.Ab12C!",
                                        "lib.qrb.Ab12Cd", ".lib.qrb.Ab12Cde"};
    for (const auto& name : stale) {
        test::writeFile(dir / name, {1});
        std::filesystem::last_write_time(dir / name, twoDaysAgo);
    }
    for (const auto& name : kept) {
        test::writeFile(dir / name, {1});
        std::filesystem::last_write_time(dir / name, twoDaysAgo);
    }
    test::writeFile(dir / ".lib.qrb.Fresh1", {1});

    replace(dir / "lib.qrb", "new");
    std::vector<std::string> expected = kept;
    expected.push_back(".lib.qrb.Fresh1");
    expected.push_back("lib.qrb");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(namesIn(dir), expected);
}

// fork + SIGKILL at random points of a write: the folder holds the old or the new file.
TEST(AtomicFile, AWriterKilledAnywhereLeavesTheOldOrTheNewFile) {
    TempDir dir;
    const auto path = dir / "lib.qrb";
    const std::string oldContent(1000, 'o');
    const std::string newContent(std::size_t(8) << 20, 'n');
    const auto write = [&] {
        AtomicFile file(path);
        for (std::size_t at = 0; at < newContent.size(); at += 65536) {
            file.stream().write(newContent.data() + at, 65536);
        }
        file.commit();
    };
    test::writeFile(path, {oldContent.begin(), oldContent.end()});
    const auto start = std::chrono::steady_clock::now();
    write(); // how long a write takes here, to spread the kills over it
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> delay(0, took.count() * 5 / 4);
    for (int round = 0; round < 30; ++round) {
        test::writeFile(path, {oldContent.begin(), oldContent.end()});
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                write();
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        const std::string content = contentOf(path);
        ASSERT_TRUE(content == oldContent || content == newContent) << "seed " << seed;
        for (const auto& name : namesIn(dir)) {
            if (name == "lib.qrb") {
                continue;
            }
            // The one instant between naming the complete new file and renaming it over
            // the old one: the old file is still whole and the hidden name holds the whole
            // new file. The next save of the same file removes it once it is a day old.
            EXPECT_EQ(content, oldContent) << name << ", seed " << seed;
            EXPECT_EQ(name.rfind(".lib.qrb.", 0), 0u) << name << ", seed " << seed;
            EXPECT_EQ(contentOf(dir / name), newContent) << name << ", seed " << seed;
            std::filesystem::remove(dir / name);
        }
    }
}

} // namespace
} // namespace qrb
