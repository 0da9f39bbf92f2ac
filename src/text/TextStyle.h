#pragma once
// The look of a line of lettering: what the toolbar's font commands change, what the text
// box shows and what a position slot stores, with where the text sits on its position.

#include "core/Colour.h"
#include "text/TextLayout.h"

#include <string>

namespace qrb {

struct TextStyle {
    std::string face = "Arial"; // font face name, UTF-8
    float size = 8.0f;          // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    ColourValue textColour = palette::Black; // colour of the letters (RGB or system colour)
    ColourValue boxColour = palette::White;  // background of the boxes that show the style
    // Anchor, fit width, outline and shadow. Kept in the style so that the live text, the
    // slots, store, recall and the history carry it along with the font.
    TextLayout layout{};

    bool operator==(const TextStyle&) const = default;
};

// The style a cleared slot and a fresh editor use: Arial 8 points, plain, black on white.
inline TextStyle defaultTextStyle() {
    return TextStyle{};
}

} // namespace qrb
