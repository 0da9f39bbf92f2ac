#pragma once
// The geometry of importing a picture: the cells of a sprite sheet and a picture fitted
// to one tile size. The import (document/PictureImport) and the import dialog's preview
// both draw through here, so that the preview shows what the import makes.

#include "imaging/render/ImportOptions.h"

#include <QColor>
#include <QImage>
#include <QRect>

#include <vector>

namespace qrb {

// The cells of `slice` on a picture of `size`, row by row; partial cells at the right and
// bottom edges are left out.
std::vector<QRect> sliceCells(QSize size, const SliceOptions& slice);

// The part `rect` of `picture` (32 bits a pixel) without copying it; valid while
// `picture` lives.
QImage pictureView(const QImage& picture, const QRect& rect);

// `picture` (no alpha) fitted to `fit` over `background`, scaled smoothly (averaging the
// area of each new pixel when shrinking).
QImage fitPicture(const QImage& picture, const FitOptions& fit, const QColor& background);

} // namespace qrb
