#include "core/InputText.h"

#include <cstdio>

namespace qrb {

namespace {

// Length of the valid UTF-8 sequence at text[i], or 0.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::size_t n = 0;
    unsigned min = 0;
    if (b < 0x80) {
        return 1;
    } else if ((b & 0xE0) == 0xC0) {
        n = 2;
        min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        n = 3;
        min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        n = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + n > text.size()) {
        return 0;
    }
    unsigned value = b & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if ((c & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (c & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    return n;
}

bool isC1(std::string_view text, std::size_t i, std::size_t n) {
    return n == 2 && static_cast<unsigned char>(text[i]) == 0xC2 &&
           static_cast<unsigned char>(text[i + 1]) < 0xA0;
}

bool isC0(unsigned char b) {
    return b < 0x20 || b == 0x7F;
}

void appendEscape(std::string& out, std::string_view text, std::size_t i, std::size_t n) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b == '\n') {
        out += "\\n";
    } else if (b == '\t') {
        out += "\\t";
    } else if (b == '\r') {
        out += "\\r";
    } else {
        for (std::size_t k = 0; k < n; ++k) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(text[i + k]));
            out += hex;
        }
    }
}

// Appends up to `limit` characters of `text`, escaped; returns whether all of it went.
bool appendEscaped(std::string& out, std::string_view text, std::size_t limit) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (characters == limit) {
            return false;
        }
        const std::size_t n = sequenceLength(text, i);
        if (n == 0) {
            appendEscape(out, text, i, 1);
            i += 1;
        } else if ((n == 1 && isC0(static_cast<unsigned char>(text[i]))) || isC1(text, i, n)) {
            appendEscape(out, text, i, n);
            i += n;
        } else {
            out.append(text.substr(i, n));
            i += n;
        }
        ++characters;
    }
    return true;
}

} // namespace

std::string escapedControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendEscaped(out, text, std::string_view::npos);
    return out;
}

std::string quotedInput(std::string_view text, std::size_t limit, char quote) {
    std::string out(1, quote);
    if (appendEscaped(out, text, limit)) {
        return out + quote;
    }
    return out + "..." + quote + " (" + std::to_string(text.size()) + " bytes)";
}

std::size_t firstControlCharacter(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = sequenceLength(text, i);
        if (n == 1 && isC0(static_cast<unsigned char>(text[i]))) {
            return i;
        }
        if (isC1(text, i, n)) {
            return i;
        }
        i += n == 0 ? 1 : n;
    }
    return std::string_view::npos;
}

} // namespace qrb
