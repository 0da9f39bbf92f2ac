#pragma once
// The one pixel format of the program: 24-bit device-independent rows, bottom-up, each
// pixel blue, green, red, each row padded with zero bytes to a stride of 3 x width
// rounded up to a multiple of 4. Tile files store exactly these rows.
//
// An image is a value: copies are cheap because they share their rows until one of them
// is written, and the first write through a non-const accessor (bytes(), bufferRow(),
// scanLine(), setPixel()) gives the written image rows of its own. So an edit of one
// image never shows in a copy of it (an undo snapshot, another tile). A pointer obtained
// from a non-const accessor stays valid until the image is copied, assigned or destroyed.
// Several threads may read and copy images at once; an image is written only while no
// other thread copies or reads it.

#include "tileset/PixelArena.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace qrb {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

class DibImage {
public:
    // Largest width or height the program accepts anywhere.
    static constexpr std::int32_t kMaxDimension = 16384;

    DibImage() = default;
    // A zero-filled (black, zero padding) image. Throws std::invalid_argument for sizes
    // outside 0..kMaxDimension.
    DibImage(std::int32_t width, std::int32_t height);
    // An image on `pixels`, which must hold stride x height bytes; the caller writes every
    // one of them, padding included, before the image is read. Throws
    // std::invalid_argument for a size out of range or a block of the wrong size.
    DibImage(std::int32_t width, std::int32_t height, std::shared_ptr<PixelBlock> pixels);
    // An image filled with one colour (padding stays 0).
    static DibImage filled(std::int32_t width, std::int32_t height, Rgb colour);

    // Bytes per row for a 24-bit image of this width.
    static constexpr std::size_t strideFor(std::int32_t width) {
        return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t(3);
    }

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    std::size_t stride() const { return strideFor(width_); }
    bool isEmpty() const { return width_ == 0 || height_ == 0; }

    // All rows, bottom row first: stride() x height() bytes.
    std::span<const std::uint8_t> bytes() const { return {data(), byteCount()}; }
    std::span<std::uint8_t> bytes() { return {writableData(), byteCount()}; }
    std::size_t byteCount() const { return pixels_ ? pixels_->size : 0; }

    // Buffer row r (0 = bottom row of the picture).
    const std::uint8_t* bufferRow(std::int32_t r) const { return data() + r * stride(); }
    std::uint8_t* bufferRow(std::int32_t r) { return writableData() + r * stride(); }
    // Display row y (0 = top row of the picture).
    const std::uint8_t* scanLine(std::int32_t y) const { return bufferRow(height_ - 1 - y); }
    std::uint8_t* scanLine(std::int32_t y) { return bufferRow(height_ - 1 - y); }

    // Whether both images read the same rows now (a copy not yet written).
    bool sharesPixelsWith(const DibImage& other) const {
        return pixels_ != nullptr && pixels_ == other.pixels_;
    }

    // Pixel at column x (0 = left) and display row y (0 = top). No bounds check beyond
    // a debug assertion: callers index inside the image.
    Rgb pixel(std::int32_t x, std::int32_t y) const;
    void setPixel(std::int32_t x, std::int32_t y, Rgb colour);

    // Same size and same bytes.
    friend bool operator==(const DibImage& a, const DibImage& b);

private:
    const std::uint8_t* data() const { return pixels_ ? pixels_->data : nullptr; }
    // The rows, first made the image's own when a copy shares them.
    std::uint8_t* writableData();

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::shared_ptr<PixelBlock> pixels_;
};

} // namespace qrb
