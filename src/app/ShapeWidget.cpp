#include "app/ShapeWidget.h"

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

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(colour_, 1));
    painter.setBrush(Qt::NoBrush);
    QRect r = rect().adjusted(0, 0, -1, -1);
    if (kind_ == Kind::Circle) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawEllipse(r);
    } else {
        painter.drawRect(r);
    }
}

} // namespace qrb
