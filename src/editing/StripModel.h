#pragma once
// The tile strip's rules, free of any widget: which tiles are marked, which tile is
// current and which is the base tile, what a mouse press on a row does, how appending
// and deleting tiles renumber the set and move the marks, where every row sits (in
// twips, 15 per pixel) and the strip's scroll range.
//
// The model works on a TileSet owned by the document. Every change of the tile count goes
// through the model (appendTile, deleteTile, deleteSelected, reload) so the marks and the
// row geometry always match the tiles. The window turns the model's state into pixels
// and carries out the outcomes it returns (load a tile into the editor, show the tile
// menu, hide the editor when the last tile went).
//
// Tiles are numbered 1..count(); 0 means "no tile" wherever a tile number is returned.
// Everything is cheap at the format's limit of 32767 tiles: geometry queries, hit tests
// and appends cost O(log n), a single delete costs O(log n) here plus the tile set's own
// removal, and a delete of many marked tiles is one pass over the set.

#include "core/Colour.h"
#include "editing/RowOffsets.h"
#include "tileset/TileSet.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace qrb {

// Strip coordinates are twips. 64-bit so that even the tallest possible strip (32767
// rows of the largest images) cannot overflow.
using Twips = std::int64_t;

namespace strip {
constexpr Twips kTwipsPerPixel = 15;
// Gap added below every row's full image; rows are full height + this apart.
constexpr Twips kRowGap = 100;
// Top and left of the first row's full image inside the strip content.
constexpr Twips kFirstFullTop = 15;
constexpr Twips kFullLeft = 30;
// The row frame starts this far above the full image and is kRowGap taller than it.
constexpr Twips kFrameAboveFull = 50;
// Left edge of every row frame; its width is the window's (viewport width + 100).
constexpr Twips kFrameLeft = -45;
// Side of the small-colour square.
constexpr Twips kSmallSize = 150;
} // namespace strip

// Captions of the tile menu's "save selected" item in its two forms.
inline constexpr std::string_view kSaveSelectedTileCaption = "Save the selected tile as...";
inline constexpr std::string_view kSaveSelectedTilesCaption = "Save the selected tiles as...";

// The four parts of a strip row that take mouse presses.
enum class RowPart { Full, Half, Small, Frame };

enum class MouseButton { Left, Right, Other };

// Keyboard state at a press: exactly Shift, exactly Ctrl, nothing, or any other
// combination (which the rules treat as "ignore").
enum class Modifiers { None, Shift, Ctrl, Other };

// Which items of the tile context menu (mnuTileMenu) are visible. mnuSaveTilesAs is
// always visible; only its caption changes. Other items keep their state.
struct TileMenuForm {
    bool setBaseTile = false; // mnuSetBaseTile "Set as Base tile"
    bool deleteTile = false;  // mnuDeleteTile "Delete Tile"
    bool deleteTiles = false; // mnuDeleteTiles "Delete selected tiles"
    std::string_view saveTilesAsCaption = kSaveSelectedTileCaption; // mnuSaveTilesAs
    friend bool operator==(const TileMenuForm&, const TileMenuForm&) = default;
};

// What the window does after a mouse press on a row. Marks, CurrentTile and MultiSelect
// have already been updated by the model. Whatever the outcome, the window sets
// EditingFullImage afterwards.
struct PressOutcome {
    enum class Action {
        Nothing,        // repaint the marks if you like; nothing else
        ShowTile,       // load `tile` into the working tile, undo copy and previews
        ShowContextMenu // show mnuTileMenu at the pointer, prepared as `menu` says
    };
    Action action = Action::Nothing;
    int tile = 0;
    TileMenuForm menu;
    friend bool operator==(const PressOutcome&, const PressOutcome&) = default;
};

// What the window does after a delete.
struct DeleteOutcome {
    int removed = 0;          // tiles removed; 0 means nothing changed at all
    bool becameEmpty = false; // the last tile went: hide the editor, empty the tile
                              // count panel, end "library open", disable Save/Save As
    int showTile = 0;         // a tile the model made current (marks applied): load it
                              // into the editor; 0 = leave the editor as it is
    friend bool operator==(const DeleteOutcome&, const DeleteOutcome&) = default;
};

// Where one row's pieces sit inside the strip content, in twips.
struct RowGeometry {
    Twips frameTop = 0, frameHeight = 0; // frame left is strip::kFrameLeft
    Twips fullTop = 0, fullLeft = 0, fullWidth = 0, fullHeight = 0;
    Twips halfTop = 0, halfLeft = 0, halfWidth = 0, halfHeight = 0;
    Twips smallTop = 0, smallLeft = 0, smallSize = 0;
    friend bool operator==(const RowGeometry&, const RowGeometry&) = default;
};

// A point of the strip content resolved to a row and the part of it under the point.
struct RowHit {
    int tile = 0; // 0 = no row there
    RowPart part = RowPart::Frame;
    friend bool operator==(const RowHit&, const RowHit&) = default;
};

