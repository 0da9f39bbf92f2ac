#pragma once
// One editing session of the editor, free of widgets: the open library (tiles and the
// strip's marks), the working tile with its previews, the line of lettering being placed,
// the nine position slots, the options of the Tile menu, the library's path and whether it
// is open and saved, and the undo history.
//
// Every edit is one undo step: Create, Add and Clone tile, Delete tile, Delete selected
// tiles, Letter from table (however many tiles it makes), Place, the turns and flips,
// Paste, Paste Base Image, the small colour, the preview clicks (with the half-size
// derivation), Store into a slot, a slot recall (it commits what the working tile
// shows), Load and Clear position data, and the text being placed: a run of typing, of
// moves or of turns is one step ("Typing", "Move Text", "Turn Text"), each style change
// one; typing into a slot's box ("Slot Text", one step while the same box is typed into).
// Undo puts back exactly what the step changed: the text and whether it shows, the slots
// with their buttons, an option the command reset. Selecting tiles, scrolling, Store's
// first click and the options the user sets are not edits.
//
// The working tile the user sees is a view: the picture plus the text being placed drawn
// on a copy (workingImage()). The text shows once it is typed, moved, turned or restyled,
// and goes away when the working tile gets a new picture; Place, a recall and the turns
// make what is shown the picture.
//
// Setting a value the document already holds changes nothing and reports nothing, so a
// view that shows the document can never turn its own display into an edit.
//
// The document never shows anything. It reports what changed through changed(); a
// command it refuses for a reason the user must know throws Refusal (a file it cannot
// read or write throws the file layer's errors), and everything is left as it was.

#include "document/DocumentOptions.h"
#include "document/EditStep.h"
#include "document/PictureImport.h"
#include "document/Placement.h"
#include "document/UndoHistory.h"
#include "document/WorkingTile.h"
#include "editing/StripModel.h"
#include "text/PositionSlot.h"
#include "tileset/TileSet.h"

#include "core/FileIdentity.h"
#include "core/MemorySize.h"
#include "core/Progress.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <vector>

namespace qrb {

class LetteringTable;
class LetteringArt;
class TableLettering;

// A command the document does not carry out, with the reason to show.
class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Document : public QObject {
    Q_OBJECT
public:
    // What changed, as finely as the views need it: each view acts only on the parts it
    // shows, so typing repaints the working tile and nothing else.
    enum class Change : unsigned {
        Tiles = 1 << 0,     // tile images or the count, from firstTile on
        Selection = 1 << 1, // marks, current and base tile, MultiSelect
        Picture = 1 << 2,   // the working tile's picture, whether it shows, what it edits
        Previews = 1 << 3,  // the full and half previews and the small colour
        LiveText = 1 << 4,  // what the working tile shows over its picture
        Text = 1 << 5,      // the text being placed
        Position = 1 << 6,  // its position, and whether the position takes input
        Angle = 1 << 7,
        Style = 1 << 8,
        Slots = 1 << 9,    // the position slots or a pending Store
        Path = 1 << 10,    // the library's path and whether one is open
        Saved = 1 << 11,   // whether the library is as saved
        History = 1 << 12, // what Undo and Redo would do
        Options = 1 << 13,
        Appended = 1 << 14,  // with Tiles: new tiles at the end, to be brought into view
        Reordered = 1 << 15, // with Tiles: tiles changed places or one was replaced in
                             // place; the count is the same, the view may stay where it is
        Layout = 1 << 16,    // the large or small layout the tiles call for (largeLayout());
                             // also with every library opened or started
        // Groups, for changes of several parts at once.
        WorkingTile = Picture | Previews | LiveText,
        Placement = Text | Position | Angle | Style,
        File = Path | Saved,
    };
    Q_DECLARE_FLAGS(Changes, Change)

    using Options = DocumentOptions;

    // A full image above this size needs the large preview layout; above kOddTileSize
    // the strip and the previews look odd.
    static constexpr int kLargeTileSize = 164;
    static constexpr int kOddTileSize = 256;

    explicit Document(QObject* parent = nullptr);
    ~Document() override;

