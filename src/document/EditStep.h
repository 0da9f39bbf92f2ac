#pragma once
// One undoable edit, kept as the parts of the document it changed: for each part the state
// before and after (the working tile, the text being placed and whether it shows, the
// position slots with their buttons, the strip's selection, the options, whether a library
// is open), and for the tiles the numbers that were added or removed with the tiles that are
// out of the set at the moment, the places tiles moved from and to, or the tile replaced in
// place with its other version. Pictures share their pixels with the document, and removed
// tiles are moved into the step, never copied.

#include "document/DocumentOptions.h"
#include "document/Placement.h"
#include "document/WorkingTile.h"
#include "editing/StripModel.h"
#include "text/PositionSlot.h"

#include <QString>

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace qrb {

template <typename T> struct BeforeAfter {
    T before;
    T after;
};

// The text being placed and whether it shows on the working tile.
struct LiveText {
    Placement placement;
    bool shown = false;
    bool operator==(const LiveText&) const = default;
};

// The position slots with which of their buttons take clicks and whether a Store waits for
// one: what the slot buttons do next is part of what a step puts back.
struct SlotState {
    PositionSlots positionSlots;
    std::array<bool, PositionSlots::kCount> buttons{};
    bool storePending = false;
    bool operator==(const SlotState&) const = default;
};

struct EditStep {
    // Appended: tiles added at their numbers, at the end or among the others.
    enum class TileChange { None, Appended, Removed, Moved, Replaced };
    // Steps of one kind that follow each other merge into one: a run of typing is one
    // step, not one per key; typing into a slot's box is a run of its own for each box.
    enum class Run { None, Typing, Move, Turn, SlotText };

    QString text; // what the Undo and Redo items name, e.g. "Place"
    Run run = Run::None;
    int runKey = 0; // steps of a run merge only with the same key (the slot typed into)
    std::optional<BeforeAfter<WorkingTile>> working;
    std::optional<BeforeAfter<LiveText>> liveText;
    std::optional<BeforeAfter<SlotState>> positionSlots;
    std::optional<BeforeAfter<StripModel::Selection>> selection;
    std::optional<BeforeAfter<bool>> libraryOpen;
    std::optional<BeforeAfter<DocumentOptions>> options;
    TileChange tileChange = TileChange::None;
    std::vector<int> tileNumbers;        // ascending: the tiles appended, removed or moved
    std::vector<int> movedTo;            // ascending: where the moved tiles went
    std::vector<NumberedTile> heldTiles; // those of them that are out of the set now; for
                                         // Replaced, the tile's other version

    // The step changes the library's tiles (so it decides whether the file is saved).
    bool changesLibrary() const { return tileChange != TileChange::None; }
    // Memory the step holds, for the history's limit; fixed when the step is recorded.
    std::size_t bytes = 0;
};

} // namespace qrb
