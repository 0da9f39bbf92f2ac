#include "imaging/HalfSize.h"

#include <algorithm>
#include <array>
#include <vector>

namespace qrb {

namespace {

// How one result pixel along an axis is made of source pixels. Measured in units where
// a source pixel is `to` long and a result pixel `from` long, so every overlap is whole.
// A result pixel spans at most 3 source pixels (to is from/2 rounded down, at least 1),
// so it touches at most 4 of them.
struct Span {
    std::int32_t first = 0;               // first source pixel touched
    std::int32_t count = 0;               // source pixels touched
    std::array<std::uint32_t, 4> parts{}; // overlap of each touched source pixel
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
            span.parts.at(static_cast<std::size_t>(span.count++)) =
                static_cast<std::uint32_t>(hi - lo);
        }
    }
    return result;
}

// One source row reduced across: per result pixel and channel, the sum of the touched
// source values weighed by their overlap.
void reduceAcross(const std::uint8_t* src, const std::vector<Span>& across, std::uint32_t* out) {
    for (const Span& span : across) {
        std::uint32_t sum[3] = {0, 0, 0};
        const std::uint8_t* p = src + 3 * span.first;
        for (std::int32_t k = 0; k < span.count; ++k, p += 3) {
            const std::uint32_t part = span.parts[static_cast<std::size_t>(k)];
            sum[0] += p[0] * part;
            sum[1] += p[1] * part;
            sum[2] += p[2] * part;
        }
        *out++ = sum[0];
        *out++ = sum[1];
        *out++ = sum[2];
    }
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

    // Each result row: the source rows it covers, each reduced across and weighed by
    // its overlap. Rows on a boundary are reduced twice, which keeps memory to two rows.
    const std::size_t rowLength = static_cast<std::size_t>(hw) * 3;
    std::vector<std::uint32_t> reduced(rowLength);
    std::vector<std::uint64_t> sums(rowLength);
    const std::uint64_t total = std::uint64_t(w) * std::uint64_t(h);
    for (std::int32_t o = 0; o < hh; ++o) {
        const Span& vertical = down[static_cast<std::size_t>(o)];
        std::fill(sums.begin(), sums.end(), 0);
        for (std::int32_t k = 0; k < vertical.count; ++k) {
            reduceAcross(source.scanLine(vertical.first + k), across, reduced.data());
            const std::uint64_t part = vertical.parts[static_cast<std::size_t>(k)];
            for (std::size_t x = 0; x < rowLength; ++x) {
                sums[x] += reduced[x] * part;
            }
        }
        std::uint8_t* dst = result.scanLine(o);
        for (std::size_t x = 0; x < rowLength; ++x) {
            dst[x] = static_cast<std::uint8_t>((sums[x] + total / 2) / total);
        }
    }
    return result;
}

} // namespace qrb
