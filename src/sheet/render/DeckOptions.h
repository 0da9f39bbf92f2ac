#pragma once
// The choices of a deck image for virtual tabletops (document/DeckImage): the grid, the
// cells, the tiles laid and the hidden card, as the deck dialog offers them.

#include <QSize>

#include <optional>
#include <vector>

namespace qrb {

struct DeckOptions {
    int columns = 10;
    int rows = 7;
    std::optional<QSize> cell; // default: the largest tile's size
    int maxSize = 4096;        // the most pixels a page may have a side
    std::vector<int> tiles;    // tile numbers in order; empty: every tile
    std::optional<int> hidden; // the tile in the last cell of every page
    friend bool operator==(const DeckOptions&, const DeckOptions&) = default;
};

} // namespace qrb
