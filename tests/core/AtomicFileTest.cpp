#include "core/AtomicFile.h"
#include "core/FileError.h"
#include "support/SpecialFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace qrb {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& path) {
    const auto bytes = test::readFile(path);
    return {bytes.begin(), bytes.end()};
}

void replace(const fs::path& target, const std::string& content, AtomicFile::Options options = {}) {
    AtomicFile file(target, options);
    file.stream() << content;
    file.commit();
}

std::vector<std::string> namesIn(const test::TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A rename over a FIFO or a device would swap the special file for a plain one (as root,
// /dev/null itself). Links are followed, also dangling ones; a loop is refused.
TEST(AtomicFile, ReplacesOnlyRegularFilesFollowingLinks) {
    test::TempDir dir;
    std::vector<std::pair<fs::path, std::string>> refused{
        {dir / "loop", "cannot replace the file: the symbolic links form a loop"}};
    fs::create_symlink("loop", dir / "loop");
    for (const auto& special : test::specialFiles()) {
        if (special.make(dir / special.name)) {
            fs::create_symlink(special.name, dir / (special.name + "-link"));
            const std::string reason = special.name == "folder"
                                           ? "cannot replace the file: it is a folder"
                                           : "cannot replace the file: it is not a regular file";
            refused.emplace_back(dir / special.name, reason);
            refused.emplace_back(dir / (special.name + "-link"), reason);
        }
    }
    const auto before = namesIn(dir);
    for (const auto& [path, reason] : refused) {
        try {
            replace(path, "new");
            ADD_FAILURE() << path << " replaced";
        } catch (const FileError& e) {
            EXPECT_EQ(e.reason(), reason) << path;
        }
        EXPECT_NE(fs::symlink_status(path).type(), fs::file_type::regular) << path;
    }
    EXPECT_EQ(namesIn(dir), before);

    fs::create_directory(dir / "sub");
    fs::create_symlink("sub/new.qrb", dir / "dangling");
    fs::create_symlink("dangling", dir / "chain");
    replace(dir / "chain", "made");
    EXPECT_EQ(contentOf(dir / "sub" / "new.qrb"), "made");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    EXPECT_TRUE(fs::is_symlink(dir / "chain"));
}

// Names up to the 255-byte limit save with either kind of temporary; the temporary's
// borrowed name is cut at a character boundary.
class AtomicFileLongName : public ::testing::TestWithParam<std::pair<bool, std::size_t>> {};

TEST_P(AtomicFileLongName, Saves) {
    const auto [unnamed, bytes] = GetParam();
    std::string name = bytes % 2 ? "a" : "";
    while (name.size() + 4 < bytes) {
        name += "\xC3\xBC"; // u with diaeresis
    }
    name += ".qrb";
    test::TempDir dir;
    replace(dir / name, "old", {.unnamedTemporary = unnamed});
    replace(dir / name, "new", {.unnamedTemporary = unnamed});
    EXPECT_EQ(contentOf(dir / name), "new");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{name});
}

INSTANTIATE_TEST_SUITE_P(UpToTheLimit, AtomicFileLongName,
                         ::testing::Values(std::pair(true, 251), std::pair(false, 248),
                                           std::pair(false, 251), std::pair(false, 255)),
                         [](const auto& testCase) {
                             return (testCase.param.first ? "Unnamed" : "Named") +
                                    std::to_string(testCase.param.second);
                         });

// Clean-up after a write proves a file is its own before removing it: the marker in the
// name, and no writer holding its lock. Files of the user's named like temporaries, of any
// age, stay; so does a marked temporary whose writer is still at work.
TEST(AtomicFile, RemovesOnlyMarkedTemporariesWhoseWriterIsGone) {
    test::TempDir dir;
    const auto twoDaysAgo = fs::file_time_type::clock::now() - std::chrono::hours(48);
    const std::vector<std::string> kept{
        ".lib.qrb.backup",         ".lib.qrb.notes1",          ".lib.qrb.Backup",
        ".lib.qrb.Ab12Cd",         ".other.qrb.qrbtmp-Ab12Cd", ".lib.qrb.qrbtmp-Ab12C",
        ".lib.qrb.qrbtmp-Ab12Cd!", "lib.qrb.qrbtmp-Ab12Cd",    ".lib.qrb.qrbtmp-Busy01"};
    for (const auto& name : kept) {
        test::writeFile(dir / name, {1});
        fs::last_write_time(dir / name, twoDaysAgo);
    }
    for (const auto& name : {".lib.qrb.qrbtmp-Ab12Cd", ".lib.qrb.qrbtmp-zzzzzz"}) {
        test::writeFile(dir / name, {1}); // fresh: left by a writer killed a moment ago
    }
    // A writer at work holds its lock.
    const int busy = ::open((dir / ".lib.qrb.qrbtmp-Busy01").c_str(), O_RDONLY);
    ASSERT_GE(busy, 0);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);

    replace(dir / "lib.qrb", "new", {.unnamedTemporary = false});
    ::close(busy);
    std::vector<std::string> expected = kept;
    expected.push_back("lib.qrb");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(namesIn(dir), expected);
}

