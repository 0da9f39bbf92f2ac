#include "widgets/ImageBox.h"

#include "text/render/QtConversions.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <cmath>

namespace qrb {

ImageBox::ImageBox(QWidget* parent)
    : QWidget(parent), backColour_(kSystemColourFlag | 15 /* button face */) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageBox::setImage(const QImage& image) {
    image_ = image.format() == QImage::Format_RGB32 || image.isNull()
                 ? image
                 : image.convertToFormat(QImage::Format_RGB32);
    if (!image_.isNull())
        takeSize(image_.deviceIndependentSize().toSize() * zoom_);
    update();
}

void ImageBox::setSource(std::function<const QImage&()> source) {
    source_ = std::move(source);
    refresh();
}

void ImageBox::refresh() {
    const QImage& shown = image();
    if (!shown.isNull())
        takeSize(shown.size() * zoom_);
    update();
}

void ImageBox::refreshArea(const QRect& pixels) {
    if (!pixels.isEmpty())
        // Below 1x the smoothed picture reaches a screen pixel further.
        update(QRectF(QPointF(pixels.topLeft()) * zoom_, QSizeF(pixels.size()) * zoom_)
                   .toAlignedRect()
                   .adjusted(-1, -1, 1, 1));
}

void ImageBox::setZoom(double zoom) {
    // Whole zooms above 1, halvings below it: every picture pixel maps to whole screen
    // pixels, or whole picture pixels to one.
    zoom = std::clamp(zoom, kMinimumZoom, kMaximumZoom);
    zoom_ = zoom >= 1 ? std::round(zoom) : std::exp2(std::round(std::log2(zoom)));
    refresh();
}

void ImageBox::takeSize(QSize wanted) {
    if (autoSize_ && size() != wanted) {
        resize(wanted);
        // A hidden box only gets its resize event when it is shown; the window's layout
        // rules must run now.
        if (!isVisible())
            emit resized();
    }
}

void ImageBox::clearImage() {
    image_ = QImage();
    update();
}

void ImageBox::setBackColour(ColourValue colour) {
    backColour_ = colour;
    update();
}

void ImageBox::setBorder(bool on) {
    border_ = on;
    update();
}

void ImageBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(backColour_));
    const QImage& shown = image();
    if (!shown.isNull() && zoom_ == 1) {
        painter.drawImage(0, 0, shown);
    } else if (!shown.isNull() && zoom_ < 1) {
        // The picture's part under the part to paint, scaled down smoothly so thin lines
        // and lettering stay readable.
        const QRectF target =
            QRectF(event->rect()).intersected(QRectF(QPointF(0, 0), QSizeF(shown.size()) * zoom_));
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, shown, QRectF(target.topLeft() / zoom_, target.size() / zoom_));
    } else if (!shown.isNull()) {
        // Only the pixels under the part to paint, each a crisp square (no smoothing).
        const int z = int(zoom_);
        const QRect dirty = event->rect();
        const QRect pixels = QRect(QPoint(dirty.left() / z, dirty.top() / z),
                                   QPoint(dirty.right() / z, dirty.bottom() / z))
                                 .intersected(shown.rect());
        painter.drawImage(QRect(pixels.topLeft() * z, pixels.size() * z), shown, pixels);
    }
    paintOver(painter, event->rect());
    if (border_) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (drawsFocus_ && hasFocus() && focusPolicy() != Qt::NoFocus) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.backgroundColor = palette().color(QPalette::Window);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void ImageBox::setKeyboardClicks(bool on) {
    setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
}

void ImageBox::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (focusPolicy() != Qt::NoFocus && event->modifiers() == Qt::NoModifier &&
        (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        event->accept();
        emit clicked();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ImageBox::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ImageBox::mouseReleaseEvent(QMouseEvent* event) {
    bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->pos());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}

void ImageBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}

} // namespace qrb
