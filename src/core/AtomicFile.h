#pragma once
// Replacing a file all at once. The new content goes to a temporary file in the target's
// folder; commit() flushes it to disk and renames it over the target. Until then the old
// file is untouched, and a write that fails (or is abandoned) leaves it exactly as it was.

#include <filesystem>
#include <memory>
#include <ostream>

namespace qrb {

class AtomicFile {
public:
    // Creates the temporary file beside `target`. A symbolic link as target is followed,
    // so the file it points to is replaced and the link stays. Throws FileError naming
    // `target` when the folder cannot take a new file.
    explicit AtomicFile(std::filesystem::path target);
    // Removes the temporary file unless commit() succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Where the new content is written. The stream is buffered; a write error puts it in
    // the bad state and is reported by commit() with the system's reason.
    std::ostream& stream();

    // Flushes, syncs to disk, closes and renames over the target. Throws FileError naming
    // the target and the reason ("cannot write: No space left on device", ...); the
    // temporary file is then removed and the old target is unchanged.
    void commit();

    // The file that will be replaced (after following a symbolic link).
    const std::filesystem::path& target() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace qrb
