#include "core/FileLock.h"
#include "core/AtomicFile.h"
#include "core/FileError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace qrb {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Another program's lock on `path`: flock() on a description of its own.
class OtherWriter {
public:
    explicit OtherWriter(const fs::path& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        EXPECT_GE(fd_, 0) << path;
        EXPECT_EQ(::flock(fd_, LOCK_EX), 0);
    }
    ~OtherWriter() { release(); }
    void release() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

// Whether anyone holds a lock on `path` now.
bool isLocked(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return !free;
}

class FileLockTest : public testing::Test {
protected:
    void SetUp() override { FileLock::setPatience(200ms); }
    void TearDown() override { FileLock::setPatience(5000ms); }
    test::TempDir dir;
};

// A second writer gives up after its patience with the message a person understands; once
// the first is done it goes ahead. The lock is on the file (or, before there is one, its
// folder): nothing is ever made beside the library.
TEST_F(FileLockTest, ASecondWriterWaitsThenGivesUp) {
    const fs::path lib = test::writeFile(dir / "lib.qrb", {1});
    for (const fs::path& locked : {lib, dir.path()}) {
        const fs::path wanted = locked == lib ? lib : dir / "new.qrb";
        SCOPED_TRACE(wanted.string());
        OtherWriter other(locked);
        try {
            const FileLock lock(wanted);
            ADD_FAILURE() << "locked while another program holds it";
        } catch (const FileError& e) {
            EXPECT_EQ(e.path(), wanted);
            EXPECT_NE(e.reason().find("is being changed by another program"), std::string::npos)
                << e.what();
        }
        other.release();
        const FileLock lock(wanted);
        EXPECT_TRUE(isLocked(locked));
    }
    EXPECT_EQ(dir.entries(), 1u);
}

// The first writer puts a new file in place of the one the second waits on: the second
// then holds the new file, the one the next writer will open.
TEST_F(FileLockTest, AWaiterLocksTheFileThatReplacedTheOneItWaitedFor) {
    FileLock::setPatience(60s);
    const fs::path lib = test::writeFile(dir / "lib.qrb", {1});
    OtherWriter other(lib);
    std::thread replaceAndRelease([&] {
        std::this_thread::sleep_for(50ms);
        AtomicFile file(lib);
        file.stream() << "new";
        file.commit();
        other.release();
    });
    {
        const FileLock lock(lib);
        EXPECT_TRUE(isLocked(lib));
        replaceAndRelease.join();
    }
    EXPECT_FALSE(isLocked(lib));
}

// A command that holds the lock calls code that takes it again: one process, one hold.
TEST_F(FileLockTest, LocksOfOneProcessShareTheirHold) {
    const fs::path lib = test::writeFile(dir / "lib.qrb", {1});
    const fs::path link = dir / "link.qrb";
    fs::create_symlink("lib.qrb", link);
    FileLock::setPatience(0ms);
    {
        const FileLock outer(lib);
        const FileLock inner(link);
        EXPECT_TRUE(isLocked(lib));
    }
    EXPECT_FALSE(isLocked(lib));
}

} // namespace
} // namespace qrb
