// The document's lettering: the text being placed and the nine position slots.

#include "document/Document.h"

#include "document/DocumentParts.h"
#include "document/FilePath.h"
#include "document/TableLettering.h"
#include "lettering/LetteringTable.h"
#include "text/PositionDataFile.h"

#include <QFileInfo>

#include <algorithm>

namespace qrb {

// ---- The text being placed ---------------------------------------------------------------

void Document::editLiveText(const QString& what, EditStep::Run run,
                            const std::function<void(Placement&)>& change) {
    Placement changed = placement_;
    change(changed);
    // Showing the same value again is no edit and leaves the tile as it is.
    if (changed == placement_)
        return;
    Recorder record(*this, what, 0, run);
    Changes parts;
    if (changed.text != placement_.text)
        parts |= Change::Text;
    if (changed.x != placement_.x || changed.y != placement_.y ||
        changed.positionEnabled != placement_.positionEnabled)
        parts |= Change::Position;
    if (changed.angle != placement_.angle || changed.angleText != placement_.angleText)
        parts |= Change::Angle;
    if (!(changed.style == placement_.style))
        parts |= Change::Style;
    placement_ = std::move(changed);
    note(parts);
    showLiveText();
    record.commit();
}

void Document::setText(const QString& text) {
    editLiveText(tr("Typing"), EditStep::Run::Typing, [&](Placement& p) { p.text = text; });
}

void Document::setStyle(const TextStyle& style) {
    editLiveText(tr("Text Style"), EditStep::Run::None, [&](Placement& p) { p.style = style; });
}

void Document::chooseFont(TextStyle style) {
    // White letters would vanish on a white box.
    style.boxColour = style.textColour == palette::White ? palette::DarkGrey : palette::White;
    editLiveText(tr("Font"), EditStep::Run::None, [&](Placement& p) { p.style = style; });
}

void Document::stepFontSize(int delta) {
    if (const std::optional<float> size = placement_.steppedSize(delta))
        editLiveText(tr("Font Size"), EditStep::Run::None,
                     [&](Placement& p) { p.style.size = *size; });
}

void Document::setBold(bool on) {
    editLiveText(tr("Bold"), EditStep::Run::None, [&](Placement& p) { p.style.bold = on; });
}

void Document::setItalic(bool on) {
    editLiveText(tr("Italic"), EditStep::Run::None, [&](Placement& p) { p.style.italic = on; });
}

void Document::setHorizontalAnchor(HorizontalAnchor anchor) {
    editLiveText(tr("Align Text"), EditStep::Run::None,
                 [&](Placement& p) { p.style.layout.horizontal = anchor; });
}

void Document::setVerticalAnchor(VerticalAnchor anchor) {
    editLiveText(tr("Align Text"), EditStep::Run::None,
                 [&](Placement& p) { p.style.layout.vertical = anchor; });
}

void Document::setTextLayout(const TextLayout& layout) {
    if (!layout.isValid())
        throw Refusal(tr("The text effects are out of range: the outline is 0 to %1 pixels "
                         "wide, the shadow at most %2 pixels away, the fit width 0 to %3.")
                          .arg(TextLayout::kMaxOutlineWidth)
                          .arg(TextLayout::kMaxShadowOffset)
                          .arg(TextLayout::kMaxFitWidth)
                          .toStdString());
    editLiveText(tr("Text Effects"), EditStep::Run::None,
                 [&](Placement& p) { p.style.layout = layout; });
}

void Document::setX(std::int16_t x) {
    editLiveText(tr("Move Text"), EditStep::Run::Move, [&](Placement& p) { p.x = x; });
}

void Document::setY(std::int16_t y) {
    editLiveText(tr("Move Text"), EditStep::Run::Move, [&](Placement& p) { p.y = y; });
}

void Document::moveTextTo(int x, int y) {
    // As the bars: the text moves only once it has been placed.
    if (!placement_.positionEnabled)
        return;
    const QSize tile = working_.picture.size();
    const auto within = [](int value, int far) {
        return std::int16_t(std::clamp(value, int(Placement::kPositionMinimum),
                                       std::max(far, int(Placement::kPositionMinimum))));
    };
    editLiveText(tr("Move Text"), EditStep::Run::Move, [&](Placement& p) {
        p.x = within(x, tile.width());
        p.y = within(y, tile.height());
    });
}

void Document::startTextMove() {
    history_.endRun();
}

void Document::setAngle(int value) {
    editLiveText(tr("Turn Text"), EditStep::Run::Turn, [&](Placement& p) { p.setAngle(value); });
}

void Document::enterAngle(const QString& typed) {
    editLiveText(tr("Turn Text"), EditStep::Run::Turn, [&](Placement& p) { p.enterAngle(typed); });
}

void Document::resetAngle() {
    editLiveText(tr("Turn Text"), EditStep::Run::Turn, [&](Placement& p) { p.resetAngle(); });
}

// ---- Position slots ----------------------------------------------------------------------

bool Document::slotEnabled(int k) const {
    return slotButtons_.at(std::size_t(k));
}

void Document::enableFilledSlots() {
    for (std::size_t k = 0; k < PositionSlots::kCount; ++k)
        slotButtons_[k] = !slots_[k].isEmpty();
}

void Document::beginStore() {
    // Every slot takes the next click, an empty one too.
    storePending_ = true;
    slotButtons_.fill(true);
    note(Change::Slots);
}

void Document::storeOrRecallSlot(int k) {
    if (k < 0 || k >= int(PositionSlots::kCount))
        return;
    if (storePending_) {
        Recorder record(*this, tr("Store in Slot %1").arg(k + 1), Recorder::Slots);
        storeSlot(k);
        record.commit();
    } else {
        Recorder record(*this, tr("Recall Slot %1").arg(k + 1), Recorder::Working);
        recallSlot(k);
        record.commit();
    }
}

void Document::storeSlot(int k) {
    PositionSlot& slot = slots_[std::size_t(k)];
    slot.position = std::to_string(placement_.x) + ',' + std::to_string(placement_.y);
    slot.text = placement_.text.toStdString();
    storePending_ = false;
    slot.style = placement_.style;
    slot.angle = placement_.angleText.toStdString();
    slot.description = PositionSlots::describe(slot.style, slot.angle);
    enableFilledSlots();
    note(Change::Slots);
}

void Document::recallSlot(int k) {
    // Whatever the working tile shows now, a live text included, becomes the tile.
    if (working_.shown)
        working_.picture = workingImage();
    placement_.recall(slots_[std::size_t(k)]);
    note(Change::WorkingTile | Change::Placement);
    showLiveText();
}

void Document::stampSlots() {
    // A Store that waits takes the first slot click, which stores instead of recalling.
    std::size_t from = 0;
    if (storePending_) {
        while (from < PositionSlots::kCount && slots_[from].isEmpty())
            ++from;
        if (from < PositionSlots::kCount)
            storeSlot(int(from++));
    }
    qrb::stampSlots(working_.picture, placement_, liveText_, slots_, from);
    note(Change::WorkingTile | Change::Placement);
}

void Document::setSlotText(int k, const QString& text) {
    if (k < 0 || k >= int(PositionSlots::kCount))
        return;
    std::string typed = text.toStdString();
    if (slots_[std::size_t(k)].text == typed)
        return;
    // The user's own work, undone with the steps around it; typed text waits for Store or
    // Load to make its slot's button take clicks.
    Recorder record(*this, tr("Slot Text"), Recorder::Slots, EditStep::Run::SlotText, k);
    slots_[std::size_t(k)].text = std::move(typed);
    note(Change::Slots);
    record.commit();
}

void Document::loadPositionData(const QString& path) {
    // The whole file is read and checked before any slot changes.
    PositionSlots loaded = PositionDataFile::read(toFsPath(path));
    Recorder record(*this, tr("Load Position Data"), Recorder::Slots);
    slots_ = std::move(loaded);
    enableFilledSlots();
    note(Change::Slots);
    record.commit();
}

void Document::savePositionData(const QString& path) const {
    // Refuses before writing anything when a slot cannot be stored.
    PositionDataFile::write(toFsPath(path), slots_);
}

void Document::clearPositionData() {
    // One step: the slots and the text box start again together.
    Recorder record(*this, tr("Clear Position Data"), Recorder::Slots);
    slots_.clear();
    slotButtons_.fill(false);
    note(Change::Slots);
    // No text, the plain style on the box's own colour, at the tile's corner, not turned.
    TextStyle plain = defaultTextStyle();
    plain.boxColour = placement_.style.boxColour;
    placement_.text.clear();
    placement_.style = plain;
    placement_.x = 0;
    placement_.y = 0;
    placement_.positionEnabled = false;
    placement_.resetAngle();
    note(Change::Placement);
    showLiveText();
    record.commit();
}

// ---- Lettering from a table -------------------------------------------------------------

TableLettering Document::tableLettering(const LetteringTable& table,
                                        const LetteringArt* art) const {
    table.check(tileCount(), QFileInfo(path_).fileName().toStdString(), tileCount());
    // Each row as if its base tile were picked now and Create pressed.
    return TableLettering(tiles_, slots_, placement_, art);
}

int Document::appendLettered(std::vector<Tile> tiles) {
    return appendTiles(std::move(tiles), tr("Letter from Table"));
}

std::optional<int> Document::letterFromTable(const LetteringTable& table,
                                             const ProgressCallback& progress,
                                             std::stop_token stop) {
    table.check(tileCount(), QFileInfo(path_).fileName().toStdString(), tileCount());
    const LetteringArt art = LetteringArt::forTable(table, tiles_, std::nullopt, kArtMemory);
    std::optional<LetteredTiles> made =
        tableLettering(table, &art).letterAll(table, progress, stop);
    if (!made)
        return std::nullopt;
    return appendLettered(std::move(made->tiles));
}

// ---- Options -----------------------------------------------------------------------------

void Document::setOptions(const Options& options) {
    options_ = options;
    note(Change::Options);
}

} // namespace qrb
