#pragma once
// Keeps two programs from changing one library at the same time. A read-modify-write
// (qrbtool import, move, delete; letter or convert writing over their input; the editor's
// Save) holds the lock from before it reads until the new file is in place, so a second
// writer waits, then reads what the first wrote: no update is lost.
//
// The lock is an advisory flock() on the file itself, or on its folder while there is no
// file yet, so nothing is ever left beside the library. A writer puts a new file in place
// of the old one; a waiter that gets the old file's lock looks again and locks the new one.
// Within one process the locks of one file share a single hold, so code that holds the
// lock may call code that takes it again.

#include <chrono>
#include <filesystem>
#include <memory>

namespace qrb {

class FileLock {
public:
    // Locks the file `path` names (symbolic links followed as a write follows them). Waits
    // for another program's lock up to patience(), then throws FileError naming `path`:
    // "it is being changed by another program (...)". A file that cannot be opened, is
    // no regular file or lives where locks do not work is not locked: the write itself
    // then says what is wrong, or goes ahead as it would without the lock.
    explicit FileLock(const std::filesystem::path& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // How long a writer waits for another: a few seconds. Tests shorten it.
    static std::chrono::milliseconds patience();
    static void setPatience(std::chrono::milliseconds wait);

    struct Hold;

private:
    std::shared_ptr<Hold> hold_;
};

} // namespace qrb
