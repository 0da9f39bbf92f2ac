#pragma once
// Builds tile library bytes for tests, field by field, without going through the
// program's own writer: well-formed libraries in every bit depth the reader accepts, and,
// by overriding fields or cutting the bytes at the offsets layout() reports, damaged ones.
//
//   QrbFixture lib;
//   lib.addTile(0x000000FF, FixtureImage::of(solid(2, 2, red)), FixtureImage::of(...));
//   lib.tiles[0].full.width = 0;                      // a damaged field
//   std::size_t at = lib.layout().tiles[0].full.header;

#include "tileset/DibImage.h"
#include "tileset/TileSet.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qrb::test {

// One image block as it will be stored.
struct FixtureImage {
    // The picture. Stored in `bits` bits per pixel: 1, 4 and 8 build a colour table of
    // the picture's colours (which must fit in it); 16 stores 5-5-5, 24 and 32 direct.
    DibImage picture;
    std::uint16_t bits = 24;

    // Raw overrides of stored fields; empty means "the value a correct file has".
    std::optional<std::int32_t> blockLength;
    std::optional<std::int32_t> width;  // stored width, independent of the picture
    std::optional<std::int32_t> height; // stored height
    std::optional<std::uint16_t> storedBits;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0xFFFFFFFF; // 0xFFFFFFFF: the correct size
    std::int32_t xPelsPerMeter = 0;
    std::uint8_t padByte = 0; // value of row pad bytes and unused colour table entries

    static FixtureImage of(DibImage picture, std::uint16_t bits = 24);

    // What the reader must make of this block: the picture, with 16-bit colours rounded
    // to 5 bits per channel the way 5-5-5 pixels expand.
    DibImage expected() const;
};

// Byte offsets of the parts of one image block.
struct ImageOffsets {
    std::size_t header = 0;
    std::size_t table = 0;  // colour table (== pixels when there is none)
    std::size_t pixels = 0; // first row
    std::size_t end = 0;    // first byte after the block
};

struct TileOffsets {
    ImageOffsets full;
    ImageOffsets half;
};

struct FixtureLayout {
    std::vector<TileOffsets> tiles;
    std::size_t end = 0; // first byte after the last tile (before any trailing bytes)
};

class QrbFixture {
public:
    struct TileEntry {
        std::uint32_t smallColour = 0;
        FixtureImage full;
        FixtureImage half;
    };

    std::array<std::uint8_t, 4> signature{'Q', 'R', 'B', 'B'};
    std::int16_t version = 256;
    std::optional<std::int32_t> count; // stored count; empty: the number of tiles added
    std::vector<TileEntry> tiles;
    std::vector<std::uint8_t> trailing; // bytes after the last tile

    QrbFixture& addTile(std::uint32_t smallColour, FixtureImage full, FixtureImage half);
    // A 24-bit tile of two solid images.
    QrbFixture& addSolidTile(std::uint32_t smallColour, std::int32_t width, std::int32_t height,
                             Rgb colour);

    std::vector<std::uint8_t> bytes() const;
    FixtureLayout layout() const;
    // Writes bytes() to `path` and returns it.
    std::filesystem::path writeTo(const std::filesystem::path& path) const;
};

// Pictures for fixtures.
DibImage solid(std::int32_t width, std::int32_t height, Rgb colour);
// Every pixel different from its neighbours; `seed` varies the content.
DibImage pattern(std::int32_t width, std::int32_t height, int seed);
// A pattern of at most `colours` different colours (for palette images).
DibImage fewColours(std::int32_t width, std::int32_t height, int colours, int seed = 0);
// A tile of pattern pictures (the half half as large) and a small colour from `seed`.
Tile patternTile(std::int32_t width, std::int32_t height, int seed);

} // namespace qrb::test
