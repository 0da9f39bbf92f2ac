// Library reader fuzz target: any bytes must either be refused with a format error or give
// a tile set that the writer saves and the reader reads back to the same tiles.

#include "tileset/QrbReader.h"
#include "tileset/QrbWriter.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qrb::TileSet set;
    try {
        set = qrb::QrbReader::read(std::span<const std::uint8_t>(data, size));
    } catch (const qrb::QrbFormatError&) {
        return 0;
    }
    if (set.headerRecords.size() != static_cast<std::size_t>(set.count()) + 1) {
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
