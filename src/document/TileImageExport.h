#pragma once
// Export Images: tiles' full images, and optionally their half images, as PNG or BMP
// files numbered as "Create bitmaps from QRB file" numbers them -- PREFIX + tile number
// (castle3.png), the half image beside it (castle3_half.png) -- all or none. The window's
// Export Images and qrbtool export write through here.

#include "core/FileError.h"
#include "core/Progress.h"
#include "tileset/TileSet.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stop_token>
#include <vector>

namespace qrb {

enum class ImageFormat { Png, Bmp };

struct ImageExport {
    ImageFormat format = ImageFormat::Png;
    bool halfImages = false;
    // The threads the pictures are made on (0: every core; the files are the same), and
    // the memory those in hand may take.
    int threads = 0;
    std::uint64_t memory = UINT64_MAX;

    // The chosen name without a trailing extension of the format (any case).
    std::filesystem::path prefixFor(const std::filesystem::path& chosenName) const;
    // The files tile `number` gives under `prefix`: the full image's, then the half's.
    std::vector<std::filesystem::path> fileNamesFor(const std::filesystem::path& prefix,
                                                    int number) const;
    // Writes the tiles `numbers` of `set`; returns the files written, in order, or
    // nothing when `stop` ended the export before any was put in place. Throws FileError
    // as BitmapExporter::writeAll() does.
    std::optional<std::vector<std::filesystem::path>> write(const TileSet& set,
                                                            const std::vector<int>& numbers,
                                                            const std::filesystem::path& chosenName,
                                                            const ProgressCallback& progress = {},
                                                            std::stop_token stop = {}) const;
};

} // namespace qrb
