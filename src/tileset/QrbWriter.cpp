#include "tileset/QrbWriter.h"

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
    const char* data() const { return reinterpret_cast<const char*>(bytes_.data()); }
    std::size_t size() const { return size_; }

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

std::uint64_t blockBytes(const DibImage& image) {
    return 4 + kInfoHeaderSize + image.bytes().size();
}

void writeImage(std::ostream& out, const DibImage& image) {
    const auto imageBytes = static_cast<std::uint32_t>(image.bytes().size());
    LittleEndian head;
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
    emit(out, head.data(), head.size());
    emit(out, reinterpret_cast<const char*>(image.bytes().data()), imageBytes);
}

void writeEntry(std::ostream& out, const Tile& tile) {
    LittleEndian colour;
    colour.u32(tile.smallColour);
    emit(out, colour.data(), colour.size());
    writeImage(out, tile.full);
    writeImage(out, tile.half);
}

void checkWritable(const TileSet& set, int i) {
    const Tile& tile = set.tile(i);
    if (tile.full.isEmpty() || tile.half.isEmpty()) {
        throw std::invalid_argument("tile " + std::to_string(i) +
                                    " has an empty image and cannot be saved");
    }
}

void writeTiles(std::ostream& out, const TileSet& set, std::span<const int> numbers,
                const ProgressCallback& progress) {
    int previous = 0;
    for (int i : numbers) {
        if (i <= previous || i > set.count()) {
            throw std::invalid_argument("tile numbers must be ascending and within 1.." +
                                        std::to_string(set.count()));
        }
        checkWritable(set, i);
        previous = i;
    }

    QrbWriter::writeHeader(out, static_cast<int>(numbers.size()));
    if (progress) {
        progress(0, set.count());
    }
    for (int i : numbers) {
        writeEntry(out, set.tile(i));
        if (progress) {
            progress(i, set.count());
        }
    }
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

void QrbWriter::writeHeader(std::ostream& out, int count) {
    LittleEndian head;
    for (char c : kSignature) {
        head.u8(static_cast<std::uint8_t>(c));
    }
    head.u16(static_cast<std::uint16_t>(kVersion));
    head.i32(static_cast<std::int32_t>(count));
    emit(out, head.data(), head.size());
}

void QrbWriter::writeTile(std::ostream& out, const Tile& tile) {
    if (tile.full.isEmpty() || tile.half.isEmpty()) {
        throw std::invalid_argument("a tile has an empty image and cannot be saved");
    }
    writeEntry(out, tile);
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