// A writer killed while its temporary has a name (always, without unnamed files; with
// them, between naming the complete file and the rename) leaves it; the next write of the
// same file removes it, however recent.
TEST(AtomicFile, TheNextWriteClearsAKilledWritersTemporary) {
    for (const bool unnamed : {false, true}) {
        test::TempDir dir;
        const auto path = dir / "lib.qrb";
        test::writeFile(path, {'o'});
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            AtomicFile file(path, {.unnamedTemporary = unnamed});
            file.stream() << "new";
            file.prepare(); // named and complete: what a kill before the rename leaves
            const char byte = 1;
            (void)!::write(ready[1], &byte, 1);
            ::pause();
            ::_exit(0);
        }
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        // The writer is alive: its temporary is not taken by a write of the same file.
        replace(path, "second");
        ASSERT_EQ(namesIn(dir).size(), 2u) << unnamed;
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ::close(ready[0]);
        ::close(ready[1]);
        EXPECT_EQ(contentOf(path), "second");

        replace(path, "third");
        EXPECT_EQ(namesIn(dir), std::vector<std::string>{"lib.qrb"}) << unnamed;
        EXPECT_EQ(contentOf(path), "third");
    }
}

// A set of files is put in place only when every one is complete: a member that cannot be
// written leaves all targets as they were and no temporary behind.
TEST(AtomicFileSet, AllOrNone) {
    test::TempDir dir;
    test::writeFile(dir / "a", {'o'});
    test::writeFile(dir / "b", {'o'});
    {
        AtomicFileSet set;
        set.add(dir / "a").stream() << "new a";
        set.add(dir / "b").stream() << "new b";
        EXPECT_THROW(set.add(dir / std::string(300, 'c')), FileError); // name too long
    }
    EXPECT_EQ(contentOf(dir / "a"), "o");
    EXPECT_EQ(contentOf(dir / "b"), "o");
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"a", "b"}));

    AtomicFileSet set;
    set.add(dir / "a").stream() << "new a";
    set.add(dir / "c").stream() << "new c";
    set.commit();
    EXPECT_EQ(contentOf(dir / "a"), "new a");
    EXPECT_EQ(contentOf(dir / "c"), "new c");
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"a", "b", "c"}));
}

// fork + SIGKILL at random points of a write: the folder holds the old or the new file.
TEST(AtomicFile, AWriterKilledAnywhereLeavesTheOldOrTheNewFile) {
    test::TempDir dir;
    const auto path = dir / "lib.qrb";
    const std::vector<std::uint8_t> oldContent(1000, 'o');
    const std::string newContent(std::size_t(8) << 20, 'n');
    const auto write = [&] {
        AtomicFile file(path);
        for (std::size_t at = 0; at < newContent.size(); at += 65536) {
            file.stream().write(newContent.data() + at, 65536);
        }
        file.commit();
    };
    test::writeFile(path, oldContent);
    const auto start = std::chrono::steady_clock::now();
    write(); // how long a write takes here, to spread the kills over it
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<long> delay(0, took.count() * 5 / 4);
    for (int round = 0; round < 30; ++round) {
        test::writeFile(path, oldContent);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                write();
            } catch (...) {
            }
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        const std::string content = contentOf(path);
        ASSERT_TRUE(content == std::string(1000, 'o') || content == newContent) << seed;
        for (const auto& name : namesIn(dir)) {
            // Only a kill in the instant between naming the complete new file and renaming
            // it over the old one leaves a name behind: the whole new file, beside the whole
            // old one. The next save removes it.
            if (name != "lib.qrb") {
                EXPECT_EQ(name.rfind(".lib.qrb.qrbtmp-", 0), 0u) << name << ", seed " << seed;
                EXPECT_EQ(content.size(), 1000u) << name << ", seed " << seed;
                EXPECT_EQ(contentOf(dir / name), newContent) << name << ", seed " << seed;
                fs::remove(dir / name);
            }
        }
    }
}

} // namespace

// Every call of umask() in this test program: the process's mask is shared by its threads,
// so setting it, even for an instant, gives the files other threads create meanwhile the
// wrong permissions.
std::atomic<int> umaskCalls{0};

} // namespace qrb

extern "C" mode_t umask(mode_t mask) noexcept {
    ++qrb::umaskCalls;
    return static_cast<mode_t>(::syscall(SYS_umask, mask));
}

namespace qrb {
namespace {

TEST(AtomicFile, NewFilesTakeTheUmaskWithoutChangingIt) {
    test::TempDir dir;
    const mode_t before = ::umask(027);
    const int calls = umaskCalls.load();
    replace(dir / "new.qrb", "new");
    replace(dir / "named.qrb", "new", {.unnamedTemporary = false});
    EXPECT_EQ(umaskCalls.load(), calls);
    ::umask(before);
    for (const char* name : {"new.qrb", "named.qrb"}) {
        struct stat info {};
        ASSERT_EQ(::stat((dir / name).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0640u) << name;
    }
}

} // namespace
} // namespace qrb
