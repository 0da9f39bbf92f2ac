#include "app/window/ClientLayout.h"

#include "app/panels/StatusBarPanel.h"
#include "app/panels/StripPanel.h"
#include "app/panels/TextPlacementPanel.h"
#include "app/panels/WorkingTilePanel.h"
#include "app/shared/DesignTable.h"
#include "widgets/ShapeWidget.h"

#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>

#include <algorithm>

namespace qrb {

ClientLayout::ClientLayout(const Document& document, const Parts& parts, QObject* parent)
    : QObject(parent), document_(document), parts_(parts) {
    setObjectName(QStringLiteral("ClientLayout"));
    parts_.client->installEventFilter(this);
    // A scroll of the client area moves the band in view, and the bars and strip with it.
    for (QScrollBar* bar :
         {parts_.scroller->verticalScrollBar(), parts_.scroller->horizontalScrollBar()}) {
        const auto follow = [this] {
            if (visibleBand() != laidOutBand_ || parts_.client->width() != laidOutWidth_)
                layOut();
        };
        connect(bar, &QScrollBar::valueChanged, this, follow);
        connect(bar, &QScrollBar::rangeChanged, this, follow);
    }
    connect(&document_, &Document::changed, this, [this](Document::Changes what, int) {
        using Change = Document::Change;
        if (!(what & (Change::Tiles | Change::Layout | Change::Options)))
            return;
        run([&] {
            if (what & Change::Layout)
                applyTileLayout(document_.largeLayout());
        });
    });
    updateMinimumClientSize();
}

bool ClientLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parts_.client && event->type() == QEvent::Resize)
        layOut();
    return QObject::eventFilter(watched, event);
}

void ClientLayout::layOut() {
    run({});
}

void ClientLayout::run(const std::function<void()>& prepare) {
    if (running_) {
        again_ = true;
        return;
    }
    const QScopedValueRollback running(running_, true);
    again_ = false;
    if (prepare)
        prepare();
    // A pass that scrolled or resized the client area lays it out again, a few times at
    // most: the band in view settles at once, as nothing in a pass changes the area's size.
    for (int pass = 0; pass < 3; ++pass) {
        again_ = false;
        this->pass();
        if (!again_ || (visibleBand() == laidOutBand_ && parts_.client->width() == laidOutWidth_))
            break;
    }
}

std::pair<int, int> ClientLayout::visibleBand() const {
    const int top = -parts_.client->y();
    const int height = parts_.scroller->viewport()->height();
    return {top, std::min(parts_.client->height(), top + height)};
}

void ClientLayout::pass() {
    ++passes_;
    laidOutBand_ = visibleBand();
    laidOutWidth_ = parts_.client->width();
    const auto [top, bottom] = laidOutBand_;
    const int W = laidOutWidth_;
    const int S = parts_.statusBar->height();
    // The slots end above the status bar; below their design height they scroll.
    parts_.textPlacement->fitSlotGroup(bottom - S);
    // The strip spans the band in view, below the toolbar and above the status bar, so its
    // own bar reaches every tile however far the client area is scrolled.
    parts_.strip->layOut(top, bottom - S, W);
    parts_.workingTile->stretchPreviewFrame(parts_.client->height() - S);
    // The toolbar at the top of the band, the status bar and the progress bar over it at
    // its bottom, above whatever scrolls beneath.
    parts_.toolBar->setGeometry(0, top, W, design::kToolbarHeight);
    parts_.toolBar->raise();
    parts_.statusBar->layOut(bottom, W, W - parts_.strip->widgets().stripBar->width());
}

void ClientLayout::applyTileLayout(bool large) {
    WorkingTilePanel& work = *parts_.workingTile;
    work.setFrameWidth(large);
    parts_.statusBar->setWide(large);
    const QRect frame = work.widgets().tileFrames[0]->geometry();
    parts_.strip->setLeft(frame.x() + frame.width() + 1);
    work.arrangeFrames(large);
    updateMinimumClientSize();
}

void ClientLayout::updateMinimumClientSize() {
    // Everything of the design stays within reach: the left column down to a few slots
    // (the rest scroll in their group), the working tile's frame, and a strip of some width
    // beside them, above the status bar.
    const QGroupBox* slotGroup = parts_.textPlacement->widgets().slotGroup;
    int bottom = slotGroup->y() + TextPlacementPanel::kSlotGroupMinimum;
    for (const QWidget* w : std::initializer_list<const QWidget*>{
             parts_.createButton, parts_.workingTile->widgets().tileFrames[0]})
        bottom = std::max(bottom, w->y() + w->height());
    const StripPanel::Widgets& strip = parts_.strip->widgets();
    parts_.client->setMinimumSize(strip.stripFrame->x() + design::kNarrowestStrip +
                                      strip.stripBar->width(),
                                  bottom + parts_.statusBar->height());
}

} // namespace qrb
