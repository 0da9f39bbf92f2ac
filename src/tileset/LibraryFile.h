#pragma once
// Tile library files on disk: the one place that opens and saves them, for the editor
// window and for qrbtool alike.

#include "core/FileError.h"
#include "core/MemorySize.h"
#include "core/Progress.h"
#include "tileset/QrbReader.h"
#include "tileset/TileSet.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace qrb {

// Opening or saving a library file failed. what() is one line naming the file and, for
// bad content, the tile and byte offset: "PATH: tile 3, byte 1234: the file ends inside
// the full image's pixel rows", "PATH: cannot open: Permission denied".
class LibraryFileError : public FileError {
public:
    LibraryFileError(std::filesystem::path path, const std::string& reason)
        : FileError(std::move(path), reason) {}
    LibraryFileError(std::filesystem::path path, const std::string& reason, int tile,
                     std::uint64_t offset)
        : FileError(std::move(path), reason), tile_(tile), offset_(offset) {}

    // For bad content: the tile number (0 = file header) and byte offset; empty for
    // failures of the file system (cannot open, cannot write, ...).
    std::optional<int> tile() const { return tile_; }
    std::optional<std::uint64_t> offset() const { return offset_; }

private:
    std::optional<int> tile_;
    std::optional<std::uint64_t> offset_;
};

class LibraryFile {
public:
    // Reads the library at `path` (see QrbReader for what is accepted). Memory use stays
    // close to the pixel bytes of the result: the file is streamed, never held whole. A
    // library whose images would take more than `budget` bytes once read is refused before
    // any of them is read: "PATH: its images need 3 GiB of memory once read, more than the
    // limit of 2 GiB". Throws LibraryFileError.
    static TileSet load(const std::filesystem::path& path, const ProgressCallback& progress = {},
                        std::uint64_t budget = defaultMemoryBudget());

    // Checks the library at `path` as load() does and returns what its headers say,
    // without reading or decoding any pixel. Throws LibraryFileError with the message
    // load() would give for bad content.
    static LibraryHeaders inspect(const std::filesystem::path& path);

    // Writes the library at `from` to `to` in the canonical layout, one tile at a time, so
    // memory holds one tile whatever the size of the library. `from` is checked and
    // refused as load() does, but the budget applies to its largest tile; `to` is replaced
    // atomically as by save() and left as it was on any failure. Returns the tile count.
    // Throws LibraryFileError naming the file concerned.
    static int convert(const std::filesystem::path& from, const std::filesystem::path& to,
                       std::uint64_t budget = defaultMemoryBudget());

    // Writes `set` (or only the tiles in `subset`: 1-based, strictly ascending) to `path`
    // in the canonical layout (see QrbWriter), atomically (see AtomicFile): the bytes go to
    // a temporary file in the same folder, which is flushed, synced and renamed over
    // `path`. On any failure the temporary file is removed, an existing file at `path` is
    // left exactly as it was, and LibraryFileError says why. Progress as in
    // QrbWriter::write.
    // The path is used as given; adding the ".qrb" extension is the caller's rule.
    static void save(const std::filesystem::path& path, const TileSet& set,
                     std::optional<std::span<const int>> subset = std::nullopt,
                     const ProgressCallback& progress = {});
};

} // namespace qrb
