#include "core/FileLock.h"

#include "core/FileError.h"
#include "core/WriteTarget.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace qrb {

namespace {

using Key = std::pair<dev_t, ino_t>;
using Clock = std::chrono::steady_clock;

std::atomic<std::chrono::milliseconds::rep> gPatience{5000};

} // namespace

// One flock() held by this process; released when the last FileLock sharing it goes.
struct FileLock::Hold {
    int fd;
    Key key;
    ~Hold();
};

namespace {

std::mutex gHeldMutex;
std::map<Key, std::weak_ptr<FileLock::Hold>> gHeld; // guarded by gHeldMutex

// Whether `name` in `folder` is still what was locked: the same file, or still no file.
bool stillTheSame(const WriteTarget& where, bool existed, const struct stat& locked) {
    struct stat now {};
    if (::fstatat(where.folder(), where.name().c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0)
        return !existed && errno == ENOENT;
    return existed && now.st_dev == locked.st_dev && now.st_ino == locked.st_ino;
}

} // namespace

FileLock::Hold::~Hold() {
    const std::lock_guard guard(gHeldMutex);
    const auto it = gHeld.find(key);
    if (it != gHeld.end() && it->second.expired())
        gHeld.erase(it);
    ::close(fd); // releases the lock
}

std::chrono::milliseconds FileLock::patience() {
    return std::chrono::milliseconds(gPatience.load());
}

void FileLock::setPatience(std::chrono::milliseconds wait) {
    gPatience.store(wait.count());
}

FileLock::FileLock(const std::filesystem::path& path) {
    const Clock::time_point deadline = Clock::now() + patience();
    for (;;) {
        const WriteTarget where(path);
        struct stat info {};
        const bool exists =
            ::fstatat(where.folder(), where.name().c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
        if (exists && !S_ISREG(info.st_mode))
            return;
        const int fd = exists ? ::openat(where.folder(), where.name().c_str(),
                                         O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)
                              : ::openat(where.folder(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            if (exists && errno == ENOENT && Clock::now() < deadline)
                continue; // removed meanwhile: look again
            return;
        }
        struct stat locked {};
        if (::fstat(fd, &locked) != 0) {
            ::close(fd);
            return;
        }
        const Key key{locked.st_dev, locked.st_ino};
        for (;;) {
            int error = 0;
            {
                const std::lock_guard guard(gHeldMutex);
                const auto it = gHeld.find(key);
                if (std::shared_ptr<Hold> held = it != gHeld.end() ? it->second.lock() : nullptr) {
                    ::close(fd);
                    hold_ = std::move(held);
                    break;
                }
                if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                    hold_ = std::shared_ptr<Hold>(new Hold{fd, key});
                    gHeld[key] = hold_;
                    break;
                }
                error = errno;
            }
            if (error != EWOULDBLOCK && error != EINTR) {
                ::close(fd); // a file system without locks
                return;
            }
            if (Clock::now() >= deadline) {
                ::close(fd);
                const auto seconds =
                    std::chrono::duration_cast<std::chrono::duration<double>>(patience()).count();
                char waited[32];
                std::snprintf(waited, sizeof waited, "%g", seconds);
                throw FileError(path,
                                std::string("it is being changed by another program (waited ") +
                                    waited + " seconds for it to finish); nothing was written");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        // The writer before may have put a new file in place while this one waited.
        if (stillTheSame(where, exists, locked))
            return;
        hold_.reset();
    }
}

FileLock::~FileLock() = default;

} // namespace qrb
