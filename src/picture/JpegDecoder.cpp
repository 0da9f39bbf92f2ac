// JPEG through libjpeg: baseline and progressive, grey, colour and Adobe CMYK, with the
// EXIF orientation and the colour profile read from their markers. Data that ends before
// the picture does or is corrupt refuses the picture, where libjpeg would only warn and
// fill the rest with grey; a single-scan file whose pixels are all there but whose end
// marker is missing is read.

#include "picture/Decoders.h"
#include "picture/PictureError.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include <jerror.h>

#include <csetjmp>
#include <cstring>
#include <limits>
#include <string>

namespace qrb {

namespace {

// More scans than any encoder writes: a file of endless tiny scans would otherwise make
// libjpeg pass over the whole picture again and again.
constexpr int kMaxScans = 1000;

struct JpegErrors {
    jpeg_error_mgr manager;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    const DecodeContext* context = nullptr;
    bool sawEnd = false; // the data ended without an end marker
    bool cancelled = false;
    std::string message;
};

JpegErrors& errorsOf(j_common_ptr info) {
    return *reinterpret_cast<JpegErrors*>(info->err);
}

[[noreturn]] void jump(j_common_ptr info) {
    std::longjmp(errorsOf(info).jump, 1);
}

void keepFirst(j_common_ptr info, const std::string& message) {
    JpegErrors& errors = errorsOf(info);
    if (errors.message.empty())
        errors.message = message;
}

std::string libjpegMessage(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX] = {};
    info->err->format_message(info, text);
    return text;
}

void onError(j_common_ptr info) {
    keepFirst(info, "the JPEG data is damaged (" + libjpegMessage(info) + ")");
    jump(info);
}

// Warnings that mean pixels were not decoded from the file end the reading; the others
// (extra bytes between markers, say) leave a whole picture. Nothing is printed.
void onMessage(j_common_ptr info, int level) {
    if (level >= 0)
        return;
    const int code = info->err->msg_code;
    // The end of the data alone may come after every pixel was decoded (only the end
    // marker missing); data the decoder needed and did not find is a HIT_MARKER.
    if (code == JWRN_JPEG_EOF) {
        errorsOf(info).sawEnd = true;
        return;
    }
    if (code == JWRN_HIT_MARKER && errorsOf(info).sawEnd) {
        keepFirst(info, "the data ends before the picture does");
        jump(info);
    }
    if (code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC || code == JWRN_HUFF_BAD_CODE ||
        code == JWRN_NOT_SEQUENTIAL) {
        keepFirst(info, "the JPEG data is damaged (" + libjpegMessage(info) + ")");
        jump(info);
    }
}

void onProgress(j_common_ptr info) {
    JpegErrors& errors = errorsOf(info);
    if (errors.context->stopRequested()) {
        errors.cancelled = true;
        jump(info);
    }
    if (info->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
        keepFirst(info, "the JPEG has more than " + std::to_string(kMaxScans) + " scans");
        jump(info);
    }
}

class JpegRead {
public:
    JpegRead() = default;
    ~JpegRead() { jpeg_destroy_decompress(&info); }
    JpegRead(const JpegRead&) = delete;
    JpegRead& operator=(const JpegRead&) = delete;
    jpeg_decompress_struct info{};
};

// The bytes libjpeg keeps beside the picture: for a progressive or multi-scan file the
// coefficients of the whole picture, two bytes each.
std::uint64_t workingBytes(const jpeg_decompress_struct& info) {
    std::uint64_t bytes = std::uint64_t(info.image_width) * 64;
    if (info.progressive_mode || info.comps_in_scan < info.num_components) {
        for (int c = 0; c < info.num_components; ++c) {
            const jpeg_component_info& component = info.comp_info[c];
            bytes += std::uint64_t(component.width_in_blocks) * component.height_in_blocks * 128;
        }
    }
    return bytes;
}

void readMetadata(jpeg_decompress_struct& info, DecodeContext& context) {
    for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length > 6 &&
            std::memcmp(marker->data, "Exif\0\0", 6) == 0) {
            context.orientation =
                exifOrientation(QByteArray(reinterpret_cast<const char*>(marker->data) + 6,
                                           qsizetype(marker->data_length - 6)))
                    .value_or(1);
        }
    }
    JOCTET* profile = nullptr;
    unsigned int length = 0;
    if (jpeg_read_icc_profile(&info, &profile, &length) && profile) {
        context.iccProfile = QByteArray(reinterpret_cast<const char*>(profile), length);
        std::free(profile);
    }
}

// Everything between the header and the end; no object with a destructor lives here, so
// libjpeg's error jump may leave it.
void readRows(jpeg_decompress_struct& info, QImage& image, QByteArray& cmykRow) {
    jpeg_start_decompress(&info);
    const int w = image.width();
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        if (cmykRow.isEmpty()) {
            JSAMPROW row = image.scanLine(y);
            jpeg_read_scanlines(&info, &row, 1);
        } else {
            auto* cmyk = reinterpret_cast<unsigned char*>(cmykRow.data());
            JSAMPROW row = cmyk;
            jpeg_read_scanlines(&info, &row, 1);
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
            // Adobe's CMYK, as every program writes it, is stored inverted.
            for (int x = 0; x < w; ++x, cmyk += 4) {
                const int k = cmyk[3];
                out[x] = qRgb((cmyk[0] * k + 127) / 255, (cmyk[1] * k + 127) / 255,
                              (cmyk[2] * k + 127) / 255);
            }
        }
    }
    jpeg_finish_decompress(&info);
}

} // namespace

QImage decodeJpeg(const QByteArray& bytes, DecodeContext& context) {
    JpegErrors errors;
    errors.context = &context;
    JpegRead read;
    jpeg_decompress_struct& info = read.info;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = onError;
    errors.manager.emit_message = onMessage;
    errors.manager.output_message = [](j_common_ptr) {};
    QImage image;
    QByteArray cmykRow;
    if (setjmp(errors.jump)) {
        if (errors.cancelled)
            throw PictureCancelled();
        throw PictureError(errors.message);
    }
    jpeg_create_decompress(&info);
    errors.progress.progress_monitor = onProgress;
    info.progress = &errors.progress;
    info.mem->max_memory_to_use =
        long(std::min<std::uint64_t>(context.memoryLeft, std::numeric_limits<long>::max()));
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    readMetadata(info, context);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
#else
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_XRGB;
#endif
    info.dct_method = JDCT_ISLOW;
    const QSize size(int(std::min<JDIMENSION>(info.image_width, 0x7fffffff)),
                     int(std::min<JDIMENSION>(info.image_height, 0x7fffffff)));
    image = context.allocate(size, QImage::Format_RGB32, workingBytes(info));
    if (cmyk)
        cmykRow = QByteArray(qsizetype(size.width()) * 4, '\0');
    const bool severalScans = info.progressive_mode || info.comps_in_scan < info.num_components;
    readRows(info, image, cmykRow);
    // A file of several scans that ends early may have lost whole scans: what came is
    // whole, but the picture is not.
    if (errors.sawEnd && severalScans)
        throw PictureError("the data ends before the picture does");
    return image;
}

} // namespace qrb
