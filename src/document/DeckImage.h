#pragma once
// Deck images for virtual tabletops: tiles laid row by row from the top left on a grid of
// equal cells, each tile scaled to fit its cell and centred on white; a grid that would be
// larger than the largest side allowed has its cells scaled down; a hidden card may take
// the last cell of every page; more tiles than a page holds give numbered pages. The
// window's Export Deck Image and qrbtool atlas write through here.

#include "core/Progress.h"
#include "sheet/render/DeckOptions.h"
#include "tileset/TileSet.h"

#include <QImage>
#include <QSize>

#include <filesystem>
#include <optional>
#include <vector>

namespace qrb {

struct DeckLayout {
    QSize cell;             // after scaling down to the largest side
    int cardsPerPage = 0;   // cells less the hidden card's
    std::vector<int> cards; // the tiles laid, in order
    int pages() const;
    QSize pageSize(int columns, int rows) const;
};

// The layout of `options` over `set`. Throws std::invalid_argument naming what does not
// fit: a tile number the set does not have, no tile to lay, a grid of one cell with a
// hidden card.
DeckLayout deckLayout(const TileSet& set, const DeckOptions& options);

// Page `page` (from 0) of the deck.
QImage deckPage(const TileSet& set, const DeckOptions& options, const DeckLayout& layout, int page);

// The files the pages go to: OUT itself for one page, OUT-1.png, OUT-2.png, ... for more
// (a trailing ".png" of OUT, in any case, comes after the number).
std::vector<std::filesystem::path> deckFileNames(const std::filesystem::path& out, int pages);

// Writes every page, all or none (as BitmapExporter::writeAll); returns the files.
std::vector<std::filesystem::path> writeDeck(const TileSet& set, const DeckOptions& options,
                                             const std::filesystem::path& out,
                                             const ProgressCallback& progress = {});

} // namespace qrb
