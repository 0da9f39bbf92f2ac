#include "core/AtomicFile.h"

#include "core/FileError.h"
#include "core/WriteTarget.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace qrb {

namespace {

std::string systemReason(int error) {
    return std::strerror(error);
}

// An output buffer over a file descriptor that throws FileError on a failed write, so the
// stream that owns it (with badbit exceptions on) hands the reason to its caller.
class FdOutputBuffer : public std::streambuf {
public:
    FdOutputBuffer(int fd, std::filesystem::path name)
        : fd_(fd), name_(std::move(name)), buffer_(kBufferSize) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }

    // Writes out what is buffered; throws FileError on failure.
    void flushBuffer() {
        writeAll(pbase(), static_cast<std::size_t>(pptr() - pbase()));
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }

protected:
    int_type overflow(int_type ch) override {
        flushBuffer();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }

    std::streamsize xsputn(const char* data, std::streamsize count) override {
        const auto n = static_cast<std::size_t>(count);
        if (n <= static_cast<std::size_t>(epptr() - pptr())) {
            std::memcpy(pptr(), data, n);
            pbump(static_cast<int>(n));
            return count;
        }
        // Large blocks (pixel rows) go straight to the file.
        flushBuffer();
        if (n < buffer_.size()) {
            std::memcpy(pptr(), data, n);
            pbump(static_cast<int>(n));
        } else {
            writeAll(data, n);
        }
        return count;
    }

    int sync() override {
        flushBuffer();
        return 0;
    }

private:
    static constexpr std::size_t kBufferSize = 256 * 1024;

    void writeAll(const char* data, std::size_t n) {
        while (n > 0) {
            const ssize_t written = ::write(fd_, data, n);
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw FileError(name_, "cannot write: " + systemReason(errno));
            }
            data += written;
            n -= static_cast<std::size_t>(written);
        }
    }

    int fd_;
    std::filesystem::path name_;
    std::vector<char> buffer_;
};

// Temporary names are "." + NAME + kMarker + six letters or digits: the marker is what
// proves a file is one of ours, so that clean-up never touches a file a person named.
constexpr std::string_view kMarker = ".qrbtmp-";
constexpr std::size_t kSuffixLength = 6;
constexpr std::size_t kNameOverhead = 1 + kMarker.size() + kSuffixLength;
bool isSuffixChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

std::string randomSuffix() {
    static constexpr char kChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 generator(std::random_device{}() ^
                                           (std::uint64_t(::getpid()) << 32) ^
                                           std::uint64_t(std::time(nullptr)));
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kChars - 2);
    std::string suffix;
    for (std::size_t i = 0; i < kSuffixLength; ++i) {
        suffix += kChars[pick(generator)];
    }
    return suffix;
}

long nameLimit(int folder) {
    const long limit = ::fpathconf(folder, _PC_NAME_MAX);
    return limit > 0 ? limit : NAME_MAX;
}

// The target's name, cut (at a character boundary) so that the temporary's name stays
// within the folder's limit.
std::string borrowedName(int folder, const std::string& name) {
    const long limit = nameLimit(folder);
    const std::size_t room =
        static_cast<std::size_t>(limit) > kNameOverhead ? std::size_t(limit) - kNameOverhead : 1;
    if (name.size() <= room) {
        return name;
    }
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
        --cut; // do not split a UTF-8 sequence
    }
    return name.substr(0, cut);
}

// Whether `fd` is still the file `name` in `folder`: a clean-up may have removed a named
// temporary between its creation and its writer's lock.
bool stillNamed(int fd, int folder, const std::string& name) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && open.st_nlink > 0 &&
           ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

// Removes the temporaries in `folder` whose writers are gone and whose names start with one
// of `prefixes` (".NAME.qrbtmp-"): a writer holds a lock on its temporary until it is in
// place, so one that can be locked was left by a writer that was killed. Only files with
// the marker are looked at, and only regular files of this user.
void removeLeftTemporaries(int folder, const std::unordered_set<std::string>& prefixes) {
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) {
        return;
    }
    DIR* entries = ::fdopendir(listing);
    if (entries == nullptr) {
        ::close(listing);
        return;
    }
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        if (name.size() <= kNameOverhead ||
            name.compare(name.size() - kSuffixLength - kMarker.size(), kMarker.size(), kMarker) !=
                0 ||
            !prefixes.contains(name.substr(0, name.size() - kSuffixLength))) {
            continue;
        }
        bool pattern = true;
        for (std::size_t i = name.size() - kSuffixLength; i < name.size(); ++i) {
            pattern = pattern && isSuffixChar(name[i]);
        }
        struct stat info {};
        if (!pattern || ::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
            continue;
        }
        const int left =
            ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (left < 0) {
            continue;
        }
        if (::flock(left, LOCK_EX | LOCK_NB) == 0 && stillNamed(left, folder, name)) {
            ::unlinkat(folder, name.c_str(), 0);
        }
        ::close(left);
    }
    ::closedir(entries);
}

