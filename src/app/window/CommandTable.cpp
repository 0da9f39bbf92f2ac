// The command table: every menu item, toolbar button and tile-menu item of the window,
// declared once, and the menus and toolbar built from it. Captions and tips are marked
// with QT_TR_NOOP, so the translation tools find them in MainWindow's context, and are
// translated as the items are made.

#include "app/window/MainWindow.h"

#include "app/commands/ExportDeckCommand.h"
#include "app/commands/ExportImagesCommand.h"
#include "app/commands/ImportImagesCommand.h"
#include "app/commands/LibraryFileCommands.h"
#include "app/commands/PrintSheetCommands.h"
#include "app/commands/TableLetteringCommand.h"
#include "app/commands/TileTransferCommands.h"
#include "app/panels/StripPanel.h"
#include "app/panels/TextPlacementPanel.h"
#include "app/panels/WorkingTilePanel.h"
#include "app/shared/DesignTable.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <map>
#include <variant>

namespace qrb {

namespace {

QKeySequence ctrl(Qt::Key key) {
    return QKeySequence(Qt::CTRL | key);
}

} // namespace

std::vector<MainWindow::Entry> MainWindow::commandTable() {
    const Document& doc = document_;
    auto open = [&doc] { return doc.isLibraryOpen(); };
    auto shown = [&doc] { return doc.working().shown; };
    auto current = [&doc] { return doc.currentTile() != 0; };
    auto turns = [&doc] {
        return doc.isLibraryOpen() && doc.working().shown && doc.working().turnsOffered;
    };
    // The font dialog's size range: the steps stop at its ends.
    auto size = [&doc] {
        return std::clamp(doc.placement().style.size, Placement::kMinimumSize,
                          Placement::kMaximumSize);
    };
    auto option = [this](bool Document::Options::*member) {
        return std::pair{[this, member](bool on) {
                             Document::Options o = document_.options();
                             o.*member = on;
                             if (!(o == document_.options()))
                                 document_.setOptions(o);
                         },
                         [this, member] { return document_.options().*member; }};
    };
    const auto usingPosition = option(&Document::Options::createUsingPosition);
    const auto fromWorking = option(&Document::Options::createFromWorkingTile);
    const auto halfTile = option(&Document::Options::createHalfTile);
    const auto pasteBase = option(&Document::Options::pasteBaseAfterCreate);
    // An alignment command: pressing it sets its anchor; it is checked while the text has it.
    // Pressing the checked one again changes nothing (the group keeps one checked).
    auto horizontal = [this](HorizontalAnchor anchor) {
        return std::pair{
            [this, anchor](bool on) {
                if (on)
                    document_.setHorizontalAnchor(anchor);
            },
            [this, anchor] { return document_.placement().style.layout.horizontal == anchor; }};
    };
    auto vertical = [this](VerticalAnchor anchor) {
        return std::pair{
            [this, anchor](bool on) {
                if (on)
                    document_.setVerticalAnchor(anchor);
            },
            [this, anchor] { return document_.placement().style.layout.vertical == anchor; }};
    };
    auto work = [this] { return workingTile_; };
    auto text = [this] { return textPlacement_; };
    Document& edit = document_;
    using P = Place;
    using C = Command;
    return {
        // File
        CommandEntry{.id = C::New,
                     .objectName = "mnuNew",
                     .place = P::FileMenu,
                     .caption = QT_TR_NOOP("&New"),
                     .keys = {ctrl(Qt::Key_N)},
                     .run = [this] { files_->newLibrary(); }},
        CommandEntry{.id = C::Open,
                     .objectName = "mnuOpen",
                     .place = P::FileMenu,
                     .caption = QT_TR_NOOP("&Open"),
                     .keys = {ctrl(Qt::Key_O)},
                     .toolbarSlot = 1,
                     .icon = "open",
                     .tip = QT_TR_NOOP("Open QRB File"),
                     .run = [this] { files_->openLibrary(); }},
        CommandEntry{.id = C::Save,
                     .objectName = "mnuSave",
                     .place = P::FileMenu,
                     .caption = QT_TR_NOOP("&Save"),
                     .keys = {ctrl(Qt::Key_S)},
                     .toolbarSlot = 2,
                     .icon = "save",
                     .tip = QT_TR_NOOP("Save QRB File"),
                     .run = [this] { files_->saveLibrary(); },
                     .enabled = open},
        CommandEntry{.id = C::SaveAs,
                     .objectName = "mnuSaveAs",
                     .place = P::FileMenu,
                     .caption = QT_TR_NOOP("Save &As ..."),
                     .keys = {ctrl(Qt::Key_A)},
                     .run = [this] { files_->saveLibraryAs(); },
                     .enabled = open},
        CommandEntry{.id = C::ConfirmReplace,
                     .objectName = "mnuConfirmWrite",
                     .place = P::FileMenu,
                     .caption = QT_TR_NOOP("&Confirm when replacing file"),
                     .toggle = [this](bool on) { files_->setConfirmReplace(on); },
                     .startChecked = true},
        MenuSeparator{.place = P::FileMenu, .objectName = "mnuSpacer1"},
        CommandEntry{.id = C::SavePositionData,
                     .objectName = "mnuSavePositionData",
                     .place = P::PositionDataMenu,
                     .caption = QT_TR_NOOP("&Save"),
                     .run = [text] { text()->savePositionData(); }},
        CommandEntry{.id = C::LoadPositionData,
                     .objectName = "mnuLoadPositionData",
                     .place = P::PositionDataMenu,
                     .caption = QT_TR_NOOP("&Load"),
                     .run = [text] { text()->loadPositionData(); }},
        CommandEntry{.id = C::ClearPositionData,
                     .objectName = "mnuClearPositionData",
                     .place = P::PositionDataMenu,
                     .caption = QT_TR_NOOP("&Clear"),
                     .run = [text] { text()->clearPositionData(); }},
        MenuSeparator{.place = P::FileMenu, .objectName = "mnuSpacer8"},
        CommandEntry{.id = C::ImportImages,
                     .objectName = "mnuImportImages",
                     .place = P::FileMenu,
                     .caption = QT_TR_NOOP("&Import Images..."),
                     .keys = {ctrl(Qt::Key_I)},
                     .run = [this] { importImages_->importImages(); }},
        CommandEntry{.id = C::ExportImages,
                     .objectName = "mnuExportImages",
                     .place = P::FileMenu,
                     .caption = QT_TR_NOOP("Export I&mages..."),
                     .run = [this] { exportImages_->exportImages(); },
                     .enabled = [&doc] { return doc.isLibraryOpen() && doc.tileCount() > 0; }},
        CommandEntry{.id = C::ExportDeckImage,
                     .objectName = "mnuExportDeckImage",
                     .place = P::FileMenu,
                     .caption = QT_TR_NOOP("Export &Deck Image..."),
                     .run = [this] { exportDeck_->exportDeck(); },
                     .enabled = [&doc] { return doc.isLibraryOpen() && doc.tileCount() > 0; }},
        CommandEntry{.id = C::CreateBitmaps,
                     .objectName = "mnuCreateBMP",
                     .place = P::FileMenu,
                     .caption = QT_TR_NOOP("Create &bitmaps from QRB file"),
                     .run = [this] { files_->exportBitmaps(); },
                     .enabled = open},
        MenuSeparator{.place = P::FileMenu, .objectName = "spacer7"},
        CommandEntry{.id = C::Print,
                     .objectName = "mnuPrint",
                     .place = P::FileMenu,
                     .caption = QT_TR_NOOP("&Print..."),
                     .keys = {ctrl(Qt::Key_P)},
                     .run = [this] { printSheet_->print(); },
                     .enabled = open},
        CommandEntry{.id = C::ExportSheet,
                     .objectName = "mnuExportSheet",
                     .place = P::FileMenu,
                     .caption = QT_TR_NOOP("E&xport print sheet..."),
                     .run = [this] { printSheet_->exportSheet(); },
                     .enabled = open},
        MenuSeparator{.place = P::FileMenu, .objectName = "printSpacer"},
        CommandEntry{.id = C::Exit,
                     .objectName = "mnuExit",
                     .place = P::FileMenu,
                     .caption = QT_TR_NOOP("&Exit"),
                     .run = [this] { close(); }},

        // Edit
        CommandEntry{.id = C::Copy,
                     .objectName = "mnuCopy",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("&Copy"),
                     .keys = {ctrl(Qt::Key_C)},
                     .toolbarSlot = 4,
                     .icon = "copy",
                     .tip = QT_TR_NOOP("Copy"),
                     .run = [work] { work()->copy(); },
                     .enabled = shown},
        CommandEntry{.id = C::Paste,
                     .objectName = "mnuPaste",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("&Paste"),
                     .keys = {ctrl(Qt::Key_V)},
                     .toolbarSlot = 5,
                     .icon = "paste",
                     .tip = QT_TR_NOOP("Paste"),
                     .run = [work] { work()->paste(); },
                     .enabled = open},
        MenuSeparator{.place = P::EditMenu, .objectName = "mnuSpacer7"},
        CommandEntry{.id = C::PasteBaseImage,
                     .objectName = "mnuPasteBaseImage",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("Paste &Base Image"),
                     .keys = {ctrl(Qt::Key_B)},
                     .run = [work] { work()->pasteBaseImage(); },
                     .enabled = [&doc] { return doc.isLibraryOpen() && doc.baseTile() != 0; }},
        CommandEntry{.id = C::CopyTile,
                     .objectName = "mnuCopyTile",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("Cop&y Tile"),
                     .keys = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
                     .run = [this] { tileTransfer_->copyTiles(); },
                     .enabled = [&doc] { return doc.currentTile() > 0; }},
        CommandEntry{.id = C::PasteTile,
                     .objectName = "mnuPasteTile",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("Pa&ste Tile"),
                     .keys = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)},
                     .run = [this] { tileTransfer_->pasteTiles(); },
                     .enabled = open},
        MenuSeparator{.place = P::EditMenu, .objectName = "styleSpacer"},
        CommandEntry{.id = C::ChooseFont,
                     .objectName = "Toolbar1_Button7",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("Select &Font..."),
                     .toolbarSlot = 7,
                     .icon = "font",
                     .tip = QT_TR_NOOP("Select Font"),
                     .run = [text] { text()->chooseFont(); }},
        CommandEntry{.id = C::Bold,
                     .objectName = "Toolbar1_Button10",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("B&old"),
                     .toolbarSlot = 10,
                     .icon = "bold",
                     .tip = QT_TR_NOOP("Bold"),
                     .toggle = [this](bool on) { document_.setBold(on); },
                     .checked = [&doc] { return doc.placement().style.bold; }},
        CommandEntry{.id = C::Italic,
                     .objectName = "Toolbar1_Button11",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("&Italic"),
                     .toolbarSlot = 11,
                     .icon = "italic",
                     .tip = QT_TR_NOOP("Italic"),
                     .toggle = [this](bool on) { document_.setItalic(on); },
                     .checked = [&doc] { return doc.placement().style.italic; }},
        CommandEntry{.id = C::DecreaseFontSize,
                     .objectName = "Toolbar1_Button8",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("&Decrease Font Size"),
                     .toolbarSlot = 8,
                     .icon = "font-smaller",
                     .tip = QT_TR_NOOP("Decrease Font Size"),
                     .run = [text] { text()->decreaseFontSize(); },
                     .enabled = [size] { return size() != Placement::kMinimumSize; }},
        CommandEntry{.id = C::IncreaseFontSize,
                     .objectName = "Toolbar1_Button9",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("I&ncrease Font Size"),
                     .toolbarSlot = 9,
                     .icon = "font-larger",
                     .tip = QT_TR_NOOP("Increase Font Size"),
                     .run = [text] { text()->increaseFontSize(); },
                     .enabled = [size] { return size() != Placement::kMaximumSize; }},
        CommandEntry{.id = C::TypeAngle,
                     .objectName = "mnuTypeAngle",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("Type Text &Angle..."),
                     .run = [text] { text()->showAngleField(); }},
        // Which point of the text its position is, one of each three checked; then its effects.
        MenuSeparator{.place = P::EditMenu, .objectName = "alignSpacer"},
        CommandEntry{.id = C::AlignLeft,
                     .objectName = "mnuAlignLeft",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("Align &Left"),
                     .toolbarSlot = 23,
                     .icon = "align-left",
                     .tip = QT_TR_NOOP("Align Left"),
                     .toggle = horizontal(HorizontalAnchor::Left).first,
                     .checked = horizontal(HorizontalAnchor::Left).second},
        CommandEntry{.id = C::AlignCentre,
                     .objectName = "mnuAlignCentre",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("Align C&entre"),
                     .toolbarSlot = 24,
                     .icon = "align-centre",
                     .tip = QT_TR_NOOP("Align Centre"),
                     .toggle = horizontal(HorizontalAnchor::Centre).first,
                     .checked = horizontal(HorizontalAnchor::Centre).second},
        CommandEntry{.id = C::AlignRight,
                     .objectName = "mnuAlignRight",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("Align Rig&ht"),
                     .toolbarSlot = 25,
                     .icon = "align-right",
                     .tip = QT_TR_NOOP("Align Right"),
                     .toggle = horizontal(HorizontalAnchor::Right).first,
                     .checked = horizontal(HorizontalAnchor::Right).second},
        CommandEntry{.id = C::AlignTop,
                     .objectName = "mnuAlignTop",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("Align &Top"),
                     .toolbarSlot = 26,
                     .icon = "align-top",
                     .tip = QT_TR_NOOP("Align Top"),
                     .toggle = vertical(VerticalAnchor::Top).first,
                     .checked = vertical(VerticalAnchor::Top).second},
        CommandEntry{.id = C::AlignMiddle,
                     .objectName = "mnuAlignMiddle",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("Align &Middle"),
                     .toolbarSlot = 27,
                     .icon = "align-middle",
                     .tip = QT_TR_NOOP("Align Middle"),
                     .toggle = vertical(VerticalAnchor::Middle).first,
                     .checked = vertical(VerticalAnchor::Middle).second},
        CommandEntry{.id = C::AlignBottom,
                     .objectName = "mnuAlignBottom",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("Ali&gn Bottom"),
                     .toolbarSlot = 28,
                     .icon = "align-bottom",
                     .tip = QT_TR_NOOP("Align Bottom"),
                     .toggle = vertical(VerticalAnchor::Bottom).first,
                     .checked = vertical(VerticalAnchor::Bottom).second},
        CommandEntry{.id = C::TextEffects,
                     .objectName = "mnuTextEffects",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("Te&xt Effects..."),
                     .toolbarSlot = 29,
                     .icon = "text-effects",
                     .tip = QT_TR_NOOP("Text Effects"),
                     .run = [text] { text()->editTextEffects(); }},
        MenuSeparator{.place = P::EditMenu, .objectName = "undoSpacer"},
        CommandEntry{.id = C::Undo,
                     .objectName = "mnuUndo",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("&Undo"),
                     .keys = QKeySequence::keyBindings(QKeySequence::Undo),
                     .toolbarSlot = 21,
                     .icon = "undo",
                     .tip = QT_TR_NOOP("Undo"),
                     .run = [&edit] { edit.undo(); },
                     .enabled = [&doc] { return doc.canUndo(); }},
        CommandEntry{.id = C::Redo,
                     .objectName = "mnuRedo",
                     .place = P::EditMenu,
                     .caption = QT_TR_NOOP("&Redo"),
                     .keys = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), ctrl(Qt::Key_Y)},
                     .toolbarSlot = 22,
                     .icon = "redo",
                     .tip = QT_TR_NOOP("Redo"),
                     .run = [&edit] { edit.redo(); },
                     .enabled = [&doc] { return doc.canRedo(); }},

        // Tile
        CommandEntry{.id = C::CreateTile,
                     .objectName = "mnuCreateTile",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("&Create Tile"),
                     .keys = {ctrl(Qt::Key_T)},
                     .run = [work] { work()->createTile(); },
                     .enabled = open},
        CommandEntry{.id = C::AddTile,
                     .objectName = "mnuAddTilemnu",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("&Add tile"),
                     .visible = false,
                     .run = [&edit] { edit.addTile(); },
                     .enabled = [] { return false; }},
        MenuSeparator{.place = P::TileMenu, .objectName = "spacer3"},
        CommandEntry{.id = C::CloneTile,
                     .objectName = "mnuCloneTilemnu",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Clo&ne tile"),
                     .visible = false,
                     .run = [&edit] { edit.cloneTile(); },
                     .enabled = current},
        CommandEntry{.id = C::DeleteCurrentTile,
                     .objectName = "mnuDeleteTilemnu",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("D&elete tile"),
                     .visible = false,
                     .run = [&edit] { edit.deleteTile(); },
                     .enabled = current},
        MenuSeparator{.place = P::TileMenu, .objectName = "spacer5", .visible = false},
        CommandEntry{.id = C::RotateLeft,
                     .objectName = "mnuRotateLeft",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("&Rotate tile left"),
                     .toolbarSlot = 15,
                     .icon = "rotate-left",
                     .tip = QT_TR_NOOP("Rotate Left"),
                     .run = [&edit] { edit.transform(TransformKind::RotateLeft); },
                     .enabled = turns},
        CommandEntry{.id = C::RotateRight,
                     .objectName = "mnuRotateRight",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Rotate tile ri&ght"),
                     .toolbarSlot = 16,
                     .icon = "rotate-right",
                     .tip = QT_TR_NOOP("Rotate Right"),
                     .run = [&edit] { edit.transform(TransformKind::RotateRight); },
                     .enabled = turns},
        CommandEntry{.id = C::FlipHorizontal,
                     .objectName = "mnuFlipHorizontal",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("&Flip tile horizontal"),
                     .toolbarSlot = 17,
                     .icon = "flip-horizontal",
                     .tip = QT_TR_NOOP("Flip Horizontal"),
                     .run = [&edit] { edit.transform(TransformKind::FlipHorizontal); },
                     .enabled = open},
        CommandEntry{.id = C::FlipVertical,
                     .objectName = "mnuFlipVertical",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Flip tile &vertical"),
                     .toolbarSlot = 18,
                     .icon = "flip-vertical",
                     .tip = QT_TR_NOOP("Flip Vertical"),
                     .run = [&edit] { edit.transform(TransformKind::FlipVertical); },
                     .enabled = open},
        MenuSeparator{.place = P::TileMenu, .objectName = "spacer4"},
        CommandEntry{.id = C::BaseTile,
                     .objectName = "mnuBaseTile",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Set &base tile"),
                     .visible = false,
                     .run = [&edit] { edit.setBaseTile(); }},
        CommandEntry{.id = C::AutoPasteBaseImage,
                     .objectName = "mnuAutoPastePase",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Automatically &paste base image when tile is created"),
                     .toggle = pasteBase.first,
                     .checked = pasteBase.second},
        CommandEntry{.id = C::AutoCreateFromWorkingTile,
                     .objectName = "mnuAutoCreateFromWorking",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Automatically create tile from &working tile"),
                     .toggle = fromWorking.first,
                     .checked = fromWorking.second},
        CommandEntry{.id = C::AutoCreateHalfTile,
                     .objectName = "mnuCreateHalfTile",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Automatically create &halfsize tile"),
                     .toggle = halfTile.first,
                     .checked = halfTile.second},
        CommandEntry{.id = C::CreateUsingPositionData,
                     .objectName = "mnuCreateUsingPosition",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Create tile &using position data"),
                     .toggle = usingPosition.first,
                     .checked = usingPosition.second},
        MenuSeparator{.place = P::TileMenu, .objectName = "replaceSpacer"},
        CommandEntry{.id = C::ReplaceTile,
                     .objectName = "mnuReplaceTile",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Replace &Tile"),
                     .keys = {ctrl(Qt::Key_R)},
                     .run = [work] { work()->replaceTile(); },
                     .enabled = [&doc] { return doc.currentTile() != 0 && doc.working().shown; }},
        MenuSeparator{.place = P::TileMenu, .objectName = "orderSpacer"},
        CommandEntry{.id = C::MoveTileUp,
                     .objectName = "mnuMoveTileUp",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("&Move Tile Up"),
                     .keys = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up)},
                     .run = [this] { strip_->moveTiles(Document::TileMove::Up); },
                     .enabled = [&doc] { return doc.canMoveTiles(Document::TileMove::Up); }},
        CommandEntry{.id = C::MoveTileDown,
                     .objectName = "mnuMoveTileDown",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Move Tile Dow&n"),
                     .keys = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down)},
                     .run = [this] { strip_->moveTiles(Document::TileMove::Down); },
                     .enabled = [&doc] { return doc.canMoveTiles(Document::TileMove::Down); }},
        CommandEntry{.id = C::MoveTileToStart,
                     .objectName = "mnuMoveTileToStart",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("M&ove Tile to Start"),
                     .run = [this] { strip_->moveTiles(Document::TileMove::ToStart); },
                     .enabled = [&doc] { return doc.canMoveTiles(Document::TileMove::ToStart); }},
        CommandEntry{.id = C::MoveTileToEnd,
                     .objectName = "mnuMoveTileToEnd",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Move Tile to &End"),
                     .run = [this] { strip_->moveTiles(Document::TileMove::ToEnd); },
                     .enabled = [&doc] { return doc.canMoveTiles(Document::TileMove::ToEnd); }},
        CommandEntry{.id = C::DuplicateTile,
                     .objectName = "mnuDuplicateTile",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Duplic&ate Tile"),
                     .run = [&edit] { edit.duplicateTile(); },
                     .enabled = current},
        MenuSeparator{.place = P::TileMenu, .objectName = "deleteSpacer"},
        // The marked tiles, else the current tile.
        CommandEntry{
            .id = C::DeleteTiles,
            .objectName = "Toolbar1_Button20",
            .place = P::TileMenu,
            .caption = QT_TR_NOOP("&Delete Tile"),
            .toolbarSlot = 20,
            .icon = "delete",
            .tip = QT_TR_NOOP("Delete Tile"),
            .run =
                [&edit] { edit.strip().multiSelect() ? edit.deleteSelected() : edit.deleteTile(); },
            .enabled = open},
        MenuSeparator{.place = P::TileMenu, .objectName = "letterSpacer"},
        CommandEntry{.id = C::LetterFromTable,
                     .objectName = "mnuLetterFromTable",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("&Letter from table..."),
                     .run = [this] { tableLettering_->letterFromTable(); },
                     .enabled = open},
        // What the working tile and the previews do on a click, for the keyboard.
        MenuSeparator{.place = P::TileMenu, .objectName = "previewSpacer"},
        CommandEntry{.id = C::WorkingTileToPreview,
                     .objectName = "mnuWorkingTileToPreview",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Wor&king Tile to Preview"),
                     .run = [&edit] { edit.workingTileToPreview(); },
                     .enabled = shown},
        CommandEntry{.id = C::EditFullImage,
                     .objectName = "mnuEditFullImage",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Edit Full-Si&ze Image"),
                     .run = [&edit] { edit.editFullImage(); },
                     .enabled = shown},
        CommandEntry{.id = C::EditHalfImage,
                     .objectName = "mnuEditHalfImage",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Edit Half-Size &Image"),
                     .run = [&edit] { edit.editHalfImage(); },
                     .enabled = shown},
        CommandEntry{.id = C::ChooseSmallColour,
                     .objectName = "mnuSmallColour",
                     .place = P::TileMenu,
                     .caption = QT_TR_NOOP("Choose &Small Colour..."),
                     .run = [work] { work()->chooseSmallColour(); },
                     .enabled = shown},

        // View
        CommandEntry{
            .id = C::ZoomIn,
            .objectName = "mnuZoomIn",
            .place = P::ViewMenu,
            .caption = QT_TR_NOOP("Zoom &In"),
            .keys = {QKeySequence(Qt::CTRL | Qt::Key_Plus), ctrl(Qt::Key_Equal)},
            .run = [work] { work()->zoomIn(); },
            .enabled =
                [work] { return work() && work()->zoom() < WorkingTilePanel::kMaximumZoom; }},
        CommandEntry{
            .id = C::ZoomOut,
            .objectName = "mnuZoomOut",
            .place = P::ViewMenu,
            .caption = QT_TR_NOOP("Zoom &Out"),
            .keys = {ctrl(Qt::Key_Minus)},
            .run = [work] { work()->zoomOut(); },
            .enabled =
                [work] { return work() && work()->zoom() > WorkingTilePanel::kMinimumZoom; }},
        // Checked while they hold; choosing one again keeps it.
        CommandEntry{.id = C::ActualSize,
                     .objectName = "mnuActualSize",
                     .place = P::ViewMenu,
                     .caption = QT_TR_NOOP("&Actual Size"),
                     .keys = {ctrl(Qt::Key_0)},
                     .toggle = [work](bool) { work()->actualSize(); },
                     .checked = [work] { return work() && work()->zoom() == 1; }},
        CommandEntry{.id = C::FitWorkingTile,
                     .objectName = "mnuFitWorkingTile",
                     .place = P::ViewMenu,
                     .caption = QT_TR_NOOP("&Fit Working Tile"),
                     .toggle = [work](bool) { work()->fitWorkingTile(); },
                     .checked = [work] { return work() && work()->fitsWorkingTile(); }},

        // Help
        CommandEntry{.id = C::Contents,
                     .objectName = "mnuContents",
                     .place = P::HelpMenu,
                     .caption = QT_TR_NOOP("&Contents"),
                     .run = [this] { platform_.help->showContents(); }},
        CommandEntry{.id = C::About,
                     .objectName = "mnuAbout",
                     .place = P::HelpMenu,
                     .caption = QT_TR_NOOP("&About"),
                     .run = [this] { showAbout(); }},

        // The tile context menu
        CommandEntry{.id = C::SetBaseTile,
                     .objectName = "mnuSetBaseTile",
                     .place = P::TileContextMenu,
                     .caption = QT_TR_NOOP("Set as Base tile"),
                     .run = [&edit] { edit.setBaseTile(); }},
        CommandEntry{.id = C::SaveSelectedTiles,
                     .objectName = "mnuSaveTiles",
                     .place = P::TileContextMenu,
                     .caption = QT_TR_NOOP("Save selected tiles"),
                     .visible = false,
                     .run = [this] { files_->saveSelectedTiles(); }},
        CommandEntry{.id = C::SaveSelectedTilesAs,
                     .objectName = "mnuSaveTilesAs",
                     .place = P::TileContextMenu,
                     .caption = QT_TR_NOOP("Save selected tiles as..."),
                     .run = [this] { files_->saveSelectedTiles(); }},
        MenuSeparator{.place = P::TileContextMenu, .objectName = "mnuSpacer2"},
        CommandEntry{.id = C::DeleteTile,
                     .objectName = "mnuDeleteTile",
                     .place = P::TileContextMenu,
                     .caption = QT_TR_NOOP("Delete Tile"),
                     .run = [&edit] { edit.deleteTile(); },
                     .enabled = current},
        CommandEntry{.id = C::DeleteSelectedTiles,
                     .objectName = "mnuDeleteTiles",
                     .place = P::TileContextMenu,
                     .caption = QT_TR_NOOP("Delete selected tiles"),
                     .run = [&edit] { edit.deleteSelected(); }},
    };
}

