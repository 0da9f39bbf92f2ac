#pragma once
// Form2: the main window of QRB Text Editor. It builds the controls, the menus and the
// toolbar, binds them to the document (src/document: the library, the working tile, the
// lettering, the slots, undo) and to the feature panels (src/app/parts), and carries out the
// window's own commands: open, save, export, undo and redo, help, About, start-up and
// shutdown.
//
// Every menu item, toolbar button and tile-menu item is declared once in the command table
// (Form2Commands.cpp): a Command, its caption and keys, icon and place, the typed function it
// runs and the rule that enables it. All commands run through runCommand(), the one place
// where a command's failure becomes a message. The window keeps no editing state of its own:
// what it shows follows the document's changed() signal, part by part.
//
// Coordinates: the client area (ui().client) is the window's design coordinate system in
// pixels -- the toolbar across its top, the status bar across its bottom. The tile strip
// works in twips (15 per pixel).
//
// Control arrays: element k of slotButtons / slotTexts / tileFrames has objectName
// "cmdPlaceText(k)", "Text1(k)", "Shape2(k)" and the dynamic property "index" = k.
// Toolbar position i is ui().toolbarButton(i): a menu item's action for a button with a
// menu twin; the button widget is named "Toolbar1_Button<i>" (separators carry the name
// themselves; button 13 and separator 14 are hidden).

#include "app/Command.h"
#include "app/parts/PartSupport.h"
#include "app/parts/StatusBarPanel.h"
#include "app/parts/StripPanel.h"
#include "app/parts/TextPlacementPanel.h"
#include "app/parts/WorkingTilePanel.h"
#include "document/Document.h"
#include "platform/CommonDialog.h"
#include "platform/Platform.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <map>
#include <variant>
#include <vector>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QScrollBar;
class QToolBar;

namespace qrb {

class AboutBox;
class ImageBox;
class PanelStatusBar;
class PrintSheetCommands;
class ShapeWidget;
class TableLetteringCommand;
class ImportImagesCommand;
class ExportDeckCommand;
class ExportImagesCommand;
class StripDragDrop;
class TileStrip;

class Form2 : public QMainWindow {
    Q_OBJECT
public:
    // The application title: caption of messages and start of the window title.
    static constexpr const char* kTitle = kAppTitle;

    // Every control of the window. Pointers stay valid for the window's life. Each control's
    // objectName is the old form's name for it (the table in Form2Layout.cpp).
    // The panels' controls (the text placement's, the working tile's and its previews', the
    // strip's, the status bar's) are their own, seen here under the same names.
    struct Controls : TextPlacementPanel::Widgets,
                      WorkingTilePanel::Widgets,
                      StripPanel::Widgets,
                      StatusBarPanel::Widgets {
        QWidget* client = nullptr; // the client area, in design pixel coordinates

        QToolBar* mainToolBar = nullptr;
        std::array<QAction*, 21> toolbar{}; // index 1..20; [0] unused
        QAction* toolbarButton(int index) const { return toolbar.at(std::size_t(index)); }

        QPushButton* createButton = nullptr;
        QLabel* logoLabel = nullptr;

        // Menus (each QMenu's menuAction() carries the same objectName).
        QMenu* fileMenu = nullptr;
        QMenu* positionDataMenu = nullptr;
        QMenu* editMenu = nullptr;
        QMenu* tileMenu = nullptr;
        QMenu* viewMenu = nullptr;
        QMenu* helpMenu = nullptr;
        QMenu* tileContextMenu = nullptr;

        // File
        QAction *newLibrary = nullptr, *openLibrary = nullptr, *save = nullptr, *saveAs = nullptr,
                *confirmReplace = nullptr, *positionDataSpacer = nullptr,
                *savePositionData = nullptr, *loadPositionData = nullptr,
                *clearPositionData = nullptr, *bitmapsSpacer = nullptr, *createBitmaps = nullptr,
                *importImages = nullptr, *exportImages = nullptr, *exportDeckImage = nullptr,
                *copyTile = nullptr, *pasteTile = nullptr, *printSpacerAbove = nullptr,
                *exit = nullptr;
        // Edit
        QAction *copy = nullptr, *paste = nullptr, *pasteBaseSpacer = nullptr,
                *pasteBaseImage = nullptr;
        // Tile
        QAction *createTile = nullptr, *addTile = nullptr, *addTileSpacer = nullptr,
                *cloneTile = nullptr, *deleteCurrentTile = nullptr, *deleteTileSpacer = nullptr,
                *rotateLeft = nullptr, *rotateRight = nullptr, *flipHorizontal = nullptr,
                *flipVertical = nullptr, *optionsSpacer = nullptr, *baseTile = nullptr,
                *autoPasteBaseImage = nullptr, *autoCreateFromWorkingTile = nullptr,
                *autoCreateHalfTile = nullptr, *createUsingPositionData = nullptr,
                *replaceTile = nullptr, *moveTileUp = nullptr, *moveTileDown = nullptr,
                *moveTileToStart = nullptr, *moveTileToEnd = nullptr, *duplicateTile = nullptr;
        // File > Recent Libraries: the last libraries, then Clear Recent Libraries.
        QMenu* recentMenu = nullptr;
        // View
        QAction *zoomIn = nullptr, *zoomOut = nullptr, *actualSize = nullptr,
                *fitWorkingTile = nullptr;
        // Help
        QAction *helpContents = nullptr, *about = nullptr;
        // Keyboard access beyond the items above: the Edit menu ends with the toolbar's
        // style commands (the same actions as buttons 7 to 11) and typeAngle, which
        // shows the angle box; the Tile menu ends with the toolbar's delete (button 20).
        QAction* typeAngle = nullptr;
        // Then the text's anchor (one of each three checked) and its effects, also on the
        // toolbar after Redo.
        QAction *alignLeft = nullptr, *alignCentre = nullptr, *alignRight = nullptr,
                *alignTop = nullptr, *alignMiddle = nullptr, *alignBottom = nullptr,
                *textEffects = nullptr;
        // Print sheets, at the end of the File menu before Exit.
        QAction *print = nullptr, *exportSheet = nullptr, *printSpacerBelow = nullptr;
        // Letter from table, at the end of the Tile menu, then the clicks of the working
        // tile and the previews.
        QAction* letterFromTable = nullptr;
        QAction *workingTileToPreview = nullptr, *editFullImage = nullptr, *editHalfImage = nullptr,
                *chooseSmallColour = nullptr;
        // Undo and Redo, at the end of the Edit menu and of the toolbar.
        QAction *undo = nullptr, *redo = nullptr;
        // Tile context menu
        QAction *setBaseTile = nullptr, *saveSelectedTiles = nullptr,
                *saveSelectedTilesAs = nullptr, *deleteSpacer = nullptr, *deleteTile = nullptr,
                *deleteSelectedTiles = nullptr;
    };

