#include "text/render/Coverage.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qrb::coverage {

void widen(const std::uint8_t* in, std::size_t inStride, int width, int height, int radius,
           std::uint8_t* out, std::size_t outStride) {
    if (width <= 0 || height <= 0)
        return;
    const std::size_t w = std::size_t(width);
    const std::size_t h = std::size_t(height);
    radius = std::max(0, radius);
    // reach[k]: every row's largest coverage within k pixels left or right, each widening
    // by one pixel from the one before (1 pixel of padding each side stands for outside).
    const std::size_t padded = w + 2;
    std::vector<std::vector<std::uint8_t>> reach(std::size_t(radius) + 1,
                                                 std::vector<std::uint8_t>(padded * h, 0));
    for (std::size_t y = 0; y < h; ++y)
        std::copy(in + y * inStride, in + y * inStride + w, reach[0].data() + y * padded + 1);
    for (std::size_t k = 1; k < reach.size(); ++k) {
        const std::uint8_t* from = reach[k - 1].data();
        std::uint8_t* to = reach[k].data();
        for (std::size_t y = 0; y < h; ++y) {
            const std::uint8_t* a = from + y * padded;
            std::uint8_t* b = to + y * padded;
            for (std::size_t x = 1; x <= w; ++x)
                b[x] = std::max(std::max(a[x - 1], a[x]), a[x + 1]);
        }
    }
    // Each row of the disk reaches as far sideways as the circle allows there.
    std::vector<std::size_t> across(std::size_t(2 * radius + 1));
    for (int dy = -radius; dy <= radius; ++dy)
        across[std::size_t(dy + radius)] =
            std::size_t(std::lround(std::sqrt(double(radius * radius - dy * dy))));
    for (std::size_t y = 0; y < h; ++y) {
        std::uint8_t* row = out + y * outStride;
        std::fill(row, row + w, std::uint8_t(0));
        for (int dy = -radius; dy <= radius; ++dy) {
            const long source = long(y) + dy;
            if (source < 0 || source >= long(h))
                continue;
            const std::uint8_t* from =
                reach[across[std::size_t(dy + radius)]].data() + std::size_t(source) * padded + 1;
            for (std::size_t x = 0; x < w; ++x)
                row[x] = std::max(row[x], from[x]);
        }
    }
}

void tint(const std::uint8_t* in, std::size_t inStride, int width, int height, std::uint32_t rgb,
          std::uint32_t* out, std::size_t outStride) {
    const std::uint32_t red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* a = in + std::size_t(y) * inStride;
        auto* pixel = reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(out) +
                                                       std::size_t(y) * outStride);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t alpha = a[x];
            // x * alpha / 255, rounded, without a division.
            const auto scaled = [alpha](std::uint32_t c) {
                const std::uint32_t t = c * alpha + 128;
                return (t + (t >> 8)) >> 8;
            };
            pixel[x] = (alpha << 24) | (scaled(red) << 16) | (scaled(green) << 8) | scaled(blue);
        }
    }
}

} // namespace qrb::coverage
