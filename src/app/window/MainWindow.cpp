#include "app/window/MainWindow.h"

#include "app/commands/ExportDeckCommand.h"
#include "app/commands/ExportImagesCommand.h"
#include "app/commands/ImportImagesCommand.h"
#include "app/commands/LibraryFileCommands.h"
#include "app/commands/PrintSheetCommands.h"
#include "app/commands/TableLetteringCommand.h"
#include "app/commands/TileTransferCommands.h"
#include "app/dialogs/AboutBox.h"
#include "app/panels/StripDragDrop.h"
#include "app/shared/DesignTable.h"
#include "app/window/ClientLayout.h"
#include "app/window/MenuShortcutFilter.h"
#include "platform/qt/Resources.h"
#include "widgets/ImageBox.h"
#include "widgets/TileStrip.h"
#include "widgets/WorkingTileBox.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QToolBar>

#include <exception>
#include <new>
#include <utility>

namespace qrb {

MainWindow::MainWindow(Platform platform, const QString& startupFile, QWidget* parent)
    : QMainWindow(parent), platform_(std::move(platform)), dialog_(*platform_.dialogs),
      services_{
          .dialog = dialog_,
          .messages = *platform_.messages,
          .clipboard = *platform_.clipboard,
          .printing = *platform_.printing,
          .progress = *platform_.progress,
          .showStatus = [this](const QString& text) { showStatus(text); },
          .runCommand = [this](const std::function<void()>& command) { runCommand(command); }},
      startupFile_(startupFile) {
    ensureResources();
    // Scripts and accessibility tools find the window by the old form's name.
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));

    buildControls();
    buildCommands();
    createPanels();
    createCommands();
    arrangeControls();
    bindControls();

    // F1 anywhere in the window opens the help, as Help > Contents does.
    auto* f1 = new QAction(this);
    f1->setObjectName(QStringLiteral("helpKey"));
    f1->setShortcut(QKeySequence(Qt::Key_F1));
    f1->setShortcutContext(Qt::WindowShortcut);
    connect(f1, &QAction::triggered, this, [this] { platform_.help->showContents(); });
    addAction(f1);

    // The menu's shortcuts work wherever the focus is, also in the text boxes; undo and
    // redo are the document's there too (the boxes keep theirs in their context menu).
    auto* menuKeys = new MenuShortcutFilter(*menuBar(), this);
    menuKeys->keepFromBoxes(
        {QKeySequence::Undo, QKeySequence::Redo, QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QLineEdit* box : ui_.client->findChildren<QLineEdit*>())
        menuKeys->watch(box);

    connect(&document_, &Document::changed, this, &MainWindow::documentChanged);
    // The logo is the window's picture. Drawn behind the controls it would show only as
    // fragments between them, so it is shown where there is room for it: in the empty
    // strip until the first library opens.
    ui_.logoLabel->hide();

    // The shared dialog's settings. Its flag word is the font dialog's (screen and printer
    // fonts, a Help button, effects, sizes limited to Min..Max); the file dialogs see the
    // same word, in which the second bit asks before a file is replaced.
    dialog_.Filter = LibraryFileCommands::libraryFilter();
    dialog_.CancelError = true;
    dialog_.Min = Placement::kMinimumSize;
    dialog_.Max = Placement::kMaximumSize;
    dialog_.Flags = dialogflags::ScreenFonts | dialogflags::PrinterFonts | dialogflags::HelpButton |
                    dialogflags::Effects | dialogflags::LimitSize;
    updateCommands();

    resize(design::kOpeningClientSize.width(),
           design::kOpeningClientSize.height() + menuBar()->sizeHint().height());
    // The client area scrolls below its own design minimum.
    setMinimumSize(design::kSmallestWindow);
}

MainWindow::~MainWindow() {
    delete about_;
}

void MainWindow::createPanels() {
    // In the order of their stacking: the text controls above the frames they overlap.
    workingTile_ = new WorkingTilePanel(document_, services_, ui_.client, this);
    strip_ = new StripPanel(document_, services_, ui_.client, logo(), this);
    statusBar_ = new StatusBarPanel(document_, ui_.client, this);
    services_.progressBar = statusBar_->widgets().progressBar;
    textPlacement_ = new TextPlacementPanel(document_, services_, ui_.client,
                                            statusBar_->widgets().statusPanels, this);
    // The panels' controls, for the window's layout and its tests.
    static_cast<WorkingTilePanel::Widgets&>(ui_) = workingTile_->widgets();
    static_cast<StripPanel::Widgets&>(ui_) = strip_->widgets();
    static_cast<StatusBarPanel::Widgets&>(ui_) = statusBar_->widgets();
    static_cast<TextPlacementPanel::Widgets&>(ui_) = textPlacement_->widgets();
    connect(workingTile_, &WorkingTilePanel::zoomChanged, this, [this] {
        statusBar_->showZoom(workingTile_->zoom());
        updateCommands();
    });
    statusBar_->showZoom(workingTile_->zoom());
    layout_ =
        new ClientLayout(document_,
                         {qobject_cast<QScrollArea*>(centralWidget()), ui_.client, ui_.mainToolBar,
                          ui_.createButton, textPlacement_, workingTile_, strip_, statusBar_},
                         this);
}

