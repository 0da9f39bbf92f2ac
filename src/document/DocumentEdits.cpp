// The document's edits of the tiles and of the working tile, each one undo step.

#include "document/Document.h"

#include "document/DocumentParts.h"
#include "document/NewTile.h"
#include "imaging/HalfSize.h"
#include "imaging/render/DibConversion.h"

#include <QObject>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace qrb {

namespace {

void refuseWhenFull(int count) {
    if (count >= TileSet::kMaxTiles)
        throw Refusal(QObject::tr("The library already holds %1 tiles, the most a library file "
                                  "can store. Delete a tile before creating another.")
                          .arg(TileSet::kMaxTiles)
                          .toStdString());
}

} // namespace

// ---- The view ----------------------------------------------------------------------------

const QImage& Document::workingImage() const {
    if (!liveText_ || !working_.shown || working_.picture.isNull())
        return working_.picture;
    if (!viewValid_) {
        const QImage& picture = working_.picture;
        const bool ownPixels = view_.size() == picture.size() &&
                               view_.format() == picture.format() &&
                               view_.bytesPerLine() == picture.bytesPerLine() && view_.isDetached();
        if (ownPixels && viewPicture_ == picture.cacheKey()) {
            // The same picture under another text: put the picture back where the text
            // was. What is drawn costs what the text covers, however large the tile.
            const QRect area = viewTextArea_ & picture.rect();
            const std::size_t pixel = std::size_t(picture.depth() / 8);
            const qsizetype line = picture.bytesPerLine();
            uchar* to = view_.bits();
            for (int y = area.top(); y <= area.bottom(); ++y)
                std::memcpy(to + y * line + area.left() * pixel,
                            picture.constScanLine(y) + area.left() * pixel,
                            std::size_t(area.width()) * pixel);
        } else if (ownPixels) {
            // Into the view's own pixels: no allocation on every new picture.
            std::memcpy(view_.bits(), picture.constBits(), std::size_t(picture.sizeInBytes()));
        } else {
            view_ = picture.copy();
        }
        drawPlacement(view_, placement_);
        viewPicture_ = picture.cacheKey();
        viewTextArea_ = placementArea(placement_) & view_.rect();
        viewValid_ = true;
    }
    return view_;
}

QRect Document::liveTextArea() const {
    if (!liveText_ || !working_.shown || working_.picture.isNull())
        return {};
    return placementArea(placement_) & working_.picture.rect();
}

void Document::showLiveText() {
    // The view changes when the text shows now or showed before.
    if (liveText_ || working_.shown)
        note(Change::LiveText);
    liveText_ = working_.shown;
}

void Document::pictureReplaced() {
    // The text keeps its position on a tile of another size (the position controls show
    // the nearest they can), as it does when a slot stored on a larger tile is recalled.
    liveText_ = false;
    note(Change::WorkingTile);
}

// ---- Tiles -------------------------------------------------------------------------------

bool Document::createTile() {
    return createInto(0);
}

bool Document::replaceTile() {
    const int current = currentTile();
    return current != 0 && createInto(current);
}

// Create, appending the tile (replaced == 0) or putting it in place of tile `replaced`.
bool Document::createInto(int replaced) {
    if (!working_.shown)
        return false;
    if (replaced == 0)
        refuseWhenFull(tileCount());
    Recorder record(*this, replaced == 0 ? tr("Create Tile") : tr("Replace Tile"),
                    Recorder::Working | Recorder::Slots | Recorder::Selection);
    working_.editingFullImage = true;
    if (options_.createUsingPosition)
        stampSlots();

    // The new tile's full image is the whole picture it is made from, at its own size.
    const QImage full = options_.createFromWorkingTile ? workingImage() : working_.previewFull;
    Tile tile = newTile(full, working_.smallColour);
    if (options_.createHalfTile) {
        // The half preview shows the half image the tile gets.
        working_.previewHalf = toQImage(tile.half);
        working_.halfBox = working_.previewHalf.size();
    } else {
        tile.half = toDibImage(working_.halfShown());
    }
    if (replaced == 0) {
        const int n = strip_.appendTile(std::move(tile));
        record.appended(n);
        note(Change::Tiles | Change::Appended, n);
    } else {
        NumberedTile old{replaced, tiles_.tile(replaced)};
        strip_.replaceTile(replaced, std::move(tile));
        record.replaced(std::move(old));
        note(Change::Tiles | Change::Reordered, replaced);
    }

    // Back to the base tile's images, ready for the next tile.
    const int current = currentTile();
    const int base = baseTile();
    if (current != 0 && base != 0 && options_.pasteBaseAfterCreate) {
        working_.resetTo(tiles_.tile(base), tiles_.tile(current));
        pictureReplaced();
    }
    note(Change::WorkingTile);
    record.commit();
    return true;
}

