#pragma once
// The Tile menu's options, as at start-up. They are the user's settings, not edits; a
// command that changes one by itself (deleting the last tile) records it in its step.

namespace qrb {

struct DocumentOptions {
    bool createUsingPosition = false;  // Create stamps every slot with a text first
    bool createFromWorkingTile = true; // Create takes the working tile, not the preview
    bool createHalfTile = true;        // Create and clicks derive the half image
    bool pasteBaseAfterCreate = true;  // Create goes back to the base tile afterwards
    bool operator==(const DocumentOptions&) const = default;
};

} // namespace qrb