    // ---- The library ---------------------------------------------------------------
    const TileSet& tiles() const { return tiles_; }
    const StripModel& strip() const { return strip_; }
    int tileCount() const { return tiles_.count(); }
    int currentTile() const { return strip_.currentTile(); }
    int baseTile() const { return strip_.baseTile(); }
    const QString& path() const { return path_; }
    // A library was opened or started with New, and deleting its last tile did not close it.
    bool isLibraryOpen() const { return libraryOpen_; }
    // The library's tiles are as they were when it was last opened or saved.
    bool isSaved() const;
    // Some tile is larger than kLargeTileSize / how many are larger than kOddTileSize; they
    // follow every change of the tiles, undo and redo included.
    bool largeLayout() const;
    int oddTileCount() const;

    // Reads the library at `path` and makes it the document's, with tile 1 current and
    // base and a new history. A failure throws and leaves everything as it was.
    // `budget` bounds the memory its images may take (see LibraryFile::load).
    void open(const QString& path, const ProgressCallback& progress = {},
              std::uint64_t budget = defaultMemoryBudget());
    // Replaces the library with `tiles` as if opened from `path` (a library built in
    // memory: tools and tests).
    void openTiles(TileSet tiles, const QString& path);
    // An empty untitled library with a new history (File > New); the first save names it.
    void newLibrary();
    // Writes the library to `path` atomically; it becomes the library's path and the
    // saved state. A failure throws and changes nothing. The write holds the file's lock
    // (core/FileLock), waiting for another program's change to end; the library's own
    // file, when another program changed it since it was read or written here, is only
    // replaced while it is still `agreedToReplace`, the version the user agreed to replace.
    void save(const QString& path, const ProgressCallback& progress = {},
              std::optional<FileIdentity> agreedToReplace = std::nullopt);
    // Writes the selected tiles to `path` atomically, under the file's lock. Written over
    // the library's own file, the library counts as unsaved.
    void saveSelected(const QString& path, const ProgressCallback& progress = {});
    // The library's file is no longer the one last read or written here: another program
    // replaced or changed it. False when the file is gone (nothing on disk would be lost).
    bool fileChangedOnDisk() const;
    // The library's file as it is on disk now; empty when there is none.
    std::optional<FileIdentity> fileOnDisk() const;

    // ---- Selection (not edits) -----------------------------------------------------
    // A press on a row; a plain click loads the tile into the working tile.
    PressOutcome press(int tile, RowPart part, MouseButton button, Modifiers modifiers);
    // Loads tile k into the editor as a plain click on it does.
    void showSelectedTile(int k);
    void setBaseTile();

