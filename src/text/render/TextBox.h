#pragma once
// Lettering that wraps in a box, with icons among its letters: the lines break at spaces
// (a word longer than the box breaks between characters) and at the text's own line
// breaks, follow the font's line spacing, are aligned in the box as the layout's anchor
// says, and shrink a point at a time, down to 6, until they fit; what still does not fit
// is cut at the box. The box turns with the text. Characters the face lacks are drawn with
// the system's fonts that have them.

#include "text/TextLayout.h"
#include "text/render/modRotateText.h"

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace qrb {

// A piece of a text: letters, or an icon drawn as high as the letters reach above the
// line (the font's ascent), its proportions kept, sitting on the line, counting as a
// letter of its word.
struct BoxPiece {
    QString text;
    const QImage* icon = nullptr; // an icon when set; it must outlive the drawing
};

struct BoxOutcome {
    double points = 0; // the size the text was drawn at
    bool fits = true;  // false: drawn at the smallest size and cut at the box
};

// Draws `pieces` on `surface` in its foreground colour, in a box of `box` tile pixels
// whose anchor point (the layout's anchor: left top by default, centre middle, ...) is
// (x, y); each line is aligned the same way in the box, and the block of lines too (a
// block that does not fit starts at the top). Without a box, the text is one line that
// makes its own box (line breaks are spaces then, nothing shrinks or is cut). Turned by
// `angle` degrees counter-clockwise about (x, y) when given, with the font DrawRotatedText
// uses; else with PrintText's font, on whole pixels. The layout's outline and shadow go
// under the letters (not under icons); its fit width is not used.
BoxOutcome DrawTextBox(TextSurface& surface, const QFont& font, const std::vector<BoxPiece>& pieces,
                       std::optional<float> angle, std::int16_t x, std::int16_t y,
                       std::optional<QSize> box, const TextLayout& layout);

// Whether some installed font draws `character` (Qt's fallback from `font` included).
// Spaces, controls and format characters count as drawn.
bool fontsDraw(const QFont& font, char32_t character);

} // namespace qrb
