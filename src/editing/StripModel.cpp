#include "editing/StripModel.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace qrb {

namespace {

using namespace strip;

// Offset that centres a part of `inner` pixels on one of `outer` pixels, in whole pixels
// (rounded down), as twips.
Twips centredOffset(std::int32_t outerPixels, Twips innerTwips) {
    const Twips diffPixels = Twips{outerPixels} - innerTwips / kTwipsPerPixel;
    const Twips half = diffPixels >= 0 ? diffPixels / 2 : -((-diffPixels + 1) / 2);
    return half * kTwipsPerPixel;
}

bool inside(Twips x, Twips y, Twips left, Twips top, Twips width, Twips height) {
    return x >= left && x < left + width && y >= top && y < top + height;
}

bool fitsInt32(Twips v) {
    return v >= std::numeric_limits<std::int32_t>::min() &&
           v <= std::numeric_limits<std::int32_t>::max();
}

} // namespace

StripModel::StripModel(TileSet& tiles) : tiles_(tiles) {
    reload();
}

StripModel::Selection StripModel::selection() const {
    return Selection{marks_, currentTile_, baseTile_, multiSelect_};
}

void StripModel::restore(Selection selection) {
    if (selection.marks.size() != marks_.size()) {
        throw std::invalid_argument("a selection must match the tile count");
    }
    marks_ = std::move(selection.marks);
    currentTile_ = selection.currentTile;
    baseTile_ = selection.baseTile;
    multiSelect_ = selection.multiSelect;
}

std::vector<NumberedTile> StripModel::takeTiles(const std::vector<int>& ascending) {
    std::vector<NumberedTile> taken = tiles_.take(ascending);
    if (ascending.size() <= kFewRows) {
        for (auto it = ascending.rbegin(); it != ascending.rend(); ++it) {
            marks_.erase(marks_.begin() + (*it - 1));
        }
    } else {
        // Many: one pass, the kept marks closing up.
        std::size_t next = 0;
        std::size_t kept = 0;
        for (std::size_t i = 0; i < marks_.size(); ++i) {
            if (next < ascending.size() && std::size_t(ascending[next]) == i + 1) {
                ++next;
            } else {
                marks_[kept++] = marks_[i];
            }
        }
        marks_.resize(kept);
    }
    eraseRows(ascending);
    return taken;
}

void StripModel::putTiles(std::vector<NumberedTile> tiles) {
    std::vector<int> numbers;
    numbers.reserve(tiles.size());
    for (const NumberedTile& t : tiles) {
        numbers.push_back(t.number);
    }
    tiles_.put(std::move(tiles));
    if (numbers.size() <= kFewRows) {
        for (int number : numbers) {
            marks_.insert(marks_.begin() + (number - 1), Mark::White);
        }
    } else {
        // Many: one pass, the old marks spreading around the new white ones.
        std::vector<Mark> merged(marks_.size() + numbers.size(), Mark::White);
        std::size_t next = 0;
        std::size_t old = 0;
        for (std::size_t i = 0; i < merged.size(); ++i) {
            if (next < numbers.size() && std::size_t(numbers[next]) == i + 1) {
                ++next;
            } else {
                merged[i] = marks_[old++];
            }
        }
        marks_ = std::move(merged);
    }
    insertRows(numbers);
}

void StripModel::eraseRows(const std::vector<int>& ascending) {
    if (ascending.size() > kFewRows) {
        rebuildOffsets();
        return;
    }
    for (auto it = ascending.rbegin(); it != ascending.rend(); ++it) {
        offsets_.erase(*it - 1);
    }
}

// After the tiles at `ascending` were put into the set.
void StripModel::insertRows(const std::vector<int>& ascending) {
    if (ascending.size() > kFewRows) {
        rebuildOffsets();
        return;
    }
    for (const int number : ascending) {
        offsets_.insert(number - 1, rowLength(number));
    }
}

