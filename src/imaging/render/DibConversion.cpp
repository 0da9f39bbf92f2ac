#include "imaging/render/DibConversion.h"

#include <QPainter>

namespace qrb {

QImage toQImage(const DibImage& dib) {
    return toQImage(dib, QRect(0, 0, dib.width(), dib.height()));
}

QImage toQImage(const DibImage& dib, const QRect& part) {
    const QRect area = part.intersected(QRect(0, 0, dib.width(), dib.height()));
    if (area.isEmpty())
        return QImage();
    QImage image(area.size(), QImage::Format_RGB32);
    const int w = area.width();
    for (int y = 0; y < area.height(); ++y) {
        const std::uint8_t* src = dib.scanLine(area.top() + y) + 3 * std::size_t(area.left());
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x, src += 3)
            dst[x] = qRgb(src[2], src[1], src[0]);
    }
    return image;
}

DibImage toDibImage(const QImage& image) {
    if (image.isNull())
        return DibImage();
    QImage rgb;
    if (image.format() == QImage::Format_RGB32) {
        rgb = image;
    } else if (image.hasAlphaChannel()) {
        rgb = QImage(image.size(), QImage::Format_RGB32);
        rgb.fill(Qt::white);
        QPainter painter(&rgb);
        painter.drawImage(0, 0, image);
    } else {
        rgb = image.convertToFormat(QImage::Format_RGB32);
    }
    DibImage dib(rgb.width(), rgb.height());
    const int w = rgb.width();
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint8_t* dst = dib.scanLine(y);
        for (int x = 0; x < w; ++x, dst += 3) {
            dst[0] = static_cast<std::uint8_t>(qBlue(src[x]));
            dst[1] = static_cast<std::uint8_t>(qGreen(src[x]));
            dst[2] = static_cast<std::uint8_t>(qRed(src[x]));
        }
    }
    return dib;
}

} // namespace qrb
