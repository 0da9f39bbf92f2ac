#include "picture/Decoders.h"

#include <cstdint>

namespace qrb {

std::optional<int> exifOrientation(const QByteArray& tiff) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(tiff.constData());
    const std::size_t size = std::size_t(tiff.size());
    if (size < 8)
        return std::nullopt;
    bool little = false;
    if (data[0] == 'I' && data[1] == 'I')
        little = true;
    else if (!(data[0] == 'M' && data[1] == 'M'))
        return std::nullopt;
    auto u16 = [&](std::size_t at) {
        return little ? std::uint32_t(data[at] | (data[at + 1] << 8))
                      : std::uint32_t((data[at] << 8) | data[at + 1]);
    };
    auto u32 = [&](std::size_t at) {
        return little ? u16(at) | (u16(at + 2) << 16) : (u16(at) << 16) | u16(at + 2);
    };
    if (u16(2) != 42)
        return std::nullopt;
    const std::size_t ifd = u32(4);
    if (ifd > size - 2)
        return std::nullopt;
    const std::size_t entries = u16(ifd);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t at = ifd + 2 + 12 * i;
        if (at > size - 12)
            return std::nullopt;
        if (u16(at) != 0x0112)
            continue;
        if (u16(at + 2) != 3 || u32(at + 4) != 1) // one SHORT
            return std::nullopt;
        const std::uint32_t value = u16(at + 8);
        if (value < 1 || value > 8)
            return std::nullopt;
        return int(value);
    }
    return std::nullopt;
}

} // namespace qrb