    // ---- Tile edits ----------------------------------------------------------------
    // Appends a tile made of the working tile (or the full preview), the half preview and
    // the small colour, as the options say. False when the working tile is hidden.
    // Throws Refusal when the library is full.
    bool createTile();
    // Appends a white tile of the full preview's size; returns its number.
    int addTile();
    // Appends a copy of the current tile; false without one.
    bool cloneTile();
    // The current tile takes the images and small colour Create would make, in place (one
    // "Replace Tile" step); false without a current tile or with the working tile hidden.
    bool replaceTile();
    // Inserts a copy of the current tile right after it; false without one. Throws Refusal
    // when the library is full.
    bool duplicateTile();
    // Moves the current tile, or with MultiSelect every marked tile (keeping their order),
    // one place up or down, or to the start or the end; marked tiles already against that
    // end stay. False when nothing moves.
    enum class TileMove { Up, Down, ToStart, ToEnd };
    bool moveTiles(TileMove where);
    bool canMoveTiles(TileMove where) const;
    // Tile `from` ends up at position `to`. Throws Refusal for a number outside the
    // library; false when from == to.
    bool moveTile(int from, int to);
    // A drag in the strip: the tiles `rows` (ascending) go, in their order, into the gap
    // before tile `gap` (count + 1: after the last). False when nothing moves.
    bool dropTiles(const std::vector<int>& rows, int gap);
    // Where new tiles go: after the current tile, else at the end.
    int insertionPoint() const;
    // Inserts `tiles` in order from position `at` (1..count+1) as one undo step named
    // `what`; returns how many. Throws Refusal past TileSet::kMaxTiles; nothing changes then.
    int insertTiles(int at, std::vector<Tile> tiles, const QString& what);
    // Bytes the library's images take.
    std::uint64_t pixelBytes() const;
    // Import Images: the tiles of each file in `paths` (a picture, fitted or sliced by
    // `options`, or a library) at insertionPoint(), in order, as one step; the files the
    // library cannot take or that cannot be read are in the result's refused list. Empty
    // when `stop` was requested: nothing changes then.
    std::optional<PictureImport> importPictures(const QStringList& paths,
                                                std::uint64_t budget = defaultMemoryBudget(),
                                                const ProgressCallback& progress = {},
                                                std::stop_token stop = {},
                                                const ImportOptions& options = {});
    // Removes tile k (the current tile for deleteTile()); false when there is none.
    bool deleteTile(int k);
    bool deleteTile() { return deleteTile(currentTile()); }
    // Removes every marked tile (the current tile without MultiSelect).
    bool deleteSelected();
    // Removes the tiles `ascending` as Delete selected tiles removes them when they alone
    // are marked.
    bool deleteTiles(const std::vector<int>& ascending);
    // Appends `tiles` as one undo step named `what`; returns how many. Throws Refusal when
    // they would take the library past TileSet::kMaxTiles; nothing changes then.
    int appendTiles(std::vector<Tile> tiles, const QString& what);
    // Letter from table: for each row and copy a new tile, made from the row's base tile
    // and the position slots as they stand (the row's texts in place of theirs) the way
    // Create using position data makes it, all appended as one undo step. The text being
    // placed and the working tile are left alone. Throws TableError (row and column) when
    // the table does not fit the library; returns the number of tiles appended, or empty
    // when `stop` was requested. Cancelled or failed, the library stays as it was.
    std::optional<int> letterFromTable(const LetteringTable& table,
                                       const ProgressCallback& progress = {},
                                       std::stop_token stop = {});
    // Letter from table in two halves, for lettering away from the document's thread: the
    // lettering of `table` as letterFromTable() makes it (throws TableError as it does),
    // with the `art` its rows draw, which only reads the document and must not outlive or
    // overlap a change of it; and the append of the tiles it made as one undo step.
    TableLettering tableLettering(const LetteringTable& table,
                                  const LetteringArt* art = nullptr) const;
    // Memory the pictures and icons of one lettering may hold.
    static constexpr std::uint64_t kArtMemory = std::uint64_t(1) << 30;
    int appendLettered(std::vector<Tile> tiles);

    // ---- Working tile edits --------------------------------------------------------
    const WorkingTile& working() const { return working_; }
    // What the working tile shows: its picture with the live text on a copy. A change of
    // the text alone redraws the copy only where the text was and is.
    const QImage& workingImage() const;
    // The part of the working tile (in its pixels) that the last report of LiveText
    // changed: where the text was shown and where it is shown now. Empty when neither.
    QRect liveTextRepaintArea() const { return liveTextRepaint_; }
    bool place();
    // Turns and flips what the working tile shows (any live text with it).
    bool transform(TransformKind kind);
    // `image` (any format; alpha over white) becomes the working tile and full preview.
    // Throws Refusal for an image larger than a tile may be.
    bool paste(const QImage& image);
    // The base tile's full image becomes the working tile's picture; a working tile that
    // shows nothing (a new library) takes the whole base tile, as a click on it would.
    bool pasteBaseImage();
    void setSmallColour(ColourValue colour);
    // What the working tile shows goes to the preview being edited (a click on it).
    bool workingTileToPreview();
    // The full or half preview becomes the working tile, to be edited (a click on it).
    bool editFullImage();
    bool editHalfImage();

    // ---- The text being placed ----------------------------------------------------
    const Placement& placement() const { return placement_; }
    void setText(const QString& text);
    void setStyle(const TextStyle& style);
    // A style chosen in the font dialog: the box turns dark grey behind white letters.
    void chooseFont(TextStyle style);
    void stepFontSize(int delta);
    void setBold(bool on);
    void setItalic(bool on);
    // The anchor, fit width, outline and shadow: one step, like a style change ("Align
    // Text" for the anchors, "Text Effects" for the whole layout).
    void setHorizontalAnchor(HorizontalAnchor anchor);
    void setVerticalAnchor(VerticalAnchor anchor);
    void setTextLayout(const TextLayout& layout);
    void setX(std::int16_t x);
    void setY(std::int16_t y);
    // The position moved by the mouse or the keys, kept within the position bars' range
    // (from just left of and above the tile to its far edges). A "Move Text" step like the
    // bars'; startTextMove() makes the moves that follow a step of their own (a drag).
    void moveTextTo(int x, int y);
    void startTextMove();
    void setAngle(int value);
    void enterAngle(const QString& typed);
    void resetAngle();

