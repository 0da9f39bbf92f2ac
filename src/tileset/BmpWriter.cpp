#include "tileset/BmpWriter.h"

#include "core/AtomicFile.h"
#include "core/FileError.h"

#include <array>
#include <cstring>
#include <stdexcept>

namespace qrb {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

std::array<std::uint8_t, kFileHeaderSize + kInfoHeaderSize> headersFor(const DibImage& image) {
    if (image.isEmpty()) {
        throw std::invalid_argument("an empty image cannot be saved as a bitmap");
    }
    std::array<std::uint8_t, kFileHeaderSize + kInfoHeaderSize> h{};
    std::size_t at = 0;
    auto u16 = [&](std::uint32_t v) {
        h[at++] = std::uint8_t(v);
        h[at++] = std::uint8_t(v >> 8);
    };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    const auto imageBytes = static_cast<std::uint32_t>(image.bytes().size());
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;
    h[at++] = 'B';
    h[at++] = 'M';
    u32(pixelOffset + imageBytes); // file size
    u16(0);                        // reserved
    u16(0);
    u32(pixelOffset);
    u32(kInfoHeaderSize);
    u32(static_cast<std::uint32_t>(image.width()));
    u32(static_cast<std::uint32_t>(image.height())); // positive: bottom row first
    u16(1);                                          // planes
    u16(24);                                         // bits per pixel
    u32(0);                                          // no compression
    u32(imageBytes);
    u32(0); // resolution
    u32(0);
    u32(0); // colours used
    u32(0); // colours important
    return h;
}

} // namespace

std::vector<std::uint8_t> BmpWriter::toBytes(const DibImage& image) {
    const auto headers = headersFor(image);
    std::vector<std::uint8_t> bytes(headers.size() + image.bytes().size());
    std::memcpy(bytes.data(), headers.data(), headers.size());
    std::memcpy(bytes.data() + headers.size(), image.bytes().data(), image.bytes().size());
    return bytes;
}

void BmpWriter::write(std::ostream& out, const DibImage& image) {
    const auto headers = headersFor(image);
    out.write(reinterpret_cast<const char*>(headers.data()), headers.size());
    out.write(reinterpret_cast<const char*>(image.bytes().data()),
              static_cast<std::streamsize>(image.bytes().size()));
    if (!out) {
        throw std::runtime_error("the bitmap could not be written");
    }
}

void BmpWriter::writeFile(const std::filesystem::path& path, const DibImage& image) {
    try {
        AtomicFile file(path, AtomicFile::Options{.removeLeftTemporaries = false});
        write(file.stream(), image);
        file.commit();
    } catch (const FileError&) {
        throw;
    } catch (const std::exception& e) {
        throw FileError(path, std::string("cannot write: ") + e.what());
    }
}

} // namespace qrb
