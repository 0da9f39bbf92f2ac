#include "tileset/TileSet.h"

#include <stdexcept>

namespace qrb {

void TileSet::append(Tile tile) {
    if (count() >= kMaxTiles) {
        throw std::length_error("a tile library holds at most 32767 tiles");
    }
    tiles_.push_back(std::move(tile));
}

void TileSet::remove(int i) {
    if (i < 1 || i > count()) {
        throw std::out_of_range("no such tile");
    }
    tiles_.erase(tiles_.begin() + (i - 1));
}

void TileSet::clear() {
    tiles_.clear();
    headerRecords.clear();
}

} // namespace qrb
