#pragma once
// Reading a picture that lettering draws: a row's picture or an icon. The one place they
// are read, so that they follow the rules every picture the program reads follows.

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <stdexcept>

namespace qrb {

// A picture that cannot be used; what() says why ("the file cannot be opened", ...).
class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The picture in the file at `path`, any format Qt reads; a vector picture (SVG) drawn
// `vectorHeight` pixels high when that is above 0, else at its own size. Throws
// PictureError for a file that is not a regular file, cannot be read or is damaged, or a
// picture larger than a tile may be or than `maxBytes` decoded; its size is checked
// before it is decoded.
QImage readArtPicture(const std::filesystem::path& path, std::uint64_t maxBytes,
                      int vectorHeight = 0);

} // namespace qrb
