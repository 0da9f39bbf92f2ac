#pragma once
// The tile strip content: one widget that paints the rows in view (row frame in its mark
// colour, full image, half image, small-colour square) from the strip model's geometry.
// Rows are never widgets; their pixmaps are built when a row first comes into view and
// kept in a small cache, so opening and scrolling cost the same at 32767 tiles as at ten.
//
// The content is scrolled by setting its top (twips, 0 or negative). Mouse presses are
// resolved to (tile, part) and forwarded through rowPressed(); the keys Up and Down ask
// for the neighbouring tile through keyboardStep(); the paging keys scroll.

#include "editing/StripModel.h"

#include <QHash>
#include <QPixmap>
#include <QWidget>

class QAbstractSlider;

namespace qrb {

class TileStrip : public QWidget {
    Q_OBJECT
public:
    explicit TileStrip(const StripModel& model, QWidget* parent = nullptr);

    // Top of the strip content inside the viewport, in twips (-scroll value).
    Twips contentTop() const { return contentTop_; }
    void setContentTop(Twips top);

    // Background of the content: white once a library has been opened.
    void setWhiteBackground(bool on);
    // A picture shown centred while the strip has never held a library.
    void setEmptyPicture(const QPixmap& picture);

    // The tiles from `firstTile` on have new images or moved: their pixmaps are rebuilt
    // when they are next painted.
    void invalidateFrom(int firstTile);
    void invalidateAll() { invalidateFrom(1); }

    // Rows whose pixmaps are currently cached (for tests of the lazy cache).
    int cachedRows() const { return int(cache_.size()); }
    // First and last tile with any part in view; 0, 0 when none.
    std::pair<int, int> rowsInView() const;

    // Where a content point (twips) is drawn in widget pixels, and back.
    int toPixelsY(Twips contentY) const;
    Twips toContentY(int widgetY) const;

    // The scroll bar that moves the strip: the wheel and the keys Page Up, Page Down, Home
    // and End are passed on to it.
    void setScrollTarget(QAbstractSlider* scrollBar) { scrollTarget_ = scrollBar; }

signals:
    void rowPressed(int tile, qrb::RowPart part, qrb::MouseButton button, qrb::Modifiers modifiers,
                    QPoint globalPos);
    // Up (-1) or Down (+1) pressed while the strip has the focus.
    void keyboardStep(int delta);

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
    const RowPixmaps& pixmapsFor(int tile);
    void trimCache(int firstInView, int lastInView);

    const StripModel& model_;
    Twips contentTop_ = 0;
    bool white_ = false;
    QPixmap emptyPicture_;
    QHash<int, RowPixmaps> cache_;
    QAbstractSlider* scrollTarget_ = nullptr;
};

} // namespace qrb
