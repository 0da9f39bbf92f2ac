#pragma once
// Replacing a file all at once. The new content goes to a temporary file in the target's
// folder; commit() flushes it to disk and renames it over the target. Until then the old
// file is untouched, and a write that fails (or is abandoned, or killed) leaves it exactly
// as it was.
//
// The temporary has no name while it is written (O_TMPFILE); it is linked into the folder
// only when complete. Where the file system cannot hold unnamed files, a hidden
// ".NAME.qrbtmp-XXXXXX" file is written instead. A temporary that has a name carries the
// marker ".qrbtmp-", and its writer holds an exclusive flock on it until it is in place.
// A writer killed while its temporary has a name (in the instant between naming and
// renaming, or all along without unnamed files) leaves it behind; the next successful
// write of the same target removes every marked temporary of that target it can lock,
// which is exactly those whose writers are gone. No other file is ever removed.
// Temporary names never exceed the folder's name length limit: NAME is the target's name,
// shortened when needed. New files get the usual permissions (0666 less the umask), read
// without ever changing the process's umask.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <ostream>
#include <span>
#include <vector>

namespace qrb {

class AtomicFile {
public:
    struct Options {
        // Write into an unnamed file where the file system allows it. Off: always a named
        // temporary (what file systems without unnamed files get).
        bool unnamedTemporary = true;
        // After a commit, remove this target's marked temporaries that killed writers left
        // in the folder. Costs one read of the folder.
        bool removeLeftTemporaries = true;
    };

    // Prepares the replacement of `target`. A symbolic link is followed, also when it
    // points to nothing yet (the file is then created where it points), so the link stays;
    // a link another user put in a shared folder is not (see WriteTarget). Throws
    // FileError naming `target` when the links form a loop, when a link may not be
    // followed, when the file that would be replaced is not a regular file (a folder,
    // FIFO, socket or device), when a new file's name is longer than the folder allows, or
    // when the folder cannot take a new file.
    explicit AtomicFile(std::filesystem::path target);
    AtomicFile(std::filesystem::path target, Options options);
    // Removes the temporary file unless commit() succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Where the new content is written. The stream is buffered; a write error puts it in
    // the bad state and is reported by commit() with the system's reason.
    std::ostream& stream();
    // Writes `parts`, one after the other, after what the stream holds: straight from their
    // memory, many in one system call, without a copy through the stream's buffer (for
    // writers of many large blocks). Throws FileError as a failed write of the stream does.
    void writeParts(std::span<const std::span<const std::uint8_t>> parts);

    // Flushes, syncs to disk and gives the content a temporary name beside the target,
    // without touching the target: what a set of files does for each before it puts any
    // in place, so that a failure leaves all of them as they were. The stream is gone
    // afterwards; the lock is held until commit() or destruction. Throws as commit().
    void prepare();

    // Flushes, syncs to disk, gives the file its name and renames it over the target
    // (after prepare(): the rename alone). Throws FileError naming the target and the
    // reason ("cannot write: No space left on device", ...); the temporary file is then
    // removed and the old target is unchanged.
    void commit();

    // How many AtomicFiles may be prepared at once: each holds its file and its folder
    // open. Raises the process's soft limit of open files towards its hard limit when
    // fewer than `wanted` would fit.
    static std::size_t openableAtOnce(std::size_t wanted = 0);

    // The file that will be replaced (after following symbolic links).
    std::filesystem::path target() const;

private:
    friend class AtomicFileSet;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Several files replaced all or none: each is written to its own temporary; only when
// every one is complete on disk are they put in place, one rename each. A failure before
// that (a full disk, a name too long, a folder where a file should go) leaves every
// target as it was.
class AtomicFileSet {
public:
    // A new member replacing `target` (see AtomicFile's constructor for what is refused).
    // Write its content, then call prepare() on it or leave that to commit(). Throws
    // FileError also when the system would not let this many files stay open.
    AtomicFile& add(std::filesystem::path target);

    // Prepares every member, then puts them all in place; then removes the temporaries
    // that killed writers left for any of the targets. Throws FileError naming the file
    // that failed; when that happens while renaming (after every file was complete), the
    // message says how many were replaced before it.
    void commit();

    std::size_t size() const { return files_.size(); }

private:
    std::vector<std::unique_ptr<AtomicFile>> files_;
};

} // namespace qrb
