#pragma once
// The tile strip content: one widget that paints the rows in view (row frame in its mark
// colour, full image, half image, small-colour square) from the strip model's geometry.
// Rows are never widgets; their pixmaps are built when a row first comes into view and
// kept in a cache bounded in bytes (the rows shown least recently go first), so opening
// and scrolling cost the same at 32767 tiles as at ten, in time and in memory.
//
// The content is scrolled by setting its top (twips, 0 or negative). Mouse presses are
// resolved to (tile, part) and forwarded through rowPressed().
//
// Keys, while the strip has the focus (a frame around the focus row shows it):
//   Up, Down, Page Up, Page Down, Home, End (also with Ctrl: Ctrl+Home, Ctrl+End), Space
//       make that tile current, as a click on it would           -> keyChoseRow(t, None)
//   Shift with Up, Down, Page Up, Page Down, Home, End
//       mark from the current tile to that tile, as a Shift-click -> keyChoseRow(t, Shift)
//   Ctrl+Up, Ctrl+Down, Ctrl+Page Up, Ctrl+Page Down
//       move the focus row only                                   -> focusRowMoved(t)
//   Ctrl+Space  mark or unmark the focus row, as a Ctrl-click    -> keyChoseRow(t, Ctrl)
//   Menu, Shift+F10  the tile menu for the focus row              -> menuKeyPressed(t, at)
//   Delete  delete the marked or the current tile                 -> deleteKeyPressed()
// The focus row is the row last pressed or reached by a key, else the current tile.

#include "editing/StripModel.h"

#include <QCache>
#include <QPixmap>
#include <QWidget>

class QScrollBar;

namespace qrb {

class TileStrip : public QWidget {
    Q_OBJECT
public:
    explicit TileStrip(const StripModel& model, QWidget* parent = nullptr);

    // Top of the strip content inside the viewport, in twips (-scroll value).
    Twips contentTop() const { return contentTop_; }
    void setContentTop(Twips top);
    // How far the content is scrolled sideways, in pixels (0 or more), and the width in
    // pixels the widest row needs with the tile numbers after it.
    int contentLeft() const { return contentLeft_; }
    void setContentLeft(int left);
    int contentWidth() const;

    // Background of the content: white once a library has been opened.
    void setWhiteBackground(bool on);
    // A picture shown centred while the strip has never held a library.
    void setEmptyPicture(const QPixmap& picture);

    // The tiles from `firstTile` on have new images or moved: their pixmaps are rebuilt
    // when they are next painted.
    void invalidateFrom(int firstTile);
    void invalidateAll() { invalidateFrom(1); }

    // The most the row pixmaps kept for repainting may take, in bytes.
    static constexpr qsizetype kDefaultCacheBytes = qsizetype(32) << 20;
    void setCacheBudget(qsizetype bytes) { cache_.setMaxCost(bytes); }
    qsizetype cacheBudget() const { return cache_.maxCost(); }
    // What the cache holds now: rows and their bytes, and whether a tile's row is kept.
    int cachedRows() const { return int(cache_.size()); }
    qsizetype cachedBytes() const { return cache_.totalCost(); }
    bool isCached(int tile) const { return cache_.contains(tile); }
    // First and last tile with any part in view; 0, 0 when none.
    std::pair<int, int> rowsInView() const;

    // Where a content point (twips) is drawn in widget pixels, and back.
    int toPixelsY(Twips contentY) const;
    Twips toContentY(int widgetY) const;

    // The bars that scroll the strip: `vertical` up and down (the wheel is passed on to
    // it), `sideways` across rows wider than the strip. The strip sets their ranges and
    // follows them.
    void setScrollBars(QScrollBar* vertical, QScrollBar* sideways);
    // The vertical range for the rows and the strip's height as they are now; `toTop`
    // scrolls back to the first row, otherwise the strip stays where it is.
    void updateScrollRange(bool toTop);
    // The sideways range for the widest row; true when the sideways bar is needed.
    bool updateSidewaysRange();
    // Scrolls as little as brings tile `tile`'s row into view.
    void ensureRowVisible(int tile);
    // Scrolls to the last row.
    void scrollToEnd();

    // The row the keys work from: the row last pressed or reached by a key while it is
    // still in the strip, else the current tile; 0 when there is neither.
    int focusRow() const;
    // The right edge of the widest row, in pixels.
    int rowsWidth() const;

signals:
    void rowPressed(int tile, qrb::RowPart part, qrb::MouseButton button, qrb::Modifiers modifiers,
                    QPoint globalPos);
    // A key chose `tile`: None makes it current (nothing when it already is), Shift and
    // Ctrl mark as a Shift- or Ctrl-click on it does.
    void keyChoseRow(int tile, qrb::Modifiers modifiers);
    // The focus row moved to `tile` without any other change: bring it into view.
    void focusRowMoved(int tile);
    // The tile menu was asked for by key, for `tile`, to be shown at `globalPos`.
    void menuKeyPressed(int tile, QPoint globalPos);
    void deleteKeyPressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct RowPixmaps {
        QPixmap full;
        QPixmap half;
    };
    // Tile `tile`'s pixmaps, kept in the cache; null for a row larger than the whole
    // cache, which is drawn a part at a time instead.
    const RowPixmaps* pixmapsFor(int tile);
    // Draws `picture` with its top-left corner at `at`, converting only what lies in
    // `exposed` (painter coordinates).
    static void drawPart(QPainter& painter, const DibImage& picture, QPoint at,
                         const QRect& exposed);
    // The row a movement key leads to from the focus row, within the strip; 0 for other keys.
    int rowForKey(int key) const;
    void drawFocusFrame(QPainter& painter);
    // The width a tile number takes, its margins included.
    int numberWidth() const;

    const StripModel& model_;
    Twips contentTop_ = 0;
    bool white_ = false;
    QPixmap emptyPicture_;
    QCache<int, RowPixmaps> cache_{kDefaultCacheBytes};
    QScrollBar* vertical_ = nullptr;
    QScrollBar* sideways_ = nullptr;
    std::int32_t scrollUnit_ = 1; // twips per unit of the vertical bar
    int focusRow_ = 0;            // 0: the current tile
    int contentLeft_ = 0;
    // The widest row among rows 1..measured_ (by full + half width) and its pixel width.
    mutable int measured_ = 0;
    mutable int widest_ = 0;
    mutable std::int64_t widestSum_ = -1;
    mutable int contentWidth_ = -1; // -1: to be worked out again
};

} // namespace qrb
