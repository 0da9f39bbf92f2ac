// The command table: every menu item, toolbar button and tile-menu item of the window,
// declared once, and the menus and toolbar built from it.

#include "app/Form2.h"

#include "app/PrintSheetCommands.h"
#include "app/TableLetteringCommand.h"
#include "app/parts/TextPlacementPanel.h"
#include "app/parts/WorkingTilePanel.h"

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

using Entry = std::variant<CommandEntry, MenuSeparator>;

QKeySequence ctrl(Qt::Key key) {
    return QKeySequence(Qt::CTRL | key);
}

} // namespace

// Each entry names only what its command has; the rest keeps its default.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
std::vector<Entry> Form2::commandTable() {
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
    // clang-format off
    return {
        // File
        CommandEntry{C::New, "mnuNew", P::FileMenu, "&New", {ctrl(Qt::Key_N)}, 0, nullptr, nullptr, true,
                    [this] { newLibrary(); }},
        CommandEntry{C::Open, "mnuOpen", P::FileMenu, "&Open", {ctrl(Qt::Key_O)}, 1, "open", "Open QRB File", true,
                    [this] { openLibrary(); }},
        CommandEntry{C::Save, "mnuSave", P::FileMenu, "&Save", {ctrl(Qt::Key_S)}, 2, "save", "Save QRB File", true,
                    [this] { saveLibrary(); }, {}, {}, false, open},
        CommandEntry{C::SaveAs, "mnuSaveAs", P::FileMenu, "Save &As ...", {ctrl(Qt::Key_A)}, 0, nullptr, nullptr, true,
                    [this] { saveLibraryAs(); }, {}, {}, false, open},
        CommandEntry{C::ConfirmReplace, "mnuConfirmWrite", P::FileMenu, "&Confirm when replacing file", {}, 0,
                    nullptr, nullptr, true, {}, [](bool) {}, {}, true},
        MenuSeparator{P::FileMenu, "mnuSpacer1"},
        CommandEntry{C::SavePositionData, "mnuSavePositionData", P::PositionDataMenu, "&Save", {}, 0, nullptr,
                    nullptr, true, [text] { text()->savePositionData(); }},
        CommandEntry{C::LoadPositionData, "mnuLoadPositionData", P::PositionDataMenu, "&Load", {}, 0, nullptr,
                    nullptr, true, [text] { text()->loadPositionData(); }},
        CommandEntry{C::ClearPositionData, "mnuClearPositionData", P::PositionDataMenu, "&Clear", {}, 0, nullptr,
                    nullptr, true, [text] { text()->clearPositionData(); }},
        MenuSeparator{P::FileMenu, "mnuSpacer8"},
        CommandEntry{C::ImportImages, "mnuImportImages", P::FileMenu, "&Import Images...", {ctrl(Qt::Key_I)}, 0,
                    nullptr, nullptr, true, [this] { importImages(); }},
        CommandEntry{C::ExportImages, "mnuExportImages", P::FileMenu, "Export I&mages...", {}, 0, nullptr,
                    nullptr, true, [this] { exportImages(); }, {}, {}, false,
                    [&doc] { return doc.isLibraryOpen() && doc.tileCount() > 0; }},
        CommandEntry{C::ExportDeckImage, "mnuExportDeckImage", P::FileMenu, "Export &Deck Image...", {}, 0,
                    nullptr, nullptr, true, [this] { exportDeck(); }, {}, {}, false,
                    [&doc] { return doc.isLibraryOpen() && doc.tileCount() > 0; }},
        CommandEntry{C::CreateBitmaps, "mnuCreateBMP", P::FileMenu, "Create &bitmaps from QRB file", {}, 0, nullptr,
                    nullptr, true, [this] { exportBitmaps(); }, {}, {}, false, open},
        MenuSeparator{P::FileMenu, "spacer7"},
        CommandEntry{C::Print, "mnuPrint", P::FileMenu, "&Print...", {ctrl(Qt::Key_P)}, 0, nullptr, nullptr, true,
                    [this] { printSheet_->print(); }, {}, {}, false, open},
        CommandEntry{C::ExportSheet, "mnuExportSheet", P::FileMenu, "E&xport print sheet...", {}, 0, nullptr,
                    nullptr, true, [this] { printSheet_->exportSheet(); }, {}, {}, false, open},
        MenuSeparator{P::FileMenu, "printSpacer"},
        CommandEntry{C::Exit, "mnuExit", P::FileMenu, "&Exit", {}, 0, nullptr, nullptr, true,
                    [this] { exitProgram(); }},

        // Edit
        CommandEntry{C::Copy, "mnuCopy", P::EditMenu, "&Copy", {ctrl(Qt::Key_C)}, 4, "copy", "Copy", true,
                    [work] { work()->copy(); }, {}, {}, false, shown},
        CommandEntry{C::Paste, "mnuPaste", P::EditMenu, "&Paste", {ctrl(Qt::Key_V)}, 5, "paste", "Paste", true,
                    [work] { work()->paste(); }, {}, {}, false, open},
        MenuSeparator{P::EditMenu, "mnuSpacer7"},
        CommandEntry{C::PasteBaseImage, "mnuPasteBaseImage", P::EditMenu, "Paste &Base Image", {ctrl(Qt::Key_B)},
                    0, nullptr, nullptr, true, [work] { work()->pasteBaseImage(); }, {}, {}, false,
                    [&doc] { return doc.isLibraryOpen() && doc.baseTile() != 0; }},
        CommandEntry{C::CopyTile, "mnuCopyTile", P::EditMenu, "Cop&y Tile", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)},
                    0, nullptr, nullptr, true, [this] { copyTiles(); }, {}, {}, false,
                    [&doc] { return doc.currentTile() > 0; }},
        CommandEntry{C::PasteTile, "mnuPasteTile", P::EditMenu, "Pa&ste Tile", {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V)},
                    0, nullptr, nullptr, true, [this] { pasteTiles(); }, {}, {}, false, open},
        MenuSeparator{P::EditMenu, "styleSpacer"},
        CommandEntry{C::ChooseFont, "Toolbar1_Button7", P::EditMenu, "Select &Font...", {}, 7, "font",
                    "Select Font", true, [text] { text()->chooseFont(); }},
        CommandEntry{C::Bold, "Toolbar1_Button10", P::EditMenu, "B&old", {}, 10, "bold", "Bold", true, {},
                    [this](bool on) { document_.setBold(on); }, [&doc] { return doc.placement().style.bold; }},
        CommandEntry{C::Italic, "Toolbar1_Button11", P::EditMenu, "&Italic", {}, 11, "italic", "Italic", true, {},
                    [this](bool on) { document_.setItalic(on); },
                    [&doc] { return doc.placement().style.italic; }},
        CommandEntry{C::DecreaseFontSize, "Toolbar1_Button8", P::EditMenu, "&Decrease Font Size", {}, 8,
                    "font-smaller", "Decrease Font Size", true, [text] { text()->decreaseFontSize(); }, {}, {},
                    false, [size] { return size() != Placement::kMinimumSize; }},
        CommandEntry{C::IncreaseFontSize, "Toolbar1_Button9", P::EditMenu, "I&ncrease Font Size", {}, 9,
                    "font-larger", "Increase Font Size", true, [text] { text()->increaseFontSize(); }, {}, {},
                    false, [size] { return size() != Placement::kMaximumSize; }},
        CommandEntry{C::TypeAngle, "mnuTypeAngle", P::EditMenu, "Type Text &Angle...", {}, 0, nullptr, nullptr,
                    true, [text] { text()->showAngleField(); }},
        // Which point of the text its position is, one of each three checked; then its effects.
        MenuSeparator{P::EditMenu, "alignSpacer"},
        CommandEntry{C::AlignLeft, "mnuAlignLeft", P::EditMenu, "Align &Left", {}, 23, "align-left", "Align Left",
                    true, {}, horizontal(HorizontalAnchor::Left).first, horizontal(HorizontalAnchor::Left).second},
        CommandEntry{C::AlignCentre, "mnuAlignCentre", P::EditMenu, "Align C&entre", {}, 24, "align-centre",
                    "Align Centre", true, {}, horizontal(HorizontalAnchor::Centre).first,
                    horizontal(HorizontalAnchor::Centre).second},
        CommandEntry{C::AlignRight, "mnuAlignRight", P::EditMenu, "Align Rig&ht", {}, 25, "align-right",
                    "Align Right", true, {}, horizontal(HorizontalAnchor::Right).first,
                    horizontal(HorizontalAnchor::Right).second},
        CommandEntry{C::AlignTop, "mnuAlignTop", P::EditMenu, "Align &Top", {}, 26, "align-top", "Align Top",
                    true, {}, vertical(VerticalAnchor::Top).first, vertical(VerticalAnchor::Top).second},
        CommandEntry{C::AlignMiddle, "mnuAlignMiddle", P::EditMenu, "Align &Middle", {}, 27, "align-middle",
                    "Align Middle", true, {}, vertical(VerticalAnchor::Middle).first,
                    vertical(VerticalAnchor::Middle).second},
        CommandEntry{C::AlignBottom, "mnuAlignBottom", P::EditMenu, "Ali&gn Bottom", {}, 28, "align-bottom",
                    "Align Bottom", true, {}, vertical(VerticalAnchor::Bottom).first,
                    vertical(VerticalAnchor::Bottom).second},
        CommandEntry{C::TextEffects, "mnuTextEffects", P::EditMenu, "Te&xt Effects...", {}, 29, "text-effects",
                    "Text Effects", true, [text] { text()->editTextEffects(); }},
        MenuSeparator{P::EditMenu, "undoSpacer"},
        CommandEntry{C::Undo, "mnuUndo", P::EditMenu, "&Undo", QKeySequence::keyBindings(QKeySequence::Undo), 21,
                    "undo", "Undo", true, [this] { undo(); }, {}, {}, false,
                    [&doc] { return doc.canUndo(); }},
        CommandEntry{C::Redo, "mnuRedo", P::EditMenu, "&Redo",
                    {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), ctrl(Qt::Key_Y)}, 22, "redo", "Redo", true,
                    [this] { redo(); }, {}, {}, false, [&doc] { return doc.canRedo(); }},

        // Tile
        CommandEntry{C::CreateTile, "mnuCreateTile", P::TileMenu, "&Create Tile", {ctrl(Qt::Key_T)}, 0, nullptr,
                    nullptr, true, [this] { createTile(); }, {}, {}, false, open},
        CommandEntry{C::AddTile, "mnuAddTilemnu", P::TileMenu, "&Add tile", {}, 0, nullptr, nullptr, false,
                    [&edit] { edit.addTile(); }, {}, {}, false, [] { return false; }},
        MenuSeparator{P::TileMenu, "spacer3"},
        CommandEntry{C::CloneTile, "mnuCloneTilemnu", P::TileMenu, "Clo&ne tile", {}, 0, nullptr, nullptr, false,
                    [&edit] { edit.cloneTile(); }, {}, {}, false, current},
        CommandEntry{C::DeleteCurrentTile, "mnuDeleteTilemnu", P::TileMenu, "D&elete tile", {}, 0, nullptr,
                    nullptr, false, [&edit] { edit.deleteTile(); }, {}, {}, false, current},
        MenuSeparator{P::TileMenu, "spacer5", false},
        CommandEntry{C::RotateLeft, "mnuRotateLeft", P::TileMenu, "&Rotate tile left", {}, 15, "rotate-left",
                    "Rotate Left", true, [&edit] { edit.transform(TransformKind::RotateLeft); }, {}, {}, false, turns},
        CommandEntry{C::RotateRight, "mnuRotateRight", P::TileMenu, "Rotate tile ri&ght", {}, 16, "rotate-right",
                    "Rotate Right", true, [&edit] { edit.transform(TransformKind::RotateRight); }, {}, {}, false, turns},
        CommandEntry{C::FlipHorizontal, "mnuFlipHorizontal", P::TileMenu, "&Flip tile horizontal", {}, 17,
                    "flip-horizontal", "Flip Horizontal", true, [&edit] { edit.transform(TransformKind::FlipHorizontal); }, {},
                    {}, false, open},
        CommandEntry{C::FlipVertical, "mnuFlipVertical", P::TileMenu, "Flip tile &vertical", {}, 18,
                    "flip-vertical", "Flip Vertical", true, [&edit] { edit.transform(TransformKind::FlipVertical); }, {}, {},
                    false, open},
        MenuSeparator{P::TileMenu, "spacer4"},
        CommandEntry{C::BaseTile, "mnuBaseTile", P::TileMenu, "Set &base tile", {}, 0, nullptr, nullptr, false,
                    [&edit] { edit.setBaseTile(); }},
        CommandEntry{C::AutoPasteBaseImage, "mnuAutoPastePase", P::TileMenu,
                    "Automatically &paste base image when tile is created", {}, 0, nullptr, nullptr, true, {},
                    pasteBase.first, pasteBase.second},
        CommandEntry{C::AutoCreateFromWorkingTile, "mnuAutoCreateFromWorking", P::TileMenu,
                    "Automatically create tile from &working tile", {}, 0, nullptr, nullptr, true, {},
                    fromWorking.first, fromWorking.second},
        CommandEntry{C::AutoCreateHalfTile, "mnuCreateHalfTile", P::TileMenu, "Automatically create &halfsize tile",
                    {}, 0, nullptr, nullptr, true, {}, halfTile.first, halfTile.second},
        CommandEntry{C::CreateUsingPositionData, "mnuCreateUsingPosition", P::TileMenu,
                    "Create tile &using position data", {}, 0, nullptr, nullptr, true, {}, usingPosition.first,
                    usingPosition.second},
        MenuSeparator{P::TileMenu, "replaceSpacer"},
        CommandEntry{C::ReplaceTile, "mnuReplaceTile", P::TileMenu, "Replace &Tile", {ctrl(Qt::Key_R)}, 0,
                    nullptr, nullptr, true, [this] { replaceTile(); }, {}, {}, false,
                    [&doc] { return doc.currentTile() != 0 && doc.working().shown; }},
        MenuSeparator{P::TileMenu, "orderSpacer"},
        CommandEntry{C::MoveTileUp, "mnuMoveTileUp", P::TileMenu, "&Move Tile Up",
                    {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up)}, 0, nullptr, nullptr, true,
                    [this] { moveTiles(Document::TileMove::Up); }, {}, {}, false,
                    [&doc] { return doc.canMoveTiles(Document::TileMove::Up); }},
        CommandEntry{C::MoveTileDown, "mnuMoveTileDown", P::TileMenu, "Move Tile Dow&n",
                    {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down)}, 0, nullptr, nullptr, true,
                    [this] { moveTiles(Document::TileMove::Down); }, {}, {}, false,
                    [&doc] { return doc.canMoveTiles(Document::TileMove::Down); }},
        CommandEntry{C::MoveTileToStart, "mnuMoveTileToStart", P::TileMenu, "M&ove Tile to Start", {}, 0,
                    nullptr, nullptr, true, [this] { moveTiles(Document::TileMove::ToStart); }, {}, {},
                    false, [&doc] { return doc.canMoveTiles(Document::TileMove::ToStart); }},
        CommandEntry{C::MoveTileToEnd, "mnuMoveTileToEnd", P::TileMenu, "Move Tile to &End", {}, 0, nullptr,
                    nullptr, true, [this] { moveTiles(Document::TileMove::ToEnd); }, {}, {}, false,
                    [&doc] { return doc.canMoveTiles(Document::TileMove::ToEnd); }},
        CommandEntry{C::DuplicateTile, "mnuDuplicateTile", P::TileMenu, "Duplic&ate Tile", {}, 0, nullptr,
                    nullptr, true, [&edit] { edit.duplicateTile(); }, {}, {}, false, current},
        MenuSeparator{P::TileMenu, "deleteSpacer"},
        CommandEntry{C::DeleteTiles, "Toolbar1_Button20", P::TileMenu, "&Delete Tile", {}, 20, "delete",
                    "Delete Tile", true, [&edit] {
                        // The marked tiles, else the current tile.
                        edit.strip().multiSelect() ? edit.deleteSelected() : edit.deleteTile();
                    }, {}, {}, false, open},
        MenuSeparator{P::TileMenu, "letterSpacer"},
        CommandEntry{C::LetterFromTable, "mnuLetterFromTable", P::TileMenu, "&Letter from table...", {}, 0,
                    nullptr, nullptr, true, [this] { tableLettering_->letterFromTable(); }, {}, {},
                    false, open},
        // What the working tile and the previews do on a click, for the keyboard.
        MenuSeparator{P::TileMenu, "previewSpacer"},
        CommandEntry{C::WorkingTileToPreview, "mnuWorkingTileToPreview", P::TileMenu, "Wor&king Tile to Preview",
                    {}, 0, nullptr, nullptr, true, [&edit] { edit.workingTileToPreview(); }, {}, {}, false,
                    shown},
        CommandEntry{C::EditFullImage, "mnuEditFullImage", P::TileMenu, "Edit Full-Si&ze Image", {}, 0, nullptr,
                    nullptr, true, [&edit] { edit.editFullImage(); }, {}, {}, false, shown},
        CommandEntry{C::EditHalfImage, "mnuEditHalfImage", P::TileMenu, "Edit Half-Size &Image", {}, 0, nullptr,
                    nullptr, true, [&edit] { edit.editHalfImage(); }, {}, {}, false, shown},
        CommandEntry{C::ChooseSmallColour, "mnuSmallColour", P::TileMenu, "Choose &Small Colour...", {}, 0,
                    nullptr, nullptr, true, [work] { work()->chooseSmallColour(); }, {}, {}, false, shown},

        // View
        CommandEntry{C::ZoomIn, "mnuZoomIn", P::ViewMenu, "Zoom &In",
                    {QKeySequence(Qt::CTRL | Qt::Key_Plus), ctrl(Qt::Key_Equal)}, 0, nullptr, nullptr, true,
                    [work] { work()->zoomIn(); }, {}, {}, false,
                    [work] { return work() && work()->zoom() < WorkingTilePanel::kMaximumZoom; }},
        CommandEntry{C::ZoomOut, "mnuZoomOut", P::ViewMenu, "Zoom &Out", {ctrl(Qt::Key_Minus)}, 0, nullptr,
                    nullptr, true, [work] { work()->zoomOut(); }, {}, {}, false,
                    [work] { return work() && work()->zoom() > WorkingTilePanel::kMinimumZoom; }},
        // Checked while they hold; choosing one again keeps it.
        CommandEntry{C::ActualSize, "mnuActualSize", P::ViewMenu, "&Actual Size", {ctrl(Qt::Key_0)}, 0, nullptr,
                    nullptr, true, {}, [work](bool) { work()->actualSize(); },
                    [work] { return work() && work()->zoom() == 1; }},
        CommandEntry{C::FitWorkingTile, "mnuFitWorkingTile", P::ViewMenu, "&Fit Working Tile", {}, 0, nullptr,
                    nullptr, true, {}, [work](bool) { work()->fitWorkingTile(); },
                    [work] { return work() && work()->fitsWorkingTile(); }},

        // Help
        CommandEntry{C::Contents, "mnuContents", P::HelpMenu, "&Contents", {}, 0, nullptr, nullptr, true,
                    [this] { showHelp(); }},
        CommandEntry{C::About, "mnuAbout", P::HelpMenu, "&About", {}, 0, nullptr, nullptr, true,
                    [this] { showAbout(); }},

        // The tile context menu
        CommandEntry{C::SetBaseTile, "mnuSetBaseTile", P::TileContextMenu, "Set as Base tile", {}, 0, nullptr,
                    nullptr, true, [&edit] { edit.setBaseTile(); }},
        CommandEntry{C::SaveSelectedTiles, "mnuSaveTiles", P::TileContextMenu, "Save selected tiles", {}, 0,
                    nullptr, nullptr, false, [this] { saveSelectedTiles(); }},
        CommandEntry{C::SaveSelectedTilesAs, "mnuSaveTilesAs", P::TileContextMenu, "Save selected tiles as...",
                    {}, 0, nullptr, nullptr, true, [this] { saveSelectedTiles(); }},
        MenuSeparator{P::TileContextMenu, "mnuSpacer2"},
        CommandEntry{C::DeleteTile, "mnuDeleteTile", P::TileContextMenu, "Delete Tile", {}, 0, nullptr, nullptr,
                    true, [&edit] { edit.deleteTile(); }, {}, {}, false, current},
        CommandEntry{C::DeleteSelectedTiles, "mnuDeleteTiles", P::TileContextMenu, "Delete selected tiles", {}, 0,
                    nullptr, nullptr, true, [&edit] { edit.deleteSelected(); }},
    };
    // clang-format on
}
#pragma GCC diagnostic pop