void StripModel::insertTiles(std::vector<NumberedTile> tiles) {
    if (tiles.empty()) {
        return;
    }
    if (tiles.size() > static_cast<std::size_t>(TileSet::kMaxTiles - count())) {
        throw std::length_error("a tile library holds at most 32767 tiles");
    }
    std::vector<int> numbers;
    numbers.reserve(tiles.size());
    for (const NumberedTile& t : tiles) {
        numbers.push_back(t.number);
    }
    const std::vector<int> none;
    const int current = currentTile_ == 0 ? 0 : movedNumber(currentTile_, none, numbers);
    const bool wasEmpty = count() == 0;
    const int base = baseTile_ == 0 ? 0 : movedNumber(baseTile_, none, numbers);
    putTiles(std::move(tiles));
    currentTile_ = current;
    baseTile_ = base;
    if (wasEmpty) {
        firstTileIsBase();
    }
}

int StripModel::movedNumber(int tile, const std::vector<int>& from, const std::vector<int>& to) {
    // A moved tile takes its new place; any other first closes up over the tiles taken
    // out, then steps over the places they take again.
    std::size_t before = 0;
    for (; before < from.size() && from[before] < tile; ++before) {
    }
    if (before < from.size() && from[before] == tile) {
        return to[before];
    }
    int number = tile - static_cast<int>(before);
    for (const int t : to) {
        if (t > number) {
            break;
        }
        ++number;
    }
    return number;
}

void StripModel::moveTiles(const std::vector<int>& from, const std::vector<int>& to) {
    if (from.size() != to.size()) {
        throw std::invalid_argument("as many places as tiles to move expected");
    }
    if (from.empty() || from == to) {
        return;
    }
    const int current = currentTile_ == 0 ? 0 : movedNumber(currentTile_, from, to);
    const int base = baseTile_ == 0 ? 0 : movedNumber(baseTile_, from, to);
    if (from.size() == 1) {
        // One tile: only the tiles between its two places shift.
        const int a = from.front();
        const int b = to.front();
        tiles_.move(a, b);
        const auto mark = [this](int i) { return marks_.begin() + (i - 1); };
        if (a < b) {
            std::rotate(mark(a), mark(a + 1), mark(b + 1));
        } else {
            std::rotate(mark(b), mark(a), mark(a + 1));
        }
        const Twips length = offsets_.length(a - 1);
        offsets_.erase(a - 1);
        offsets_.insert(b - 1, length);
        currentTile_ = current;
        baseTile_ = base;
        return;
    }
    std::vector<Mark> moved;
    moved.reserve(from.size());
    for (const int i : from) {
        moved.push_back(markOf(i));
    }
    std::vector<NumberedTile> tiles = takeTiles(from);
    for (std::size_t j = 0; j < tiles.size(); ++j) {
        tiles[j].number = to[j];
    }
    putTiles(std::move(tiles));
    for (std::size_t j = 0; j < to.size(); ++j) {
        markOf(to[j]) = moved[j];
    }
    currentTile_ = current;
    baseTile_ = base;
}

void StripModel::rebuildOffsets() {
    std::vector<RowOffsets::Length> lengths;
    lengths.reserve(static_cast<std::size_t>(count()));
    for (int i = 1; i <= count(); ++i) {
        lengths.push_back(rowLength(i));
    }
    offsets_.assign(lengths);
}

void StripModel::reload() {
    const int n = count();
    marks_.assign(static_cast<std::size_t>(n), Mark::White);
    rebuildOffsets();
    currentTile_ = 0;
    baseTile_ = n > 0 ? 1 : 0;
}

int StripModel::appendTile(Tile tile) {
    if (count() >= TileSet::kMaxTiles) {
        throw std::length_error("a tile library holds at most 32767 tiles");
    }
    tiles_.append(std::move(tile));
    const int n = count();
    try {
        marks_.push_back(Mark::White);
        offsets_.pushBack(rowLength(n));
    } catch (...) {
        marks_.resize(static_cast<std::size_t>(n - 1));
        tiles_.remove(n);
        throw;
    }
    if (n == 1) {
        firstTileIsBase();
    }
    return n;
}

