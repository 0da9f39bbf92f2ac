// The first picture of a GIF, decoded here: global and local palettes, transparency,
// interlacing, the frame placed on the logical screen (the rest transparent). Image data
// that is cut before every pixel is decoded, or holds a code the LZW table does not have,
// refuses the picture; a whole picture with a missing end code or trailer is read.

#include "picture/Decoders.h"
#include "picture/PictureError.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qrb {

namespace {

[[noreturn]] void truncated() {
    throw PictureError("the data ends before the picture does");
}

[[noreturn]] void damaged(const std::string& what) {
    throw PictureError("the GIF is damaged: " + what);
}

class Reader {
public:
    explicit Reader(const QByteArray& bytes)
        : data_(reinterpret_cast<const std::uint8_t*>(bytes.constData())),
          size_(std::size_t(bytes.size())) {}
    bool atEnd() const { return at_ >= size_; }
    std::uint8_t u8() {
        if (at_ >= size_)
            truncated();
        return data_[at_++];
    }
    std::uint16_t u16() {
        const std::uint8_t low = u8();
        return std::uint16_t(low | (u8() << 8));
    }
    void skip(std::size_t count) {
        if (count > size_ - at_)
            truncated();
        at_ += count;
    }
    void skipSubBlocks() {
        for (std::uint8_t n = u8(); n != 0; n = u8())
            skip(n);
    }
    std::vector<QRgb> palette(int entries) {
        std::vector<QRgb> colours;
        colours.reserve(std::size_t(entries));
        for (int i = 0; i < entries; ++i) {
            const std::uint8_t r = u8();
            const std::uint8_t g = u8();
            colours.push_back(qRgb(r, g, u8()));
        }
        return colours;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// The LZW codes of one picture, read across its data sub-blocks. Returns -1 once the data
// ends (the terminator block or the end of the file).
class CodeReader {
public:
    explicit CodeReader(Reader& in) : in_(in) {}
    int next(int bits) {
        while (count_ < bits) {
            if (left_ == 0) {
                if (ended_ || in_.atEnd())
                    return -1;
                left_ = in_.u8();
                if (left_ == 0) {
                    ended_ = true;
                    return -1;
                }
            }
            if (in_.atEnd())
                return -1;
            buffer_ |= std::uint32_t(in_.u8()) << count_;
            count_ += 8;
            --left_;
        }
        const int code = int(buffer_ & ((1u << bits) - 1));
        buffer_ >>= bits;
        count_ -= bits;
        return code;
    }

private:
    Reader& in_;
    std::uint32_t buffer_ = 0;
    int count_ = 0;
    int left_ = 0;
    bool ended_ = false;
};

// Where the k-th decoded row of an interlaced picture goes.
class RowOrder {
public:
    RowOrder(int height, bool interlaced) : height_(height), interlaced_(interlaced) {}
    int row(int k) const {
        if (!interlaced_)
            return k;
        static constexpr int start[4] = {0, 4, 2, 1};
        static constexpr int step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass) {
            const int rows =
                start[pass] < height_ ? (height_ - start[pass] + step[pass] - 1) / step[pass] : 0;
            if (k < rows)
                return start[pass] + k * step[pass];
            k -= rows;
        }
        return height_ - 1;
    }

private:
    int height_;
    bool interlaced_;
};

} // namespace

QImage decodeGif(const QByteArray& bytes, DecodeContext& context) {
    Reader in(bytes);
    in.skip(6); // GIF87a / GIF89a
    const int screenWidth = in.u16();
    const int screenHeight = in.u16();
    const std::uint8_t flags = in.u8();
    in.skip(2); // background colour, aspect
    std::vector<QRgb> global;
    if (flags & 0x80)
        global = in.palette(2 << (flags & 7));
    int transparent = -1;
    for (;;) {
        const std::uint8_t block = in.u8();
        if (block == 0x3B)
            throw PictureError("the GIF holds no picture");
        if (block == 0x21) {
            const std::uint8_t label = in.u8();
            if (label == 0xF9) {
                const std::uint8_t size = in.u8();
                if (size < 4)
                    damaged("its graphic control block is too short");
                const std::uint8_t packed = in.u8();
                in.skip(2);
                const std::uint8_t index = in.u8();
                transparent = (packed & 1) ? index : -1;
                in.skip(size - 4u);
            }
            in.skipSubBlocks();
            continue;
        }
        if (block != 0x2C)
            damaged("an unknown block " + std::to_string(block));
        break;
    }
    const int left = in.u16();
    const int top = in.u16();
    const int w = in.u16();
    const int h = in.u16();
    const std::uint8_t imageFlags = in.u8();
    const std::vector<QRgb> palette =
        (imageFlags & 0x80) ? in.palette(2 << (imageFlags & 7)) : global;
    if (palette.empty())
        damaged("its picture has no colour table");
    const int minimumCodeSize = in.u8();
    if (minimumCodeSize < 1 || minimumCodeSize > 11)
        damaged("its LZW code size is " + std::to_string(minimumCodeSize));
    if (w == 0 || h == 0)
        throw PictureError("the picture has no pixels");

    const QSize canvas(std::max(screenWidth, left + w), std::max(screenHeight, top + h));
    QImage image = context.allocate(canvas, QImage::Format_ARGB32);
    if (canvas != QSize(w, h))
        image.fill(Qt::transparent);

    const RowOrder order(h, (imageFlags & 0x40) != 0);
    const int clear = 1 << minimumCodeSize;
    const int end = clear + 1;
    std::array<std::uint16_t, 4096> prefix{};
    std::array<std::uint8_t, 4096> suffix{};
    std::array<std::uint8_t, 4096> stack{};
    int next = clear + 2;
    int codeSize = minimumCodeSize + 1;
    int previous = -1;
    std::uint8_t first = 0;
    const std::uint64_t total = std::uint64_t(w) * std::uint64_t(h);
    std::uint64_t done = 0;
    QRgb* row = nullptr;
    auto put = [&](std::uint8_t index) {
        if (done >= total)
            return; // data past the picture is ignored
        const int x = int(done % std::uint64_t(w));
        if (x == 0) {
            const int k = int(done / std::uint64_t(w));
            if ((k & 63) == 0)
                context.checkStop();
            row = reinterpret_cast<QRgb*>(image.scanLine(top + order.row(k))) + left;
        }
        row[x] = index == transparent ? qRgba(0, 0, 0, 0)
                                      : (index < palette.size() ? palette[index] : qRgb(0, 0, 0));
        ++done;
    };
    CodeReader codes(in);
    while (done < total) {
        const int code = codes.next(codeSize);
        if (code < 0)
            break;
        if (code == clear) {
            next = clear + 2;
            codeSize = minimumCodeSize + 1;
            previous = -1;
            continue;
        }
        if (code == end)
            break;
        if (previous < 0) {
            if (code >= clear)
                damaged("its picture data holds a code the table does not have");
            first = std::uint8_t(code);
            put(first);
            previous = code;
            continue;
        }
        int at = 0;
        int walk = code;
        if (code == next) {
            stack[std::size_t(at++)] = first;
            walk = previous;
        } else if (code > next) {
            damaged("its picture data holds a code the table does not have");
        }
        while (walk >= clear) {
            stack[std::size_t(at++)] = suffix[std::size_t(walk)];
            walk = prefix[std::size_t(walk)];
        }
        stack[std::size_t(at++)] = std::uint8_t(walk);
        first = std::uint8_t(walk);
        while (at > 0)
            put(stack[std::size_t(--at)]);
        if (next < 4096) {
            prefix[std::size_t(next)] = std::uint16_t(previous);
            suffix[std::size_t(next)] = first;
            ++next;
            if (next == (1 << codeSize) && codeSize < 12)
                ++codeSize;
        }
        previous = code;
    }
    if (done < total)
        throw PictureError("the GIF's picture data is cut short: " + std::to_string(done) + " of " +
                           std::to_string(total) + " pixels");
    if (transparent < 0 && canvas == QSize(w, h))
        image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

} // namespace qrb
