#pragma once
// The nine stored text placements ("slots"): each keeps a text with its style, the position
// it was stored at and its angle, and a one-line description shown as the slot's tooltip.

#include "text/TextStyle.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace qrb {

struct PositionSlot {
    std::string text;        // UTF-8; empty means the slot is empty
    TextStyle style;         // the text's style
    std::string position;    // "x,y" in pixels, e.g. "10,20" or "-5,120"
    std::string angle;       // angle text as stored, normally "000" to "359"
    std::string description; // e.g. "Font = Arial, Size = 8, Degrees = 045"

    bool isEmpty() const { return text.empty(); }
    bool operator==(const PositionSlot&) const = default;
};

// The slots 0 to 8.
class PositionSlots {
public:
    static constexpr std::size_t kCount = 9;

    // The start-up state: positions "0,0", "5,5" ... "40,40" (slot k at 5k,5k), empty texts,
    // angles and descriptions, default style.
    PositionSlots();

    // Back to the cleared state: as at start-up but with the angle "0".
    void clear();

    // Slot k, 0 <= k < 9; throws std::out_of_range otherwise.
    PositionSlot& at(std::size_t k);
    const PositionSlot& at(std::size_t k) const;
    PositionSlot& operator[](std::size_t k) { return slots_[k]; }
    const PositionSlot& operator[](std::size_t k) const { return slots_[k]; }

    std::array<PositionSlot, kCount>& all() { return slots_; }
    const std::array<PositionSlot, kCount>& all() const { return slots_; }

    bool operator==(const PositionSlots&) const = default;

    // "5k,5k": slot k's position at start-up and after clear().
    static std::string initialPosition(std::size_t k);

    // The slot tooltip: "Font = <face>, Size = <shortest size>, Degrees = <angle as 000>".
    // A numeric angle text is rounded half to even and formatted "000" ("0" -> "000",
    // "45" -> "045"); a text that is not a number is shown as it is.
    static std::string describe(const TextStyle& style, std::string_view angleText);

private:
    std::array<PositionSlot, kCount> slots_;
};

// Whether a stored angle is a number: decimal with optional sign, fraction and exponent,
// blanks around it ignored ("45", " 12.5 ", "-1", "1e2"), finite and within -32768 to
// 32767 ("abc", "NaN" and "1e309" are not). An empty angle (the start-up one) is drawn
// as 0 and counts as one too.
bool isSlotAngle(std::string_view text);

// Whether a stored position is two whole numbers from -32768 to 32767 separated by one
// comma, blanks around each ignored ("10,20", "-5, 120"; not "1e9,1e9", "abc" or "1.5,2").
bool isSlotPosition(std::string_view text);

// At least three digits: 5 -> "005", 45 -> "045", 359 -> "359", -5 -> "-005".
std::string formatAngle(int degrees);

// The shortest decimal text that reads back as the same float: 8 -> "8", 8.5 -> "8.5",
// 9.75 -> "9.75".
std::string shortestDecimal(float value);

} // namespace qrb
