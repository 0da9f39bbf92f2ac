#pragma once
// The window's commands, each declared once in the command table (Form2Commands.cpp): what
// it is, its caption and keys, its icon and tip on the toolbar, where it appears, the
// typed function it runs and the rule, read from the document, that enables it. Menus,
// toolbar and the tile context menu are built from the table; a toolbar button is the
// same QAction as its menu item.

#include <QKeySequence>
#include <QList>

#include <functional>

namespace qrb {

enum class Command {
    // File
    New,
    Open,
    Save,
    SaveAs,
    ConfirmReplace,
    SavePositionData,
    LoadPositionData,
    ClearPositionData,
    ImportImages,
    ExportImages,
    ExportDeckImage,
    CreateBitmaps,
    Print,
    ExportSheet,
    Exit,
    // Edit
    Copy,
    Paste,
    PasteBaseImage,
    CopyTile,
    PasteTile,
    ChooseFont,
    Bold,
    Italic,
    DecreaseFontSize,
    IncreaseFontSize,
    TypeAngle,
    AlignLeft,
    AlignCentre,
    AlignRight,
    AlignTop,
    AlignMiddle,
    AlignBottom,
    TextEffects,
    Undo,
    Redo,
    // Tile
    CreateTile,
    ReplaceTile,
    MoveTileUp,
    MoveTileDown,
    MoveTileToStart,
    MoveTileToEnd,
    DuplicateTile,
    AddTile,
    CloneTile,
    DeleteCurrentTile,
    RotateLeft,
    RotateRight,
    FlipHorizontal,
    FlipVertical,
    BaseTile,
    AutoPasteBaseImage,
    AutoCreateFromWorkingTile,
    AutoCreateHalfTile,
    CreateUsingPositionData,
    DeleteTiles,
    LetterFromTable,
    WorkingTileToPreview,
    EditFullImage,
    EditHalfImage,
    ChooseSmallColour,
    // View
    ZoomIn,
    ZoomOut,
    ActualSize,
    FitWorkingTile,
    // Help
    Contents,
    About,
    // The tile context menu
    SetBaseTile,
    SaveSelectedTiles,
    SaveSelectedTilesAs,
    DeleteTile,
    DeleteSelectedTiles,
};

// Where a command's item goes; Separator entries of the table divide a menu.
enum class Place {
    FileMenu,
    PositionDataMenu,
    EditMenu,
    TileMenu,
    ViewMenu,
    HelpMenu,
    TileContextMenu
};

struct CommandEntry {
    Command id;
    const char* objectName; // the old form's control name
    Place place;
    const char* caption;
    QList<QKeySequence> keys;
    // The toolbar button: its place (1 to 20 as on the old form, 0 for none; 21 and 22
    // follow) with its icon in :/toolbar/ and its tip.
    int toolbarSlot = 0;
    const char* icon = nullptr;
    const char* tip = nullptr;
    bool visible = true;
    std::function<void()> run; // for a command; empty for a checkable option
    // For a checkable option: what a change of its pressed state does, and the state read
    // from the document (empty: the option keeps its own state, checked as `startChecked`).
    std::function<void(bool)> toggle;
    std::function<bool()> checked;
    bool startChecked = false;
    std::function<bool()> enabled; // empty: always enabled
};

// A line between items of a menu, with its old name.
struct MenuSeparator {
    Place place;
    const char* objectName;
    bool visible = true;
};

} // namespace qrb
