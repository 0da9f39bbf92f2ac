#include "imaging/HalfSize.h"

#include <vector>

namespace qrb {

namespace {

// How one result pixel along an axis is made of source pixels. Measured in units where
// a source pixel is `to` long and a result pixel `from` long, so every overlap is whole.
struct Span {
    std::int32_t first = 0;           // first source pixel touched
    std::vector<std::uint32_t> parts; // overlap of each touched source pixel
};

std::vector<Span> spans(std::int32_t from, std::int32_t to) {
    std::vector<Span> result(static_cast<std::size_t>(to));
    for (std::int32_t o = 0; o < to; ++o) {
        const std::int64_t begin = std::int64_t{o} * from;
        const std::int64_t end = begin + from;
        Span& span = result[static_cast<std::size_t>(o)];
        span.first = static_cast<std::int32_t>(begin / to);
        for (std::int64_t s = span.first; s * to < end; ++s) {
            const std::int64_t lo = std::max(begin, s * to);
            const std::int64_t hi = std::min(end, (s + 1) * to);
            span.parts.push_back(static_cast<std::uint32_t>(hi - lo));
        }
    }
    return result;
}

} // namespace

std::int32_t halfDimension(std::int32_t pixels) {
    if (pixels <= 0) {
        return 0;
    }
    return pixels < 2 ? 1 : pixels / 2;
}

DibImage halfSize(const DibImage& source) {
    const std::int32_t w = source.width();
    const std::int32_t h = source.height();
    const std::int32_t hw = halfDimension(w);
    const std::int32_t hh = halfDimension(h);
    DibImage result(hw, hh);
    if (result.isEmpty()) {
        return result;
    }

    if (w % 2 == 0 && h % 2 == 0) {
        // Every result pixel is the mean of exactly one 2 x 2 block.
        for (std::int32_t r = 0; r < hh; ++r) {
            const std::uint8_t* a = source.bufferRow(2 * r);
            const std::uint8_t* b = source.bufferRow(2 * r + 1);
            std::uint8_t* dst = result.bufferRow(r);
            for (std::int32_t x = 0; x < hw * 3; x += 3, a += 6, b += 6) {
                for (int c = 0; c < 3; ++c) {
                    dst[x + c] =
                        static_cast<std::uint8_t>((a[c] + a[c + 3] + b[c] + b[c + 3] + 2) / 4);
                }
            }
        }
        return result;
    }

    // General case: separable box filter with exact fractional coverage. A result pixel
    // covers w source units across (hw each) and h down (hh each).
    const std::vector<Span> across = spans(w, hw);
    const std::vector<Span> down = spans(h, hh);

    // Pass 1: every source row reduced across; sums weigh each channel by overlap.
    std::vector<std::uint32_t> rows(static_cast<std::size_t>(hw) * 3 * static_cast<std::size_t>(h));
    for (std::int32_t y = 0; y < h; ++y) {
        const std::uint8_t* src = source.scanLine(y);
        std::uint32_t* out = rows.data() + static_cast<std::size_t>(y) * hw * 3;
        for (std::int32_t o = 0; o < hw; ++o) {
            const Span& span = across[static_cast<std::size_t>(o)];
            std::uint32_t sum[3] = {0, 0, 0};
            for (std::size_t k = 0; k < span.parts.size(); ++k) {
                const std::uint8_t* p = src + 3 * (span.first + static_cast<std::int32_t>(k));
                for (int c = 0; c < 3; ++c) {
                    sum[c] += p[c] * span.parts[k];
                }
            }
            for (int c = 0; c < 3; ++c) {
                out[3 * o + c] = sum[c];
            }
        }
    }

    // Pass 2: down the reduced rows; the total weight of a result pixel is w x h.
    const std::uint64_t total = std::uint64_t(w) * std::uint64_t(h);
    for (std::int32_t o = 0; o < hh; ++o) {
        const Span& span = down[static_cast<std::size_t>(o)];
        std::uint8_t* dst = result.scanLine(o);
        for (std::int32_t x = 0; x < hw * 3; ++x) {
            std::uint64_t sum = 0;
            for (std::size_t k = 0; k < span.parts.size(); ++k) {
                const std::size_t row = static_cast<std::size_t>(span.first) + k;
                sum +=
                    std::uint64_t(rows[row * hw * 3 + static_cast<std::size_t>(x)]) * span.parts[k];
            }
            dst[x] = static_cast<std::uint8_t>((sum + total / 2) / total);
        }
    }
    return result;
}

} // namespace qrb
