#include "tileset/TileSet.h"

#include <algorithm>
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

std::vector<NumberedTile> TileSet::take(const std::vector<int>& ascending) {
    std::vector<NumberedTile> taken;
    taken.reserve(ascending.size());
    for (std::size_t j = 0; j < ascending.size(); ++j) {
        const int i = ascending[j];
        if (i < 1 || i > count() || (j > 0 && i <= ascending[j - 1])) {
            throw std::out_of_range("tile numbers to take must be ascending and in the set");
        }
    }
    if (ascending.size() <= kFewTiles) {
        // A few tiles: the deque closes each gap from its nearer end.
        for (auto it = ascending.rbegin(); it != ascending.rend(); ++it) {
            const auto at = tiles_.begin() + (*it - 1);
            taken.push_back(NumberedTile{*it, std::move(*at)});
            tiles_.erase(at);
        }
        std::reverse(taken.begin(), taken.end());
        return taken;
    }
    std::deque<Tile> kept;
    std::size_t next = 0;
    for (int i = 1; i <= count(); ++i) {
        Tile& tile = tiles_[static_cast<std::size_t>(i - 1)];
        if (next < ascending.size() && ascending[next] == i) {
            taken.push_back(NumberedTile{i, std::move(tile)});
            ++next;
        } else {
            kept.push_back(std::move(tile));
        }
    }
    tiles_ = std::move(kept);
    return taken;
}

void TileSet::put(std::vector<NumberedTile> tiles) {
    const std::size_t total = tiles_.size() + tiles.size();
    if (total > static_cast<std::size_t>(kMaxTiles)) {
        throw std::length_error("a tile library holds at most 32767 tiles");
    }
    for (std::size_t j = 0; j < tiles.size(); ++j) {
        const int i = tiles[j].number;
        if (i < 1 || static_cast<std::size_t>(i) > total || (j > 0 && i <= tiles[j - 1].number)) {
            throw std::out_of_range("tile numbers to put back must be ascending and fit");
        }
    }
    if (tiles.size() <= kFewTiles) {
        for (NumberedTile& t : tiles) {
            tiles_.insert(tiles_.begin() + (t.number - 1), std::move(t.tile));
        }
        return;
    }
    std::deque<Tile> merged;
    std::size_t next = 0;
    std::size_t old = 0;
    for (std::size_t i = 1; i <= total; ++i) {
        if (next < tiles.size() && static_cast<std::size_t>(tiles[next].number) == i) {
            merged.push_back(std::move(tiles[next++].tile));
        } else {
            merged.push_back(std::move(tiles_[old++]));
        }
    }
    tiles_ = std::move(merged);
}

void TileSet::move(int from, int to) {
    if (from < 1 || from > count() || to < 1 || to > count()) {
        throw std::out_of_range("no such tile");
    }
    const auto at = [this](int i) { return tiles_.begin() + (i - 1); };
    Tile moving = std::move(*at(from));
    if (from < to) {
        std::move(at(from + 1), at(to + 1), at(from));
    } else if (to < from) {
        std::move_backward(at(to), at(from), at(from + 1));
    }
    *at(to) = std::move(moving);
}

void TileSet::clear() {
    tiles_.clear();
    headerRecords.clear();
}

} // namespace qrb
