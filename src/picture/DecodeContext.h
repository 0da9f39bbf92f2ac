#pragma once
// What every decoder of picture/ shares: the check of a declared size against the limits
// before anything is decoded, the stop request, and what the file says about the picture
// beside its pixels (colour profile, EXIF orientation).

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <cstdint>
#include <functional>
#include <stop_token>

namespace qrb {

class DecodeContext {
public:
    // `admit(size, bytes)` throws PictureError when a picture of `size` whose decoding
    // holds `bytes` may not be decoded.
    DecodeContext(std::stop_token stop, std::function<void(QSize, std::uint64_t)> admit)
        : stop_(std::move(stop)), admit_(std::move(admit)) {}

    // Checks `size` and the bytes decoding it holds beyond the picture itself (a
    // decoder's own buffers); throws PictureError when it may not be decoded.
    void admit(QSize size, std::uint64_t workingBytes = 0);
    // A picture of `size` in `format` (admitted first), not yet filled. Throws
    // PictureError when the memory cannot be had.
    QImage allocate(QSize size, QImage::Format format, std::uint64_t workingBytes = 0);
    // Throws PictureCancelled once a stop was requested.
    void checkStop() const;
    bool stopRequested() const { return stop_.stop_requested(); }
    // The most that a size admitted so far holds: a bound for a reader's own limit.
    std::uint64_t admitted() const { return admitted_; }

    std::uint64_t memoryLeft = 0;   // the whole of what the reading may take
    QByteArray iccProfile;          // as embedded, empty when none
    int orientation = 1;            // EXIF orientation, 1 to 8
    int vectorHeight = 0;           // above 0: the height to draw a vector picture at
    bool boundByMemoryLeft = false; // a reader limited itself by memoryLeft, not a size

private:
    std::stop_token stop_;
    std::function<void(QSize, std::uint64_t)> admit_;
    std::uint64_t admitted_ = 0;
};

} // namespace qrb
