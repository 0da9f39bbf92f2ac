#pragma once
// Icons inside a table's text: "{coin}" stands for the icon named coin, "{{" and "}}" for a
// brace. Qt-free: the table checks the markup as it reads a row, the lettering splits the
// text again when it draws it.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qrb {

// A piece of a text: letters, or the name of an icon.
struct TextPiece {
    std::string text; // UTF-8 letters, or the icon's name
    bool icon = false;
    bool operator==(const TextPiece&) const = default;
};

// Markup that is not right; what() says why and how to write a brace.
class MarkupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// `text` as letters and icons, the braces taken out. An icon's name is not empty, has no
// slash or backslash and does not start with a dot (it names a file of the icons' folder).
// Throws MarkupError for a brace that is not doubled and opens or closes no name.
std::vector<TextPiece> splitIcons(std::string_view text);

// Whether `text` has a brace at all (a text without one is its own single piece).
inline bool hasMarkup(std::string_view text) {
    return text.find_first_of("{}") != std::string_view::npos;
}

} // namespace qrb
