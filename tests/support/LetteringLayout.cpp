#include "support/LetteringLayout.h"

namespace qrb::test {

namespace {

PositionSlot slot(
    const char* text, const char* position, const char* angle, float size,
    void (*style)(TextStyle&) = [](TextStyle&) {}) {
    PositionSlot s;
    s.text = text;
    s.position = position;
    s.angle = angle;
    s.style.size = size;
    style(s.style);
    return s;
}

} // namespace

PositionSlots letteringLayout() {
    PositionSlots all;
    all[0] = slot("NORTH", " 0, 20", "180", 6);
    all[1] = slot("East", "-5,-5", "037", 18, [](TextStyle& s) { s.bold = true; });
    all[2] = slot("S", "60,10", "090", 72, [](TextStyle& s) {
        s.italic = true;
        s.underline = true;
    });
    all[3] = slot("West wind", "30,63", "180", 12, [](TextStyle& s) {
        s.strikethrough = true;
        s.textColour = palette::White;
    });
    all[4] = slot("359", "0,0", "359", 9, [](TextStyle& s) { s.face = "Nonesuch Sans"; });
    all[5] = slot("Running off the tile's edge", "-3,30", "000", 24);
    all[6] = slot("abc", "-3,12", "+270", 10, [](TextStyle& s) { s.textColour = palette::Red; });
    all[8] = slot("Z", "63,63", "045", 40,
                  [](TextStyle& s) { s.bold = s.italic = s.underline = s.strikethrough = true; });
    return all;
}

} // namespace qrb::test
