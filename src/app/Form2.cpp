#include "app/Form2.h"

#include "app/AboutBox.h"
#include "app/MenuShortcutsFirst.h"
#include "app/PrintSheetCommands.h"
#include "app/TableLetteringCommand.h"
#include "app/parts/TextPlacementPanel.h"
#include "app/parts/WorkingTilePanel.h"
#include "platform/qt/Resources.h"
#include "widgets/ImageBox.h"
#include "widgets/ShapeWidget.h"
#include "widgets/TileStrip.h"
#include "widgets/WorkingTileBox.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>

#include <exception>
#include <new>

namespace qrb {

Form2::Form2(Platform platform, const QString& startupFile, QWidget* parent)
    : QMainWindow(parent), platform_(std::move(platform)), dialog_(*platform_.dialogs),
      startupFile_(startupFile) {
    ensureResources();
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));

    buildControls();
    buildCommands();
    createPanels();
    arrangeControls();
    bindControls();

    // F1 anywhere in the window opens the help, as Help > Contents does.
    auto* f1 = new QAction(this);
    f1->setObjectName(QStringLiteral("helpKey"));
    f1->setShortcut(QKeySequence(Qt::Key_F1));
    f1->setShortcutContext(Qt::WindowShortcut);
    connect(f1, &QAction::triggered, this, &Form2::showHelp);
    addAction(f1);

    // The menu's shortcuts work wherever the focus is, also in the text boxes; undo and
    // redo are the document's there too (the boxes keep theirs in their context menu).
    auto* menuKeys = new MenuShortcutsFirst(*menuBar(), this);
    menuKeys->keepFromBoxes(
        {QKeySequence::Undo, QKeySequence::Redo, QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QLineEdit* box : ui_.client->findChildren<QLineEdit*>())
        menuKeys->watch(box);

    connect(&document_, &Document::changed, this, &Form2::documentChanged);
    initialise();
    // The design client area is 547 x 411, which cuts off most of the position slots and
    // leaves the strip too narrow for large tiles: the window opens tall enough to show
    // every slot and wide enough for a row of 256-pixel tiles.
    resize(800, 586 + menuBar()->sizeHint().height());
    // Smaller than this the window would show too little to work with; the client area
    // scrolls below its own design minimum.
    setMinimumSize(400, 300);
    updateMinimumClientSize();
}

Form2::~Form2() {
    delete about_;
}

void Form2::createPanels() {
    const Services services{dialog_,
                            *platform_.messages,
                            *platform_.clipboard,
                            *platform_.printing,
                            *platform_.progress,
                            [this](const QString& text) { showStatus(text); }};
    // In the order of their stacking: the text controls above the frames they overlap.
    workingTile_ = new WorkingTilePanel(document_, services, ui_.client, this);
    strip_ = new StripPanel(document_, ui_.client, logo(), this);
    statusBar_ = new StatusBarPanel(document_, ui_.client, this);
    connect(workingTile_, &WorkingTilePanel::zoomChanged, this, [this] {
        statusBar_->showZoom(workingTile_->zoom());
        updateCommands();
    });
    statusBar_->showZoom(workingTile_->zoom());
    textPlacement_ = new TextPlacementPanel(document_, services, ui_.client,
                                            statusBar_->widgets().statusPanels, this);
    // The panels' controls, for the window's layout and its tests.
    static_cast<WorkingTilePanel::Widgets&>(ui_) = workingTile_->widgets();
    static_cast<StripPanel::Widgets&>(ui_) = strip_->widgets();
    static_cast<StatusBarPanel::Widgets&>(ui_) = statusBar_->widgets();
    static_cast<TextPlacementPanel::Widgets&>(ui_) = textPlacement_->widgets();
    printSheet_ = new PrintSheetCommands(document_, services, this);
    tableLettering_ = new TableLetteringCommand(
        document_, services, [this] { return workingTile_->zoom(); }, this);
    connect(tableLettering_, &TableLetteringCommand::tilesAppended, this, &Form2::ensureRowVisible);
    createLibraryCommands();
}

// ---- Commands ----------------------------------------------------------------------------

