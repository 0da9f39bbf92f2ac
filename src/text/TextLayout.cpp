#include "text/TextLayout.h"

#include <cstdio>

namespace qrb {

bool TextLayout::isValid() const {
    const auto within = [](int value, int low, int high) { return value >= low && value <= high; };
    return int(horizontal) <= int(HorizontalAnchor::Right) &&
           int(vertical) <= int(VerticalAnchor::Bottom) && within(fitWidth, 0, kMaxFitWidth) &&
           within(outlineWidth, 0, kMaxOutlineWidth) &&
           within(shadowDx, -kMaxShadowOffset, kMaxShadowOffset) &&
           within(shadowDy, -kMaxShadowOffset, kMaxShadowOffset) &&
           !isSystemColour(outlineColour) && !isSystemColour(shadowColour);
}

const char* anchorName(HorizontalAnchor anchor) {
    switch (anchor) {
    case HorizontalAnchor::Centre:
        return "centre";
    case HorizontalAnchor::Right:
        return "right";
    default:
        return "left";
    }
}

const char* anchorName(VerticalAnchor anchor) {
    switch (anchor) {
    case VerticalAnchor::Middle:
        return "middle";
    case VerticalAnchor::Bottom:
        return "bottom";
    default:
        return "top";
    }
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool sameWord(std::string_view word, std::string_view lower) {
    if (word.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = word[i] >= 'A' && word[i] <= 'Z' ? char(word[i] + 32) : word[i];
        if (c != lower[i])
            return false;
    }
    return true;
}

} // namespace

std::optional<Alignment> parseAlignment(std::string_view text) {
    Alignment result;
    std::size_t at = 0;
    bool any = false;
    while (at < text.size()) {
        if (isBlank(text[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && !isBlank(text[end]))
            ++end;
        const std::string_view word = text.substr(at, end - at);
        at = end;
        std::optional<HorizontalAnchor> h;
        std::optional<VerticalAnchor> v;
        if (sameWord(word, "left"))
            h = HorizontalAnchor::Left;
        else if (sameWord(word, "centre") || sameWord(word, "center"))
            h = HorizontalAnchor::Centre;
        else if (sameWord(word, "right"))
            h = HorizontalAnchor::Right;
        else if (sameWord(word, "top"))
            v = VerticalAnchor::Top;
        else if (sameWord(word, "middle"))
            v = VerticalAnchor::Middle;
        else if (sameWord(word, "bottom"))
            v = VerticalAnchor::Bottom;
        else
            return std::nullopt;
        if ((h && result.horizontal) || (v && result.vertical))
            return std::nullopt;
        if (h)
            result.horizontal = h;
        if (v)
            result.vertical = v;
        any = true;
    }
    if (!any)
        return std::nullopt;
    return result;
}

std::optional<ColourValue> parseHexColour(std::string_view text) {
    if (text.size() != 7 || text[0] != '#')
        return std::nullopt;
    unsigned value = 0;
    for (std::size_t i = 1; i < 7; ++i) {
        const char c = text[i];
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = unsigned(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = unsigned(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = unsigned(c - 'A' + 10);
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    return rgbColour(std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value));
}

std::string hexColour(ColourValue colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", unsigned(redOf(colour)),
                  unsigned(greenOf(colour)), unsigned(blueOf(colour)));
    return text;
}

} // namespace qrb
