#pragma once
// The document's own helpers for carrying out a command: a batch that reports all changes
// at its end in one signal, and a recorder that turns what a command changed into an
// undo step. Only the document's sources include this.

#include "document/Document.h"

#include <numeric>
#include <set>

namespace qrb {

// Changes noted while a batch is open are reported once, when the outermost batch ends.
class Document::Batch {
public:
    explicit Batch(Document& document) : document_(document) { ++document_.batchDepth_; }
    ~Batch() {
        if (--document_.batchDepth_ == 0 && document_.pending_)
            document_.note({});
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

private:
    Document& document_;
};

// Takes the parts a command may change when the command starts and records an undo step
// of those that did change when it commits. A command that ends without commit(), or
// that changed nothing, leaves no step.
class Document::Recorder {
public:
    enum Part { Working = 1, Slots = 2, Selection = 4, Open = 8 };

    Recorder(Document& document, QString text, int parts, EditStep::Run run = EditStep::Run::None,
             int runKey = 0)
        : document_(document), batch_(document), parts_(parts) {
        step_.text = std::move(text);
        step_.run = run;
        step_.runKey = runKey;
        // Every command may change the text being placed or whether it shows.
        liveBefore_ = LiveText{document_.placement_, document_.liveText_};
        if (parts_ & Working)
            workingBefore_ = document_.working_;
        if (parts_ & Slots)
            slotsBefore_ = document_.slotState();
        if (parts_ & Selection)
            selectionBefore_ = document_.strip_.selection();
        openBefore_ = document_.libraryOpen_;
        // Few commands change an option (deleting the last tile does); the step keeps it.
        optionsBefore_ = document_.options_;
        savedBefore_ = document_.isSaved();
    }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Tiles `first` to `last` were appended by the command.
    void appended(int first, int last) {
        step_.tileChange = EditStep::TileChange::Appended;
        step_.tileNumbers.resize(std::size_t(last - first + 1));
        std::iota(step_.tileNumbers.begin(), step_.tileNumbers.end(), first);
    }
    void appended(int n) { appended(n, n); }
    // The command added tiles at the numbers `ascending`.
    void inserted(std::vector<int> ascending) {
        step_.tileChange = EditStep::TileChange::Appended;
        step_.tileNumbers = std::move(ascending);
    }
    // The command moved the tiles at `from` to `to` (both ascending, as many).
    void moved(std::vector<int> from, std::vector<int> to) {
        step_.tileChange = EditStep::TileChange::Moved;
        step_.tileNumbers = std::move(from);
        step_.movedTo = std::move(to);
    }
    // The command replaced a tile in place; `old` is what it held before.
    void replaced(NumberedTile old) {
        step_.tileChange = EditStep::TileChange::Replaced;
        step_.tileNumbers = {old.number};
        step_.heldTiles.push_back(std::move(old));
    }
    // The command removed `tiles` (ascending); they move into the step.
    void removed(std::vector<NumberedTile> tiles) {
        step_.tileChange = EditStep::TileChange::Removed;
        for (const NumberedTile& t : tiles)
            step_.tileNumbers.push_back(t.number);
        step_.heldTiles = std::move(tiles);
    }

    void commit() {
        Document& d = document_;
        std::set<qint64> images;
        std::size_t bytes = 0;
        auto count = [&](const QImage& image) {
            if (!image.isNull() && images.insert(image.cacheKey()).second)
                bytes += std::size_t(image.sizeInBytes());
        };
        if ((parts_ & Working) && !(workingBefore_ == d.working_)) {
            for (const WorkingTile* w : {&workingBefore_, &d.working_})
                for (const QImage* image : {&w->picture, &w->previewFull, &w->previewHalf})
                    count(*image);
            step_.working = BeforeAfter<WorkingTile>{std::move(workingBefore_), d.working_};
        }
        LiveText liveAfter{d.placement_, d.liveText_};
        if (!(liveBefore_ == liveAfter)) {
            bytes +=
                std::size_t(liveBefore_.placement.text.size() + liveAfter.placement.text.size()) *
                sizeof(QChar);
            step_.liveText = BeforeAfter<LiveText>{std::move(liveBefore_), std::move(liveAfter)};
        }
        if (parts_ & Slots) {
            SlotState slotsAfter = d.slotState();
            if (!(slotsBefore_ == slotsAfter))
                step_.positionSlots =
                    BeforeAfter<SlotState>{std::move(slotsBefore_), std::move(slotsAfter)};
        }
        StripModel::Selection after;
        if (parts_ & Selection)
            after = d.strip_.selection();
        const bool tilesChanged = step_.tileChange != EditStep::TileChange::None;
        if ((parts_ & Selection) && (tilesChanged || !(selectionBefore_ == after))) {
            bytes += selectionBefore_.marks.size() + after.marks.size();
            step_.selection =
                BeforeAfter<StripModel::Selection>{std::move(selectionBefore_), std::move(after)};
        }
        if (openBefore_ != d.libraryOpen_)
            step_.libraryOpen = BeforeAfter<bool>{openBefore_, d.libraryOpen_};
        if (!(optionsBefore_ == d.options_))
            step_.options = BeforeAfter<DocumentOptions>{optionsBefore_, d.options_};
        if (!step_.working && !step_.liveText && !step_.positionSlots && !step_.selection &&
            !step_.options && !tilesChanged)
            return;
        for (const NumberedTile& t : step_.heldTiles)
            bytes += t.tile.full.bytes().size() + t.tile.half.bytes().size();
        if (step_.tileChange == EditStep::TileChange::Appended ||
            step_.tileChange == EditStep::TileChange::Replaced) {
            for (const int n : step_.tileNumbers) {
                const Tile& tile = d.tiles_.tile(n);
                bytes += tile.full.bytes().size() + tile.half.bytes().size();
            }
        }
        step_.bytes = bytes + sizeof(EditStep) +
                      (step_.tileNumbers.size() + step_.movedTo.size()) * sizeof(int);
        const bool merged = d.history_.push(std::move(step_));
        Changes changes = merged ? Changes() : Changes(Change::History);
        if (d.isSaved() != savedBefore_)
            changes |= Change::Saved;
        if (d.libraryOpen_ != openBefore_)
            changes |= Change::Path;
        d.note(changes);
    }

private:
    Document& document_;
    Batch batch_;
    int parts_;
    EditStep step_;
    WorkingTile workingBefore_;
    LiveText liveBefore_;
    SlotState slotsBefore_;
    DocumentOptions optionsBefore_;
    StripModel::Selection selectionBefore_;
    bool openBefore_ = false;
    bool savedBefore_ = true;
};

} // namespace qrb
