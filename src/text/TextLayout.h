#pragma once
// Where a line of lettering sits on its position and how it stands out from the art: the
// anchor (which point of the text the position is), a width it is shrunk to fit, an
// outline and a drop shadow. The default is the plain text with its top-left corner on the
// position, drawn exactly as before any of this existed.

#include "core/Colour.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qrb {

enum class HorizontalAnchor : std::uint8_t { Left, Centre, Right };
enum class VerticalAnchor : std::uint8_t { Top, Middle, Bottom };

struct TextLayout {
    static constexpr int kMaxOutlineWidth = 8;
    static constexpr int kMaxFitWidth = 32767;
    static constexpr int kMaxShadowOffset = 64;
    // Fit width never shrinks a text below this many points.
    static constexpr float kSmallestFitSize = 6.0f;

    HorizontalAnchor horizontal = HorizontalAnchor::Left;
    // Top is the top of the first character cell; middle and bottom are of the same cell.
    VerticalAnchor vertical = VerticalAnchor::Top;
    int fitWidth = 0; // tile pixels along the text; 0 is off
    ColourValue outlineColour = palette::White;
    int outlineWidth = 0; // tile pixels around every letter, 0 to 8; 0 is none
    ColourValue shadowColour = palette::Black;
    int shadowDx = 0; // tile pixels right of the text; no shadow while both are 0
    int shadowDy = 0; // tile pixels below it

    bool operator==(const TextLayout&) const = default;

    bool isDefault() const { return *this == TextLayout{}; }
    bool hasOutline() const { return outlineWidth > 0; }
    bool hasShadow() const { return shadowDx != 0 || shadowDy != 0; }
    // Every value within its range (what a file or a table may hold).
    bool isValid() const;
};

// "left", "centre", "right"; "top", "middle", "bottom".
const char* anchorName(HorizontalAnchor anchor);
const char* anchorName(VerticalAnchor anchor);

// An alignment as a table cell holds it: "left", "centre" or "center", "right", and/or
// "top", "middle", "bottom", in either order, any case, blanks between ("centre middle",
// "Right", "bottom"). Each part absent from the text is empty; nothing when the text is
// not such an alignment (empty, unknown words, two horizontal words ...).
struct Alignment {
    std::optional<HorizontalAnchor> horizontal;
    std::optional<VerticalAnchor> vertical;
};
std::optional<Alignment> parseAlignment(std::string_view text);

// "#RRGGBB" (any case) as a colour value; nothing for anything else.
std::optional<ColourValue> parseHexColour(std::string_view text);
// A colour value as "#RRGGBB".
std::string hexColour(ColourValue colour);

} // namespace qrb
