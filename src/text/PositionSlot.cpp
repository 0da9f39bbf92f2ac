#include "text/PositionSlot.h"

#include "core/CheckedNumeric.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace qrb {

PositionSlots::PositionSlots() {
    for (std::size_t k = 0; k < kCount; ++k) {
        slots_[k].position = initialPosition(k);
    }
}

void PositionSlots::clear() {
    for (std::size_t k = 0; k < kCount; ++k) {
        PositionSlot cleared;
        cleared.position = initialPosition(k);
        cleared.angle = std::string(1, '0');
        slots_[k] = std::move(cleared);
    }
}

PositionSlot& PositionSlots::at(std::size_t k) {
    if (k >= kCount) {
        throw std::out_of_range("position slot " + std::to_string(k) + " does not exist");
    }
    return slots_[k];
}

const PositionSlot& PositionSlots::at(std::size_t k) const {
    return const_cast<PositionSlots*>(this)->at(k);
}

std::string PositionSlots::initialPosition(std::size_t k) {
    const std::string n = std::to_string(5 * k);
    return n + "," + n;
}

namespace {

// The angle text as a number, when the whole text (blanks around it aside) is one.
std::optional<double> angleNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string_view withoutBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool isWhole16(std::string_view text) {
    text = withoutBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size() &&
           value >= -32768 && value <= 32767;
}

} // namespace

bool isSlotAngle(std::string_view text) {
    text = withoutBlanks(text);
    if (text.empty()) {
        return true; // the start-up angle, drawn as 0
    }
    const auto number = angleNumber(text);
    return number && *number > -32768.5 && *number < 32767.5;
}

bool isSlotPosition(std::string_view text) {
    const std::size_t comma = text.find(',');
    return comma != std::string_view::npos && isWhole16(text.substr(0, comma)) &&
           isWhole16(text.substr(comma + 1));
}

std::string PositionSlots::describe(const TextStyle& style, std::string_view angleText) {
    std::string degrees(angleText);
    if (const auto number = angleNumber(angleText)) {
        if (const auto whole = tryToInt32(*number)) {
            degrees = formatAngle(*whole);
        }
    }
    return "Font = " + style.face + ", Size = " + shortestDecimal(style.size) +
           ", Degrees = " + degrees;
}

std::string formatAngle(int degrees) {
    char buffer[16];
    const long long value = degrees;
    std::snprintf(buffer, sizeof buffer, value < 0 ? "-%03lld" : "%03lld",
                  value < 0 ? -value : value);
    return buffer;
}

std::string shortestDecimal(float value) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc()) {
        return "0";
    }
    return std::string(buffer, end);
}

} // namespace qrb
