#pragma once
// The one owner of the client area's geometry. It lays out what depends on more than one
// panel or on the window's size: the toolbar across the top and the status bar across the
// bottom of the band in view (they stay there while a client area larger than the window
// scrolls), the strip from beside the working tile to the right edge, the slots above the
// status bar, the previews' frame down to it, and the client area's smallest size. It runs
// once for each change that moves things: a resize or scroll of the client area, and a
// change of the document's tiles, options or large/small layout, after the panels have
// shown that change. A panel lays out only inside what it is given.

#include "document/Document.h"

#include <QObject>

#include <functional>
#include <utility>

class QScrollArea;
class QToolBar;
class QWidget;

namespace qrb {

class StatusBarPanel;
class StripPanel;
class TextPlacementPanel;
class WorkingTilePanel;

class ClientLayout : public QObject {
    Q_OBJECT
public:
    struct Parts {
        QScrollArea* scroller = nullptr; // scrolls `client` when the window is smaller
        QWidget* client = nullptr;
        QToolBar* toolBar = nullptr;
        QWidget* createButton = nullptr;
        TextPlacementPanel* textPlacement = nullptr;
        WorkingTilePanel* workingTile = nullptr;
        StripPanel* strip = nullptr;
        StatusBarPanel* statusBar = nullptr;
    };

    // Connect it after the panels, so that it lays out what they show.
    ClientLayout(const Document& document, const Parts& parts, QObject* parent = nullptr);

    // Lays the client area out now. Asked again while it runs (its own moves scroll or
    // resize the client area), it lays out once more at the end if the band in view moved.
    void layOut();
    // How many times the client area was laid out: once per change.
    int passes() const { return passes_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs `prepare`, then lays out.
    void run(const std::function<void()>& prepare);
    void pass();
    // The working tile's frame, the strip beside it and the status bar for small or large
    // tiles.
    void applyTileLayout(bool large);
    // The client area's smallest size: below it the window scrolls the client area.
    void updateMinimumClientSize();
    // The rows of the client area in view: all of it unless the window is smaller than
    // the design and the client area scrolls.
    std::pair<int, int> visibleBand() const;

    const Document& document_;
    Parts parts_;
    bool running_ = false;
    bool again_ = false;
    std::pair<int, int> laidOutBand_; // the band and width of the last pass
    int laidOutWidth_ = 0;
    int passes_ = 0;
};

} // namespace qrb