void MainWindow::createCommands() {
    files_ = new LibraryFileCommands(document_, services_, this);
    files_->setRecentMenu(ui_.recentMenu);
    connect(files_, &LibraryFileCommands::libraryReplaced, this, [this] {
        oddTilesTold_ = 0;
        tellOfOddTiles();
    });
    importImages_ = new ImportImagesCommand(
        document_, services_, [this] { files_->startNewLibrary(); }, this);
    exportImages_ = new ExportImagesCommand(document_, services_, this);
    exportDeck_ = new ExportDeckCommand(document_, services_, this);
    tileTransfer_ = new TileTransferCommands(document_, services_, this);
    printSheet_ = new PrintSheetCommands(document_, services_, this);
    // The lettering's preview shows the tiles at the working tile's zoom.
    tableLettering_ = new TableLetteringCommand(
        document_, services_, [this] { return workingTile_->zoom(); }, this);
    // Tiles brought in stay in view.
    connect(importImages_, &ImportImagesCommand::tilesInserted, strip_,
            &StripPanel::ensureRowVisible);
    connect(tileTransfer_, &TileTransferCommands::tilesInserted, strip_,
            &StripPanel::ensureRowVisible);
    connect(tableLettering_, &TableLetteringCommand::tilesAppended, strip_,
            &StripPanel::ensureRowVisible);
    dragDrop_ = new StripDragDrop(
        document_, ui_.strip, ui_.stripBar, this,
        {[this](const QStringList& pictures, int gap) {
             runCommand([&] { importImages_->importAt(pictures, gap); });
         },
         [this](const QString& library) { runCommand([&] { files_->openLibraryFile(library); }); },
         [this](const QByteArray& tiles, int gap) {
             runCommand([&] { tileTransfer_->insertTiles(tiles, gap); });
         }});
    strip_->setTileMenu({ui_.tileContextMenu, action(Command::SetBaseTile),
                         action(Command::SaveSelectedTilesAs), action(Command::DeleteTile),
                         action(Command::DeleteSelectedTiles), action(Command::DeleteTiles)});
}

void MainWindow::bindControls() {
    connect(ui_.createButton, &QPushButton::clicked, action(Command::CreateTile),
            &QAction::trigger);
    // A click on the working tile or a preview is its command, as the Tile menu gives it.
    for (auto [box, id] :
         {std::pair<ImageBox*, Command>{ui_.workingTile, Command::WorkingTileToPreview},
          std::pair{ui_.fullPreview, Command::EditFullImage},
          std::pair{ui_.halfPreview, Command::EditHalfImage},
          std::pair{ui_.smallColour, Command::ChooseSmallColour}})
        connect(box, &ImageBox::clicked, action(id), &QAction::trigger);

    // Paste's state on opening is right only while the menu is open: an image copied later
    // must not leave Ctrl+V dead until the menu is opened again. Paste repeats its guard.
    connect(ui_.editMenu, &QMenu::aboutToShow, this, [this] {
        action(Command::Paste)
            ->setEnabled(document_.isLibraryOpen() && platform_.clipboard->hasImage());
    });
    connect(ui_.editMenu, &QMenu::aboutToHide, this, &MainWindow::updateCommands);
}

// ---- Commands ----------------------------------------------------------------------------

void MainWindow::runCommand(const std::function<void()>& command) {
    if (runningCommands_ > 0) {
        // A command run by another command: its failure ends the outer one too.
        command();
        return;
    }
    // The one place where a command's failure becomes a message: nothing thrown inside a
    // command may reach the event loop, which would end the program and lose the work.
    ++runningCommands_;
    // What the last command said is old news once the next one runs.
    showStatus(QString());
    try {
        command();
    } catch (const Refusal& refusal) {
        // A command the document turned down, with the reason the user must know.
        platform_.messages->inform(QString::fromStdString(refusal.what()),
                                   QString::fromLatin1(kTitle), MessageIcon::Exclamation);
    } catch (const std::bad_alloc&) {
        reportError(tr("There is not enough memory to complete this command."));
    } catch (const std::exception& e) {
        reportError(
            tr("The command could not be completed.\n\n%1").arg(QString::fromUtf8(e.what())));
    } catch (...) {
        reportError(tr("The command could not be completed."));
    }
    --runningCommands_;
    // Tiles the command brought in (imported, created, replaced) may be too large to show well.
    tellOfOddTiles();
}

