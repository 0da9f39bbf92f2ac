#include "sheet/Length.h"

#include "core/InputText.h"
#include "sheet/Keyword.h"
#include "sheet/SheetError.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>

namespace qrb {

namespace {

constexpr std::array<std::pair<std::string_view, double>, 4> kUnits{{
    {"mm", 1.0},
    {"cm", 10.0},
    {"in", kMmPerInch},
    {"pt", kMmPerPoint},
}};

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

struct SplitLength {
    std::string_view number;
    std::string_view unit; // empty for a bare number
};

SplitLength split(std::string_view text) {
    text = trimmed(text);
    std::size_t end = text.size();
    while (end > 0 && std::isalpha(static_cast<unsigned char>(text[end - 1]))) {
        --end;
    }
    return {trimmed(text.substr(0, end)), text.substr(end)};
}

[[noreturn]] void notALength(std::string_view text, const std::string& why) {
    throw SheetError(quotedInput(text, 60, '\'') + " is not a length: " + why);
}

} // namespace

double parseLength(std::string_view text) {
    const SplitLength parts = split(text);
    double factor = 0;
    if (parts.unit.empty()) {
        factor = 1.0;
    } else {
        for (const auto& [name, mm] : kUnits) {
            if (isKeyword(parts.unit, name)) {
                factor = mm;
            }
        }
        if (factor == 0) {
            notALength(text, "the unit must be mm, cm, in or pt");
        }
    }
    std::string_view number = parts.number;
    // from_chars takes a minus sign but no plus sign; "+-1" stays an error.
    if (number.size() > 1 && number.front() == '+' && number[1] != '-') {
        number.remove_prefix(1);
    }
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(number.data(), end, value);
    if (number.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) {
        notALength(text, "expected a number such as 30, 30mm, 1.5in or 12pt");
    }
    const double mm = value * factor;
    if (!std::isfinite(mm)) {
        notALength(text, "the number is too large");
    }
    return mm;
}

PointMm parseLengthPair(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos || text.find(',', comma + 1) != std::string_view::npos) {
        throw SheetError(quotedInput(text, 60, '\'') + " is not a pair of lengths: expected X,Y");
    }
    return {parseLength(text.substr(0, comma)), parseLength(text.substr(comma + 1))};
}

std::optional<std::string> lengthUnit(std::string_view text) {
    const SplitLength parts = split(text);
    if (parts.unit.empty()) {
        return std::nullopt;
    }
    return std::string(parts.unit);
}

std::string formatMm(double mm) {
    char text[64];
    if (!(std::abs(mm) < 1e7)) {
        // Lengths no page has (1e308 typed by mistake): a short exponent form, not hundreds
        // of digits.
        std::snprintf(text, sizeof text, "%.4g", mm);
        return text;
    }
    std::snprintf(text, sizeof text, "%.2f", mm);
    std::string out = text;
    if (out.find('.') != std::string::npos) {
        while (out.back() == '0') {
            out.pop_back();
        }
        if (out.back() == '.') {
            out.pop_back();
        }
    }
    if (out == "-0") {
        out = "0";
    }
    return out;
}

} // namespace qrb