void StripModel::replaceTile(int i, Tile tile) {
    tiles_.tile(i) = std::move(tile);
    tileChanged(i);
}

void StripModel::tileChanged(int i) {
    if (!exists(i)) {
        throw std::out_of_range("no such tile");
    }
    offsets_.setLength(i - 1, rowLength(i));
}

Twips StripModel::rowLength(int i) const {
    return Twips{tiles_.tile(i).full.height()} * kTwipsPerPixel + kRowGap;
}

ColourValue StripModel::mark(int i) const {
    switch (marks_.at(static_cast<std::size_t>(i - 1))) {
    case Mark::Black:
        return palette::Black;
    case Mark::DarkBlue:
        return palette::DarkBlue;
    case Mark::White:
        break;
    }
    return palette::White;
}

std::vector<int> StripModel::selectedTiles() const {
    std::vector<int> selected;
    for (std::size_t i = 0; i < marks_.size(); ++i) {
        if (marks_[i] == Mark::DarkBlue) {
            selected.push_back(static_cast<int>(i) + 1);
        }
    }
    return selected;
}

PressOutcome StripModel::press(int tile, RowPart part, MouseButton button, Modifiers modifiers) {
    PressOutcome outcome;
    if (!exists(tile)) {
        return outcome;
    }
    if (button == MouseButton::Left) {
        switch (modifiers) {
        case Modifiers::None:
            showSelectedTile(tile);
            multiSelect_ = false;
            outcome.action = PressOutcome::Action::ShowTile;
            outcome.tile = tile;
            break;
        case Modifiers::Shift:
            if (tile != currentTile_) {
                const int from = currentTile_ != 0 ? currentTile_ : 1;
                for (int i = std::min(from, tile); i <= std::max(from, tile); ++i) {
                    markOf(i) = Mark::DarkBlue;
                }
                multiSelect_ = true;
            }
            break;
        case Modifiers::Ctrl:
            markOf(tile) = markOf(tile) == Mark::DarkBlue ? Mark::White : Mark::DarkBlue;
            multiSelect_ = true;
            break;
        case Modifiers::Other:
            break;
        }
        return outcome;
    }
    if (button == MouseButton::Right && modifiers != Modifiers::Other) {
        const Mark m = markOf(tile);
        if (m == Mark::DarkBlue || (m == Mark::Black && part == RowPart::Full)) {
            outcome.action = PressOutcome::Action::ShowContextMenu;
            outcome.menu.setBaseTile = !multiSelect_;
            outcome.menu.deleteTile = !multiSelect_;
            outcome.menu.deleteTiles = multiSelect_;
            outcome.menu.saveTilesAsCaption =
                multiSelect_ ? kSaveSelectedTilesCaption : kSaveSelectedTileCaption;
        }
    }
    return outcome;
}

void StripModel::showSelectedTile(int k) {
    if (!exists(k)) {
        return;
    }
    std::replace(marks_.begin(), marks_.end(), Mark::DarkBlue, Mark::White);
    if (k == currentTile_) {
        currentTile_ = 0;
        markOf(k) = k == baseTile_ ? Mark::Black : Mark::White;
        return;
    }
    markOf(k) = Mark::DarkBlue;
    if (exists(currentTile_)) {
        markOf(currentTile_) = currentTile_ == baseTile_ ? Mark::Black : Mark::White;
    }
    currentTile_ = k;
}

void StripModel::setBaseTile() {
    if (exists(baseTile_)) {
        markOf(baseTile_) = Mark::White;
    }
    baseTile_ = exists(currentTile_) ? currentTile_ : 0;
    if (baseTile_ != 0) {
        // The current tile shows as selected; its black mark appears once another tile
        // becomes current.
        markOf(baseTile_) = Mark::DarkBlue;
    }
}

void StripModel::firstTileIsBase() {
    // As after opening a library, so Paste Base Image and Create's return to the base
    // tile work in a library built from nothing.
    baseTile_ = 1;
    markBaseIfUnselected();
}

