// Library reader fuzz target: any bytes must either be refused with a format error or give
// a tile set that the writer saves and the reader reads back to the same tiles. The header
// scan of check and info must agree with the reader, and so must the reader under a
// memory budget, which makes it scan every header first, and the tile-by-tile reader.

#include "tileset/QrbReader.h"
#include "tileset/QrbWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Refusal {
    int tile;
    std::uint64_t offset;
    bool operator==(const Refusal&) const = default;
};

template <typename Read> std::optional<Refusal> refusalOf(Read read) {
    try {
        read();
    } catch (const qrb::QrbFormatError& e) {
        return Refusal{e.tile(), e.offset()};
    }
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    qrb::TileSet set;
    const auto refused = refusalOf([&] { set = qrb::QrbReader::read(bytes); });
    qrb::LibraryHeaders headers;
    if (refusalOf([&] { headers = qrb::QrbReader::scan(bytes); }) != refused) {
        std::abort();
    }
    // Tile by tile (as convert reads), the same tiles up to the same refusal.
    std::istringstream stream(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<qrb::Tile> each;
    int announced = -1;
    if (refusalOf([&] {
            qrb::QrbReader::readEach(
                stream, size, [&](int count) { announced = count; },
                [&](qrb::Tile&& tile) { each.push_back(std::move(tile)); });
        }) != refused ||
        (!refused &&
         (announced != set.count() ||
          !std::equal(each.begin(), each.end(), set.tiles().begin(), set.tiles().end())))) {
        std::abort();
    }
    if (refused) {
        // Even a budget of nothing gives the format error, not the budget's.
        if (refusalOf([&] { qrb::QrbReader::read(bytes, {}, 0); }) != refused) {
            std::abort();
        }
        return 0;
    }

    if (set.headerRecords.size() != static_cast<std::size_t>(set.count()) + 1 ||
        headers.records != set.headerRecords) {
        std::abort();
    }
    std::uint64_t decoded = 0;
    for (const qrb::Tile& tile : set.tiles()) {
        decoded += tile.full.bytes().size() + tile.half.bytes().size();
    }
    if (headers.decodedBytes != decoded) {
        std::abort();
    }
    if (decoded > 0) {
        try {
            qrb::QrbReader::read(bytes, {}, decoded - 1);
            std::abort();
        } catch (const qrb::LibraryTooLarge& e) {
            if (e.needed() != decoded) {
                std::abort();
            }
        }
    }
    if (qrb::QrbReader::read(bytes, {}, decoded).tiles() != set.tiles()) {
        std::abort();
    }

    const std::vector<std::uint8_t> saved = qrb::QrbWriter::toBytes(set);
    if (saved.size() != qrb::QrbWriter::fileSize(set)) {
        std::abort();
    }
    const qrb::TileSet again = qrb::QrbReader::read(saved);
    if (again.tiles() != set.tiles() || qrb::QrbWriter::toBytes(again) != saved) {
        std::abort();
    }
    return 0;
}
