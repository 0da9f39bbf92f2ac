#include "lettering/IconMarkup.h"

#include "core/InputText.h"

namespace qrb {

std::vector<TextPiece> splitIcons(std::string_view text) {
    std::vector<TextPiece> pieces;
    std::string letters;
    const auto flush = [&] {
        if (!letters.empty())
            pieces.push_back({std::move(letters), false});
        letters.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '}') {
            if (i + 1 < text.size() && text[i + 1] == '}') {
                letters += '}';
                ++i;
                continue;
            }
            throw MarkupError("a } closes no icon; write }} for a brace");
        }
        if (c != '{') {
            letters += c;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '{') {
            letters += '{';
            ++i;
            continue;
        }
        const std::size_t close = text.find_first_of("{}", i + 1);
        if (close == std::string_view::npos || text[close] != '}')
            throw MarkupError("a { opens no icon; write {{ for a brace, {name} for an icon");
        const std::string_view name = text.substr(i + 1, close - i - 1);
        if (name.empty() || name.front() == '.' || name.find_first_of("/\\") != name.npos)
            throw MarkupError("the icon name " + quotedInput(name) +
                              " is not a file name of the icons' folder (no slash, not "
                              "starting with a dot)");
        flush();
        pieces.push_back({std::string(name), true});
        i = close;
    }
    flush();
    return pieces;
}

} // namespace qrb