    // `startupFile` is the command-line text, used verbatim as one path.
    explicit Form2(Platform platform, const QString& startupFile = QString(),
                   QWidget* parent = nullptr);
    ~Form2() override;

    const Controls& ui() const { return ui_; }
    // The menu item (and toolbar button) of a command.
    QAction* action(Command id) const;
    Document& document() { return document_; }
    const Document& document() const { return document_; }
    CommonDialog& commonDialog() { return dialog_; }
    MessageBoxes& messages() { return *platform_.messages; }
    Clipboard& clipboard() { return *platform_.clipboard; }
    const Platform& platform() const { return platform_; }
    WorkingTilePanel& workingTile() { return *workingTile_; }
    TextPlacementPanel& textPlacement() { return *textPlacement_; }
    PrintSheetCommands& printSheet() { return *printSheet_; }
    TableLetteringCommand& tableLettering() { return *tableLettering_; }

    int tileCount() const { return document_.tileCount(); }
    int currentTile() const { return document_.currentTile(); }
    int baseTile() const { return document_.baseTile(); }
    const QString& currentPath() const { return document_.path(); }

    // Runs `command`; a failure (exception) of the outermost command is reported to the
    // user and ends only that command.
    void runCommand(const std::function<void()>& command);

    // ---- Commands of the window ---------------------------------------------------------
    // File > New: after the save question, an empty untitled library.
    void newLibrary();
    void openLibrary();
    // Opens `path` after the save question (a recent library, a dropped one).
    void openLibraryFile(const QString& path);
    void importImages();
    void exportImages();
    void exportDeck();
    // Copy Tile: the marked tiles (or the current one) whole on the clipboard; Paste Tile:
    // tiles from the clipboard (or its picture as a new tile) after the current tile.
    void copyTiles();
    void pasteTiles();
    // Tiles dragged from another window (library bytes), copied in at `gap`.
    void insertTiles(const QByteArray& tiles, int gap);
    // True when the library was written. Save As always asks for the file.
    bool saveLibrary();
    bool saveLibraryAs();
    void exportBitmaps();
    // Create; says in the status bar why nothing was made.
    void createTile();
    // Replace Tile; says in the status bar why nothing was replaced.
    void replaceTile();
    // Asks for a file and writes the selected tiles to it; the file written does not
    // become the library's path.
    void saveSelectedTiles();
    void exitProgram();
    void showHelp();
    void showAbout();
    void undo();
    void redo();
    // A press on a strip row (any of its parts).
    void pressStripRow(int index, RowPart part, MouseButton button, Modifiers modifiers,
                       QPoint globalPos = QPoint());
    void showSelectedTile(int k);

    // Menu opening handlers (enabled states that depend on the clipboard).
    void editMenuOpening();

