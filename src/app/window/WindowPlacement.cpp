#include "app/window/WindowPlacement.h"

#include <algorithm>

namespace qrb {

QRect placedWindow(QSize wanted, QSize minimum, QMargins frame, QRect available) {
    const QSize room = available.size().shrunkBy(frame);
    const QSize size = wanted.boundedTo(room).expandedTo(minimum);
    QRect framed(QPoint(), size.grownBy(frame));
    framed.moveCenter(available.center());
    framed.moveTopLeft(
        QPoint(std::max(framed.left(), available.left()), std::max(framed.top(), available.top())));
    return QRect(framed.topLeft(), size);
}

} // namespace qrb