void MainWindow::buildCommands() {
    QMenuBar* bar = menuBar();
    auto topMenu = [&](const QString& name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };
    ui_.fileMenu = topMenu(QStringLiteral("mnuFile"), tr("&File"));
    ui_.editMenu = topMenu(QStringLiteral("mnuEdit"), tr("&Edit"));
    ui_.tileMenu = topMenu(QStringLiteral("mnuConfiguration"), tr("&Tile"));
    ui_.viewMenu = topMenu(QStringLiteral("mnuView"), tr("&View"));
    ui_.helpMenu = topMenu(QStringLiteral("mnuHelp"), tr("&Help"));
    // A top-level menu that never shows in the menu bar.
    ui_.tileContextMenu = topMenu(QStringLiteral("mnuTileMenu"), tr("TileMenu"));
    ui_.tileContextMenu->menuAction()->setVisible(false);
    const std::map<Place, QMenu*> menus{
        {Place::FileMenu, ui_.fileMenu}, {Place::EditMenu, ui_.editMenu},
        {Place::TileMenu, ui_.tileMenu}, {Place::ViewMenu, ui_.viewMenu},
        {Place::HelpMenu, ui_.helpMenu}, {Place::TileContextMenu, ui_.tileContextMenu}};
    std::map<int, QAction*> buttons;
    for (Entry& entry : commandTable()) {
        if (const auto* line = std::get_if<MenuSeparator>(&entry)) {
            QAction* s = menus.at(line->place)->addSeparator();
            s->setObjectName(QString::fromLatin1(line->objectName));
            s->setVisible(line->visible);
            continue;
        }
        CommandEntry& command = std::get<CommandEntry>(entry);
        if (command.place == Place::PositionDataMenu && !ui_.positionDataMenu) {
            ui_.positionDataMenu = ui_.fileMenu->addMenu(tr("&Text Position Data"));
            ui_.positionDataMenu->setObjectName(QStringLiteral("mnuPositionData"));
            ui_.positionDataMenu->menuAction()->setObjectName(QStringLiteral("mnuPositionData"));
        }
        QMenu* menu = command.place == Place::PositionDataMenu ? ui_.positionDataMenu
                                                               : menus.at(command.place);
        QAction* a = menu->addAction(tr(command.caption));
        a->setObjectName(QString::fromLatin1(command.objectName));
        a->setShortcuts(command.keys);
        a->setVisible(command.visible);
        if (command.icon)
            a->setIcon(QIcon(QStringLiteral(":/toolbar/%1.svg").arg(QLatin1String(command.icon))));
        if (command.tip)
            a->setToolTip(tr(command.tip));
        if (command.toggle) {
            a->setCheckable(true);
            // The rules set the state from the document once everything is built.
            a->setChecked(command.startChecked);
            // Every change of the pressed state, a click or an accessibility tool's toggle;
            // the window's own display of the state is blocked from coming back.
            connect(a, &QAction::toggled, this,
                    [this, toggle = command.toggle](bool on) { runCommand([&] { toggle(on); }); });
        } else if (command.run) {
            connect(a, &QAction::triggered, this, [this, run = command.run] { runCommand(run); });
        }
        if (command.toolbarSlot > 0)
            buttons[command.toolbarSlot] = a;
        actions_[command.id] = a;
        rules_.push_back(Rule{a, std::move(command.enabled), std::move(command.checked)});
    }

    // One of each three alignments is always checked: a click on the checked one keeps it.
    for (const auto& group :
         {std::array{Command::AlignLeft, Command::AlignCentre, Command::AlignRight},
          std::array{Command::AlignTop, Command::AlignMiddle, Command::AlignBottom}}) {
        auto* exclusive = new QActionGroup(this);
        for (Command id : group)
            exclusive->addAction(action(id));
    }

    // File > Recent Libraries, before Save; the file commands fill it.
    ui_.recentMenu = new QMenu(tr("Recent &Libraries"), ui_.fileMenu);
    ui_.recentMenu->setObjectName(QStringLiteral("mnuRecent"));
    ui_.recentMenu->menuAction()->setObjectName(QStringLiteral("mnuRecent"));
    ui_.fileMenu->insertMenu(action(Command::Save), ui_.recentMenu);

    buildToolbar(buttons);
}

