// The document's edits of the order of the tiles: moves, duplicates and insertions, each
// one undo step in which the marks, the current and the base tile follow their tiles.

#include "document/Document.h"

#include "document/DocumentParts.h"

#include <algorithm>
#include <numeric>

namespace qrb {

int Document::insertionPoint() const {
    const int current = currentTile();
    return current != 0 ? current + 1 : tileCount() + 1;
}

std::uint64_t Document::pixelBytes() const {
    std::uint64_t bytes = 0;
    for (const Tile& tile : tiles_.tiles())
        bytes += tile.full.byteCount() + tile.half.byteCount();
    return bytes;
}

int Document::insertTiles(int at, std::vector<Tile> tiles, const QString& what) {
    if (tiles.empty())
        return 0;
    refusePastCapacity(tiles.size());
    at = std::clamp(at, 1, tileCount() + 1);
    const bool wasEmpty = tileCount() == 0;
    Recorder record(*this, what, Recorder::Selection | Recorder::Working);
    std::vector<NumberedTile> numbered;
    numbered.reserve(tiles.size());
    for (Tile& tile : tiles)
        numbered.push_back(NumberedTile{at + int(numbered.size()), std::move(tile)});
    std::vector<int> numbers(numbered.size());
    std::iota(numbers.begin(), numbers.end(), at);
    const bool atEnd = at == tileCount() + 1;
    strip_.insertTiles(std::move(numbered));
    record.inserted(std::move(numbers));
    note(atEnd ? Change::Tiles | Change::Appended : Change::Tiles, at);
    if (wasEmpty)
        showBaseWhenHidden();
    record.commit();
    return int(tiles.size());
}

std::optional<PictureImport> Document::importPictures(const QStringList& paths,
                                                      std::uint64_t budget,
                                                      const ProgressCallback& progress,
                                                      std::stop_token stop,
                                                      const ImportOptions& options) {
    const std::uint64_t held = pixelBytes();
    std::optional<PictureImport> read =
        readPictures(paths, options, TileSet::kMaxTiles - tileCount(),
                     budget > held ? budget - held : 0, progress, stop);
    if (read && !read->tiles.empty())
        insertTiles(insertionPoint(), read->tiles, tr("Import Images")); // the tiles share pixels
    return read;
}

bool Document::duplicateTile() {
    const int current = currentTile();
    if (current == 0)
        return false;
    if (tileCount() >= TileSet::kMaxTiles)
        throw Refusal(tr("The library already holds %1 tiles, the most a library file can "
                         "store. Delete a tile before duplicating another.")
                          .arg(TileSet::kMaxTiles)
                          .toStdString());
    insertTiles(current + 1, {tiles_.tile(current)}, tr("Duplicate Tile"));
    return true;
}

std::vector<int> Document::tilesToMove() const {
    if (strip_.multiSelect()) {
        std::vector<int> marked = strip_.selectedTiles();
        if (!marked.empty())
            return marked;
    }
    const int current = currentTile();
    return current != 0 ? std::vector<int>{current} : std::vector<int>{};
}

std::vector<int> Document::moveTargets(TileMove where) const {
    std::vector<int> to = tilesToMove();
    const int n = tileCount();
    const int k = int(to.size());
    switch (where) {
    case TileMove::Up:
        // Each tile one place up unless the one above cannot move out of its way.
        for (int j = 0; j < k; ++j)
            to[std::size_t(j)] =
                std::max(to[std::size_t(j)] - 1, j == 0 ? 1 : to[std::size_t(j - 1)] + 1);
        break;
    case TileMove::Down:
        for (int j = k - 1; j >= 0; --j)
            to[std::size_t(j)] =
                std::min(to[std::size_t(j)] + 1, j == k - 1 ? n : to[std::size_t(j + 1)] - 1);
        break;
    case TileMove::ToStart:
        std::iota(to.begin(), to.end(), 1);
        break;
    case TileMove::ToEnd:
        std::iota(to.begin(), to.end(), n - k + 1);
        break;
    }
    return to;
}

bool Document::canMoveTiles(TileMove where) const {
    return moveTargets(where) != tilesToMove();
}

bool Document::moveTiles(TileMove where) {
    static const char* const names[] = {QT_TR_NOOP("Move Tile Up"), QT_TR_NOOP("Move Tile Down"),
                                        QT_TR_NOOP("Move Tile to Start"),
                                        QT_TR_NOOP("Move Tile to End")};
    return moveTiles(tilesToMove(), moveTargets(where), tr(names[int(where)]));
}

bool Document::moveTile(int from, int to) {
    for (const int k : {from, to})
        if (k < 1 || k > tileCount())
            throw Refusal(tr("There is no tile %1: the library has %2 tiles.")
                              .arg(k)
                              .arg(tileCount())
                              .toStdString());
    return moveTiles({from}, {to}, tr("Move Tile"));
}

bool Document::dropTiles(const std::vector<int>& rows, int gap) {
    if (rows.empty())
        return false;
    for (std::size_t j = 0; j < rows.size(); ++j)
        if (rows[j] < 1 || rows[j] > tileCount() || (j > 0 && rows[j] <= rows[j - 1]))
            return false;
    gap = std::clamp(gap, 1, tileCount() + 1);
    // The gap counts the places before it that the dragged tiles leave.
    const int before =
        int(std::count_if(rows.begin(), rows.end(), [gap](int r) { return r < gap; }));
    std::vector<int> to(rows.size());
    std::iota(to.begin(), to.end(), gap - before);
    return moveTiles(rows, std::move(to), rows.size() == 1 ? tr("Move Tile") : tr("Move Tiles"));
}

bool Document::moveTiles(std::vector<int> from, std::vector<int> to, const QString& what) {
    if (from.empty() || from == to)
        return false;
    Recorder record(*this, what, Recorder::Selection);
    strip_.moveTiles(from, to);
    const int first = std::min(from.front(), to.front());
    record.moved(std::move(from), std::move(to));
    note(Change::Tiles | Change::Reordered | Change::Selection, first);
    record.commit();
    return true;
}

} // namespace qrb
