#include "tileset/QrbReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <optional>
#include <streambuf>
#include <string_view>

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
    void require(std::uint64_t n, std::string_view item) const {
        if (n > remaining()) {
            fail(offset_, "the file ends inside " + std::string(item) + " (" + std::to_string(n) +
                              " bytes needed, " + std::to_string(remaining()) + " left)");
        }
    }

    void read(void* into, std::size_t n, std::string_view item) {
        require(n, item);
        in_.read(static_cast<char*>(into), static_cast<std::streamsize>(n));
        if (static_cast<std::size_t>(in_.gcount()) != n) {
            throw LibraryChanged();
        }
        offset_ += n;
    }

    // Moves past `n` bytes without reading them.
    void skip(std::uint64_t n, std::string_view item) {
        require(n, item);
        if (!in_.seekg(static_cast<std::streamoff>(n), std::ios::cur)) {
            // A stream that cannot seek: read and drop the bytes instead.
            in_.clear();
            std::array<char, 4096> scratch{};
            for (std::uint64_t left = n; left > 0;) {
                const auto part =
                    static_cast<std::streamsize>(std::min<std::uint64_t>(left, scratch.size()));
                in_.read(scratch.data(), part);
                if (in_.gcount() != part) {
                    throw LibraryChanged();
                }
                left -= static_cast<std::uint64_t>(part);
            }
        }
        offset_ += n;
    }

    std::uint32_t u32(std::string_view item) {
        std::array<std::uint8_t, 4> b{};
        read(b.data(), b.size(), item);
        return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
               std::uint32_t(b[3]) << 24;
    }
    std::int32_t i32(std::string_view item) { return static_cast<std::int32_t>(u32(item)); }

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

// The items of one of a tile's two image blocks, as messages name them; made once, so that
// reading a tile builds no text.
struct ImageBlock {
    explicit ImageBlock(const std::string& image)
        : name(image), blockLength("the " + image + " block length"),
          header("the " + image + " header"), colourTable("the " + image + " colour table"),
          pixelRows("the " + image + "'s pixel rows") {}
    std::string name;
    std::string blockLength;
    std::string header;
    std::string colourTable;
    std::string pixelRows;
};

const ImageBlock& fullImage() {
    static const ImageBlock block("full image");
    return block;
}

const ImageBlock& halfImage() {
    static const ImageBlock block("half image");
    return block;
}

// Reads one image block's length and header and checks the header; leaves `src` at the
// colour table (or the pixel rows when there is none).
BitmapInfoHeader readImageHeader(Source& src, std::int32_t& blockLength, const ImageBlock& block) {
    const std::string& name = block.name;
    blockLength = src.i32(block.blockLength);

    const std::uint64_t headerStart = src.offset();
    std::array<std::uint8_t, 40> raw{};
    src.read(raw.data(), raw.size(), block.header);
    const BitmapInfoHeader header = parseHeader(raw.data());

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
    return header;
}

std::size_t colourTableEntries(const BitmapInfoHeader& header) {
    return header.bitCount <= 8 ? std::size_t(1) << header.bitCount : 0;
}

// Bytes of one stored row, padded to a multiple of 4. Width and height are at most 16384
// once the header is checked, so no product here can overflow 64 bits.
std::uint64_t storedRowBytes(const BitmapInfoHeader& header) {
    return (static_cast<std::uint64_t>(header.width) * header.bitCount + 31) / 32 * 4;
}

std::uint64_t decodedBytes(const BitmapInfoHeader& header) {
    return DibImage::strideFor(header.width) * static_cast<std::uint64_t>(header.height);
}

// Stored bytes of the colour table and rows after a checked header.
void skipImageData(Source& src, const BitmapInfoHeader& header, const ImageBlock& block) {
    src.skip(colourTableEntries(header) * 4, block.colourTable);
    src.skip(storedRowBytes(header) * static_cast<std::uint64_t>(header.height), block.pixelRows);
}

// Where the decoded rows of a library go: one chunk of a PixelArena holding the whole
// library, or a block of its own for each image (for a caller that keeps one tile at a
// time).
class DecodeTarget {
public:
    // `total`: the decoded bytes of the whole library, as its first pass counted them.
    DecodeTarget(std::uint64_t total, bool shared) : total_(total), shared_(shared) {}