void StripModel::markBaseIfUnselected() {
    if (exists(baseTile_) && markOf(baseTile_) != Mark::DarkBlue) {
        markOf(baseTile_) = Mark::Black;
    }
}

DeleteOutcome StripModel::deleteTile(int k, std::vector<NumberedTile>* removed) {
    DeleteOutcome outcome;
    if (!exists(k)) {
        return outcome;
    }
    outcome.removed = 1;
    if (removed) {
        removed->push_back(NumberedTile{k, std::move(tiles_.tile(k))});
    }
    tiles_.remove(k);
    marks_.erase(marks_.begin() + (k - 1));
    offsets_.erase(k - 1);
    currentTile_ = 0;
    if (count() == 0) {
        // Nothing is left to be current or base.
        baseTile_ = 0;
        outcome.becameEmpty = true;
        return outcome;
    }
    if (baseTile_ == k) {
        baseTile_ = 1;
        markBaseIfUnselected();
    } else if (baseTile_ > k) {
        --baseTile_;
    }
    return outcome;
}

DeleteOutcome StripModel::deleteSelected(std::vector<NumberedTile>* taken) {
    if (!multiSelect_) {
        return deleteTile(currentTile_, taken);
    }
    const int n = count();
    std::vector<bool> remove(static_cast<std::size_t>(n));
    int firstRemoved = 0;
    int removedBeforeBase = 0;
    int removed = 0;
    for (int i = 1; i <= n; ++i) {
        if (markOf(i) == Mark::DarkBlue) {
            remove[static_cast<std::size_t>(i - 1)] = true;
            if (firstRemoved == 0) {
                firstRemoved = i;
            }
            if (i < baseTile_) {
                ++removedBeforeBase;
            }
            ++removed;
        }
    }
    DeleteOutcome outcome;
    if (removed == 0) {
        return outcome;
    }
    outcome.removed = removed;

    // One pass: survivors move up over the removed tiles, then the tail goes.
    int kept = firstRemoved - 1;
    for (int i = firstRemoved; i <= n; ++i) {
        if (!remove[static_cast<std::size_t>(i - 1)]) {
            ++kept;
            if (kept != i) {
                tiles_.tile(kept) = std::move(tiles_.tile(i));
            }
            markOf(kept) = markOf(i);
        } else if (taken) {
            taken->push_back(NumberedTile{i, std::move(tiles_.tile(i))});
        }
    }
    for (int i = n; i > kept; --i) {
        tiles_.remove(i);
    }
    marks_.resize(static_cast<std::size_t>(kept));
    if (removed <= 64) {
        // A few rows: cheaper one by one, from the last so the indices stay valid.
        for (int i = n; i >= firstRemoved; --i) {
            if (remove[static_cast<std::size_t>(i - 1)]) {
                offsets_.erase(i - 1);
            }
        }
    } else {
        offsets_.eraseFlagged(remove);
    }

    currentTile_ = 0;
    if (kept == 0) {
        baseTile_ = 0;
        outcome.becameEmpty = true;
        return outcome;
    }
    if (baseTile_ >= 1 && baseTile_ <= n && remove[static_cast<std::size_t>(baseTile_ - 1)]) {
        baseTile_ = 1;
        markBaseIfUnselected();
    } else {
        baseTile_ -= removedBeforeBase;
    }
    const int before = firstRemoved - 1;
    if (before > 1) {
        showSelectedTile(before);
        outcome.showTile = before;
    }
    return outcome;
}

DeleteOutcome StripModel::deleteTiles(const std::vector<int>& ascending,
                                      std::vector<NumberedTile>* removed) {
    for (const int i : ascending) {
        if (!exists(i)) {
            throw std::out_of_range("no such tile");
        }
    }
    std::replace(marks_.begin(), marks_.end(), Mark::DarkBlue, Mark::White);
    markBaseIfUnselected();
    for (const int i : ascending) {
        markOf(i) = Mark::DarkBlue;
    }
    multiSelect_ = true;
    return deleteSelected(removed);
}

