#include "sheet/render/PngStreamWriter.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace qrb {

namespace {

constexpr std::size_t kPixelBytes = 3;         // 8-bit R, G, B
constexpr std::size_t kChunkBytes = 64 * 1024; // compressed bytes per IDAT chunk
constexpr int kFilters = 5;                    // none, sub, up, average, Paeth
// zlib's own state at the default level: its window and hash tables, with room to spare.
constexpr std::uint64_t kDeflateBytes = 300 * 1024;

void put32(std::uint8_t* at, std::uint32_t value) {
    at[0] = std::uint8_t(value >> 24);
    at[1] = std::uint8_t(value >> 16);
    at[2] = std::uint8_t(value >> 8);
    at[3] = std::uint8_t(value);
}

void writeChunk(std::ostream& out, const char* type, const std::uint8_t* data, std::size_t size) {
    std::uint8_t head[8];
    put32(head, std::uint32_t(size));
    std::copy(type, type + 4, head + 4);
    out.write(reinterpret_cast<const char*>(head), sizeof head);
    uLong crc = crc32(0, head + 4, 4);
    // An empty chunk (IEND) has no bytes: no buffer to pass on, nor to sum (crc32() of no
    // buffer gives its starting value, not the sum so far).
    if (size > 0) {
        crc = crc32(crc, data, uInt(size));
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    std::uint8_t tail[4];
    put32(tail, std::uint32_t(crc));
    out.write(reinterpret_cast<const char*>(tail), sizeof tail);
}

std::uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    return std::uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

} // namespace

struct PngStreamWriter::Impl {
    std::ostream& out;
    int height = 0;
    int rowsWritten = 0;
    std::size_t rowBytes = 0;
    std::vector<std::uint8_t> previous; // the row above, unfiltered (zeros above the first)
    std::vector<std::uint8_t> current;
    std::array<std::vector<std::uint8_t>, kFilters> filtered; // filter byte, then the row
    std::vector<std::uint8_t> compressed;
    z_stream z{};
    bool deflating = false;

    explicit Impl(std::ostream& o) : out(o) {}
    ~Impl() {
        if (deflating)
            deflateEnd(&z);
    }

    // Compresses what is in z's input; full chunks go out as they fill.
    void pump(int flush) {
        for (;;) {
            const int result = deflate(&z, flush);
            if (result == Z_STREAM_ERROR)
                throw std::runtime_error("the picture could not be compressed");
            if (z.avail_out == 0) {
                writeChunk(out, "IDAT", compressed.data(), compressed.size());
                z.next_out = compressed.data();
                z.avail_out = uInt(compressed.size());
                continue;
            }
            if (flush == Z_FINISH ? result == Z_STREAM_END : z.avail_in == 0)
                return;
        }
    }
};

PngStreamWriter::PngStreamWriter(std::ostream& out, int width, int height, int dotsPerMetre)
    : impl_(std::make_unique<Impl>(out)) {
    if (width < 1 || height < 1 || std::size_t(width) > (SIZE_MAX - 1) / kPixelBytes)
        throw std::invalid_argument("a PNG picture has at least one pixel a side");
    Impl& d = *impl_;
    d.height = height;
    d.rowBytes = std::size_t(width) * kPixelBytes;
    d.previous.assign(d.rowBytes, 0);
    d.current.resize(d.rowBytes);
    for (auto& row : d.filtered)
        row.resize(d.rowBytes + 1);
    d.compressed.resize(kChunkBytes);
    if (deflateInit(&d.z, Z_DEFAULT_COMPRESSION) != Z_OK)
        throw std::runtime_error("the picture could not be compressed");
    d.deflating = true;
    d.z.next_out = d.compressed.data();
    d.z.avail_out = uInt(d.compressed.size());

    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    out.write(reinterpret_cast<const char*>(kSignature), sizeof kSignature);
    std::uint8_t header[13] = {};
    put32(header, std::uint32_t(width));
    put32(header + 4, std::uint32_t(height));
    header[8] = 8; // bits per sample
    header[9] = 2; // RGB
    writeChunk(out, "IHDR", header, sizeof header);
    std::uint8_t resolution[9] = {};
    put32(resolution, std::uint32_t(dotsPerMetre));
    put32(resolution + 4, std::uint32_t(dotsPerMetre));
    resolution[8] = 1; // per metre
    writeChunk(out, "pHYs", resolution, sizeof resolution);
}

PngStreamWriter::~PngStreamWriter() = default;

void PngStreamWriter::writeRow(const std::uint32_t* pixels) {
    Impl& d = *impl_;
    if (d.rowsWritten == d.height)
        throw std::logic_error("more rows than the picture has");
    std::uint8_t* x = d.current.data();
    for (std::size_t i = 0; i < d.rowBytes / kPixelBytes; ++i) {
        x[3 * i] = std::uint8_t(pixels[i] >> 16);
        x[3 * i + 1] = std::uint8_t(pixels[i] >> 8);
        x[3 * i + 2] = std::uint8_t(pixels[i]);
    }
    const std::uint8_t* b = d.previous.data();
    std::array<std::uint64_t, kFilters> sums{};
    for (int f = 0; f < kFilters; ++f)
        d.filtered[std::size_t(f)][0] = std::uint8_t(f);
    for (std::size_t i = 0; i < d.rowBytes; ++i) {
        const int a = i >= kPixelBytes ? x[i - kPixelBytes] : 0;
        const int c = i >= kPixelBytes ? b[i - kPixelBytes] : 0;
        const std::array<std::uint8_t, kFilters> value{
            x[i], std::uint8_t(x[i] - a), std::uint8_t(x[i] - b[i]),
            std::uint8_t(x[i] - (a + b[i]) / 2), std::uint8_t(x[i] - paeth(a, b[i], c))};
        for (int f = 0; f < kFilters; ++f) {
            d.filtered[std::size_t(f)][i + 1] = value[std::size_t(f)];
            // Bytes read as signed: small differences either way cost little.
            sums[std::size_t(f)] +=
                std::min<int>(value[std::size_t(f)], 256 - value[std::size_t(f)]);
        }
    }
    std::size_t best = 0;
    for (std::size_t f = 1; f < kFilters; ++f)
        best = sums[f] < sums[best] ? f : best;
    d.z.next_in = d.filtered[best].data();
    d.z.avail_in = uInt(d.filtered[best].size());
    d.pump(Z_NO_FLUSH);
    d.previous.swap(d.current);
    ++d.rowsWritten;
}

void PngStreamWriter::finish() {
    Impl& d = *impl_;
    if (d.rowsWritten != d.height)
        throw std::logic_error("the picture's rows are not all written");
    d.z.avail_in = 0;
    d.pump(Z_FINISH);
    const std::size_t left = d.compressed.size() - d.z.avail_out;
    if (left > 0)
        writeChunk(d.out, "IDAT", d.compressed.data(), left);
    writeChunk(d.out, "IEND", nullptr, 0);
    deflateEnd(&d.z);
    d.deflating = false;
}

std::uint64_t PngStreamWriter::workingBytes(int width) {
    const std::uint64_t row = std::uint64_t(width) * kPixelBytes + 1;
    return (kFilters + 2) * row + kChunkBytes + kDeflateBytes;
}

} // namespace qrb
