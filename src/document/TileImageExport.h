#pragma once
// Export Images: tiles' full images, and optionally their half images, as PNG or BMP
// files numbered as "Create bitmaps from QRB file" numbers them -- PREFIX + tile number
// (castle3.png), the half image beside it (castle3_half.png) -- all or none. The window's
// Export Images and qrbtool export write through here.

#include "core/FileError.h"
#include "core/Progress.h"
#include "tileset/TileSet.h"

#include <filesystem>
#include <vector>

namespace qrb {

enum class ImageFormat { Png, Bmp };

struct ImageExport {
    ImageFormat format = ImageFormat::Png;
    bool halfImages = false;

    // The chosen name without a trailing extension of the format (any case).
    std::filesystem::path prefixFor(const std::filesystem::path& chosenName) const;
    // The files tile `number` gives under `prefix`: the full image's, then the half's.
    std::vector<std::filesystem::path> fileNamesFor(const std::filesystem::path& prefix,
                                                    int number) const;
    // Writes the tiles `numbers` of `set`; returns the files written, in order. Throws
    // FileError as BitmapExporter::exportAll() does.
    std::vector<std::filesystem::path> write(const TileSet& set, const std::vector<int>& numbers,
                                             const std::filesystem::path& chosenName,
                                             const ProgressCallback& progress = {}) const;
};

} // namespace qrb