void Form2::runCommand(const std::function<void()>& command) {
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
        messages().inform(QString::fromStdString(refusal.what()), QString::fromLatin1(kTitle),
                          MessageIcon::Exclamation);
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

void Form2::tellOfOddTiles() {
    // One warning, and one count of the other oversized tiles: a library of thousands of
    // them must not keep the user clicking. Undo and redo tell nothing new.
    const int odd = document_.oddTileCount();
    const int untold = odd - oddTilesTold_;
    if (untold <= 0)
        return;
    oddTilesTold_ = odd;
    messages().inform(tr("Weird displays will occur with tile sizes greater than 256 X 256"),
                      appTitle(), MessageIcon::Information);
    if (untold > 1)
        messages().inform(
            untold == 2
                ? tr("1 more tile in this library is larger than 256 X 256.")
                : tr("%1 more tiles in this library are larger than 256 X 256.").arg(untold - 1),
            appTitle(), MessageIcon::Information);
}

void Form2::bindControls() {
    auto bind = [this](auto* sender, auto signal, auto command) {
        connect(sender, signal, this, [this, command] { runCommand(command); });
    };
    TextPlacementPanel* text = textPlacement_;

    // Buttons and clicks of the controls.
    connect(ui_.createButton, &QPushButton::clicked, action(Command::CreateTile),
            &QAction::trigger);
    bind(ui_.placeButton, &QPushButton::clicked, [text] { text->place(); });
    bind(ui_.storeButton, &QPushButton::clicked, [text] { text->beginStore(); });
    for (int k = 0; k < 9; ++k)
        bind(ui_.slotButtons[std::size_t(k)], &QPushButton::clicked,
             [text, k] { text->slotButton(k); });
    // A click on the working tile or a preview is its command, as the Tile menu gives it.
    for (auto [box, id] :
         {std::pair<ImageBox*, Command>{ui_.workingTile, Command::WorkingTileToPreview},
          std::pair{ui_.fullPreview, Command::EditFullImage},
          std::pair{ui_.halfPreview, Command::EditHalfImage},
          std::pair{ui_.smallColour, Command::ChooseSmallColour}})
        connect(box, &ImageBox::clicked, action(id), &QAction::trigger);

    // The strip's presses and keys: the tile menu is the window's.
    connect(ui_.strip, &TileStrip::rowPressed, this,
            [this](int tile, RowPart part, MouseButton button, Modifiers modifiers, QPoint at) {
                runCommand([=, this] { pressStripRow(tile, part, button, modifiers, at); });
            });
    connect(ui_.strip, &TileStrip::keyChoseRow, this, [this](int tile, Modifiers modifiers) {
        runCommand([=, this] {
            // A key never takes the current tile away, as a second click on it would.
            if (modifiers != Modifiers::None || tile != currentTile())
                pressStripRow(tile, RowPart::Full, MouseButton::Left, modifiers);
            ensureRowVisible(tile);
        });
    });
    connect(ui_.strip, &TileStrip::focusRowMoved, this, &Form2::ensureRowVisible);
    connect(ui_.strip, &TileStrip::menuKeyPressed, this, [this](int tile, QPoint at) {
        runCommand([=, this] {
            ensureRowVisible(tile);
            pressStripRow(tile, RowPart::Full, MouseButton::Right, Modifiers::None, at);
        });
    });
    connect(ui_.strip, &TileStrip::deleteKeyPressed, action(Command::DeleteTiles),
            &QAction::trigger);

    connect(ui_.editMenu, &QMenu::aboutToShow, this, &Form2::editMenuOpening);
    // Paste's state on opening is right only while the menu is open: an image copied later
    // must not leave Ctrl+V dead until the menu is opened again. Paste repeats its guard.
    connect(ui_.editMenu, &QMenu::aboutToHide, this, &Form2::updateCommands);
}

// ---- Options -----------------------------------------------------------------------------

void Form2::showOptions() {
    // Without tiles made from the working tile the previews show, down to the status bar.
    if (!document_.options().createFromWorkingTile)
        workingTile_->stretchPreviewFrame(ui_.client->height() - statusBar_->height());
}

// ---- What the window shows of the document -----------------------------------------------

void Form2::documentChanged(Document::Changes what, int) {
    using Change = Document::Change;
    if (what & Change::Tiles) {
        // The frames follow the tiles' size whatever changed it, as an open lays them out.
        if (document_.largeLayout() != largeShown_)
            applyPreviewLayout(document_.largeLayout());
        showTitle();
        layOutClient();
    }
    if (what & Change::Options)
        showOptions();
    if (what & Change::File) {
        showTitle();
        // File dialogs start in the open library's folder.
        if (!currentPath().isEmpty())
            dialog_.InitDir = QFileInfo(currentPath()).absolutePath();
    }
    // The commands' states follow the library, the working tile, the style and the
    // history, not the text being typed, moved or turned.
    if (what & ~Document::Changes(Change::Text | Change::Position | Change::Angle |
                                  Change::LiveText | Change::Slots))
        updateCommands();
}

void Form2::editMenuOpening() {
    ui_.paste->setEnabled(document_.isLibraryOpen() && clipboard().hasImage());
}

void Form2::undo() {
    document_.undo();
}

void Form2::redo() {
    document_.redo();
}

// ---- Start-up and shutdown ---------------------------------------------------------------

void Form2::initialise() {
    // The logo is the window's picture. Drawn behind the controls it would show only as
    // fragments between them, so it is shown where there is room for it: in the empty
    // strip until the first library opens.
    ui_.logoLabel->hide();

    dialog_.Filter = QStringLiteral("QRB File (*.qrb)|*.qrb");
    dialog_.CancelError = true;
    dialog_.Min = Placement::kMinimumSize;
    dialog_.Max = Placement::kMaximumSize;
    dialog_.Flags = 0x2107;

    updateCommands();
}

bool Form2::event(QEvent* e) {
    const bool handled = QMainWindow::event(e);
    if (e->type() == QEvent::WindowActivate && !firstActivation_ && startupFile_.isEmpty())
        // After the event: a question must not interrupt the activation.
        QTimer::singleShot(0, this, &Form2::noticeFileChangedOnDisk);
    if (e->type() == QEvent::WindowActivate || (e->type() == QEvent::Show && firstActivation_)) {
        firstActivation_ = false;
        // Opening may ask questions; let the activation finish first.
        if (!startupFile_.isEmpty())
            QTimer::singleShot(0, this, &Form2::openStartupFile);
    }
    return handled;
}

void Form2::openStartupFile() {
    if (!startupFile_.isEmpty())
        runCommand([this] { openLibrary(); });
}

void Form2::closeEvent(QCloseEvent* event) {
    // Last chance to save. Cancel keeps the window open, and so does a save the user
    // asked for that did not happen, rather than dropping the changes.
    if (!document_.isSaved() && document_.isLibraryOpen()) {
        const Answer answer =
            messages().ask(Question{tr("Do you what to save the current QRB File?"),
                                    tr("Danger Ivo Brankel!"), MessageIcon::Critical, true});
        bool saved = answer == Answer::No;
        if (answer == Answer::Yes)
            runCommand([&] { saved = saveLibraryAs(); });
        if (!saved) {
            event->ignore();
            return;
        }
    }
    if (about_)
        about_->close();
    event->accept();
    emit unloaded();
}

void Form2::exitProgram() {
    close();
}

// ---- Help and About ----------------------------------------------------------------------

void Form2::showHelp() {
    platform_.help->showContents();
}

AboutBox* Form2::aboutBox() const {
    return about_;
}

void Form2::showAbout() {
    if (!about_)
        about_ = new AboutBox(logo());
    about_->show();
    about_->raise();
    about_->activateWindow();
}

// ---- Layout ------------------------------------------------------------------------------

void Form2::clientResized() {
    if (ui_.mainToolBar)
        ui_.mainToolBar->setGeometry(0, 0, ui_.client->width(), 26);
    if (strip_)
        layOutClient();
}

std::pair<int, int> Form2::visibleBand() const {
    const auto* scroller = qobject_cast<const QScrollArea*>(centralWidget());
    const int top = -ui_.client->y();
    const int height = scroller ? scroller->viewport()->height() : ui_.client->height();
    return {top, std::min(ui_.client->height(), top + height)};
}

void Form2::pinBars() {
    if (!ui_.mainToolBar || !statusBar_)
        return;
    // The toolbar stays at the top of the band in view, the status bar and the progress
    // bar over it at its bottom, above whatever scrolls beneath.
    const auto [top, bottom] = visibleBand();
    const int W = ui_.client->width();
    ui_.mainToolBar->move(ui_.mainToolBar->x(), top);
    ui_.mainToolBar->raise();
    statusBar_->layOut(bottom, W, W - ui_.stripBar->width());
    // The strip follows the band, so its last rows never lie below the window.
    if (pinnedBand_ != visibleBand())
        layOutClient();
}

void Form2::layOutClient() {
    // However far the steps get, the bars end up in view.
    const struct Pin {
        Form2* window;
        ~Pin() { window->pinBars(); }
    } pin{this};
    // The strip spans the band of the client area in view, below the toolbar and above
    // the status bar, however far the client area is scrolled.
    pinnedBand_ = visibleBand();
    const auto [top, bottom] = pinnedBand_;
    const int S = statusBar_->height();
    // The slots end above the status bar; below their design height they scroll.
    if (textPlacement_)
        textPlacement_->fitSlotGroup(bottom - S);
    if (!strip_->layOut(top, bottom - S, ui_.client->width()))
        return;
    workingTile_->stretchPreviewFrame(ui_.client->height() - S);
    strip_->keepScrollRange();
}

void Form2::updateMinimumClientSize() {
    // Everything of the design stays within reach: the left column down to a few slots
    // (the rest scroll in their group), the working tile's frame, and a strip of some width
    // beside them, above the status bar.
    constexpr int kNarrowestStrip = 120;
    int bottom = ui_.slotGroup->y() + TextPlacementPanel::kSlotGroupMinimum;
    for (QWidget* w : std::initializer_list<QWidget*>{ui_.createButton, ui_.tileFrames[0]})
        bottom = std::max(bottom, w->y() + w->height());
    ui_.client->setMinimumSize(ui_.stripFrame->x() + kNarrowestStrip + ui_.stripBar->width(),
                               bottom + statusBar_->height());
}

void Form2::applyPreviewLayout(bool large) {
    largeShown_ = large;
    workingTile_->setFrameWidth(large);
    statusBar_->setWide(large);
    const QRect work = ui_.tileFrames[0]->geometry();
    strip_->setLeft(work.x() + work.width() + 1);
    updateMinimumClientSize();
    layOutClient();
    workingTile_->arrangeFrames(large);
}

// ---- The strip ---------------------------------------------------------------------------

void Form2::showStatus(const QString& text) {
    statusBar_->showMessage(text);
}

void Form2::showTitle() {
    // The platform marks unsaved changes at the placeholder (an asterisk on most desktops);
    // a library not saved yet is "Untitled" until its first save names it.
    if (currentPath().isEmpty() && !document_.isLibraryOpen()) {
        setWindowModified(false);
        setWindowTitle(QString::fromLatin1(kTitle));
        return;
    }
    const QString name = currentPath().isEmpty() ? tr("Untitled") : currentPath();
    setWindowTitle(QString::fromLatin1(kTitle) + QStringLiteral(" - ") + name +
                   QStringLiteral("[*]"));
    setWindowModified(document_.isLibraryOpen() && !document_.isSaved());
}

void Form2::ensureRowVisible(int tile) {
    ui_.strip->ensureRowVisible(tile);
}

void Form2::pressStripRow(int index, RowPart part, MouseButton button, Modifiers modifiers,
                          QPoint globalPos) {
    const PressOutcome outcome = document_.press(index, part, button, modifiers);
    if (outcome.action == PressOutcome::Action::ShowContextMenu)
        showTileMenu(outcome.menu, globalPos);
}

void Form2::showTileMenu(const TileMenuForm& form, QPoint globalPos) {
    ui_.setBaseTile->setVisible(form.setBaseTile);
    ui_.saveSelectedTilesAs->setText(QString::fromUtf8(form.saveTilesAsCaption.data(),
                                                       qsizetype(form.saveTilesAsCaption.size())));
    ui_.deleteTile->setVisible(form.deleteTile);
    ui_.deleteSelectedTiles->setVisible(form.deleteTiles);
    ui_.tileContextMenu->popup(globalPos);
}

void Form2::showSelectedTile(int k) {
    document_.showSelectedTile(k);
}

void Form2::reportError(const QString& text) {
    messages().inform(text, QString::fromLatin1(kTitle), MessageIcon::Critical);
}

} // namespace qrb
