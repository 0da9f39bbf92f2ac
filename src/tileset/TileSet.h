#pragma once
// The open tile library: its ordered tiles and the state that goes with them.
// Tiles are numbered 1..count() without gaps, in strip order, which is file order.

#include "core/Colour.h"
#include "tileset/DibImage.h"

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

namespace qrb {

// The 40-byte bitmap information header, field by field, as the library file stores it.
struct BitmapInfoHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
    friend bool operator==(const BitmapInfoHeader&, const BitmapInfoHeader&) = default;
};

// The fixed part of one tile entry exactly as it was last read.
struct TileHeaderRecord {
    ColourValue smallColour = 0;
    std::int32_t fullBlockLength = 0;
    BitmapInfoHeader fullHeader;
    std::int32_t halfBlockLength = 0;
    BitmapInfoHeader halfHeader;
    friend bool operator==(const TileHeaderRecord&, const TileHeaderRecord&) = default;
};

struct Tile {
    DibImage full;
    DibImage half;
    ColourValue smallColour = 0; // 0x00BBGGRR, or a system colour with the top bit set
    friend bool operator==(const Tile&, const Tile&) = default;
};

// A tile taken out of a set together with the number it had there.
struct NumberedTile {
    int number = 0;
    Tile tile;
    friend bool operator==(const NumberedTile&, const NumberedTile&) = default;
};

class TileSet {
public:
    // The count is a signed 16-bit number in the file format's model.
    static constexpr int kMaxTiles = 32767;

    int count() const { return static_cast<int>(tiles_.size()); }
    bool isEmpty() const { return tiles_.empty(); }

    // Tile i, 1-based.
    const Tile& tile(int i) const { return tiles_.at(static_cast<std::size_t>(i - 1)); }
    Tile& tile(int i) { return tiles_.at(static_cast<std::size_t>(i - 1)); }
    const std::deque<Tile>& tiles() const { return tiles_; }

    // Appends a tile; throws std::length_error when the set already holds kMaxTiles.
    void append(Tile tile);
    // Removes tile i (1-based); the tiles behind it move up one place.
    void remove(int i);
    // Takes the tiles numbered `ascending` (strictly ascending, each in the set) out of the
    // set in one pass; the others close up. The tiles are moved, not copied.
    std::vector<NumberedTile> take(const std::vector<int>& ascending);
    // The inverse of take(): puts each tile back so that it has its number again.
    // Numbers must be strictly ascending and fit the grown set.
    void put(std::vector<NumberedTile> tiles);
    // Tile `from` becomes tile `to`; the tiles between move one place towards `from`.
    // Costs |to - from| moves of a tile, however large the set.
    void move(int from, int to);
    void clear();

    // As read from the file header; never written back (a save writes "QRBB", 256).
    std::array<std::uint8_t, 4> signature{0, 0, 0, 0};
    std::int16_t version = 0;
    // Index 0 holds no tile; indices 1..count as read by the last open.
    std::vector<TileHeaderRecord> headerRecords;

private:
    // Up to this many tiles are taken or put one by one; more in one linear pass.
    static constexpr std::size_t kFewTiles = 64;

    // A deque, so removing the first or the last tile of a large library costs the same
    // as removing it from a small one.
    std::deque<Tile> tiles_;
};

} // namespace qrb
