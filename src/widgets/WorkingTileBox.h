#pragma once
// The working tile on screen: an ImageBox whose picture may be zoomed, with a faint pixel
// grid from 8x, a cross at the text's anchor, and the mouse and keys that move the text. It
// keeps no position of its own: a drag reports how far it has gone in tile pixels since the
// press, an arrow key a nudge, and whoever listens moves the text and shows it back.

#include "widgets/ImageBox.h"

#include <optional>

namespace qrb {

class WorkingTileBox : public ImageBox {
    Q_OBJECT
public:
    // From this zoom on a grid separates the tile's pixels.
    static constexpr int kGridZoom = 8;

    explicit WorkingTileBox(QWidget* parent = nullptr);

    // The anchor cross at a tile pixel corner; none hides it.
    void setAnchor(std::optional<QPoint> tilePoint);
    std::optional<QPoint> anchor() const { return anchor_; }
    // Whether a drag or an arrow key moves the text; otherwise a press is only a click.
    void setMovesText(bool on);
    bool movesText() const { return movesText_; }

signals:
    // The left button went down and the pointer moved far enough to be a drag.
    void textDragStarted();
    // The drag's distance from the press, in whole tile pixels (rounded at the zoom).
    void textDragged(QPoint tilePixels);
    // An arrow key: one tile pixel, ten with Shift.
    void textNudged(QPoint tilePixels);

protected:
    void paintOver(QPainter& painter, const QRect& dirty) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The focus frame is drawn around the box by what holds it: it is told.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The part of the box the anchor cross at `tilePoint` covers.
    QRect crossArea(QPoint tilePoint) const;

    std::optional<QPoint> anchor_;
    bool movesText_ = false;
    std::optional<QPoint> pressedAt_; // while the left button is down
    bool dragging_ = false;
    QPoint dragged_; // the last distance reported
};

} // namespace qrb
