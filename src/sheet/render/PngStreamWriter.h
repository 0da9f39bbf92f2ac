#pragma once
// A PNG picture written row by row, top to bottom, so a page larger than the memory it may
// take is drawn and written a band of rows at a time. 8-bit RGB, each row filtered as
// PNG encoders usually choose (the filter whose output has the smallest sum), the
// resolution recorded.

#include <cstdint>
#include <memory>
#include <ostream>

namespace qrb {

class PngStreamWriter {
public:
    // Writes the picture's header for `width` x `height` pixels at `dotsPerMetre` to `out`.
    // Throws std::invalid_argument for a size PNG cannot hold.
    PngStreamWriter(std::ostream& out, int width, int height, int dotsPerMetre);
    ~PngStreamWriter();
    PngStreamWriter(const PngStreamWriter&) = delete;
    PngStreamWriter& operator=(const PngStreamWriter&) = delete;

    // The next row: `width` pixels 0xAARRGGBB (the alpha byte is not written).
    void writeRow(const std::uint32_t* pixels);
    // Ends the picture after its last row; throws std::logic_error when rows are missing.
    void finish();

    // The memory a writer of `width` pixels a row holds, besides the rows given to it.
    static std::uint64_t workingBytes(int width);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace qrb