    std::shared_ptr<PixelBlock> allocate(std::uint64_t decoded) {
        if (!shared_) {
            return PixelArena::single(static_cast<std::size_t>(decoded), false);
        }
        const std::uint64_t left = total_ > used_ ? total_ - used_ : decoded;
        used_ += decoded;
        return arena_.allocate(static_cast<std::size_t>(decoded), left);
    }

private:
    std::uint64_t total_;
    bool shared_;
    std::uint64_t used_ = 0;
    PixelArena arena_;
};

// Reads the file header; returns the tile count.
int readFileHeader(Source& src, std::array<std::uint8_t, 4>& signature, std::int16_t& version) {
    src.read(signature.data(), signature.size(), "the signature");
    std::array<std::uint8_t, 2> versionBytes{};
    src.read(versionBytes.data(), versionBytes.size(), "the version");
    version = static_cast<std::int16_t>(le16(versionBytes.data()));
    const std::uint64_t countOffset = src.offset();
    const std::int32_t count = src.i32("the tile count");
    if (count < 0) {
        src.fail(countOffset, "the tile count " + std::to_string(count) + " is negative");
    }
    if (count > TileSet::kMaxTiles) {
        src.fail(countOffset,
                 "the tile count " + std::to_string(count) + " is above the limit of 32767 tiles");
    }
    return count;
}

// Room for the header records of `count` tiles, but no more than the bytes left could
// describe.
std::vector<TileHeaderRecord> recordsFor(int count, const Source& src) {
    std::vector<TileHeaderRecord> records;
    records.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(
                        std::uint64_t(count), src.remaining() / kMinTileEntryBytes)) +
                    1);
    records.emplace_back();
    return records;
}

// A read-only stream buffer over bytes in memory.
class MemoryBuffer : public std::streambuf {
public:
    explicit MemoryBuffer(std::span<const std::uint8_t> bytes) {
        // The get area is never written through; the cast only satisfies the interface.
        char* begin = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
        setg(begin, begin, begin + bytes.size());
    }

protected:
    pos_type seekoff(off_type off, std::ios_base::seekdir dir,
                     std::ios_base::openmode which) override {
        const off_type base = dir == std::ios_base::beg   ? 0
                              : dir == std::ios_base::cur ? gptr() - eback()
                                                          : egptr() - eback();
        const off_type target = base + off;
        if (!(which & std::ios_base::in) || target < 0 || target > egptr() - eback()) {
            return pos_type(off_type(-1));
        }
        setg(eback(), eback() + target, egptr());
        return pos_type(target);
    }

    pos_type seekpos(pos_type pos, std::ios_base::openmode which) override {
        return seekoff(off_type(pos), std::ios_base::beg, which);
    }
};

} // namespace

QrbFormatError::QrbFormatError(int tile, std::uint64_t offset, const std::string& problem)
    : std::runtime_error(describePlace(tile, offset) + ": " + problem), tile_(tile),
      offset_(offset), problem_(problem) {}

LibraryTooLarge::LibraryTooLarge(std::uint64_t needed, std::uint64_t budget, const char* whatNeeds)
    : std::runtime_error(std::string(whatNeeds) + " " + describeMemorySize(needed) +
                         " of memory once read, more than the limit of " +
                         describeMemorySize(budget)),
      needed_(needed), budget_(budget) {}

LibraryHeaders QrbReader::scan(std::istream& in, std::uint64_t size) {
    Source src(in, size);
    LibraryHeaders headers;
    const int count = readFileHeader(src, headers.signature, headers.version);
    headers.records = recordsFor(count, src);
    for (int i = 1; i <= count; ++i) {
        src.setTile(i);
        TileHeaderRecord record;
        record.smallColour = src.u32("the small colour");
        record.fullHeader = readImageHeader(src, record.fullBlockLength, fullImage());
        skipImageData(src, record.fullHeader, fullImage());
        record.halfHeader = readImageHeader(src, record.halfBlockLength, halfImage());
        skipImageData(src, record.halfHeader, halfImage());
        const std::uint64_t tileBytes =
            decodedBytes(record.fullHeader) + decodedBytes(record.halfHeader);
        headers.decodedBytes += tileBytes;
        headers.largestTileBytes = std::max(headers.largestTileBytes, tileBytes);
        headers.records.push_back(record);
    }
    return headers;
}

