#include "app/Form2.h"
#include "app/Resources.h"

#include "app/AboutBox.h"
#include "app/MenuShortcutsFirst.h"
#include "app/PanelStatusBar.h"
#include "app/ShapeWidget.h"
#include "core/CheckedNumeric.h"
#include "editing/ui/TileEditor.h"
#include "editing/ui/TileStrip.h"
#include "imaging/render/DibConversion.h"
#include "imaging/ui/ImageBox.h"
#include "text/render/modRotateText.h"
#include "text/ui/TextPlacement.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolBar>

#include <cmath>
#include <exception>
#include <new>

namespace qrb {

namespace {

// Whole window pixels for a position computed with halves, rounding half to even.
int wholePixels(double value) {
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

Form2::Form2(Platform platform, const QString& startupFile, QWidget* parent)
    : QMainWindow(parent), platform_(std::move(platform)), dialog_(*platform_.dialogs),
      strip_(tiles_) {
    ensureResources();
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));

    buildControls();
    buildToolbar();
    buildMenus();
    installOwnHandlers();

    connect(ui_.VScroll1, &QScrollBar::valueChanged, this, &Form2::VScroll1_Change);
    connect(ui_.stripSideways, &QScrollBar::valueChanged, ui_.Picture1, &TileStrip::setContentLeft);
    connect(ui_.pctWorkingTile, &ImageBox::resized, this, &Form2::pctWorkingTile_Resize);
    connect(ui_.pctPreviewFull, &ImageBox::resized, this, &Form2::pctPreviewFull_Resize);
    connect(ui_.Picture1, &TileStrip::rowPressed, this,
            [this](int tile, RowPart part, MouseButton button, Modifiers modifiers, QPoint at) {
                runCommand([=, this] { Strip_MouseDown(tile, part, button, modifiers, at); });
            });
    connect(ui_.Picture1, &TileStrip::keyChoseRow, this, [this](int tile, Modifiers modifiers) {
        runCommand([=, this] {
            // A key never takes the current tile away, as a second click on it would.
            if (modifiers != Modifiers::None || tile != CurrentTile())
                Strip_MouseDown(tile, RowPart::Full, MouseButton::Left, modifiers);
            ensureRowVisible(tile);
        });
    });
    connect(ui_.Picture1, &TileStrip::focusRowMoved, this, &Form2::ensureRowVisible);
    connect(ui_.Picture1, &TileStrip::menuKeyPressed, this, [this](int tile, QPoint at) {
        runCommand([=, this] {
            ensureRowVisible(tile);
            Strip_MouseDown(tile, RowPart::Full, MouseButton::Right, Modifiers::None, at);
        });
    });
    connect(ui_.Picture1, &TileStrip::deleteKeyPressed, ui_.toolbarButton(20), &QAction::trigger);

    // F1 anywhere in the window opens the help, as Help > Contents does.
    auto* f1 = new QAction(this);
    f1->setObjectName(QStringLiteral("helpKey"));
    f1->setShortcut(QKeySequence(Qt::Key_F1));
    f1->setShortcutContext(Qt::WindowShortcut);
    connect(f1, &QAction::triggered, this, [this] { platform_.help->showContents(); });
    addAction(f1);

    // The menu's shortcuts work wherever the focus is, also in the text boxes.
    auto* menuKeys = new MenuShortcutsFirst(*menuBar(), this);
    for (QLineEdit* box : ui_.client->findChildren<QLineEdit*>())
        menuKeys->watch(box);

    // ---- Feature parts ------------------------------------------------------------------
    // Each feature part is created here, given *this, and installs its handlers.
    new TileEditor(*this, this);
    new TextPlacement(*this);

    // --------------------------------------------------------------------------------------