void MainWindow::buildToolbar(const std::map<int, QAction*>& buttons) {
    ui_.mainToolBar = new QToolBar(ui_.client);
    ui_.mainToolBar->setObjectName(QStringLiteral("Toolbar1"));
    ui_.mainToolBar->setMovable(false);
    ui_.mainToolBar->setFloatable(false);
    ui_.mainToolBar->setIconSize(QSize(16, 16));
    ui_.mainToolBar->setGeometry(0, 0, ui_.client->width(), design::kToolbarHeight);
    ui_.mainToolBar->setAutoFillBackground(true);
    ui_.mainToolBar->setAccessibleName(tr("Toolbar"));
    // The old form's buttons 1 to 20, separators included, then Undo and Redo. A button is
    // its menu item's action; the button widget carries the old name "Toolbar1_Button<i>".
    // After them the alignments and Text Effects (23 to 29).
    for (int i = 1; i <= 29; ++i) {
        if (i == 21)
            ui_.mainToolBar->addSeparator()->setObjectName(QStringLiteral("toolbarUndoSpacer"));
        if (i == 23)
            ui_.mainToolBar->addSeparator()->setObjectName(QStringLiteral("toolbarAlignSpacer"));
        QAction* a = nullptr;
        if (const auto found = buttons.find(i); found != buttons.end()) {
            a = found->second;
            ui_.mainToolBar->addAction(a);
            QWidget* button = ui_.mainToolBar->widgetForAction(a);
            button->setObjectName(i <= 20   ? QStringLiteral("Toolbar1_Button%1").arg(i)
                                  : i == 21 ? QStringLiteral("toolbarUndo")
                                  : i == 22 ? QStringLiteral("toolbarRedo")
                                            : QStringLiteral("toolbar") + a->objectName().mid(3));
            button->setAccessibleName(a->toolTip());
        } else if (i == 13) {
            // The half-size option's hidden twin on the old form, showing its state.
            a = ui_.mainToolBar->addAction(QIcon(QStringLiteral(":/toolbar/half-tile.svg")),
                                           tr("Automatically Create Halfsize Tile"));
            a->setObjectName(QStringLiteral("Toolbar1_Button13"));
            a->setCheckable(true);
            a->setChecked(document_.options().createHalfTile);
            a->setEnabled(false);
            a->setVisible(false);
            rules_.push_back(Rule{a, [] { return false; },
                                  [this] { return document_.options().createHalfTile; }});
        } else {
            a = ui_.mainToolBar->addSeparator();
            a->setObjectName(QStringLiteral("Toolbar1_Button%1").arg(i));
            a->setVisible(i != 14);
        }
        if (i <= 20)
            ui_.toolbar[std::size_t(i)] = a;
    }
}

void MainWindow::updateCommands() {
    // Every command's state from the document, in one place.
    for (const Rule& rule : rules_) {
        if (rule.enabled)
            rule.action->setEnabled(rule.enabled());
        if (rule.checked && rule.action->isChecked() != rule.checked()) {
            const QSignalBlocker quiet(rule.action);
            rule.action->setChecked(rule.checked());
        }
    }
    // The names of Undo and Redo come from the history.
    const QString undo =
        document_.canUndo() ? tr("&Undo %1").arg(document_.undoText()) : tr("&Undo");
    const QString redo =
        document_.canRedo() ? tr("&Redo %1").arg(document_.redoText()) : tr("&Redo");
    action(Command::Undo)->setText(undo);
    action(Command::Redo)->setText(redo);
    action(Command::Undo)->setToolTip(QString(undo).remove(QLatin1Char('&')));
    action(Command::Redo)->setToolTip(QString(redo).remove(QLatin1Char('&')));
}

} // namespace qrb
