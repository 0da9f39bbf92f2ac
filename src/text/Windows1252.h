#pragma once
// Conversion between the program's UTF-8 texts and the 8-bit Windows-1252 bytes that
// position data files hold. 0x00-0x7F and 0xA0-0xFF map to the same code points;
// 0x80-0x9F map to typographic characters, except five bytes that stand for nothing
// (0x81, 0x8D, 0x8F, 0x90, 0x9D).

#include <optional>
#include <string>
#include <string_view>

namespace qrb {

// Empty when `utf8` is not valid UTF-8 or holds a character Windows-1252 cannot represent.
std::optional<std::string> utf8ToWindows1252(std::string_view utf8);

// Empty when `bytes` holds one of the five undefined bytes.
std::optional<std::string> windows1252ToUtf8(std::string_view bytes);

// Index of the first character of `utf8` that cannot be written in Windows-1252 (byte
// offset into `utf8`), or empty when every character can.
std::optional<std::size_t> firstUnrepresentable(std::string_view utf8);

// Byte offset of the first byte of `text` that does not start a well-formed UTF-8
// character, or empty when all of `text` is UTF-8.
std::optional<std::size_t> firstInvalidUtf8(std::string_view text);

} // namespace qrb
