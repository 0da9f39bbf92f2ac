#pragma once
// Replacing a file all at once. The new content goes to a temporary file in the target's
// folder; commit() flushes it to disk and renames it over the target. Until then the old
// file is untouched, and a write that fails (or is abandoned, or killed) leaves it exactly
// as it was.
//
// The temporary has no name while it is written (O_TMPFILE), so a writer that is killed
// leaves nothing behind; it is linked into the folder only when complete. Where the file
// system cannot hold unnamed files, a hidden ".NAME.XXXXXX" file is written instead; such
// files left by a killed writer are removed by a later save of the same target once they
// are a day old. Temporary names never exceed the folder's name length limit: NAME is the
// target's name, shortened when needed.

#include <filesystem>
#include <memory>
#include <ostream>

namespace qrb {

class AtomicFile {
public:
    struct Options {
        // Write into an unnamed file where the file system allows it. Off: always a named
        // temporary (what file systems without unnamed files get).
        bool unnamedTemporary = true;
        // After a commit, remove this target's hidden temporaries that writers killed more
        // than a day ago left in the folder. Costs one read of the folder.
        bool removeStaleTemporaries = true;
    };

    // Prepares the replacement of `target`. A symbolic link is followed, also when it
    // points to nothing yet (the file is then created where it points), so the link stays.
    // Throws FileError naming `target` when the links form a loop, when the file that
    // would be replaced is not a regular file (a folder, FIFO, socket or device), or when
    // the folder cannot take a new file.
    explicit AtomicFile(std::filesystem::path target);
    AtomicFile(std::filesystem::path target, Options options);
    // Removes the temporary file unless commit() succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Where the new content is written. The stream is buffered; a write error puts it in
    // the bad state and is reported by commit() with the system's reason.
    std::ostream& stream();

    // Flushes, syncs to disk, gives the file its name and renames it over the target.
    // Throws FileError naming the target and the reason ("cannot write: No space left on
    // device", ...); the temporary file is then removed and the old target is unchanged.
    void commit();

    // The file that will be replaced (after following symbolic links).
    const std::filesystem::path& target() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace qrb
