#include "tileset/DibImage.h"

#include <cassert>
#include <stdexcept>

namespace qrb {

DibImage::DibImage(std::int32_t width, std::int32_t height) : width_(width), height_(height) {
    if (width < 0 || height < 0 || width > kMaxDimension || height > kMaxDimension) {
        throw std::invalid_argument("image size out of range");
    }
    bytes_.assign(stride() * static_cast<std::size_t>(height), 0);
}

DibImage DibImage::filled(std::int32_t width, std::int32_t height, Rgb colour) {
    DibImage image(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* p = image.bufferRow(y);
        for (std::int32_t x = 0; x < width; ++x, p += 3) {
            p[0] = colour.blue;
            p[1] = colour.green;
            p[2] = colour.red;
        }
    }
    return image;
}

Rgb DibImage::pixel(std::int32_t x, std::int32_t y) const {
    assert(x >= 0 && x < width_ && y >= 0 && y < height_);
    const std::uint8_t* p = scanLine(y) + 3 * x;
    return Rgb{p[2], p[1], p[0]};
}

void DibImage::setPixel(std::int32_t x, std::int32_t y, Rgb colour) {
    assert(x >= 0 && x < width_ && y >= 0 && y < height_);
    std::uint8_t* p = scanLine(y) + 3 * x;
    p[0] = colour.blue;
    p[1] = colour.green;
    p[2] = colour.red;
}

} // namespace qrb