int Document::addTile() {
    refuseWhenFull(tileCount());
    const bool wasEmpty = tileCount() == 0;
    Recorder record(*this, tr("Add Tile"), Recorder::Selection | Recorder::Working);
    // Until something fills it, the row holds a white picture of the full preview's size.
    const QSize size = working_.previewFull.isNull() ? QSize(28, 28) : working_.previewFull.size();
    const std::int32_t w = std::clamp(size.width(), 1, int(DibImage::kMaxDimension));
    const std::int32_t h = std::clamp(size.height(), 1, int(DibImage::kMaxDimension));
    Tile tile;
    tile.full = DibImage::filled(w, h, Rgb{255, 255, 255});
    tile.half = DibImage::filled(halfDimension(w), halfDimension(h), Rgb{255, 255, 255});
    tile.smallColour = working_.rememberedSmallColour;
    const int n = strip_.appendTile(std::move(tile));
    record.appended(n);
    note(Change::Tiles | Change::Appended, n);
    if (wasEmpty)
        showBaseWhenHidden();
    record.commit();
    return n;
}

bool Document::cloneTile() {
    const int current = currentTile();
    if (current == 0)
        return false;
    refuseWhenFull(tileCount());
    Recorder record(*this, tr("Clone Tile"), Recorder::Selection);
    const int n = strip_.appendTile(tiles_.tile(current));
    record.appended(n);
    note(Change::Tiles | Change::Appended, n);
    record.commit();
    return true;
}

bool Document::deleteTile(int k) {
    if (k < 1 || k > tileCount())
        return false;
    Recorder record(*this, tr("Delete Tile"), Recorder::Selection | Recorder::Working);
    std::vector<NumberedTile> removed;
    strip_.deleteTile(k, &removed);
    record.removed(std::move(removed));
    note(Change::Tiles | Change::Selection, k);
    closeWhenEmpty();
    record.commit();
    return true;
}

bool Document::deleteSelected() {
    return deleteMarked(tr("Delete Selected Tiles"), [this](std::vector<NumberedTile>* removed) {
        return strip_.deleteSelected(removed);
    });
}

bool Document::deleteTiles(const std::vector<int>& ascending) {
    return deleteMarked(tr("Delete Tiles"), [&](std::vector<NumberedTile>* removed) {
        return strip_.deleteTiles(ascending, removed);
    });
}

bool Document::deleteMarked(
    const QString& what, const std::function<DeleteOutcome(std::vector<NumberedTile>*)>& remove) {
    Recorder record(*this, what, Recorder::Selection | Recorder::Working);
    std::vector<NumberedTile> removed;
    const DeleteOutcome outcome = remove(&removed);
    if (outcome.removed == 0)
        return false;
    const int first = removed.front().number;
    record.removed(std::move(removed));
    note(Change::Tiles | Change::Selection, first);
    if (outcome.becameEmpty) {
        closeWhenEmpty();
    } else if (outcome.showTile != 0) {
        loadIntoEditor(outcome.showTile);
    } else if (working_.shown) {
        // No tile is current: the working tile would show a tile that is gone.
        working_.shown = false;
        note(Change::WorkingTile);
    }
    record.commit();
    return true;
}

void Document::refusePastCapacity(std::size_t adding) const {
    if (adding > std::size_t(TileSet::kMaxTiles - tileCount()))
        throw Refusal(tr("%1 new tiles would take the library past %2 tiles, the most a library "
                         "file can store.")
                          .arg(adding)
                          .arg(TileSet::kMaxTiles)
                          .toStdString());
}