void Form2::buildCommands() {
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
            a->setChecked(command.checked ? command.checked() : command.startChecked);
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

    // Pointers by the old form's names, for the window's code and its tests.
    struct Named {
        QAction* Controls::*member;
        Command id;
    };
    static constexpr Named kNamed[] = {
        {&Controls::newLibrary, Command::New},
        {&Controls::openLibrary, Command::Open},
        {&Controls::save, Command::Save},
        {&Controls::saveAs, Command::SaveAs},
        {&Controls::confirmReplace, Command::ConfirmReplace},
        {&Controls::savePositionData, Command::SavePositionData},
        {&Controls::loadPositionData, Command::LoadPositionData},
        {&Controls::clearPositionData, Command::ClearPositionData},
        {&Controls::createBitmaps, Command::CreateBitmaps},
        {&Controls::importImages, Command::ImportImages},
        {&Controls::exportImages, Command::ExportImages},
        {&Controls::exportDeckImage, Command::ExportDeckImage},
        {&Controls::copyTile, Command::CopyTile},
        {&Controls::pasteTile, Command::PasteTile},
        {&Controls::print, Command::Print},
        {&Controls::exportSheet, Command::ExportSheet},
        {&Controls::exit, Command::Exit},
        {&Controls::copy, Command::Copy},
        {&Controls::paste, Command::Paste},
        {&Controls::pasteBaseImage, Command::PasteBaseImage},
        {&Controls::typeAngle, Command::TypeAngle},
        {&Controls::alignLeft, Command::AlignLeft},
        {&Controls::alignCentre, Command::AlignCentre},
        {&Controls::alignRight, Command::AlignRight},
        {&Controls::alignTop, Command::AlignTop},
        {&Controls::alignMiddle, Command::AlignMiddle},
        {&Controls::alignBottom, Command::AlignBottom},
        {&Controls::textEffects, Command::TextEffects},
        {&Controls::undo, Command::Undo},
        {&Controls::redo, Command::Redo},
        {&Controls::createTile, Command::CreateTile},
        {&Controls::replaceTile, Command::ReplaceTile},
        {&Controls::moveTileUp, Command::MoveTileUp},
        {&Controls::moveTileDown, Command::MoveTileDown},
        {&Controls::moveTileToStart, Command::MoveTileToStart},
        {&Controls::moveTileToEnd, Command::MoveTileToEnd},
        {&Controls::duplicateTile, Command::DuplicateTile},
        {&Controls::addTile, Command::AddTile},
        {&Controls::cloneTile, Command::CloneTile},
        {&Controls::deleteCurrentTile, Command::DeleteCurrentTile},
        {&Controls::rotateLeft, Command::RotateLeft},
        {&Controls::rotateRight, Command::RotateRight},
        {&Controls::flipHorizontal, Command::FlipHorizontal},
        {&Controls::flipVertical, Command::FlipVertical},
        {&Controls::baseTile, Command::BaseTile},
        {&Controls::autoPasteBaseImage, Command::AutoPasteBaseImage},
        {&Controls::autoCreateFromWorkingTile, Command::AutoCreateFromWorkingTile},
        {&Controls::autoCreateHalfTile, Command::AutoCreateHalfTile},
        {&Controls::createUsingPositionData, Command::CreateUsingPositionData},
        {&Controls::letterFromTable, Command::LetterFromTable},
        {&Controls::workingTileToPreview, Command::WorkingTileToPreview},
        {&Controls::editFullImage, Command::EditFullImage},
        {&Controls::editHalfImage, Command::EditHalfImage},
        {&Controls::chooseSmallColour, Command::ChooseSmallColour},
        {&Controls::zoomIn, Command::ZoomIn},
        {&Controls::zoomOut, Command::ZoomOut},
        {&Controls::actualSize, Command::ActualSize},
        {&Controls::fitWorkingTile, Command::FitWorkingTile},
        {&Controls::helpContents, Command::Contents},
        {&Controls::about, Command::About},
        {&Controls::setBaseTile, Command::SetBaseTile},
        {&Controls::saveSelectedTiles, Command::SaveSelectedTiles},
        {&Controls::saveSelectedTilesAs, Command::SaveSelectedTilesAs},
        {&Controls::deleteTile, Command::DeleteTile},
        {&Controls::deleteSelectedTiles, Command::DeleteSelectedTiles},
    };
    for (const Named& n : kNamed)
        ui_.*n.member = actions_.at(n.id);
    auto separator = [&](QMenu* menu, const char* name) {
        for (QAction* a : menu->actions())
            if (a->objectName() == QLatin1String(name))
                return a;
        return static_cast<QAction*>(nullptr);
    };
    ui_.positionDataSpacer = separator(ui_.fileMenu, "mnuSpacer1");
    ui_.bitmapsSpacer = separator(ui_.fileMenu, "mnuSpacer8");
    ui_.printSpacerAbove = separator(ui_.fileMenu, "spacer7");
    ui_.printSpacerBelow = separator(ui_.fileMenu, "printSpacer");
    ui_.pasteBaseSpacer = separator(ui_.editMenu, "mnuSpacer7");
    ui_.addTileSpacer = separator(ui_.tileMenu, "spacer3");
    ui_.deleteTileSpacer = separator(ui_.tileMenu, "spacer5");
    ui_.optionsSpacer = separator(ui_.tileMenu, "spacer4");
    ui_.deleteSpacer = separator(ui_.tileContextMenu, "mnuSpacer2");

    // One of each three alignments is always checked: a click on the checked one keeps it.
    for (const auto& group : {std::array{ui_.alignLeft, ui_.alignCentre, ui_.alignRight},
                              std::array{ui_.alignTop, ui_.alignMiddle, ui_.alignBottom}}) {
        auto* exclusive = new QActionGroup(this);
        for (QAction* a : group)
            exclusive->addAction(a);
    }

    buildRecentMenu();
    buildToolbar(buttons);
}

void Form2::buildToolbar(const std::map<int, QAction*>& buttons) {
    ui_.mainToolBar = new QToolBar(ui_.client);
    ui_.mainToolBar->setObjectName(QStringLiteral("Toolbar1"));
    ui_.mainToolBar->setMovable(false);
    ui_.mainToolBar->setFloatable(false);
    ui_.mainToolBar->setIconSize(QSize(16, 16));
    ui_.mainToolBar->setGeometry(0, 0, ui_.client->width(), 26);
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

QAction* Form2::action(Command id) const {
    return actions_.at(id);
}

void Form2::updateCommands() {
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
    ui_.undo->setText(undo);
    ui_.redo->setText(redo);
    ui_.undo->setToolTip(QString(undo).remove(QLatin1Char('&')));
    ui_.redo->setToolTip(QString(redo).remove(QLatin1Char('&')));
}

} // namespace qrb
