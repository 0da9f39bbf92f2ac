#pragma once
// Form2: the main window of QRB Text Editor. It owns everything for the whole run: the
// tile set and its strip model, the window-level flags, the shared dialog object and the
// platform services, and every control. Its handlers are the commands.
//
// HOW A FEATURE PLUGS IN
// Each feature lives in its own class (for example editing/ui/TileEditor for tile
// editing, text/ui/TextPlacement for lettering) that is given the Form2 and is created in
// the block marked "Feature parts" near the end of Form2's constructor (Form2.cpp) -- the
// only lines a feature adds to this class. From there it uses:
//  * Controls: ui().txtText, ui().pctWorkingTile, ui().cmdPlaceText[k], ui().mnuCopy ...
//    -- every control and menu item under its own name (also found by objectName, see
//    Controls). Connect to the controls' own signals (clicked, valueChanged, ...).
//  * Commands: every menu item "mnuX" runs the handler named "mnuX_Click"; toolbar button i
//    runs "Toolbar1_Button<i>" (buttons 1, 2, 4, 5, 15-18 forward to their menu
//    handlers by default). Install a handler with setHandler(name, function) -- the
//    handlers still to be provided are listed in Form2.cpp under "Handlers provided by
//    the feature parts" -- and call any other with runHandler(name).
//  * Model and state: tileSet(), strip() (marks, current/base tile, geometry: all strip
//    rules), state() (IsSaved, IsLibraryOpen, LargeLayout, EditingFullImage, ...),
//    CommonDialog1() (also the current library path and text font), messages(),
//    clipboard().
//  * Window routines: UpdateTitle(), ShowSelectedTile(k), Form_Resize(),
//    setTileCountPanel(n), stripChanged(firstTile) after tiles were changed, appended or
//    deleted, FontSizeIncrease().
// Mouse presses on the strip go through StripModel::press here; the tile context menu
// is prepared and shown here, its commands are handlers like any other.
//
// Coordinates: the client area (ui().client) is the window's design coordinate system in
// pixels -- the toolbar across its top, the status bar across its bottom -- so design
// positions are used as they are. The tile strip works in twips (15 per pixel).
//
// Control arrays: element k of cmdPlaceText / Text1 / Shape2 has objectName
// "cmdPlaceText(k)", "Text1(k)", "Shape2(k)" and the dynamic property "index" = k.
// Toolbar button i is the QAction ui().toolbarButton(i), objectName "Toolbar1_Button<i>"
// (separators included; button 13 and separator 14 are hidden).

#include "app/platform/CommonDialog.h"
#include "app/platform/Platform.h"
#include "editing/StripModel.h"
#include "tileset/TileSet.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <map>

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
class ShapeWidget;
class TileStrip;

class Form2 : public QMainWindow {
    Q_OBJECT
public:
    // The application title: caption of messages and start of the window title.
    static constexpr const char* kTitle = "QRB Text Editor";

    // Every control of the window. Pointers stay valid for the window's life.
    struct Controls {
        QWidget* client = nullptr; // the client area, in design pixel coordinates

        QToolBar* Toolbar1 = nullptr;
        std::array<QAction*, 21> toolbar{}; // index 1..20; [0] unused
        QAction* toolbarButton(int index) const { return toolbar.at(std::size_t(index)); }

        QLineEdit* txtText = nullptr;
        QGroupBox* Frame3 = nullptr;
        QScrollBar* XScroll = nullptr;
        QScrollBar* YScroll = nullptr;
        QLineEdit* txtX = nullptr;
        QLineEdit* txtY = nullptr;
        QLabel* Label1 = nullptr;
        QLabel* Label2 = nullptr;
        QPushButton* cmdPlace = nullptr;
        QPushButton* cmdStore = nullptr;

        QGroupBox* frmRotate = nullptr;
        QLineEdit* txtAngle = nullptr;
        QScrollBar* HScroll1 = nullptr;
        ImageBox* picRotate = nullptr;
        ShapeWidget* Shape4 = nullptr;

        QPushButton* cmdCreate = nullptr;
        QGroupBox* Frame2 = nullptr;
        std::array<QPushButton*, 9> cmdPlaceText{};
        std::array<QLineEdit*, 9> Text1{};

