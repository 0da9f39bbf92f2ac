#include "document/ArtPicture.h"

#include "tileset/DibImage.h"

#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <limits>

namespace qrb {

QImage readArtPicture(const std::filesystem::path& path, std::uint64_t maxBytes, int vectorHeight) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        throw PictureError(std::filesystem::exists(path, error) ? "it is not a regular file"
                                                                : "the file does not exist");
    QImageReader reader(QString::fromStdString(path.string()));
    QSize size = reader.size();
    if (vectorHeight > 0 && reader.format() == "svg" && size.isValid() && size.height() > 0) {
        size = QSize(
            std::max(1, int(std::lround(double(size.width()) * vectorHeight / size.height()))),
            vectorHeight);
        reader.setScaledSize(size);
    }
    const int max = DibImage::kMaxDimension;
    const auto tooLarge = [&](QSize s) {
        return s.width() > max || s.height() > max ||
               std::uint64_t(s.width()) * std::uint64_t(s.height()) * 4 > maxBytes;
    };
    const auto refuseSize = [&](QSize s) {
        throw PictureError("the picture is " + std::to_string(s.width()) + " x " +
                           std::to_string(s.height()) + " pixels, more than lettering may hold");
    };
    if (size.isValid() && tooLarge(size))
        refuseSize(size);
    if (size.isValid())
        reader.setAllocationLimit(int(std::min<std::uint64_t>(
            std::uint64_t(size.width()) * std::uint64_t(size.height()) * 8 / (1 << 20) + 1,
            std::numeric_limits<int>::max())));
    QImage picture;
    if (!reader.read(&picture) || picture.isNull())
        throw PictureError("it is not a picture that can be read (" +
                           reader.errorString().toStdString() + ")");
    if (tooLarge(picture.size()))
        refuseSize(picture.size());
    return picture;
}

} // namespace qrb
