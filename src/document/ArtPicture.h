#pragma once
// Reading a picture that lettering draws: a row's picture or an icon. The one place they
// are read, through the program's picture reader, so that they follow the rules every
// picture the program reads follows.

#include "picture/PictureError.h"

#include <QImage>

#include <cstdint>
#include <filesystem>

namespace qrb {

// The picture in the file at `path`; a vector picture (SVG) drawn `vectorHeight` pixels
// high when that is above 0, else at its own size. Throws PictureError (what() says why,
// without the file's name) for a file that is not a regular file, cannot be read or is
// damaged, or a picture larger than a tile may be or than `maxBytes` decoded; its size is
// checked before it is decoded.
QImage readArtPicture(const std::filesystem::path& path, std::uint64_t maxBytes,
                      int vectorHeight = 0);

} // namespace qrb