        std::array<ShapeWidget*, 2> Shape2{};
        // The working tile lies on a canvas inside this view, which covers the inside of
        // Shape2(0) and scrolls a tile larger than that.
        QScrollArea* workingTileView = nullptr;
        ImageBox* pctWorkingTile = nullptr;
        ImageBox* pctPreviewFull = nullptr;
        ImageBox* pctPreviewHalf = nullptr;
        ImageBox* shpPreviewSmall = nullptr;
        ImageBox* pctUndoBuffer = nullptr;

        QFrame* Picture2 = nullptr;    // strip viewport (bordered)
        TileStrip* Picture1 = nullptr; // strip content, painted rows
        QScrollBar* VScroll1 = nullptr;
        QScrollBar* stripSideways = nullptr; // below Picture2 while a row is wider than it
        QLabel* Image1 = nullptr;
        PanelStatusBar* StatusBar1 = nullptr;
        QProgressBar* ProgressBar1 = nullptr;

        // Menus (each QMenu's menuAction() carries the same objectName).
        QMenu* mnuFile = nullptr;
        QMenu* mnuPositionData = nullptr;
        QMenu* mnuEdit = nullptr;
        QMenu* mnuConfiguration = nullptr;
        QMenu* mnuHelp = nullptr;
        QMenu* mnuTileMenu = nullptr;

        // File
        QAction *mnuNew = nullptr, *mnuOpen = nullptr, *mnuSave = nullptr, *mnuSaveAs = nullptr,
                *mnuConfirmWrite = nullptr, *mnuSpacer1 = nullptr, *mnuSavePositionData = nullptr,
                *mnuLoadPositionData = nullptr, *mnuClearPositionData = nullptr,
                *mnuSpacer8 = nullptr, *mnuCreateBMP = nullptr, *spacer7 = nullptr,
                *mnuExit = nullptr;
        // Edit
        QAction *mnuCopy = nullptr, *mnuPaste = nullptr, *mnuSpacer7 = nullptr,
                *mnuPasteBaseImage = nullptr;
        // Tile
        QAction *mnuCreateTile = nullptr, *mnuAddTilemnu = nullptr, *spacer3 = nullptr,
                *mnuCloneTilemnu = nullptr, *mnuDeleteTilemnu = nullptr, *spacer5 = nullptr,
                *mnuRotateLeft = nullptr, *mnuRotateRight = nullptr, *mnuFlipHorizontal = nullptr,
                *mnuFlipVertical = nullptr, *spacer4 = nullptr, *mnuBaseTile = nullptr,
                *mnuAutoPastePase = nullptr, *mnuAutoCreateFromWorking = nullptr,
                *mnuCreateHalfTile = nullptr, *mnuCreateUsingPosition = nullptr;
        // Help
        QAction *mnuContents = nullptr, *mnuAbout = nullptr;
        // Keyboard access beyond the items above: the Edit menu ends with the toolbar's
        // style commands (the same actions as buttons 7 to 11) and mnuTypeAngle, which
        // shows the angle box; the Tile menu ends with the toolbar's delete (button 20).
        QAction* mnuTypeAngle = nullptr;
        // Tile context menu
        QAction *mnuSetBaseTile = nullptr, *mnuSaveTiles = nullptr, *mnuSaveTilesAs = nullptr,
                *mnuSpacer2 = nullptr, *mnuDeleteTile = nullptr, *mnuDeleteTiles = nullptr;
    };

    // Window-level flags of the open library and the editor.
    struct State {
        bool IsSaved = true;
        bool IsLibraryOpen = false;
        bool LargeLayout = false;
        bool SaveAsRequested = false;
        bool EditingFullImage = true;
        QString StartupFile;
    };

    // Runs Form_Load. `startupFile` is the command-line text, used verbatim as one path.
    explicit Form2(Platform platform, const QString& startupFile = QString(),
                   QWidget* parent = nullptr);
    ~Form2() override;

    // ---- Access for the feature parts --------------------------------------------------
    const Controls& ui() const { return ui_; }
    State& state() { return state_; }
    const State& state() const { return state_; }
    TileSet& tileSet() { return tiles_; }
    StripModel& strip() { return strip_; }
    CommonDialog& CommonDialog1() { return dialog_; }
    MessageBoxes& messages() { return *platform_.messages; }
    Clipboard& clipboard() { return *platform_.clipboard; }
    const Platform& platform() const { return platform_; }

