#pragma once
// Where a write to a path lands: the folder (held open) and the name in it, after every
// symbolic link on the way -- in the folders of the path and at its end -- has been
// followed the way the system follows them when it opens a file.
//
// One rule is applied at every link, whatever the system's own setting: in a folder that
// is sticky and writable by everyone (the system's temporary folder), a link is followed
// only when it belongs to the writer or to the folder's owner. Anyone may put a link
// there, pointing at a file of the writer's; following it would replace that file.
//
// Every folder on the way is opened without following links, one step after another, so
// a link that appears after its folder was checked is never followed.

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace qrb {

// Whether a writer of user `follower` may follow a link of user `linkOwner` that lies in a
// folder of mode `folderMode` belonging to `folderOwner`.
bool mayFollowLink(uid_t follower, uid_t linkOwner, mode_t folderMode, uid_t folderOwner);

class WriteTarget {
public:
    // Resolves `given`. A final name that does not exist (also at the end of a dangling
    // link) is where a new file will be made. Throws FileError naming `given` when the
    // links form a loop, when a link may not be followed, when a folder on the way is
    // missing or no folder, and when the name ends in '/'.
    explicit WriteTarget(const std::filesystem::path& given);
    ~WriteTarget();
    WriteTarget(WriteTarget&& other) noexcept;
    WriteTarget& operator=(WriteTarget&&) = delete;
    WriteTarget(const WriteTarget&) = delete;
    WriteTarget& operator=(const WriteTarget&) = delete;

    // The folder, open for use as the folder of the *at() calls (not for reading).
    int folder() const { return folder_; }
    const std::filesystem::path& folderPath() const { return folderPath_; }
    const std::string& name() const { return name_; }
    std::filesystem::path path() const { return folderPath_ / name_; }

private:
    int folder_ = -1;
    std::filesystem::path folderPath_;
    std::string name_;
};

} // namespace qrb
