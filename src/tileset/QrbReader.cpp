#include "tileset/QrbReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <streambuf>

namespace qrb {

namespace {

std::string describePlace(int tile, std::uint64_t offset) {
    return (tile == 0 ? std::string("file header") : "tile " + std::to_string(tile)) + ", byte " +
           std::to_string(offset);
}

// Smallest possible tile entry: colour, and two 1 x 1 24-bit blocks. Used only to keep
// the up-front reservation proportional to the bytes that are really there.
constexpr std::uint64_t kMinTileEntryBytes = 4 + 2 * (4 + 40 + 4);

// Reads little-endian items from a stream holding a known number of bytes, refusing any
// item that the remaining bytes cannot hold.
class Source {
public:
    Source(std::istream& in, std::uint64_t size) : in_(in), size_(size) {}

    std::uint64_t offset() const { return offset_; }
    std::uint64_t remaining() const { return size_ - offset_; }
    void setTile(int tile) { tile_ = tile; }
    int tile() const { return tile_; }

    [[noreturn]] void fail(std::uint64_t offset, const std::string& problem) const {
        throw QrbFormatError(tile_, offset, problem);
    }

    // Refuses, at the current offset, an item of `n` bytes that the file cannot hold.
    void require(std::uint64_t n, const std::string& item) const {
        if (n > remaining()) {
            fail(offset_, "the file ends inside " + item + " (" + std::to_string(n) +
                              " bytes needed, " + std::to_string(remaining()) + " left)");
        }
    }

    void read(void* into, std::size_t n, const std::string& item) {
        require(n, item);
        in_.read(static_cast<char*>(into), static_cast<std::streamsize>(n));
        if (static_cast<std::size_t>(in_.gcount()) != n) {
            throw std::runtime_error("the file became shorter while it was being read");
        }
        offset_ += n;
    }

    std::uint32_t u32(const std::string& item) {
        std::array<std::uint8_t, 4> b{};
        read(b.data(), b.size(), item);
        return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
               std::uint32_t(b[3]) << 24;
    }
    std::int32_t i32(const std::string& item) { return static_cast<std::int32_t>(u32(item)); }

private:
    std::istream& in_;
    std::uint64_t size_;
    std::uint64_t offset_ = 0;
    int tile_ = 0;
};

std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// Header field offsets within the 40 bytes.
constexpr std::uint64_t kWidthField = 4;
constexpr std::uint64_t kHeightField = 8;
constexpr std::uint64_t kBitCountField = 14;
constexpr std::uint64_t kCompressionField = 16;

BitmapInfoHeader parseHeader(const std::uint8_t* b) {
    BitmapInfoHeader h;
    h.size = le32(b);
    h.width = static_cast<std::int32_t>(le32(b + 4));
    h.height = static_cast<std::int32_t>(le32(b + 8));
    h.planes = le16(b + 12);
    h.bitCount = le16(b + 14);
    h.compression = le32(b + 16);
    h.sizeImage = le32(b + 20);
    h.xPelsPerMeter = static_cast<std::int32_t>(le32(b + 24));
    h.yPelsPerMeter = static_cast<std::int32_t>(le32(b + 28));
    h.clrUsed = le32(b + 32);
    h.clrImportant = le32(b + 36);
    return h;
}

std::uint8_t expand5(unsigned v) {
    return static_cast<std::uint8_t>((v << 3) | (v >> 2));
}

// Converts one stored row of an image that is not 24-bit into 24-bit pixels.
void convertRow(const std::uint8_t* in, std::uint8_t* out, std::int32_t width, unsigned bits,
                const std::array<Rgb, 256>& table) {
    auto put = [&out](Rgb c) {
        out[0] = c.blue;
        out[1] = c.green;
        out[2] = c.red;
        out += 3;
    };
    switch (bits) {
    case 1:
        for (std::int32_t x = 0; x < width; ++x) {
            put(table[(in[x >> 3] >> (7 - (x & 7))) & 1]);
        }
        break;
    case 4:
        for (std::int32_t x = 0; x < width; ++x) {
            put(table[(x & 1) ? (in[x >> 1] & 0x0F) : (in[x >> 1] >> 4)]);
        }
        break;
    case 8:
        for (std::int32_t x = 0; x < width; ++x) {
            put(table[in[x]]);
        }
        break;
    case 16:
        for (std::int32_t x = 0; x < width; ++x) {
            const unsigned v = le16(in + 2 * x);
            put(Rgb{expand5((v >> 10) & 31), expand5((v >> 5) & 31), expand5(v & 31)});
        }
        break;
    case 32:
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint8_t* p = in + 4 * x;
            put(Rgb{p[2], p[1], p[0]});
        }
        break;
    default:
        break;
    }
}

// Reads one image block: block length, header, colour table, rows.
DibImage readImage(Source& src, std::int32_t& blockLength, BitmapInfoHeader& header,
                   const std::string& name) {
    blockLength = src.i32("the " + name + " block length");

    const std::uint64_t headerStart = src.offset();
    std::array<std::uint8_t, 40> raw{};
    src.read(raw.data(), raw.size(), "the " + name + " header");
    header = parseHeader(raw.data());

    if (header.width <= 0 || header.width > DibImage::kMaxDimension) {
        src.fail(headerStart + kWidthField, "the " + name + " width " +
                                                std::to_string(header.width) +
                                                " is not between 1 and 16384");
    }
    if (header.height <= 0 || header.height > DibImage::kMaxDimension) {
        src.fail(headerStart + kHeightField, "the " + name + " height " +
                                                 std::to_string(header.height) +
                                                 " is not between 1 and 16384");
    }
    const unsigned bits = header.bitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        src.fail(headerStart + kBitCountField,
                 "the " + name + " has " + std::to_string(bits) +
                     " bits per pixel; only 1, 4, 8, 16, 24 and 32 can be read");
    }
    if (header.compression != 0) {
        src.fail(headerStart + kCompressionField, "the " + name + " is compressed (compression " +
                                                      std::to_string(header.compression) +
                                                      "), which cannot be read");
    }