void MainWindow::tellOfOddTiles() {
    // One warning, and one count of the other oversized tiles: a library of thousands of
    // them must not keep the user clicking. Undo and redo tell nothing new.
    const int odd = document_.oddTileCount();
    const int untold = odd - oddTilesTold_;
    if (untold <= 0)
        return;
    oddTilesTold_ = odd;
    MessageBoxes& messages = *platform_.messages;
    messages.inform(tr("Weird displays will occur with tile sizes greater than 256 X 256"),
                    appTitle(), MessageIcon::Information);
    if (untold > 1)
        messages.inform(
            untold == 2
                ? tr("1 more tile in this library is larger than 256 X 256.")
                : tr("%1 more tiles in this library are larger than 256 X 256.").arg(untold - 1),
            appTitle(), MessageIcon::Information);
}

void MainWindow::reportError(const QString& text) {
    platform_.messages->inform(text, QString::fromLatin1(kTitle), MessageIcon::Critical);
}

// ---- What the window shows of the document -----------------------------------------------

void MainWindow::documentChanged(Document::Changes what, int) {
    using Change = Document::Change;
    if (what & (Change::Tiles | Change::File))
        showTitle();
    // File dialogs start in the open library's folder.
    if ((what & Change::File) && !document_.path().isEmpty())
        dialog_.InitDir = QFileInfo(document_.path()).absolutePath();
    // The commands' states follow the library, the working tile, the style and the
    // history, not the text being typed, moved or turned.
    if (what & ~Document::Changes(Change::Text | Change::Position | Change::Angle |
                                  Change::LiveText | Change::Slots))
        updateCommands();
}

void MainWindow::showTitle() {
    // The platform marks unsaved changes at the placeholder (an asterisk on most desktops);
    // a library not saved yet is "Untitled" until its first save names it.
    const QString& path = document_.path();
    if (path.isEmpty() && !document_.isLibraryOpen()) {
        setWindowModified(false);
        setWindowTitle(QString::fromLatin1(kTitle));
        return;
    }
    const QString name = path.isEmpty() ? tr("Untitled") : path;
    setWindowTitle(QString::fromLatin1(kTitle) + QStringLiteral(" - ") + name +
                   QStringLiteral("[*]"));
    setWindowModified(document_.isLibraryOpen() && !document_.isSaved());
}

void MainWindow::showStatus(const QString& text) {
    statusBar_->showMessage(text);
}

// ---- Start-up and shutdown ---------------------------------------------------------------

bool MainWindow::event(QEvent* e) {
    const bool handled = QMainWindow::event(e);
    if (e->type() == QEvent::WindowActivate && !firstActivation_ && startupFile_.isEmpty())
        // After the event: a question must not interrupt the activation, nor a command.
        QTimer::singleShot(0, this, [this] {
            if (runningCommands_ == 0)
                files_->noticeFileChangedOnDisk();
        });
    if (e->type() == QEvent::WindowActivate || (e->type() == QEvent::Show && firstActivation_)) {
        firstActivation_ = false;
        // Opening may ask questions; let the activation finish first.
        if (!startupFile_.isEmpty())
            QTimer::singleShot(0, this, &MainWindow::openStartupFile);
    }
    return handled;
}

void MainWindow::openStartupFile() {
    if (startupFile_.isEmpty())
        return;
    const QString path = std::exchange(startupFile_, QString());
    runCommand([&] { files_->openLibraryFile(path); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Last chance to save. Cancel keeps the window open, and so does a save the user
    // asked for that did not happen, rather than dropping the changes.
    if (!files_->mayClose()) {
        event->ignore();
        return;
    }
    if (about_)
        about_->close();
    event->accept();
    emit unloaded();
}

AboutBox* MainWindow::aboutBox() const {
    return about_;
}

void MainWindow::showAbout() {
    if (!about_)
        about_ = new AboutBox(logo());
    about_->show();
    about_->raise();
    about_->activateWindow();
}

QPixmap MainWindow::logo() const {
    return QPixmap(QStringLiteral(":/images/logo.png"));
}

} // namespace qrb
