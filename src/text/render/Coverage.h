#pragma once
// Grey coverage maps (0 nothing, 255 full), as the outline of a text is made from its
// letters': widened by a disk, then laid on a tile in a colour. Plain byte loops, kept fast
// in every build: they run on every live preview step.

#include <cstddef>
#include <cstdint>

namespace qrb::coverage {

// `out` (width x height, rows `outStride` bytes apart) becomes `in` widened by a disk of
// `radius` pixels: each pixel the largest coverage within the radius (rounded to whole
// pixels per row of the disk). Outside `in` counts as 0. `in` and `out` do not overlap.
void widen(const std::uint8_t* in, std::size_t inStride, int width, int height, int radius,
           std::uint8_t* out, std::size_t outStride);

// `out` (premultiplied 0xAARRGGBB pixels, rows `outStride` bytes apart) becomes the opaque
// colour `rgb` (0xRRGGBB) with `in` as its alpha.
void tint(const std::uint8_t* in, std::size_t inStride, int width, int height, std::uint32_t rgb,
          std::uint32_t* out, std::size_t outStride);

} // namespace qrb::coverage
