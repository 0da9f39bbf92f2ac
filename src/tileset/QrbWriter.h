#pragma once
// Writing a tile library (.qrb) in its canonical layout: signature "QRBB", version 256,
// the tile count, and per tile its small colour and both images as 24-bit blocks (block
// length 40 + stride x height, a bitmap information header with planes 1, bit count 24,
// compression 0, image size stride x height and zeros after it, then the rows). No colour
// tables, nothing after the last tile. A library that was read from a canonical file is
// written back byte for byte. The signature and version held by the TileSet are ignored.

#include "core/Progress.h"
#include "tileset/TileSet.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <span>
#include <vector>

namespace qrb {

class QrbWriter {
public:
    using Bytes = std::span<const std::uint8_t>;
    // Takes the next bytes of a library in parts, in order. The parts point into the tiles'
    // images and into header bytes that last until the sink returns.
    using PartsSink = std::function<void(std::span<const Bytes>)>;

    // Writes every tile, in tile order. Progress reports (0, N) first and (i, N) after
    // tile i. Throws std::invalid_argument, before writing anything, when a tile has an
    // empty image (a file holding it could not be read back), and std::runtime_error when
    // the stream fails.
    static void write(std::ostream& out, const TileSet& set, const ProgressCallback& progress = {});

    // Writes only the tiles numbered in `tileNumbers` (1-based, strictly ascending, each
    // within 1..set.count()); the file's count is their number and the gaps are closed.
    // An empty list gives a library of 0 tiles. Progress reports (0, set.count()) first
    // and (i, set.count()) after writing tile i, so a bar over all tiles jumps the gaps.
    // Throws std::invalid_argument for a bad list or an empty image, before writing.
    static void write(std::ostream& out, const TileSet& set, std::span<const int> tileNumbers,
                      const ProgressCallback& progress = {});

    // write() for a writer that takes many parts in one go (a gathering write to a file):
    // the same bytes, handed to `sink` a few hundred tiles at a time, without a copy of the
    // images' rows. Progress reports as write()'s, each tile once its part was taken.
    static void write(const TileSet& set, std::span<const int> tileNumbers,
                      const ProgressCallback& progress, const PartsSink& sink);

    // The parts of write() for a caller that writes tiles as they come: the file header
    // for `count` tiles, then each tile in order. writeTile throws std::invalid_argument,
    // before writing, for a tile with an empty image; both throw std::runtime_error when
    // the stream fails.
    static void writeHeader(std::ostream& out, int count);
    static void writeTile(std::ostream& out, const Tile& tile);

    // The same bytes in memory.
    static std::vector<std::uint8_t> toBytes(const TileSet& set);
    static std::vector<std::uint8_t> toBytes(const TileSet& set, std::span<const int> tileNumbers);

    // Size in bytes of the library file holding all tiles of `set`.
    static std::uint64_t fileSize(const TileSet& set);
};

} // namespace qrb
