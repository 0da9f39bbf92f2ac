#pragma once
// Lettering a batch of new tiles from a table's rows, each tile exactly as the editor's
// Create with "Create tile using position data" makes it after the row's base tile was
// picked and the row's texts were put into the slots: every slot with a text stamped in
// slot order (stampSlots, the routine Create uses), the half image derived from the
// lettered full image, the small colour the base tile's. What the editor has no control
// for is drawn on the way: the row's pictures under everything, a slot with a box as text
// wrapped in it, icons among the letters.
//
// A row's tile is a function of the row and of state only read while lettering (the
// tiles, the slots, the art), so rows do not depend on each other. Nothing here changes a
// library: the document appends the tiles (as one undo step), a tool writes them.

#include "core/Progress.h"
#include "document/LetteringArt.h"
#include "document/Placement.h"
#include "lettering/LetteringTable.h"
#include "text/PositionSlot.h"
#include "tileset/TileSet.h"

#include <QSize>

#include <optional>
#include <stop_token>
#include <vector>

namespace qrb {

// What lettering a row met that the user should hear of.
struct RowReport {
    bool overflowed = false; // some box's text was cut at its smallest size
};

// The tiles of a table and the rows whose text did not fit.
struct LetteredTiles {
    std::vector<Tile> tiles;
    std::vector<int> overflowingLines; // the table lines of those rows, in order
};

class TableLettering {
public:
    // Letters from `tiles` (which must outlive this) with `positionSlots`, whose texts the rows
    // replace. `start` is the text being placed: a slot position that is not a number
    // keeps its position, as a slot click does. `art` (which must outlive this) holds
    // what the rows draw besides their slots; it is needed by rows with pictures or icons.
    TableLettering(const TileSet& tiles, PositionSlots positionSlots, const Placement& start = {},
                   const LetteringArt* art = nullptr);

    // One copy of `row`'s tile. The row's base must be one of the tiles. Throws
    // TableError for a picture placed too far off the tile.
    Tile letter(const LetteringRow& row, RowReport* report = nullptr) const;

    // The tiles of every row of `table` in row order, each row's copies together. The
    // table must have passed check() against the tiles. Rows are lettered on `threads`
    // threads (0: every core) with the same tiles as on one; a failure is that of the
    // first failing row. Reports (tiles made, tiles in all) now and then; empty when
    // `stop` is requested (looked at between rows).
    std::optional<LetteredTiles> letterAll(const LetteringTable& table,
                                           const ProgressCallback& progress = {},
                                           std::stop_token stop = {}, int threads = 0) const;

    // The most rows a thread takes at once when rows are quick to letter.
    static constexpr std::size_t kGroupRows = 64;

private:
    void drawPictures(QImage& picture, const LetteringRow& row) const;
    void drawSlot(QImage& picture, const Placement& placement, const LetteringRow& row,
                  std::size_t k, RowReport& report) const;

    const TileSet& tiles_;
    PositionSlots slots_;
    Placement start_;
    const LetteringArt* art_;
};

} // namespace qrb
