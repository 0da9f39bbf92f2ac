#include "text/render/RotatedText.h"

#include "text/render/Coverage.h"
#include "text/render/QtConversions.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace qrb {

namespace {

// Grey-scale smoothing on every target: colour fringes from sub-pixel smoothing would be
// baked into the tile's pixels.
constexpr auto kSmooth = QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias);

// Limits that keep a damaged or absurd size from asking the rasteriser for giant glyphs.
constexpr int kMaxPixels = 2048;

// Draws one line with its first character cell's top-left corner at (x, y), turned by
// `degrees` counter-clockwise and scaled by `scale` about that corner.
void paintLine(QImage& image, const QFont& font, const QColor& colour, const QString& text, int x,
               int y, double degrees, qreal scale, qreal ascent) {
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setPen(colour);
    painter.setBrush(Qt::NoBrush);
    painter.setFont(font);
    painter.translate(x, y);
    if (degrees != 0.0) {
        // Counter-clockwise on screen, where y grows downwards.
        painter.rotate(-degrees);
    }
    if (scale != 1.0) {
        painter.scale(scale, scale);
    }
    painter.drawText(QPointF(0, ascent / scale), text);
}

using rotatedtext::drawnDegrees;

using rotatedtext::LineFont;
using rotatedtext::lineFont;

qreal lineWidth(const LineFont& line, const QString& text) {
    return QFontMetricsF(line.font).horizontalAdvance(text) * line.scale;
}

// How far along the text's own axes the anchor lies from the first cell's top-left corner.
qreal anchorShare(HorizontalAnchor anchor) {
    return anchor == HorizontalAnchor::Centre ? 0.5 : anchor == HorizontalAnchor::Right ? 1.0 : 0.0;
}
qreal anchorShare(VerticalAnchor anchor) {
    return anchor == VerticalAnchor::Middle ? 0.5 : anchor == VerticalAnchor::Bottom ? 1.0 : 0.0;
}

} // namespace

namespace rotatedtext {

int cellHeightForSize(double points) {
    if (!std::isfinite(points) || points <= 0) {
        return 1;
    }
    const double cell = std::nearbyint(std::min(points * 1.5, double(kMaxPixels)));
    return std::max(1, int(cell));
}

double drawnDegrees(float angle) {
    const double tenths = std::isfinite(angle) ? std::nearbyint(double(angle) * 10.0) : 0.0;
    return std::fmod(tenths, 3600.0) / 10.0;
}

int printPixelSize(double points) {
    if (!std::isfinite(points) || points <= 0) {
        return 1;
    }
    return std::clamp(int(std::lround(points * 96.0 / 72.0)), 1, kMaxPixels);
}

RotatedFont rotatedFont(const QFont& font) {
    RotatedFont result;
    result.font = font;
    result.font.setWeight(font.bold() ? QFont::Bold : QFont::Normal);
    result.font.setStyleStrategy(kSmooth);

    // The face's cell-to-em ratio, from its design metrics at a first guess of the size;
    // the em that gives the wanted cell is then generally not a whole pixel size, which is
    // all the rasteriser realises, so the rest is a drawing scale.
    const int cell = cellHeightForSize(pointsOf(font));
    result.font.setPixelSize(cell);
    const QFontMetricsF probe(result.font);
    const qreal ratio = (probe.ascent() + probe.descent()) / cell;
    const qreal em = ratio > 0 ? cell / ratio : cell;
    const int pixels = std::clamp(int(std::lround(em)), 1, kMaxPixels);
    result.font.setPixelSize(pixels);
    const QFontMetricsF metrics(result.font);
    const qreal natural = metrics.ascent() + metrics.descent();
    result.scale = natural > 0 ? cell / natural : 1.0;
    result.ascent = metrics.ascent() * result.scale;
    result.cellHeight = natural * result.scale;
    return result;
}

QFont printFont(const QFont& font) {
    QFont realised(font);
    realised.setStyleStrategy(kSmooth);
    realised.setPixelSize(printPixelSize(pointsOf(font)));
    return realised;
}

LineFont lineFont(const QFont& font, bool turned) {
    if (turned) {
        const RotatedFont rotated = rotatedFont(font);
        return {rotated.font, rotated.scale, rotated.ascent, rotated.cellHeight};
    }
    const QFont printed = printFont(font);
    const QFontMetrics metrics(printed);
    return {printed, 1.0, qreal(metrics.ascent()), qreal(metrics.ascent() + metrics.descent())};
}

} // namespace rotatedtext

