// PNG through libpng: every colour type and depth, interlaced or not, with tRNS, read row
// by row so that a stop request is seen between rows. Any error -- data that ends early,
// a bad checksum of a critical chunk, image data that runs short -- refuses the picture.

#include "picture/Decoders.h"
#include "picture/PictureError.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string>

namespace qrb {

namespace {

struct PngInput {
    const unsigned char* data;
    std::size_t size;
    std::size_t at = 0;
    std::string error;
};

void readBytes(png_structp png, png_bytep out, png_size_t count) {
    auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
    if (input->size - input->at < count)
        png_error(png, "the data ends before the picture does");
    std::memcpy(out, input->data + input->at, count);
    input->at += count;
}

void onError(png_structp png, png_const_charp message) {
    auto* input = static_cast<PngInput*>(png_get_error_ptr(png));
    if (input->error.empty())
        input->error = message;
    png_longjmp(png, 1);
}

// libpng's warnings concern data it skips (an ancillary chunk with a bad checksum, say):
// the picture is whole, and nothing is printed.
void onWarning(png_structp, png_const_charp) {}

class PngRead {
public:
    explicit PngRead(PngInput& input) {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, &input, onError, onWarning);
        if (png_)
            info_ = png_create_info_struct(png_);
        if (!png_ || !info_)
            throw PictureError("there is not enough memory to read the picture");
        png_set_read_fn(png_, &input, readBytes);
    }
    ~PngRead() { png_destroy_read_struct(&png_, &info_, nullptr); }
    PngRead(const PngRead&) = delete;
    PngRead& operator=(const PngRead&) = delete;

    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

std::string reasonFor(const std::string& libpngMessage) {
    if (libpngMessage.find("ends before") != std::string::npos)
        return libpngMessage;
    return "the PNG data is damaged (" + libpngMessage + ")";
}

// Reads what follows png_read_info; separate from decodePng so that no object with a
// destructor lives in the frame that libpng's error jumps back to.
void readRows(PngRead& read, QImage& image, DecodeContext& context, int passes) {
    png_structp png = read.png();
    const int h = image.height();
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < h; ++y) {
            png_read_row(png, image.scanLine(y), nullptr);
            if ((y & 63) == 0)
                context.checkStop();
        }
    }
    png_read_end(png, read.info());
}

} // namespace

QImage decodePng(const QByteArray& bytes, DecodeContext& context) {
    PngInput input{reinterpret_cast<const unsigned char*>(bytes.constData()),
                   std::size_t(bytes.size()),
                   0,
                   {}};
    PngRead read(input);
    png_structp png = read.png();
    png_infop info = read.info();
    QImage image;
    if (setjmp(png_jmpbuf(png)))
        throw PictureError(reasonFor(input.error));
    // Sizes are checked by the context; libpng's own limits only guard its chunk memory.
    png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int colourType = png_get_color_type(png, info);
    const bool alpha =
        (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);

    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 profileLength = 0;
    if (png_get_iCCP(png, info, &name, &compression, &profile, &profileLength) && profile)
        context.iccProfile = QByteArray(reinterpret_cast<const char*>(profile), profileLength);
    png_uint_32 exifLength = 0;
    png_bytep exif = nullptr;
    if (png_get_eXIf_1(png, info, &exifLength, &exif) && exif)
        context.orientation =
            exifOrientation(QByteArray(reinterpret_cast<const char*>(exif), exifLength))
                .value_or(1);

    // Everything to 8-bit B, G, R, A in memory order (QImage's ARGB32 on a little-endian
    // machine): palettes and low depths expanded, tRNS to alpha, 16 bits scaled with
    // rounding, grey to colour, a filler where there is no alpha.
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
#else
    png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
    png_set_swap_alpha(png);
#endif
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != std::size_t(width) * 4)
        throw PictureError("the PNG's pixel layout cannot be read");

    // libpng keeps one row (two for interlaced pictures) of its own.
    image = context.allocate(QSize(int(std::min<png_uint_32>(width, 0x7fffffff)),
                                   int(std::min<png_uint_32>(height, 0x7fffffff))),
                             alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32,
                             std::uint64_t(width) * 16);
    readRows(read, image, context, passes);
    return image;
}

} // namespace qrb
