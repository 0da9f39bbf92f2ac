#include "tileset/DibImage.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <stdexcept>

namespace qrb {

namespace {

void checkSize(std::int32_t width, std::int32_t height) {
    if (width < 0 || height < 0 || width > DibImage::kMaxDimension ||
        height > DibImage::kMaxDimension) {
        throw std::invalid_argument("image size out of range");
    }
}

} // namespace

DibImage::DibImage(std::int32_t width, std::int32_t height) : width_(width), height_(height) {
    checkSize(width, height);
    const std::size_t size = stride() * static_cast<std::size_t>(height);
    if (size > 0) {
        pixels_ = PixelArena::single(size, true);
    }
}

DibImage::DibImage(std::int32_t width, std::int32_t height, std::shared_ptr<PixelBlock> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {
    checkSize(width, height);
    if (byteCount() != stride() * static_cast<std::size_t>(height)) {
        throw std::invalid_argument("pixel block does not match the image size");
    }
}

std::uint8_t* DibImage::writableData() {
    if (pixels_ == nullptr) {
        return nullptr;
    }
    if (pixels_.use_count() > 1) {
        auto own = PixelArena::single(pixels_->size, false);
        std::memcpy(own->data, pixels_->data, pixels_->size);
        pixels_ = std::move(own);
    }
    return pixels_->data;
}

bool operator==(const DibImage& a, const DibImage& b) {
    return a.width_ == b.width_ && a.height_ == b.height_ &&
           (a.pixels_ == b.pixels_ || std::ranges::equal(a.bytes(), b.bytes()));
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
