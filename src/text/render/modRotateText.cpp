#include "text/render/modRotateText.h"

#include "text/render/QtConversions.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

} // namespace

namespace modRotateText {

int cellHeightForSize(double points) {
    if (!std::isfinite(points) || points <= 0) {
        return 1;
    }
    const double cell = std::nearbyint(std::min(points * 1.5, double(kMaxPixels)));
    return std::max(1, int(cell));
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

} // namespace modRotateText

void DrawRotatedText(TextSurface& surface, const QFont& font, const QString& text, float angle,
                     std::int16_t x, std::int16_t y) {
    const modRotateText::RotatedFont rotated = modRotateText::rotatedFont(font);
    surface.setCurrentPosition(x, y);
    if (!text.isEmpty() && !surface.image.isNull()) {
        // Whole tenths of a degree, ties to even.
        const double tenths = std::isfinite(angle) ? std::nearbyint(double(angle) * 10.0) : 0.0;
        paintLine(surface.image, rotated.font, surface.foreColor, text, x, y,
                  std::fmod(tenths, 3600.0) / 10.0, rotated.scale, rotated.ascent);
    }
    surface.currentY = y + int(std::lround(rotated.cellHeight));
}

void PrintText(TextSurface& surface, const QString& text) {
    const QFont font = modRotateText::printFont(surface.font);
    const QFontMetrics metrics(font);
    if (!text.isEmpty() && !surface.image.isNull()) {
        paintLine(surface.image, font, surface.foreColor, text, surface.currentX, surface.currentY,
                  0.0, 1.0, metrics.ascent());
    }
    surface.currentY += metrics.height();
}

} // namespace qrb
