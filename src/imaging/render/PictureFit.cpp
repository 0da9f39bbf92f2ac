#include "imaging/render/PictureFit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace qrb {

namespace {

QImage scaledTo(const QImage& picture, QSize size) {
    if (picture.size() == size)
        return picture.copy();
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

std::vector<QRect> sliceCells(QSize size, const SliceOptions& slice) {
    std::vector<QRect> cells;
    const int w = slice.cell.width();
    const int h = slice.cell.height();
    if (w < 1 || h < 1 || slice.margin < 0 || slice.spacing < 0)
        return cells;
    auto count = [&](int total, int cell) {
        const std::int64_t room =
            std::int64_t(total) - 2 * std::int64_t(slice.margin) + slice.spacing;
        return room < std::int64_t(cell) ? 0 : int(room / (std::int64_t(cell) + slice.spacing));
    };
    const int columns = count(size.width(), w);
    const int rows = count(size.height(), h);
    cells.reserve(std::size_t(columns) * std::size_t(rows));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            cells.emplace_back(slice.margin + c * (w + slice.spacing),
                               slice.margin + r * (h + slice.spacing), w, h);
    return cells;
}

QImage pictureView(const QImage& picture, const QRect& rect) {
    if (rect == picture.rect())
        return picture;
    return QImage(picture.constScanLine(rect.top()) + std::size_t(rect.left()) * 4, rect.width(),
                  rect.height(), picture.bytesPerLine(), picture.format());
}

QImage fitPicture(const QImage& picture, const FitOptions& fit, const QColor& background) {
    const QSize target = fit.size;
    const double w = picture.width();
    const double h = picture.height();
    switch (fit.mode) {
    case FitMode::Stretch:
        return scaledTo(picture, target);
    case FitMode::Cover: {
        const double scale = std::max(target.width() / w, target.height() / h);
        const int cw = std::clamp(int(std::lround(target.width() / scale)), 1, picture.width());
        const int ch = std::clamp(int(std::lround(target.height() / scale)), 1, picture.height());
        const QRect crop((picture.width() - cw) / 2, (picture.height() - ch) / 2, cw, ch);
        return scaledTo(pictureView(picture, crop), target);
    }
    case FitMode::Contain:
        break;
    }
    const double scale = std::min(target.width() / w, target.height() / h);
    const QSize inside(std::clamp(int(std::lround(w * scale)), 1, target.width()),
                       std::clamp(int(std::lround(h * scale)), 1, target.height()));
    const QImage scaled = scaledTo(picture, inside);
    QImage canvas(target, QImage::Format_RGB32);
    canvas.fill(background.rgb());
    const int left = (target.width() - inside.width()) / 2;
    const int top = (target.height() - inside.height()) / 2;
    for (int y = 0; y < inside.height(); ++y)
        std::memcpy(canvas.scanLine(top + y) + std::size_t(left) * 4, scaled.constScanLine(y),
                    std::size_t(inside.width()) * 4);
    return canvas;
}

} // namespace qrb
