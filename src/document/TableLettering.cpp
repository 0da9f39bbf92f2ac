#include "document/TableLettering.h"

#include "document/NewTile.h"
#include "imaging/render/DibConversion.h"

#include <stdexcept>

namespace qrb {

TableLettering::TableLettering(const TileSet& tiles, PositionSlots positionSlots,
                               const Placement& start)
    : tiles_(tiles), slots_(std::move(positionSlots)), start_(start) {}

Tile TableLettering::letter(const LetteringRow& row) const {
    if (row.base < 1 || row.base > tiles_.count())
        throw std::out_of_range("a lettering row's base tile is not in the library");
    const Tile& base = tiles_.tile(int(row.base));

    PositionSlots positionSlots = slots_;
    for (std::size_t k = 0; k < LetteringRow::kSlots; ++k) {
        if (row.texts[k])
            positionSlots[k].text = *row.texts[k];
        row.applyLook(k, positionSlots[k].style);
    }
    // Picking the base tile: its picture, nothing live over it.
    QImage picture = toQImage(base.full);
    Placement placement = start_;
    bool live = false;
    stampSlots(picture, placement, live, positionSlots);
    if (live)
        drawPlacement(picture, placement);

    return newTile(picture, base.smallColour);
}

std::optional<std::vector<Tile>> TableLettering::letterAll(const LetteringTable& table,
                                                           const ProgressCallback& progress,
                                                           std::stop_token stop) const {
    std::size_t total = 0;
    for (const LetteringRow& row : table.rows())
        total += std::size_t(row.copies);
    std::vector<Tile> made;
    made.reserve(total);
    // A hundred reports at most: a progress display costs more than a tile.
    const std::size_t step = std::max<std::size_t>(1, total / 100);
    std::size_t reported = 0;
    for (const LetteringRow& row : table.rows()) {
        if (stop.stop_requested())
            return std::nullopt;
        if (row.copies == 0)
            continue;
        made.push_back(letter(row));
        for (int copy = 1; copy < row.copies; ++copy)
            made.push_back(made.back());
        if (progress && made.size() - reported >= step) {
            reported = made.size();
            progress(int(reported), int(total));
        }
    }
    if (stop.stop_requested())
        return std::nullopt;
    if (progress && reported != total)
        progress(int(total), int(total));
    return made;
}

} // namespace qrb
