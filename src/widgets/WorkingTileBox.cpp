#include "widgets/WorkingTileBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace qrb {

namespace {

int wholeTilePixels(int screen, double zoom) {
    return int(std::lround(screen / zoom));
}

// The anchor cross: arms this long from its centre, drawn this wide at most.
constexpr int kArm = 5;
constexpr int kCrossPen = 3;

} // namespace

WorkingTileBox::WorkingTileBox(QWidget* parent) : ImageBox(parent) {
    // A frame over the picture would tint the pixels being judged.
    drawsFocus_ = false;
}

void WorkingTileBox::setAnchor(std::optional<QPoint> tilePoint) {
    if (anchor_ == tilePoint)
        return;
    // Only where the cross was and is: on a large tile the rest stays as it is.
    if (anchor_)
        update(crossArea(*anchor_));
    anchor_ = tilePoint;
    if (anchor_)
        update(crossArea(*anchor_));
}

QRect WorkingTileBox::crossArea(QPoint tilePoint) const {
    const int reach = kArm + kCrossPen;
    const QPoint at = tilePoint * zoom();
    return QRect(at - QPoint(reach, reach), at + QPoint(reach, reach));
}

void WorkingTileBox::setMovesText(bool on) {
    movesText_ = on;
    setCursor(on ? Qt::SizeAllCursor : Qt::ArrowCursor);
}

void WorkingTileBox::paintOver(QPainter& painter, const QRect& dirty) {
    if (zoom() >= kGridZoom) {
        const int z = int(zoom());
        // Faint on light and dark pixels alike.
        painter.setPen(QPen(QColor(128, 128, 128, 70), 0));
        for (int x = (dirty.left() / z) * z; x <= dirty.right(); x += z)
            painter.drawLine(x, dirty.top(), x, dirty.bottom());
        for (int y = (dirty.top() / z) * z; y <= dirty.bottom(); y += z)
            painter.drawLine(dirty.left(), y, dirty.right(), y);
    }
    if (anchor_) {
        // Black on a white halo, seen on any picture.
        const QPoint at = *anchor_ * zoom();
        for (auto [colour, width] :
             {std::pair{QColor(Qt::white), kCrossPen}, {QColor(Qt::black), 1}}) {
            painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(at.x() - kArm, at.y(), at.x() + kArm, at.y());
            painter.drawLine(at.x(), at.y() - kArm, at.x(), at.y() + kArm);
        }
    }
}

void WorkingTileBox::mousePressEvent(QMouseEvent* event) {
    ImageBox::mousePressEvent(event);
    dragging_ = false;
    dragged_ = QPoint();
    pressedAt_.reset();
    if (event->button() == Qt::LeftButton)
        pressedAt_ = event->position().toPoint();
}

void WorkingTileBox::mouseMoveEvent(QMouseEvent* event) {
    if (!pressedAt_ || !movesText_ || !(event->buttons() & Qt::LeftButton))
        return ImageBox::mouseMoveEvent(event);
    const QPoint moved = event->position().toPoint() - *pressedAt_;
    if (!dragging_) {
        // A hand that shakes a little still clicks.
        if (moved.manhattanLength() < QApplication::startDragDistance())
            return;
        dragging_ = true;
        forgetPress();
        emit textDragStarted();
    }
    const QPoint tilePixels(wholeTilePixels(moved.x(), zoom()), wholeTilePixels(moved.y(), zoom()));
    if (tilePixels != dragged_) {
        dragged_ = tilePixels;
        emit textDragged(tilePixels);
    }
    event->accept();
}

void WorkingTileBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressedAt_.reset();
        dragging_ = false;
    }
    ImageBox::mouseReleaseEvent(event);
}

void WorkingTileBox::focusInEvent(QFocusEvent* event) {
    ImageBox::focusInEvent(event);
    if (parentWidget())
        parentWidget()->update();
}

void WorkingTileBox::focusOutEvent(QFocusEvent* event) {
    ImageBox::focusOutEvent(event);
    if (parentWidget())
        parentWidget()->update();
}

void WorkingTileBox::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (movesText_ && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
        const int step = modifiers == Qt::ShiftModifier ? 10 : 1;
        QPoint by;
        switch (event->key()) {
        case Qt::Key_Left:
            by = {-step, 0};
            break;
        case Qt::Key_Right:
            by = {step, 0};
            break;
        case Qt::Key_Up:
            by = {0, -step};
            break;
        case Qt::Key_Down:
            by = {0, step};
            break;
        default:
            break;
        }
        if (!by.isNull()) {
            event->accept();
            emit textNudged(by);
            return;
        }
    }
    ImageBox::keyPressEvent(event);
}

} // namespace qrb
