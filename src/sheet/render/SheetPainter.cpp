#include "sheet/render/SheetPainter.h"

#include "imaging/render/DibConversion.h"

#include <QFont>
#include <QPainter>
#include <QPen>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace qrb {

namespace {

QRectF toQRectF(const RectMm& r) {
    return {r.x, r.y, r.width, r.height};
}

} // namespace

const SheetPainter::Picture& SheetPainter::pictureFor(const DibImage& dib) {
    auto found = pictures_.find(&dib);
    if (found != pictures_.end()) {
        return found->second;
    }
    Picture p;
    p.whole = toQImage(dib);
    const int w = p.whole.width();
    const int h = p.whole.height();
    p.left = p.whole.copy(0, 0, 1, h);
    p.right = p.whole.copy(w - 1, 0, 1, h);
    p.top = p.whole.copy(0, 0, w, 1);
    p.bottom = p.whole.copy(0, h - 1, w, 1);
    p.topLeft = p.whole.pixelColor(0, 0);
    p.topRight = p.whole.pixelColor(w - 1, 0);
    p.bottomLeft = p.whole.pixelColor(0, h - 1);
    p.bottomRight = p.whole.pixelColor(w - 1, h - 1);
    return pictures_.emplace(&dib, std::move(p)).first->second;
}

void SheetPainter::paintItem(QPainter& painter, const SheetItem& item) {
    const Picture& p = pictureFor(item.back ? art_.back(item.tile) : art_.front(item.tile));
    const QRectF t = toQRectF(item.trim);
    const QRectF b = toQRectF(item.bleed);
    if (b != t) {
        // Each edge strip and corner reaches one picture pixel under the tile, so no seam
        // shows between them and the tile however a viewer rounds.
        const double px = t.width() / p.whole.width();
        const double py = t.height() / p.whole.height();
        const double leftW = t.left() - b.left() + px;
        const double rightW = b.right() - t.right() + px;
        const double topH = t.top() - b.top() + py;
        const double bottomH = b.bottom() - t.bottom() + py;
        painter.fillRect(QRectF(b.left(), b.top(), leftW, topH), p.topLeft);
        painter.fillRect(QRectF(t.right() - px, b.top(), rightW, topH), p.topRight);
        painter.fillRect(QRectF(b.left(), t.bottom() - py, leftW, bottomH), p.bottomLeft);
        painter.fillRect(QRectF(t.right() - px, t.bottom() - py, rightW, bottomH), p.bottomRight);
        painter.drawImage(QRectF(b.left(), t.top(), leftW, t.height()), p.left);
        painter.drawImage(QRectF(t.right() - px, t.top(), rightW, t.height()), p.right);
        painter.drawImage(QRectF(t.left(), b.top(), t.width(), topH), p.top);
        painter.drawImage(QRectF(t.left(), t.bottom() - py, t.width(), bottomH), p.bottom);
    }
    painter.drawImage(t, p.whole);
}

void SheetPainter::paint(QPainter& painter, const SheetLayout& layout, const SheetPage& page,
                         const QRectF& target) {
    const double sx = target.width() / layout.page.width;
    const double sy = target.height() / layout.page.height;
    painter.save();
    const QTransform device = painter.worldTransform();
    // Pixels exactly as they are: PDF images stay uncompressed by lossy means, and raster
    // output takes the nearest pixel instead of blending.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.translate(target.topLeft());
    painter.scale(sx, sy);
    for (const SheetItem& item : page.items) {
        paintItem(painter, item);
    }
    QPen pen(Qt::black, SheetLayout::kHairline);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    for (const LineMm& line : page.marks) {
        painter.drawLine(QLineF(line.from.x, line.from.y, line.to.x, line.to.y));
    }
    if (!page.labels.empty()) {
        // Text in device units, so the font is realised at its printed size.
        painter.setWorldTransform(device);
        painter.translate(target.topLeft());
        painter.setPen(Qt::black);
        for (const SheetLabel& label : page.labels) {
            QFont font(QStringLiteral("Arial"));
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(label.height * sy))));
            painter.setFont(font);
            const QPointF at(label.topLeft.x * sx, label.topLeft.y * sy);
            painter.drawText(QRectF(at, QSizeF(target.width(), target.height())),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                             QString::fromStdString(label.text));
        }
    }
    painter.restore();
}

} // namespace qrb
