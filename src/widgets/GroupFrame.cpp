#include "widgets/GroupFrame.h"

#include <QPainter>

#include <algorithm>

namespace qrb {

GroupFrame::GroupFrame(QWidget* parent) : QGroupBox(parent) {}

QFont GroupFrame::titleFont(QFont font) {
    font.setPointSizeF(std::min(font.pointSizeF(), 7.5));
    return font;
}

void GroupFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFont font = titleFont(this->font());
    const QFontMetrics metrics(font);
    const bool titled = !title().isEmpty();
    const int lineY = titled ? metrics.ascent() / 2 : 0;

    // The line halfway between the text and the background, so it shows on light and
    // dark desktops alike.
    const QColor text = palette().color(QPalette::WindowText);
    const QColor back = palette().color(backgroundRole());
    const QColor line((text.red() + back.red()) / 2, (text.green() + back.green()) / 2,
                      (text.blue() + back.blue()) / 2);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(line, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, lineY + 0.5, -0.5, -0.5), 2, 2);
    if (!titled)
        return;

    // The title breaks the top line, on the box's own background.
    const QRect area(6, 0, metrics.horizontalAdvance(title()) + 6, metrics.height());
    painter.fillRect(area, back);
    painter.setFont(font);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(area, Qt::AlignCenter | Qt::TextHideMnemonic, title());
}

} // namespace qrb
