#include "tileset/QrbWriter.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace qrb {

namespace {

constexpr std::array<char, 4> kSignature{'Q', 'R', 'B', 'B'};
constexpr std::int16_t kVersion = 256;
constexpr std::uint32_t kInfoHeaderSize = 40;

class LittleEndian {
public:
    void u8(std::uint8_t v) { put(v); }
    void u16(std::uint16_t v) {
        put(std::uint8_t(v));
        put(std::uint8_t(v >> 8));
    }
    void u32(std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) {
            put(std::uint8_t(v >> shift));
        }
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    // A view of the bytes put so far, valid while this object lives.
    QrbWriter::Bytes bytes() const& { return {bytes_.data(), size_}; }
    QrbWriter::Bytes bytes() const&& = delete;

private:
    void put(std::uint8_t b) { bytes_[size_++] = b; }
    std::array<std::uint8_t, 64> bytes_{};
    std::size_t size_ = 0;
};

void emit(std::ostream& out, const char* data, std::size_t n) {
    out.write(data, static_cast<std::streamsize>(n));
    if (!out) {
        throw std::runtime_error("the library could not be written");
    }
}

void emit(std::ostream& out, std::span<const QrbWriter::Bytes> parts) {
    for (const QrbWriter::Bytes part : parts) {
        emit(out, reinterpret_cast<const char*>(part.data()), part.size());
    }
}

std::uint64_t blockBytes(const DibImage& image) {
    return 4 + kInfoHeaderSize + image.bytes().size();
}

// An image block's length and header.
void imageHead(LittleEndian& head, const DibImage& image) {
    const auto imageBytes = static_cast<std::uint32_t>(image.bytes().size());
    head.i32(static_cast<std::int32_t>(kInfoHeaderSize + imageBytes)); // block length
    head.u32(kInfoHeaderSize);
    head.i32(image.width());
    head.i32(image.height());
    head.u16(1);  // planes
    head.u16(24); // bits per pixel
    head.u32(0);  // no compression
    head.u32(imageBytes);
    head.i32(0); // resolution
    head.i32(0);
    head.u32(0); // colours used
    head.u32(0); // colours important
}

// What comes before each image's rows in a tile entry: the small colour with the full
// image's block length and header; the half image's block length and header.
struct EntryHeads {
    LittleEndian full;
    LittleEndian half;