// The strip scroll bar's settings, recomputed whenever the set of tiles changes. The
// bar is always put back to value 0 (scrolled to the top) when these are applied.
//
// Values are twips. While they fit a signed 16-bit number they are exactly the classic
// numbers (maximum = content height - viewport height, small step = tile 1's full
// height + 100, large step = 5 x small step). Taller strips keep the same units with a
// 32-bit range, so every row of a 32767-tile library can be scrolled to. Only if the
// strip is taller than the 32-bit twips range (not reachable with real tiles) do the
// values switch to whole pixels; unitTwips says which.
struct ScrollSettings {
    bool enabled = false;       // content taller than the viewport
    std::int32_t maximum = 0;   // may be negative when everything fits; use max(0, ..)
    std::int32_t smallStep = 0; // 0 when there is no tile: keep the previous steps
    std::int32_t largeStep = 0; // 0 when there is no tile: keep the previous steps
    std::int32_t unitTwips = 1; // twips per scroll unit: 1, or 15 for a giant strip
    friend bool operator==(const ScrollSettings&, const ScrollSettings&) = default;
};

class StripModel {
    enum class Mark : std::uint8_t { White, Black, DarkBlue };

public:
    // Everything a press, a load or a delete changes besides the tiles themselves: the
    // marks, the current and base tile and MultiSelect. Taken and put back whole by undo.
    struct Selection {
        std::vector<Mark> marks;
        int currentTile = 0;
        int baseTile = 0;
        bool multiSelect = false;
        friend bool operator==(const Selection&, const Selection&) = default;
    };

    // Works on `tiles`, which must outlive the model. Starts as after reload().
    explicit StripModel(TileSet& tiles);

    StripModel(const StripModel&) = delete;
    StripModel& operator=(const StripModel&) = delete;

    const TileSet& tiles() const { return tiles_; }
    int count() const { return tiles_.count(); }

    // ---- Whole-set changes ----------------------------------------------------------

    Selection selection() const;
    // Puts back a selection taken when the set had the count it has now.
    void restore(Selection selection);

    // Re-reads the tile set after the window replaced its contents (opening a library):
    // every mark white, no current tile, tile 1 the base tile (0 when empty), geometry
    // rebuilt. MultiSelect is left as it is. An open then calls showSelectedTile(1).
    void reload();

    // Appends `tile` as tile count()+1 (unmarked, not current). Current tile, base tile
    // and the other marks stay; the first tile of an empty set becomes the base tile.
    // Returns the new tile's number. Throws std::length_error
    // when the set already holds TileSet::kMaxTiles tiles; nothing changes then.
    int appendTile(Tile tile);

    // Replaces tile i's images and colour in place (a row filled after it was appended);
    // its row and the rows below follow the new size.
    void replaceTile(int i, Tile tile);

    // Call after changing tile i through the window's own TileSet reference, so the
    // row geometry follows its image sizes.
    void tileChanged(int i);

    // ---- Marks and selection state --------------------------------------------------

    // The mark of tile i: palette::White (unmarked), palette::Black (the base tile, not
    // selected) or palette::DarkBlue (selected). Tile i must exist.
    ColourValue mark(int i) const;
    bool isSelected(int i) const { return mark(i) == palette::DarkBlue; }

    // The tile loaded in the editor as the current tile; 0 = none.
    int currentTile() const { return currentTile_; }
    // The tile whose images "paste base image" uses; 0 = none.
    int baseTile() const { return baseTile_; }
    // The marks were made with Shift or Ctrl: the tile menu offers the plural commands,
    // and Delete selected tiles removes every marked tile.
    bool multiSelect() const { return multiSelect_; }

    // Every selected (dark blue) tile, ascending: what "save selected tiles" writes.
    std::vector<int> selectedTiles() const;

    // ---- Mouse presses and commands -------------------------------------------------

    // A press of `button` with `modifiers` on `part` of row `tile`:
    //  * left, none: showSelectedTile(tile), clear MultiSelect -> ShowTile;
    //  * left, Shift: mark every tile from the current tile (tile 1 when none) to `tile`
    //    inclusive, keep other marks, set MultiSelect; nothing at all if `tile` is the
    //    current tile;
    //  * left, Ctrl: toggle `tile` between dark blue and white, set MultiSelect;
    //  * right with none, Shift or Ctrl on a dark blue row, or on the full image of a
    //    black row: ShowContextMenu in the singular form (Set as Base tile, "...tile
    //    as...", Delete Tile) or, with MultiSelect, the plural form ("...tiles as...",
    //    Delete selected tiles);
    //  * anything else (other modifiers, other buttons, white rows, a tile number
    //    outside the set): Nothing.
    // The current tile and the editor change only through the plain left click.
    PressOutcome press(int tile, RowPart part, MouseButton button, Modifiers modifiers);

    // The marks and CurrentTile side of loading tile k into the editor: clears every
    // dark blue mark; if k is already current, no tile becomes current and k shows its
    // base/unmarked colour; otherwise k is marked dark blue, the previous current tile
    // shows black if it is the base tile else white, and k becomes current. In both
    // cases the window then loads tile k into the editor. Does nothing for k outside
    // the set.
    void showSelectedTile(int k);