RowGeometry StripModel::rowGeometry(int i) const {
    const Tile& tile = tiles_.tile(i);
    RowGeometry g;
    g.fullTop = kFirstFullTop + offsets_.offset(i - 1);
    g.fullLeft = kFullLeft;
    g.fullWidth = Twips{tile.full.width()} * kTwipsPerPixel;
    g.fullHeight = Twips{tile.full.height()} * kTwipsPerPixel;
    g.frameTop = g.fullTop - kFrameAboveFull;
    g.frameHeight = g.fullHeight + kRowGap;
    g.halfWidth = Twips{tile.half.width()} * kTwipsPerPixel;
    g.halfHeight = Twips{tile.half.height()} * kTwipsPerPixel;
    g.halfTop = g.fullTop + centredOffset(tile.full.height(), g.halfHeight);
    g.halfLeft = g.fullWidth + kRowGap;
    g.smallSize = kSmallSize;
    g.smallTop = g.fullTop + centredOffset(tile.full.height(), kSmallSize);
    g.smallLeft = g.halfLeft + g.halfWidth + kRowGap;
    return g;
}

Twips StripModel::contentHeight() const {
    return offsets_.total();
}

int StripModel::rowAt(Twips y) const {
    // Frame i spans [offset(i-1) - 35, offset(i) - 35): frames touch.
    return offsets_.indexAt(y + kFrameAboveFull - kFirstFullTop) + 1;
}

RowHit StripModel::hitTest(Twips x, Twips y) const {
    RowHit hit;
    hit.tile = rowAt(y);
    if (hit.tile == 0) {
        return hit;
    }
    const RowGeometry g = rowGeometry(hit.tile);
    if (inside(x, y, g.fullLeft, g.fullTop, g.fullWidth, g.fullHeight)) {
        hit.part = RowPart::Full;
    } else if (inside(x, y, g.halfLeft, g.halfTop, g.halfWidth, g.halfHeight)) {
        hit.part = RowPart::Half;
    } else if (inside(x, y, g.smallLeft, g.smallTop, g.smallSize, g.smallSize)) {
        hit.part = RowPart::Small;
    }
    return hit;
}

int StripModel::gapAt(Twips y) const {
    if (count() == 0) {
        return 1;
    }
    const int row = rowAt(y);
    if (row == 0) {
        return y < kFirstFullTop ? 1 : count() + 1;
    }
    const RowGeometry g = rowGeometry(row);
    return y < g.frameTop + g.frameHeight / 2 ? row : row + 1;
}

Twips StripModel::gapTop(int gap) const {
    if (count() == 0) {
        return 0;
    }
    gap = std::clamp(gap, 1, count() + 1);
    // Frame k starts at offset(k-1) - 35: the gap before row k is that frame's top.
    return offsets_.offset(gap - 1) + kFirstFullTop - kFrameAboveFull;
}

ScrollSettings StripModel::scrollSettings(Twips viewportHeight) const {
    ScrollSettings s;
    const Twips content = contentHeight();
    const Twips maximum = content - viewportHeight;
    s.enabled = content > viewportHeight;
    Twips small = 0;
    if (count() > 0) {
        small = rowLength(1);
    }
    const Twips large = small * 5;
    if (fitsInt32(maximum)) {
        s.maximum = static_cast<std::int32_t>(maximum);
        s.smallStep = static_cast<std::int32_t>(small);
        s.largeStep = static_cast<std::int32_t>(large);
        return s;
    }
    // Taller than 32 bits of twips: count whole pixels instead, rounding the maximum up
    // so the last row can still be reached.
    s.unitTwips = static_cast<std::int32_t>(kTwipsPerPixel);
    s.maximum = static_cast<std::int32_t>((maximum + kTwipsPerPixel - 1) / kTwipsPerPixel);
    s.smallStep = static_cast<std::int32_t>(std::max<Twips>(1, small / kTwipsPerPixel));
    s.largeStep = static_cast<std::int32_t>(std::max<Twips>(1, large / kTwipsPerPixel));
    return s;
}

} // namespace qrb