    std::array<Rgb, 256> table{};
    if (bits <= 8) {
        const std::size_t entries = std::size_t(1) << bits;
        std::array<std::uint8_t, 256 * 4> rawTable{};
        src.read(rawTable.data(), entries * 4, "the " + name + " colour table");
        for (std::size_t i = 0; i < entries; ++i) {
            table[i] = Rgb{rawTable[4 * i + 2], rawTable[4 * i + 1], rawTable[4 * i]};
        }
    }

    // Width and height are at most 16384, so these products cannot overflow 64 bits.
    const auto width = static_cast<std::uint64_t>(header.width);
    const auto height = static_cast<std::uint64_t>(header.height);
    const std::uint64_t rowBytes = (width * bits + 31) / 32 * 4;
    src.require(rowBytes * height, "the " + name + "'s pixel rows");

    DibImage image(header.width, header.height);
    const std::size_t stride = image.stride();
    if (bits == 24) {
        // Same row layout as in memory: one read, then clear whatever the pad bytes held.
        src.read(image.bytes().data(), image.bytes().size(), "the " + name + "'s pixel rows");
        const std::size_t used = static_cast<std::size_t>(width) * 3;
        if (used != stride) {
            for (std::int32_t r = 0; r < header.height; ++r) {
                std::memset(image.bufferRow(r) + used, 0, stride - used);
            }
        }
    } else {
        std::vector<std::uint8_t> row(rowBytes);
        for (std::int32_t r = 0; r < header.height; ++r) {
            src.read(row.data(), row.size(), "the " + name + "'s pixel rows");
            convertRow(row.data(), image.bufferRow(r), header.width, bits, table);
        }
    }
    return image;
}

// A read-only stream buffer over bytes in memory.
class MemoryBuffer : public std::streambuf {
public:
    explicit MemoryBuffer(std::span<const std::uint8_t> bytes) {
        // The get area is never written through; the cast only satisfies the interface.
        char* begin = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
        setg(begin, begin, begin + bytes.size());
    }
};

} // namespace

QrbFormatError::QrbFormatError(int tile, std::uint64_t offset, const std::string& problem)
    : std::runtime_error(describePlace(tile, offset) + ": " + problem), tile_(tile),
      offset_(offset), problem_(problem) {}

TileSet QrbReader::read(std::istream& in, std::uint64_t size, const ProgressCallback& progress) {
    Source src(in, size);
    TileSet set;

    src.read(set.signature.data(), set.signature.size(), "the signature");
    std::array<std::uint8_t, 2> version{};
    src.read(version.data(), version.size(), "the version");
    set.version = static_cast<std::int16_t>(le16(version.data()));
    const std::uint64_t countOffset = src.offset();
    const std::int32_t count = src.i32("the tile count");
    if (count < 0) {
        src.fail(countOffset, "the tile count " + std::to_string(count) + " is negative");
    }
    if (count > TileSet::kMaxTiles) {
        src.fail(countOffset,
                 "the tile count " + std::to_string(count) + " is above the limit of 32767 tiles");
    }

    const auto plausible = static_cast<std::size_t>(
        std::min<std::uint64_t>(std::uint64_t(count), src.remaining() / kMinTileEntryBytes));
    set.headerRecords.reserve(plausible + 1);
    set.headerRecords.emplace_back();

    if (progress) {
        progress(0, count);
    }
    for (int i = 1; i <= count; ++i) {
        src.setTile(i);
        TileHeaderRecord record;
        Tile tile;
        record.smallColour = src.u32("the small colour");
        tile.smallColour = record.smallColour;
        tile.full = readImage(src, record.fullBlockLength, record.fullHeader, "full image");
        tile.half = readImage(src, record.halfBlockLength, record.halfHeader, "half image");
        set.append(std::move(tile));
        set.headerRecords.push_back(record);
        if (progress) {
            progress(i, count);
        }
    }
    return set;
}

TileSet QrbReader::read(std::span<const std::uint8_t> bytes, const ProgressCallback& progress) {
    MemoryBuffer buffer(bytes);
    std::istream in(&buffer);
    return read(in, bytes.size(), progress);
}

} // namespace qrb