    // Set as Base tile: the old base tile turns white, the current tile becomes the base
    // tile and stays dark blue. With no current tile there is no base tile afterwards.
    void setBaseTile();

    // Removes tile k; the tiles behind it move up one place. Marks follow their tiles:
    // the removed tile's mark goes with it and every other tile keeps its own mark.
    // If k was the base tile, tile 1 becomes the base tile (shown black unless it is
    // selected); a base tile behind k keeps pointing at the same tile. Afterwards no
    // tile is current. Removing the only tile leaves an empty set with no current and no
    // base tile (becameEmpty). An index outside the set removes nothing.
    // The removed tile goes to `removed` when given (moved, not copied).
    DeleteOutcome deleteTile(int k, std::vector<NumberedTile>* removed = nullptr);

    // Delete selected tiles. Without MultiSelect: deleteTile(currentTile()). Otherwise
    // removes every selected tile at once, with the same base-tile and mark rules as
    // removing them one by one from the last to the first; then, if the tile just before
    // the first removed one is tile 2 or later, it is shown (showTile) as a plain click
    // would: it becomes current and selected. No selected tile: nothing changes. The
    // removed tiles go to `removed` when given, in ascending order.
    DeleteOutcome deleteSelected(std::vector<NumberedTile>* removed = nullptr);

    // Removes the tiles `ascending` as if they alone were marked with Ctrl and Delete
    // selected tiles was chosen.
    DeleteOutcome deleteTiles(const std::vector<int>& ascending,
                              std::vector<NumberedTile>* removed = nullptr);

    // Undo and redo of appends and deletes: takes the tiles numbered `ascending` out, or
    // puts tiles back at their numbers, with white marks. The current and base tile are
    // left as they are; the caller restores the selection that goes with the new count.
    std::vector<NumberedTile> takeTiles(const std::vector<int>& ascending);
    void putTiles(std::vector<NumberedTile> tiles);

    // Inserts each tile so that it has its number (ascending, fitting the grown set), with a
    // white mark; the current and base tile follow their tiles. In an empty set tile 1
    // becomes the base tile. Throws std::length_error
    // past TileSet::kMaxTiles; nothing changes then.
    void insertTiles(std::vector<NumberedTile> tiles);

    // Reorders the tiles: the tiles at `from` (ascending) end up at `to` (ascending, as
    // many), in the same order; the other tiles keep their order around them. Marks, the
    // current and the base tile follow their tiles. A few tiles cost O(log n) each plus the
    // tile set's own move; the row geometry is never rebuilt for them.
    void moveTiles(const std::vector<int>& from, const std::vector<int>& to);

    // Where tile `tile` is after moveTiles(from, to).
    static int movedNumber(int tile, const std::vector<int>& from, const std::vector<int>& to);

    // ---- Geometry ---------------------------------------------------------------------

    // Where row i sits. Rows are (full height + 100) apart, the first full image at top
    // 15; the frame is 50 above the full image and 100 taller; the half image and the
    // small square are centred on the full image (rounded down to whole pixels), the
    // half image at left full width + 100, the square 100 right of the half image.
    // Tile i must exist.
    RowGeometry rowGeometry(int i) const;

    // Height of the strip content: the sum of (full height + 100) over all rows, the same
    // after opening, appending and deleting. 0 when empty.
    Twips contentHeight() const;

    // The row whose frame covers content height y (twips; frames touch, so every y
    // between the first frame's top and the last frame's bottom has one); 0 = none.
    int rowAt(Twips y) const;

    // The row and part under content point (x, y). Points beside the images count as
    // the frame; the caller checks x against the frame's width.
    RowHit hitTest(Twips x, Twips y) const;

    // The gap between rows nearest content height y, for dropping tiles: the gap before
    // row k is k, after the last row count() + 1; 1 above the first row.
    int gapAt(Twips y) const;
    // Where the line showing gap k is drawn: between the two rows' frames, in twips.
    Twips gapTop(int gap) const;

    // The scroll bar settings for a viewport of the given inner height in twips.
    ScrollSettings scrollSettings(Twips viewportHeight) const;

private:
    Twips rowLength(int i) const;
    Mark& markOf(int i) { return marks_[static_cast<std::size_t>(i - 1)]; }
    bool exists(int i) const { return i >= 1 && i <= count(); }
    void markBaseIfUnselected();
    void firstTileIsBase();
    void rebuildOffsets();
    void insertRows(const std::vector<int>& ascending);
    void eraseRows(const std::vector<int>& ascending);
    static constexpr std::size_t kFewRows = 64;

    TileSet& tiles_;
    std::vector<Mark> marks_; // index i-1 for tile i
    RowOffsets offsets_;      // row i: length full height + 100, starts at offset(i-1)
    int currentTile_ = 0;
    int baseTile_ = 0;
    bool multiSelect_ = false;
};

} // namespace qrb