int Document::appendTiles(std::vector<Tile> tiles, const QString& what) {
    if (tiles.empty())
        return 0;
    refusePastCapacity(tiles.size());
    const bool wasEmpty = tileCount() == 0;
    Recorder record(*this, what, Recorder::Selection | Recorder::Working);
    const int first = tileCount() + 1;
    try {
        for (Tile& tile : tiles)
            strip_.appendTile(std::move(tile));
    } catch (...) {
        // All or nothing: the tiles appended so far go again.
        std::vector<int> added(std::size_t(tileCount() - first + 1));
        std::iota(added.begin(), added.end(), first);
        strip_.takeTiles(added);
        throw;
    }
    record.appended(first, tileCount());
    note(Change::Tiles | Change::Appended, first);
    if (wasEmpty)
        showBaseWhenHidden();
    record.commit();
    return tileCount() - first + 1;
}

// ---- The working tile --------------------------------------------------------------------

bool Document::place() {
    if (!libraryOpen_)
        return false;
    Recorder record(*this, tr("Place"), Recorder::Working);
    // The text on the working tile becomes part of it; the same text stays live on top.
    if (working_.shown)
        working_.picture = workingImage();
    placement_.positionEnabled = true;
    note(Change::Picture | Change::Position);
    showLiveText();
    record.commit();
    return true;
}

bool Document::transform(TransformKind kind) {
    if (!working_.shown)
        return false;
    static const char* const names[] = {QT_TR_NOOP("Rotate Left"), QT_TR_NOOP("Rotate Right"),
                                        QT_TR_NOOP("Flip Vertical"), QT_TR_NOOP("Flip Horizontal")};
    Recorder record(*this, tr(names[int(kind)]), Recorder::Working);
    working_.picture = transformedImage(workingImage(), kind);
    pictureReplaced();
    record.commit();
    return true;
}

bool Document::paste(const QImage& image) {
    if (!libraryOpen_ || image.isNull() || image.width() < 1 || image.height() < 1)
        return false;
    if (image.width() > DibImage::kMaxDimension || image.height() > DibImage::kMaxDimension)
        throw Refusal(tr("The picture on the clipboard is %1 x %2 pixels. A tile can be at "
                         "most %3 pixels wide and high.")
                          .arg(image.width())
                          .arg(image.height())
                          .arg(DibImage::kMaxDimension)
                          .toStdString());
    Recorder record(*this, tr("Paste"), Recorder::Working);
    // Whatever format another program offered, the tile gets 24-bit pixels, with
    // transparency shown over white.
    working_.paste(toQImage(toDibImage(image)));
    // A new library has no tile to show until a picture comes in this way.
    working_.shown = true;
    pictureReplaced();
    record.commit();
    return true;
}

bool Document::pasteBaseImage() {
    const int base = baseTile();
    if (base < 1 || base > tileCount())
        return false;
    Recorder record(*this, tr("Paste Base Image"), Recorder::Working);
    if (working_.shown)
        working_.picture = toQImage(tiles_.tile(base).full);
    else
        working_.load(tiles_.tile(base));
    pictureReplaced();
    record.commit();
    return true;
}

void Document::setSmallColour(ColourValue colour) {
    Recorder record(*this, tr("Small Colour"), Recorder::Working);
    working_.smallColour = colour;
    working_.rememberedSmallColour = colour;
    note(Change::WorkingTile);
    record.commit();
}

bool Document::workingTileToPreview() {
    if (!working_.shown)
        return false;
    Recorder record(*this, tr("Working Tile to Preview"), Recorder::Working);
    working_.sendToPreview(workingImage(), options_.createHalfTile);
    // The position no longer belongs to a text being placed.
    placement_.positionEnabled = false;
    note(Change::WorkingTile | Change::Placement);
    record.commit();
    return true;
}

bool Document::editFullImage() {
    if (!working_.shown)
        return false;
    Recorder record(*this, tr("Full Preview to Working Tile"), Recorder::Working);
    working_.takeFullPreview();
    pictureReplaced();
    record.commit();
    return true;
}

bool Document::editHalfImage() {
    if (!working_.shown)
        return false;
    Recorder record(*this, tr("Half Preview to Working Tile"), Recorder::Working);
    working_.takeHalfPreview();
    pictureReplaced();
    record.commit();
    return true;
}

} // namespace qrb