    explicit EntryHeads(const Tile& tile) {
        full.u32(tile.smallColour);
        imageHead(full, tile.full);
        imageHead(half, tile.half);
    }
};

// The four parts of a tile entry, after `heads` made for it.
void addEntry(std::vector<QrbWriter::Bytes>& parts, const EntryHeads& heads, const Tile& tile) {
    parts.push_back(heads.full.bytes());
    parts.push_back(tile.full.bytes());
    parts.push_back(heads.half.bytes());
    parts.push_back(tile.half.bytes());
}

void checkWritable(const TileSet& set, int i) {
    const Tile& tile = set.tile(i);
    if (tile.full.isEmpty() || tile.half.isEmpty()) {
        throw std::invalid_argument("tile " + std::to_string(i) +
                                    " has an empty image and cannot be saved");
    }
}

LittleEndian fileHeader(int count) {
    LittleEndian head;
    for (char c : kSignature) {
        head.u8(static_cast<std::uint8_t>(c));
    }
    head.u16(static_cast<std::uint16_t>(kVersion));
    head.i32(static_cast<std::int32_t>(count));
    return head;
}

// Tiles handed over at once: four parts each, as many as one gathered write takes.
constexpr std::size_t kTilesAtOnce = 256;

void writeTiles(const TileSet& set, std::span<const int> numbers, const ProgressCallback& progress,
                const QrbWriter::PartsSink& sink) {
    int previous = 0;
    for (int i : numbers) {
        if (i <= previous || i > set.count()) {
            throw std::invalid_argument("tile numbers must be ascending and within 1.." +
                                        std::to_string(set.count()));
        }
        checkWritable(set, i);
        previous = i;
    }

    const LittleEndian head = fileHeader(static_cast<int>(numbers.size()));
    const QrbWriter::Bytes headBytes = head.bytes();
    sink(std::span(&headBytes, 1));
    if (progress) {
        progress(0, set.count());
    }
    std::vector<EntryHeads> heads;
    std::vector<QrbWriter::Bytes> parts;
    heads.reserve(kTilesAtOnce);
    parts.reserve(4 * kTilesAtOnce);
    for (std::size_t first = 0; first < numbers.size(); first += kTilesAtOnce) {
        const auto batch = numbers.subspan(first, std::min(kTilesAtOnce, numbers.size() - first));
        heads.clear();
        parts.clear();
        for (int i : batch) {
            heads.emplace_back(set.tile(i));
            addEntry(parts, heads.back(), set.tile(i));
        }
        sink(parts);
        if (progress) {
            for (int i : batch) {
                progress(i, set.count());
            }
        }
    }
}

void writeTiles(std::ostream& out, const TileSet& set, std::span<const int> numbers,
                const ProgressCallback& progress) {
    writeTiles(set, numbers, progress,
               [&out](std::span<const QrbWriter::Bytes> parts) { emit(out, parts); });
    out.flush();
    if (!out) {
        throw std::runtime_error("the library could not be written");
    }
}

std::vector<int> allTiles(const TileSet& set) {
    std::vector<int> numbers(static_cast<std::size_t>(set.count()));
    for (int i = 1; i <= set.count(); ++i) {
        numbers[static_cast<std::size_t>(i - 1)] = i;
    }
    return numbers;
}

// An output buffer that appends to a byte vector.
class VectorBuffer : public std::streambuf {
public:
    explicit VectorBuffer(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

protected:
    int_type overflow(int_type ch) override {
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            bytes_.push_back(static_cast<std::uint8_t>(ch));
        }
        return traits_type::not_eof(ch);
    }
    std::streamsize xsputn(const char* data, std::streamsize n) override {
        bytes_.insert(bytes_.end(), data, data + n);
        return n;
    }

private:
    std::vector<std::uint8_t>& bytes_;
};

} // namespace

void QrbWriter::write(std::ostream& out, const TileSet& set, const ProgressCallback& progress) {
    const std::vector<int> numbers = allTiles(set);
    writeTiles(out, set, numbers, progress);
}

void QrbWriter::write(std::ostream& out, const TileSet& set, std::span<const int> tileNumbers,
                      const ProgressCallback& progress) {
    writeTiles(out, set, tileNumbers, progress);
}

void QrbWriter::write(const TileSet& set, std::span<const int> tileNumbers,
                      const ProgressCallback& progress, const PartsSink& sink) {
    writeTiles(set, tileNumbers, progress, sink);
}

void QrbWriter::writeHeader(std::ostream& out, int count) {
    const LittleEndian header = fileHeader(count); // the bytes live here
    const Bytes head = header.bytes();
    emit(out, std::span(&head, 1));
}

void QrbWriter::writeTile(std::ostream& out, const Tile& tile) {
    if (tile.full.isEmpty() || tile.half.isEmpty()) {
        throw std::invalid_argument("a tile has an empty image and cannot be saved");
    }
    const EntryHeads heads(tile);
    std::vector<Bytes> parts;
    addEntry(parts, heads, tile);
    emit(out, parts);
}

std::vector<std::uint8_t> QrbWriter::toBytes(const TileSet& set) {
    const std::vector<int> numbers = allTiles(set);
    return toBytes(set, numbers);
}

std::vector<std::uint8_t> QrbWriter::toBytes(const TileSet& set, std::span<const int> tileNumbers) {
    std::vector<std::uint8_t> bytes;
    if (tileNumbers.size() == static_cast<std::size_t>(set.count())) {
        bytes.reserve(fileSize(set));
    }
    VectorBuffer buffer(bytes);
    std::ostream out(&buffer);
    writeTiles(out, set, tileNumbers, {});
    return bytes;
}

std::uint64_t QrbWriter::fileSize(const TileSet& set) {
    std::uint64_t size = 10;
    for (const Tile& tile : set.tiles()) {
        size += 4 + blockBytes(tile.full) + blockBytes(tile.half);
    }
    return size;
}

} // namespace qrb
