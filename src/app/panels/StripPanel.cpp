#include "app/panels/StripPanel.h"

#include "app/shared/DesignControls.h"
#include "widgets/TileStrip.h"

#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QScrollBar>

namespace qrb {

StripPanel::StripPanel(Document& document, Services services, QWidget* client,
                       const QPixmap& emptyPicture, QObject* parent)
    : QObject(parent), document_(document), services_(std::move(services)) {
    setObjectName(QStringLiteral("Strip"));
    buildControls(client);
    ui_.strip->setEmptyPicture(emptyPicture);
    connectInput();
    connect(&document_, &Document::changed, this, [this](Document::Changes what, int firstTile) {
        using Change = Document::Change;
        if (what & Change::Tiles)
            tilesChanged(firstTile, bool(what & Change::Appended), bool(what & Change::Reordered));
        if (what & (Change::Selection | Change::Tiles))
            ui_.strip->update();
    });
}

void StripPanel::buildControls(QWidget* client) {
    using namespace design;
    ui_.stripFrame = placed(new QFrame(client), kStripFrame);
    ui_.stripFrame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    ui_.strip = named(new TileStrip(document_.strip(), ui_.stripFrame), QStringLiteral("Picture1"));
    ui_.strip->setGeometry(ui_.stripFrame->contentsRect());
    ui_.strip->setAccessibleName(tr("Tile strip"));
    ui_.strip->setAccessibleDescription(tr("Up and Down choose the tile to edit"));
    ui_.stripBar = scrollBar(client, kStripBar, Qt::Vertical, 0, 0, 1);
    ui_.stripBar->setEnabled(false);
    ui_.stripBar->setAccessibleName(tr("Scroll tile strip"));
    // Shown below the strip only while a row is wider than it.
    ui_.stripSideways = scrollBar(client, kStripSideways, Qt::Horizontal, 0, 0, 1);
    ui_.stripSideways->setAccessibleName(tr("Scroll tile strip sideways"));
    ui_.stripSideways->hide();
    ui_.strip->setScrollBars(ui_.stripBar, ui_.stripSideways);
}

void StripPanel::connectInput() {
    TileStrip* strip = ui_.strip;
    connect(strip, &TileStrip::rowPressed, this,
            [this](int tile, RowPart part, MouseButton button, Modifiers modifiers, QPoint at) {
                services_.runCommand([=, this] { press(tile, part, button, modifiers, at); });
            });
    connect(strip, &TileStrip::keyChoseRow, this, [this](int tile, Modifiers modifiers) {
        services_.runCommand([=, this] {
            // A key never takes the current tile away, as a second click on it would.
            if (modifiers != Modifiers::None || tile != document_.currentTile())
                press(tile, RowPart::Full, MouseButton::Left, modifiers);
            ensureRowVisible(tile);
        });
    });
    connect(strip, &TileStrip::focusRowMoved, this, &StripPanel::ensureRowVisible);
    connect(strip, &TileStrip::menuKeyPressed, this, [this](int tile, QPoint at) {
        services_.runCommand([=, this] {
            ensureRowVisible(tile);
            press(tile, RowPart::Full, MouseButton::Right, Modifiers::None, at);
        });
    });
    connect(strip, &TileStrip::deleteKeyPressed, this, [this] {
        if (menu_.deleteKey)
            menu_.deleteKey->trigger();
    });
}

void StripPanel::press(int tile, RowPart part, MouseButton button, Modifiers modifiers,
                       QPoint globalPos) {
    const PressOutcome outcome = document_.press(tile, part, button, modifiers);
    if (outcome.action == PressOutcome::Action::ShowContextMenu)
        showTileMenu(outcome.menu, globalPos);
}

void StripPanel::showTileMenu(const TileMenuForm& form, QPoint globalPos) {
    if (!menu_.menu)
        return;
    menu_.setBaseTile->setVisible(form.setBaseTile);
    menu_.saveTilesAs->setText(QString::fromUtf8(form.saveTilesAsCaption.data(),
                                                 qsizetype(form.saveTilesAsCaption.size())));
    menu_.deleteTile->setVisible(form.deleteTile);
    menu_.deleteTiles->setVisible(form.deleteTiles);
    menu_.menu->popup(globalPos);
}

void StripPanel::ensureRowVisible(int tile) {
    ui_.strip->ensureRowVisible(tile);
}

void StripPanel::moveTiles(Document::TileMove where) {
    if (!document_.moveTiles(where))
        return;
    // The moved tiles stay where the user sees them, also when they went to the far end.
    const std::vector<int> marked = document_.strip().selectedTiles();
    const int shown = document_.currentTile() != 0 ? document_.currentTile()
                      : marked.empty()             ? 0
                                                   : marked.front();
    ensureRowVisible(shown);
}

void StripPanel::tilesChanged(int firstTile, bool appended, bool reordered) {
    ui_.strip->invalidateFrom(firstTile);
    ui_.strip->setVisible(document_.isLibraryOpen() || document_.tileCount() > 0);
    // White from the first library on; the logo shows only in the strip that never held one.
    if (document_.isLibraryOpen())
        ui_.strip->setWhiteBackground(true);
    // The strip goes back to its first row, or shows the last of tiles added at the end;
    // tiles put in another order stay where the user sees them. It scrolls once the layout
    // that follows every change of the tiles has given it its size.
    scroll_ = appended ? Scroll::ToEnd : reordered ? Scroll::Stay : Scroll::ToTop;
}

void StripPanel::layOut(int top, int bottom, int width) {
    if (layOutFrame(top, bottom, width))
        // Rows wider than the strip take a sideways bar from the bottom of the viewport; the
        // content spans the viewport's inside and the row frames follow its width.
        layOutSideways(bottom);
    // A new viewport height needs a new scroll range, or rows below the old range could
    // no longer be reached.
    if (scroll_ != Scroll::Stay)
        ui_.strip->updateScrollRange(true);
    if (scroll_ == Scroll::ToEnd)
        ui_.strip->scrollToEnd();
    if (document_.tileCount() > 0)
        ui_.strip->updateScrollRange(false);
    scroll_ = Scroll::Stay;
}

bool StripPanel::layOutFrame(int top, int bottom, int width) {
    QScrollBar* bar = ui_.stripBar;
    QFrame* view = ui_.stripFrame;
    bar->move(width - bar->width(), top + design::kStripBar.place.y());
    view->move(view->x(), top + design::kStripFrame.place.y());
    if (bottom - bar->y() < 0)
        return false;
    bar->resize(bar->width(), bottom - bar->y());
    if (width - view->x() - bar->width() < 0)
        return false;
    view->resize(width - view->x() - bar->width(), view->height());
    if (bottom - view->y() < 0)
        return false;
    view->resize(view->width(), bottom - view->y());
    return true;
}

void StripPanel::setLeft(int x) {
    ui_.stripFrame->move(x, ui_.stripFrame->y());
}

void StripPanel::layOutSideways(int bottom) {
    QFrame* view = ui_.stripFrame;
    QScrollBar* side = ui_.stripSideways;
    ui_.strip->resize(view->contentsRect().width(), ui_.strip->height());
    const bool needed = ui_.strip->updateSidewaysRange();
    const int height = bottom - view->y() - (needed ? side->height() : 0);
    if (height >= 0)
        view->resize(view->width(), height);
    side->setGeometry(view->x(), view->y() + view->height(), view->width(), side->height());
    side->setVisible(needed);
    ui_.strip->setGeometry(view->contentsRect());
}

} // namespace qrb
