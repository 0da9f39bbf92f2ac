#pragma once
// Quarter turns and mirror images of a picture, as the working tile's rotate and flip
// commands apply them.

#include "tileset/DibImage.h"

namespace qrb {

// The four transformations; the numbers are the command codes the menus pass.
enum class TransformKind {
    RotateLeft = 0,    // a quarter turn counter-clockwise
    RotateRight = 1,   // a quarter turn clockwise
    FlipVertical = 2,  // top and bottom exchanged
    FlipHorizontal = 3 // left and right exchanged
};

// Returns `image` transformed. With row i counted from the top and column j from the
// left of a W x H source:
//   RotateLeft     new(i, j) = old(j, W - 1 - i)      result H wide, W high
//   RotateRight    new(i, j) = old(H - 1 - j, i)      result H wide, W high
//   FlipVertical   new(i, j) = old(H - 1 - i, j)      same size
//   FlipHorizontal new(i, j) = old(i, W - 1 - j)      same size
// A turn of a non-square picture therefore changes its size (the caller resizes the
// working tile to it). Padding bytes of the result are always 0, whatever the source
// held there.
DibImage transformed(const DibImage& image, TransformKind kind);

} // namespace qrb