// The umask as the process started, for systems without /proc: read before main() runs,
// while no other thread can be creating files.
const mode_t kUmaskAtStart = [] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}();

// The process's file-creation mask, read without setting it: the mask is the whole
// process's, so even an instant at 0 would give files other threads create meanwhile
// (import, lettering and export workers) permissions for everyone.
mode_t currentUmask() {
    const int status = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (status < 0) {
        return kUmaskAtStart;
    }
    char text[4096];
    const ssize_t n = ::read(status, text, sizeof text - 1);
    ::close(status);
    if (n <= 0) {
        return kUmaskAtStart;
    }
    text[n] = '\0';
    const char* line = std::strstr(text, "\nUmask:");
    if (line == nullptr) {
        return kUmaskAtStart;
    }
    char* end = nullptr;
    const unsigned long mask = std::strtoul(line + 7, &end, 8);
    return end == line + 7 ? kUmaskAtStart : mode_t(mask & 0777);
}

bool unnamedFilesReachable() {
    // Naming an unnamed file needs its /proc/self/fd entry.
    static const bool reachable = ::access("/proc/self/fd", X_OK) == 0;
    return reachable;
}

} // namespace

struct AtomicFile::Impl {
    Options options;
    std::filesystem::path given;
    std::optional<WriteTarget> where; // the folder, held open, and the target's name in it
    std::string borrowed;
    bool targetExisted = false;
    bool unnamed = false;
    std::string temp; // the temporary's name in the folder, once it has one
    int fd = -1;      // holds an exclusive lock on the temporary until it is in place
    bool prepared = false;
    bool committed = false;
    std::unique_ptr<FdOutputBuffer> buffer;
    std::unique_ptr<std::ostream> stream;

    int folder() const { return where->folder(); }

    void discard() {
        // Removed while still locked, so no clean-up can take a file of the same name.
        if (!temp.empty()) {
            ::unlinkat(folder(), temp.c_str(), 0);
            temp.clear();
        }
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }

    std::string tempName(const std::string& suffix) const {
        std::string hidden(".");
        hidden.append(borrowed);
        hidden.append(kMarker);
        hidden.append(suffix);
        return hidden;
    }

    // Gives the unnamed file a name: the target itself when there is none yet (unless
    // `straightToTarget` is off), otherwise a fresh temporary name (renamed over the
    // target afterwards).
    void linkUnnamed(bool straightToTarget) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (!targetExisted && straightToTarget) {
            if (::linkat(AT_FDCWD, self.c_str(), folder(), where->name().c_str(),
                         AT_SYMLINK_FOLLOW) == 0) {
                return;
            }
            if (errno != EEXIST) {
                throw FileError(given, "cannot create the file: " + systemReason(errno));
            }
        }
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string name = tempName(randomSuffix());
            if (::linkat(AT_FDCWD, self.c_str(), folder(), name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                temp = name;
                return;
            }
            if (errno != EEXIST) {
                throw FileError(given,
                                "cannot create a new file in its folder: " + systemReason(errno));
            }
        }
        throw FileError(given, "cannot create a new file in its folder: no free temporary name");
    }

    // Creates a named temporary and locks it; a clean-up by another writer of the same
    // target may take the name between the two, so the name is checked once locked.
    void createNamed() {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string name = tempName(randomSuffix());
            const int created = ::openat(folder(), name.c_str(),
                                         O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (created < 0) {
                if (errno == EEXIST) {
                    continue;
                }
                throw FileError(given,
                                "cannot create a new file in its folder: " + systemReason(errno));
            }
            while (::flock(created, LOCK_EX) != 0 && errno == EINTR) {
            }
            if (stillNamed(created, folder(), name)) {
                fd = created;
                temp = name;
                return;
            }
            ::close(created);
        }
        throw FileError(given, "cannot create a new file in its folder: no free temporary name");
    }

    std::string tempPrefix() const { return "." + borrowed + std::string(kMarker); }

    // Everything up to putting the file in place: the content on disk under a name.
    void finish(bool straightToTarget) {
        if (!*stream) {
            throw FileError(given, "cannot write: the output failed");
        }
        buffer->flushBuffer();
        if (::fsync(fd) != 0) {
            throw FileError(given, "cannot write to disk: " + systemReason(errno));
        }
        if (unnamed) {
            linkUnnamed(straightToTarget);
            unnamed = false;
        }
    }
};

