#include "imaging/Transform.h"

#include <cstring>
#include <stdexcept>

namespace qrb {

namespace {

// Copies a column of source pixels, starting at `src` and stepping `step` bytes, into
// the `count` pixels of one result row.
void gatherColumn(const std::uint8_t* src, std::ptrdiff_t step, std::uint8_t* dst,
                  std::int32_t count) {
    for (std::int32_t j = 0; j < count; ++j, src += step, dst += 3) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
    }
}

} // namespace

DibImage transformed(const DibImage& image, TransformKind kind) {
    const std::int32_t w = image.width();
    const std::int32_t h = image.height();
    const auto stride = static_cast<std::ptrdiff_t>(image.stride());
    switch (kind) {
    case TransformKind::RotateLeft: {
        // Result row i is source column w-1-i read from the top row down.
        DibImage result(h, w);
        if (result.isEmpty()) {
            return result;
        }
        for (std::int32_t i = 0; i < w; ++i) {
            gatherColumn(image.scanLine(0) + 3 * (w - 1 - i), -stride, result.scanLine(i), h);
        }
        return result;
    }
    case TransformKind::RotateRight: {
        // Result row i is source column i read from the bottom row up.
        DibImage result(h, w);
        if (result.isEmpty()) {
            return result;
        }
        for (std::int32_t i = 0; i < w; ++i) {
            gatherColumn(image.bufferRow(0) + 3 * i, stride, result.scanLine(i), h);
        }
        return result;
    }
    case TransformKind::FlipVertical: {
        DibImage result(w, h);
        for (std::int32_t r = 0; r < h; ++r) {
            std::memcpy(result.bufferRow(r), image.bufferRow(h - 1 - r),
                        static_cast<std::size_t>(w) * 3);
        }
        return result;
    }
    case TransformKind::FlipHorizontal: {
        DibImage result(w, h);
        for (std::int32_t r = 0; r < h; ++r) {
            const std::uint8_t* src = image.bufferRow(r) + 3 * (w - 1);
            std::uint8_t* dst = result.bufferRow(r);
            for (std::int32_t x = 0; x < w; ++x, src -= 3, dst += 3) {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
            }
        }
        return result;
    }
    }
    throw std::invalid_argument("unknown transformation");
}

} // namespace qrb
