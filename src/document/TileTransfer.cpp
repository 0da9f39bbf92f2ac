#include "document/TileTransfer.h"

#include "tileset/QrbReader.h"
#include "tileset/QrbWriter.h"

#include <span>

namespace qrb {

QByteArray encodeTiles(const TileSet& set, const std::vector<int>& numbers) {
    const std::vector<std::uint8_t> bytes = QrbWriter::toBytes(set, std::span<const int>(numbers));
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

std::vector<Tile> decodeTiles(const QByteArray& bytes, std::uint64_t budget) {
    TileSet set = QrbReader::read(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                      std::size_t(bytes.size())),
        {}, budget);
    std::vector<Tile> tiles;
    tiles.reserve(std::size_t(set.count()));
    for (int i = 1; i <= set.count(); ++i)
        tiles.push_back(std::move(set.tile(i)));
    return tiles;
}

} // namespace qrb