LibraryHeaders QrbReader::scan(std::span<const std::uint8_t> bytes) {
    MemoryBuffer buffer(bytes);
    std::istream in(&buffer);
    return scan(in, bytes.size());
}

namespace {

// The second pass: the tiles, read with the sizes the first pass checked. Every header is
// read again and must be as the first pass found it.
class PixelPass {
public:
    PixelPass(std::istream& in, std::uint64_t size, const LibraryHeaders& headers)
        : src_(in, size), headers_(headers) {}

    // The file header, as the first pass found it.
    void readFileHeader() {
        std::array<std::uint8_t, 10> raw{};
        src_.read(raw.data(), raw.size(), "the file header");
        const auto count = static_cast<std::int32_t>(le32(raw.data() + 6));
        if (!std::equal(headers_.signature.begin(), headers_.signature.end(), raw.begin()) ||
            static_cast<std::int16_t>(le16(raw.data() + 4)) != headers_.version ||
            count != headers_.count()) {
            throw LibraryChanged();
        }
    }

    // Tile i, the tiles before it read.
    Tile readTile(int i, DecodeTarget& target) {
        const TileHeaderRecord& record = headers_.records[static_cast<std::size_t>(i)];
        src_.setTile(i);
        Tile tile;
        std::array<std::uint8_t, 8> lead{};
        src_.read(lead.data(), lead.size(), "the small colour");
        tile.smallColour = le32(lead.data());
        if (tile.smallColour != record.smallColour) {
            throw LibraryChanged();
        }
        tile.full = readImage(static_cast<std::int32_t>(le32(lead.data() + 4)),
                              record.fullBlockLength, record.fullHeader, target);
        std::array<std::uint8_t, 4> length{};
        src_.read(length.data(), length.size(), "the half image block length");
        tile.half = readImage(static_cast<std::int32_t>(le32(length.data())),
                              record.halfBlockLength, record.halfHeader, target);
        return tile;
    }

private:
    // The header after a block length of `blockLength`, which must be `expected` with a
    // header `header`, then the colour table and rows, decoded.
    DibImage readImage(std::int32_t blockLength, std::int32_t expected,
                       const BitmapInfoHeader& header, DecodeTarget& target) {
        std::array<std::uint8_t, 40> raw{};
        src_.read(raw.data(), raw.size(), "an image header");
        if (blockLength != expected || !(parseHeader(raw.data()) == header)) {
            throw LibraryChanged();
        }
        std::array<Rgb, 256> table{};
        if (const std::size_t entries = colourTableEntries(header); entries > 0) {
            std::array<std::uint8_t, 256 * 4> rawTable{};
            src_.read(rawTable.data(), entries * 4, "a colour table");
            for (std::size_t i = 0; i < entries; ++i) {
                table[i] = Rgb{rawTable[4 * i + 2], rawTable[4 * i + 1], rawTable[4 * i]};
            }
        }
        const std::uint64_t decoded = decodedBytes(header);
        DibImage image(header.width, header.height, target.allocate(decoded));
        const std::size_t stride = DibImage::strideFor(header.width);
        const std::size_t used = static_cast<std::size_t>(header.width) * 3;
        std::uint8_t* rows = image.bufferRow(0);
        if (header.bitCount == 24) {
            // Same row layout as in memory: one read, then clear whatever the pad bytes held.
            src_.read(rows, static_cast<std::size_t>(decoded), "pixel rows");
            if (used != stride) {
                for (std::int32_t r = 0; r < header.height; ++r) {
                    std::memset(rows + r * stride + used, 0, stride - used);
                }
            }
        } else {
            row_.resize(static_cast<std::size_t>(storedRowBytes(header)));
            for (std::int32_t r = 0; r < header.height; ++r) {
                src_.read(row_.data(), row_.size(), "pixel rows");
                std::uint8_t* out = rows + r * stride;
                convertRow(row_.data(), out, header.width, header.bitCount, table);
                std::memset(out + used, 0, stride - used);
            }
        }
        return image;
    }

