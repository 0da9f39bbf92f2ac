#include "app/panels/StripPanel.h"

#include "app/panels/DesignControls.h"
#include "widgets/TileStrip.h"

#include <QFrame>
#include <QScrollBar>

namespace qrb {

StripPanel::StripPanel(Document& document, QWidget* client, const QPixmap& emptyPicture,
                       QObject* parent)
    : QObject(parent), document_(document) {
    setObjectName(QStringLiteral("Strip"));
    buildControls(client);
    ui_.strip->setEmptyPicture(emptyPicture);
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
    ui_.stripFrame = named(new QFrame(client), QStringLiteral("Picture2"));
    ui_.stripFrame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    ui_.stripFrame->setGeometry(334, kStripTop, 325, 424);
    ui_.strip = named(new TileStrip(document_.strip(), ui_.stripFrame), QStringLiteral("Picture1"));
    ui_.strip->setGeometry(ui_.stripFrame->contentsRect());
    ui_.strip->setAccessibleName(tr("Tile strip"));
    ui_.strip->setAccessibleDescription(tr("Up and Down choose the tile to edit"));
    ui_.stripBar = scrollBar(client, QStringLiteral("VScroll1"), Qt::Vertical,
                             {575, kStripBarTop, 17, 439}, 0, 0, 1);
    ui_.stripBar->setEnabled(false);
    ui_.stripBar->setAccessibleName(tr("Scroll tile strip"));
    // Shown below the strip only while a row is wider than it.
    ui_.stripSideways = scrollBar(client, QStringLiteral("stripSideways"), Qt::Horizontal,
                                  {334, 452, 325, 17}, 0, 0, 1);
    ui_.stripSideways->setAccessibleName(tr("Scroll tile strip sideways"));
    ui_.stripSideways->hide();
    ui_.strip->setScrollBars(ui_.stripBar, ui_.stripSideways);
}

void StripPanel::tilesChanged(int firstTile, bool appended, bool reordered) {
    ui_.strip->invalidateFrom(firstTile);
    // A row that came or went may start or end the need to scroll sideways.
    layOutSideways(bottom_);
    ui_.strip->setVisible(document_.isLibraryOpen() || document_.tileCount() > 0);
    // The strip goes back to its first row, or shows the last of tiles added at the end;
    // tiles put in another order stay where the user sees them.
    ui_.strip->updateScrollRange(!reordered);
    if (appended)
        ui_.strip->scrollToEnd();
}

bool StripPanel::layOut(int top, int bottom, int width) {
    QScrollBar* bar = ui_.stripBar;
    QFrame* view = ui_.stripFrame;
    bottom_ = bottom;
    bar->move(width - bar->width(), top + kStripBarTop);
    view->move(view->x(), top + kStripTop);
    if (bottom - bar->y() < 0)
        return false;
    bar->resize(bar->width(), bottom - bar->y());
    if (width - view->x() - bar->width() < 0)
        return false;
    view->resize(width - view->x() - bar->width(), view->height());
    if (bottom - view->y() < 0)
        return false;
    view->resize(view->width(), bottom - view->y());
    // Rows wider than the strip take a sideways bar from the bottom of the viewport; the
    // content spans the viewport's inside and the row frames follow its width.
    layOutSideways(bottom);
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

void StripPanel::keepScrollRange() {
    if (document_.tileCount() > 0)
        ui_.strip->updateScrollRange(false);
}

} // namespace qrb