    // ---- Position slots ------------------------------------------------------------
    const PositionSlots& positionSlots() const { return slots_; }
    bool storePending() const { return storePending_; }
    // A slot button takes clicks from the moment its slot gets a text by Store or Load
    // until it is cleared or stored empty; Store enables all nine until the next click.
    bool slotEnabled(int k) const;
    // Store: the next slot button stores into its slot.
    void beginStore();
    // Slot button k: stores into the slot when a Store waits, else recalls the slot.
    void storeOrRecallSlot(int k);
    // The slot's text as the user types it into the slot's box: a "Slot Text" step, one
    // for a run of typing into the same box.
    void setSlotText(int k, const QString& text);
    void loadPositionData(const QString& path);
    void savePositionData(const QString& path) const;
    void clearPositionData();

    // ---- Options -------------------------------------------------------------------
    const Options& options() const { return options_; }
    void setOptions(const Options& options);

    // ---- Undo ----------------------------------------------------------------------
    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    QString undoText() const;
    QString redoText() const;
    void undo();
    void redo();
    const UndoHistory& history() const { return history_; }
    void setHistoryLimit(std::size_t bytes);

signals:
    // Parts of the document changed; tiles from `firstTile` on when Tiles is among them.
    void changed(qrb::Document::Changes what, int firstTile);

private:
    // Refuses adding `adding` tiles when the library file could not hold them all.
    void refusePastCapacity(std::size_t adding) const;
    class Batch;
    class Recorder;
    friend class Batch;
    friend class Recorder;

    void note(Changes what, int firstTile = 1);
    void loadIntoEditor(int k);
    // After the working tile's picture was replaced: the live text goes.
    void pictureReplaced();
    void showLiveText();
    // Where the live text shows on the working tile now; empty when it does not.
    QRect liveTextArea() const;
    // A change of the text being placed as one step of `run` named `what`; nothing when
    // `change` leaves it as it is.
    void editLiveText(const QString& what, EditStep::Run run,
                      const std::function<void(Placement&)>& change);
    void enableFilledSlots();
    void storeSlot(int k);
    void recallSlot(int k);
    void stampSlots();
    void apply(EditStep& step, bool forward);
    void closeWhenEmpty();
    // After the first tiles came into an empty library: the working tile, if it shows
    // nothing, shows the base tile (the first tile became it).
    void showBaseWhenHidden();
    SlotState slotState() const { return SlotState{slots_, slotButtons_, storePending_}; }
    void measureTiles() const;
    void openLoaded(TileSet tiles, const QString& path);
    bool createInto(int replaced);
    bool deleteMarked(const QString& what,
                      const std::function<DeleteOutcome(std::vector<NumberedTile>*)>& remove);
    // The tiles moveTiles() takes: the marked ones with MultiSelect, else the current one.
    std::vector<int> tilesToMove() const;
    std::vector<int> moveTargets(TileMove where) const;
    bool moveTiles(std::vector<int> from, std::vector<int> to, const QString& what);

    TileSet tiles_;
    StripModel strip_;
    WorkingTile working_;
    Placement placement_;
    PositionSlots slots_;
    Options options_;
    UndoHistory history_;
    QString path_;
    std::optional<FileIdentity> fileOnDisk_; // the library's file as last read or written
    bool libraryOpen_ = false;
    mutable bool measured_ = false; // largeLayout_ and oddTiles_ follow the tiles
    mutable bool largeLayout_ = false;
    bool largeReported_ = false; // the layout the last Layout change reported
    mutable int oddTiles_ = 0;
    bool storePending_ = false;
    std::array<bool, PositionSlots::kCount> slotButtons_{};
    bool liveText_ = false;
    mutable QImage view_;
    mutable bool viewValid_ = false;
    mutable qint64 viewPicture_ = 0; // cacheKey() of the picture view_ was made from
    mutable QRect viewTextArea_;     // where view_ differs from that picture
    QRect shownTextArea_;            // where the text shows, as last reported
    QRect liveTextRepaint_;

    int batchDepth_ = 0;
    Changes pending_;
    int pendingFirstTile_ = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Document::Changes)

} // namespace qrb