    state_.StartupFile = startupFile;
    enableLibraryCommands(false);
    Form_Load();
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

// ---- Handlers ----------------------------------------------------------------------------

void Form2::setHandler(const QString& name, Handler handler) {
    handlers_[name] = std::move(handler);
}

bool Form2::hasHandler(const QString& name) const {
    return handlers_.count(name) != 0;
}

bool Form2::runHandler(const QString& name) {
    auto it = handlers_.find(name);
    if (it == handlers_.end() || !it->second)
        return false;
    // A copy: the handler may replace itself while it runs.
    runCommand(Handler(it->second));
    return true;
}

void Form2::runCommand(const Handler& handler) {
    if (runningHandlers_ > 0) {
        // A command run by another command: its failure ends the outer one too.
        handler();
        return;
    }
    // The one place where a command's failure becomes a message: nothing thrown inside a
    // command may reach the event loop, which would end the program and lose the work.
    ++runningHandlers_;
    try {
        handler();
    } catch (const std::bad_alloc&) {
        reportError(tr("There is not enough memory to complete this command."));
    } catch (const std::exception& e) {
        reportError(
            tr("The command could not be completed.\n\n%1").arg(QString::fromUtf8(e.what())));
    } catch (...) {
        reportError(tr("The command could not be completed."));
    }
    --runningHandlers_;
}

void Form2::installOwnHandlers() {
    setHandler(QStringLiteral("mnuOpen_Click"), [this] { mnuOpen_Click(); });
    setHandler(QStringLiteral("mnuSave_Click"), [this] { mnuSave_Click(); });
    setHandler(QStringLiteral("mnuSaveAs_Click"), [this] { mnuSaveAs_Click(); });
    setHandler(QStringLiteral("mnuConfirmWrite_Click"), [this] { mnuConfirmWrite_Click(); });
    setHandler(QStringLiteral("mnuCreateBMP_Click"), [this] { mnuCreateBMP_Click(); });
    setHandler(QStringLiteral("mnuExit_Click"), [this] { mnuExit_Click(); });
    setHandler(QStringLiteral("mnuContents_Click"), [this] { mnuContents_Click(); });
    setHandler(QStringLiteral("mnuAbout_Click"), [this] { mnuAbout_Click(); });

    // Toolbar buttons that run a menu command run that command's handler, whoever
    // provides it.
    const std::array<std::pair<int, const char*>, 8> forwards{{{1, "mnuOpen_Click"},
                                                               {2, "mnuSave_Click"},
                                                               {4, "mnuCopy_Click"},
                                                               {5, "mnuPaste_Click"},
                                                               {15, "mnuRotateLeft_Click"},
                                                               {16, "mnuRotateRight_Click"},
                                                               {17, "mnuFlipHorizontal_Click"},
                                                               {18, "mnuFlipVertical_Click"}}};
    for (auto [index, target] : forwards) {
        const QString name = QString::fromLatin1(target);
        setHandler(QStringLiteral("Toolbar1_Button%1").arg(index),
                   [this, name] { runHandler(name); });
    }
    setHandler(QStringLiteral("Toolbar1_Button9"), [this] { FontSizeIncrease(); });

    // Handlers provided by the feature parts (until then these commands do nothing):
    //  tile editing: mnuCopy_Click, mnuPaste_Click, mnuPasteBaseImage_Click,
    //    mnuCreateTile_Click, mnuAddTilemnu_Click, mnuDeleteTilemnu_Click,
    //    mnuRotateLeft_Click, mnuRotateRight_Click, mnuFlipHorizontal_Click,
    //    mnuFlipVertical_Click, mnuBaseTile_Click, mnuAutoPastePase_Click,
    //    mnuAutoCreateFromWorking_Click, mnuCreateHalfTile_Click, mnuSetBaseTile_Click,
    //    mnuSaveTiles_Click, mnuSaveTilesAs_Click, mnuDeleteTile_Click,
    //    mnuDeleteTiles_Click, Toolbar1_Button20; the clicks of cmdCreate,
    //    pctWorkingTile, pctPreviewFull, pctPreviewHalf and shpPreviewSmall.
    //  text placement: mnuSavePositionData_Click, mnuLoadPositionData_Click,
    //    mnuClearPositionData_Click, mnuCreateUsingPosition_Click, Toolbar1_Button7,
    //    Toolbar1_Button8, Toolbar1_Button10, Toolbar1_Button11 (Toolbar1_Button9 may
    //    be replaced); the signals of txtText, XScroll, YScroll, txtX, txtY, HScroll1,
    //    txtAngle, cmdPlace, cmdStore, cmdPlaceText(k) and Text1(k).
    // A check-mark menu item or check button has already changed its state when its
    // handler runs.
}

void Form2::Toolbar1_ButtonClick(int index) {
    runHandler(QStringLiteral("Toolbar1_Button%1").arg(index));
}

// ---- Start-up and shutdown ---------------------------------------------------------------

void Form2::Form_Load() {
    // The logo is the window's picture. Drawn behind the controls it would show only as
    // fragments between them, so it is shown where there is room for it: in the empty
    // strip until the first library opens.
    ui_.Picture1->setEmptyPicture(ui_.Image1->pixmap());
    ui_.Image1->hide();
    state_.IsSaved = true;
    state_.EditingFullImage = true;

    dialog_.Filter = QStringLiteral("QRB File (*.qrb)|*.qrb");
    dialog_.CancelError = true;
    dialog_.FontName = QStringLiteral("Arial");
    dialog_.FontSize = 6;
    dialog_.Min = 6;
    dialog_.Max = 18;
    dialog_.Flags = 0x2107;

    setTileCountPanel(0);
    ui_.StatusBar1->setPanelText(2, dialog_.FontName + QLatin1Char(' '));
    ui_.StatusBar1->setPanelText(3, QString::number(static_cast<int>(dialog_.FontSize)));

    // The text box and the working tile start in the dialog's style.
    QFont font(dialog_.FontName);
    font.setPointSizeF(dialog_.FontSize);
    font.setBold(dialog_.FontBold);
    font.setItalic(dialog_.FontItalic);
    font.setUnderline(dialog_.FontUnderline);
    font.setStrikeOut(dialog_.FontStrikethru);
    ui_.txtText->setFont(font);
    ui_.pctWorkingTile->setFont(font);
    QPalette textPalette = ui_.txtText->palette();
    textPalette.setColor(QPalette::Text, toQColor(dialog_.Color));
    ui_.txtText->setPalette(textPalette);
    ui_.pctWorkingTile->foreColor = toQColor(dialog_.Color);

    // The angle dial starts at "000".
    {
        TextSurface surface(ui_.picRotate->image());
        surface.font = ui_.picRotate->font();
        surface.foreColor = ui_.picRotate->foreColor;
        surface.setCurrentPosition(22, 21);
        PrintText(surface, QStringLiteral("000"));
        ui_.picRotate->currentX = surface.currentX;
        ui_.picRotate->currentY = surface.currentY;
        ui_.picRotate->update();
    }

    // Two size steps, exactly as the toolbar's Increase Font Size button: 6 -> 8.
    for (int i = 0; i < 2; ++i)
        runHandler(QStringLiteral("Toolbar1_Button9"));
}

void Form2::FontSizeIncrease() {
    dialog_.FontSize += 1;
    if (dialog_.FontSize > dialog_.Max) {
        dialog_.FontSize = dialog_.Max;
    } else {
        const double size = dialog_.FontSize;
        ui_.StatusBar1->setPanelText(3, QString::number(static_cast<int>(size)));
        QFont tileFont = ui_.pctWorkingTile->font();
        tileFont.setPointSizeF(size);
        ui_.pctWorkingTile->setFont(tileFont);
        QFont boxFont = ui_.txtText->font();
        boxFont.setPointSizeF(size);
        ui_.txtText->setFont(boxFont);
        ui_.txtText->resize(ui_.txtText->width(), wholePixels(2 * size));
    }
    ui_.toolbarButton(8)->setEnabled(dialog_.FontSize != dialog_.Min);
    ui_.toolbarButton(9)->setEnabled(dialog_.FontSize != dialog_.Max);
}

bool Form2::event(QEvent* e) {
    const bool handled = QMainWindow::event(e);
    if (e->type() == QEvent::WindowActivate || (e->type() == QEvent::Show && firstActivation_)) {
        firstActivation_ = false;
        // Opening may ask questions; let the activation finish first.
        if (!state_.StartupFile.isEmpty())
            QTimer::singleShot(0, this, &Form2::Form_Activate);
    }
    return handled;
}

void Form2::Form_Activate() {
    if (!state_.StartupFile.isEmpty())
        runHandler(QStringLiteral("mnuOpen_Click"));
}

void Form2::closeEvent(QCloseEvent* event) {
    // Form_Unload: last chance to save. If the user wants to save and the save does not
    // happen, the window stays open rather than dropping the changes.
    if (!state_.IsSaved && state_.IsLibraryOpen) {
        if (messages().askYesNo(tr("Do you what to save the current QRB File?"),
                                tr("Danger Ivo Brankel!"), MessageIcon::Critical)) {
            if (!mnuSaveAs_Click()) {
                event->ignore();
                return;
            }
        }
    }
    if (about_)
        about_->close();
    event->accept();
    emit unloaded();
}

void Form2::mnuExit_Click() {
    close();
}

// ---- Help and About ----------------------------------------------------------------------

void Form2::mnuContents_Click() {
    platform_.help->showContents();
}

AboutBox* Form2::aboutBox() const {
    return about_;
}

void Form2::mnuAbout_Click() {
    if (!about_)
        about_ = new AboutBox(logo());
    about_->show();
    about_->raise();
    about_->activateWindow();
}

// ---- Layout ------------------------------------------------------------------------------

void Form2::clientResized() {
    const int W = ui_.client->width();
    const int H = ui_.client->height();
    if (ui_.Toolbar1)
        ui_.Toolbar1->setGeometry(0, 0, W, 26);
    if (ui_.StatusBar1) {
        const int S = ui_.StatusBar1->height();
        ui_.StatusBar1->setGeometry(0, H - S, W, S);
    }
    if (ui_.VScroll1)
        Form_Resize();
}

void Form2::pinBars() {
    if (!ui_.Toolbar1 || !ui_.StatusBar1 || !ui_.ProgressBar1)
        return;
    // The band of the client area in view: all of it unless the window is smaller than the
    // design and the client area scrolls. The toolbar stays at its top, the status bar
    // and the progress bar over it at its bottom, above whatever scrolls beneath.
    const auto* scroller = qobject_cast<const QScrollArea*>(centralWidget());
    const int top = -ui_.client->y();
    const int bottom =
        std::min(ui_.client->height(), top + (scroller ? scroller->viewport()->height() : 0));
    const int S = ui_.StatusBar1->height();
    ui_.Toolbar1->move(ui_.Toolbar1->x(), top);
    ui_.StatusBar1->move(ui_.StatusBar1->x(), bottom - S);
    ui_.ProgressBar1->move(ui_.ProgressBar1->x(), bottom - S + 2);
    for (QWidget* bar :
         std::initializer_list<QWidget*>{ui_.Toolbar1, ui_.StatusBar1, ui_.ProgressBar1})
        bar->raise();
}

void Form2::Form_Resize() {
    // However far the steps get, the bars end up in view.
    const struct Pin {
        Form2* window;
        ~Pin() { window->pinBars(); }
    } pin{this};
    const int W = ui_.client->width();
    const int H = ui_.client->height();
    const int S = ui_.StatusBar1->height();
    QScrollBar* bar = ui_.VScroll1;
    QFrame* view = ui_.Picture2;

    // A step that would give a negative size ends the layout; steps done stay done.
    bar->move(W - bar->width(), bar->y());
    if (H - bar->y() - S < 0)
        return;
    bar->resize(bar->width(), H - bar->y() - S);
    if (W - view->x() - bar->width() < 0)
        return;
    view->resize(W - view->x() - bar->width(), view->height());
    if (H - view->y() - S < 0)
        return;
    view->resize(view->width(), H - view->y() - S);

    const int panel5 = ui_.StatusBar1->x() + ui_.StatusBar1->panelLeft(5);
    ui_.ProgressBar1->move(panel5, ui_.ProgressBar1->y());
    if (W - panel5 - bar->width() < 0)
        return;
    ui_.ProgressBar1->resize(W - panel5 - bar->width(), ui_.ProgressBar1->height());
    ui_.ProgressBar1->move(ui_.ProgressBar1->x(), H - S + 2);
    ui_.ProgressBar1->resize(ui_.ProgressBar1->width(), S - 2);

    // Rows wider than the strip take a sideways bar from the bottom of the viewport; the
    // content spans the viewport's inside and the row frames follow its width.
    layoutStripSideways();

    ShapeWidget* previews = ui_.Shape2[1];
    if (H - previews->y() - S < 0)
        return;
    previews->resize(previews->width(), H - previews->y() - S);

    // A viewport of a new height needs a new scroll range, or rows below the old range
    // could no longer be reached. The strip stays where it is.
    if (TileCount() > 0) {
        const ScrollSettings s =
            strip_.scrollSettings(Twips{view->contentsRect().height()} * strip::kTwipsPerPixel);
        bar->setMaximum(std::max(0, s.maximum));
        bar->setEnabled(s.enabled);
    }
}

bool Form2::layoutStripSideways() {
    QFrame* view = ui_.Picture2;
    QScrollBar* side = ui_.stripSideways;
    const int inside = view->contentsRect().width();
    const int wide = ui_.Picture1->contentWidth();
    const bool needed = wide > inside;
    const int bottom = ui_.client->height() - ui_.StatusBar1->height();
    const int height = bottom - view->y() - (needed ? side->height() : 0);
    const bool changed = height != view->height() || needed == side->isHidden();
    if (height >= 0)
        view->resize(view->width(), height);
    side->setGeometry(view->x(), view->y() + view->height(), view->width(), side->height());
    side->setVisible(needed);
    side->setRange(0, needed ? wide - inside : 0);
    side->setPageStep(std::max(1, inside));
    side->setSingleStep(10);
    ui_.Picture1->setGeometry(view->contentsRect());
    return changed;
}

void Form2::centreWorkingTile() {
    ImageBox* box = ui_.pctWorkingTile;
    QScrollArea* view = ui_.workingTileView;
    QWidget* canvas = view ? view->widget() : nullptr;
    if (!box || !canvas)
        return; // still being built
    const QRect frame = ui_.Shape2[0]->geometry();
    view->setGeometry(frame.adjusted(1, 1, -1, -1));
    // A tile larger than the view's inside makes the canvas larger, so the view scrolls.
    canvas->setMinimumSize(box->size());
    if (box->width() <= view->width() && box->height() <= view->height()) {
        // Centred in the frame, in window pixels with halves rounded to even.
        const QPoint centred(wholePixels(frame.x() + frame.width() * 0.5 - box->width() * 0.5),
                             wholePixels(frame.y() + frame.height() * 0.5 - box->height() * 0.5));
        box->move(canvas->mapFrom(ui_.client, centred));
    } else {
        // Too large: from the canvas's top-left corner where it does not fit, centred
        // where it does.
        box->move(std::max(0, (canvas->width() - box->width()) / 2),
                  std::max(0, (canvas->height() - box->height()) / 2));
    }
}

void Form2::pctWorkingTile_Resize() {
    ImageBox* box = ui_.pctWorkingTile;
    centreWorkingTile();
    // The position bars take the new range quietly: a value beyond it is clamped without
    // a redraw, which would bring back the picture of the old size, and the text keeps
    // the position its fields hold.
    const std::pair<QScrollBar*, int> bars[] = {
        {ui_.XScroll, toInt16(box->width(), "working tile width")},
        {ui_.YScroll, toInt16(box->height(), "working tile height")}};
    for (auto [bar, maximum] : bars) {
        const QSignalBlocker quiet(bar);
        bar->setMaximum(maximum);
    }
    ui_.Label2->setText(QStringLiteral("%1, %2").arg(box->width()).arg(box->height()));
}

void Form2::pctPreviewFull_Resize() {
    ImageBox* box = ui_.pctPreviewFull;
    const QRect frame = ui_.Shape2[1]->geometry();
    box->move(wholePixels(frame.x() + frame.width() * 0.5 - box->width() * 0.5), box->y());
}

void Form2::applyPreviewLayout(bool large) {
    const int side = large ? 260 : 174;
    ShapeWidget* work = ui_.Shape2[0];
    ShapeWidget* previews = ui_.Shape2[1];
    work->resize(side, work->height());
    ui_.StatusBar1->setPanelWidth(4, large ? 165 : 78);
    ui_.Picture2->move(work->x() + work->width() + 1, ui_.Picture2->y());
    updateMinimumClientSize();
    Form_Resize();
    work->resize(work->width(), side);
    previews->resize(side, previews->height());
    previews->move(previews->x(), work->y() + work->height() + 2);
    ui_.pctPreviewFull->move(ui_.pctPreviewFull->x(), previews->y() + (large ? 2 : 15));
    pctPreviewFull_Resize();
    centreWorkingTile();
}

void Form2::updateMinimumClientSize() {
    // Everything of the design stays within reach: the left column down to the last slot,
    // the working tile's frame, and a strip of some width beside them, above the status bar.
    constexpr int kNarrowestStrip = 120;
    int bottom = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{ui_.Frame2, ui_.cmdCreate, ui_.Shape2[0]})
        bottom = std::max(bottom, w->y() + w->height());
    ui_.client->setMinimumSize(ui_.Picture2->x() + kNarrowestStrip + ui_.VScroll1->width(),
                               bottom + ui_.StatusBar1->height());
}

void Form2::setTileCountPanel(int count) {
    ui_.StatusBar1->setPanelText(1, count == 1 ? tr("1 Tile") : tr("%1 Tiles").arg(count));
}

// ---- The strip ---------------------------------------------------------------------------

void Form2::UpdateTitle() {
    ui_.ProgressBar1->hide();
    setWindowTitle(QString::fromLatin1(kTitle) + QStringLiteral(" - ") + currentPath());
    const ScrollSettings s =
        strip_.scrollSettings(Twips{ui_.Picture2->contentsRect().height()} * strip::kTwipsPerPixel);
    QScrollBar* bar = ui_.VScroll1;
    const QSignalBlocker quiet(bar);
    bar->setMaximum(std::max(0, s.maximum));
    if (s.smallStep > 0) {
        bar->setPageStep(s.largeStep);
        bar->setSingleStep(s.smallStep);
    }
    scrollUnit_ = s.unitTwips;
    bar->setValue(0);
    bar->setEnabled(s.enabled);
    VScroll1_Change();
}

void Form2::VScroll1_Change() {
    ui_.Picture1->setContentTop(-Twips{ui_.VScroll1->value()} * scrollUnit_);
}

void Form2::ensureRowVisible(int tile) {
    if (tile < 1 || tile > TileCount())
        return;
    const RowGeometry g = strip_.rowGeometry(tile);
    const Twips viewTop = Twips{ui_.VScroll1->value()} * scrollUnit_;
    const Twips viewHeight = Twips{ui_.Picture1->height()} * strip::kTwipsPerPixel;
    const Twips top = std::max<Twips>(0, g.frameTop);
    const Twips bottom = g.frameTop + g.frameHeight;
    Twips wanted = viewTop;
    if (top < viewTop)
        wanted = top;
    else if (bottom > viewTop + viewHeight)
        wanted = bottom - viewHeight;
    ui_.VScroll1->setValue(static_cast<int>((wanted + scrollUnit_ - 1) / scrollUnit_));
}

void Form2::stripChanged(int firstTile) {
    ui_.Picture1->invalidateFrom(firstTile);
    // A row that came or went may start or end the need to scroll sideways.
    if (layoutStripSideways())
        Form_Resize();
}

void Form2::Strip_MouseDown(int index, RowPart part, MouseButton button, Modifiers modifiers,
                            QPoint globalPos) {
    const PressOutcome outcome = strip_.press(index, part, button, modifiers);
    switch (outcome.action) {
    case PressOutcome::Action::ShowTile:
        loadTileIntoEditor(outcome.tile);
        break;
    case PressOutcome::Action::ShowContextMenu:
        showTileMenu(outcome.menu, globalPos);
        break;
    case PressOutcome::Action::Nothing:
        break;
    }
    state_.EditingFullImage = true;
    ui_.Picture1->update();
}

void Form2::showTileMenu(const TileMenuForm& form, QPoint globalPos) {
    ui_.mnuSetBaseTile->setVisible(form.setBaseTile);
    ui_.mnuSaveTilesAs->setText(QString::fromUtf8(form.saveTilesAsCaption.data(),
                                                  qsizetype(form.saveTilesAsCaption.size())));
    ui_.mnuDeleteTile->setVisible(form.deleteTile);
    ui_.mnuDeleteTiles->setVisible(form.deleteTiles);
    ui_.mnuTileMenu->popup(globalPos);
}

void Form2::ShowSelectedTile(int k) {
    if (k < 1 || k > TileCount())
        return;
    strip_.showSelectedTile(k);
    loadTileIntoEditor(k);
    ui_.Picture1->update();
}

void Form2::loadTileIntoEditor(int k) {
    const bool current = strip_.currentTile() != 0;
    ui_.mnuDeleteTile->setEnabled(current);
    ui_.mnuDeleteTilemnu->setEnabled(current);
    if (current)
        ui_.mnuCloneTilemnu->setEnabled(true);

    const Tile& tile = tiles_.tile(k);
    const bool showPreviews = !ui_.mnuAutoCreateFromWorking->isChecked();
    ImageBox* work = ui_.pctWorkingTile;
    ImageBox* full = ui_.pctPreviewFull;
    ImageBox* half = ui_.pctPreviewHalf;
    ImageBox* small = ui_.shpPreviewSmall;

    work->show();
    work->setEnabled(true);
    half->setEnabled(true);
    full->setEnabled(true);
    small->setEnabled(true);
    full->setVisible(showPreviews);
    small->setBorder(false);

    const bool square = tile.full.width() == tile.full.height();
    ui_.toolbarButton(15)->setEnabled(square);
    ui_.toolbarButton(16)->setEnabled(square);
    ui_.mnuRotateLeft->setEnabled(square);
    ui_.mnuRotateRight->setEnabled(square);

    const QImage fullImage = toQImage(tile.full);
    setWorkingImage(fullImage);
    full->setImage(fullImage);
    state_.EditingFullImage = true;
    ui_.Label2->setText(QStringLiteral("%1, %2").arg(work->width()).arg(work->height()));

    half->resize(tile.half.width(), tile.half.height());
    half->setImage(toQImage(tile.half));
    const QRect frame = ui_.Shape2[1]->geometry();
    const int fullBottom = full->y() + full->height();
    if (!state_.LargeLayout)
        half->move(wholePixels(frame.x() + frame.width() * 0.5 - half->width() * 0.5),
                   fullBottom + 10);
    else
        half->move(full->x(), fullBottom + 2);
    if (showPreviews)
        half->show();

    small->setBackColour(tile.smallColour);
    if (!state_.LargeLayout) {
        small->move(wholePixels(frame.x() + frame.width() * 0.5 - small->width() * 0.5),
                    half->y() + half->height() + 10);
        small->setBorder(true);
    } else {
        small->move(half->x() + half->width() + 5, half->y());
    }
    if (showPreviews)
        small->show();
}

void Form2::setWorkingImage(const QImage& image) {
    // The copy first: whatever the new size sets off draws over the new picture.
    ui_.pctUndoBuffer->setImage(image);
    ui_.pctWorkingTile->setImage(image);
}

void Form2::clearEditor() {
    for (ImageBox* box :
         {ui_.pctWorkingTile, ui_.pctPreviewHalf, ui_.pctPreviewFull, ui_.shpPreviewSmall})
        box->hide();
    ui_.shpPreviewSmall->setBorder(false);
    for (ImageBox* box :
         {ui_.pctWorkingTile, ui_.pctUndoBuffer, ui_.pctPreviewFull, ui_.pctPreviewHalf})
        box->clearImage();
    ui_.shpPreviewSmall->setBackColour(systemcolour::MenuBar);
}

void Form2::enableLibraryCommands(bool open) {
    ui_.mnuSave->setEnabled(open);
    ui_.mnuSaveAs->setEnabled(open);
    for (int button : {2, 4, 5, 17, 18, 20})
        ui_.toolbarButton(button)->setEnabled(open);
    if (!open) {
        ui_.toolbarButton(15)->setEnabled(false);
        ui_.toolbarButton(16)->setEnabled(false);
    }
}

// ---- Menus opening -----------------------------------------------------------------------

void Form2::mnuFile_Click() {
    ui_.mnuCreateBMP->setEnabled(state_.IsLibraryOpen);
}

void Form2::mnuEdit_Click() {
    ui_.mnuCopy->setEnabled(!ui_.pctWorkingTile->isHidden());
    ui_.mnuPaste->setEnabled(state_.IsLibraryOpen && clipboard().hasImage());
    ui_.mnuPasteBaseImage->setEnabled(state_.IsLibraryOpen);
}

void Form2::mnuConfiguration_Click() {
    const bool open = state_.IsLibraryOpen;
    ui_.mnuCreateTile->setEnabled(open);
    ui_.mnuFlipHorizontal->setEnabled(open);
    ui_.mnuFlipVertical->setEnabled(open);
    if (!open) {
        ui_.mnuRotateLeft->setEnabled(false);
        ui_.mnuRotateRight->setEnabled(false);
    }
}

void Form2::mnuConfirmWrite_Click() {
    // The check mark has already changed; nothing else depends on it until a save.
}

void Form2::reportError(const QString& text) {
    messages().inform(text, QString::fromLatin1(kTitle), MessageIcon::Critical);
}

} // namespace qrb
