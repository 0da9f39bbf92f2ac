#pragma once
// The characters of a table's texts that no installed font draws: they would show as
// empty boxes on the tiles. Each character is looked at once, with the face of the first
// slot that uses it (Qt's fallback to the system's fonts included).

#include "lettering/LetteringTable.h"
#include "text/PositionSlot.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace qrb {

struct UndrawableCharacter {
    char32_t character = 0;
    int line = 0;       // the first row that uses it
    std::string column; // and its column
};

class GlyphReport {
public:
    // At most this many characters are reported.
    static constexpr std::size_t kMax = 100;

    explicit GlyphReport(const PositionSlots& positionSlots) : slots_(positionSlots) {}
    // Looks at the texts of `row` (its icons' names are not text).
    void note(const LetteringRow& row);
    const std::vector<UndrawableCharacter>& undrawable() const { return undrawable_; }

private:
    const PositionSlots& slots_;
    std::unordered_set<char32_t> seen_;
    std::vector<UndrawableCharacter> undrawable_;
};

// "U+10FFFD".
std::string codePointName(char32_t character);

} // namespace qrb