namespace {

// Where DrawLaidOutText puts a line: the font it is drawn in and how its own coordinates
// (the first character cell's top-left corner at the origin) lie on the image.
struct PlacedLine {
    LineFont line;
    int x = 0;
    int y = 0;
    double degrees = 0;
    qreal offsetX = 0;
    qreal offsetY = 0;

    // Where the line's own coordinates go on the image, moved by (shiftX, shiftY) pixels.
    QTransform placed(int shiftX, int shiftY) const {
        QTransform transform;
        transform.translate(x + shiftX, y + shiftY);
        if (degrees != 0.0)
            transform.rotate(-degrees);
        transform.translate(offsetX, offsetY);
        if (line.scale != 1.0)
            transform.scale(line.scale, line.scale);
        return transform;
    }
};

PlacedLine placeLine(const QFont& font, const QString& text, std::optional<float> angle, int x,
                     int y, const TextLayout& layout) {
    const bool turned = angle.has_value();
    QFont sized(font);
    if (layout.fitWidth > 0) {
        const double points = fittedPoints(font, text, turned, layout.fitWidth);
        if (points != pointsOf(font))
            sized.setPointSizeF(points);
    }
    PlacedLine placed{lineFont(sized, turned), x, y};
    placed.offsetX = -lineWidth(placed.line, text) * anchorShare(layout.horizontal);
    placed.offsetY = -placed.line.cell * anchorShare(layout.vertical);
    if (!turned) {
        // Unturned text stays on whole pixels, as printed text always is.
        placed.offsetX = std::round(placed.offsetX);
        placed.offsetY = std::round(placed.offsetY);
    }
    placed.degrees = turned ? drawnDegrees(*angle) : 0.0;
    return placed;
}

} // namespace

void DrawRotatedText(TextSurface& surface, const QFont& font, const QString& text, float angle,
                     std::int16_t x, std::int16_t y) {
    const rotatedtext::RotatedFont rotated = rotatedtext::rotatedFont(font);
    surface.setCurrentPosition(x, y);
    if (!text.isEmpty() && !surface.image.isNull()) {
        paintLine(surface.image, rotated.font, surface.foreColor, text, x, y, drawnDegrees(angle),
                  rotated.scale, rotated.ascent);
    }
    surface.currentY = y + int(std::lround(rotated.cellHeight));
}

double fittedPoints(const QFont& font, const QString& text, bool turned, int fitWidth) {
    const double points = pointsOf(font);
    const double smallest = TextLayout::kSmallestFitSize;
    if (fitWidth <= 0 || text.isEmpty() || points <= smallest)
        return points;
    qreal width = lineWidth(lineFont(font, turned), text);
    if (width <= fitWidth)
        return points;
    // Width grows about in step with the size: start just above the size that estimate
    // gives and step down, so a long text takes two or three measures, not one per point.
    const double below = std::ceil(points) - 1.0;
    double size = std::min(below, std::floor(points * fitWidth / width) + 2.0);
    QFont sized(font);
    for (; size > smallest; size -= 1.0) {
        sized.setPointSizeF(size);
        width = lineWidth(lineFont(sized, turned), text);
        if (width <= fitWidth)
            return size;
    }
    return smallest;
}

void DrawLaidOutText(TextSurface& surface, const QFont& font, const QString& text,
                     std::optional<float> angle, std::int16_t x, std::int16_t y,
                     const TextLayout& layout) {
    if (layout.isDefault()) {
        if (angle) {
            DrawRotatedText(surface, font, text, *angle, x, y);
        } else {
            const QFont own = surface.font;
            surface.font = font;
            surface.setCurrentPosition(x, y);
            PrintText(surface, text);
            surface.font = own;
        }
        return;
    }
    const PlacedLine placedLine = placeLine(font, text, angle, x, y, layout);
    const LineFont& line = placedLine.line;
    surface.setCurrentPosition(x, y);
    const int below = int(std::lround(line.cell));
    if (text.isEmpty() || surface.image.isNull()) {
        surface.currentY = y + below;
        return;
    }
    const auto placed = [&](int shiftX, int shiftY) { return placedLine.placed(shiftX, shiftY); };
    const QPointF baseline(0, line.ascent / line.scale);
    const auto drawLetters = [&](QPainter& painter, const QTransform& transform,
                                 const QColor& colour) {
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        painter.setTransform(transform);
        painter.setFont(line.font);
        painter.setPen(colour);
        painter.setBrush(Qt::NoBrush);
        painter.drawText(baseline, text);
    };
    const QRectF letters = layout.hasOutline()
                               ? QFontMetricsF(line.font).boundingRect(text).translated(baseline)
                               : QRectF();
    PaintWithEffects(surface.image, layout, surface.foreColor, letters, placed, drawLetters);
    surface.currentY = y + below;
}

