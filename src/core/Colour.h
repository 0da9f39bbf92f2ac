#pragma once
// Colour values as the tile files and the style settings hold them: 32-bit 0x00BBGGRR
// (red in the lowest byte). A value with the top bit set names a system colour
// (0x80000000 + index) and is kept exactly as it is.

#include <cstdint>

namespace qrb {

using ColourValue = std::uint32_t;

constexpr ColourValue kSystemColourFlag = 0x80000000u;

constexpr ColourValue rgbColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return ColourValue(red) | (ColourValue(green) << 8) | (ColourValue(blue) << 16);
}
constexpr bool isSystemColour(ColourValue c) {
    return (c & kSystemColourFlag) != 0;
}
constexpr std::uint32_t systemColourIndex(ColourValue c) {
    return c & 0x7FFFFFFFu;
}
constexpr std::uint8_t redOf(ColourValue c) {
    return std::uint8_t(c & 0xFF);
}
constexpr std::uint8_t greenOf(ColourValue c) {
    return std::uint8_t((c >> 8) & 0xFF);
}
constexpr std::uint8_t blueOf(ColourValue c) {
    return std::uint8_t((c >> 16) & 0xFF);
}

// Fixed colours of the classic 16-colour palette used for marks and defaults.
namespace palette {
constexpr ColourValue Black = rgbColour(0, 0, 0);          // index 0
constexpr ColourValue DarkBlue = rgbColour(0, 0, 128);     // index 1
constexpr ColourValue DarkGrey = rgbColour(128, 128, 128); // index 8
constexpr ColourValue Red = rgbColour(255, 0, 0);
constexpr ColourValue White = rgbColour(255, 255, 255); // index 15
} // namespace palette

// System colours the program names.
namespace systemcolour {
constexpr ColourValue MenuBar = kSystemColourFlag | 4;    // menu background
constexpr ColourValue WindowText = kSystemColourFlag | 8; // window text
} // namespace systemcolour

} // namespace qrb
