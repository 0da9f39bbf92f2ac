#pragma once
// Lettering a batch of new tiles from a table's rows, each tile exactly as the editor's
// Create with "Create tile using position data" makes it after the row's base tile was
// picked and the row's texts were put into the slots: every slot with a text stamped in
// slot order (stampSlots, the routine Create uses), the half image derived from the
// lettered full image, the small colour the base tile's.
//
// Every row starts from the same state, so a row's tiles do not depend on the rows before
// it. Nothing here changes a library: the document appends the tiles (as one undo step),
// a tool writes them.

#include "core/Progress.h"
#include "document/Placement.h"
#include "lettering/LetteringTable.h"
#include "text/PositionSlot.h"
#include "tileset/TileSet.h"

#include <QSize>

#include <optional>
#include <stop_token>
#include <vector>

namespace qrb {

class TableLettering {
public:
    // Letters from `tiles` (which must outlive this) with `positionSlots`, whose texts the rows
    // replace. `start` is the text being placed: a slot position that is not a number
    // keeps its position, as a slot click does.
    TableLettering(const TileSet& tiles, PositionSlots positionSlots, const Placement& start = {});

    // One copy of `row`'s tile. The row's base must be one of the tiles.
    Tile letter(const LetteringRow& row) const;

    // The tiles of every row of `table` in row order, each row's copies together. The
    // table must have passed check() against the tiles. Reports (tiles made, tiles in
    // all) now and then; empty when `stop` is requested (looked at between rows).
    std::optional<std::vector<Tile>> letterAll(const LetteringTable& table,
                                               const ProgressCallback& progress = {},
                                               std::stop_token stop = {}) const;

private:
    const TileSet& tiles_;
    PositionSlots slots_;
    Placement start_;
};

} // namespace qrb
