// The document: the library, selection, file commands, undo and redo. The edits live in
// DocumentEdits.cpp, the lettering and slots in DocumentText.cpp.

#include "document/Document.h"

#include "core/FileLock.h"
#include "document/DocumentParts.h"
#include "document/FilePath.h"
#include "tileset/LibraryFile.h"

namespace qrb {

Document::Document(QObject* parent) : QObject(parent), strip_(tiles_) {}

Document::~Document() = default;

void Document::note(Changes what, int firstTile) {
    if (what & Change::Tiles)
        measured_ = false;
    if (what & Change::Tiles)
        pendingFirstTile_ =
            pendingFirstTile_ == 0 ? firstTile : std::min(pendingFirstTile_, firstTile);
    if (what & (Change::Picture | Change::LiveText | Change::Placement))
        viewValid_ = false;
    pending_ |= what;
    if (batchDepth_ == 0 && pending_) {
        // The layout follows the tiles through every change, undo and redo included.
        if ((pending_ & Change::Tiles) && largeLayout() != largeReported_)
            pending_ |= Change::Layout;
        if (pending_ & Change::Layout)
            largeReported_ = largeLayout();
        const Changes changes = pending_;
        const int first = std::max(1, pendingFirstTile_);
        pending_ = {};
        pendingFirstTile_ = 0;
        if (changes & (Change::LiveText | Change::Picture)) {
            const QRect shown = liveTextArea();
            liveTextRepaint_ = shownTextArea_ | shown;
            shownTextArea_ = shown;
        }
        emit changed(changes, first);
    }
}

// ---- The library -------------------------------------------------------------------------

bool Document::isSaved() const {
    return history_.matchesSaved();
}

void Document::open(const QString& path, const ProgressCallback& progress, std::uint64_t budget) {
    // Read completely before anything changes: a failure leaves the open library alone.
    const std::optional<FileIdentity> identity = identityOf(toFsPath(path));
    TileSet loaded = LibraryFile::load(toFsPath(path), progress, budget);
    openLoaded(std::move(loaded), path);
    fileOnDisk_ = identity;
}

void Document::openTiles(TileSet tiles, const QString& path) {
    openLoaded(std::move(tiles), path);
}

void Document::newLibrary() {
    openLoaded(TileSet{}, QString());
}

void Document::openLoaded(TileSet tiles, const QString& path) {
    const Batch batch(*this);
    tiles_ = std::move(tiles);
    strip_.reload();
    fileOnDisk_ = path.isEmpty() ? std::nullopt : identityOf(toFsPath(path));
    const ColourValue remembered = working_.rememberedSmallColour;
    working_ = WorkingTile{};
    working_.rememberedSmallColour = remembered;
    liveText_ = false;
    path_ = path;
    libraryOpen_ = true;
    history_.clear(true);
    // A library opened or started is laid out afresh, whatever the one before it had.
    note(Change::Tiles | Change::Selection | Change::WorkingTile | Change::File | Change::History |
         Change::Layout);
    if (tileCount() > 0)
        showSelectedTile(1);
}

bool Document::largeLayout() const {
    measureTiles();
    return largeLayout_;
}

int Document::oddTileCount() const {
    measureTiles();
    return oddTiles_;
}

void Document::measureTiles() const {
    if (measured_)
        return;
    largeLayout_ = false;
    oddTiles_ = 0;
    for (const Tile& tile : tiles_.tiles()) {
        const int side = std::max(tile.full.width(), tile.full.height());
        largeLayout_ = largeLayout_ || side > kLargeTileSize;
        oddTiles_ += side > kOddTileSize ? 1 : 0;
    }
    measured_ = true;
}

void Document::save(const QString& path, const ProgressCallback& progress,
                    std::optional<FileIdentity> agreedToReplace) {
    const FileLock lock(toFsPath(path));
    // Checked under the lock: a change that ended while this save waited is seen here.
    if (isSameFile(path, path_) && fileChangedOnDisk() && fileOnDisk() != agreedToReplace)
        throw FileError(toFsPath(path), "another program changed it since it was read or "
                                        "written here; nothing was written");
    LibraryFile::save(toFsPath(path), tiles_, std::nullopt, progress);
    fileOnDisk_ = identityOf(toFsPath(path));
    path_ = path;
    history_.markSaved();
    note(Change::File);
}

void Document::saveSelected(const QString& path, const ProgressCallback& progress) {
    const std::vector<int> selected = strip_.selectedTiles();
    const FileLock lock(toFsPath(path));
    LibraryFile::save(toFsPath(path), tiles_, std::span<const int>(selected), progress);
    // The library's own file now holds only the selection.
    if (isSameFile(path, path_)) {
        fileOnDisk_ = identityOf(toFsPath(path_));
        history_.markUnsaved();
        note(Change::File);
    }
}

std::optional<FileIdentity> Document::fileOnDisk() const {
    if (path_.isEmpty())
        return std::nullopt;
    return identityOf(toFsPath(path_));
}

bool Document::fileChangedOnDisk() const {
    if (!libraryOpen_)
        return false;
    const std::optional<FileIdentity> now = fileOnDisk();
    return now && now != fileOnDisk_;
}

// ---- Selection ---------------------------------------------------------------------------

PressOutcome Document::press(int tile, RowPart part, MouseButton button, Modifiers modifiers) {
    const Batch batch(*this);
    const PressOutcome outcome = strip_.press(tile, part, button, modifiers);
    note(Change::Selection);
    if (outcome.action == PressOutcome::Action::ShowTile)
        loadIntoEditor(outcome.tile);
    if (!working_.editingFullImage) {
        working_.editingFullImage = true;
        note(Change::WorkingTile);
    }
    return outcome;
}

void Document::showSelectedTile(int k) {
    if (k < 1 || k > tileCount())
        return;
    const Batch batch(*this);
    strip_.showSelectedTile(k);
    note(Change::Selection);
    loadIntoEditor(k);
}

void Document::setBaseTile() {
    strip_.setBaseTile();
    note(Change::Selection);
}

void Document::loadIntoEditor(int k) {
    working_.load(tiles_.tile(k));
    pictureReplaced();
}

void Document::showBaseWhenHidden() {
    if (!working_.shown && baseTile() != 0)
        loadIntoEditor(baseTile());
}

void Document::closeWhenEmpty() {
    if (tileCount() > 0)
        return;
    // The last tile went: nothing left to edit or to save.
    working_.shown = false;
    libraryOpen_ = false;
    options_.createFromWorkingTile = true;
    note(Change::WorkingTile | Change::File | Change::Options);
}

// ---- Undo --------------------------------------------------------------------------------

QString Document::undoText() const {
    return canUndo() ? history_.undoStep().text : QString();
}

QString Document::redoText() const {
    return canRedo() ? history_.redoStep().text : QString();
}

void Document::undo() {
    if (!canUndo())
        return;
    const Batch batch(*this);
    apply(history_.undoStep(), false);
    history_.stepBack();
    note(Change::History | Change::File);
}

void Document::redo() {
    if (!canRedo())
        return;
    const Batch batch(*this);
    apply(history_.redoStep(), true);
    history_.stepForward();
    note(Change::History | Change::File);
}

void Document::apply(EditStep& step, bool forward) {
    const Batch batch(*this);
    const bool append = step.tileChange == EditStep::TileChange::Appended;
    const bool remove = step.tileChange == EditStep::TileChange::Removed;
    if (step.tileChange == EditStep::TileChange::Moved) {
        if (forward)
            strip_.moveTiles(step.tileNumbers, step.movedTo);
        else
            strip_.moveTiles(step.movedTo, step.tileNumbers);
        note(Change::Tiles | Change::Reordered,
             std::min(step.tileNumbers.front(), step.movedTo.front()));
    } else if (step.tileChange == EditStep::TileChange::Replaced) {
        // Both ways the tile and the version the step holds change places.
        NumberedTile& other = step.heldTiles.front();
        std::swap(tiles_.tile(other.number), other.tile);
        strip_.tileChanged(other.number);
        note(Change::Tiles | Change::Reordered, other.number);
    } else if (append || remove) {
        // Appends come back and removals go again forwards; the other way backwards.
        if (append == forward)
            strip_.putTiles(std::move(step.heldTiles));
        else
            step.heldTiles = strip_.takeTiles(step.tileNumbers);
        step.heldTiles.shrink_to_fit();
        note(append == forward ? Change::Tiles | Change::Appended : Change::Tiles,
             step.tileNumbers.front());
    }
    if (step.selection) {
        strip_.restore(forward ? step.selection->after : step.selection->before);
        note(Change::Selection);
    }
    if (step.working) {
        working_ = forward ? step.working->after : step.working->before;
        note(Change::WorkingTile);
    }
    if (step.liveText) {
        const LiveText& live = forward ? step.liveText->after : step.liveText->before;
        placement_ = live.placement;
        liveText_ = live.shown;
        note(Change::Placement | Change::WorkingTile);
    }
    if (step.positionSlots) {
        const SlotState& state = forward ? step.positionSlots->after : step.positionSlots->before;
        slots_ = state.positionSlots;
        slotButtons_ = state.buttons;
        storePending_ = state.storePending;
        note(Change::Slots);
    }
    if (step.libraryOpen)
        libraryOpen_ = forward ? step.libraryOpen->after : step.libraryOpen->before;
    if (step.options) {
        options_ = forward ? step.options->after : step.options->before;
        note(Change::Options);
    }
}

void Document::setHistoryLimit(std::size_t bytes) {
    history_.setLimit(bytes);
    note(Change::History | Change::File);
}

} // namespace qrb
