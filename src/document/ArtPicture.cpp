#include "document/ArtPicture.h"

#include "core/FileError.h"
#include "picture/PictureReader.h"
#include "tileset/DibImage.h"

namespace qrb {

QImage readArtPicture(const std::filesystem::path& path, std::uint64_t maxBytes, int vectorHeight) {
    PictureRequest request;
    request.memoryLeft = maxBytes;
    request.vectorHeight = vectorHeight;
    request.madeOf = [](QSize size) -> std::uint64_t {
        if (size.width() > DibImage::kMaxDimension || size.height() > DibImage::kMaxDimension)
            throw PictureError("the picture is " + std::to_string(size.width()) + " x " +
                               std::to_string(size.height()) +
                               " pixels, more than lettering may hold");
        return 0;
    };
    try {
        return readPicture(QString::fromStdString(path.string()), request);
    } catch (const FileError& e) {
        throw PictureError(e.reason());
    }
}

} // namespace qrb
