#pragma once
// Reading a tile library (.qrb) from bytes.
//
// The layout: a 10-byte file header (4 signature bytes, 16-bit version, 32-bit tile
// count), then per tile its small colour (32-bit), the full image block and the half
// image block. An image block is a 32-bit block length, a 40-byte bitmap information
// header, an optional colour table and the pixel rows. All integers are little-endian.
//
// What the reader accepts:
// * 24-bit images (rows of blue, green, red, padded to a multiple of 4 bytes);
// * 8-bit images with a 256-entry colour table (blue, green, red, reserved) and one index
//   byte per pixel, rows padded to a multiple of 4 bytes;
// * 1- and 4-bit packed palette images (2 or 16 table entries, rows padded to 4 bytes);
// * 16-bit (5-5-5) and 32-bit (blue, green, red, unused) direct colour images.
// Every image is converted to the program's 24-bit DibImage. The signature and version are
// kept in the TileSet but never checked; block lengths are kept in the header records but
// never used; bytes after the last tile are never read.
//
// What it refuses, with a QrbFormatError naming tile, byte offset and problem:
// a tile count below 0 or above 32767; a width or height <= 0 or above 16384; any other
// bit count; a compressed image; a file that ends before its last tile is complete.
// Every size is checked against the bytes that remain before anything is allocated.
//
// Memory: decoding packs nothing, so a 1-bit image takes 24 times its stored size. read()
// therefore takes a budget for the decoded bytes of the whole library. It reads in two
// passes: the first checks every header (seeking past the pixels), so a damaged or
// truncated library, or one over the budget (LibraryTooLarge), is refused before any pixel
// is allocated; the second reads the pixels into exactly the memory the first pass counted,
// trusting its sizes. So the second pass finds every header as the first left it, or
// throws LibraryChanged: a file rewritten, replaced or resized between the passes never
// gives an over-read or a library mixed of two files. When the system will not give the
// memory, read() throws NotEnoughMemory saying how much it was. scan() reads the headers
// alone.

#include "core/InputFile.h"
#include "core/MemorySize.h"
#include "core/Progress.h"
#include "tileset/TileSet.h"

#include <cstdint>
#include <functional>
#include <istream>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace qrb {

// A library whose bytes cannot be read as a tile library.
class QrbFormatError : public std::runtime_error {
public:
    // `tile` is the 1-based tile number, 0 for the file header; `offset` is the byte
    // offset (from the start of the library) of the item that is wrong or missing.
    QrbFormatError(int tile, std::uint64_t offset, const std::string& problem);

    int tile() const { return tile_; }
    std::uint64_t offset() const { return offset_; }
    // The problem alone, e.g. "the file ends inside the full image's pixel rows".
    const std::string& problem() const { return problem_; }
    // what() reads "tile 3, byte 1234: PROBLEM" or "file header, byte 6: PROBLEM".

private:
    int tile_;
    std::uint64_t offset_;
    std::string problem_;
};

// A library whose decoded images would take more memory than the budget allows.
class LibraryTooLarge : public std::runtime_error {
public:
    // `whatNeeds` opens the message: "its images need", "its largest tile needs".
    LibraryTooLarge(std::uint64_t needed, std::uint64_t budget,
                    const char* whatNeeds = "its images need");
    std::uint64_t needed() const { return needed_; }
    std::uint64_t budget() const { return budget_; }
    // what() reads "its images need 48 MiB of memory once read, more than the limit of
    // 16 MiB".

private:
    std::uint64_t needed_;
    std::uint64_t budget_;
};

// A library file that changed while it was being read (between the passes, or a file that
// ended before the size it had when it was opened). what() reads "the library changed
// while it was read".
class LibraryChanged : public std::runtime_error {
public:
    LibraryChanged();
};

// What the headers of a library say, without its pixels.
struct LibraryHeaders {
    std::array<std::uint8_t, 4> signature{0, 0, 0, 0};
    std::int16_t version = 0;
    // Index 0 holds no tile; indices 1..count, as TileSet::headerRecords.
    std::vector<TileHeaderRecord> records;
    // Bytes all images take once read (24-bit rows, as DibImage holds them).
    std::uint64_t decodedBytes = 0;
    // The most any one tile's two images take once read.
    std::uint64_t largestTileBytes = 0;

    int count() const { return static_cast<int>(records.size()) - 1; }
};

class QrbReader {
public:
    // Reads a library from `in`, which must be positioned at the library's first byte and
    // hold `size` bytes from there (bytes beyond `size` are never read); the stream must be
    // able to seek back to that first byte. Progress reports (0, N) before the first tile
    // and (i, N) after tile i. Throws QrbFormatError for bad content, LibraryTooLarge when
    // the decoded images would take more than `budget` bytes, and std::runtime_error when
    // the stream itself fails to deliver bytes that `size` promised.
    static TileSet read(std::istream& in, std::uint64_t size, const ProgressCallback& progress = {},
                        std::uint64_t budget = defaultMemoryBudget());

    // Reads a library held in memory.
    static TileSet read(std::span<const std::uint8_t> bytes, const ProgressCallback& progress = {},
                        std::uint64_t budget = defaultMemoryBudget());

    // Reads the library in `file` as read() does, and also throws LibraryChanged when the
    // file changes on disk (InputFile::unchanged()) before the pixels are read or while
    // they are.
    static TileSet read(InputFile& file, const ProgressCallback& progress = {},
                        std::uint64_t budget = defaultMemoryBudget());

    // Reads a library tile by tile for a caller that keeps one tile at a time: `start` gets
    // the tile count after the file header, then `each` every tile in order, with images
    // of their own memory. Refuses what read() refuses, with the same errors (the tiles
    // before a bad one have been handed over by then), except that the budget applies to
    // the largest tile: one tile is held at a time.
    static void readEach(std::istream& in, std::uint64_t size,
                         const std::function<void(int)>& start,
                         const std::function<void(Tile&&)>& each,
                         std::uint64_t budget = defaultMemoryBudget());
    // The same for a file, which must not change while it is read (as read() above).
    static void readEach(InputFile& file, const std::function<void(int)>& start,
                         const std::function<void(Tile&&)>& each,
                         std::uint64_t budget = defaultMemoryBudget());

    // Called by read() and readEach() between their two passes, when set: where tests
    // change the file being read. Empty outside tests.
    static std::function<void()>& passBoundaryForTesting();

    // Checks the whole structure as read() does -- every header, size and length and the
    // count -- and refuses exactly what read() refuses, with the same QrbFormatError, but
    // seeks past the colour tables and pixel rows instead of reading them. Memory use does
    // not depend on the size of the images.
    static LibraryHeaders scan(std::istream& in, std::uint64_t size);
    static LibraryHeaders scan(std::span<const std::uint8_t> bytes);
};

} // namespace qrb