AtomicFile::AtomicFile(std::filesystem::path target) : AtomicFile(std::move(target), Options{}) {}

AtomicFile::AtomicFile(std::filesystem::path target, Options options)
    : impl_(std::make_unique<Impl>()) {
    Impl& d = *impl_;
    d.options = options;
    d.given = target;
    d.where.emplace(target);
    const std::string& name = d.where->name();

    // Only a regular file is ever replaced: a rename over a device or FIFO would swap the
    // special file itself for a plain one.
    struct stat old {};
    mode_t mode = 0;
    if (::fstatat(d.folder(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(old.st_mode)) {
            throw FileError(d.given, "cannot replace the file: it is a folder");
        }
        if (!S_ISREG(old.st_mode)) {
            throw FileError(d.given, "cannot replace the file: it is not a regular file");
        }
        d.targetExisted = true;
        mode = old.st_mode & 07777;
    } else {
        // The usual permissions of a new file.
        mode = 0666 & ~currentUmask();
    }

    d.borrowed = borrowedName(d.folder(), name);
    // A name the folder cannot hold is refused before anything is written.
    if (!d.targetExisted && name.size() > static_cast<std::size_t>(nameLimit(d.folder()))) {
        throw FileError(d.given, "cannot create the file: " + systemReason(ENAMETOOLONG));
    }

    if (options.unnamedTemporary && unnamedFilesReachable()) {
        d.fd = ::openat(d.folder(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        d.unnamed = d.fd >= 0;
        if (d.unnamed) {
            // Locked before it has a name, so no clean-up can ever take it.
            ::flock(d.fd, LOCK_EX);
        }
    }
    if (d.fd < 0) {
        d.createNamed();
    }
    ::fchmod(d.fd, mode);

    d.buffer = std::make_unique<FdOutputBuffer>(d.fd, d.given);
    d.stream = std::make_unique<std::ostream>(d.buffer.get());
    d.stream->exceptions(std::ios::badbit);
}

AtomicFile::~AtomicFile() {
    if (!impl_->committed) {
        impl_->discard();
    }
}

std::ostream& AtomicFile::stream() {
    return *impl_->stream;
}

void AtomicFile::writeParts(std::span<const std::span<const std::uint8_t>> parts) {
    Impl& d = *impl_;
    if (d.committed || d.prepared || d.fd < 0) {
        throw FileError(d.given, "cannot write: the file was already closed");
    }
    if (!*d.stream) {
        throw FileError(d.given, "cannot write: the output failed");
    }
    // What the stream holds goes first.
    d.buffer->flushBuffer();
    // As many parts as one call takes; a short write goes on from where it stopped.
    constexpr std::size_t kPartsAtOnce = 1024;
    std::vector<iovec> pending;
    for (std::size_t first = 0; first < parts.size(); first += kPartsAtOnce) {
        pending.clear();
        for (const auto part : parts.subspan(first, std::min(kPartsAtOnce, parts.size() - first))) {
            if (!part.empty()) {
                // writev only reads through the pointer.
                pending.push_back(iovec{const_cast<std::uint8_t*>(part.data()), part.size()});
            }
        }
        iovec* next = pending.data();
        iovec* const end = pending.data() + pending.size();
        while (next != end) {
            ssize_t written = ::writev(d.fd, next, static_cast<int>(end - next));
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                throw FileError(d.given,
                                "cannot write: " + systemReason(written < 0 ? errno : EIO));
            }
            for (; next != end && static_cast<std::size_t>(written) >= next->iov_len; ++next) {
                written -= static_cast<ssize_t>(next->iov_len);
            }
            if (written > 0) {
                next->iov_base = static_cast<char*>(next->iov_base) + written;
                next->iov_len -= static_cast<std::size_t>(written);
            }
        }
    }
}

std::filesystem::path AtomicFile::target() const {
    return impl_->where->path();
}

void AtomicFile::prepare() {
    Impl& d = *impl_;
    if (d.committed || d.fd < 0) {
        throw FileError(d.given, "cannot write: the file was already closed");
    }
    if (d.prepared) {
        return;
    }
    try {
        d.finish(false);
    } catch (...) {
        d.discard();
        throw;
    }
    d.prepared = true;
    // Nothing more is written: the buffer's memory is not needed while other files of a
    // set are written.
    d.stream.reset();
    d.buffer.reset();
}

void AtomicFile::commit() {
    Impl& d = *impl_;
    if (d.committed || d.fd < 0) {
        throw FileError(d.given, "cannot write: the file was already closed");
    }
    try {
        if (!d.prepared) {
            d.finish(true);
        }
        if (!d.temp.empty() &&
            ::renameat(d.folder(), d.temp.c_str(), d.folder(), d.where->name().c_str()) != 0) {
            throw FileError(d.given, "cannot replace the file: " + systemReason(errno));
        }
    } catch (...) {
        d.discard();
        throw;
    }
    d.temp.clear();
    d.committed = true;
    // The lock goes with the descriptor, now that the file is in place. Its content is on
    // disk already (fsync above), so closing cannot lose any of it.
    ::close(d.fd);
    d.fd = -1;

    // Make the new name durable; a failure here no longer endangers any data.
    const int dirFd = ::openat(d.folder(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    if (d.options.removeLeftTemporaries) {
        removeLeftTemporaries(d.folder(), {d.tempPrefix()});
    }
}

std::size_t AtomicFile::openableAtOnce(std::size_t wanted) {
    // Room for what the program has open already and opens meanwhile.
    constexpr rlim_t kReserve = 64;
    // Each holds its file and its folder.
    constexpr rlim_t kEach = 2;
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) {
        return 0;
    }
    const rlim_t needed = rlim_t(wanted) * kEach + kReserve;
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < needed &&
        limit.rlim_cur < limit.rlim_max) {
        // Only as far as needed: descriptors above 1024 are a surprise to code that still
        // uses select().
        struct rlimit raised = limit;
        raised.rlim_cur =
            limit.rlim_max == RLIM_INFINITY ? needed : std::min(needed, limit.rlim_max);
        if (::setrlimit(RLIMIT_NOFILE, &raised) == 0) {
            limit = raised;
        }
    }
    if (limit.rlim_cur == RLIM_INFINITY) {
        return std::size_t(1) << 20;
    }
    return limit.rlim_cur > kReserve ? std::size_t((limit.rlim_cur - kReserve) / kEach) : 0;
}

AtomicFile& AtomicFileSet::add(std::filesystem::path target) {
    if (files_.size() >= AtomicFile::openableAtOnce(files_.size() + 1)) {
        throw FileError(target, "cannot write " + std::to_string(files_.size() + 1) +
                                    " files at once: the system allows " +
                                    std::to_string(files_.size()) + " open files");
    }
    AtomicFile::Options options;
    options.removeLeftTemporaries = false; // once for the whole set, in commit()
    files_.push_back(std::make_unique<AtomicFile>(std::move(target), options));
    return *files_.back();
}

void AtomicFileSet::commit() {
    for (auto& file : files_) {
        file->prepare();
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
        try {
            files_[i]->commit();
        } catch (const FileError& e) {
            // A rename in the folder a temporary was just named in: not expected to fail,
            // but if it does, say exactly what happened.
            throw FileError(e.path(), e.reason() + " (" + std::to_string(i) + " of " +
                                          std::to_string(files_.size()) +
                                          " files were replaced before it; the rest were left "
                                          "as they were)");
        }
    }
    // Once per folder, through the first member's hold on it.
    struct Folder {
        int fd;
        std::unordered_set<std::string> prefixes;
    };
    std::map<std::filesystem::path, Folder> folders;
    for (const auto& file : files_) {
        const AtomicFile::Impl& d = *file->impl_;
        folders.try_emplace(d.where->folderPath(), Folder{d.folder(), {}})
            .first->second.prefixes.insert(d.tempPrefix());
    }
    for (const auto& [path, folder] : folders) {
        removeLeftTemporaries(folder.fd, folder.prefixes);
    }
}

} // namespace qrb
