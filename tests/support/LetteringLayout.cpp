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

PositionSlots laidOutLettering() {
    PositionSlots all;
    all[0] = slot("Harbour", "32,32", "000", 10, [](TextStyle& s) {
        s.layout.horizontal = HorizontalAnchor::Centre;
        s.layout.vertical = VerticalAnchor::Middle;
        s.layout.outlineWidth = 2;
    });
    all[1] = slot("North", "40,20", "037", 9, [](TextStyle& s) {
        s.layout.horizontal = HorizontalAnchor::Right;
        s.layout.shadowDx = 1;
        s.layout.shadowDy = 2;
    });
    all[2] = slot("Up", "10,32", "090", 12, [](TextStyle& s) {
        s.layout.horizontal = HorizontalAnchor::Centre;
        s.layout.vertical = VerticalAnchor::Bottom;
        s.textColour = palette::White;
        s.layout.outlineColour = palette::Black;
        s.layout.outlineWidth = 1;
    });
    all[3] = slot("Down under", "50,50", "180", 8, [](TextStyle& s) {
        s.layout.vertical = VerticalAnchor::Middle;
        s.layout.fitWidth = 30;
    });
    all[4] = slot("Almost level", "63,63", "359", 14, [](TextStyle& s) {
        s.layout.horizontal = HorizontalAnchor::Right;
        s.layout.vertical = VerticalAnchor::Bottom;
        s.layout.fitWidth = 40;
        s.layout.shadowColour = palette::DarkGrey;
        s.layout.shadowDx = -2;
        s.layout.shadowDy = 1;
        s.layout.outlineColour = palette::Red;
        s.layout.outlineWidth = 3;
    });
    all[5] = slot("plain", "2,50", "000", 8);
    return all;
}

} // namespace qrb::test
