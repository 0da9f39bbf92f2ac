#pragma once
// The main window of QRB Text Editor. It assembles: it builds the client area, the menus
// and the toolbar from the command table (CommandTable.cpp), creates the panels
// (app/panels) and the command groups (app/commands) on the one document and the one set
// of desktop services, hands the client area's geometry to ClientLayout, and keeps the
// window's own state: its title, the commands' enabled states, the About box, start-up and
// shutdown. It keeps no editing state: what it shows follows the document's changed()
// signal, part by part.
//
// Every menu item, toolbar button and tile-menu item is declared once in the command
// table: a Command, its caption and keys, icon and place, the function it runs and the
// rule that enables it; action(Command) gives its QAction. Every command runs through
// runCommand(), the one place where a command's failure becomes a message.
//
// Coordinates: the client area (ui().client) is the window's design coordinate system in
// pixels -- the toolbar across its top, the status bar across its bottom. The tile strip
// works in twips (15 per pixel). The controls keep the old form's names as their
// objectNames (app/shared/DesignTable.h); the window itself is still "Form2".
//
// Control arrays: element k of slotButtons / slotTexts / tileFrames has objectName
// "cmdPlaceText(k)", "Text1(k)", "Shape2(k)" and the dynamic property "index" = k.
// Toolbar position i is ui().toolbarButton(i): a menu item's action for a button with a
// menu twin; the button widget is named "Toolbar1_Button<i>" (separators carry the name
// themselves; button 13 and separator 14 are hidden).

#include "app/panels/StatusBarPanel.h"
#include "app/panels/StripPanel.h"
#include "app/panels/TextPlacementPanel.h"
#include "app/panels/WorkingTilePanel.h"
#include "app/shared/Services.h"
#include "app/window/Command.h"
#include "document/Document.h"
#include "platform/CommonDialog.h"
#include "platform/Platform.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <variant>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QToolBar;

namespace qrb {

class AboutBox;
class ClientLayout;
class ExportDeckCommand;
class ExportImagesCommand;
class ImportImagesCommand;
class LibraryFileCommands;
class PrintSheetCommands;
class StripDragDrop;
class TableLetteringCommand;
class TileTransferCommands;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The application title: caption of messages and start of the window title.
    static constexpr const char* kTitle = kAppTitle;

    // Every control of the window. Pointers stay valid for the window's life. The panels'
    // controls (the text placement's, the working tile's and its previews', the strip's,
    // the status bar's) are their own, seen here under the same names. The menu items and
    // toolbar buttons are action(Command)'s.
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

        // Menus (each QMenu's menuAction() carries the same objectName). File > Recent
        // Libraries holds the last libraries, then Clear Recent Libraries.
        QMenu *fileMenu = nullptr, *positionDataMenu = nullptr, *recentMenu = nullptr,
              *editMenu = nullptr, *tileMenu = nullptr, *viewMenu = nullptr, *helpMenu = nullptr,
              *tileContextMenu = nullptr;
    };

    // `startupFile` is the command-line text, used verbatim as one path.
    explicit MainWindow(Platform platform, const QString& startupFile = QString(),
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    const Controls& ui() const { return ui_; }
    // The menu item (and toolbar button) of a command.
    QAction* action(Command id) const { return actions_.at(id); }
    Document& document() { return document_; }
    const Document& document() const { return document_; }
    CommonDialog& commonDialog() { return dialog_; }

    // The panels and command groups the window assembled.
    TextPlacementPanel& textPlacement() { return *textPlacement_; }
    WorkingTilePanel& workingTile() { return *workingTile_; }
    StripPanel& strip() { return *strip_; }
    LibraryFileCommands& files() { return *files_; }
    TableLetteringCommand& tableLettering() { return *tableLettering_; }
    const ClientLayout& clientLayout() const { return *layout_; }

    // Runs `command`; a failure (exception) of the outermost command is reported to the
    // user and ends only that command.
    void runCommand(const std::function<void()>& command);

    // The library named on the command line, once, when the window first comes up.
    void openStartupFile();
    AboutBox* aboutBox() const;

signals:
    // The window closed for good (the exit question did not keep it open).
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    using Entry = std::variant<CommandEntry, MenuSeparator>;

    void buildControls();
    // The command table: every command of the menus, the toolbar and the tile menu.
    std::vector<Entry> commandTable();
    void buildCommands();
    void buildToolbar(const std::map<int, QAction*>& buttons);
    void createPanels();
    void createCommands();
    // The controls' stacking and keyboard order, once the panels built theirs.
    void arrangeControls();
    void bindControls();
    void documentChanged(Document::Changes what, int firstTile);
    // Enables and checks every command by its rule, names Undo and Redo.
    void updateCommands();
    // "QRB Text Editor - path", marked while the library has unsaved changes.
    void showTitle();
    // What a command did, in the status bar until the next such message.
    void showStatus(const QString& text);
    void showAbout();
    // Tells of the tiles larger than 256 x 256 the user has not been told of yet.
    void tellOfOddTiles();
    void reportError(const QString& text);
    QPixmap logo() const;

    // A command's rules, read when the document changes.
    struct Rule {
        QAction* action;
        std::function<bool()> enabled;
        std::function<bool()> checked;
    };

    Platform platform_;
    CommonDialog dialog_;
    Document document_;
    Services services_; // one set for every panel and command
    Controls ui_;
    WorkingTilePanel* workingTile_ = nullptr;
    StripPanel* strip_ = nullptr;
    StatusBarPanel* statusBar_ = nullptr;
    TextPlacementPanel* textPlacement_ = nullptr;
    ClientLayout* layout_ = nullptr;
    LibraryFileCommands* files_ = nullptr;
    ImportImagesCommand* importImages_ = nullptr;
    ExportImagesCommand* exportImages_ = nullptr;
    ExportDeckCommand* exportDeck_ = nullptr;
    TileTransferCommands* tileTransfer_ = nullptr;
    PrintSheetCommands* printSheet_ = nullptr;
    TableLetteringCommand* tableLettering_ = nullptr;
    StripDragDrop* dragDrop_ = nullptr;
    std::map<Command, QAction*> actions_;
    std::vector<Rule> rules_;
    QString startupFile_;
    QPointer<AboutBox> about_;
    bool firstActivation_ = true;
    int runningCommands_ = 0; // commands running now, the outermost one catches
    int oddTilesTold_ = 0;    // tiles over 256 x 256 in this library the user was told of
};

} // namespace qrb
