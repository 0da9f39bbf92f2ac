#pragma once
// One image as a standard bitmap (.bmp) file: the 14-byte file header ("BM", file size,
// two reserved zeros, pixel offset 54), the 40-byte information header (24 bits, no
// compression, positive height) and the 24-bit bottom-up rows, exactly the image's pixels.

#include "tileset/DibImage.h"

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <vector>

namespace qrb {

class BmpWriter {
public:
    // The whole file in memory. Throws std::invalid_argument for an empty image.
    static std::vector<std::uint8_t> toBytes(const DibImage& image);

    // Writes the file's bytes to `out`; throws std::runtime_error when the stream fails.
    static void write(std::ostream& out, const DibImage& image);

    // Writes (or replaces, atomically) the file at `path`. Throws FileError naming `path`.
    // Leaves the folder's other files alone (an export writes thousands of bitmaps into one
    // folder; reading the folder for each would make it quadratic).
    static void writeFile(const std::filesystem::path& path, const DibImage& image);
};

} // namespace qrb