    int TileCount() const { return tiles_.count(); }
    int CurrentTile() const { return strip_.currentTile(); }
    int BaseTile() const { return strip_.baseTile(); }
    // The current library path (the shared dialog's file name).
    QString currentPath() const { return dialog_.FileName; }

    // Handlers by name ("mnuOpen_Click", "Toolbar1_Button7", ...). setHandler replaces.
    using Handler = std::function<void()>;
    void setHandler(const QString& name, Handler handler);
    bool hasHandler(const QString& name) const;
    // Runs the handler; false when none is installed. A failure (exception) of the
    // outermost handler is reported to the user and ends only that command.
    bool runHandler(const QString& name);
    // Runs `handler` as a command, reporting its failure as runHandler does.
    void runCommand(const Handler& handler);

    // ---- Window routines ----------------------------------------------------------------
    void UpdateTitle();
    void ShowSelectedTile(int k);
    void Form_Resize();
    void Form_Activate();
    // Panel 1: "1 Tile" or "N Tiles".
    void setTileCountPanel(int count);
    // Tiles from firstTile on changed (images, order, count): repaint the strip.
    void stripChanged(int firstTile = 1);
    // The toolbar's size step up (also used twice at start-up).
    void FontSizeIncrease();
    // Scrolls the strip so that tile i's row is in view.
    void ensureRowVisible(int tile);
    // Loads tile k into the working tile, undo copy and previews without touching the
    // marks (the editor half of ShowSelectedTile).
    void loadTileIntoEditor(int k);
    // The working tile shows `image` and keeps it as its undo copy: the live text is drawn
    // over this picture from now on. Every command that gives the working tile a new
    // picture goes through here.
    void setWorkingImage(const QImage& image);
    // No tile in the editor: the working tile and the previews are hidden and emptied.
    void clearEditor();
    // Save, Save As and the toolbar buttons that need a library (save, copy, paste, turns,
    // flips, delete) follow whether one is open. The turns are switched on per tile by
    // loadTileIntoEditor.
    void enableLibraryCommands(bool open);
    // A progress display for the core's long operations, on ProgressBar1.
    std::function<void(int, int)> progressDisplay();

    // ---- Commands of the window ---------------------------------------------------------
    void mnuOpen_Click();
    // True when the library was written.
    bool mnuSave_Click();
    bool mnuSaveAs_Click();
    void mnuConfirmWrite_Click();
    void mnuCreateBMP_Click();
    void mnuExit_Click();
    void mnuContents_Click();
    void mnuAbout_Click();
    void Toolbar1_ButtonClick(int index);
    // A press on a strip row (any of its four parts).
    void Strip_MouseDown(int index, RowPart part, MouseButton button, Modifiers modifiers,
                         QPoint globalPos = QPoint());

    // Menu opening handlers (enabled states).
    void mnuFile_Click();
    void mnuEdit_Click();
    void mnuConfiguration_Click();

    // Layout handlers.
    void pctWorkingTile_Resize();
    void pctPreviewFull_Resize();
    void VScroll1_Change();

    AboutBox* aboutBox() const;
    QPixmap logo() const;

signals:
    // The window closed for good (Form_Unload ran and did not keep it open).
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void buildToolbar();
    void installOwnHandlers();
    void Form_Load();
    void clientResized();
    void applyPreviewLayout(bool large);
    void centreWorkingTile();
    // Shows or hides the strip's sideways bar as its rows need; true when the strip's
    // viewport changed its height (the vertical scroll range must follow).
    bool layoutStripSideways();
    // The client area's smallest size: below it the window scrolls the client area.
    void updateMinimumClientSize();
    // Keeps the toolbar and the status bar in view while the client area scrolls.
    void pinBars();
    void showTileMenu(const TileMenuForm& form, QPoint globalPos);
    void reportError(const QString& text);

    Platform platform_;
    CommonDialog dialog_;
    TileSet tiles_;
    StripModel strip_;
    State state_;
    Controls ui_;
    std::map<QString, Handler> handlers_;
    QPointer<AboutBox> about_;
    bool firstActivation_ = true;
    int runningHandlers_ = 0;     // handlers running now, the outermost one catches
    std::int32_t scrollUnit_ = 1; // twips per VScroll1 unit
};

} // namespace qrb
