#pragma once
// The one pixel format of the program: 24-bit device-independent rows, bottom-up, each
// pixel blue, green, red, each row padded with zero bytes to a stride of 3 x width
// rounded up to a multiple of 4. Tile files store exactly these rows.

#include <cstddef>
#include <cstdint>
#include <vector>

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
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

    // Buffer row r (0 = bottom row of the picture).
    const std::uint8_t* bufferRow(std::int32_t r) const { return bytes_.data() + r * stride(); }
    std::uint8_t* bufferRow(std::int32_t r) { return bytes_.data() + r * stride(); }
    // Display row y (0 = top row of the picture).
    const std::uint8_t* scanLine(std::int32_t y) const { return bufferRow(height_ - 1 - y); }
    std::uint8_t* scanLine(std::int32_t y) { return bufferRow(height_ - 1 - y); }

    // Pixel at column x (0 = left) and display row y (0 = top). No bounds check beyond
    // a debug assertion: callers index inside the image.
    Rgb pixel(std::int32_t x, std::int32_t y) const;
    void setPixel(std::int32_t x, std::int32_t y, Rgb colour);

    friend bool operator==(const DibImage&, const DibImage&) = default;

private:
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::vector<std::uint8_t> bytes_;
};

} // namespace qrb