    Source src_;
    const LibraryHeaders& headers_;
    std::vector<std::uint8_t> row_;
};

// Both passes over `in`: the headers, checked and counted against `budget`; then, when
// `file` stays unchanged (if there is one), the tiles, each handed to `each` with its
// header record. Returns the headers.
template <typename Start, typename Each>
LibraryHeaders readTwoPasses(std::istream& in, std::uint64_t size, std::uint64_t budget,
                             bool shared, InputFile* file, Start start, Each each) {
    const std::istream::pos_type first = in.tellg();
    LibraryHeaders headers = QrbReader::scan(in, size);
    // A reader that holds one tile at a time (images of their own memory) needs only the
    // largest.
    if (!shared && headers.largestTileBytes > budget) {
        throw LibraryTooLarge(headers.largestTileBytes, budget, "its largest tile needs");
    }
    if (shared && headers.decodedBytes > budget) {
        throw LibraryTooLarge(headers.decodedBytes, budget);
    }
    if (const auto& boundary = QrbReader::passBoundaryForTesting()) {
        boundary();
    }
    const auto stillTheSame = [file] {
        if (file && !file->unchanged()) {
            throw LibraryChanged();
        }
    };
    stillTheSame();
    in.clear();
    if (first == std::istream::pos_type(-1) || !in.seekg(first)) {
        throw std::runtime_error("the file cannot be read a second time");
    }
    try {
        PixelPass pass(in, size, headers);
        DecodeTarget target(headers.decodedBytes, shared);
        pass.readFileHeader();
        const int count = headers.count();
        start(count, headers);
        for (int i = 1; i <= count; ++i) {
            each(i, pass.readTile(i, target));
        }
    } catch (const std::bad_alloc&) {
        throw NotEnoughMemory("its images", headers.decodedBytes);
    }
    // A file rewritten in place while its pixels were read may have kept every header.
    stillTheSame();
    return headers;
}

TileSet readSet(std::istream& in, std::uint64_t size, const ProgressCallback& progress,
                std::uint64_t budget, InputFile* file) {
    TileSet set;
    int count = 0;
    const LibraryHeaders headers = readTwoPasses(
        in, size, budget, true, file,
        [&](int n, const LibraryHeaders&) {
            count = n;
            if (progress) {
                progress(0, count);
            }
        },
        [&](int i, Tile&& tile) {
            set.append(std::move(tile));
            if (progress) {
                progress(i, count);
            }
        });
    set.signature = headers.signature;
    set.version = headers.version;
    set.headerRecords = headers.records;
    return set;
}

void readTiles(std::istream& in, std::uint64_t size, const std::function<void(int)>& start,
               const std::function<void(Tile&&)>& each, std::uint64_t budget, InputFile* file) {
    readTwoPasses(
        in, size, budget, false, file, [&](int count, const LibraryHeaders&) { start(count); },
        [&](int, Tile&& tile) { each(std::move(tile)); });
}

} // namespace

LibraryChanged::LibraryChanged() : std::runtime_error("the library changed while it was read") {}

std::function<void()>& QrbReader::passBoundaryForTesting() {
    static std::function<void()> hook;
    return hook;
}

TileSet QrbReader::read(std::istream& in, std::uint64_t size, const ProgressCallback& progress,
                        std::uint64_t budget) {
    return readSet(in, size, progress, budget, nullptr);
}

TileSet QrbReader::read(InputFile& file, const ProgressCallback& progress, std::uint64_t budget) {
    return readSet(file.stream(), file.size(), progress, budget, &file);
}

void QrbReader::readEach(std::istream& in, std::uint64_t size,
                         const std::function<void(int)>& start,
                         const std::function<void(Tile&&)>& each, std::uint64_t budget) {
    readTiles(in, size, start, each, budget, nullptr);
}

void QrbReader::readEach(InputFile& file, const std::function<void(int)>& start,
                         const std::function<void(Tile&&)>& each, std::uint64_t budget) {
    readTiles(file.stream(), file.size(), start, each, budget, &file);
}

TileSet QrbReader::read(std::span<const std::uint8_t> bytes, const ProgressCallback& progress,
                        std::uint64_t budget) {
    MemoryBuffer buffer(bytes);
    std::istream in(&buffer);
    return read(in, bytes.size(), progress, budget);
}

} // namespace qrb
