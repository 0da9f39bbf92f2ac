#include "sheet/render/SheetPainter.h"

#include <QFont>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace qrb {

// Millimetres on the page to the painter's coordinates. Picture rectangles are snapped to
// whole device units, so pictures that meet share their edge exactly: the raster engine
// rounds stretched images and filled rectangles differently at fractional edges, which
// would leave hairline seams between a tile and its neighbour's bleed.
struct SheetPainter::PageMapping {
    QPointF origin;
    double sx;
    double sy;

    QPointF point(double x, double y) const { return {origin.x() + x * sx, origin.y() + y * sy}; }
    QRectF snapped(double left, double top, double right, double bottom) const {
        const QPointF a = point(left, top);
        const QPointF b = point(right, bottom);
        return QRectF(QPointF(std::round(a.x()), std::round(a.y())),
                      QPointF(std::round(b.x()), std::round(b.y())));
    }
};

namespace {

// One column or row of `dib`'s pixels, top to bottom or left to right.
QImage edge(const DibImage& dib, int x, int y, int width, int height) {
    QImage strip(width, height, QImage::Format_RGB32);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const Rgb c = dib.pixel(x + column, y + row);
            strip.setPixel(column, row, qRgb(c.red, c.green, c.blue));
        }
    }
    return strip;
}

QColor colourAt(const DibImage& dib, int x, int y) {
    const Rgb c = dib.pixel(x, y);
    return QColor(c.red, c.green, c.blue);
}

// `bottomUp` (rows stored bottom row first) drawn the right way up into `target`.
void drawBottomUp(QPainter& painter, const QRectF& target, const QImage& bottomUp) {
    painter.save();
    painter.translate(0, target.top() + target.bottom());
    painter.scale(1, -1);
    painter.drawImage(target, bottomUp);
    painter.restore();
}

} // namespace

const SheetPainter::Picture& SheetPainter::pictureFor(const DibImage& dib) {
    auto found = pictures_.find(&dib);
    if (found != pictures_.end()) {
        return found->second;
    }
    Picture p;
    // The tile's own rows, not a copy: a sheet of a large library holds its pixels once.
    // Qt reads B, G, R bytes as they are; the rows are bottom-up, so the picture is drawn
    // turned over (drawBottomUp). The painter never writes to it.
    const int w = dib.width();
    const int h = dib.height();
    p.whole =
        QImage(dib.bufferRow(0), w, h, static_cast<qsizetype>(dib.stride()), QImage::Format_BGR888);
    p.left = edge(dib, 0, 0, 1, h);
    p.right = edge(dib, w - 1, 0, 1, h);
    p.top = edge(dib, 0, 0, w, 1);
    p.bottom = edge(dib, 0, h - 1, w, 1);
    p.topLeft = colourAt(dib, 0, 0);
    p.topRight = colourAt(dib, w - 1, 0);
    p.bottomLeft = colourAt(dib, 0, h - 1);
    p.bottomRight = colourAt(dib, w - 1, h - 1);
    return pictures_.emplace(&dib, std::move(p)).first->second;
}

void SheetPainter::paintItem(QPainter& painter, const SheetItem& item, const PageMapping& map) {
    const Picture& p = pictureFor(item.back ? art_.back(item.tile) : art_.front(item.tile));
    const RectMm& t = item.trim;
    const RectMm& b = item.bleed;
    if (b != t) {
        // Each edge strip and corner reaches one picture pixel under the tile, so no seam
        // shows between them and the tile however a viewer rounds.
        const double inLeft = t.left() + t.width / p.whole.width();
        const double inRight = t.right() - t.width / p.whole.width();
        const double inTop = t.top() + t.height / p.whole.height();
        const double inBottom = t.bottom() - t.height / p.whole.height();
        painter.fillRect(map.snapped(b.left(), b.top(), inLeft, inTop), p.topLeft);
        painter.fillRect(map.snapped(inRight, b.top(), b.right(), inTop), p.topRight);
        painter.fillRect(map.snapped(b.left(), inBottom, inLeft, b.bottom()), p.bottomLeft);
        painter.fillRect(map.snapped(inRight, inBottom, b.right(), b.bottom()), p.bottomRight);
        painter.drawImage(map.snapped(b.left(), t.top(), inLeft, t.bottom()), p.left);
        painter.drawImage(map.snapped(inRight, t.top(), b.right(), t.bottom()), p.right);
        painter.drawImage(map.snapped(t.left(), b.top(), t.right(), inTop), p.top);
        painter.drawImage(map.snapped(t.left(), inBottom, t.right(), b.bottom()), p.bottom);
    }
    drawBottomUp(painter, map.snapped(t.left(), t.top(), t.right(), t.bottom()), p.whole);
}

void SheetPainter::paint(QPainter& painter, const SheetLayout& layout, const SheetPage& page,
                         const QRectF& target) {
    const PageMapping map{target.topLeft(), target.width() / layout.page.width,
                          target.height() / layout.page.height};
    painter.save();
    // Pixels exactly as they are: PDF images stay uncompressed by lossy means, and raster
    // output takes the nearest pixel instead of blending.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (const SheetItem& item : page.items) {
        paintItem(painter, item, map);
    }
    QPen pen(Qt::black, SheetLayout::kHairline * map.sx);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    for (const LineMm& line : page.marks) {
        painter.drawLine(
            QLineF(map.point(line.from.x, line.from.y), map.point(line.to.x, line.to.y)));
    }
    painter.setPen(Qt::black);
    for (const SheetLabel& label : page.labels) {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(label.height * map.sy))));
        painter.setFont(font);
        painter.drawText(QRectF(map.point(label.topLeft.x, label.topLeft.y), target.size()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         QString::fromStdString(label.text));
    }
    painter.restore();
}

} // namespace qrb
