#include "core/WriteTarget.h"

#include "core/FileError.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace qrb {

namespace {

// As many links as the system follows in one path lookup.
constexpr int kMaxLinks = 40;

// The names between the slashes, in order.
std::vector<std::string> namesOf(const std::string& path) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        if (slash > start)
            names.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return names;
}

std::string linkText(int folder, const std::string& name) {
    std::vector<char> text(PATH_MAX);
    for (;;) {
        const ssize_t n = ::readlinkat(folder, name.c_str(), text.data(), text.size());
        if (n < 0)
            return {};
        if (std::size_t(n) < text.size())
            return std::string(text.data(), std::size_t(n));
        text.resize(text.size() * 2);
    }
}

} // namespace

bool mayFollowLink(uid_t follower, uid_t linkOwner, mode_t folderMode, uid_t folderOwner) {
    const mode_t sharedByAll = S_ISVTX | S_IWOTH;
    return linkOwner == follower || (folderMode & sharedByAll) != sharedByAll ||
           linkOwner == folderOwner;
}

WriteTarget::WriteTarget(const std::filesystem::path& given) {
    const std::string& text = given.native();
    auto fail = [&](const std::string& reason) {
        if (folder_ >= 0)
            ::close(folder_);
        folder_ = -1;
        throw FileError(given, reason);
    };
    auto failWith = [&](int error) {
        fail("cannot create a new file in its folder: " + std::string(std::strerror(error)));
    };
    if (text.empty())
        fail("cannot create the file: the name is empty");
    if (text.back() == '/')
        fail("cannot replace the file: the name ends in '/', so it names a folder");

    const std::vector<std::string> names = namesOf(text);
    std::deque<std::string> pending(names.begin(), names.end());
    const bool absolute = text.front() == '/';
    folderPath_ = absolute ? "/" : "";
    folder_ = ::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0)
        failWith(errno);
    if (pending.empty()) { // "/" alone
        name_ = ".";
        return;
    }
    int links = 0;
    while (!pending.empty()) {
        const std::string part = pending.front();
        pending.pop_front();
        const bool last = pending.empty();
        struct stat info {};
        if (::fstatat(folder_, part.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            const int error = errno;
            // Nothing there yet: a new file is made (or the name's length is refused).
            if (last && (error == ENOENT || error == ENAMETOOLONG)) {
                name_ = part;
                return;
            }
            failWith(error);
        }
        if (S_ISLNK(info.st_mode)) {
            if (++links > kMaxLinks)
                fail("cannot replace the file: the symbolic links form a loop");
            struct stat here {};
            if (::fstat(folder_, &here) != 0)
                failWith(errno);
            if (!mayFollowLink(::geteuid(), info.st_uid, here.st_mode, here.st_uid)) {
                fail("cannot write through the symbolic link " +
                     escapedControls((folderPath_ / part).string()) +
                     ": it belongs to another user (uid " + std::to_string(info.st_uid) +
                     ") and lies in a folder where anyone may put links, so it is not followed");
            }
            const std::string target = linkText(folder_, part);
            if (target.empty())
                failWith(errno == 0 ? ENOENT : errno);
            const std::vector<std::string> more = namesOf(target);
            pending.insert(pending.begin(), more.begin(), more.end());
            if (target.front() == '/') {
                const int root = ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
                if (root < 0)
                    failWith(errno);
                ::close(folder_);
                folder_ = root;
                folderPath_ = "/";
            }
            if (pending.empty()) { // a link to "/"
                name_ = ".";
                return;
            }
            continue;
        }
        if (last) {
            name_ = part;
            return;
        }
        // Opened without following: a link put here since the check above is refused.
        const int next =
            ::openat(folder_, part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0)
            failWith(errno);
        ::close(folder_);
        folder_ = next;
        folderPath_ /= part;
    }
}

WriteTarget::~WriteTarget() {
    if (folder_ >= 0)
        ::close(folder_);
}

WriteTarget::WriteTarget(WriteTarget&& other) noexcept
    : folder_(other.folder_), folderPath_(std::move(other.folderPath_)),
      name_(std::move(other.name_)) {
    other.folder_ = -1;
}

} // namespace qrb