    // ---- Window routines ----------------------------------------------------------------
    // "QRB Text Editor - path", marked while the library has unsaved changes.
    void showTitle();
    // What a command did, in the status bar until the next such message.
    void showStatus(const QString& text);
    void layOutClient();
    void openStartupFile();
    // Scrolls the strip so that tile i's row is in view.
    void ensureRowVisible(int tile);
    // A progress display for the core's long operations, on progressBar.
    std::function<void(int, int)> progressDisplay() { return statusBar_->progressDisplay(); }

    AboutBox* aboutBox() const;
    QPixmap logo() const;

signals:
    // The window closed for good (the exit question did not keep it open).
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildControls();
    // The command table: every command of the menus, the toolbar and the tile menu.
    std::vector<std::variant<CommandEntry, MenuSeparator>> commandTable();
    void buildCommands();
    void buildToolbar(const std::map<int, QAction*>& buttons);
    // Import and Export Images, and drag and drop on the strip and the window.
    void createLibraryCommands();
    void buildRecentMenu();
    void fillRecentMenu();
    // `path` was opened or saved: first among the recent libraries.
    void rememberLibrary(const QString& path);
    // Imports `pictures` at `gap` (0: after the current tile), starting a new library when
    // none is open.
    void importDropped(const QStringList& pictures, int gap);
    void createPanels();
    // The controls' stacking and keyboard order, once the panels built theirs.
    void arrangeControls();
    void bindControls();
    void initialise();
    void documentChanged(Document::Changes what, int firstTile);
    // Enables and checks every command by its rule, names Undo and Redo.
    void updateCommands();
    void showOptions();
    void clientResized();
    // The working tile's frame and the strip beside it for small or large tiles.
    void applyPreviewLayout(bool large);
    // The client area's smallest size: below it the window scrolls the client area.
    void updateMinimumClientSize();
    // Keeps the toolbar, the status bar and the strip in view while the client area
    // scrolls, so the strip's own bar reaches every tile.
    void pinBars();
    // The rows of the client area in view: all of it unless the window is smaller than
    // the design and the client area scrolls.
    std::pair<int, int> visibleBand() const;
    void showTileMenu(const TileMenuForm& form, QPoint globalPos);
    void reportError(const QString& text);
    // Writes the library; `askForName` shows the save dialog first.
    bool save(bool askForName);
    // When the window comes to the front: another program's change of the library's file
    // is offered for loading (nothing unsaved) or noted (Save will ask), once per change.
    void noticeFileChangedOnDisk();
    // Reads the library at `path` into the window; a failure says why (`failure`, then the
    // reason) and changes nothing.
    bool readLibrary(const QString& path, const QString& failure = QString());
    // Tells of the tiles larger than 256 x 256 the user has not been told of yet.
    void tellOfOddTiles();
    // File > New's empty library, also started by pictures imported without a library.
    void startNewLibrary();
    // A recent library, after the save question; one that cannot be read leaves the list.
    void openRecentLibrary(const QString& path);
    // Moves the current or the marked tiles and scrolls the strip to them.
    void moveTiles(Document::TileMove where);
    // With unsaved changes, asks `question` (Yes, No, Cancel): true when the caller may go
    // on, after `save` succeeded for Yes.
    bool mayDiscardChanges(const QString& question, const std::function<bool()>& save);

    // A command's rules, read when the document changes.
    struct Rule {
        QAction* action;
        std::function<bool()> enabled;
        std::function<bool()> checked;
    };

    Platform platform_;
    CommonDialog dialog_;
    Document document_;
    Controls ui_;
    WorkingTilePanel* workingTile_ = nullptr;
    StripPanel* strip_ = nullptr;
    StatusBarPanel* statusBar_ = nullptr;
    TextPlacementPanel* textPlacement_ = nullptr;
    PrintSheetCommands* printSheet_ = nullptr;
    TableLetteringCommand* tableLettering_ = nullptr;
    ImportImagesCommand* importImages_ = nullptr;
    ExportImagesCommand* exportImages_ = nullptr;
    ExportDeckCommand* exportDeck_ = nullptr;
    StripDragDrop* dragDrop_ = nullptr;
    std::map<Command, QAction*> actions_;
    std::vector<Rule> rules_;
    QString startupFile_;
    QPointer<AboutBox> about_;
    bool firstActivation_ = true;
    int runningCommands_ = 0;                   // commands running now, the outermost one catches
    std::pair<int, int> pinnedBand_;            // the band in view the strip was last laid out for
    std::optional<FileIdentity> noticedOnDisk_; // the changed file the user was told of
    int oddTilesTold_ = 0;    // tiles over 256 x 256 in this library the user was told of
    bool largeShown_ = false; // the window is laid out for large tiles
};

} // namespace qrb
