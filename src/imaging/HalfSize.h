#pragma once
// The half-size image of a tile: the whole full-size picture reduced to half its width
// and height.

#include "tileset/DibImage.h"

#include <cstdint>

namespace qrb {

// The half of one dimension, used everywhere a half size is needed: integer halving,
// rounded down, but never below 1 pixel for a non-empty side (61 -> 30, 64 -> 32,
// 1 -> 1, 0 -> 0).
std::int32_t halfDimension(std::int32_t pixels);

// The whole of `source` reduced to halfDimension(width) x halfDimension(height) by area
// averaging: each result pixel is the mean of the source area it covers, source pixels
// cut by its edges counting with the part that lies inside (for even sizes simply the
// mean of a 2 x 2 block). Each channel is rounded to the nearest value, halves up.
// An empty source gives an empty result.
DibImage halfSize(const DibImage& source);

} // namespace qrb
