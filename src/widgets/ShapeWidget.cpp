#include "widgets/ShapeWidget.h"

#include <QPainter>

namespace qrb {

ShapeWidget::ShapeWidget(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void ShapeWidget::setBorderColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void ShapeWidget::setCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor colour = colour_.value_or(palette().color(QPalette::WindowText));
    painter.setPen(QPen(colour, 1));
    painter.setBrush(Qt::NoBrush);
    QRect r = rect().adjusted(0, 0, -1, -1);
    if (kind_ == Kind::Circle) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawEllipse(r);
    } else {
        painter.drawRect(r);
        if (!caption_.isEmpty())
            painter.drawText(r.adjusted(4, 1, -4, -1), Qt::AlignLeft | Qt::AlignTop, caption_);
    }
}

} // namespace qrb
