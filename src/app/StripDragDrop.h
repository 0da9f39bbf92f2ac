#pragma once
// Drag and drop for the tile strip and the window, added from outside the strip widget:
//  * dragging rows within the strip moves them -- the marked tiles when the row pressed is
//    one of them, else that row -- into the gap a line shows, scrolling when the pointer
//    nears the strip's top or bottom; Escape cancels (the desktop's drag ends). A press on
//    a marked row reaches the strip only once it is known to be a click, so a drag keeps
//    the marks it carries;
//  * picture files dropped on the strip are imported at the gap, elsewhere on the window
//    where Import Images puts them (gap 0); a library (.qrb) dropped on the strip or the
//    window is opened (the window asks to save first);
//  * rows dragged to another editor window's strip are copied there whole (they carry their
//    tiles as library bytes);
//  * a row dragged out of the window carries its full image as a PNG.

#include "document/Document.h"

#include <QObject>
#include <QPoint>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QDrag;
class QMimeData;
class QMouseEvent;
class QScrollBar;
class QWidget;

namespace qrb {

class TileStrip;

class StripDragDrop : public QObject {
    Q_OBJECT
public:
    struct Actions {
        std::function<void(const QStringList& pictures, int gap)> importAt;
        std::function<void(const QString& library)> openLibrary;
        // Tiles from another window, as library bytes, to insert at the gap.
        std::function<void(const QByteArray& tiles, int gap)> insertTiles;
    };
    // Works on `strip` (showing `document`'s tiles) and takes library drops on `window`.
    StripDragDrop(Document& document, TileStrip* strip, QScrollBar* bar, QWidget* window,
                  Actions actions);
    ~StripDragDrop() override;

    // The data a drag of the tiles `rows` (ascending) carries: their numbers for a drop in
    // this strip, the tiles whole for another window's (made when asked for), and the first
    // one's full image as a PNG (and as an image) for other programs.
    static QMimeData* dragData(const Document& document, const std::vector<int>& rows);
    // The rows a drag from this program's strip carries; empty for any other drag.
    static std::vector<int> draggedRows(const QMimeData* data);
    // The rows a drag started on `row` takes.
    static std::vector<int> rowsToDrag(const Document& document, int row);

    // What runs a drag once it started, instead of the desktop's drag loop (tests drive
    // the drag's events themselves).
    void setDragLoop(std::function<void(QDrag* drag)> loop) { dragLoop_ = std::move(loop); }

    // The gap the line shows during a drag over the strip; 0 when none shows.
    int shownGap() const { return gap_; }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Dropped {
        QString library;
        QStringList pictures;
    };
    static Dropped droppedFiles(const QMimeData* data);
    // Whether a drag of rows started in this strip (and not another window's).
    bool fromThisStrip(const QMimeData* data) const;
    bool stripEvent(QEvent* event);
    bool windowEvent(QEvent* event);
    void showGap(int gap);
    void autoScroll();
    void startDrag();
    void openLater(const QString& library);

    Document& document_;
    TileStrip* strip_;
    QScrollBar* bar_;
    QWidget* window_;
    Actions actions_;
    std::function<void(QDrag* drag)> dragLoop_;
    QWidget* line_;
    QTimer scrollTimer_;
    int scrollDirection_ = 0;
    QPoint pressAt_;
    int pressRow_ = 0;
    // A press on a marked row, held back from the strip until the release shows it was a
    // click; replaying_ while it is delivered then.
    std::unique_ptr<QMouseEvent> heldPress_;
    bool replaying_ = false;
    int gap_ = 0;
    int dragY_ = 0; // the pointer's last height over the strip during a drag
};

} // namespace qrb
