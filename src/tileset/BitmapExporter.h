#pragma once
// Exporting the full-size image of every tile as its own bitmap file, numbered in tile
// order: for the chosen name "castle" (or "castle.bmp", "castle.BMP") the files are
// castle1.bmp, castle2.bmp, ... castle12.bmp, without leading zeros, in the chosen
// folder, all or none. Half-size images and small colours are not exported.

#include "core/FileError.h"
#include "core/Progress.h"
#include "tileset/TileSet.h"

#include <filesystem>
#include <functional>
#include <ostream>
#include <stop_token>
#include <string>
#include <vector>

namespace qrb {

// How an export of several files shares its work: files are made on `threads` threads
// (0: every core), each with the bytes it has on one, at most `window` of them in hand at
// once; `stop` ends the export early.
struct WriteBatch {
    int threads = 1;
    std::size_t window = 1;
    std::stop_token stop;
};

class BitmapExporter {
public:
    // The chosen name with a trailing ".bmp" removed, compared without regard to case.
    static std::filesystem::path prefixFor(const std::filesystem::path& chosenName);

    // PREFIX + tile number + ".bmp" (prefix as returned by prefixFor).
    static std::filesystem::path fileNameFor(const std::filesystem::path& prefix, int tileNumber);

    // Writes tile i's full image to fileNameFor(prefixFor(chosenName), i) for i = 1..count,
    // replacing existing files without asking. Progress reports (0, N) first and (i, N)
    // after file i. All or none: every bitmap is written to its temporary first and put in
    // place only when all are complete, so a failure (FileError naming the file, "...
    // (nothing was exported; ...)") leaves every file as it was. Only when the system
    // would not let N files stay open at once are they written one after another; then
    // the export stops at the first file that cannot be written and says what was done:
    // "set4.bmp: cannot replace the file: it is a folder (the export stopped here; 3 of 6
    // bitmaps were written, set1.bmp to set3.bmp)".
    static void exportAll(const TileSet& set, const std::filesystem::path& chosenName,
                          const ProgressCallback& progress = {});

    // One file of an export and what writes its bytes (it may be called on any thread).
    struct File {
        std::filesystem::path name;
        std::function<void(std::ostream&)> write;
    };
    // The most files a thread takes at once, when files are quick to make.
    static constexpr std::size_t kGroupFiles = 8;
    // Writes `files` as exportAll() writes its bitmaps, all or none, the messages naming
    // them as `kind` ("bitmaps", "pictures"); a failure names the first file in order
    // that fails. Returns false when `batch.stop` ended it: no file was replaced then
    // (written one after another, it throws FileError saying how many were).
    static bool writeAll(const std::vector<File>& files, const std::string& kind,
                         const ProgressCallback& progress = {}, const WriteBatch& batch = {});
};

} // namespace qrb