void PaintWithEffects(QImage& image, const TextLayout& layout, const QColor& colour,
                      const QRectF& letters, const std::function<QTransform(int, int)>& placed,
                      const LetterPainter& drawLetters) {
    QPainter painter(&image);
    if (layout.hasOutline()) {
        // The outline is the letters widened in tile pixels, so it is worked out on the
        // tile's grid, over the part of the tile it can touch.
        const int w = layout.outlineWidth;
        QRect region =
            placed(0, 0).mapRect(letters).toAlignedRect().adjusted(-w - 1, -w - 1, w + 1, w + 1);
        // Only letters within the outline's width of a pixel the tile shows (of the outline
        // or of its shadow) count.
        QRect reach = image.rect();
        if (layout.hasShadow())
            reach |= reach.translated(-layout.shadowDx, -layout.shadowDy);
        region &= reach.adjusted(-w, -w, w, w);
        if (!region.isEmpty()) {
            QImage mask(region.size(), QImage::Format_Grayscale8);
            mask.fill(0);
            {
                QPainter onMask(&mask);
                drawLetters(onMask,
                            placed(0, 0) * QTransform::fromTranslate(-region.left(), -region.top()),
                            Qt::white);
            }
            QImage wide(region.size(), QImage::Format_Grayscale8);
            coverage::widen(mask.constBits(), std::size_t(mask.bytesPerLine()), mask.width(),
                            mask.height(), w, wide.bits(), std::size_t(wide.bytesPerLine()));
            QImage tinted(region.size(), QImage::Format_ARGB32_Premultiplied);
            const auto paint = [&](ColourValue value, QPoint at) {
                coverage::tint(wide.constBits(), std::size_t(wide.bytesPerLine()), wide.width(),
                               wide.height(), toQColor(value).rgb() & 0xFFFFFF,
                               reinterpret_cast<std::uint32_t*>(tinted.bits()),
                               std::size_t(tinted.bytesPerLine()));
                painter.drawImage(at, tinted);
            };
            painter.resetTransform();
            if (layout.hasShadow())
                paint(layout.shadowColour,
                      region.topLeft() + QPoint(layout.shadowDx, layout.shadowDy));
            paint(layout.outlineColour, region.topLeft());
        }
    } else if (layout.hasShadow()) {
        drawLetters(painter, placed(layout.shadowDx, layout.shadowDy),
                    toQColor(layout.shadowColour));
    }
    drawLetters(painter, placed(0, 0), colour);
}

QRect LaidOutTextArea(const QFont& font, const QString& text, std::optional<float> angle,
                      std::int16_t x, std::int16_t y, const TextLayout& layout) {
    if (text.isEmpty())
        return {};
    const PlacedLine placed = placeLine(font, text, angle, x, y, layout);
    const QFontMetricsF metrics(placed.line.font);
    const qreal baseline = placed.line.ascent / placed.line.scale;
    // In the line's own coordinates: the letters' ink, and the whole cell of the line with
    // its underline and strike-out; widened for a synthesised bold's thicker strokes.
    QRectF own = metrics.boundingRect(text).translated(0, baseline) |
                 QRectF(0, 0, metrics.horizontalAdvance(text),
                        baseline + std::max(metrics.descent(),
                                            metrics.underlinePos() + metrics.lineWidth()));
    const qreal bolder = metrics.height() / 8 + 1;
    own.adjust(-bolder, -bolder, bolder, bolder);
    // On the image, with the pixels that smoothing touches around it.
    QRect area = placed.placed(0, 0).mapRect(own).toAlignedRect().adjusted(-2, -2, 2, 2);
    if (layout.hasOutline()) {
        const int w = layout.outlineWidth;
        area.adjust(-w - 1, -w - 1, w + 1, w + 1);
    }
    if (layout.hasShadow())
        area |= area.translated(layout.shadowDx, layout.shadowDy);
    return area;
}

void PrintText(TextSurface& surface, const QString& text) {
    const QFont font = rotatedtext::printFont(surface.font);
    const QFontMetrics metrics(font);
    if (!text.isEmpty() && !surface.image.isNull()) {
        paintLine(surface.image, font, surface.foreColor, text, surface.currentX, surface.currentY,
                  0.0, 1.0, metrics.ascent());
    }
    surface.currentY += metrics.height();
}

} // namespace qrb
